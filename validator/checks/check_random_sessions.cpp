// Seeded random scenes and sessions. Every Process is checked against the
// saved scene: Identify, Generate List and Find Missing Plugins leave it as it
// was; a removal is one undo group, whose undo gives back exactly the scene
// before and whose redo gives exactly the scene after. A removal of objects
// (Remove Plugin of objects, Remove Missing Plugins) leaves exactly the
// objects that its removed objects and the box "Keep Children of Removed
// Objects" call for, the Nulls among them. After Remove Missing Plugins,
// Find Missing Plugins lists what its list showed: nothing when layer shaders
// were not kept. Find Missing Plugins in Folder searches a folder of random
// scenes (with broken, empty and unreadable files and links) and changes
// nothing; its rows come in the order of their files and a double-clicked row
// opens its file and lists what the row listed, or says the file could not be
// opened and changes nothing. Remove Missing Plugins in Folder cleans that
// folder (random_clean.h): the source as it was, the destination holding
// only the copies its rows name, each the file Remove Missing Plugins and a
// save make of its original; a double-clicked row opens the copy when one was
// written, else the original. At the end nothing may be left behind.
#include <algorithm>

#include "checks/check_runs.h"
#include "checks/object_removal.h"
#include "checks/random_clean.h"
#include "checks/random_folder.h"
#include "checks/random_scene.h"
#include "command_text.h"
#include "command_words.h"
#include "dialog_contract.h"
#include "framework/choices.h"
#include "framework/session_view.h"
#include "scene_folder.h"

namespace validator {
namespace {

SceneShape shapeForLevel(int level) {
    SceneShape shape;
    shape.objects = 8 + 4 * level;
    shape.depth = 2 + std::min(level, 6);
    shape.materials = 2 + level / 2;
    shape.layerDepth = 2 + level / 3;
    shape.renderSettings = 2 + level / 2;
    return shape;
}

class RandomSession {
public:
    RandomSession(Choices& choices, Harness& harness, std::filesystem::path folder, const SceneShape& fileShape,
                  const std::string& installing, std::vector<CleanedCopy>& copies)
        : choices_(choices),
          harness_(harness),
          folder_(std::move(folder)),
          clean_(choices, harness, folder_, fileShape, installing, copies) {
        auto previous = harness_.host().scene.onOpenDocument;
        harness_.host().scene.onOpenDocument = [this, previous](const std::filesystem::path& file) {
            opened_ = file;
            if (previous) previous(file);
        };
    }

    // One user step: a few controls changed, then Process; "" or what went wrong.
    std::string step() {
        const int64_t changes = choices_.between(0, 3);
        for (int64_t i = 0; i < changes; ++i) {
            std::string problem = change();
            if (!problem.empty()) return problem;
        }
        // Half the time a new target, since a removal leaves nothing for the
        // same one to find again.
        if (choices_.oneIn(2)) {
            const char* type = choices_.pick(driver::pluginTypeWords).word;
            std::string problem = enabled(IDC_PLUGIN_TYPE) ? run(std::string("type ") + type) : "";
            if (problem.empty()) problem = chooseId();
            if (!problem.empty()) return problem;
        }
        return process();
    }

    std::string begin() {
        const bool warn = choices_.oneIn(2);
        const bool keep = choices_.oneIn(2);
        const bool children = !choices_.oneIn(3);
        // The check boxes can be set while the action is Remove only.
        std::string problem = run("open");
        if (problem.empty()) problem = run("action remove");
        if (problem.empty()) problem = run(std::string("warn ") + (warn ? "on" : "off"));
        if (problem.empty()) problem = run(std::string("keep ") + (keep ? "on" : "off"));
        if (problem.empty()) problem = run(std::string("children ") + (children ? "on" : "off"));
        if (problem.empty()) problem = chooseId();
        return problem;
    }

