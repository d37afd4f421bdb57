#include "session.h"

#include <cmath>
#include <cstdio>
#include <random>
#include <utility>

#include "left_behind.h"
#include "number_word.h"
#include "scene_file/scene_file.h"
#include "scene_paths.h"
#include "snapshot_file.h"
#include "ui/dialogs.h"
#include "ui/tree_views.h"

namespace driver {
namespace {
namespace fs = std::filesystem;

struct CommandSpec {
    const char* name;
    size_t minimumArgs, maximumArgs;
    const char* usage;
    std::string (Session::*run)(const Words& args);
};

constexpr size_t anyNumber = SIZE_MAX;

// The file as the user knows it: relative to the folder holding the module's
// folder when it lies there ("Cleartrace/Cleartrace.pdf"), so that the output
// does not depend on where the tree was built.
std::string displayPath(const fs::path& file, const fs::path& moduleFile) {
    std::error_code error;
    fs::path base = fs::absolute(moduleFile, error).lexically_normal().parent_path().parent_path();
    fs::path relative = fs::absolute(file, error).lexically_normal().lexically_relative(base);
    if (!error && !relative.empty() && *relative.begin() != "..") return relative.generic_string();
    return file.generic_string();
}

// A new empty folder in the system's temporary folder; empty, with error
// set, when none could be made.
fs::path makeTemporaryFolder(std::error_code& error) {
    const fs::path base = fs::temp_directory_path(error);
    if (error) return {};
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "cleartrace-%08x", unsigned(random()));
        const fs::path folder = base / name;
        if (fs::create_directory(folder, error)) return folder;
        if (error) return {};
    }
    error = std::make_error_code(std::errc::file_exists);
    return {};
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + '\n';
    return text;
}
}  // namespace

Session::Session(Output& output, bool answerYes) : output_(output) {
    host_.services.onConsoleLine = [this](const substitute::ConsoleLine& line) {
        output_.console(line.text, line.file, line.line);
    };
    host_.ui.messageBoxes.defaultQuestionAnswer = answerYes ? HOST_ANSWER_YES : HOST_ANSWER_NO;
    host_.ui.messageBoxes.onShow = [this](const substitute::MessageBoxRecord& box) {
        if (box.style == HOST_MESSAGE_BOX_QUESTION) {
            output_.question(box.text, box.answer == HOST_ANSWER_YES);
        } else {
            output_.notice(box.text);
        }
    };
    host_.scene.onMakeActive = [this](const HostElement& element) {
        output_.selected(kindWord(element), pathOf(element));
    };
    host_.scene.onOpenDocument = [this](const fs::path& file) { output_.openedScene(file.generic_string()); };
    host_.ui.choosers.onShow = [this](const substitute::ChooserRecord& chooser) {
        output_.chooser(chooser.mode == HOST_SELECT_FOLDER ? "folder" : "save", chooser.title,
                        chooser.chosen ? chooser.chosen->generic_string() : "");
    };
    host_.ui.statusBar.onChange = [this](const substitute::StatusChange& change) {
        switch (change.kind) {
            case substitute::StatusChange::Kind::Text: output_.status(change.text); break;
            case substitute::StatusChange::Kind::Bar: output_.statusBar(change.percent); break;
            case substitute::StatusChange::Kind::Cleared: output_.statusCleared(); break;
        }
    };
}

Session::~Session() {
    if (loader_.loaded()) quit();
    std::error_code ignored;
    for (const fs::path& folder : temporaryFolders_) fs::remove_all(folder, ignored);
}

bool Session::startModule(const fs::path& module) {
    std::string problem = loader_.load(module);
    if (!problem.empty()) {
        output_.error("cannot load the module: " + problem);
        return false;
    }
    substitute::StartUpAnswers answers = loader_.startUp();
    if (answers.started()) return true;
    // A module that refused to bind is not spoken to again: it is only unloaded.
    if (answers.bind != HOST_MODULE_HANDLED) loader_.unload();
    output_.error("the module did not start (bind answered " + std::to_string(answers.bind) + ", start answered " +
                  std::to_string(answers.start) + ")");
    return false;
}

