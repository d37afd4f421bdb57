// The results list as the host's tree view shows it: rows, columns, widths,
// what each cell draws, the row answers, the double-click, and the tree view
// handle only ever used while it exists.
#include <gtest/gtest.h>

#include "dialog_session.h"
#include "host/tree_view.h"
#include "search.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;

// Tables the tests swap in front of the substitute host's own.
struct PatchedTables {
    HostTables tables;
    HostDialogTable dialog;
    HostLibraryTable libraries;
    HostTreeViewLibrary treeView;
    const HostLibraryTable* originalLibraries = nullptr;
    const HostTreeViewLibrary* originalTreeView = nullptr;
    struct Attach {
        HostGui* gui;
        void* root;
        const HostTreeViewCallbacks* callbacks;
    };
    std::vector<Attach> attaches;
};
PatchedTables patched;

void patchTables(const HostTables& original) {
    patched = PatchedTables{};
    patched.tables = original;
    patched.dialog = *original.t_C4DOS_Gd;
    patched.tables.t_C4DOS_Gd = &patched.dialog;
    patched.originalLibraries = original.t_C4DOS_Lr;
    patched.originalTreeView =
        static_cast<const HostTreeViewLibrary*>(original.t_C4DOS_Lr->find(HOST_LIBRARY_TREE_VIEW));
    patched.treeView = *patched.originalTreeView;
    patched.treeView.attach = [](HostGui* gui, void* root, const HostTreeViewCallbacks* callbacks, void* self,
                                 void* user) {
        patched.attaches.push_back({gui, root, callbacks});
        patched.originalTreeView->attach(gui, root, callbacks, self, user);
    };
    patched.libraries = *original.t_C4DOS_Lr;
    patched.libraries.find = [](int32_t id) -> const void* {
        return id == HOST_LIBRARY_TREE_VIEW ? &patched.treeView : patched.originalLibraries->find(id);
    };
    patched.tables.t_C4DOS_Lr = &patched.libraries;
    host::storeTables(patched.tables);
}

ResultRecord record(int32_t rowNumber, const char* name, int32_t channel, bool inLayerShader) {
    ResultRecord result;
    result.rowNumber = rowNumber;
    result.name = host::String(name);
    result.channel = channel;
    result.inLayerShader = inLayerShader;
    return result;
}

}  // namespace

class ResultTreeTest : public DialogSession {
protected:
    // Shows these records with the columns of type.
    void show(PluginType type, std::vector<ResultRecord> records) {
        if (isPluginType(type)) {
            choose(IDC_PLUGIN_TYPE, type);
        } else {
            dialog->setInt32(IDC_PLUGIN_TYPE, entryId(type));
            dialog->setResultLayout();
        }
        for (ResultRecord& each : records) ASSERT_TRUE(dialog->results.records.push(std::move(each)));
        dialog->refreshResults();
    }

    bool doubleClick(size_t row) {
        bool handled = false;
        EXPECT_EQ(substitute::doubleClick(window(), IDC_TREE_VIEW, row, COLUMN_NAME, &handled), "");
        return handled;
    }
};

TEST_F(ResultTreeTest, CellsAreMeasuredFilledAndIndented) {
    HostElement* cube = host.scene.addObject(*document, nullptr, "Cube", 5159);
    host.scene.addTag(*cube, "Old Tag", 1234);
    listInstances(Tag, 1234);
    const substitute::Drawing& drawing = substitute::drawTreeView(treeView());
    ASSERT_EQ(drawing.columns.size(), 2u);
    EXPECT_EQ(drawing.columns[0].id, COLUMN_NAME);
    EXPECT_EQ(drawing.columns[1].id, COLUMN_TAG);
    EXPECT_EQ(drawing.columns[0].kind, HOST_TREE_VIEW_COLUMN_USER);
    EXPECT_EQ(drawing.columnWidths, (std::vector<int32_t>{30 * 7 + 8, 15 * 7 + 8}));
    EXPECT_EQ(drawing.rowHeights, std::vector<int32_t>{14});
    ASSERT_EQ(drawing.cells.size(), 4u);  // two header cells, two row cells
    for (const substitute::DrawnCell& cell : drawing.cells) {
        SCOPED_TRACE("row " + std::to_string(cell.row) + " column " + std::to_string(cell.column));
        ASSERT_EQ(cell.operations.size(), 4u);
        const auto& fill = cell.operations[0];
        EXPECT_EQ(fill.kind, substitute::DrawKind::FillRect);
        EXPECT_EQ((std::array{fill.x, fill.y, fill.x2, fill.y2}),
                  (std::array{cell.x, cell.y, cell.x + cell.width - 1, cell.y + cell.height - 1}));
        EXPECT_EQ(cell.operations[1].kind, substitute::DrawKind::DrawSetting);
        EXPECT_EQ(cell.operations[1].setting, HOST_DRAW_SETTING_TEXT);
        EXPECT_EQ(cell.operations[2].textColor, HOST_COLOR_TEXT);
        EXPECT_EQ(cell.operations[2].backgroundColor, HOST_COLOR_TEXT_BACKGROUND);
        const auto& text = cell.operations[3];
        EXPECT_EQ(text.kind, substitute::DrawKind::Text);
        EXPECT_EQ((std::array{text.x, text.y, text.flags}), (std::array{cell.x + 4, cell.y, HOST_DRAW_TEXT_PLAIN}));
    }
    EXPECT_EQ(substitute::headerTexts(drawing), (Texts{"Object With Tag", "Tag Name"}));
    EXPECT_EQ(substitute::rowTexts(drawing), (Rows{{"Cube", "Old Tag"}}));
}

