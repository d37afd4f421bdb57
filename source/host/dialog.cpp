#include "dialog.h"

#include "scene.h"

namespace host {
namespace {
int32_t deliver(void* user, const HostContainer* msg, HostContainer* result) {
    return static_cast<DialogBase*>(user)->message(msg, result);
}

int32_t answer(bool done) { return done ? HOST_DIALOG_DONE : HOST_DIALOG_NOT_DONE; }
}  // namespace

DialogBase::DialogBase() { createHostSide(); }

bool DialogBase::createHostSide() {
    if (dialog_ == nullptr) dialog_ = fn().create(&deliver, this);
    return dialog_ != nullptr;
}

DialogBase::~DialogBase() {
    if (dialog_ != nullptr) fn().destroy(dialog_);
}

bool DialogBase::command(int32_t, const HostContainer*) { return false; }

int32_t DialogBase::message(const HostContainer* msg, HostContainer*) {
    switch (containerId(msg)) {
        case HOST_MSG_INIT_LAYOUT: return answer(createLayout());
        case HOST_MSG_INIT_VALUES: return answer(initValues());
        case HOST_MSG_COMMAND: return answer(command(containerInt32(msg, HOST_MSG_KEY_CONTROL_ID, 0), msg));
        case HOST_MSG_ASK_CLOSE: return answer(askClose());
        case HOST_MSG_INTERACT_START: stopBackgroundWork(); return HOST_DIALOG_NOT_DONE;
        default: return HOST_DIALOG_NOT_DONE;
    }
}

}  // namespace host
