#include "ui/interface.h"

#include "core/substitute_host.h"
#include "kernel/host_paths.h"
#include "kernel/host_strings.h"
#include "ui/bitmaps.h"
#include "ui/containers.h"
#include "ui/tree_views.h"

namespace substitute {

void Interface::fill(TableStorage& tables) {
    fillContainerTable(tables.bc);
    fillBitmapTable(tables.bm);
    fillDialogTable(tables.gd);
    fillDrawTable(tables.cu);
    fillTreeViewLibrary(tables.treeViewLibrary);
    fillResourceEntries(tables.ge);
    fillPluginRegistration(tables.pr);
    fillChooserEntry(tables.fn);
    fillProgressEntries(tables.ge);
    tables.ge.messageBox = [](const HostString* message, int32_t style) {
        std::string shown(text(message, "Ge.messageBox"));
        return showMessageBox(SubstituteHost::current().ui.messageBoxes, std::move(shown), style);
    };
    tables.fi.openWithDefaultApplication = [](const HostPath* file) {
        const std::filesystem::path& path = pathOf(file, "Fi.openWithDefaultApplication");
        SubstituteHost::current().ui.openedFiles.push_back(path);
        std::error_code error;
        return std::filesystem::is_regular_file(path, error);
    };
}

void Interface::shutDown() { destroyCommands(commands); }

HostDialog* Interface::findDialog(int32_t pluginId) const {
    for (auto dialog = dialogs.rbegin(); dialog != dialogs.rend(); ++dialog) {
        if (!(*dialog)->openCalls.empty() && (*dialog)->openCalls.back().pluginId == pluginId) return dialog->get();
    }
    return nullptr;
}

}  // namespace substitute
