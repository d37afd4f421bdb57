#include "command.h"

namespace host {
namespace {
CommandBase& self(void* command) { return *static_cast<CommandBase*>(command); }

// The host's C entries, each passing its arguments through to the hook.
void destroy(void* command) { destroyZeroed(&self(command)); }
bool execute(void* command, HostDocument* document) { return self(command).execute(document); }
int32_t state(void* command, HostDocument* document) { return self(command).state(document); }
bool restoreLayout(void* command, void* layoutData) { return self(command).restoreLayout(layoutData); }
int64_t* scriptValue(void* command, int64_t* out) { return self(command).scriptValue(out); }
bool subContainer(void* command, HostDocument* document, HostContainer* menu) {
    return self(command).subContainer(document, menu);
}
bool executeSubId(void* command, HostDocument* document, int32_t subId) {
    return self(command).executeSubId(document, subId);
}
bool message(void* command, int32_t type, void* data) { return self(command).message(type, data); }
bool executeOptionId(void* command, HostDocument* document, int32_t optionId) {
    return self(command).executeOptionId(document, optionId);
}
}  // namespace

HostCommandRecord commandRecord(CommandBase& command, const String& help, HostBitmap* icon) {
    HostCommandRecord record{};
    record.infoFlags = HOST_COMMAND_INFO_PLAIN;
    record.destroy = &destroy;
    record.command = &command;
    // The host takes its own reference; the record only lends the text.
    record.helpText = const_cast<HostString*>(help.handle());
    record.icon = icon;
    record.execute = &execute;
    record.state = &state;
    record.restoreLayout = &restoreLayout;
    record.scriptValue = &scriptValue;
    record.subContainer = &subContainer;
    record.executeSubId = &executeSubId;
    record.message = &message;
    record.executeOptionId = &executeOptionId;
    return record;
}

}  // namespace host
