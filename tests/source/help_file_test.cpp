// The help file shipped beside the module: a real PDF whose text covers the
// actions, types, scopes and options, and quotes every message exactly.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "expected_notices.h"

namespace {
namespace fs = std::filesystem;

const fs::path helpFile = fs::path(CLEARTRACE_MODULE_FILE).parent_path() / "Cleartrace.pdf";

#ifdef CLEARTRACE_PDFTOTEXT
// Line breaks and runs of spaces fall where the page needs them.
std::string withSingleSpaces(const std::string& text) {
    std::string out;
    for (char c : text) {
        const bool space = c == ' ' || c == '\n' || c == '\t' || c == '\f';
        if (!space) {
            out += c;
        } else if (!out.empty() && out.back() != ' ') {
            out += ' ';
        }
    }
    return out;
}

// The help's text as pdftotext reads it.
std::string helpText() {
    const std::string command = std::string(CLEARTRACE_PDFTOTEXT) + " -q '" + helpFile.string() + "' -";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {};
    std::string text;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    return pclose(pipe) == 0 ? text : std::string();
}
#endif

TEST(HelpFile, LiesBesideTheModuleAsAPdf) {
    std::ifstream in(helpFile, std::ios::binary);
    ASSERT_TRUE(in) << helpFile.generic_string() << " is missing (groff builds it)";
    std::string head(5, '\0');
    in.read(head.data(), 5);
    EXPECT_EQ(head, "%PDF-");
}

TEST(HelpFile, CoversTheToolAndQuotesItsMessages) {
#ifndef CLEARTRACE_PDFTOTEXT
    GTEST_SKIP() << "pdftotext is not available to this build (install poppler-utils; Windows builds "
                    "leave this check to the build machine)";
#else
    const std::string text = withSingleSpaces(helpText());
    ASSERT_FALSE(text.empty()) << "pdftotext could not read " << helpFile.generic_string();

    const char* required[] = {
        // actions, types, scopes, options, undo
        "Identify Plugin",
        "Generate List",
        "Remove Plugin",
        "Post Effect",
        "All Objects with Tags",
        "Tags on Selected Objects and Children",
        "Tags on Selected Objects Only",
        "All Materials",
        "Selected Materials Only",
        "All Objects",
        "Selected Objects and Children",
        "Selected Objects Only",
        "All Videposts",
        "All Render Settings",
        "Warn Before Deleting",
        "Do Not Remove Shaders in a Layer Shader",
        "Keep Children of Removed Objects",
        "Keeping the children of removed objects",
        "Plugin ID",
        "Show Help File (.PDF)...",
        "Undoing a removal",
        // finding missing plug-ins: the section, its actions, the list's columns
        "Finding missing plug-ins",
        "Find Missing Plugins",
        "Remove Missing Plugins",
        "The columns, from left to right, are Plugin ID, Type, Instances and Name",
        // a folder's missing plug-ins, and the list saved
        "Find Missing Plugins in Folder",
        "Choose a folder of scene files",
        "The list has the columns Scene File, Plugin ID, Type, Instances and Name",
        "Could not open this file.",
        "Could not list this folder.",
        "No scene files found.",
        "Cleartrace: shots/sh010/sh010_layout.json (4 of 6)",
        "Cleartrace stopped after 4 of 6 scene files.",
        "Cleartrace could not open shots/sh010/sh010_layout.json.",
        // a folder cleaned into copies
        "Remove Missing Plugins in Folder",
        "Choose a folder for the cleaned copies",
        "Cleartrace writes the cleaned copies outside the folder it searches. Choose another folder.",
        "Write a copy without missing plug-ins of every scene file below /projects/studio into /projects/cleaned?",
        "The list has the columns Scene File, Plugin ID, Type, Instances, Name and Cleaned Copy",
        "Nothing to remove.",
        "Not written: a file is already there.",
        "Could not write this file.",
        "The cleaned copy did not verify.",
        "Saving the list",
        "Save List as CSV...",
        "Cleartrace could not save the list to /projects/reports/Cleartrace.csv.",
        // messages, exactly as shown
        kit::loadedLine,
        kit::failedLine,
        "Are you sure you want to delete the plugin instances?",
        "Are you sure you want to delete every instance of the missing plugins?",
        kit::noMissingPlugins,
        "is a Tag plugin with the default name",
        "is a Shader plugin with the default name",
        "is an Object plugin with the default name",
        "is a VideoPost plugin with the default name",
        "is a Material plugin with the default name",
        "Plugin 1234 was not found in the scene file, but is reported by C4D as a plugin of type 'Tag' with the "
        "name 'Legacy Tag' (but see the manual for caveats in this context).",
        "Plugin 1234 could not be identifed. Try searching the internet for the plugin ID value or name.",
        "Tag plugin 1234 not found.",
        "VP plugin",
        "Please note that not all shaders were deleted. It is possible that these are within a Layer shader. If "
        "so, these will be listed in the shader list.",
        "Plugin ID must be between -2147483648 and 2147483647.",
        kit::resourceFailedLine,
        kit::nothingRemoved,
        kit::listIncomplete,
        kit::searchIncomplete,
        "removes the objects below it too",
    };
    for (const char* wanted : required) EXPECT_NE(text.find(wanted), std::string::npos) << wanted;
#endif
}

// The window's pictures are drawn as text and shapes, so their texts read out of the PDF with the rest.
TEST(HelpFile, ShowsThePictureOfTheWindow) {
#if !defined(CLEARTRACE_PDFTOTEXT) || !defined(CLEARTRACE_HELP_HAS_PICTURE)
    GTEST_SKIP() << "this build makes no picture for the help file (it needs rsvg-convert from librsvg2-bin) or "
                    "cannot read the help's text (pdftotext from poppler-utils)";
#else
    const std::string text = helpText();
    // Only the picture holds the example scene's rows; the caption names what it shows.
    EXPECT_NE(text.find("Glow Emitter.2"), std::string::npos);
    EXPECT_NE(text.find("The window after Generate List for tags"), std::string::npos);
    // Only the picture after Find Missing Plugins holds the example scene's missing post effect and material.
    EXPECT_NE(text.find("Sharpen"), std::string::npos);
    EXPECT_NE(text.find("Render Engine Material"), std::string::npos);
    EXPECT_NE(text.find("Glow Emitter.1"), std::string::npos);
    EXPECT_NE(text.find("The window after Find Missing Plugins"), std::string::npos);
    // Only the picture after Find Missing Plugins in Folder holds the example project's files.
    EXPECT_NE(text.find("sh020_animation.json"), std::string::npos);
    EXPECT_NE(text.find("Toon Outline"), std::string::npos);
    EXPECT_NE(text.find("The window after Find Missing Plugins in Folder"), std::string::npos);
#endif
}

}  // namespace
