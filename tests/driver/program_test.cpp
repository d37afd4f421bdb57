// The program around the sessions: options, where commands come from, how
// errors end a script, saving, start-up failures and the clean quit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "expected_notices.h"
#include "read_file.h"
#include "run_driver.h"
#include "session.h"

namespace {
namespace fs = std::filesystem;

const std::string scene = exampleScene.string();

std::string lastLine(const std::string& text) {
    size_t end = text.size() - (!text.empty() && text.back() == '\n' ? 1 : 0);
    size_t start = text.rfind('\n', end == 0 ? 0 : end - 1);
    return text.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1));
}

TEST(ProgramOptions, RefusesBadCommandLinesWithUsage) {
    struct Case {
        std::vector<std::string> args;
        std::string problem;
    };
    const Case cases[] = {
        {{"--bogus"}, "unknown option --bogus"},
        {{"--answer", "maybe"}, "--answer takes yes or no, not \"maybe\""},
        {{"--script"}, "--script needs a value"},
        {{"--script", "a", "-c", "open"}, "--script and -c exclude each other"},
        {{"a.json", "b.json"}, "more than one scene file (a.json, b.json)"},
        {{"--escape-after", "-1"}, "--escape-after takes a whole number from 0, not \"-1\""},
        {{"--escape-after", "two"}, "--escape-after takes a whole number from 0, not \"two\""},
    };
    for (const Case& c : cases) {
        DriverRun run = runDriver(c.args);
        EXPECT_EQ(run.status, 1) << c.problem;
        EXPECT_EQ(run.output, "");
        EXPECT_EQ(run.errors, "cleartrace-host: " + c.problem + "\n" + driver::usage);
    }
}

// Each bad command stops a -c run at once, naming its place; the scene print
// after it never runs.
// --help names every entry of the "Action to Take" box, in the box's order:
// the K-th word it lists chooses entry K, and there are as many words as entries.
TEST(ProgramOptions, HelpNamesEveryActionInTheBoxsOrder) {
    const DriverRun help = runDriver({"--help"});
    ASSERT_EQ(help.status, 0) << help.errors;
    const std::string lead = "\n  action ";
    const size_t start = help.output.find(lead);
    ASSERT_NE(start, std::string::npos) << help.output;
    std::string choices = help.output.substr(start + lead.size());
    choices.resize(choices.find_first_of(" \n"));
    std::vector<std::string> words;
    std::istringstream split(choices);
    for (std::string word; std::getline(split, word, '|');) words.push_back(word);

    for (size_t index = 0; index < words.size(); ++index) {
        SCOPED_TRACE(words[index]);
        const DriverRun run = runDriver({"-c", "open; action " + words[index] + "; dialog"});
        ASSERT_EQ(run.status, 0) << run.output << run.errors;
        const size_t box = run.output.find("combo box 5008 = ");
        ASSERT_NE(box, std::string::npos) << run.output;
        const std::string line = run.output.substr(box, run.output.find('\n', box) - box);
        EXPECT_EQ(line.rfind("combo box 5008 = " + std::to_string(index) + " \"", 0), 0u) << line;
        size_t entries = 1;
        for (size_t at = line.find('['); (at = line.find("\", ", at)) != std::string::npos; at += 3) ++entries;
        EXPECT_EQ(entries, words.size()) << line;
    }
}

TEST(ScriptErrors, StopAtTheFirstRefusedCommand) {
    struct Case {
        std::string commands;
        std::string error;
    };
    const Case cases[] = {
        {"open; frobnicate", "-c command 2: unknown command \"frobnicate\""},
        {"process", "-c command 1: process: the window has not been opened"},
        {"open; close; process", "-c command 3: process: the window is closed"},
        {"open; scope 1 2", "-c command 2: usage: scope N"},
        {"open; scope one", "-c command 2: scope: \"one\" is not an entry id"},
        {"open; scope 5", "-c command 2: scope: combo box 5007 has no entry 5"},
        {"open; id 12abc", "-c command 2: id: \"12abc\" is not a number"},
        {"open; type light", "-c command 2: type: \"light\" is not one of the choices"},
        {"open; action identify; type shader", "-c command 3: type: combo box 5006 is disabled"},
        {"open; warn on", "-c command 2: warn: check box 5009 \"Warn Before Deleting\" is disabled"},
        {"open; dblclick 0", "-c command 2: dblclick: tree view 10000 has no row 0 (0 rows)"},
        {"select /Studio/Nothing", "-c command 1: select: no object \"/Studio/Nothing\" in the scene"},
        {"select /Camera Cube", "-c command 1: select: \"Cube\" names no object (/Group/Cube) or material (mat:Name)"},
        {"delete mat:Stone", "-c command 1: delete: no material \"Stone\" in the scene"},
        {"undo", "-c command 1: undo: nothing to undo"},
        {"answer maybe", "-c command 1: answer: \"maybe\" is neither yes nor no"},
        // A line with an open quote runs none of its commands.
        {"open; \"unterminated", "-c command 1: unterminated quote"},
    };
    for (const Case& c : cases) {
        DriverRun run = runDriver({"-c", c.commands + "; scene", scene});
        EXPECT_EQ(run.status, 1) << c.commands;
        EXPECT_EQ(lastLine(run.output), "error: " + c.error);
        EXPECT_EQ(run.output.find("scene:"), std::string::npos) << c.commands;
    }
}

