// The tool dialog as the artist meets it: the window the layout builds, what
// each option change enables and empties, Process for every action, the
// registry report, About and the help file, closing and reopening.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "dialog_session.h"
#include "kernel/host_paths.h"
#include "read_file.h"
#include "ui/resources.h"

using substitute::ControlKind;

extern "C" int32_t c4d_main(int32_t message, void* p1, void* p2, void* p3);

namespace {

struct ExpectedControl {
    ControlKind kind;
    int32_t id;
    int32_t flags;
    int32_t width, height;
    const char* text;
    size_t depth;
};

std::vector<std::pair<int32_t, std::string>> entriesOf(const substitute::Control& combo) {
    std::vector<std::pair<int32_t, std::string>> entries;
    for (const substitute::ComboEntry& entry : combo.entries) entries.emplace_back(entry.id, entry.text);
    return entries;
}

using Entries = std::vector<std::pair<int32_t, std::string>>;
const Entries expectedTagScopes = {
    {0, "All Objects with Tags"}, {1, "Tags on Selected Objects and Children"}, {2, "Tags on Selected Objects Only"}};

}  // namespace

using DialogTest = DialogSession;

TEST_F(DialogTest, LayoutBuildsTheControlsInOrder) {
    constexpr int32_t leftTop = HOST_LAYOUT_LEFT | HOST_LAYOUT_TOP;
    constexpr int32_t fillWidthTop = HOST_LAYOUT_FILL_WIDTH | HOST_LAYOUT_TOP;
    constexpr int32_t fillBoth = HOST_LAYOUT_FILL_WIDTH | HOST_LAYOUT_FILL_HEIGHT;
    const ExpectedControl expected[] = {
        {ControlKind::Group, IDC_ANONYMOUS, fillWidthTop, 0, 0, "Options", 0},
        {ControlKind::StaticText, IDC_ANONYMOUS, leftTop, 200, 0, "Action to Take", 1},
        {ControlKind::ComboBox, IDC_ACTION, fillWidthTop, 0, 0, "", 1},
        {ControlKind::StaticText, IDC_ANONYMOUS, leftTop, 200, 0, "Plugin Type", 1},
        {ControlKind::ComboBox, IDC_PLUGIN_TYPE, fillWidthTop, 0, 0, "", 1},
        {ControlKind::StaticText, IDC_ANONYMOUS, leftTop, 300, 0, "Scope of Process", 1},
        {ControlKind::ComboBox, IDC_SCOPE, fillWidthTop, 0, 0, "", 1},
        {ControlKind::CheckBox, IDC_WARN_BEFORE_DELETING, fillWidthTop, 0, 0, "Warn Before Deleting", 1},
        {ControlKind::Group, IDC_ANONYMOUS, fillWidthTop, 0, 0, "", 1},
        {ControlKind::CheckBox, IDC_KEEP_LAYER_SHADERS, fillWidthTop, 0, 0, "Do Not Remove Shaders in a Layer Shader",
         2},
        {ControlKind::CheckBox, IDC_KEEP_CHILDREN, fillWidthTop, 0, 0, "Keep Children of Removed Objects", 2},
        {ControlKind::StaticText, IDC_ANONYMOUS, leftTop, 200, 0, "Plugin ID", 1},
        {ControlKind::NumberField, IDC_PLUGIN_ID, fillWidthTop, 500, 0, "", 1},
        {ControlKind::Group, IDC_ANONYMOUS, HOST_LAYOUT_LEFT, 0, 0, "", 0},
        {ControlKind::Button, IDC_PROCESS, HOST_LAYOUT_LEFT, 100, 0, "Process", 1},
        {ControlKind::Button, IDC_CANCEL, HOST_LAYOUT_LEFT, 100, 0, "Cancel", 1},
        {ControlKind::Group, IDC_ANONYMOUS, fillBoth, 0, 0, "", 0},
        {ControlKind::CustomGui, IDC_TREE_VIEW, fillBoth, 0, HOST_TREE_VIEW_MIN_HEIGHT, "", 1},
    };
    const std::vector<substitute::Control>& controls = window().controls;
    ASSERT_EQ(controls.size(), std::size(expected));
    for (size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i));
        EXPECT_EQ(controls[i].kind, expected[i].kind);
        EXPECT_EQ(controls[i].id, expected[i].id);
        EXPECT_EQ(controls[i].flags, expected[i].flags);
        EXPECT_EQ(controls[i].width, expected[i].width);
        EXPECT_EQ(controls[i].height, expected[i].height);
        EXPECT_EQ(controls[i].text, expected[i].text);
        EXPECT_EQ(controls[i].depth, expected[i].depth);
        EXPECT_EQ(controls[i].borderStyle, 0u + (i == 0 ? HOST_BORDER_GROUP | HOST_BORDER_TITLED : HOST_BORDER_NONE));
    }
    // Groups: columns, spacing.
    EXPECT_EQ(controls[0].columns, 2);
    EXPECT_EQ((controls[0].borderSpace), (std::array<int32_t, 4>{4, 4, 4, 4}));
    EXPECT_EQ(controls[8].columns, 1);
    EXPECT_EQ((controls[8].borderSpace), (std::array<int32_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(controls[13].columns, 4);
    EXPECT_EQ((controls[13].borderSpace), (std::array<int32_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(controls[16].columns, 1);
    EXPECT_EQ((controls[16].borderSpace), (std::array<int32_t, 4>{4, 4, 4, 4}));
    for (size_t group : {0u, 8u, 13u, 16u}) {
        EXPECT_EQ(controls[group].rows, 0);
        EXPECT_EQ(controls[group].groupFlags, 0);
    }

    // The menu and the combo boxes' entries.
    const std::vector<substitute::MenuEntry>& menu = window().menu;
    ASSERT_EQ(menu.size(), 5u);
    EXPECT_TRUE(menu[0].subMenu);
    EXPECT_EQ(menu[0].text, "List");
    EXPECT_EQ(menu[1].id, IDM_SAVE_LIST);
    EXPECT_EQ(menu[1].text, "Save List as CSV...");
    EXPECT_EQ(menu[1].depth, 1u);
    EXPECT_TRUE(menu[2].subMenu);
    EXPECT_EQ(menu[2].text, "Help");
    EXPECT_EQ(menu[2].depth, 0u);
    EXPECT_EQ(menu[3].id, IDM_ABOUT);
    EXPECT_EQ(menu[3].text, "About...");
    EXPECT_EQ(menu[4].id, IDM_SHOW_HELP_FILE);
    EXPECT_EQ(menu[4].text, "Show Help File (.PDF)...");
    EXPECT_EQ(menu[4].depth, 1u);
    EXPECT_TRUE(window().menuFinished);
    EXPECT_EQ(entriesOf(control(IDC_ACTION)), (Entries{{0, "Identify Plugin"},
                                                       {1, "Generate List"},
                                                       {2, "Remove Plugin"},
                                                       {3, "Find Missing Plugins"},
                                                       {4, "Remove Missing Plugins"},
                                                       {5, "Find Missing Plugins in Folder"},
                                                       {6, "Remove Missing Plugins in Folder"}}));
    EXPECT_EQ(entriesOf(control(IDC_PLUGIN_TYPE)),
              (Entries{{0, "Tag"}, {1, "Shader"}, {2, "Object"}, {3, "Post Effect"}, {4, "Material"}}));
    EXPECT_EQ(entriesOf(control(IDC_SCOPE)), expectedTagScopes);

    // The tree view: kind, settings in order, and the handle kept.
    EXPECT_EQ(control(IDC_TREE_VIEW).guiKind, HOST_LIBRARY_TREE_VIEW);
    const std::vector<substitute::ContainerEntry>& settings = treeView().settings.entries;
    ASSERT_EQ(settings.size(), 3u);
    const int32_t keys[] = {HOST_TREE_VIEW_HEADER_ROW, HOST_TREE_VIEW_BORDER, HOST_TREE_VIEW_FIXED_LAYOUT};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(settings[i].key, keys[i]);
        EXPECT_TRUE(settings[i].isBool && settings[i].value != 0);
    }
    EXPECT_EQ(dialog->treeView, &treeView());
}

TEST_F(DialogTest, WindowOpensOnGenerateListForTags) {
    const substitute::Control& number = control(IDC_PLUGIN_ID);
    EXPECT_EQ(number.value, 0.0);
    EXPECT_EQ(number.minimum, -1e18);
    EXPECT_EQ(number.maximum, 1e18);
    EXPECT_EQ(number.step, 1.0);
    EXPECT_EQ(number.format, HOST_NUMBER_FORMAT_FLOAT);
    EXPECT_EQ(control(IDC_ACTION).value, entryId(GenerateList));
    EXPECT_EQ(control(IDC_PLUGIN_TYPE).value, entryId(Tag));
    EXPECT_EQ(control(IDC_SCOPE).value, 0);
    EXPECT_EQ(control(IDC_WARN_BEFORE_DELETING).value, 1.0);
    EXPECT_EQ(control(IDC_KEEP_LAYER_SHADERS).value, 0.0);
    EXPECT_FALSE(control(IDC_WARN_BEFORE_DELETING).enabled);
    EXPECT_FALSE(control(IDC_KEEP_LAYER_SHADERS).enabled);
    for (int32_t id : {IDC_PLUGIN_TYPE, IDC_SCOPE, IDC_TREE_VIEW, IDC_ACTION}) EXPECT_TRUE(control(id).enabled);
    EXPECT_FALSE(dialog->treeFunctions.identifyMode);
    EXPECT_EQ(headers(), (std::vector<std::string>{"Object With Tag", "Tag Name"}));
    EXPECT_TRUE(rows().empty());
    // Every label and group shares one id, which no command acts on.
    const std::string before = substitute::describeDialog(window());
    EXPECT_EQ(substitute::sendDialogMessage(window(), HOST_MSG_COMMAND, IDC_ANONYMOUS), 1);
    EXPECT_EQ(substitute::describeDialog(window()), before);
}

TEST_F(DialogTest, ActionEnablesItsControls) {
    struct Row {
        Action action;
        bool typeAndScope, warnAndKeep, identifyMode;
    };
    const Row table[] = {
        {Identify, false, false, true}, {Remove, true, true, false},    {GenerateList, true, false, false},
        {Remove, true, true, false},    {Identify, false, false, true},
    };
    for (const Row& row : table) {
        SCOPED_TRACE("action " + std::to_string(entryId(row.action)));
        choose(IDC_ACTION, row.action);
        EXPECT_EQ(control(IDC_PLUGIN_TYPE).enabled, row.typeAndScope);
        EXPECT_EQ(control(IDC_SCOPE).enabled, row.typeAndScope);
        EXPECT_EQ(control(IDC_TREE_VIEW).enabled, row.typeAndScope);
        EXPECT_EQ(control(IDC_WARN_BEFORE_DELETING).enabled, row.warnAndKeep);
        EXPECT_EQ(control(IDC_KEEP_LAYER_SHADERS).enabled, row.warnAndKeep);
        EXPECT_EQ(dialog->treeFunctions.identifyMode, row.identifyMode);
    }
    // The user cannot reach what the action disabled.
    EXPECT_NE(substitute::chooseComboEntry(window(), IDC_PLUGIN_TYPE, entryId(Object)), "");
}

TEST_F(DialogTest, ScopeEntriesFollowThePluginType) {
    struct Row {
        PluginType type;
        Entries scopes;
        std::vector<std::string> headers;
    };
    const Row table[] = {
        {Shader,
         {{0, "All Materials"}, {2, "Selected Materials Only"}, {3, "All Elements"}},
         {"Material", "Channel", "In Layer Shader?"}},
        {Object,
         {{0, "All Objects"}, {1, "Selected Objects and Children"}, {2, "Selected Objects Only"}},
         {"Object Name"}},
        {PostEffect, {{0, "All Videposts"}, {3, "All Render Settings"}}, {"Post Effect"}},
        {Material, {{0, "All Materials"}, {2, "Selected Materials Only"}}, {"Material"}},
        {Tag, expectedTagScopes, {"Object With Tag", "Tag Name"}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE("type " + std::to_string(entryId(row.type)));
        // A chosen selection scope goes back to the whole scene.
        if (control(IDC_SCOPE).entries.size() > 1) choose(IDC_SCOPE, control(IDC_SCOPE).entries.back().id);
        choose(IDC_PLUGIN_TYPE, row.type);
        EXPECT_EQ(entriesOf(control(IDC_SCOPE)), row.scopes);
        EXPECT_EQ(control(IDC_SCOPE).value, 0);
        EXPECT_EQ(dialog->treeFunctions.listPluginType, row.type);
        EXPECT_EQ(headers(), row.headers);
        // The option fields change only at Process.
        EXPECT_EQ(dialog->pluginType, Tag);
    }
    // Shader offers no entry 1; its selection entry reaches the search as 2.
    choose(IDC_PLUGIN_TYPE, Shader);
    EXPECT_NE(substitute::chooseComboEntry(window(), IDC_SCOPE, 1), "");
    choose(IDC_SCOPE, 2);
    typeId(1234);
    press(IDC_PROCESS);
    EXPECT_EQ(dialog->pluginType, Shader);
    EXPECT_EQ(dialog->scope, 2);
    EXPECT_EQ(rows(), (std::vector<std::vector<std::string>>{{"Shader plugin 1234 not found.", "--", "--"}}));
}

TEST_F(DialogTest, TypeAndScopeChangesEmptyTheListActionChangesDoNot) {
    HostElement* cube = host.scene.addObject(*document, nullptr, "Cube", 5159);
    host.scene.addTag(*cube, "Old Tag", 1234);
    const std::vector<std::vector<std::string>> listed = {{"Cube", "Old Tag"}};

    listInstances(Tag, 1234);
    EXPECT_EQ(rows(), listed);
    choose(IDC_ACTION, Remove);
    choose(IDC_ACTION, Identify);
    choose(IDC_ACTION, GenerateList);
    EXPECT_EQ(rows(), listed);

    choose(IDC_SCOPE, 1);
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(headers(), (std::vector<std::string>{"Object With Tag", "Tag Name"}));

    listInstances(Tag, 1234);
    choose(IDC_PLUGIN_TYPE, Tag);  // the same type again still empties
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(control(IDC_SCOPE).value, 0);
}

TEST_F(DialogTest, IdentifyTriesTheTypesInFixedOrder) {
    // One instance of each kind; the plug-in is not installed.
    HostElement* cube = host.scene.addObject(*document, nullptr, "Legacy Object", 1234);
    HostElement* tag = host.scene.addTag(*cube, "Legacy Tag", 1234);
    HostElement* material = host.scene.addMaterial(*document, "Mat", 5703);
    HostElement* shader = host.scene.setChannelShader(*material, 0, "Legacy Shader", 1234);
    HostElement* settings = host.scene.addRenderSettings(*document, "Main", true);
    HostElement* videoPost = host.scene.addVideoPost(*settings, "Legacy Effect", 1234);

    // The type control, whatever it shows, does not change the order.
    choose(IDC_PLUGIN_TYPE, PostEffect);
    choose(IDC_ACTION, Identify);
    typeId(1234.9);
    struct Step {
        HostElement* removeAfter;
        PluginType foundType;
        const char* text;
    };
    const Step steps[] = {
        {tag, Tag, "Plugin 1234 is a Tag plugin with the default name Legacy Tag."},
        {shader, Shader, "Plugin 1234 is a Shader plugin with the default name Legacy Shader."},
        {cube, Object, "Plugin 1234 is an Object plugin with the default name Legacy Object."},
        {videoPost, PostEffect, "Plugin 1234 is a VideoPost plugin with the default name Legacy Effect."},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.text);
        host.ui.messageBoxes.shown.clear();
        press(IDC_PROCESS);
        EXPECT_EQ(dialog->foundType, step.foundType);
        EXPECT_EQ(boxTexts(), std::vector<std::string>{step.text});
        host.scene.freeElement(step.removeAfter);
    }
    host.ui.messageBoxes.shown.clear();
    press(IDC_PROCESS);
    EXPECT_EQ(dialog->foundType, std::nullopt);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Plugin 1234 could not be identifed. Try searching the internet for "
                                                   "the plugin ID value or name."});
    EXPECT_EQ(host.ui.messageBoxes.shown[0].style, HOST_MESSAGE_BOX_NOTICE);
    // Identify adds no rows.
    EXPECT_TRUE(rows().empty());
}