bool Session::start(const fs::path& module, const std::optional<fs::path>& sceneFile, uint64_t inputLimit) {
    host_.scene.fileLimit = inputLimit;
    if (!startModule(module)) return false;
    if (!sceneFile) {
        host_.scene.newDocument();
        return true;
    }
    substitute::SceneLoad load = substitute::loadSceneFile(host_.scene, *sceneFile, inputLimit);
    if (load.document == nullptr) output_.error("cannot load the scene: " + load.error);
    return load.document != nullptr;
}

bool Session::startWithScene(const fs::path& module, std::string_view sceneJson) {
    if (!startModule(module)) return false;
    substitute::SceneLoad load = substitute::loadScene(host_.scene, sceneJson);
    if (load.document == nullptr) output_.error("cannot load the scene: " + load.error);
    return load.document != nullptr;
}

bool Session::run(const Words& command, const std::string& origin) {
    static const CommandSpec commands[] = {
        {"open", 0, 0, "open", &Session::open},
        {"close", 0, 0, "close", &Session::close},
        {"cancel", 0, 0, "cancel", &Session::cancel},
        {"process", 0, 0, "process", &Session::process},
        {"about", 0, 0, "about", &Session::about},
        {"helpfile", 0, 0, "helpfile", &Session::helpFile},
        {"action", 1, 1,
         "action identify|list|remove|find-missing|remove-missing|find-missing-folder|remove-missing-folder",
         &Session::action},
        {"type", 1, 1, "type tag|shader|object|posteffect|material", &Session::type},
        {"scope", 1, 1, "scope N", &Session::scope},
        {"id", 1, 1, "id VALUE", &Session::id},
        {"warn", 1, 1, "warn on|off", &Session::warn},
        {"keep", 1, 1, "keep on|off", &Session::keep},
        {"children", 1, 1, "children on|off", &Session::children},
        {"answer", 1, 1, "answer yes|no", &Session::answer},
        {"folder", 1, 1, "folder PATH", &Session::folder},
        {"tempfolder", 0, 0, "tempfolder", &Session::temporaryFolder},
        {"savefile", 1, 1, "savefile PATH", &Session::saveFile},
        {"save-list", 0, 0, "save-list", &Session::saveList},
        {"list", 0, 0, "list", &Session::list},
        {"dblclick", 1, 1, "dblclick ROW", &Session::doubleClick},
        {"select", 1, anyNumber, "select PATH... (/Group/Cube or mat:Name)", &Session::select},
        {"deselect", 0, 0, "deselect", &Session::deselect},
        {"delete", 1, 1, "delete PATH (/Group/Cube or mat:Name)", &Session::remove},
        {"undo", 0, 0, "undo", &Session::undo},
        {"redo", 0, 0, "redo", &Session::redo},
        {"scene", 0, 0, "scene", &Session::scene},
        {"save", 1, 1, "save FILE", &Session::saveCommand},
        {"dialog", 0, 0, "dialog", &Session::dialog},
        {"snapshot", 1, 2, "snapshot FILE.svg [WIDTHxHEIGHT]", &Session::snapshot},
    };
    if (command.empty()) return true;
    const std::string& name = command.front();
    const Words args(command.begin() + 1, command.end());
    for (const CommandSpec& spec : commands) {
        if (name != spec.name) continue;
        if (args.size() < spec.minimumArgs || args.size() > spec.maximumArgs) {
            output_.error(origin + ": usage: " + spec.usage);
            return false;
        }
        size_t opened = host_.ui.openedFiles.size();
        size_t written = host_.ui.writtenFiles.size();
        std::string refusal = (this->*spec.run)(args);
        showOpenedFiles(opened);
        showWrittenFiles(written);
        if (!refusal.empty()) output_.error(origin + ": " + name + ": " + refusal);
        return refusal.empty();
    }
    output_.error(origin + ": unknown command \"" + name + "\"");
    return false;
}

bool Session::save(const fs::path& file) {
    std::string error = saveTo(file);
    if (!error.empty()) output_.error("cannot save the scene: " + error);
    return error.empty();
}