    // The commands so far, the latest last, for a failure's reason.
    std::string history() const {
        constexpr size_t shown = 16;
        std::string text;
        const size_t from = log_.size() > shown ? log_.size() - shown : 0;
        if (from > 0) text = "...; ";
        for (size_t i = from; i < log_.size(); ++i) text += log_[i] + (i + 1 < log_.size() ? "; " : "");
        return text;
    }

private:
    // logged: how the history shows command (a temporary folder's path
    // differs from process to process, and so from a replay).
    std::string run(const std::string& command, const std::string& logged = "") {
        log_.push_back(logged.empty() ? command : logged);
        std::string refusal = harness_.run(command);
        return refusal.empty() ? "" : "`" + command + "` was refused: " + refusal;
    }

    // What the window shows: the session operates only what is enabled, as a
    // user can.
    double value(int32_t id) {
        const substitute::Control* control = windowControl(harness_, id);
        return control ? control->value : -1.0;
    }
    bool enabled(int32_t id) {
        const substitute::Control* control = windowControl(harness_, id);
        return control && control->enabled;
    }

    std::string change() {
        switch (choices_.below(12)) {
            case 0:
            case 1:
            case 9:
            case 10: {
                // Removals most often: they are what undo and redo check.
                using driver::wordFor;
                constexpr const char* actions[] = {wordFor(Action::Identify),
                                                   wordFor(Action::GenerateList),
                                                   wordFor(Action::Remove),
                                                   wordFor(Action::Remove),
                                                   wordFor(Action::FindMissing),
                                                   wordFor(Action::RemoveMissing),
                                                   wordFor(Action::RemoveMissing),
                                                   wordFor(Action::FindMissingInFolder),
                                                   wordFor(Action::RemoveMissingInFolder)};
                return run(std::string("action ") + choices_.pick(actions));
            }
            case 2: {
                const char* type = choices_.pick(driver::pluginTypeWords).word;
                return enabled(IDC_PLUGIN_TYPE) ? run(std::string("type ") + type) : "";
            }
            case 3: return chooseScope();
            case 4: return chooseId();
            case 5: {
                const bool on = choices_.oneIn(2);
                constexpr struct {
                    int32_t id;
                    const char* word;
                } boxes[] = {{IDC_WARN_BEFORE_DELETING, "warn "},
                             {IDC_KEEP_LAYER_SHADERS, "keep "},
                             {IDC_KEEP_CHILDREN, "children "}};
                const auto& box = choices_.pick(boxes);
                if (!enabled(box.id)) return {};
                return run(std::string(box.word) + (on ? "on" : "off"));
            }
            case 6: return select();
            case 7: return run("deselect");
            case 8: return doubleClick();
            default: return choices_.oneIn(2) ? reopen() : "";
        }
    }

    std::string chooseScope() {
        const substitute::Control* scope = windowControl(harness_, IDC_SCOPE);
        if (scope == nullptr || !scope->enabled || scope->entries.empty()) return {};
        const uint64_t entry = choices_.below(scope->entries.size());
        return run("scope " + std::to_string(scope->entries[entry].id));
    }

    // Mostly an id some element of the scene still has, so that runs find
    // and remove something.
    std::string chooseId() {
        constexpr const char* others[] = {"0", "999", "1234.9", "-7.5"};
        if (choices_.oneIn(8)) return run(std::string("id ") + choices_.pick(others));
        const std::string scene = harness_.savedScene();
        std::vector<int32_t> present;
        for (const int32_t id : randomPluginIds) {
            const std::string type = "\"type\": " + std::to_string(id);
            if (scene.find(type + ",") != std::string::npos || scene.find(type + "}") != std::string::npos) {
                present.push_back(id);
            }
        }
        if (present.empty() || choices_.oneIn(4)) return run("id " + std::to_string(choices_.pick(randomPluginIds)));
        return run("id " + std::to_string(present[choices_.below(present.size())]));
    }

    std::string select() {
        const bool objects = choices_.oneIn(2);
        const std::vector<std::string> paths = objects ? objectPaths(harness_) : materialPaths(harness_);
        if (paths.empty()) return {};
        const int64_t count = choices_.between(1, 3);
        driver::Words words{"select"};
        for (int64_t i = 0; i < count; ++i) words.push_back(paths[choices_.below(paths.size())]);
        return run(driver::joinWords(words));
    }

