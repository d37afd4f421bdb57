// The application's own element types, which its plug-in registry answers
// for as it does for installed plug-ins (a cube is a registered object).
#pragma once

#include <cstdint>
#include <span>

namespace substitute {

struct BuiltInPlugin {
    int32_t id;
    int32_t kind;  // host plug-in kind: 1 shader, 2 material, 5 object, 6 tag, 8 video post
    const char* name;
};

std::span<const BuiltInPlugin> builtInPlugins();

}  // namespace substitute
