// The dialog object as built, and the names of the host's plug-in kinds.
#include <gtest/gtest.h>

#include "bound_host.h"
#include "cleartrace_dialog.h"
#include "dialog_codes.h"

TEST(CleartraceDialogObject, StartsWithTheDocumentedOptionsAndAnEmptyStore) {
    BoundHost bound;
    CleartraceDialog dialog;
    EXPECT_EQ(dialog.pluginType, Tag);
    EXPECT_EQ(dialog.scope, 0);
    EXPECT_EQ(dialog.action, GenerateList);
    EXPECT_TRUE(dialog.warnBeforeDeleting);
    EXPECT_FALSE(dialog.keepLayerShaders);
    EXPECT_EQ(dialog.results.rowCounter, 0);
    EXPECT_EQ(dialog.foundType, std::nullopt);
    EXPECT_TRUE(dialog.foundName.empty());
    EXPECT_EQ(dialog.treeView, nullptr);
    EXPECT_TRUE(dialog.results.records.empty());
    EXPECT_EQ(dialog.treeFunctions.listTexts[0].view(), "Color");
    EXPECT_EQ(dialog.treeFunctions.listTexts[14].view(), "Unnamed");
}

TEST(CleartraceDialogObject, NamesEveryHostPluginKindAndUnknownOutsideTheTable) {
    BoundHost bound;
    CleartraceDialog dialog;
    struct Case {
        int32_t type;
        const char* name;
    };
    const Case cases[] = {
        {0, "Any"},           {1, "Shader"},          {8, "VideoPost"}, {21, "Manager Info"},   {22, "Library"},
        {31, "Manager Info"}, {32, "CTrack"},         {33, "Falloff"},  {37, "Field Layer"},    {38, "Description"},
        {39, "Unknown"},      {INT32_MAX, "Unknown"}, {-1, "Unknown"},  {INT32_MIN, "Unknown"},
    };
    for (const Case& c : cases) EXPECT_EQ(dialog.typeNameFor(c.type).view(), c.name) << c.type;
}
