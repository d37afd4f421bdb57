// The tool window as the host lays it out: every control inside its group and
// the window, none over another, texts inside their controls, stretching
// controls out to their group's edge and the results list taking the height
// left; after opening, after every action and type, with a long list and at
// other window sizes.
#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "dialog_session.h"
#include "picture/dialog_layout.h"
#include "picture/dialog_svg.h"
#include "ui/tree_views.h"

namespace {
using substitute::Box;
using substitute::ControlKind;
using substitute::DialogLayout;
using substitute::PlacedControl;

bool inside(const Box& inner, const Box& outer) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.right() <= outer.right() &&
           inner.bottom() <= outer.bottom();
}

bool overlap(const Box& a, const Box& b) {
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

bool encloses(const DialogLayout& layout, size_t group, size_t member) {
    for (size_t at = layout.controls[member].group; at != substitute::noGroup; at = layout.controls[at].group) {
        if (at == group) return true;
    }
    return false;
}

// The pixels a control's text takes with what the control draws beside it.
int32_t textNeed(const substitute::Control& control, const std::string& text) {
    int32_t need = substitute::textWidth(text);
    switch (control.kind) {
        case ControlKind::ComboBox:
        case ControlKind::NumberField: return need + substitute::metric::arrowWidth;
        case ControlKind::CheckBox: return need + substitute::metric::checkSize;
        default: return need;
    }
}

std::string nameOf(const substitute::Control& control, size_t index) {
    return std::string(substitute::controlKindName(control.kind)) + " " + std::to_string(control.id) + " \"" +
           control.text + "\" (#" + std::to_string(index) + ")";
}

// The area a control's group leaves to its cells (the window's, for the outermost groups).
Box areaAround(const DialogLayout& layout, const PlacedControl& placed) {
    if (placed.group != substitute::noGroup) return layout.controls[placed.group].inner;
    const int32_t margin = substitute::metric::windowMargin;
    const Box& client = layout.client;
    return {client.x + margin, client.y + margin, client.width - 2 * margin, client.height - 2 * margin};
}

int32_t lastColumnOf(const DialogLayout& layout, size_t group) {
    int32_t last = 0;
    for (const PlacedControl& placed : layout.controls) {
        if (placed.group == group) last = std::max(last, placed.column);
    }
    return last;
}

void expectWithinAndApart(const HostDialog& window, const DialogLayout& layout) {
    const Box windowBox{0, 0, layout.width, layout.height};
    for (size_t i = 0; i < window.controls.size(); ++i) {
        const PlacedControl& placed = layout.controls[i];
        SCOPED_TRACE(nameOf(window.controls[i], i));
        EXPECT_GT(placed.frame.width, 0);
        EXPECT_GT(placed.frame.height, 0);
        EXPECT_TRUE(inside(placed.frame, windowBox));
        EXPECT_TRUE(inside(placed.frame, layout.client));
        EXPECT_TRUE(inside(placed.frame, areaAround(layout, placed)));
        for (size_t j = i + 1; j < window.controls.size(); ++j) {
            if (encloses(layout, i, j)) continue;
            EXPECT_FALSE(overlap(placed.frame, layout.controls[j].frame)) << "over " << nameOf(window.controls[j], j);
        }
    }
}

void expectTextsFitAndStretch(const HostDialog& window, const DialogLayout& layout) {
    for (size_t i = 0; i < window.controls.size(); ++i) {
        const substitute::Control& control = window.controls[i];
        const PlacedControl& placed = layout.controls[i];
        SCOPED_TRACE(nameOf(control, i));
        EXPECT_LE(textNeed(control, substitute::shownText(control)), placed.frame.width);
        // Any entry of a combo box may be chosen next.
        for (const substitute::ComboEntry& entry : control.entries) {
            EXPECT_LE(textNeed(control, entry.text), placed.frame.width) << entry.text;
        }
        if (control.kind == ControlKind::StaticText || control.kind == ControlKind::CheckBox) {
            EXPECT_GE(placed.frame.height, substitute::fontHeight);
        }
        if ((control.flags & HOST_LAYOUT_FILL_WIDTH) != HOST_LAYOUT_FILL_WIDTH) continue;
        // Stretching fills the cell, and the last column reaches the group's edge.
        EXPECT_EQ(placed.frame.x, placed.cell.x);
        EXPECT_EQ(placed.frame.right(), placed.cell.right());
        if (placed.column == lastColumnOf(layout, placed.group)) {
            EXPECT_EQ(placed.frame.right(), areaAround(layout, placed).right());
        }
    }
}

// The results list takes every pixel of height the other groups leave.
void expectListTakesTheRest(const HostDialog& window, const DialogLayout& layout) {
    size_t list = 0;
    while (list < window.controls.size() && window.controls[list].id != IDC_TREE_VIEW) ++list;
    ASSERT_LT(list, window.controls.size());
    const PlacedControl& placed = layout.controls[list];
    ASSERT_NE(placed.group, substitute::noGroup);
    const PlacedControl& group = layout.controls[placed.group];
    EXPECT_EQ(placed.frame, group.inner);
    EXPECT_EQ(group.frame.bottom(), layout.client.bottom() - substitute::metric::windowMargin);
    EXPECT_EQ(group.frame.right(), layout.client.right() - substitute::metric::windowMargin);
    for (size_t i = 0; i < window.controls.size(); ++i) {
        if (layout.controls[i].group == substitute::noGroup && i != placed.group) {
            EXPECT_LE(layout.controls[i].frame.bottom(), group.frame.y);
        }
    }
}

void expectSoundLayout(const HostDialog& window, const DialogLayout& layout) {
    ASSERT_EQ(layout.controls.size(), window.controls.size());
    expectWithinAndApart(window, layout);
    expectTextsFitAndStretch(window, layout);
    expectListTakesTheRest(window, layout);
}

class DialogLayoutTest : public DialogSession {
protected:
    DialogLayout layout(substitute::WindowSize size = {}) { return substitute::layOutDialog(window(), size); }
    const PlacedControl& placed(const DialogLayout& laidOut, int32_t id) {
        const substitute::Control* wanted = substitute::findControl(window(), id);
        return laidOut.controls[size_t(wanted - window().controls.data())];
    }
    const PlacedControl& labelOf(const DialogLayout& laidOut, const std::string& text) {
        for (size_t i = 0; i < window().controls.size(); ++i) {
            if (window().controls[i].text == text) return laidOut.controls[i];
        }
        throw std::runtime_error("no label " + text);
    }
};

TEST_F(DialogLayoutTest, OpenedWindowIsSound) {
    const DialogLayout opened = layout();
    expectSoundLayout(window(), opened);
    EXPECT_EQ(opened.height, substitute::defaultWindowHeight);
    EXPECT_GE(opened.width, substitute::defaultWindowWidth);
    EXPECT_EQ(opened.menuTitles.size(), 2u);  // "List", "Help"
    EXPECT_EQ(opened.menuBar.height, substitute::metric::menuBarHeight);

    // Each label stands left of its control, on the same row.
    const std::pair<const char*, int32_t> pairs[] = {{"Action to Take", IDC_ACTION},
                                                     {"Plugin Type", IDC_PLUGIN_TYPE},
                                                     {"Scope of Process", IDC_SCOPE},
                                                     {"Plugin ID", IDC_PLUGIN_ID}};
    for (const auto& [label, id] : pairs) {
        SCOPED_TRACE(label);
        EXPECT_LE(labelOf(opened, label).frame.right(), placed(opened, id).frame.x);
        EXPECT_EQ(labelOf(opened, label).row, placed(opened, id).row);
    }
    // The check boxes share a row, the two that say what a removal keeps
    // stacked beside the first; the buttons sit side by side under the options.
    const PlacedControl& keeping = opened.controls[placed(opened, IDC_KEEP_LAYER_SHADERS).group];
    EXPECT_EQ(placed(opened, IDC_KEEP_CHILDREN).group, placed(opened, IDC_KEEP_LAYER_SHADERS).group);
    EXPECT_EQ(placed(opened, IDC_WARN_BEFORE_DELETING).row, keeping.row);
    EXPECT_LE(placed(opened, IDC_WARN_BEFORE_DELETING).frame.right(), keeping.frame.x);
    EXPECT_LT(placed(opened, IDC_KEEP_LAYER_SHADERS).frame.bottom(), placed(opened, IDC_KEEP_CHILDREN).frame.y + 1);
    EXPECT_EQ(placed(opened, IDC_PROCESS).frame.y, placed(opened, IDC_CANCEL).frame.y);
    EXPECT_LT(placed(opened, IDC_PROCESS).frame.right(), placed(opened, IDC_CANCEL).frame.x);
    EXPECT_GT(placed(opened, IDC_PROCESS).frame.y, placed(opened, IDC_PLUGIN_ID).frame.bottom());
    // The minimum sizes the module asked for hold: 500 for the number field, 100 high for the list.
    EXPECT_GE(placed(opened, IDC_PLUGIN_ID).frame.width, 500);
    EXPECT_GE(placed(opened, IDC_TREE_VIEW).frame.height, 100);
    EXPECT_EQ(placed(opened, IDC_PROCESS).frame.width, 100);
}

TEST_F(DialogLayoutTest, EveryActionAndTypeLeavesTheWindowSound) {
    for (Action action : {Action::Identify, Action::GenerateList, Action::Remove}) {
        choose(IDC_ACTION, entryId(action));
        for (PluginType type : {PluginType::Tag, PluginType::Shader, PluginType::Object, PluginType::PostEffect}) {
            SCOPED_TRACE("action " + std::to_string(entryId(action)) + ", type " + std::to_string(entryId(type)));
            if (action != Action::Identify) choose(IDC_PLUGIN_TYPE, entryId(type));
            expectSoundLayout(window(), layout());
        }
    }
}

TEST_F(DialogLayoutTest, OtherWindowSizes) {
    // Larger: the stretching columns and the list take the room.
    const DialogLayout large = layout({1200, 900});
    EXPECT_EQ(large.width, 1200);
    EXPECT_EQ(large.height, 900);
    expectSoundLayout(window(), large);
    EXPECT_GT(placed(large, IDC_TREE_VIEW).frame.height, placed(layout(), IDC_TREE_VIEW).frame.height + 250);

    // Smaller than the contents: the window grows to hold them.
    const DialogLayout small = layout({100, 100});
    expectSoundLayout(window(), small);
    EXPECT_GE(placed(small, IDC_TREE_VIEW).frame.height, 100);
    EXPECT_EQ(small.width, layout().width);
}

TEST_F(DialogLayoutTest, ThousandRowsStayInTheList) {
    for (int i = 0; i < 1000; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Object %04d", i);
        HostElement* object = host.scene.addObject(*document, nullptr, name, 5100);
        host.scene.addTag(*object, "Legacy", 1234);
    }
    listInstances(Tag, 1234);
    ASSERT_EQ(rows().size(), 1000u);
    const DialogLayout laidOut = layout();
    expectSoundLayout(window(), laidOut);

    // The picture shows the rows that fit and cuts off the rest.
    const std::string picture = substitute::snapshotDialog(window());
    const Box list = placed(laidOut, IDC_TREE_VIEW).frame;
    const int32_t fitting = (list.height - 2 - substitute::fontHeight) / substitute::fontHeight;
    EXPECT_NE(picture.find(">Object 0000<"), std::string::npos);
    char text[24];
    std::snprintf(text, sizeof text, ">Object %04d<", fitting - 1);
    EXPECT_NE(picture.find(text), std::string::npos) << text;
    std::snprintf(text, sizeof text, ">Object %04d<", fitting + 1);
    EXPECT_EQ(picture.find(text), std::string::npos) << text;
    EXPECT_EQ(picture.find(">Object 0999<"), std::string::npos);
    EXPECT_LT(picture.size(), 100000u);
}

}  // namespace
