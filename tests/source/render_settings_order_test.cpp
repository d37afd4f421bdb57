// The post effects of the first scope are the video posts of the active
// render settings alone: the render settings before it and after it in the
// document's list are not the user's render, and a walk that reaches them
// lists or removes what the user did not ask for. Identify alone looks at
// them, and only when the active render settings hold no instance, so that
// an id the scene holds is never called absent.
#include <cctype>

#include "dialog_session.h"
#include "render_settings_scene.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;
using Texts = std::vector<std::string>;

constexpr int32_t kPlugin = 1234;
const Rows notFound = {{"VP plugin 1234 not found."}};
constexpr const char* identifiedPost0 = "Plugin 1234 is a VideoPost plugin with the default name Post 0.";
constexpr const char* identifiedPost1 = "Plugin 1234 is a VideoPost plugin with the default name Post 1.";

struct Order {
    const char* settings;  // as kit::renderSettingsScene reads it
    Rows listed;           // the list of post effects
    const char* identified;
    Texts left;  // the video posts after a removal, in document order
};

// Instances before the active render settings, after it, on both sides, with
// the active one holding an instance or not, and with none active.
const Order orders[] = {
    {"AI", {{"Post 0"}}, identifiedPost0, {"Post 1"}},
    {"IA", {{"Post 1"}}, identifiedPost1, {"Post 0"}},
    {"IAI", {{"Post 1"}}, identifiedPost1, {"Post 0", "Post 2"}},
    {"aI", notFound, identifiedPost1, {"Post 0", "Post 1"}},
    {"Ia", notFound, identifiedPost0, {"Post 0", "Post 1"}},
    {"IaI", notFound, identifiedPost0, {"Post 0", "Post 1", "Post 2"}},
    {"II", notFound, identifiedPost0, {"Post 0", "Post 1"}},
};

class RenderSettingsOrderTest : public DialogSession {
protected:
    // Every video post of the document, render settings by render settings.
    Texts videoPosts() const {
        Texts names;
        for (const HostElement* settings = document->renderSettings.first; settings; settings = settings->next) {
            const substitute::ElementList& posts = substitute::asRenderSettings(*settings).videoPosts;
            for (const HostElement* post = posts.first; post; post = post->next) names.push_back(post->name);
        }
        return names;
    }
};

}  // namespace

TEST_F(RenderSettingsOrderTest, ListIdentifyAndRemoveStayInTheActiveRenderSettings) {
    for (const Order& order : orders) {
        SCOPED_TRACE(order.settings);
        load(kit::renderSettingsScene(order.settings, kPlugin));

        listInstances(PostEffect, kPlugin);
        EXPECT_EQ(rows(), order.listed);

        host.ui.messageBoxes.shown.clear();
        choose(IDC_ACTION, Identify);
        press(IDC_PROCESS);
        EXPECT_EQ(boxTexts(), Texts{order.identified});

        choose(IDC_ACTION, Remove);
        check(IDC_WARN_BEFORE_DELETING, false);
        choose(IDC_PLUGIN_TYPE, PostEffect);
        press(IDC_PROCESS);
        EXPECT_EQ(videoPosts(), order.left);
    }
}

// The scope "All Render Settings" lists and removes the instances of every
// render settings, active or not, in document order, and names the render
// settings of each.
TEST_F(RenderSettingsOrderTest, EveryRenderSettingsScopeReachesThemAll) {
    for (const Order& order : orders) {
        const std::string settings = order.settings;
        SCOPED_TRACE(settings);
        load(kit::renderSettingsScene(settings, kPlugin));
        const std::string before = saved();
        Rows listed;
        Texts left;
        for (size_t i = 0; i < settings.size(); ++i) {
            const std::string post = "Post " + std::to_string(i);
            if (std::isupper(static_cast<unsigned char>(settings[i])) != 0) {
                listed.push_back({post, "Settings " + std::to_string(i)});
            } else {
                left.push_back(post);
            }
        }

        listInstances(PostEffect, kPlugin);
        choose(IDC_SCOPE, 3);
        press(IDC_PROCESS);
        EXPECT_EQ(headers(), (Texts{"Post Effect", "Render Settings"}));
        EXPECT_EQ(rows(), listed);
        // Double-click selects nothing for a post effect.
        ASSERT_EQ(substitute::doubleClick(window(), IDC_TREE_VIEW, 0, COLUMN_NAME), "");
        EXPECT_EQ(saved(), before);

        choose(IDC_ACTION, Remove);
        check(IDC_WARN_BEFORE_DELETING, false);
        press(IDC_PROCESS);
        EXPECT_EQ(videoPosts(), left);
        EXPECT_EQ(rows(), (Rows{{"VP plugin 1234 not found.", ""}}));
        ASSERT_TRUE(host.scene.undo(*document));
        EXPECT_EQ(saved(), before);

        // Back to the active render settings: one column again.
        choose(IDC_SCOPE, 0);
        EXPECT_EQ(headers(), Texts{"Post Effect"});
    }
}
