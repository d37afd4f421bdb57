// The command: its registration record as the host keeps it, the answers of
// its hooks, opening the dialog, and registration failures without leaks.
#include <cstring>

#include "entry_fixture.h"
#include "expected_command_id.h"
#include "expected_notices.h"
#include "tagrem.h"

using entry_test::InProcessModule;
namespace fs = std::filesystem;

namespace {

constexpr const char* helpText = "Find, list or remove the instances of a plug-in by its ID in the active scene";

const substitute::RegisteredCommand& registeredCommand(const InProcessModule& module) {
    const substitute::RegisteredCommand* command =
        substitute::findCommand(module.host.ui.commands, kit::expectedCommandId);
    if (command == nullptr) ADD_FAILURE() << "command " << kit::expectedCommandId << " is not registered";
    static const substitute::RegisteredCommand none{};
    return command ? *command : none;
}

}  // namespace

TEST(CommandRegistration, RegistersTheCommandWithNameHelpAndIcon) {
    InProcessModule module;
    module.load();
    EXPECT_EQ(module.consoleTexts(), std::vector<std::string>{kit::loadedLine});
    const substitute::ConsoleLine& line = module.host.services.console().back();
    EXPECT_EQ(line.logger, "net.maxon.core.logger.default");
    EXPECT_EQ(line.level, HOST_LOG_LEVEL_INFO);
    EXPECT_NE(line.file.find("main.cpp"), std::string::npos);

    const std::vector<substitute::RegisteredPlugin> plugins = substitute::registeredPlugins(module.host.ui.commands);
    ASSERT_EQ(plugins.size(), 1u);
    EXPECT_EQ(plugins[0].id, kit::expectedCommandId);
    EXPECT_EQ(plugins[0].kind, HOST_PLUGIN_KIND_COMMAND);
    EXPECT_EQ(plugins[0].name, "Cleartrace");
    EXPECT_EQ(plugins[0].help, helpText);
    EXPECT_TRUE(plugins[0].hasIcon);
    EXPECT_EQ(plugins[0].iconWidth, 32);
    EXPECT_EQ(plugins[0].iconHeight, 32);
}

TEST(CommandRegistration, FillsTheRecordAtItsOffsetsAndForwardsToTheCommand) {
    InProcessModule module;
    module.load();
    const HostCommandRecord& record = registeredCommand(module).record;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    auto pointerAt = [&](size_t offset) {
        void* value = nullptr;
        std::memcpy(&value, bytes + offset, sizeof value);
        return value;
    };
    int32_t infoFlags = -1;
    std::memcpy(&infoFlags, bytes, sizeof infoFlags);
    EXPECT_EQ(infoFlags, HOST_COMMAND_INFO_PLAIN);
    // destroy, command and the forwarders; help text (128) and icon (136) the host swaps for its own copies.
    const size_t filled[] = {8, 64, 144, 152, 160, 176, 184, 192, 200, 208};
    for (size_t offset : filled) EXPECT_NE(pointerAt(offset), nullptr) << "offset " << offset;
    for (size_t offset = 4; offset < HOST_COMMAND_RECORD_SIZE; ++offset) {
        const bool inField = (offset >= 128 && offset < 144) ||
                             std::any_of(std::begin(filled), std::end(filled),
                                         [&](size_t start) { return offset >= start && offset < start + 8; });
        if (!inField) {
            EXPECT_EQ(bytes[offset], 0) << "offset " << offset;
        }
    }

    // The forwarders reach the command's fixed answers.
    void* command = record.command;
    EXPECT_EQ(substitute::commandState(module.host.ui.commands, kit::expectedCommandId), HOST_COMMAND_ENABLED);
    EXPECT_EQ(record.state(command, nullptr), HOST_COMMAND_ENABLED);
    int64_t value = 77;
    EXPECT_EQ(record.scriptValue(command, &value), &value);
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(record.executeSubId(command, nullptr, 3));
    EXPECT_FALSE(record.executeOptionId(command, nullptr, 3));
    EXPECT_FALSE(record.subContainer(command, nullptr, nullptr));
    EXPECT_TRUE(record.message(command, 12, nullptr));
}

TEST(CommandRegistration, ExecuteOpensTheDialogOnceAndRestoreGivesTheHostsAnswer) {
    InProcessModule module;
    module.load();
    ASSERT_EQ(module.host.ui.dialogs.size(), 1u);  // the command's dialog exists while the window is closed
    const HostDialog& dialog = *module.host.ui.dialogs[0];
    EXPECT_FALSE(dialog.open);

    EXPECT_TRUE(substitute::executeCommand(module.host.ui.commands, kit::expectedCommandId));
    EXPECT_TRUE(dialog.open);
    ASSERT_EQ(dialog.openCalls.size(), 1u);
    const substitute::OpenCall& call = dialog.openCalls[0];
    EXPECT_FALSE(call.restore);
    EXPECT_EQ(call.kind, HOST_DIALOG_NON_MODAL);
    EXPECT_EQ(call.pluginId, kit::expectedCommandId);
    EXPECT_EQ(call.subId, 0);
    EXPECT_EQ(call.x, HOST_DIALOG_POSITION_ANY);
    EXPECT_EQ(call.y, HOST_DIALOG_POSITION_ANY);
    EXPECT_EQ(call.width, 0);
    EXPECT_EQ(call.height, 0);
    EXPECT_EQ(call.flags, HOST_DIALOG_OPEN_PLAIN);

    // Executing again while open changes nothing.
    const std::string window = substitute::describeDialog(dialog);
    EXPECT_TRUE(substitute::executeCommand(module.host.ui.commands, kit::expectedCommandId));
    EXPECT_EQ(dialog.openCalls.size(), 1u);
    EXPECT_EQ(substitute::describeDialog(dialog), window);

    ASSERT_EQ(substitute::closeWindow(*module.host.ui.dialogs[0]), "");
    int layoutData = 0;
    const HostCommandRecord& record = registeredCommand(module).record;
    HostDialog& host = *module.host.ui.dialogs[0];
    const bool hostAnswer = record.restoreLayout(record.command, &layoutData);
    ASSERT_EQ(host.openCalls.size(), 2u);
    EXPECT_TRUE(host.openCalls[1].restore);
    EXPECT_EQ(host.openCalls[1].pluginId, kit::expectedCommandId);
    EXPECT_EQ(host.openCalls[1].subId, 0);
    EXPECT_EQ(host.openCalls[1].layoutData, &layoutData);
    EXPECT_EQ(hostAnswer, host.open);
}