TEST_F(DialogTest, RegistryReportNamesTheRegisteredKind) {
    const std::pair<int32_t, const char*> kinds[] = {
        {HOST_PLUGIN_KIND_OBJECT, "Object"}, {34, "Vmap Transfer"}, {39, "Unknown"}};
    choose(IDC_ACTION, Identify);
    typeId(-7.5);
    for (const auto& [kind, kindName] : kinds) {
        SCOPED_TRACE(kind);
        host.scene.setPlugins({{-7, kind, "Fancy"}});
        host.ui.messageBoxes.shown.clear();
        press(IDC_PROCESS);
        EXPECT_EQ(boxTexts(), std::vector<std::string>{
                                  "Plugin -7 was not found in the scene file,\nbut is reported by C4D as a plugin of "
                                  "type\n'" +
                                  std::string(kindName) +
                                  "' with the name 'Fancy'\n(but see the manual for caveats in this context)."});
    }
}

TEST_F(DialogTest, ProcessCopiesTheControlsIntoTheOptions) {
    choose(IDC_ACTION, Remove);
    choose(IDC_PLUGIN_TYPE, Object);
    choose(IDC_SCOPE, 2);
    check(IDC_WARN_BEFORE_DELETING, false);
    check(IDC_KEEP_LAYER_SHADERS, true);
    typeId(42);
    dialog->foundType = PostEffect;
    press(IDC_PROCESS);
    EXPECT_EQ(dialog->action, Remove);
    EXPECT_EQ(dialog->pluginType, Object);
    EXPECT_EQ(dialog->scope, 2);
    EXPECT_FALSE(dialog->warnBeforeDeleting);
    EXPECT_TRUE(dialog->keepLayerShaders);
    EXPECT_EQ(dialog->foundType, std::nullopt);
    EXPECT_TRUE(host.ui.messageBoxes.shown.empty());  // no warning asked for
    EXPECT_EQ(host.scene.notices.backgroundStops,
              (std::vector<std::array<int32_t, 3>>{
                  {HOST_BACKGROUND_WORK_ALL, HOST_BACKGROUND_SCENE_CHANGES, HOST_BACKGROUND_WAIT}}));
    EXPECT_EQ(rows(), (std::vector<std::vector<std::string>>{{"Object plugin 42 not found."}}));
}

