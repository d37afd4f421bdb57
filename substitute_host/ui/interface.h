// The user interface side of the host: dialogs, tree views, message boxes,
// file choosers, the status bar and the Escape key, resources, bitmaps,
// opening and writing files, registered commands.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/table_storage.h"
#include "ui/commands.h"
#include "ui/dialogs.h"
#include "ui/file_choosers.h"
#include "ui/message_boxes.h"
#include "ui/progress.h"
#include "ui/resources.h"

namespace substitute {

class Interface {
public:
    void fill(TableStorage& tables);
    // Destroys the registered commands, as the application does when it quits.
    void shutDown();

    // The live dialogs, in creation order (one per Gd.create).
    std::vector<std::unique_ptr<HostDialog>> dialogs;
    // The live dialog last opened or restored with this plug-in id; null when none.
    HostDialog* findDialog(int32_t pluginId) const;

    MessageBoxes messageBoxes;
    FileChoosers choosers;
    StatusBar statusBar;
    EscapeKey escapeKey;
    Commands commands;
    // Problems the host met on the module's behalf (a malformed string table,
    // a refused registration), one line each.
    std::vector<std::string> diagnostics;
    std::vector<FreedResource> freedResources;
    // Files the module asked to open with their default application; none is launched.
    std::vector<std::filesystem::path> openedFiles;
    // Files the module wrote whole (Fi.writeWhole), in order.
    std::vector<std::filesystem::path> writtenFiles;
};

}  // namespace substitute
