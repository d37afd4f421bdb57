// Registered plug-ins (commands): the host's copy of each registration
// record, and the calls the application makes on a command. The host owns
// every command it accepted and destroys it, once, when it shuts down.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/host_kernel.h"

namespace substitute {

struct RegisteredCommand {
    int32_t id = 0;
    int32_t kind = 0;
    std::string name;
    std::string help;
    HostCommandRecord record{};
    HostBitmap* icon = nullptr;  // the host's own copy, or null
    bool destroyed = false;
};

struct Commands {
    std::vector<RegisteredCommand> registered;
    // The next registration is refused (once).
    bool refuseNext = false;
};

// What a user sees of a registered plug-in.
struct RegisteredPlugin {
    int32_t id = 0;
    int32_t kind = 0;
    std::string name;
    std::string help;
    bool hasIcon = false;
    int32_t iconWidth = 0, iconHeight = 0;
};
std::vector<RegisteredPlugin> registeredPlugins(const Commands& commands);

// The command with this id that is still alive; null otherwise.
const RegisteredCommand* findCommand(const Commands& commands, int32_t id);

// The application's calls on a command; an unknown or destroyed command
// answers false / 0.
bool executeCommand(const Commands& commands, int32_t id);
int32_t commandState(const Commands& commands, int32_t id);
bool restoreCommand(const Commands& commands, int32_t id, void* layoutData);

// Destroys every command still alive through its destroy callback, once.
void destroyCommands(Commands& commands);

void fillPluginRegistration(HostPluginTable& table);

}  // namespace substitute
