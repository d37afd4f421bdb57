// The drivers and walkers over small scenes: rows, messages, undo steps,
// notices and the scene after each run.
#include <cmath>
#include <limits>

#include "search_fixture.h"

using Strings = std::vector<std::string>;

TEST(PluginIdFromField, TruncatesInRangeAndRefusesTheRest) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        bool accepted;
        int32_t id;
    };
    for (const Case& c :
         {Case{1234.9, true, 1234}, Case{-5.5, true, -5}, Case{2147483647.9, true, 2147483647},
          Case{-2147483648.9, true, INT32_MIN}, Case{2147483648.0, false, 0}, Case{-2147483649.0, false, 0},
          Case{1e300, false, 0}, Case{nan, false, 0}, Case{inf, false, 0}, Case{-inf, false, 0}}) {
        int32_t id = 0;
        EXPECT_EQ(pluginIdFromField(c.value, id), c.accepted) << c.value;
        if (c.accepted) {
            EXPECT_EQ(id, c.id) << c.value;
        }
    }
}

TEST_F(SearchTest, ObjectsAreRemovedChildrenFirstWithOneNoticePerChain) {
    HostElement* a = scene().addObject(*document, nullptr, "A", kPlugin);
    HostElement* b = scene().addObject(*document, a, "B", kPlugin);
    scene().addObject(*document, b, "C", kPlugin);
    scene().addObject(*document, nullptr, "D", kPlugin);
    HostElement* e = scene().addObject(*document, nullptr, "E", 5159);
    scene().addObject(*document, e, "F", kPlugin);
    const Strings before = describe();

    run(Object, GenerateList);
    EXPECT_EQ(rows(), (Strings{"0 C", "1 B", "2 A", "3 D", "4 F"}));
    EXPECT_EQ(notices(), 4u);  // the top chain, and the children of A, B and E

    run(Object, Remove);
    EXPECT_EQ(undoSteps(), (Strings{"C", "B", "A", "D", "F"}));
    EXPECT_EQ(rows(), Strings{"0 Object plugin 1234 not found."});
    EXPECT_EQ(dialog->results.rowCounter, 0);
    EXPECT_EQ(dialog->results.records[0].channel, -1);
    EXPECT_EQ(dialog->results.records[0].object, nullptr);
    EXPECT_EQ(describe(), (Strings{"objects:", "  E [5159]", "materials:", "render settings:"}));
    EXPECT_EQ(notices(), 8u);
    EXPECT_TRUE(boxes().empty());
    expectUndoRedo(before);
}

TEST_F(SearchTest, TagsAreWalkedInPreOrder) {
    HostElement* a = scene().addObject(*document, nullptr, "A", 5159);
    scene().addTag(*a, "t1", kPlugin);
    scene().addTag(*a, "other", 5600);
    scene().addTag(*a, "t2", kPlugin);
    HostElement* b = scene().addObject(*document, a, "B", 5159);
    scene().addTag(*b, "t3", kPlugin);
    HostElement* c = scene().addObject(*document, nullptr, "C", 5159);
    scene().addTag(*c, "t4", kPlugin);
    const Strings before = describe();

    run(Tag, GenerateList);
    EXPECT_EQ(rows(), (Strings{"0 A #t1", "1 A #t2", "2 B #t3", "3 C #t4"}));
    EXPECT_EQ(dialog->results.records[2].object, b);

    run(Tag, Remove);
    EXPECT_EQ(undoSteps(), (Strings{"t1", "t2", "t3", "t4"}));
    EXPECT_EQ(rows(), Strings{"0 Tag plugin 1234 not found."});
    expectUndoRedo(before);
}

