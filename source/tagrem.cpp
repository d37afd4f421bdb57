#include "tagrem.h"

#include "host/plugin.h"
#include "main.h"

namespace {
constexpr const char* iconFile = "qvx32x32.png";
}  // namespace

// Without the dialog's host side no window can open: the host hears so.
bool CleartraceCommand::execute(HostDocument*) {
    if (!dialog.createHostSide()) return false;
    if (!dialog.isOpen()) {
        dialog.open(HOST_DIALOG_NON_MODAL, CLEARTRACE_COMMAND_ID, 0, HOST_DIALOG_POSITION_ANY, HOST_DIALOG_POSITION_ANY,
                    0, 0, HOST_DIALOG_OPEN_PLAIN);
    }
    return true;
}

bool CleartraceCommand::restoreLayout(void* layoutData) { return dialog.restore(CLEARTRACE_COMMAND_ID, 0, layoutData); }

bool registerCommand() {
    const host::String name = resourceString(IDS_DIALOG_TITLE);
    const host::String help = resourceString(IDS_HELP_TEXT);

    // Without a loadable icon the command is listed without one.
    host::Bitmap icon;
    if (icon.load(resourceFolder().join(host::String(iconFile))) == HOST_BITMAP_LOADED) {
        icon.setProperty(HOST_BITMAP_PIXEL_RATIO, 1.0);
    } else {
        icon.reset();
    }

    CleartraceCommand* command = host::createZeroed<CleartraceCommand>(__FILE__, __LINE__);
    if (command == nullptr) return false;
    const HostCommandRecord record = host::commandRecord(*command, help, icon.handle());
    if (host::registerPlugin(HOST_INTERFACE_VERSION, HOST_PLUGIN_KIND_COMMAND, CLEARTRACE_COMMAND_ID, name, record)) {
        return true;
    }
    // The host keeps nothing it refused, so the command is still ours to end.
    host::destroyZeroed(command);
    return false;
}