TEST_F(DialogTest, OutOfRangeIdIsRefusedOnceBeforeAnySearch) {
    HostElement* cube = host.scene.addObject(*document, nullptr, "Cube", 5159);
    host.scene.addTag(*cube, "Old Tag", 1234);
    listInstances(Tag, 1234);
    const auto listed = rows();
    choose(IDC_ACTION, Remove);  // warn is on: a search would ask first
    for (const double typed : {2147483648.0, -2147483649.0, 1e18, -1e18}) {
        SCOPED_TRACE(typed);
        host.ui.messageBoxes.shown.clear();
        typeId(typed);
        press(IDC_PROCESS);
        ASSERT_EQ(host.ui.messageBoxes.shown.size(), 1u);
        EXPECT_EQ(host.ui.messageBoxes.shown[0].text, "Plugin ID must be between -2147483648 and 2147483647.");
        EXPECT_EQ(host.ui.messageBoxes.shown[0].style, HOST_MESSAGE_BOX_NOTICE);
        EXPECT_EQ(rows(), listed);
        EXPECT_EQ(host.scene.undoCount(*document), 0u);
    }
    // The edge of the range is still an id.
    choose(IDC_ACTION, GenerateList);
    host.ui.messageBoxes.shown.clear();
    typeId(2147483647.9);
    press(IDC_PROCESS);
    EXPECT_TRUE(host.ui.messageBoxes.shown.empty());
    EXPECT_EQ(rows(), (std::vector<std::vector<std::string>>{{"Tag plugin 2147483647 not found.", ""}}));
}