TEST(ScriptErrors, NameTheScriptLine) {
    const fs::path script = fs::temp_directory_path() / "cleartrace_driver_errors.session";
    std::ofstream(script, std::ios::binary) << "# a comment\r\nopen\r\n\r\nid 7; bogus\r\n";
    DriverRun run = runDriver({"--script", script.string()});
    fs::remove(script);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(lastLine(run.output), "error: line 4: unknown command \"bogus\"");
}

// Input that is not a terminal (a pipe, a file) is a script: commands are
// echoed, and the first refused one ends the run with exit status 1.
TEST(Interactive, ReadsAPipeAsAScript) {
    DriverRun run = runDriver({scene}, "open\nid 1234567; list\nbogus\nselect /Nope\nprocess\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output.find("cleartrace>"), std::string::npos);
    EXPECT_NE(run.output.find("> open\n"), std::string::npos);
    EXPECT_NE(run.output.find("list: 0 rows"), std::string::npos);
    EXPECT_EQ(lastLine(run.output), "error: line 3: unknown command \"bogus\"");
    EXPECT_EQ(run.output.find("select"), std::string::npos) << "nothing after the refused command runs";

    DriverRun clean = runDriver({scene}, "open\nid 1234567; process; list\n");
    EXPECT_EQ(clean.status, 0);
    EXPECT_NE(clean.output.find("list: 4 rows"), std::string::npos);
}

// At the keyboard a refusal is shown and the session goes on.
TEST(Interactive, AtATerminalGoesOnAfterErrors) {
    DriverRun run = runDriver({scene}, "open\nbogus\nselect /Nope\nid 1234567; process; list\n", true);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output.find("> open"), std::string::npos);  // what the user typed is not echoed
    EXPECT_NE(run.output.find("error: line 2: unknown command \"bogus\""), std::string::npos);
    EXPECT_NE(run.output.find("error: line 3: select: no object \"/Nope\" in the scene"), std::string::npos);
    EXPECT_NE(run.output.find("list: 4 rows"), std::string::npos);
}

TEST(Interactive, PromptsAtATerminal) {
    DriverRun run = runDriver({}, "open\n", true);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "console: Tessaly Software: Cleartrace successfully loaded.\ncleartrace> cleartrace> ");
}

TEST(Save, WritesTheSceneAfterTheSessionButNotAfterAFailedScript) {
    const fs::path saved = fs::temp_directory_path() / "cleartrace_driver_saved.json";
    fs::remove(saved);
    DriverRun removal = runDriver({"--save", saved.string(), "-c", "open; id 1234567; action remove; process", scene});
    ASSERT_EQ(removal.status, 0) << removal.output;

    DriverRun check = runDriver({"-c", "open; id 1234567; process; list", saved.string()});
    EXPECT_EQ(check.status, 0);
    EXPECT_NE(check.output.find("Tag plugin 1234567 not found."), std::string::npos) << check.output;

    fs::remove(saved);
    DriverRun failed = runDriver({"--save", saved.string(), "-c", "open; action remove; process; bogus", scene});
    EXPECT_EQ(failed.status, 1);
    EXPECT_FALSE(fs::exists(saved));
}

TEST(StartUp, ABadSceneFileEndsTheRunAfterTheModuleStarted) {
    const fs::path bad = fs::temp_directory_path() / "cleartrace_driver_bad.json";
    std::ofstream(bad, std::ios::binary) << R"({"objects": [{"name": "Cube"}]})";
    DriverRun run = runDriver({"-c", "open", bad.string()});
    fs::remove(bad);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output,
              "console: Tessaly Software: Cleartrace successfully loaded.\n"
              "error: cannot load the scene: " +
                  bad.string() + ": objects[0]: missing \"type\"\n");
}

