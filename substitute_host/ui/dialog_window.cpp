// The window's life: the messages of the protocol sent to the dialog, and
// the window opened (the module builds its layout and values) and closed.
#include "ui/dialogs.h"

#include "ui/dialog_parts.h"

namespace substitute {

int32_t sendDialogMessage(HostDialog& dialog, int32_t messageId, int32_t controlId) {
    OwnedContainer message = ownContainer(messageId);
    if (messageId == HOST_MSG_COMMAND) setEntry(*message, HOST_MSG_KEY_CONTROL_ID, controlId, false);
    OwnedContainer result = ownContainer(HOST_CONTAINER_PLAIN);
    ++dialog.messageDepth;
    int32_t answer = dialog.message(dialog.user, message.get(), result.get());
    --dialog.messageDepth;
    dialog.sent.push_back({messageId, controlId, answer});
    return answer;
}

void destroyWidgets(HostDialog& dialog) {
    for (Control& control : dialog.controls) {
        if (control.gui) retireTreeView(control.gui.get());
    }
    dialog.controls.clear();
    dialog.openGroups.clear();
    dialog.menu.clear();
    dialog.openSubMenus = 0;
    dialog.menuFinished = false;
}

bool openWindow(HostDialog& dialog, const OpenCall& call) {
    dialog.openCalls.push_back(call);
    if (dialog.open) return true;
    if (dialog.opening) return false;
    destroyWidgets(dialog);
    dialog.title.clear();
    dialog.opening = true;
    bool built = sendDialogMessage(dialog, HOST_MSG_INIT_LAYOUT) != HOST_DIALOG_NOT_DONE &&
                 sendDialogMessage(dialog, HOST_MSG_INIT_VALUES) != HOST_DIALOG_NOT_DONE;
    dialog.opening = false;
    // A dialog that cannot build its window does not open.
    if (!built) {
        destroyWidgets(dialog);
        return false;
    }
    dialog.open = true;
    return true;
}

void closeNow(HostDialog& dialog) {
    if (!dialog.open) return;
    destroyWidgets(dialog);
    dialog.open = false;
    sendDialogMessage(dialog, HOST_MSG_WINDOW_GONE);
}

}  // namespace substitute