std::string Session::saveTo(const fs::path& file) {
    std::string error;
    return substitute::saveSceneFile(host_.scene, document(), file, &error) ? "" : error;
}

bool Session::quit() {
    if (!loader_.loaded()) return true;
    loader_.quit();
    // A module that has ended owns nothing any more: whatever is left is a leak.
    const std::string report = leakSummary(host_.services, " after its end", "\n");
    if (report.empty()) return true;
    output_.error(report);
    return false;
}

template <class Operate>
std::string Session::withWindow(Operate operate) {
    HostDialog* shown = host_.ui.findDialog(CLEARTRACE_COMMAND_ID);
    return shown ? operate(*shown) : "the window has not been opened";
}

HostDocument& Session::document() const {
    // start() leaves an active document, and nothing in a session closes it.
    return *host_.scene.activeDocument();
}

void Session::showOpenedFiles(size_t from) {
    const auto& files = host_.ui.openedFiles;
    for (size_t i = from; i < files.size(); ++i) output_.openFile(displayPath(files[i], loader_.file()));
}

void Session::showWrittenFiles(size_t from) {
    const auto& files = host_.ui.writtenFiles;
    for (size_t i = from; i < files.size(); ++i) output_.wroteFile(files[i].generic_string());
}

// ---- The window
// ------------------------------------------------------------------------

std::string Session::open(const Words&) {
    if (substitute::executeCommand(host_.ui.commands, CLEARTRACE_COMMAND_ID)) return {};
    return "the command " + std::to_string(CLEARTRACE_COMMAND_ID) + " did not run";
}

std::string Session::close(const Words&) {
    return withWindow([&](HostDialog& shown) { return substitute::closeWindow(shown); });
}

std::string Session::cancel(const Words&) {
    return withWindow([&](HostDialog& shown) { return substitute::pressButton(shown, IDC_CANCEL); });
}

std::string Session::process(const Words&) {
    return withWindow([&](HostDialog& shown) { return substitute::pressButton(shown, IDC_PROCESS); });
}

std::string Session::about(const Words&) {
    return withWindow([&](HostDialog& shown) { return substitute::chooseMenu(shown, IDM_ABOUT); });
}

std::string Session::helpFile(const Words&) {
    return withWindow([&](HostDialog& shown) { return substitute::chooseMenu(shown, IDM_SHOW_HELP_FILE); });
}

std::string Session::chooseEntry(int32_t combo, const std::string& word, std::span<const ChoiceWord> entries) {
    for (const ChoiceWord& entry : entries) {
        if (word != entry.word) continue;
        const int32_t entryId = entry.entry;
        return withWindow([&](HostDialog& shown) { return substitute::chooseComboEntry(shown, combo, entryId); });
    }
    return "\"" + word + "\" is not one of the choices";
}

std::string Session::action(const Words& args) { return chooseEntry(IDC_ACTION, args[0], actionWords); }

std::string Session::type(const Words& args) { return chooseEntry(IDC_PLUGIN_TYPE, args[0], pluginTypeWords); }

std::string Session::scope(const Words& args) {
    int32_t entry = 0;
    if (!parseNumber(args[0], entry)) return "\"" + args[0] + "\" is not an entry id";
    return withWindow([&](HostDialog& shown) { return substitute::chooseComboEntry(shown, IDC_SCOPE, entry); });
}

std::string Session::id(const Words& args) {
    double value = 0.0;
    if (!parseNumber(args[0], value) || !std::isfinite(value)) return "\"" + args[0] + "\" is not a number";
    return withWindow([&](HostDialog& shown) { return substitute::setNumber(shown, IDC_PLUGIN_ID, value); });
}

std::string Session::check(int32_t box, const std::string& word) {
    if (word != "on" && word != "off") return "\"" + word + "\" is neither on nor off";
    return withWindow([&](HostDialog& shown) { return substitute::setCheckBox(shown, box, word == "on"); });
}

std::string Session::warn(const Words& args) { return check(IDC_WARN_BEFORE_DELETING, args[0]); }

