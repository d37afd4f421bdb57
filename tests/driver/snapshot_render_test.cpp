// The snapshot in real renderers: rsvg-convert draws it to PNG and the
// pixels show the window's background, a control's frame and the list's
// header text where the layout put them; headless Chromium opens it without
// error at the layout's size. The build machine's tools do this, so the
// Windows and arm64 builds under wine and qemu skip it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "snapshot_session.h"
#include "ui/tree_views.h"

#ifdef CLEARTRACE_RSVG_CONVERT
#include "png_image.h"
#include "read_file.h"
#endif

namespace {
namespace fs = std::filesystem;
using substitute::Box;

[[maybe_unused]] std::string quotedForShell(const fs::path& path) { return "'" + path.string() + "'"; }

using SnapshotRenderTest = SnapshotSession;

#ifdef CLEARTRACE_RSVG_CONVERT
bool near(const Rgb& pixel, int red, int green, int blue) {
    const int tolerance = 8;
    return std::abs(pixel.red - red) <= tolerance && std::abs(pixel.green - green) <= tolerance &&
           std::abs(pixel.blue - blue) <= tolerance;
}

std::string describe(const Rgb& pixel) {
    return "rgb(" + std::to_string(pixel.red) + "," + std::to_string(pixel.green) + "," + std::to_string(pixel.blue) +
           ")";
}

// Pixels in box much darker than the window: text or lines.
int darkPixels(const PngImage& image, const Box& box) {
    int dark = 0;
    for (int32_t y = box.y; y < box.bottom(); ++y) {
        for (int32_t x = box.x; x < box.right(); ++x) {
            const Rgb pixel = image.at(x, y);
            dark += pixel.red + pixel.green + pixel.blue < 3 * 110;
        }
    }
    return dark;
}
#endif

TEST_F(SnapshotRenderTest, RsvgDrawsTheLayout) {
#ifndef CLEARTRACE_RSVG_CONVERT
    GTEST_SKIP() << "rsvg-convert is not available to this build (install librsvg2-bin; the Windows and arm64 "
                    "builds under wine and qemu leave this check to the build machine)";
#else
    snapshot();
    const std::string command = std::string(CLEARTRACE_RSVG_CONVERT) + " -o " + quotedForShell(folder / "dialog.png") +
                                " " + quotedForShell(folder / "dialog.svg");
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    PngImage image;
    ASSERT_EQ(readPng(kit::readFile(folder / "dialog.png"), image), "");
    const substitute::DialogLayout laidOut = layout();
    ASSERT_EQ(image.width, laidOut.width);
    ASSERT_EQ(image.height, laidOut.height);

    // The window's background right of the buttons, the title bar above.
    const Box cancel = placed(laidOut, IDC_CANCEL).frame;
    const Rgb background = image.at(cancel.right() + 40, cancel.y + cancel.height / 2);
    EXPECT_TRUE(near(background, 0xEC, 0xEC, 0xEC)) << describe(background);
    EXPECT_TRUE(near(image.at(laidOut.width - 4, 4), 0x2F, 0x34, 0x40));

    // A combo box: its frame's left edge, white just inside it.
    const Box action = placed(laidOut, IDC_ACTION).frame;
    const Rgb edge = image.at(action.x, action.y + action.height / 2);
    EXPECT_TRUE(near(edge, 0x8C, 0x8C, 0x8C)) << describe(edge);
    EXPECT_TRUE(near(image.at(action.x + 2, action.y + 2), 0xFF, 0xFF, 0xFF));

    // The list: its header text where the first header cell's text goes, and
    // no text in the header past the last column.
    const Box list = placed(laidOut, IDC_TREE_VIEW).frame;
    const int32_t headerTop = list.y + substitute::metric::listBorder;
    const Box headerText{list.x + 1 + 4, headerTop, substitute::textWidth("Object With Tag"), substitute::fontHeight};
    EXPECT_GT(darkPixels(image, headerText), 40);
    const Box pastColumns{list.right() - 120, headerTop + 1, 100, substitute::fontHeight - 3};
    EXPECT_EQ(darkPixels(image, pastColumns), 0);
    EXPECT_TRUE(near(image.at(pastColumns.x, pastColumns.y + 4), 0xD8, 0xD8, 0xD8));
    // The first row's text under the header, and white below the last row.
    const Box firstRow{headerText.x, headerTop + substitute::fontHeight, substitute::textWidth("Backdrop"),
                       substitute::fontHeight};
    EXPECT_GT(darkPixels(image, firstRow), 20);
    EXPECT_TRUE(near(image.at(list.x + 40, list.bottom() - 10), 0xFF, 0xFF, 0xFF));
#endif
}

TEST_F(SnapshotRenderTest, ChromiumOpensItAtTheLayoutSize) {
#ifndef CLEARTRACE_CHROMIUM
    GTEST_SKIP() << "Chromium is not available to this build (install chromium; the Windows and arm64 builds "
                    "under wine and qemu leave this check to the build machine)";
#else
    snapshot();
    // A page that shows the picture as an image and writes into its title what came of it.
    const fs::path page = folder / "page.html";
    std::ofstream(page) << "<!DOCTYPE html><html><head><title>waiting</title></head><body><img src=\"dialog.svg\" "
                           "onload=\"document.title='loaded '+this.naturalWidth+'x'+this.naturalHeight\" "
                           "onerror=\"document.title='error'\"></body></html>\n";
    const std::string command = std::string(CLEARTRACE_CHROMIUM) +
                                " --headless --no-sandbox --disable-gpu --disable-background-networking"
                                " --disable-component-update --disable-sync --no-first-run --user-data-dir=" +
                                quotedForShell(folder / "profile") + " --virtual-time-budget=5000 --dump-dom " +
                                quotedForShell("file://" + fs::absolute(page).string()) + " > " +
                                quotedForShell(folder / "dom.html") + " 2> " + quotedForShell(folder / "log.txt");
    const int status = std::system(command.c_str());
    const std::string dom = kit::readFile(folder / "dom.html");
    if (status != 0 && dom.empty()) {
        GTEST_SKIP() << "Chromium cannot run here (" << command << "):\n" << kit::readFile(folder / "log.txt");
    }
    const substitute::DialogLayout laidOut = layout();
    const std::string loaded =
        "<title>loaded " + std::to_string(laidOut.width) + "x" + std::to_string(laidOut.height) + "</title>";
    EXPECT_NE(dom.find(loaded), std::string::npos) << dom;
#endif
}

}  // namespace