    std::string doubleClick() {
        const Rows shown = listedRows(harness_);
        if (shown.empty() || !enabled(IDC_TREE_VIEW)) return {};
        const uint64_t row = choices_.below(shown.size());
        const bool listsFolder = shown[0].size() == 5 && value(IDC_ACTION) == entryId(Action::FindMissingInFolder);
        const bool listsClean = shown[0].size() == 6 && value(IDC_ACTION) == entryId(Action::RemoveMissingInFolder);
        const HostDocument* active = harness_.host().scene.activeDocument();
        const size_t boxes = harness_.boxTexts().size();
        opened_.clear();
        std::string problem = run("dblclick " + std::to_string(row));
        if (!problem.empty() || !(listsFolder || listsClean)) return problem;
        if (listsClean) return copyOpened(shown[size_t(row)], active, boxes);
        return fileOpened(shown, size_t(row), active, boxes);
    }

    // After a double-click on a row of a clean: the copy opened when the row
    // names one, else the original; or nothing opened and the notice.
    std::string copyOpened(const std::vector<std::string>& row, const HostDocument* active, size_t boxes) {
        const std::string& file = row[0];
        const std::vector<std::string> texts = harness_.boxTexts();
        const std::vector<std::string> said(texts.begin() + std::ptrdiff_t(boxes), texts.end());
        if (harness_.host().scene.activeDocument() == active) {
            const bool aFile = file != "No scene files found." && file.back() != '/';
            const std::vector<std::string> notice = {"Cleartrace could not open " + file + "."};
            if (said != (aFile ? notice : std::vector<std::string>{})) {
                return "the row of " + file + ", not opened, said " + (said.empty() ? "nothing" : said.back());
            }
            return {};
        }
        const bool copy = row[5] == file;
        const std::filesystem::path expected = (copy ? clean_.listedDestination() : folder_) / file;
        if (opened_ != expected || value(IDC_ACTION) != entryId(Action::FindMissing) || !said.empty()) {
            return "the row of " + file + " opened " + opened_.string() + ", not its " +
                   (copy ? "copy " : "original ") + expected.string();
        }
        return {};
    }

    // After a double-click on row of a folder's list: the file opened as the
    // active document and its missing plug-ins listed as the row's file
    // listed them; or, for a file that cannot be read, the notice and
    // nothing else; for a row of no file, nothing at all.
    std::string fileOpened(const Rows& shown, size_t row, const HostDocument* active, size_t boxes) {
        const std::string& file = shown[row][0];
        const std::vector<std::string> texts = harness_.boxTexts();
        const std::vector<std::string> said(texts.begin() + std::ptrdiff_t(boxes), texts.end());
        const bool opened = harness_.host().scene.activeDocument() != active;
        if (!opened) {
            const bool aFile = file != "No scene files found." && file.back() != '/';
            const std::vector<std::string> notice = {"Cleartrace could not open " + file + "."};
            if (said != (aFile ? notice : std::vector<std::string>{}) || listedRows(harness_) != shown ||
                value(IDC_ACTION) != entryId(Action::FindMissingInFolder)) {
                return "the row of " + file + ", not opened, changed something or said " +
                       (said.empty() ? "nothing" : "\"" + said.back() + "\"");
            }
            return {};
        }
        Rows expected;
        for (const std::vector<std::string>& line : shown) {
            if (line[0] == file) expected.emplace_back(line.begin() + 1, line.end());
        }
        const Rows found = listedRows(harness_);
        if (value(IDC_ACTION) != entryId(Action::FindMissing) || !said.empty() || found != expected) {
            return "the row of " + file +
                   " opened it, but Find Missing Plugins there lists other rows: " + rowDifference(expected, found);
        }
        return {};
    }

    // The window opens on Generate List with the plug-in ID at 0.
    std::string reopen() {
        std::string problem = run("close");
        if (problem.empty()) problem = run("open");
        if (problem.empty()) problem = chooseId();
        return problem;
    }

