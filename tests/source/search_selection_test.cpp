// Which selected entries a scoped walk starts from: entries covered by
// another selected entry's walk, or taken along by its removal, are skipped.
#include "search_selection.h"
#include "search_fixture.h"

namespace {

std::vector<bool> skipped(const Selection& selection) {
    return std::vector<bool>(selection.skip.begin(), selection.skip.end());
}

}  // namespace

TEST_F(SearchTest, SelectionSkipsWhatAnotherEntryCovers) {
    // P > Q > R, with P, Q and S selected (in hierarchy order); P and Q are instances.
    HostElement* p = scene().addObject(*document, nullptr, "P", kPlugin);
    HostElement* q = scene().addObject(*document, p, "Q", kPlugin);
    scene().addObject(*document, q, "R", 5159);
    HostElement* s = scene().addObject(*document, nullptr, "S", 5159);
    for (HostElement* e : {p, q, s}) e->selected = true;
    request.pluginId = kPlugin;
    struct Case {
        PluginType type;
        int32_t scope;
        Action action;
        std::vector<bool> skip;
        bool keepChildren = false;
    };
    const Case cases[] = {
        {Object, 1, GenerateList, {false, true, false}},  // Q lies in P's walk
        {Object, 2, GenerateList, {false, false, false}}, {Object, 2, Remove, {false, true, false}},  // Q goes with P
        {Object, 2, Remove, {false, false, false}, true},  // Q is removed on its own, its children kept
        {Tag, 2, Remove, {false, false, false}},           // removing tags takes no object along
        {Tag, 1, Remove, {false, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << entryId(c.type) << " scope " << c.scope << " action " << entryId(c.action)
                                        << " keep " << c.keepChildren);
        Selection selection;
        request.action = c.action;
        request.keepChildren = c.keepChildren;
        ASSERT_TRUE(selectStarts(selection, document, c.type, c.scope, request));
        ASSERT_EQ(selection.entries.count(), 3);
        EXPECT_EQ(skipped(selection), c.skip);
    }

    // Materials are never skipped; a host that cannot make the list says so.
    HostElement* material = scene().addMaterial(*document, "M", 5703);
    material->selected = true;
    Selection materials;
    request.action = Remove;
    ASSERT_TRUE(selectStarts(materials, document, Shader, 2, request));
    EXPECT_EQ(skipped(materials), std::vector<bool>{false});
    bound.host.services.failObjectCreation(1);
    Selection none;
    EXPECT_FALSE(selectStarts(none, document, Object, 1, request));
}