TEST_F(DialogTest, ProcessWithoutActiveDocumentChangesNothing) {
    HostElement* cube = host.scene.addObject(*document, nullptr, "Cube", 5159);
    host.scene.addTag(*cube, "Old Tag", 1234);
    listInstances(Tag, 1234);
    const auto listed = rows();
    host.scene.setActiveDocument(nullptr);
    for (const Action action : {Identify, GenerateList, Remove}) {
        choose(IDC_ACTION, action);
        press(IDC_PROCESS);
        EXPECT_TRUE(host.ui.messageBoxes.shown.empty());
    }
    choose(IDC_ACTION, GenerateList);
    EXPECT_EQ(rows(), listed);
    EXPECT_EQ(host.scene.undoCount(*document), 0u);
    EXPECT_EQ(host.scene.notices.backgroundStops.size(), 1u);  // the first run only
}

TEST_F(DialogTest, CloseAndReopen) {
    HostElement* cube = host.scene.addObject(*document, nullptr, "Cube", 5159);
    host.scene.addTag(*cube, "Old Tag", 1234);
    choose(IDC_ACTION, Remove);
    check(IDC_WARN_BEFORE_DELETING, false);
    check(IDC_KEEP_LAYER_SHADERS, true);
    typeId(999);
    press(IDC_PROCESS);
    choose(IDC_ACTION, Identify);
    ASSERT_EQ(substitute::closeWindow(window()), "");
    EXPECT_FALSE(window().open);
    EXPECT_EQ(dialog->treeView, nullptr);
    EXPECT_TRUE(dialog->results.records.empty());

    openWindow();
    EXPECT_EQ(control(IDC_ACTION).value, entryId(GenerateList));
    EXPECT_EQ(control(IDC_PLUGIN_TYPE).value, entryId(Tag));
    EXPECT_EQ(entriesOf(control(IDC_SCOPE)), expectedTagScopes);
    EXPECT_EQ(control(IDC_WARN_BEFORE_DELETING).value, 0.0);
    EXPECT_EQ(control(IDC_KEEP_LAYER_SHADERS).value, 1.0);
    EXPECT_FALSE(control(IDC_WARN_BEFORE_DELETING).enabled);
    EXPECT_FALSE(control(IDC_KEEP_LAYER_SHADERS).enabled);
    EXPECT_EQ(dialog->treeView, &treeView());
    // The Identify state is gone: a list run draws its rows.
    listInstances(Tag, 1234);
    EXPECT_EQ(rows(), (std::vector<std::vector<std::string>>{{"Cube", "Old Tag"}}));
}

