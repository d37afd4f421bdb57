// The scene: documents and their elements, the plug-in registry, undo.
#pragma once

#include "table_storage.h"

namespace substitute {

class Scene {
public:
    void fill(TableStorage& tables);
    void clear();
};

}  // namespace substitute