// The host could not make the dialog's host side at start: execute tries
// again, and answers false while the host still cannot.
TEST(CommandRegistration, ExecuteMakesTheDialogsHostSideThatStartCouldNot) {
    bool met = false;
    for (int64_t k = 1; k < 20 && !met; ++k) {
        InProcessModule module;
        ASSERT_EQ(module.bind(), 1);
        ASSERT_EQ(module.loadResource(), 1);
        module.host.services.failObjectCreation(k);
        const int32_t started = module.start();
        module.host.services.failObjectCreation(0);
        if (started != 1 || !module.host.ui.dialogs.empty()) continue;
        met = true;
        module.host.services.failObjectCreation(1);
        EXPECT_FALSE(substitute::executeCommand(module.host.ui.commands, kit::expectedCommandId));
        EXPECT_TRUE(module.host.ui.dialogs.empty());
        EXPECT_TRUE(substitute::executeCommand(module.host.ui.commands, kit::expectedCommandId));
        ASSERT_EQ(module.host.ui.dialogs.size(), 1u);
        EXPECT_TRUE(module.host.ui.dialogs[0]->open);
        EXPECT_TRUE(substitute::executeCommand(module.host.ui.commands, kit::expectedCommandId));
        EXPECT_EQ(module.host.ui.dialogs[0]->openCalls.size(), 1u);
    }
    EXPECT_TRUE(met);
}

TEST(CommandRegistration, FailsWithoutLeaksWhenTheCommandCannotBeMadeOrIsRefused) {
    struct Case {
        const char* what;
        bool refuse;
    };
    for (const Case c : {Case{"no memory for the command", false}, Case{"registration refused", true}}) {
        SCOPED_TRACE(c.what);
        InProcessModule module;
        ASSERT_EQ(module.bind(), 1);
        ASSERT_EQ(module.loadResource(), 1);
        const int64_t blocks = module.host.services.liveBlocks();
        const int64_t strings = module.moduleStrings();
        const int64_t paths = module.modulePaths();
        if (c.refuse) {
            module.host.ui.commands.refuseNext = true;
        } else {
            module.host.services.failAllocation(1);
        }
        EXPECT_EQ(module.start(), 0);
        EXPECT_EQ(module.consoleTexts(), std::vector<std::string>{kit::failedLine});
        EXPECT_TRUE(substitute::registeredPlugins(module.host.ui.commands).empty());
        // The command and its dialog are gone, and with them every string, path and bitmap.
        EXPECT_EQ(module.host.services.liveBlocks(), blocks);
        EXPECT_EQ(module.moduleStrings(), strings);
        EXPECT_EQ(module.modulePaths(), paths);
        EXPECT_TRUE(module.host.ui.dialogs.empty());
        EXPECT_EQ(module.host.handles.count(substitute::HandleKind::Bitmap), 0u);
    }
}

TEST(CommandRegistration, RegistersWithoutTheIconOrTheTextsItCannotLoad) {
    struct Case {
        const char* what;
        const char* iconContent;  // null: no icon file
        bool loadResource;
        const char* name;
        bool hasIcon;
    };
    const Case cases[] = {
        {"icon file missing", nullptr, true, "Cleartrace", false},
        {"icon file not an image", "not a picture", true, "Cleartrace", false},
        {"resource not loaded", "", false, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InProcessModule module;
        const fs::path icon = module.folder / "res" / "qvx32x32.png";
        if (c.iconContent == nullptr) fs::remove(icon);
        if (c.iconContent != nullptr && *c.iconContent != '\0') entry_test::writeFile(icon, c.iconContent);
        ASSERT_EQ(module.bind(), 1);
        if (c.loadResource) {
            ASSERT_EQ(module.loadResource(), 1);
        }
        EXPECT_EQ(module.start(), 1);
        const std::vector<substitute::RegisteredPlugin> plugins =
            substitute::registeredPlugins(module.host.ui.commands);
        ASSERT_EQ(plugins.size(), 1u);
        EXPECT_EQ(plugins[0].name, c.name);
        EXPECT_EQ(plugins[0].help, c.loadResource ? helpText : "");
        EXPECT_EQ(plugins[0].hasIcon, c.hasIcon);
        // The module's own bitmap is freed in every case; only the host's copy remains.
        EXPECT_EQ(module.host.handles.count(substitute::HandleKind::Bitmap), c.hasIcon ? 1u : 0u);
    }
}