TEST_F(DialogTest, CancelEmptiesTheListLikeClosing) {
    HostElement* material = host.scene.addMaterial(*document, "Mat", 5703);
    host.scene.setChannelShader(*material, 0, "Noise", 1234);
    listInstances(Shader, 1234);
    ASSERT_EQ(rows().size(), 1u);
    press(IDC_CANCEL);
    EXPECT_FALSE(window().open);
    EXPECT_TRUE(dialog->results.records.empty());
    // The reopened window shows Tag columns over an empty list, not the shader rows.
    openWindow();
    EXPECT_EQ(headers(), (std::vector<std::string>{"Object With Tag", "Tag Name"}));
    EXPECT_TRUE(rows().empty());
}

TEST_F(DialogTest, AboutAndHelpFileWithoutResource) {
    menu(IDM_ABOUT);
    ASSERT_EQ(host.ui.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(host.ui.messageBoxes.shown[0].text, "");
    EXPECT_EQ(host.ui.messageBoxes.shown[0].style, HOST_MESSAGE_BOX_NOTICE);
    menu(IDM_SHOW_HELP_FILE);
    EXPECT_EQ(host.ui.openedFiles, std::vector<std::filesystem::path>{"Cleartrace.pdf"});
    EXPECT_EQ(host.ui.messageBoxes.shown.size(), 1u);  // a missing file is not reported
}

TEST_F(DialogTest, AboutAndHelpFileWithResource) {
    // The module as the host binds it, beside the resource folder the build ships.
    const std::filesystem::path folder = std::filesystem::path(CLEARTRACE_MODULE_FILE).parent_path();
    HostPath* file = substitute::makePath(folder / "cleartrace.xso64");
    ASSERT_EQ(c4d_main(HOST_MODULE_BIND, const_cast<HostTables*>(host.tables()), nullptr, file), HOST_MODULE_HANDLED);
    host.tables()->t_C4DOS_Fn->free(file);
    ASSERT_EQ(c4d_main(HOST_MODULE_MESSAGE, reinterpret_cast<void*>(uintptr_t(HOST_MODULE_MESSAGE_RESOURCE)), nullptr,
                       nullptr),
              HOST_MODULE_HANDLED);

    std::map<int32_t, std::string> strings;
    ASSERT_EQ(substitute::parseStringTable(kit::readFile(folder / "res" / "strings.txt"), "strings.txt", strings), "");

    substitute::closeWindow(window());
    openWindow();
    EXPECT_EQ(window().title, strings[10000]);
    menu(IDM_ABOUT);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{strings[10001]});
    menu(IDM_SHOW_HELP_FILE);
    EXPECT_EQ(host.ui.openedFiles, std::vector<std::filesystem::path>{folder / "Cleartrace.pdf"});

    substitute::closeWindow(window());
    EXPECT_EQ(c4d_main(HOST_MODULE_END, nullptr, nullptr, nullptr), HOST_MODULE_HANDLED);
}
