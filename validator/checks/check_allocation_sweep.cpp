// Each session run once with memory, then again with the k-th allocation,
// then the k-th host-object creation, then the k-th string creation, then the
// k-th undo request refused, for k = 1, 2, ... until the session no longer
// makes that many requests. Every run must be truthful: nothing left behind
// at quit; the scene after the Process unchanged or exactly as with memory; a
// run cut short says so with its notice (and then removes nothing and adds no
// not-found row; a missing-plug-ins run lists nothing at all); a removal the
// host could not record for undo says so with its own notice and removes
// nothing; a run that says nothing is exactly the run with memory, its texts
// included; and undo then redo after the run gives back the scene before it
// and the scene it showed. A folder run cut short keeps the rows of the files
// it finished (the first rows of the run with memory) and holds no document
// and no status text after it. A start-up or an `open` refused for lack of memory
// is a truthful answer too. A folder clean also has every save, folder made
// and file removed refused in turn: the run completes, that file's row says
// "Could not write this file."; and after every run of a clean, however it
// ended, the searched folder is as it was and the destination holds only the
// copies the rows name, each exactly the copy of the run with memory.
// Every session starts the module and opens the window alike, so only the
// first session refuses those requests; the others begin with their own
// commands' requests.
#include <algorithm>
#include <map>

#include "checks/check_runs.h"
#include "checks/folder_clean.h"
#include "checks/sweep_sessions.h"
#include "command_text.h"
#include "dialog_contract.h"
#include "framework/module_pin.h"
#include "framework/session_view.h"
#include "read_file.h"
#include "scene_folder.h"