    std::string process() {
        const HostDocument& document = *harness_.host().scene.activeDocument();
        const std::string before = harness_.savedScene();
        const size_t undoSteps = harness_.host().scene.undoCount(document);
        const size_t boxes = harness_.boxTexts().size();
        const auto action = Action(value(IDC_ACTION));
        bool removing = action == Action::Remove || action == Action::RemoveMissing;
        const bool cleaning = action == Action::RemoveMissingInFolder;
        bool cleaned = cleaning;
        if (action == Action::FindMissingInFolder || cleaning) {
            std::string problem = run("folder " + driver::quoteWord(folder_.string()), "folder <the random folder>");
            if (problem.empty() && cleaning) {
                problem = run("folder " + driver::quoteWord(clean_.prepare().string()), "folder <a destination>");
            }
            if (!problem.empty()) return problem;
        }
        // What a removal of objects must leave, worked out before it runs.
        const std::optional<ObjectRemoval> objectRemoval =
            objectRemovalOf(harness_.host().scene, action, PluginType(value(IDC_PLUGIN_TYPE)),
                            int32_t(value(IDC_SCOPE)), value(IDC_PLUGIN_ID), value(IDC_KEEP_CHILDREN) != 0.0);
        const ObjectForest objectsBefore = objectRemoval ? objectForest(document) : ObjectForest{};
        const ObjectForest objectsLeft = objectRemoval ? afterRemoval(document, *objectRemoval) : ObjectForest{};
        if ((removing || cleaning) && value(IDC_WARN_BEFORE_DELETING) != 0.0) {
            const bool yes = !choices_.oneIn(4);
            if (!yes) removing = cleaned = false;
            std::string problem = run(yes ? "answer yes" : "answer no");
            if (!problem.empty()) return problem;
        }
        std::string problem = run("process");
        // A run that asked nothing leaves its answer to no later question.
        harness_.host().ui.messageBoxes.questionAnswers.clear();
        harness_.host().ui.choosers.folderAnswers.clear();
        if (!problem.empty()) return problem;
        if (action == Action::FindMissingInFolder || cleaning) problem = folderListed();
        if (problem.empty() && cleaning) {
            const CleanBoxes cleanBoxes{value(IDC_KEEP_LAYER_SHADERS) != 0.0, value(IDC_KEEP_CHILDREN) != 0.0};
            problem = clean_.judge(cleaned, listedRows(harness_), cleanBoxes);
        }
        if (!problem.empty()) return problem;
        const std::string after = harness_.savedScene();
        const std::vector<std::string> shown = harness_.boxTexts();
        for (size_t i = boxes; i < shown.size(); ++i) {
            for (const char* text : kit::outOfMemoryTexts) {
                if (shown[i] == text) return "with memory to spare, the run said \"" + shown[i] + "\"";
            }
        }
        const Rows rows = listedRows(harness_);
        const size_t groups = harness_.host().scene.undoCount(document) - undoSteps;
        if (removing && objectRemoval) {
            const std::string difference = forestDifference(objectsLeft, objectForest(document), idsOf(objectsBefore));
            if (!difference.empty()) return "the objects after the removal are not what it must leave: " + difference;
        }
        if (!removing || groups == 0) {
            if (groups != 0) return "a run that removes nothing recorded " + std::to_string(groups) + " undo groups";
            std::string difference = firstDifference(before, after);
            if (!difference.empty()) return "a run that removes nothing changed the scene: " + difference;
        } else {
            if (groups != 1) return "the removal recorded " + std::to_string(groups) + " undo groups, not one";
            problem = undoAndRedo(before, after);
            if (!problem.empty()) return problem;
        }
        if (action == Action::RemoveMissing) problem = findAfterRemoval(rows, removing);
        // Now and then the session goes on from the scene before.
        if (problem.empty() && removing && groups == 1 && choices_.oneIn(4)) problem = run("undo");
        return problem;
    }