TEST_F(SearchTest, OverlappingSelectionsVisitEachInstanceOnce) {
    // P (selected) > Q (selected) > R; all instances. S beside them, selected, no instance.
    HostElement* p = scene().addObject(*document, nullptr, "P", kPlugin);
    HostElement* q = scene().addObject(*document, p, "Q", kPlugin);
    HostElement* r = scene().addObject(*document, q, "R", kPlugin);
    HostElement* s = scene().addObject(*document, nullptr, "S", 5159);
    for (HostElement* e : {p, q, s}) e->selected = true;
    for (HostElement* e : {p, q, r}) scene().addTag(*e, "t" + e->name, kPlugin);
    const Strings before = describe();

    struct Case {
        PluginType driver;
        int32_t scope;
        Strings listed;
        Strings removed;
    };
    const Case cases[] = {
        {Object, 1, {"0 R", "1 Q", "2 P"}, {"R", "Q", "P"}},
        {Object, 2, {"0 P", "1 Q"}, {"P"}},  // Q went with P
        {Tag, 1, {"0 P #tP", "1 Q #tQ", "2 R #tR"}, {"tP", "tQ", "tR"}},
        {Tag, 2, {"0 P #tP", "1 Q #tQ"}, {"tP", "tQ"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scope);
        run(c.driver, GenerateList, kPlugin, c.scope);
        EXPECT_EQ(rows(), c.listed);
        run(c.driver, Remove, kPlugin, c.scope);
        EXPECT_EQ(undoSteps(), c.removed);
        ASSERT_TRUE(scene().undo(*document));
        // Undo made new elements: select them again.
        for (HostElement* e = document->objects.first; e; e = substitute::nextInPreOrder(e)) {
            e->selected = e->name != "R";
        }
        EXPECT_EQ(describe(), before);
    }
}

TEST_F(SearchTest, ScopeTwoSkipsOnlyWhatARemovedAncestorTookAlong) {
    // P (selected, no instance) > Q (selected, instance): both are walked.
    HostElement* p = scene().addObject(*document, nullptr, "P", 5159);
    HostElement* q = scene().addObject(*document, p, "Q", kPlugin);
    p->selected = q->selected = true;
    run(Object, Remove, kPlugin, 2);
    EXPECT_EQ(undoSteps(), Strings{"Q"});
    EXPECT_EQ(notices(), 2u);
}

TEST_F(SearchTest, ShadersInChannelsReflectanceAndNestedLayers) {
    HostElement* m = scene().addMaterial(*document, "M", 5703);
    HostElement* other = scene().addMaterial(*document, "Other", 5703);
    scene().setChannelShader(*m, 0, "plain", kPlugin);
    HostElement* outer = scene().setChannelShader(*m, 6, "outer", kLayerShader);
    HostElement* inner = scene().addShaderLayer(*outer, "inner", kLayerShader);
    scene().addShaderLayer(*inner, "deep", kPlugin);
    scene().addLayer(*outer, 2);  // a link that resolves to nothing
    scene().addLayer(*outer, 1);
    scene().addReflectanceShader(*m, "refl", kPlugin);
    scene().addReflectanceShader(*m, "foreign", kPlugin, other->id);  // owned by another material: ignored
    HostElement* reflLayers = scene().addReflectanceShader(*m, "reflLayers", kLayerShader);
    scene().addShaderLayer(*reflLayers, "reflDeep", kPlugin);
    scene().setChannelShader(*other, 10, "x", kPlugin);
    const Strings before = describe();

    run(Shader, GenerateList);
    EXPECT_EQ(rows(), (Strings{"0 M ch0", "1 M ch3", "2 M ch3 layered", "3 M ch6 layered", "4 Other ch10"}));
    EXPECT_EQ(dialog->results.records[4].material, other);
    EXPECT_EQ(notices(), 1u);
    ASSERT_EQ(scene().notices.materialUpdates.size(), 2u);
    EXPECT_EQ(scene().notices.messages.size(), 2u);

    // Keeping layered shaders: they are listed, the rest removed, and the notice shown.
    request.keepLayerShaders = true;
    run(Shader, Remove);
    EXPECT_EQ(rows(), (Strings{"0 M ch3 layered", "1 M ch6 layered"}));
    EXPECT_EQ(undoSteps(), (Strings{"plain", "refl", "x"}));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].style, HOST_MESSAGE_BOX_NOTICE);
    EXPECT_EQ(boxes()[0].text,
              "Please note that not all shaders were deleted.\nIt is possible that these are within a Layer "
              "shader.\nIf so, these will be listed in the shader list.");
    expectUndoRedo(before);
    ASSERT_TRUE(scene().undo(*document));

    request.keepLayerShaders = false;
    run(Shader, Remove);
    EXPECT_EQ(undoSteps(), (Strings{"plain", "refl", "reflDeep", "deep", "x"}));
    EXPECT_EQ(rows(), Strings{"0 Shader plugin 1234 not found."});
    EXPECT_EQ(boxes().size(), 1u);
    expectUndoRedo(before);
}

TEST_F(SearchTest, IdentifyTakesTheRegistryNameOrTheLastInstanceMet) {
    HostElement* a = scene().addObject(*document, nullptr, "First", 5159);
    scene().addTag(*a, "tagA", kPlugin);
    HostElement* b = scene().addObject(*document, nullptr, "Second", 5159);
    scene().addTag(*b, "tagB", kPlugin);
    scene().addRenderSettings(*document, "Main", true);

    dialog->foundType.reset();
    run(Tag, Identify);
    EXPECT_EQ(dialog->foundType, Tag);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Plugin 1234 is a Tag plugin with the default name tagB.");
    EXPECT_TRUE(rows().empty());

    scene().addPlugin({kPlugin, HOST_PLUGIN_KIND_TAG, "Legacy Tag"});
    run(Tag, Identify);
    EXPECT_EQ(boxes().back().text, "Plugin 1234 is a Tag plugin with the default name Legacy Tag.");

    // Video posts: the first in list order decides; nothing found leaves no message.
    HostElement* settings = scene().addRenderSettings(*document, "Other", true);
    scene().addVideoPost(*settings, "vp1", 77);
    scene().addVideoPost(*settings, "vp2", 77);
    dialog->foundType.reset();
    run(PostEffect, Identify, 77);
    EXPECT_EQ(boxes().back().text, "Plugin 77 is a VideoPost plugin with the default name vp1.");
    const size_t shown = boxes().size();
    dialog->foundType.reset();
    run(Object, Identify, 77);
    EXPECT_EQ(boxes().size(), shown);
    EXPECT_EQ(dialog->foundType, std::nullopt);
}