namespace validator {
namespace {

// What one run of a session showed.
struct Outcome {
    std::string refused;             // the start-up or the command refused, and why
    std::string before;              // the scene before the Process
    std::string after;               // ... after it
    std::vector<std::string> boxes;  // shown by the Process
    size_t undoGroups = 0;           // recorded by the Process
    std::string undone;              // the scene after undoing them, and after redoing them
    std::string redone;
    Rows rows;
    bool rowsDrawnWithMemory = true;  // the refused request did not come while drawing
    bool reached = false;             // the refused request came
    std::string leak;
    std::string leftOver;  // what the Process left that it must not: a document read for it, a status text
    // A clean: what it left on disk that it must not, and its copies' bytes by relative path.
    std::string cleanProblem;
    std::map<std::string, std::string> copies;
};

// What a clean left: judged by its rows when they were drawn with memory,
// and its copies read for the run with memory's to judge.
void judgeDisk(const CleanFolders& folders, Outcome& outcome) {
    if (outcome.rowsDrawnWithMemory) outcome.cleanProblem = cleanLeft(folders, outcome.rows, true);
    for (const auto& [path, state] : kit::folderState(folders.destination)) {
        const std::filesystem::path file = folders.destination / path;
        if (!std::filesystem::is_directory(file)) outcome.copies[path] = kit::readFile(file);
    }
}

// The Process and what it changed.
void process(Harness& harness, Outcome& outcome) {
    const HostDocument& document = *harness.host().scene.activeDocument();
    outcome.before = harness.savedScene();
    const size_t undoGroups = harness.host().scene.undoCount(document);
    const size_t boxes = harness.boxTexts().size();
    std::string refusal = harness.run("process");
    if (!refusal.empty()) {
        outcome.refused = "`process`: " + refusal;
        return;
    }
    outcome.after = harness.savedScene();
    const substitute::SubstituteHost& host = harness.host();
    if (host.scene.hiddenDocumentCount() > 0) outcome.leftOver = "a hidden document";
    if (!host.ui.statusBar.text.empty() || host.ui.statusBar.percent) outcome.leftOver = "the status bar's text";
    const std::vector<std::string> shown = harness.boxTexts();
    outcome.boxes.assign(shown.begin() + std::ptrdiff_t(boxes), shown.end());
    outcome.undoGroups = harness.host().scene.undoCount(document) - undoGroups;
    const bool reachedBefore = harness.injectionReached();
    outcome.rows = listedRows(harness);
    outcome.rowsDrawnWithMemory = reachedBefore || !harness.injectionReached();
    if (outcome.undoGroups > 0 && harness.run("undo").empty()) {
        outcome.undone = harness.savedScene();
        if (harness.run("redo").empty()) outcome.redone = harness.savedScene();
    }
}

Outcome runSession(const CheckSettings& settings, const SweepSession& session, const Injection& injection,
                   const CleanFolders* clean = nullptr) {
    Outcome outcome;
    if (clean != nullptr) {
        // Every run starts from an empty destination of the same path, which its question names.
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(clean->destination, error)) {
            std::filesystem::remove_all(entry.path(), error);
        }
    }
    Harness harness;
    std::string refusal = harness.start(settings.module, session.scene, injection);
    if (!refusal.empty()) {
        outcome.refused = "the start-up: " + refusal;
    } else {
        const std::vector<driver::Words> commands = driver::splitLine(session.commands).commands;
        for (size_t i = 0; i < commands.size(); ++i) {
            const std::string command = driver::joinWords(commands[i]);
            if (i + 1 == commands.size()) {
                process(harness, outcome);
                break;
            }
            refusal = harness.run(command);
            if (!refusal.empty()) {
                outcome.refused = "`" + command + "`: " + refusal;
                break;
            }
        }
    }
    outcome.leak = harness.quit();
    outcome.reached = harness.injectionReached();
    if (clean != nullptr) judgeDisk(*clean, outcome);
    return outcome;
}

bool isPrefix(const Rows& part, const Rows& whole) {
    return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

bool hasNotFoundRow(const Rows& rows) { return std::any_of(rows.begin(), rows.end(), isNotFoundRow); }

std::string quoted(const std::vector<std::string>& boxes) {
    std::string shown;
    for (const std::string& box : boxes) shown += (shown.empty() ? "\"" : ", \"") + box + "\"";
    return shown.empty() ? "no message" : shown;
}

// Why a cut-short run is not truthful, or "".
std::string judgeCutShort(const Outcome& run, const Outcome& complete, Action action) {
    if (run.after != run.before) return "a run cut short changed the scene: " + firstDifference(run.before, run.after);
    if (run.undoGroups != 0) return "a run cut short recorded an undo group";
    // A missing-plug-ins list counts every instance, so a part of it would
    // tell wrong counts: a cut-short run lists nothing. A folder run keeps
    // the rows of the files it finished, each of them whole.
    const bool keepsFinished = action == Action::FindMissingInFolder || action == Action::RemoveMissingInFolder;
    if (run.rowsDrawnWithMemory && searchesMissing(action) && !keepsFinished && !run.rows.empty()) {
        return "a missing-plug-ins run cut short still lists " + rowDifference({}, run.rows);
    }
    if (run.rowsDrawnWithMemory && !keepsFinished && hasNotFoundRow(run.rows))
        return "a run cut short added the not-found row";
    Rows shown = run.rows;
    // A folder run cut short ends its list with the row that says so (unless
    // not even that row's room could be made: then the list is empty).
    if (run.rowsDrawnWithMemory && keepsFinished && !shown.empty()) {
        std::vector<std::string> endRow(shown.back().size());
        endRow[0] = "The list is incomplete.";
        if (shown.back() != endRow) {
            return "a folder run cut short does not end its list with \"The list is incomplete.\": " +
                   rowDifference(complete.rows, run.rows);
        }
        shown.pop_back();
    }
    if (run.rowsDrawnWithMemory && !isPrefix(shown, complete.rows)) {
        return "a run cut short shows rows the run with memory does not: " + rowDifference(complete.rows, shown);
    }
    return {};
}

// Why a removal the host could not record for undo is not truthful, or "":
// it removed nothing and lists nothing that only a removal would leave.
std::string judgeUndoRefused(const Outcome& run, Action action) {
    if (run.after != run.before) {
        return "a removal refused its undo but changed the scene: " + firstDifference(run.before, run.after);
    }
    if (run.undoGroups != 0) return "a removal refused its undo but recorded an undo group";
    // Remove Missing Plugins keeps its list of what is missing, still true.
    if (run.rowsDrawnWithMemory && !searchesMissing(action) && !run.rows.empty()) {
        return "a removal refused its undo but lists " + rowDifference({}, run.rows);
    }
    if (run.rowsDrawnWithMemory && hasNotFoundRow(run.rows))
        return "a removal refused its undo but lists the not-found row";
    return {};
}

// Why undo then redo after the run does not give back the scene before it
// and the scene it showed, or "".
std::string judgeUndo(const Outcome& run) {
    if (run.undoGroups == 0) return {};
    if (run.undoGroups > 1) return "the run recorded " + std::to_string(run.undoGroups) + " undo groups";
    if (run.undone != run.before)
        return "undo after the run does not restore the scene: " + firstDifference(run.before, run.undone);
    if (run.redone != run.after)
        return "redo after undo does not give the scene the run showed: " + firstDifference(run.after, run.redone);
    return {};
}

// Whether a clean's rows are those of the run with memory but for copies
// not written, as a save or a folder was refused.
bool sameButNotWritten(const Rows& complete, const Rows& run) {
    if (complete.size() != run.size()) return false;
    for (size_t i = 0; i < run.size(); ++i) {
        if (run[i] == complete[i]) continue;
        std::vector<std::string> notWritten = complete[i];
        if (notWritten.size() != 6) return false;
        notWritten[5] = kit::copyNotWritten;
        if (run[i] != notWritten) return false;
    }
    return true;
}

// Why what a clean left on disk is not truthful, or "": only copies the
// rows name, each exactly the one of the run with memory.
std::string judgeCopies(const Outcome& run, const Outcome& complete) {
    if (!run.cleanProblem.empty()) return run.cleanProblem;
    for (const auto& [path, bytes] : run.copies) {
        const auto found = complete.copies.find(path);
        if (found == complete.copies.end())
            return "the destination holds " + path + ", which the run with memory did not write";
        if (found->second != bytes) return "the copy " + path + " differs from the run with memory's";
    }
    return {};
}

// Why a run with a refused request is not truthful, or "". fileRefused: a
// save, a folder or a removal was refused, which only costs copies.
std::string judge(const Outcome& run, const Outcome& complete, Action action, bool fileRefused) {
    if (!run.leak.empty()) return "at quit: " + run.leak;
    if (!run.leftOver.empty()) return "the Process left " + run.leftOver + " behind";
    if (std::string problem = judgeCopies(run, complete); !problem.empty()) return problem;
    if (!run.refused.empty()) {
        // Refusing to start or to open the window for lack of memory is a
        // truthful answer; any later refusal means a control went missing.
        const bool acceptable = run.refused.rfind("the start-up: ", 0) == 0 || run.refused.rfind("`open`: ", 0) == 0;
        return acceptable ? "" : "refused " + run.refused;
    }
    if (run.before != complete.before) {
        return "the scene before the Process differs: " + firstDifference(complete.before, run.before);
    }
    if (std::string problem = judgeUndo(run); !problem.empty()) return problem;
    // Cut short: what the run with memory showed up to that point (the
    // question before a removal), then the notice.
    const auto endsWith = [&](const char* notice) {
        return !run.boxes.empty() && run.boxes.back() == notice && run.boxes.size() <= complete.boxes.size() + 1 &&
               std::equal(run.boxes.begin(), run.boxes.end() - 1, complete.boxes.begin());
    };
    if (endsWith(kit::outOfMemoryTexts[entryId(action)])) return judgeCutShort(run, complete, action);
    if (endsWith(kit::undoRefusedText)) return judgeUndoRefused(run, action);
    const std::string shown = " (shown: " + quoted(run.boxes) + "; with memory: " + quoted(complete.boxes) + ")";
    if (run.after != complete.after) {
        const std::string difference = firstDifference(complete.after, run.after);
        return (run.after == run.before ? "the scene is unchanged but no notice says so: "
                                        : "the scene differs from the run with memory: ") +
               difference + shown;
    }
    if (complete.boxes != run.boxes) return "the messages differ from the run with memory" + shown;
    const bool sameRows = fileRefused ? sameButNotWritten(complete.rows, run.rows) : complete.rows == run.rows;
    if (run.rowsDrawnWithMemory && !sameRows) {
        return "the list differs from the run with memory: " + rowDifference(complete.rows, run.rows) + shown;
    }
    return {};
}

struct Refusal {
    const char* what;
    int64_t Injection::*request;
    bool fileSystem;  // made by a folder clean alone
};
constexpr Refusal refusals[] = {
    {"allocation", &Injection::allocation, false},
    {"host-object creation", &Injection::objectCreation, false},
    {"string creation", &Injection::stringCreation, false},
    {"undo request", &Injection::undo, false},
    {"save", &Injection::save, true},
    {"folder creation", &Injection::folder, true},
    {"removal", &Injection::removal, true},
};
// A session that still makes requests after this many is taken to loop.
constexpr int64_t mostRequests = 1000000;

// The requests of the start-up and of opening the window, which every
// session makes alike before its own commands.
Injection openingRequests(const CheckSettings& settings, const SweepSession& session) {
    Harness harness;
    Injection made;
    if (!harness.start(settings.module, session.scene).empty() || !harness.run("open").empty()) return made;
    const substitute::KernelServices& services = harness.host().services;
    made = {services.allocationsRequested(), services.objectCreationsRequested(), services.stringCreationsRequested(),
            services.undoRequests()};
    harness.quit();
    return made;
}

// skipOpening: refuse only the requests after the window opened (the first
// session refuses those of the start-up and the opening for all).
std::string sweepSession(const CheckSettings& settings, const SweepSession& given, bool skipOpening) {
    // A folder run's files, written once for every run of the session.
    const kit::TemporaryFolder folder("sweep");
    const kit::TemporaryFolder copies("sweep-copies");
    SweepSession session = given;
    for (const auto& [relative, text] : session.files) folder.write(relative, text);
    for (const auto& [mark, place] : {std::pair(sweepFolderMark, &folder), std::pair(sweepDestinationMark, &copies)}) {
        if (const size_t at = session.commands.find(mark); at != std::string::npos) {
            session.commands.replace(at, std::string_view(mark).size(), driver::quoteWord(place->path().string()));
        }
    }
    const Injection opening = skipOpening ? openingRequests(settings, session) : Injection{};
    const bool cleans = session.action == Action::RemoveMissingInFolder;
    const CleanFolders clean = cleanFoldersBefore(folder.path(), copies.path());
    const Outcome complete = runSession(settings, session, {}, cleans ? &clean : nullptr);
    if (!complete.cleanProblem.empty()) return "with memory, " + complete.cleanProblem;
    if (!complete.leftOver.empty()) return "with memory, the Process left " + complete.leftOver + " behind";
    if (!complete.refused.empty()) return "with memory, the session refused " + complete.refused;
    if (!complete.leak.empty()) return "with memory, at quit: " + complete.leak;
    if (std::string problem = judgeUndo(complete); !problem.empty()) return "with memory, " + problem;
    for (const std::string& box : complete.boxes) {
        for (const char* text : kit::outOfMemoryTexts) {
            if (box == text) return "with memory, the run said \"" + box + "\"";
        }
    }
    for (const Refusal& refusal : refusals) {
        if (refusal.fileSystem && !cleans) continue;
        for (int64_t k = opening.*refusal.request + 1; k <= mostRequests; ++k) {
            Injection injection;
            injection.*refusal.request = k;
            const Outcome run = runSession(settings, session, injection, cleans ? &clean : nullptr);
            std::string problem = judge(run, complete, session.action, refusal.fileSystem);
            if (!problem.empty()) {
                return "refusing " + std::string(refusal.what) + " " + std::to_string(k) + " of `" + session.commands +
                       "`: " + problem;
            }
            if (!run.reached) break;
            if (k == mostRequests) return "the session still makes requests after " + std::to_string(k);
        }
    }
    return {};
}

}  // namespace

CheckResult checkAllocationSweep(const CheckSettings& settings, const CaseStarted& started) {
    const std::vector<SweepSession> sessions = sweepSessions(settings.level);
    ModulePin pin(settings.module);
    return runCases(settings, 0, sessions.size(), started, [&](uint64_t number) -> std::string {
        if (number >= sessions.size()) return "there is no session " + std::to_string(number) + " at this level";
        std::string problem = sweepSession(settings, sessions[number], number > 0);
        if (problem.empty()) return problem;
        // Seen again with the file loaded afresh for every run, as a host that
        // loads it once would see it.
        pin.release();
        std::string fresh = sweepSession(settings, sessions[number], number > 0);
        return fresh.empty() ? "only while the module file stays loaded between runs: " + problem : fresh;
    });
}

}  // namespace validator