    // A folder run reads one file at a time and keeps none, clears the status
    // bar, and lists the files in the byte order of their paths.
    std::string folderListed() {
        const substitute::SubstituteHost& host = harness_.host();
        if (host.scene.hiddenDocumentCount() != 0 || host.scene.mostHiddenAtOnce > 1) {
            return "the folder run held " + std::to_string(host.scene.mostHiddenAtOnce) + " documents at once";
        }
        if (!host.ui.statusBar.text.empty() || host.ui.statusBar.percent) return "the folder run left the status bar";
        const Rows rows = listedRows(harness_);
        for (size_t i = 1; i < rows.size(); ++i) {
            if (rows[i][0] < rows[i - 1][0]) return "the folder's rows are not in order: " + rows[i][0];
        }
        return {};
    }

    // The list of a Remove Missing Plugins shows what is missing now: a Find
    // Missing Plugins on the scene shows the same. Once removed with layer
    // shaders not kept, nothing is.
    std::string findAfterRemoval(const Rows& shown, bool removed) {
        const bool kept = value(IDC_KEEP_LAYER_SHADERS) != 0.0;
        std::string problem = run("action find-missing");
        if (problem.empty()) problem = run("process");
        if (!problem.empty()) return problem;
        const Rows found = listedRows(harness_);
        if (found != shown) {
            return "Find Missing Plugins after Remove Missing Plugins differs from its list: " +
                   rowDifference(shown, found);
        }
        if (removed && !kept && (found.size() != 1 || !isNotFoundRow(found[0]))) {
            return "plug-ins still missing after Remove Missing Plugins without keeping layer shaders: " +
                   rowDifference({{kit::noMissingPlugins}}, found);
        }
        return run("action remove-missing");
    }

    std::string undoAndRedo(const std::string& before, const std::string& after) {
        std::string problem = run("undo");
        if (!problem.empty()) return problem;
        std::string difference = firstDifference(before, harness_.savedScene());
        if (!difference.empty()) return "undo did not give back the scene before the removal: " + difference;
        problem = run("redo");
        if (!problem.empty()) return problem;
        difference = firstDifference(after, harness_.savedScene());
        return difference.empty() ? "" : "redo did not give the scene after the removal: " + difference;
    }

    Choices& choices_;
    Harness& harness_;
    std::filesystem::path folder_;
    RandomClean clean_;
    std::filesystem::path opened_;  // the file a double-click opened last
    std::vector<std::string> log_;
};

std::string runRandomSession(const CheckSettings& settings, uint64_t seed) {
    Choices choices(seed);
    const std::string scene = randomScene(choices, shapeForLevel(settings.level));
    const kit::TemporaryFolder folder("random-sessions");
    SceneShape fileShape = shapeForLevel(settings.level);
    fileShape.objects /= 2;
    writeRandomFolder(choices, folder.path(), 2 + settings.level / 2, fileShape, scene);
    std::vector<CleanedCopy> copies;
    {
        Harness harness;
        std::string problem = harness.start(settings.module, scene);
        if (!problem.empty()) return "the session did not start: " + problem;
        RandomSession session(choices, harness, folder.path(), fileShape, scene, copies);
        problem = session.begin();
        const int64_t steps = 8 + 4 * int64_t(settings.level);
        for (int64_t i = 0; i < steps && problem.empty(); ++i) problem = session.step();
        if (!problem.empty()) return problem + " (after: " + session.history() + ")";
        problem = harness.quit();
        if (!problem.empty()) return "at quit: " + problem;
    }
    // Each copy's original opened alone needs a host of its own.
    const std::string problem = copiesAsRemovedAndSaved(settings.module, copies);
    return problem.empty() ? "" : "after the session, " + problem;
}

}  // namespace

CheckResult checkRandomSessions(const CheckSettings& settings, const CaseStarted& started) {
    const uint64_t cases = 3 * uint64_t(settings.level);
    return runCases(settings, settings.seed, cases, started,
                    [&](uint64_t seed) { return runRandomSession(settings, seed); });
}

}  // namespace validator