TEST_F(ResultTreeTest, ShaderCellTexts) {
    show(Shader, {record(0, "Color Mat", 0, false), record(1, "Normal Mat", 13, true), record(2, "Last Mat", 14, false),
                  record(3, "Beyond", 15, true), record(4, "Below", -2, false),
                  record(5, "Shader plugin 7 not found.", -1, true)});
    EXPECT_EQ(headers(), (Texts{"Material", "Channel", "In Layer Shader?"}));
    EXPECT_EQ(rows(), (Rows{{"Color Mat", "Color", "No"},
                            {"Normal Mat", "Normal", "Yes"},
                            {"Last Mat", "Unnamed", "No"},
                            {"Beyond", "Custom", "Yes"},
                            {"Below", "Custom", "No"},
                            {"Shader plugin 7 not found.", "--", "--"}}));
}

TEST_F(ResultTreeTest, ColumnSetsPerType) {
    struct Row {
        PluginType type;
        Texts headers;
        Rows rows;
    };
    const Row table[] = {
        {Object, {"Object Name"}, {{"A"}, {"B"}}},
        {PostEffect, {"Post Effect"}, {{"A"}, {"B"}}},
        {PluginType(7), {""}, {{"A"}, {"B"}}},
        {PluginType(-1), {""}, {{"A"}, {"B"}}},
        {Tag, {"Object With Tag", "Tag Name"}, {{"A", ""}, {"B", ""}}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(entryId(row.type));
        show(row.type, {record(0, "A", 0, true), record(1, "B", -1, false)});
        EXPECT_EQ(dialog->treeFunctions.listPluginType, row.type);
        EXPECT_EQ(headers(), row.headers);
        EXPECT_EQ(rows(), row.rows);
        clearResults(dialog->results);
    }
}

TEST_F(ResultTreeTest, IdentifyModeDrawsNothing) {
    HostElement* cube = host.scene.addObject(*document, nullptr, "Cube", 5159);
    host.scene.addTag(*cube, "Old Tag", 1234);
    listInstances(Tag, 1234);
    choose(IDC_ACTION, Identify);
    const substitute::Drawing& drawing = substitute::drawTreeView(treeView());
    ASSERT_EQ(drawing.cells.size(), 4u);
    for (const substitute::DrawnCell& cell : drawing.cells) EXPECT_TRUE(cell.operations.empty());
    choose(IDC_ACTION, GenerateList);
    EXPECT_EQ(rows(), (Rows{{"Cube", "Old Tag"}}));
}

TEST_F(ResultTreeTest, RowsAnswerAsAFlatList) {
    show(Object, {record(0, "A", 0, false), record(1, "B", 0, false), record(2, "C", 0, false)});
    const std::vector<substitute::RowAnswers> answers = substitute::queryRows(treeView(), COLUMN_NAME);
    ASSERT_EQ(answers.size(), 3u);
    for (const substitute::RowAnswers& answer : answers) {
        EXPECT_FALSE(answer.selected);
        EXPECT_FALSE(answer.opened);
        EXPECT_EQ(answer.name, "");
        EXPECT_EQ(answer.id, 0);
        EXPECT_EQ(answer.dragType, -1);
        EXPECT_FALSE(answer.hasChildren);
        EXPECT_EQ(answer.height, 14);
        EXPECT_TRUE(answer.contextMenu.entries.empty());
    }
}

TEST_F(ResultTreeTest, ListEndsAtAGapInTheRowNumbers) {
    show(Object, {record(0, "A", 0, false), record(1, "B", 0, false), record(3, "D", 0, false)});
    EXPECT_EQ(rows(), (Rows{{"A"}, {"B"}}));
    // Rows the tree view did not get from the store end the list too.
    ResultTreeCallbacks& callbacks = dialog->treeFunctions;
    ResultRecord outside = record(0, "X", 0, false);
    EXPECT_EQ(callbacks.nextRow(&dialog->results, nullptr, &outside), nullptr);
    EXPECT_EQ(callbacks.nextRow(&dialog->results, nullptr, nullptr), nullptr);
    EXPECT_EQ(callbacks.nextRow(&dialog->results, nullptr, &dialog->results.records[2]), nullptr);
    clearResults(dialog->results);
    EXPECT_EQ(callbacks.firstRow(&dialog->results, nullptr), nullptr);
}

TEST_F(ResultTreeTest, CallsWithoutAreaOrRow) {
    show(Object, {record(0, "A", 0, false)});
    ResultTreeCallbacks& callbacks = dialog->treeFunctions;
    void* row = &dialog->results.records[0];
    EXPECT_EQ(callbacks.cellWidth(&dialog->results, nullptr, row, COLUMN_NAME, nullptr), 0);
    EXPECT_EQ(callbacks.headerWidth(&dialog->results, nullptr, COLUMN_TAG, nullptr), 0);
    EXPECT_EQ(callbacks.rowHeight(&dialog->results, nullptr, row, COLUMN_NAME, nullptr), 0);

    // A draw request without a row fills the cell and writes nothing.
    std::vector<substitute::DrawOperation> operations;
    substitute::AreaPool pool;
    HostDrawArea* area = pool.open(&operations);
    const HostDrawInfo info{area, 10, 20, 30, 14};
    callbacks.drawCell(&dialog->results, nullptr, nullptr, COLUMN_NAME, &info, 1000);
    substitute::AreaPool::close(area);
    ASSERT_EQ(operations.size(), 2u);
    EXPECT_EQ((std::array{operations[0].x2, operations[0].y2}), (std::array{39, 33}));
    EXPECT_EQ(operations[1].kind, substitute::DrawKind::DrawSetting);
}

TEST_F(ResultTreeTest, DoubleClickSelectsTheListedElement) {
    HostElement* group = host.scene.addObject(*document, nullptr, "Group", 5140);
    HostElement* inner = host.scene.addObject(*document, group, "Inner", 5140);
    HostElement* cube = host.scene.addObject(*document, inner, "Cube", 1234);
    host.scene.addTag(*cube, "Old Tag", 1234);
    HostElement* sphere = host.scene.addObject(*document, nullptr, "Sphere", 1234);
    HostElement* first = host.scene.addMaterial(*document, "First", 5703);
    HostElement* second = host.scene.addMaterial(*document, "Second", 5703);
    host.scene.setChannelShader(*second, 0, "Old Shader", 1234);
    HostElement* settings = host.scene.addRenderSettings(*document, "Main", true);
    host.scene.addVideoPost(*settings, "Old Effect", 1234);
    host.scene.makeActive(*document, *first);

    struct Row {
        PluginType type;
        size_t row;
        HostElement* object;    // the active object afterwards
        HostElement* material;  // the active material afterwards
    };
    const Row table[] = {
        {Tag, 0, cube, first},  // the object that carries the tag, not the tag
        {Object, 1, sphere, first}, {Object, 0, cube, first},
        {Shader, 0, cube, second},  {PostEffect, 0, cube, second},  // nothing to select
    };
    for (const Row& row : table) {
        SCOPED_TRACE(entryId(row.type));
        listInstances(row.type, 1234);
        const size_t notices = host.scene.notices.sceneChanges.size();
        EXPECT_TRUE(doubleClick(row.row));
        EXPECT_EQ(host.scene.activeObject(*document), row.object);
        EXPECT_EQ(host.scene.activeMaterial(*document), row.material);
        EXPECT_EQ(host.scene.notices.sceneChanges.size(), notices + 1);
        EXPECT_EQ(host.scene.notices.sceneChanges.back(), HOST_SCENE_CHANGED_REDRAW);
    }
    // The not-found row selects nothing and still tells the scene.
    listInstances(Object, 999);
    const size_t notices = host.scene.notices.sceneChanges.size();
    EXPECT_TRUE(doubleClick(0));
    EXPECT_EQ(host.scene.activeObject(*document), cube);
    EXPECT_EQ(host.scene.notices.sceneChanges.size(), notices + 1);
}

TEST_F(ResultTreeTest, DoubleClickOnAStaleRowSelectsNothing) {
    HostElement* keep = host.scene.addObject(*document, nullptr, "Keep", 1234);
    HostElement* parent = host.scene.addObject(*document, nullptr, "Parent", 5140);
    HostElement* doomed = host.scene.addObject(*document, parent, "Doomed", 1234);
    HostElement* material = host.scene.addMaterial(*document, "Mat", 5703);
    host.scene.setChannelShader(*material, 0, "Old Shader", 1234);

    // Deleted by the user after the run.
    listInstances(Object, 1234);
    EXPECT_EQ(rows(), (Rows{{"Keep"}, {"Doomed"}}));
    host.scene.freeElement(parent);
    size_t notices = host.scene.notices.sceneChanges.size();
    EXPECT_TRUE(doubleClick(1));
    EXPECT_EQ(host.scene.activeObject(*document), nullptr);
    EXPECT_EQ(host.scene.notices.sceneChanges.size(), notices + 1);
    EXPECT_TRUE(doubleClick(0));
    EXPECT_EQ(host.scene.activeObject(*document), keep);

    // A material deleted after the run.
    listInstances(Shader, 1234);
    host.scene.freeElement(material);
    EXPECT_TRUE(doubleClick(0));
    EXPECT_EQ(host.scene.activeMaterial(*document), nullptr);

    // Rows of a document that is no longer the active one.
    listInstances(Object, 1234);
    HostDocument* other = host.scene.newDocument();
    host.scene.setActiveDocument(other);
    notices = host.scene.notices.sceneChanges.size();
    EXPECT_TRUE(doubleClick(0));
    EXPECT_EQ(host.scene.activeObject(*other), nullptr);
    EXPECT_EQ(host.scene.activeObject(*document), keep);
    EXPECT_EQ(host.scene.notices.sceneChanges.size(), notices + 1);

    // No active document at all: nothing, not even the notice.
    host.scene.setActiveDocument(nullptr);
    notices = host.scene.notices.sceneChanges.size();
    EXPECT_TRUE(doubleClick(0));
    EXPECT_EQ(host.scene.notices.sceneChanges.size(), notices);
    (void)doomed;
}

// The host may give a freed element's address to a new one: a row selects
// only an element that still carries its name and, for objects, materials
// and the objects carrying tags, the type id it was listed with (a Null that
// replaced a removed object may lie where the listed object was).
TEST_F(ResultTreeTest, DoubleClickSelectsOnlyWhatTheRowDescribes) {
    HostElement* cube = host.scene.addObject(*document, nullptr, "Cube", 1234);
    HostElement* carrier = host.scene.addObject(*document, nullptr, "Carrier", 5159);
    host.scene.addTag(*carrier, "Old Tag", 1234);
    HostElement* material = host.scene.addMaterial(*document, "Mat", 5703);
    host.scene.setChannelShader(*material, 0, "Old Shader", 1234);

    struct Change {
        PluginType type;
        HostElement* element;
        const char* name;
        int32_t typeId;
    };
    const Change changes[] = {
        {Object, cube, "Sphere", 1234},    {Object, cube, "Cube", 5160},
        {Tag, carrier, "Other", 5159},     {Tag, carrier, "Carrier", HOST_TYPE_NULL_OBJECT},
        {Shader, material, "Other", 5703},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        listInstances(change.type, 1234);
        const std::string name = change.element->name;
        const int32_t typeId = change.element->type;
        change.element->name = change.name;
        change.element->type = change.typeId;
        const size_t notices = host.scene.notices.sceneChanges.size();
        EXPECT_TRUE(doubleClick(0));
        EXPECT_EQ(host.scene.activeObject(*document), nullptr);
        EXPECT_EQ(host.scene.activeMaterial(*document), nullptr);
        EXPECT_EQ(host.scene.notices.sceneChanges.size(), notices + 1);
        // As listed again, it is selected.
        change.element->name = name;
        change.element->type = typeId;
        EXPECT_TRUE(doubleClick(0));
        EXPECT_TRUE(host.scene.activeObject(*document) == change.element ||
                    host.scene.activeMaterial(*document) == change.element);
        document->activeObject = 0;
        document->activeMaterial = 0;
    }
}

TEST_F(ResultTreeTest, ClosedWindowLeavesNoTreeViewToCall) {
    choose(IDC_PLUGIN_TYPE, Shader);
    press(IDC_CANCEL);
    ASSERT_FALSE(window().open);
    ASSERT_EQ(dialog->treeView, nullptr);
    // The retired handle would stop the host; none of these may reach it.
    dialog->setInt32(IDC_PLUGIN_TYPE, entryId(Object));
    EXPECT_TRUE(dialog->setResultLayout());
    dialog->refreshResults();
    SearchRequest request;
    request.pluginType = Object;
    runSearch(document, request, dialog->results);
    dialog->refreshResults();
    EXPECT_EQ(dialog->treeFunctions.listPluginType, Tag);  // no window: the type control reads 0
}

TEST_F(ResultTreeTest, WindowWithoutTreeViewStillWorks) {
    substitute::closeWindow(window());
    patchTables(*host.tables());
    patched.dialog.addCustomGui = [](HostDialog*, int32_t, int32_t, const HostString*, int32_t, int32_t, int32_t,
                                     const HostContainer*) -> HostGui* { return nullptr; };
    openWindow();
    EXPECT_EQ(dialog->treeView, nullptr);
    HostElement* cube = host.scene.addObject(*document, nullptr, "Cube", 5159);
    host.scene.addTag(*cube, "Old Tag", 1234);
    listInstances(Tag, 1234);
    EXPECT_EQ(dialog->results.records.size(), 1);
    choose(IDC_PLUGIN_TYPE, Shader);
    EXPECT_EQ(dialog->treeFunctions.listPluginType, Shader);
    EXPECT_TRUE(dialog->results.records.empty());
    EXPECT_TRUE(patched.attaches.empty());
}

TEST_F(ResultTreeTest, DestroyedDialogDetachesFromItsTreeView) {
    patchTables(*host.tables());
    HostGui* shown = dialog->treeView;
    show(Object, {record(0, "A", 0, false)});
    ASSERT_FALSE(patched.attaches.empty());
    EXPECT_EQ(patched.attaches.back().root, &dialog->results);
    patched.attaches.clear();

    host::destroyZeroed(std::exchange(dialog, nullptr));
    ASSERT_EQ(patched.attaches.size(), 1u);
    EXPECT_EQ(patched.attaches[0].gui, shown);
    EXPECT_EQ(patched.attaches[0].root, nullptr);
    EXPECT_EQ(patched.attaches[0].callbacks, nullptr);
}

// A tree-view library shorter than the module was built with is not called.
TEST_F(ResultTreeTest, ATooShortTreeViewLibraryIsNotCalled) {
    patchTables(*host.tables());
    patched.treeView.size -= 1;
    show(Object, {record(0, "A", 0, false)});
    EXPECT_TRUE(patched.attaches.empty());
}

TEST_F(ResultTreeTest, ColumnsStayWhenTheLayoutContainerCannotBeMade) {
    host.services.failObjectCreation(1);
    choose(IDC_PLUGIN_TYPE, Object);
    EXPECT_EQ(dialog->treeFunctions.listPluginType, Object);
    EXPECT_EQ(treeView().columns.size(), 2u);  // the Tag columns of the window as it opened
    choose(IDC_PLUGIN_TYPE, Shader);
    EXPECT_EQ(headers(), (Texts{"Material", "Channel", "In Layer Shader?"}));
}

// Columns a refused layout left behind belong to another list: a run makes
// its own before it lists (or says it could not), whether the type or the
// scope changed.
TEST_F(ResultTreeTest, ARunAfterARefusedLayoutListsUnderItsOwnColumns) {
    HostElement* settings = host.scene.addRenderSettings(*document, "Main", true);
    host.scene.addVideoPost(*settings, "Glow", 1234);
    host.scene.addTag(*host.scene.addObject(*document, nullptr, "Cube", 5159), "Old", 1234);

    choose(IDC_PLUGIN_TYPE, PostEffect);
    host.services.failObjectCreation(1);
    choose(IDC_SCOPE, allRenderSettingsScope);
    host.services.failObjectCreation(0);
    EXPECT_EQ(headers(), Texts{"Post Effect"});
    typeId(1234);
    press(IDC_PROCESS);
    EXPECT_EQ(boxTexts(), Texts{});
    EXPECT_EQ(headers(), (Texts{"Post Effect", "Render Settings"}));
    EXPECT_EQ(rows(), (Rows{{"Glow", "Main"}}));

    host.services.failObjectCreation(1);
    choose(IDC_PLUGIN_TYPE, Tag);
    host.services.failObjectCreation(0);
    EXPECT_EQ(treeView().columns.size(), 2u);  // those of every render settings
    press(IDC_PROCESS);
    EXPECT_EQ(boxTexts(), Texts{});
    EXPECT_EQ(headers(), (Texts{"Object With Tag", "Tag Name"}));
    EXPECT_EQ(rows(), (Rows{{"Cube", "Old"}}));
}
