#include "ui/commands.h"

#include <utility>

#include "core/substitute_host.h"
#include "kernel/host_strings.h"
#include "ui/bitmaps.h"

namespace substitute {
namespace {
HostDocument* activeDocument() {
    const HostGeneralTable& general = *SubstituteHost::current().tables()->t_C4DOS_Ge;
    return general.activeDocument ? general.activeDocument() : nullptr;
}

// Why a registration is refused, or "" when it is accepted.
std::string refusal(const Commands& commands, int32_t version, int32_t kind, int32_t id, const void* record,
                    int32_t recordSize) {
    if (commands.refuseNext) return "told to refuse the next registration";
    if (version < HOST_INTERFACE_VERSION) {
        return "version " + std::to_string(version) + " is older than " + std::to_string(HOST_INTERFACE_VERSION);
    }
    if (kind != HOST_PLUGIN_KIND_COMMAND) return "kind " + std::to_string(kind) + " is not a command";
    if (record == nullptr || recordSize != HOST_COMMAND_RECORD_SIZE) {
        return "the record is not a " + std::to_string(HOST_COMMAND_RECORD_SIZE) + "-byte command record";
    }
    if (findCommand(commands, id) != nullptr) return "id " + std::to_string(id) + " is already registered";
    return {};
}
}  // namespace

std::vector<RegisteredPlugin> registeredPlugins(const Commands& commands) {
    std::vector<RegisteredPlugin> plugins;
    for (const RegisteredCommand& command : commands.registered) {
        RegisteredPlugin plugin{command.id, command.kind, command.name, command.help, command.icon != nullptr, 0, 0};
        if (command.icon) plugin.iconWidth = command.icon->width, plugin.iconHeight = command.icon->height;
        plugins.push_back(std::move(plugin));
    }
    return plugins;
}

const RegisteredCommand* findCommand(const Commands& commands, int32_t id) {
    for (const RegisteredCommand& command : commands.registered) {
        if (command.id == id && !command.destroyed) return &command;
    }
    return nullptr;
}

bool executeCommand(const Commands& commands, int32_t id) {
    const RegisteredCommand* command = findCommand(commands, id);
    if (command == nullptr || command->record.execute == nullptr) return false;
    return command->record.execute(command->record.command, activeDocument());
}

int32_t commandState(const Commands& commands, int32_t id) {
    const RegisteredCommand* command = findCommand(commands, id);
    if (command == nullptr || command->record.state == nullptr) return 0;
    return command->record.state(command->record.command, activeDocument());
}

bool restoreCommand(const Commands& commands, int32_t id, void* layoutData) {
    const RegisteredCommand* command = findCommand(commands, id);
    if (command == nullptr || command->record.restoreLayout == nullptr) return false;
    return command->record.restoreLayout(command->record.command, layoutData);
}

void destroyCommands(Commands& commands) {
    for (RegisteredCommand& command : commands.registered) {
        if (command.destroyed) continue;
        // Marked first, so that a command that reaches the host while it goes is not destroyed twice.
        command.destroyed = true;
        if (command.record.destroy) command.record.destroy(command.record.command);
        freeBitmap(std::exchange(command.icon, nullptr));
    }
}

void fillPluginRegistration(HostPluginTable& table) {
    table.registerPlugin = [](int32_t version, int32_t kind, int32_t id, const HostString* name, const void* record,
                              int32_t recordSize) {
        Interface& ui = SubstituteHost::current().ui;
        std::string why = refusal(ui.commands, version, kind, id, record, recordSize);
        ui.commands.refuseNext = false;
        if (!why.empty()) {
            ui.diagnostics.push_back("registerPlugin refused plug-in " + std::to_string(id) + ": " + why);
            return false;
        }
        RegisteredCommand command;
        command.id = id;
        command.kind = kind;
        command.name = text(name, "Pr.registerPlugin");
        command.record = *static_cast<const HostCommandRecord*>(record);
        command.help = text(command.record.helpText, "Pr.registerPlugin (help text)");
        if (command.record.icon != nullptr) {
            command.icon = copyBitmap(bitmapOf(command.record.icon, "Pr.registerPlugin (icon)"));
        }
        // The record's string and bitmap stay the module's; the host keeps only its copies.
        command.record.helpText = nullptr;
        command.record.icon = command.icon;
        ui.commands.registered.push_back(std::move(command));
        return true;
    };
}

}  // namespace substitute