TEST(StartUp, AFileThatIsNoModuleIsRefused) {
    DriverRun run = runDriver({"--module", scene, "-c", "open"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output.rfind("error: cannot load the module: cannot load " + scene, 0), 0u) << run.output;
}

TEST(Json, EveryEventIsOneObjectPerLine) {
    DriverRun run = runDriver({"--json", "-c", "open; id 1234567; action remove; process; about; bogus", scene});
    EXPECT_EQ(run.status, 1);
    std::istringstream lines(run.output);
    std::vector<std::string> events;
    for (std::string line; std::getline(lines, line);) {
        ASSERT_EQ(line.front(), '{');
        ASSERT_EQ(line.back(), '}');
        events.push_back(line.substr(0, line.find(',')));
    }
    std::vector<std::string> expected = {"{\"event\":\"console\"", "{\"event\":\"question\"", "{\"event\":\"notice\"",
                                         "{\"event\":\"error\""};
    EXPECT_EQ(events, expected);
}

// The built program itself, reading a real pipe.
// The example session of the README and scripts/run-example.sh goes through
// and finds the missing plug-ins before it lists one of them: the render
// engine's material, its video post in render settings that are not active,
// a generator object and the shader a light owns among them. Its removal of every missing plug-in
// leaves none, and leaves the generator's cube in a Null that takes its place.
TEST(Program, RunsTheExampleSession) {
    const fs::path script = fs::path(CLEARTRACE_SOURCE_DIR) / "example_scenes" / "legacy_cleanup.session";
    const DriverRun run = runDriver({"--script", script.string(), scene});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.errors, "");
    const size_t missing = run.output.find("  Plugin ID\tType\tInstances\tName\n  1234567\tTag\t4\tLegacy Glow\n");
    const size_t tags = run.output.find("  Object With Tag\tTag Name\n  Backdrop\tLegacy Glow\n");
    ASSERT_NE(missing, std::string::npos) << run.output;
    ASSERT_NE(tags, std::string::npos) << run.output;
    EXPECT_LT(missing, tags);
    for (const char* row :
         {"  1099300\tShader\t1\tGobo\n", "  1099200\tObject\t1\tForest Generator\n",
          "  1099102\tPost Effect\t1\tRender Engine\n", "  1099100\tMaterial\t1\tRender Engine Material\n",
          "  Post Effect\tRender Settings\n  Render Engine\tClient\n"}) {
        const size_t at = run.output.find(row);
        EXPECT_NE(at, std::string::npos) << row << run.output;
        EXPECT_LT(missing, at) << row;
    }
    // Remove Missing Plugins lists what stays, and a fresh search then finds the same.
    const std::string nothingMissing =
        "> list\nlist: 1 row\n  Plugin ID\tType\tInstances\tName\n  " + std::string(kit::noMissingPlugins) + "\t\t\t\n";
    const size_t removed = run.output.find("answer: yes\n" + nothingMissing);
    ASSERT_NE(removed, std::string::npos) << run.output;
    // The scene is shown before and after it: the generator object, then a
    // Null in its place with its tag and its cube; the Glow Emitters, which
    // hold nothing that stays, are gone whole.
    const std::string kept = "      #Texture [5616]\n      Tree [5159]\n        #Phong [5612]\n";
    const size_t generator = run.output.find("    Camera [5103]\n    Forest Generator [1099200]\n" + kept +
                                             "    Glow Emitter.2 [1234567]\n");
    EXPECT_LT(generator, removed) << run.output;
    const std::string after = run.output.substr(removed);
    EXPECT_NE(after.find("> scene\nscene:\n  objects:\n"), std::string::npos) << after;
    EXPECT_NE(after.find("    Camera [5103]\n    Forest Generator [5140]\n" + kept + "    Sphere [5160]\n"),
              std::string::npos)
        << after;
    EXPECT_EQ(after.find("Glow Emitter"), std::string::npos) << after;
    EXPECT_TRUE(run.output.ends_with("> action find-missing\n> process\n" + nothingMissing + "> close\n"))
        << run.output;
}

