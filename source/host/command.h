// The host's command plug-in base: the hooks the host calls on a command,
// and the registration record that carries them.
#pragma once

#include "kernel.h"

namespace host {

// A command the host lists, invokes and, when it quits, destroys. Lives in
// host memory (createZeroed); the host's destroy callback ends it. Each
// default is the host's default answer.
class CommandBase {
public:
    CommandBase() = default;
    CommandBase(const CommandBase&) = delete;
    CommandBase& operator=(const CommandBase&) = delete;
    virtual ~CommandBase() = default;

    virtual bool execute(HostDocument* document) = 0;
    virtual bool executeSubId(HostDocument*, int32_t) { return false; }
    virtual bool executeOptionId(HostDocument*, int32_t) { return false; }
    virtual int32_t state(HostDocument*) { return HOST_COMMAND_ENABLED; }
    virtual bool subContainer(HostDocument*, HostContainer*) { return false; }
    virtual bool restoreLayout(void*) { return false; }
    virtual int64_t* scriptValue(int64_t* out) {
        *out = 0;
        return out;
    }
    virtual bool message(int32_t, void*) { return true; }
};

// The record that registers command: its hooks, help text and icon (null for
// none). The strings and the icon stay the caller's; the host copies them.
HostCommandRecord commandRecord(CommandBase& command, const String& help, HostBitmap* icon);

}  // namespace host
