// Every text the window shows is whole or not shown: an empty name is a name,
// but a text the host could not make never reaches a row or a message box.
#include <gtest/gtest.h>

#include "dialog_session.h"
#include "expected_notices.h"

namespace {

using Texts = std::vector<std::string>;
using Rows = std::vector<std::vector<std::string>>;

const char* const unnamed = R"({
  "plugins": [{"id": 1234, "kind": 5, "name": ""}],
  "objects": [{"name": "", "type": 1234, "tags": [{"name": "", "type": 4321}]}],
  "materials": [{"name": "", "type": 5703, "channels": {"0": {"shader": {"name": "", "type": 777}}}}]
})";

}  // namespace

class RefusedTextTest : public DialogSession {
protected:
    void SetUp() override { load(unnamed); }

    // failString: the string request of the Process to refuse (0: none).
    Texts run(Action action, PluginType type, double id, int64_t failString = 0) {
        choose(IDC_ACTION, Remove);
        check(IDC_WARN_BEFORE_DELETING, false);
        choose(IDC_PLUGIN_TYPE, type);
        typeId(id);
        choose(IDC_ACTION, action);
        host.ui.messageBoxes.shown.clear();
        host.services.failStringCreation(failString);
        press(IDC_PROCESS);
        return boxTexts();
    }
};

TEST_F(RefusedTextTest, UnnamedElementsAreListedIdentifiedAndRemovedByTheirEmptyNames) {
    EXPECT_EQ(run(GenerateList, Tag, 4321), Texts{});
    EXPECT_EQ(rows(), (Rows{{"", ""}}));
    EXPECT_EQ(run(GenerateList, Shader, 777), Texts{});
    EXPECT_EQ(rows(), (Rows{{"", "Color", "No"}}));
    EXPECT_EQ(run(Identify, Tag, 1234), Texts{"Plugin 1234 is an Object plugin with the default name ."});
    EXPECT_EQ(run(FindMissing, Tag, 0), Texts{});
    EXPECT_EQ(rows(), (Rows{{"4321", "Tag", "1", ""}, {"777", "Shader", "1", ""}}));
    EXPECT_EQ(run(Remove, Object, 1234), Texts{});
    EXPECT_EQ(rows(), (Rows{{"Object plugin 1234 not found."}}));
    EXPECT_EQ(host.scene.undoCount(*document), 1u);
}

// Each string of an Identify run refused in turn: its report is shown whole,
// or the out-of-memory notice stands in for it, or (that refused too) nothing.
TEST_F(RefusedTextTest, AReportIsShownWholeOrNotAtAll) {
    struct Case {
        double id;
        const char* report;
    };
    const Case cases[] = {
        {1234, "Plugin 1234 is an Object plugin with the default name ."},
        {55, "Plugin 55 could not be identifed. Try searching the internet for the plugin ID value or name."},
    };
    for (const Case& c : cases) {
        for (int64_t k = 1;; ++k) {
            SCOPED_TRACE("id " + std::to_string(int64_t(c.id)) + ", failing string " + std::to_string(k));
            const Texts shown = run(Identify, Tag, c.id, k);
            const bool reached = !host.services.stringCreationFailurePending();
            host.services.failStringCreation(0);
            if (!reached) {
                EXPECT_EQ(shown, Texts{c.report});
                break;
            }
            if (!shown.empty() && shown != Texts{c.report}) {
                EXPECT_EQ(shown, Texts{kit::searchIncomplete});
            }
        }
    }
}

// The list's own texts (headers, channel names, Yes and No) are made before a
// run: one refused stops the run before it lists, and the next run makes it.
TEST_F(RefusedTextTest, AListWhoseFixedTextsCannotBeMadeIsNotShown) {
    dialog->treeFunctions.listTexts[HOST_MATERIAL_CHANNEL_COUNT + 3].release();  // "No"
    EXPECT_EQ(run(GenerateList, Shader, 777, 1), Texts{kit::listIncomplete});
    EXPECT_EQ(rows(), Rows{});
    EXPECT_EQ(run(GenerateList, Shader, 777), Texts{});
    EXPECT_EQ(rows(), (Rows{{"", "Color", "No"}}));
}
