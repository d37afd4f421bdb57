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
    struct Case {
        PluginType type;
        int32_t scope;
        Action action;
        std::vector<bool> skip;
    };
    const Case cases[] = {
        {Object, 1, GenerateList, {false, true, false}},  // Q lies in P's walk
        {Object, 2, GenerateList, {false, false, false}}, {Object, 2, Remove, {false, true, false}},  // Q goes with P
        {Tag, 2, Remove, {false, false, false}},  // removing tags takes no object along
        {Tag, 1, Remove, {false, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << entryId(c.type) << " scope " << c.scope << " action " << entryId(c.action));
        Selection selection;
        ASSERT_TRUE(selectStarts(selection, document, c.type, c.scope, kPlugin, c.action));
        ASSERT_EQ(selection.entries.count(), 3);
        EXPECT_EQ(skipped(selection), c.skip);
    }

    // Materials are never skipped; a host that cannot make the list says so.
    HostElement* material = scene().addMaterial(*document, "M", 5703);
    material->selected = true;
    Selection materials;
    ASSERT_TRUE(selectStarts(materials, document, Shader, 2, kPlugin, Remove));
    EXPECT_EQ(skipped(materials), std::vector<bool>{false});
    bound.host.services.failObjectCreation(1);
    Selection none;
    EXPECT_FALSE(selectStarts(none, document, Object, 1, kPlugin, GenerateList));
}