TEST_F(SearchTest, AnsweringNoOrAnUnusableIdChangesNothing) {
    HostElement* a = scene().addObject(*document, nullptr, "A", kPlugin);
    run(Object, GenerateList);
    const Strings listed = rows();
    const Strings before = describe();
    const size_t noticesBefore = notices();

    request.warnBeforeDeleting = true;
    bound.host.ui.messageBoxes.questionAnswers.push_back(HOST_ANSWER_NO);
    run(Object, Remove);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Are you sure you want to delete the plugin instances?");
    EXPECT_EQ(boxes()[0].style, HOST_MESSAGE_BOX_QUESTION);

    for (double id : {2147483648.0, std::nan("")}) run(Object, Remove, id);
    request.action = Remove;
    EXPECT_TRUE(runSearch(nullptr, request, dialog->results).cancelled);

    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_EQ(rows(), listed);
    EXPECT_EQ(describe(), before);
    EXPECT_EQ(notices(), noticesBefore);
    EXPECT_EQ(document->undo.done.size(), 0u);
    EXPECT_EQ(a->name, "A");
}

// The question belongs to a run that can start: a plug-in type the search
// does not know must not have the user confirm a removal that never comes.
TEST_F(SearchTest, ARemovalThatCannotStartAsksNothing) {
    scene().addObject(*document, nullptr, "A", kPlugin);
    const Strings before = describe();
    request.warnBeforeDeleting = true;
    for (const PluginType type : {PluginType(5), PluginType(-1)}) run(type, Remove);
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(describe(), before);
    EXPECT_EQ(document->undo.done.size(), 0u);
}

TEST_F(SearchTest, VideoPostsOfTheActiveRenderSettingsOnly) {
    HostElement* inactive = scene().addRenderSettings(*document, "Inactive", false);
    scene().addVideoPost(*inactive, "hidden", kPlugin);
    HostElement* active = scene().addRenderSettings(*document, "Active", true);
    scene().addVideoPost(*active, "v1", kPlugin);
    scene().addVideoPost(*active, "v2", kPlugin);
    scene().addVideoPost(*active, "keep", 1);
    scene().addVideoPost(*active, "v3", kPlugin);
    const Strings before = describe();

    run(PostEffect, GenerateList);
    EXPECT_EQ(rows(), (Strings{"0 v1", "1 v2", "2 v3"}));
    run(PostEffect, Remove, kPlugin, 2);  // scope is not read
    EXPECT_EQ(undoSteps(), (Strings{"v1", "v2", "v3"}));
    EXPECT_EQ(rows(), Strings{"0 VP plugin 1234 not found."});
    expectUndoRedo(before);

    run(PostEffect, GenerateList, -7);
    EXPECT_EQ(rows(), Strings{"0 VP plugin -7 not found."});
}

TEST_F(SearchTest, RecordsDefineEveryFieldAndAFailedAppendKeepsTheNumbering) {
    HostElement* object = scene().addObject(*document, nullptr, "Cube", 5159);
    HostElement* tag = scene().addTag(*object, "Legacy", kPlugin);

    EXPECT_FALSE(addResult(dialog->results, object, nullptr, PluginType(5), 0, false));
    EXPECT_FALSE(addResult(dialog->results, object, nullptr, PluginType(-1), 0, false));
    EXPECT_EQ(dialog->results.rowCounter, 0);

    bound.host.services.failAllocation(1);
    EXPECT_FALSE(addResult(dialog->results, object, tag, Tag, 0, false));
    EXPECT_EQ(dialog->results.rowCounter, 0);
    EXPECT_TRUE(dialog->results.records.empty());

    ASSERT_TRUE(addResult(dialog->results, object, tag, Tag, 5, true));
    ASSERT_TRUE(addResult(dialog->results, object, nullptr, Object, 5, true));
    const ResultRecord& tagRow = dialog->results.records[0];
    EXPECT_EQ(tagRow.tagName.view(), "Legacy");
    EXPECT_EQ(tagRow.object, object);
    EXPECT_EQ(tagRow.material, nullptr);
    EXPECT_EQ(tagRow.channel, -1);
    EXPECT_FALSE(tagRow.inLayerShader);
    const ResultRecord& objectRow = dialog->results.records[1];
    EXPECT_EQ(objectRow.rowNumber, 1);
    EXPECT_TRUE(objectRow.tagName.empty());
    EXPECT_EQ(objectRow.channel, -1);
    EXPECT_EQ(dialog->results.rowCounter, 2);

    const int32_t capacity = dialog->results.records.capacity();
    clearResults(dialog->results);
    EXPECT_EQ(dialog->results.records.capacity(), capacity);
    EXPECT_EQ(dialog->results.rowCounter, 2);
}