// Remove Missing Plugins on the example scene, saved. With "Keep Children of
// Removed Objects" on, the generator object whose plug-in is gone becomes a
// Null in its place, with its name, its tag and its cube, as the committed
// file shows (UPDATE_GOLDEN=1 writes it anew); the Glow Emitters, which hold
// only what goes, go whole. With the box off the generator goes with its
// subtree and nothing else differs. One Undo gives back the scene as loaded,
// Redo the scene after the removal.
TEST(ExampleScene, RemoveMissingPluginsKeepsTheChildrenOfARemovedObject) {
    const fs::path folder = fs::temp_directory_path() / "cleartrace_example_removal";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const auto saved = [&](const std::string& name, const std::string& commands) {
        const fs::path file = folder / (name + ".json");
        const DriverRun run = runDriver({"--save", file.string(), "-c", commands, scene});
        EXPECT_EQ(run.status, 0) << commands << "\n" << run.output << run.errors;
        return kit::readFile(file);
    };
    const std::string removal = "open; action remove-missing; warn off; ";
    const std::string loaded = saved("loaded", "open");
    const std::string kept = saved("kept", removal + "children on; process");
    const std::string removed = saved("removed", removal + "children off; process");
    const std::string undone = saved("undone", removal + "children on; process; undo");
    const std::string redone = saved("redone", removal + "children on; process; undo; redo");
    fs::remove_all(folder);

    const fs::path committed = fs::path(CLEARTRACE_SOURCE_DIR) / "example_scenes" / "legacy_plugins.cleaned.json";
    if (std::getenv("UPDATE_GOLDEN") != nullptr) std::ofstream(committed, std::ios::binary) << kept;
    EXPECT_EQ(kept, kit::readFile(committed)) << "UPDATE_GOLDEN=1 rewrites " << committed.generic_string();

    const std::string camera = "    {\"name\": \"Camera\", \"type\": 5103},\n";
    const std::string null =
        "    {\"name\": \"Forest Generator\", \"type\": 5140, \"tags\": [\n"
        "      {\"name\": \"Texture\", \"type\": 5616}\n"
        "    ], \"children\": [\n"
        "      {\"name\": \"Tree\", \"type\": 5159, \"tags\": [\n"
        "        {\"name\": \"Phong\", \"type\": 5612}\n"
        "      ]}\n"
        "    ]},\n";
    const std::string sphere = "    {\"name\": \"Sphere\", \"type\": 5160, \"selected\": true}\n";
    ASSERT_NE(loaded.find(camera + "    {\"name\": \"Forest Generator\", \"type\": 1099200, \"tags\": [\n"),
              std::string::npos)
        << loaded;
    const size_t at = kept.find(camera + null + sphere);
    ASSERT_NE(at, std::string::npos) << kept;
    EXPECT_EQ(kept.find("Glow Emitter"), std::string::npos) << kept;

    std::string withoutTheNull = kept;
    withoutTheNull.erase(at + camera.size(), null.size());
    EXPECT_EQ(removed, withoutTheNull);
    EXPECT_EQ(removed.find("\"Tree\""), std::string::npos) << removed;

    EXPECT_EQ(undone, loaded);
    EXPECT_EQ(redone, kept);
}

TEST(Program, RunsFromAPipe) {
    const fs::path output = fs::temp_directory_path() / "cleartrace_driver_pipe.txt";
    std::string command =
        "\"" + std::string(CLEARTRACE_HOST_PROGRAM) + "\" \"" + scene + "\" > \"" + output.string() + "\"";
#ifdef _WIN32
    command = "\"" + command + "\"";  // cmd.exe drops the outer pair of quotes
#endif
    FILE* pipe = popen(command.c_str(), "w");
    ASSERT_NE(pipe, nullptr);
    std::fputs("open\nlist\n", pipe);
    EXPECT_EQ(pclose(pipe), 0);
    const std::string shown = kit::readFile(output);
    fs::remove(output);
    EXPECT_EQ(shown,
              "console: Tessaly Software: Cleartrace successfully loaded.\n> open\n> list\nlist: "
              "0 rows\n  Object With Tag\tTag Name\n");
}

// A block or a host object the module took and never gave back is a leak,
// reported at quit.
TEST(Quit, ReportsWhatTheModuleLeftBehind) {
    std::ostringstream shown;
    driver::Output output(shown, driver::Format::Text);
    driver::Session session(output, true);
    ASSERT_TRUE(session.start(CLEARTRACE_MODULE_FILE, std::nullopt));
    const HostKernel* kernel = session.host().kernel();
    void* forgotten = kernel->allocate(24, false, "source/forgetful.cpp", 12);
    HostArray* forgottenArray = session.host().tables()->t_C4DOS_At->create();
    EXPECT_FALSE(session.quit());
    const std::string report =
        "error: the module left 1 allocations, 0 strings, 0 paths and 1 other host objects behind after its end\n"
        "       source/forgetful.cpp:12 (24 bytes)\n";
    EXPECT_EQ(shown.str().substr(shown.str().size() - std::min(shown.str().size(), report.size())), report);
    kernel->freeMemory(forgotten);
    session.host().tables()->t_C4DOS_At->free(forgottenArray);
}

}  // namespace
