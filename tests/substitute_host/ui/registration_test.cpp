#include <gtest/gtest.h>

#include <fstream>

#include "expected_command_id.h"
#include "kernel/host_paths.h"
#include "ui/bitmaps.h"
#include "ui_clients.h"

using ui_test::tables;
using ui_test::Text;

namespace {

// A valid 1 by 1 PNG: signature, IHDR chunk (with its CRC), IDAT and IEND.
const unsigned char onePixelPngBytes[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
    0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1f, 0x15, 0xc4, 0x89, 0x00, 0x00, 0x00,
    0x0d, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0xcf, 0xc0, 0xf0, 0x1f, 0x00, 0x05, 0x00, 0x01, 0xff,
    0x89, 0x99, 0x3d, 0x1d, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
const std::string onePixelPng(reinterpret_cast<const char*>(onePixelPngBytes), sizeof onePixelPngBytes);

std::string withByte(std::string bytes, size_t at, char value) {
    bytes[at] = value;
    return bytes;
}

TEST(PngCheck, ReadsTheSizeOnlyFromAValidHeader) {
    struct Case {
        std::string bytes;
        int32_t answer;
    } cases[] = {
        {onePixelPng, HOST_BITMAP_LOADED},
        {"GIF89a", HOST_BITMAP_WRONG_TYPE},
        {onePixelPng.substr(0, 7), HOST_BITMAP_WRONG_TYPE},
        {onePixelPng.substr(0, 20), HOST_BITMAP_BROKEN},
        {withByte(onePixelPng, 12, 'X'), HOST_BITMAP_BROKEN},  // not IHDR
        {withByte(onePixelPng, 19, 2), HOST_BITMAP_BROKEN},    // CRC no longer matches
    };
    for (const Case& c : cases) {
        substitute::ImageSize size;
        EXPECT_EQ(substitute::readPngSize(c.bytes, size), c.answer);
        if (c.answer == HOST_BITMAP_LOADED) {
            EXPECT_EQ(size.width + size.height, 2);
        }
    }
}

// A command object of the test: counts how often the host destroys it.
struct FakeCommand {
    int destroyed = 0;
    int executed = 0;
};

HostCommandRecord recordFor(FakeCommand& command) {
    HostCommandRecord record{};
    record.command = &command;
    record.destroy = [](void* object) { ++static_cast<FakeCommand*>(object)->destroyed; };
    record.execute = [](void* object, HostDocument*) { return ++static_cast<FakeCommand*>(object)->executed > 0; };
    record.state = [](void*, HostDocument*) { return int32_t(HOST_COMMAND_ENABLED); };
    return record;
}

struct Registration : ::testing::Test {
    substitute::SubstituteHost host;
    FakeCommand command;
    HostCommandRecord record = recordFor(command);
    bool registerWith(int32_t version = HOST_INTERFACE_VERSION, int32_t kind = HOST_PLUGIN_KIND_COMMAND,
                      int32_t size = HOST_COMMAND_RECORD_SIZE) {
        return tables().t_C4DOS_Pr->registerPlugin(version, kind, kit::expectedCommandId, Text("Cleartrace"), &record,
                                                   size);
    }
};

TEST_F(Registration, TheHostKeepsItsOwnCopiesAndDestroysTheCommandOnce) {
    std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / "hostui_icon.png";
    std::ofstream(file, std::ios::binary) << onePixelPng;
    HostBitmap* icon = tables().t_C4DOS_Bm->create();
    HostPath* path = substitute::makePath(file);
    EXPECT_EQ(tables().t_C4DOS_Bm->load(icon, path), HOST_BITMAP_LOADED);
    tables().t_C4DOS_Fn->free(path);
    std::filesystem::remove(file);
    record.icon = icon;
    {
        Text help("Finds what a plug-in left behind.");
        record.helpText = const_cast<HostString*>(static_cast<const HostString*>(help));
        ASSERT_TRUE(registerWith());
    }
    tables().t_C4DOS_Bm->free(icon);

    std::vector<substitute::RegisteredPlugin> plugins = substitute::registeredPlugins(host.ui.commands);
    ASSERT_EQ(plugins.size(), 1u);
    EXPECT_EQ(plugins[0].name, "Cleartrace");
    EXPECT_EQ(plugins[0].help, "Finds what a plug-in left behind.");
    EXPECT_TRUE(plugins[0].hasIcon);
    EXPECT_EQ(plugins[0].iconWidth, 1);
    EXPECT_TRUE(substitute::executeCommand(host.ui.commands, kit::expectedCommandId));
    EXPECT_EQ(command.executed, 1);
    EXPECT_EQ(substitute::commandState(host.ui.commands, kit::expectedCommandId), HOST_COMMAND_ENABLED);

    host.ui.shutDown();
    host.ui.shutDown();
    EXPECT_EQ(command.destroyed, 1);
    EXPECT_FALSE(substitute::executeCommand(host.ui.commands, kit::expectedCommandId)) << "a destroyed command is gone";
    EXPECT_EQ(host.handles.count(substitute::HandleKind::Bitmap), 0u);
}

TEST_F(Registration, RefusalsKeepNothing) {
    host.ui.commands.refuseNext = true;
    EXPECT_FALSE(registerWith());
    EXPECT_FALSE(registerWith(HOST_INTERFACE_VERSION - 1));
    EXPECT_FALSE(registerWith(HOST_INTERFACE_VERSION, HOST_PLUGIN_KIND_TAG));
    EXPECT_FALSE(registerWith(HOST_INTERFACE_VERSION, HOST_PLUGIN_KIND_COMMAND, 200));
    EXPECT_TRUE(registerWith()) << "the refusal was for one registration only";
    EXPECT_FALSE(registerWith()) << "the id is taken";
    EXPECT_EQ(host.ui.commands.registered.size(), 1u);
    ASSERT_EQ(host.ui.diagnostics.size(), 5u);
    EXPECT_EQ(host.ui.diagnostics[1], "registerPlugin refused plug-in " + std::to_string(kit::expectedCommandId) +
                                          ": version 2025999 is older than 2026000");
    host.ui.shutDown();
    EXPECT_EQ(command.destroyed, 1);
}

TEST(OpeningFiles, IsRecordedAndAnswersWhetherTheFileExists) {
    substitute::SubstituteHost host;
    HostPath* missing = substitute::makePath("/no/such/Cleartrace.pdf");
    EXPECT_FALSE(tables().t_C4DOS_Fi->openWithDefaultApplication(missing));
    tables().t_C4DOS_Fn->free(missing);
    EXPECT_EQ(host.ui.openedFiles, std::vector<std::filesystem::path>{"/no/such/Cleartrace.pdf"});
}

TEST(MessageBoxes, QuestionsTakeQueuedAnswersThenTheDefault) {
    substitute::SubstituteHost host;
    host.ui.messageBoxes.questionAnswers = {HOST_ANSWER_NO};
    std::vector<int32_t> printed;
    host.ui.messageBoxes.onShow = [&](const substitute::MessageBoxRecord& box) { printed.push_back(box.answer); };
    const HostGeneralTable& ge = *tables().t_C4DOS_Ge;
    EXPECT_EQ(ge.messageBox(Text("Sure?"), HOST_MESSAGE_BOX_QUESTION), HOST_ANSWER_NO);
    EXPECT_EQ(ge.messageBox(Text("Sure?"), HOST_MESSAGE_BOX_QUESTION), HOST_ANSWER_YES);
    EXPECT_EQ(ge.messageBox(Text("Done."), HOST_MESSAGE_BOX_NOTICE), HOST_ANSWER_OK);
    EXPECT_EQ(printed, (std::vector<int32_t>{7, 6, 1}));
    EXPECT_EQ(host.ui.messageBoxes.shown[2].text, "Done.");
}

}  // namespace