std::string Session::keep(const Words& args) { return check(IDC_KEEP_LAYER_SHADERS, args[0]); }
std::string Session::children(const Words& args) { return check(IDC_KEEP_CHILDREN, args[0]); }

std::string Session::answer(const Words& args) {
    if (args[0] != "yes" && args[0] != "no") return "\"" + args[0] + "\" is neither yes nor no";
    host_.ui.messageBoxes.questionAnswers.push_back(args[0] == "yes" ? HOST_ANSWER_YES : HOST_ANSWER_NO);
    return {};
}

// The answers of the next choosers, as the user would type them.
std::string Session::folder(const Words& args) {
    if (args[0].empty()) return "the folder has no name";
    host_.ui.choosers.folderAnswers.push_back(args[0]);
    return {};
}

// A folder of its own for what the module writes, so that a session run
// again starts afresh; its place differs from run to run, so the output
// names it by what it is.
std::string Session::temporaryFolder(const Words&) {
    std::error_code error;
    fs::path made = makeTemporaryFolder(error);
    if (made.empty()) return "cannot make a temporary folder: " + error.message();
    const std::string number = temporaryFolders_.empty() ? "" : " " + std::to_string(temporaryFolders_.size() + 1);
    output_.showPathAs(made, "<temporary folder" + number + ">");
    temporaryFolders_.push_back(made);
    host_.ui.choosers.folderAnswers.push_back(std::move(made));
    return {};
}

std::string Session::saveFile(const Words& args) {
    if (args[0].empty()) return "the file has no name";
    host_.ui.choosers.saveAnswers.push_back(args[0]);
    return {};
}

std::string Session::saveList(const Words&) {
    return withWindow([&](HostDialog& shown) { return substitute::chooseMenu(shown, IDM_SAVE_LIST); });
}

std::string Session::dialog(const Words&) {
    return withWindow([&](HostDialog& shown) {
        output_.dialog(substitute::describeDialog(shown));
        return std::string();
    });
}

std::string Session::snapshot(const Words& args) {
    substitute::WindowSize size;
    if (args.size() > 1 && !parseWindowSize(args[1], size)) return "\"" + args[1] + "\" is not WIDTHxHEIGHT";
    return withWindow([&](HostDialog& shown) { return writeSnapshot(shown, args[0], size); });
}

// ---- The results list
// ------------------------------------------------------------------

std::string Session::list(const Words&) {
    return withWindow([&](HostDialog& shown) -> std::string {
        // Reading the list needs the window, as for the user; a disabled list can
        // still be read.
        if (!shown.open) return "the window is closed";
        HostGui* treeView = substitute::treeViewIn(shown, IDC_TREE_VIEW);
        if (treeView == nullptr) return "the window has no tree view";
        const substitute::Drawing& drawing = substitute::drawTreeView(*treeView);
        output_.list({substitute::headerTexts(drawing), substitute::rowTexts(drawing)});
        return {};
    });
}

std::string Session::doubleClick(const Words& args) {
    size_t row = 0;
    if (!parseNumber(args[0], row)) return "\"" + args[0] + "\" is not a row number";
    return withWindow(
        [&](HostDialog& shown) { return substitute::doubleClick(shown, IDC_TREE_VIEW, row, COLUMN_NAME); });
}

// ---- The scene
// ---------------------------------------------------------------------------

std::string Session::select(const Words& args) { return selectElements(document(), args); }

std::string Session::deselect(const Words&) {
    deselectAll(document());
    return {};
}

std::string Session::remove(const Words& args) { return deleteElement(host_.scene, document(), args[0]); }

std::string Session::undo(const Words&) { return host_.scene.undo(document()) ? "" : "nothing to undo"; }

std::string Session::redo(const Words&) { return host_.scene.redo(document()) ? "" : "nothing to redo"; }

std::string Session::scene(const Words&) {
    output_.scene(joinLines(substitute::describeScene(host_.scene, document())));
    return {};
}

std::string Session::saveCommand(const Words& args) { return saveTo(args[0]); }

}  // namespace driver
