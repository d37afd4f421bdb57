// List > Save List as CSV...: every list the dialog shows, written as the
// tree view draws it (RFC 4180, UTF-8, CRLF), whole or not at all.
#include <gtest/gtest.h>

#include "dialog_session.h"
#include "read_file.h"
#include "scene_folder.h"
#include "unprivileged_child.h"

namespace {

using Texts = std::vector<std::string>;

// Tag names a spreadsheet must get back as they are.
const char* const awkwardNames = R"({"objects": [{"name": "Plain", "type": 5159, "tags": [
  {"name": "Comma, in it", "type": 1234},
  {"name": "Say \"when\"", "type": 1234},
  {"name": "Two\nlines", "type": 1234},
  {"name": "Return\r", "type": 1234},
  {"name": "Caf\u00e9 \u2014 \ud83c\udfac", "type": 1234}]}]})";

}  // namespace

class ListCsvTest : public DialogSession {
protected:
    // List > Save List as CSV... with the chooser answered with file (or cancelled).
    void saveList(const std::optional<std::filesystem::path>& file) {
        if (file) host.ui.choosers.saveAnswers.push_back(*file);
        host.ui.messageBoxes.shown.clear();
        menu(IDM_SAVE_LIST);
    }

    kit::TemporaryFolder folder{"list-csv"};
    const std::filesystem::path csv = folder.path() / "list.csv";
};

TEST_F(ListCsvTest, WritesTheCellsAsDrawnQuotingWhatASpreadsheetWouldSplit) {
    load(awkwardNames);
    listInstances(Tag, 1234);
    saveList(csv);
    ASSERT_EQ(host.ui.choosers.shown.size(), 1u);
    EXPECT_EQ(host.ui.choosers.shown[0].mode, HOST_SELECT_SAVE);
    EXPECT_EQ(host.ui.choosers.shown[0].title, "Save List as CSV");
    EXPECT_EQ(host.ui.choosers.shown[0].proposed, "Cleartrace.csv");
    EXPECT_EQ(boxTexts(), Texts{});
    EXPECT_EQ(kit::readFile(csv),
              "Object With Tag,Tag Name\r\n"
              "Plain,\"Comma, in it\"\r\n"
              "Plain,\"Say \"\"when\"\"\"\r\n"
              "Plain,\"Two\nlines\"\r\n"
              "Plain,\"Return\r\"\r\n"
              "Plain,Caf\xC3\xA9 \xE2\x80\x94 \xF0\x9F\x8E\xAC\r\n");
}

TEST_F(ListCsvTest, BytesThatAreNotUtf8BecomeReplacementCharacters) {
    HostElement* cube = host.scene.addObject(*document, nullptr, "Cube", 5159);
    host.scene.addTag(*cube, "bad \xFF\xC0\xAF end \xED\xA0\x80 cut \xE2\x82", 1234);
    listInstances(Tag, 1234);
    saveList(csv);
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(kit::readFile(csv), "Object With Tag,Tag Name\r\nCube,bad " + replacement + replacement + replacement +
                                      " end " + replacement + replacement + replacement + " cut " + replacement +
                                      replacement + "\r\n");
}

TEST_F(ListCsvTest, EveryListKeepsItsOwnColumns) {
    load(R"({"objects": [{"name": "Cube", "type": 1234}],
             "materials": [{"name": "Mat", "type": 5703, "channels": {"0": {"shader": {"name": "S", "type": 1234}}}}],
             "renderSettings": [{"name": "Main", "active": true, "videoPosts": [{"name": "V", "type": 1234}]}]})");
    listInstances(Shader, 1234);
    saveList(csv);
    EXPECT_EQ(kit::readFile(csv), "Material,Channel,In Layer Shader?\r\nMat,Color,No\r\n");
    choose(IDC_PLUGIN_TYPE, PostEffect);
    choose(IDC_SCOPE, 3);
    press(IDC_PROCESS);
    saveList(csv);
    EXPECT_EQ(kit::readFile(csv), "Post Effect,Render Settings\r\nV,Main\r\n");
    choose(IDC_ACTION, FindMissing);
    press(IDC_PROCESS);
    saveList(csv);
    EXPECT_EQ(kit::readFile(csv),
              "Plugin ID,Type,Instances,Name\r\n1234,Shader,1,S\r\n1234,Object,1,Cube\r\n1234,Post Effect,1,V\r\n");
    // Before any run: the headers alone.
    choose(IDC_ACTION, GenerateList);
    choose(IDC_PLUGIN_TYPE, Object);
    saveList(csv);
    EXPECT_EQ(kit::readFile(csv), "Object Name\r\n");
}

TEST_F(ListCsvTest, IdentifySavesNothingAndACancelledChooserWritesNothing) {
    load(awkwardNames);
    typeId(1234);
    choose(IDC_ACTION, Identify);
    press(IDC_PROCESS);
    saveList(csv);
    EXPECT_TRUE(host.ui.choosers.shown.empty()) << "no list, no chooser";
    EXPECT_FALSE(std::filesystem::exists(csv));
    host.ui.choosers.saveAnswers.clear();
    listInstances(Tag, 1234);
    saveList(std::nullopt);
    EXPECT_EQ(host.ui.choosers.shown.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(csv));
    EXPECT_EQ(boxTexts(), Texts{});
}

TEST_F(ListCsvTest, AFailedSaveSaysSoAndLeavesAnEarlierFileAsItWas) {
    load(awkwardNames);
    listInstances(Tag, 1234);
    const std::filesystem::path earlier = folder.write("earlier.csv", "kept\r\n");
    // No memory for the text.
    host.ui.choosers.saveAnswers.push_back(earlier);
    host.ui.messageBoxes.shown.clear();
    host.services.failAllocation(1);
    menu(IDM_SAVE_LIST);
    host.services.failAllocation(0);
    EXPECT_EQ(boxTexts(), Texts{"Cleartrace could not save the list to " + earlier.string() + "."});
    EXPECT_EQ(kit::readFile(earlier), "kept\r\n");
    // A path that is a folder.
    saveList(folder.path());
    EXPECT_EQ(boxTexts(), Texts{"Cleartrace could not save the list to " + folder.path().string() + "."});
    // The notice's path refused (the third string of a save): its stand-in.
    host.ui.choosers.saveAnswers.push_back(folder.path());
    host.ui.messageBoxes.shown.clear();
    host.services.failStringCreation(3);
    menu(IDM_SAVE_LIST);
    host.services.failStringCreation(0);
    EXPECT_EQ(boxTexts(), Texts{"Cleartrace could not save the list."});
    ASSERT_TRUE(host.ui.choosers.saveAnswers.empty());
#ifndef _WIN32
    // A folder the user may not write in.
    const kit::ChildRun run = kit::runUnprivileged([&](std::string& output) {
        host.ui.choosers.saveAnswers.push_back(earlier);
        substitute::chooseMenu(window(), IDM_SAVE_LIST);
        for (const substitute::MessageBoxRecord& box : host.ui.messageBoxes.shown) output = box.text;
        return 0;
    });
    EXPECT_EQ(run.output, "Cleartrace could not save the list to " + earlier.string() + ".");
    EXPECT_EQ(kit::readFile(earlier), "kept\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "nothing left beside";
#endif
}
