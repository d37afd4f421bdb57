// The program cleartrace-host: its options and the run of one session, from
// a script file, from -c, or from the user typing at standard input.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "input/input_files.h"
#include "output.h"

namespace driver {

inline constexpr const char* usage =
    "usage: cleartrace-host [--module FILE] [--json] [--answer yes|no] [--save FILE]\n"
    "                       [--input-limit BYTES] [--fail-allocation K] [--fail-object K]\n"
    "                       [--fail-string K] [--fail-undo K] [--fail-save K] [--fail-folder K]\n"
    "                       [--fail-remove K] [--counts] [--escape-after N]\n"
    "                       [--script FILE | -c \"CMD; CMD\"] [SCENE.json]\n";

// What --help adds to the usage.
inline constexpr const char* commandSummary =
    "\n"
    "Runs the Cleartrace module in the substitute host on SCENE.json (default: an empty scene).\n"
    "Commands come from --script, -c or standard input, one a line or separated by ';';\n"
    "'#' starts a comment and \"double quotes\" hold a word with blanks:\n"
    "  open | close | cancel | process | about | helpfile     the command and the window\n"
    "  action identify|list|remove|find-missing|remove-missing|find-missing-folder|remove-missing-folder\n"
    "  type tag|shader|object|posteffect|material\n"
    "  scope N    id VALUE    warn on|off    keep on|off    children on|off\n"
    "                                 the controls, as a user sets them\n"
    "  answer yes|no                  the answer to the next Yes/No question\n"
    "  folder PATH | savefile PATH    the answer to the next folder / save-file chooser\n"
    "                                 (none queued: the user cancels it)\n"
    "  tempfolder                     a new empty temporary folder as the next folder chooser's\n"
    "                                 answer, shown as <temporary folder>, removed at the end\n"
    "  save-list                      the menu command List > Save List as CSV...\n"
    "  list | dblclick ROW            the results list as drawn; double-click a row (from 0)\n"
    "  select PATH... | deselect | delete PATH                   /Group/Cube or mat:Name\n"
    "                                 (\\/ for '/' in a name, Cube[2] for the second Cube)\n"
    "  undo | redo | scene | save FILE | dialog\n"
    "  snapshot FILE.svg [WIDTHxHEIGHT]   a picture of the window (default 520x640, grown to fit)\n"
    "A refused command ends a script (--script, -c or a pipe) with exit status 1; at the\n"
    "keyboard the session goes on. Scene and script files larger than --input-limit\n"
    "(default 4 GiB) and what is not a regular file are refused.\n"
    "--fail-allocation K, --fail-object K, --fail-string K and --fail-undo K make the K-th memory\n"
    "allocation, host-object creation, host-string creation or undo request (start of a group,\n"
    "a step, end of a group) the module asks for fail (K from 1, counted from the module's\n"
    "load); --counts shows at the end how many of each it asked for.\n"
    "--fail-save K, --fail-folder K and --fail-remove K refuse the K-th scene file saved, folder\n"
    "made or file or folder removed for the module, as a full or read-only disk would.\n"
    "--escape-after N holds the Escape key down once the module has read N scene files of a folder.\n"
    "Exit status: 0 the session went through; 1 an option, the module, the scene, a script\n"
    "command or the module's clean-up failed; 3 a fault of the module ended the session.\n"
    "cleartrace-host validate --help: the validator, which checks a module file.\n";

struct Options {
    std::filesystem::path module = CLEARTRACE_MODULE_FILE;
    Format format = Format::Text;
    bool answerYes = true;  // the answer to Yes/No questions unless `answer` says otherwise
    std::optional<std::filesystem::path> save;
    std::optional<std::filesystem::path> script;
    std::optional<std::string> commands;  // -c
    std::optional<std::filesystem::path> scene;
    uint64_t inputLimit = substitute::defaultInputLimit;  // bytes of a scene, a script or standard input
    // The request of each kind to fail, counted from 1; 0 fails none.
    int64_t failAllocation = 0;
    int64_t failObject = 0;
    int64_t failString = 0;
    int64_t failUndo = 0;
    int64_t failSave = 0;
    int64_t failFolder = 0;
    int64_t failRemove = 0;
    bool counts = false;  // show the counts of requests at the end
    // Escape is pressed once this many scene files of a folder were read; none: never.
    std::optional<int64_t> escapeAfter;
    bool help = false;
};

// The options of the command line (without the program name); "" when they
// are sound, else what is wrong with them.
std::string parseOptions(const std::vector<std::string>& args, Options& options);

// Runs the program: 0 when the session went through, 1 when the options, the
// module, the scene, a script command or the module's clean-up failed. A fault
// of the module ends the process with substitute::faultExitStatus (3).
// terminal: input is a terminal, so the user gets a prompt and a refused
// command does not end the session; any other input is read as a script.
int runProgram(const std::vector<std::string>& args, std::istream& input, bool terminal, std::ostream& output,
               std::ostream& errors);

}  // namespace driver
