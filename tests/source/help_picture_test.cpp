// The help file shows the window: the example picture, drawn as text and
// shapes, so its texts read out of the PDF with the rest of the help.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

TEST(HelpFile, ShowsThePictureOfTheWindow) {
#if !defined(CLEARTRACE_PDFTOTEXT) || !defined(CLEARTRACE_HELP_HAS_PICTURE)
    GTEST_SKIP() << "this build makes no picture for the help file (it needs rsvg-convert from librsvg2-bin) or "
                    "cannot read the help's text (pdftotext from poppler-utils)";
#else
    const std::filesystem::path help = std::filesystem::path(CLEARTRACE_MODULE_FILE).parent_path() / "Cleartrace.pdf";
    const std::string command = std::string(CLEARTRACE_PDFTOTEXT) + " -q '" + help.string() + "' -";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string text;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    ASSERT_EQ(pclose(pipe), 0) << command;
    // Only the picture holds the example scene's rows; the caption names what it shows.
    EXPECT_NE(text.find("Glow Emitter.2"), std::string::npos);
    EXPECT_NE(text.find("The window after Generate List for tags"), std::string::npos);
#endif
}

}  // namespace
