// Listed rows double-clicked after the scene changed under them: the element
// deleted, the deletion undone and redone, the window closed and reopened, a
// removal run and undone, objects removed with their children kept (listed
// objects become Nulls, listed tags and objects move into Nulls, by a redo
// under the rows) and combinations. A row may select its own element or
// nothing, never another one and never a dead one (a dead handle passed to
// the host is a fault, which fails the case by itself). A missing plug-in's
// row, double-clicked after deletions, undo, redo and removals, lists that
// plug-in's instances, as many as it counts when nothing changed since it was
// listed (a removal lists what it left); the not-found row does nothing. A
// folder's row, double-clicked after its file was deleted, rewritten, broken
// or replaced by a folder, opens the file as it is now and lists what a fresh
// folder run lists for it, or says the file could not be opened and changes
// nothing. So does a row of a folder clean after its copy or its original was
// deleted, rewritten or broken: it opens the copy when one was written, else
// the original.
#include <fstream>
#include <optional>

#include "checks/check_runs.h"
#include "command_text.h"
#include "command_words.h"
#include "dialog_contract.h"
#include "framework/session_view.h"
#include "scene_folder.h"
#include "scene_paths.h"

namespace validator {
namespace {

// Every name is unique, so a row's name tells its element. The instance
// objects hold objects that stay (Cube > Inner > Leaf, Cube > Twig, Lone >
// Kid), which a removal that keeps children puts in Nulls. Shaders of the
// plug-in are owned by objects (Sphere: three deep, below an installed one;
// Cube, which takes its own along), by tags (Phong, which a Null keeps; T3,
// an instance), by a material, by a video post, and lie below a channel's
// shader and below a layer shader unlinked.
constexpr const char* staleRowsScene = R"({"plugins": [{"id": 1234, "kind": 6, "name": "Old Tag"}],
 "objects": [
   {"name": "Group", "type": 5140, "children": [
     {"name": "Cube", "type": 1234, "tags": [{"name": "T1", "type": 1234},
       {"name": "Phong", "type": 5612, "shaders": [{"name": "O5", "type": 1234}]}],
      "shaders": [{"name": "O4", "type": 1234}],
      "children": [{"name": "Inner", "type": 1234, "tags": [{"name": "T2", "type": 1234}], "children": [
        {"name": "Leaf", "type": 5159, "tags": [{"name": "T5", "type": 1234}]}]},
       {"name": "Twig", "type": 5160}]},
     {"name": "Sphere", "type": 5160, "tags": [
       {"name": "T3", "type": 1234, "shaders": [{"name": "O6", "type": 5832, "shaders": [{"name": "O7", "type": 1234}]}]},
       {"name": "M1", "type": 4242}],
      "shaders": [{"name": "O1", "type": 1234, "shaders": [{"name": "O2", "type": 5832, "shaders": [
        {"name": "O3", "type": 1234}]}]}]}]},
   {"name": "Lone", "type": 1234, "selected": true, "tags": [{"name": "T4", "type": 1234}], "children": [
     {"name": "Kid", "type": 5140, "tags": [{"name": "T6", "type": 1234}]}]}],
 "materials": [
   {"name": "Wood", "type": 5703, "channels": {"0": {"shader": {"name": "S1", "type": 1234,
       "shaders": [{"name": "S6", "type": 1234}]}},
     "3": {"reflectance": [{"name": "L1", "type": 1011123, "layers": [
       {"kind": 2, "shader": {"name": "S2", "type": 1234}}], "shaders": [{"name": "O10", "type": 1234}]}]}},
    "shaders": [{"name": "O8", "type": 1234}]},
   {"name": "Glass", "type": 5703, "selected": true, "channels": {"6": {"shader": {"name": "L2", "type": 1011123,
     "layers": [{"kind": 2, "shader": {"name": "L3", "type": 1011123, "layers": [
       {"kind": 2, "shader": {"name": "S3", "type": 1234}}]}}]}}}},
   {"name": "Engine", "type": 1234, "channels": {"0": {"shader": {"name": "S4", "type": 1234}},
     "5": {"shader": {"name": "L4", "type": 1011123, "layers": [{"kind": 2, "shader": {"name": "S5", "type": 1234}}]}}}},
   {"name": "Engine B", "type": 1234}],
 "renderSettings": [{"name": "Draft", "videoPosts": [{"name": "V0", "type": 1234}]},
   {"name": "Main", "active": true, "videoPosts": [{"name": "V1", "type": 1234}, {"name": "V2", "type": 1234}]},
   {"name": "Final", "videoPosts": [{"name": "V3", "type": 5, "shaders": [{"name": "O9", "type": 1234}]},
     {"name": "V4", "type": 1234}]}]})";
constexpr int32_t pluginId = 1234;

// What happens between the list and the double-clicks.
enum class Step {
    DeleteFirst,  // delete the element of the first row that still has one
    DeleteLast,   // ... of the last row
    DeleteTop,    // delete the top-level ancestor of the first row's element
    Undo,
    Redo,
    Reopen,         // close and reopen the window
    RemoveKeep,     // a removal (layer shaders kept): its rows are listed anew
    RemoveAll,      // a removal of everything: the not-found row
    RemoveRefused,  // a removal answered No: the list stays
    ListAgain,      // a fresh list
    // Remove Plugin of the objects, their children kept in Nulls: of the
    // whole scene, or of Cube and Inner selected alone (Inner below Cube);
    // and with the children not kept. Its rows are listed anew.
    RemoveObjectsKept,
    RemoveSelectedKept,
    RemoveObjectsWhole,
};

const std::vector<std::vector<Step>> scenarios = {
    {Step::DeleteFirst},
    {Step::DeleteLast, Step::Undo},
    {Step::DeleteFirst, Step::Undo, Step::Redo},
    {Step::DeleteLast, Step::Undo, Step::Redo, Step::Undo},
    {Step::DeleteTop, Step::Undo},
    {Step::DeleteTop, Step::DeleteLast, Step::Undo, Step::Undo, Step::Redo},
    {Step::Reopen},
    {Step::DeleteFirst, Step::Reopen, Step::Undo},
    {Step::RemoveKeep, Step::Undo, Step::Redo},
    {Step::RemoveAll, Step::Undo, Step::ListAgain, Step::DeleteTop, Step::Undo},
    {Step::RemoveRefused, Step::DeleteFirst, Step::Undo},
    {Step::DeleteFirst, Step::Undo, Step::ListAgain, Step::DeleteLast, Step::Reopen, Step::Undo, Step::Redo},
    {Step::Reopen, Step::ListAgain, Step::DeleteTop, Step::Undo, Step::Redo, Step::Undo},
    {Step::DeleteFirst, Step::ListAgain, Step::Undo, Step::Redo, Step::Undo},
    // Rows listed before the Nulls come (by a redo), and while they stand.
    {Step::RemoveObjectsKept, Step::Undo, Step::ListAgain, Step::Redo, Step::Undo, Step::Redo},
    {Step::RemoveObjectsKept, Step::ListAgain, Step::Undo, Step::Redo, Step::DeleteTop, Step::Undo},
    {Step::RemoveSelectedKept, Step::Undo, Step::ListAgain, Step::Redo, Step::Reopen, Step::Undo},
    {Step::RemoveSelectedKept, Step::ListAgain, Step::DeleteFirst, Step::Undo, Step::Undo, Step::Redo, Step::Redo},
    {Step::RemoveObjectsWhole, Step::Undo, Step::ListAgain, Step::Redo, Step::Undo},
};

// The lists whose rows are double-clicked: each plug-in type over the whole
// scene, the post effects of every render settings and the shaders of every
// element.
struct Listing {
    PluginType type;
    int32_t scope;
};
constexpr Listing listings[] = {{PluginType::Tag, 0},
                                {PluginType::Shader, 0},
                                {PluginType::Object, 0},
                                {PluginType::PostEffect, 0},
                                {PluginType::Material, 0},
                                {PluginType::PostEffect, allRenderSettingsScope},
                                {PluginType::Shader, allElementsScope}};

// An element the module made active, as it was at that moment.
struct Selected {
    uint64_t id;
    std::string name;
    int32_t type;
    const HostDocument* document;
};

class StaleRowsCase {
public:
    StaleRowsCase(Harness& harness, Listing listing) : harness_(harness), type_(listing.type), scope_(listing.scope) {
        auto previous = harness_.host().scene.onMakeActive;
        harness_.host().scene.onMakeActive = [this, previous](const HostElement& element) {
            selections_.push_back({element.id, element.name, element.type, element.document});
            if (previous) previous(element);
        };
    }

    std::string run(const std::vector<Step>& steps) {
        std::string problem = command("open; " + listCommands());
        if (problem.empty()) problem = takeBaseline();
        for (const Step step : steps) {
            if (problem.empty()) problem = apply(step);
            if (problem.empty()) problem = clickEveryRow();
        }
        return problem;
    }

private:
    std::string listCommands() const {
        return "action list; type " + std::string(driver::wordFor(type_)) + "; scope " + std::to_string(scope_) +
               "; id " + std::to_string(pluginId) + "; process";
    }

    std::string command(const std::string& commands) {
        done_ += (done_.empty() ? "" : "; ") + commands;
        std::string refusal = harness_.run(commands);
        return refusal.empty() ? "" : "`" + commands + "` was refused: " + refusal;
    }

    std::string reason(const std::string& problem) const { return problem + " (after: " + done_ + ")"; }

    // Double-clicks the fresh rows: each selects the element it lists (rows of
    // post effects and the not-found row select nothing), which it must then
    // go on selecting or no longer select anything.
    std::string takeBaseline() {
        rows_ = listedRows(harness_);
        expected_.assign(rows_.size(), std::nullopt);
        for (size_t row = 0; row < rows_.size(); ++row) {
            std::vector<Selected> selected;
            std::string problem = doubleClick(row, selected);
            if (!problem.empty()) return problem;
            const bool listsElement = type_ != PluginType::PostEffect && ownerType(row) != "Post Effect" &&
                                      rows_[row][0].find(" not found.") == std::string::npos;
            if (selected.size() != (listsElement ? 1u : 0u)) {
                return reason("the fresh row " + std::to_string(row) + " (" + rows_[row][0] + ") selected " +
                              std::to_string(selected.size()) + " elements");
            }
            if (!listsElement) continue;
            problem = describes(row, selected[0], true);
            if (!problem.empty()) return problem;
            expected_[row] = selected[0].id;
        }
        return {};
    }

    // Whether what a double-click on row selected is what the row lists: an
    // element of the active document of the row's name, of the plug-in's
    // type when an object or a material listed itself (never the Null that
    // replaced it), carrying the listed tag when fresh, and once the scene
    // changed, the element the fresh row selected.
    std::string describes(size_t row, const Selected& selected, bool fresh) const {
        const HostDocument* active = harness_.host().scene.activeDocument();
        std::string problem;
        // A shader a tag owns selects the tag's object, and its row names the tag.
        const bool ofTag = ownerType(row) == "Tag";
        if (selected.document != active) {
            problem = "an element outside the active document";
        } else if (!ofTag && selected.name != rows_[row][0]) {
            problem = "\"" + selected.name + "\"";
        } else if ((type_ == PluginType::Object || type_ == PluginType::Material) && selected.type != pluginId) {
            problem = "an element of type " + std::to_string(selected.type);
        } else if (fresh && type_ == PluginType::Tag &&
                   !carriesTag(selected.id, rows_[row].size() > 1 ? rows_[row][1] : "", true)) {
            problem = "an object without the listed tag";
        } else if (ofTag && !carriesTag(selected.id, rows_[row][0], false)) {
            problem = "an object without the tag that owns the shader";
        } else if (!fresh && (!expected_[row] || *expected_[row] != selected.id)) {
            problem = "another element named \"" + selected.name + "\"";
        }
        if (problem.empty()) return {};
        return reason(std::string(fresh ? "the fresh" : "the") + " row " + std::to_string(row) + " (" + rows_[row][0] +
                      ") selected " + problem);
    }

    bool carriesTag(uint64_t object, const std::string& tagName, bool instance) const {
        const HostElement* element = harness_.host().scene.elementById(object);
        if (element == nullptr || element->kind != substitute::ElementKind::Object) return false;
        for (const HostElement* tag = substitute::asObject(*element).tags.first; tag != nullptr; tag = tag->next) {
            if (tag->name == tagName && (!instance || tag->type == pluginId)) return true;
        }
        return false;
    }

    // The shaders of every element: the "Owner Type" of row, else empty.
    std::string ownerType(size_t row) const {
        const bool owners = type_ == PluginType::Shader && scope_ == allElementsScope;
        return owners && rows_[row].size() > 1 ? rows_[row][1] : "";
    }

    std::string doubleClick(size_t row, std::vector<Selected>& selected) {
        selections_.clear();
        std::string problem = command("dblclick " + std::to_string(row));
        selected = selections_;
        return problem;
    }

    std::string clickEveryRow() {
        const std::vector<std::vector<std::string>> shown = listedRows(harness_);
        if (shown != rows_ && !shown.empty()) return reason("the list changed without a run");
        for (size_t row = 0; row < shown.size(); ++row) {
            std::vector<Selected> selected;
            std::string problem = doubleClick(row, selected);
            if (!problem.empty()) return reason(problem);
            if (selected.size() > 1) return reason("row " + std::to_string(row) + " selected several elements");
            if (!selected.empty()) problem = describes(row, selected[0], false);
            if (!problem.empty()) return problem;
        }
        return {};
    }

    // The path of the element a row listed, if it lives.
    std::optional<std::string> pathOfRow(size_t row, bool top) {
        if (row >= expected_.size() || !expected_[row]) return std::nullopt;
        const HostElement* element = harness_.host().scene.elementById(*expected_[row]);
        if (element == nullptr || element->document != harness_.host().scene.activeDocument()) return std::nullopt;
        std::string path = driver::pathOf(*element);
        if (top && path.rfind("/", 0) == 0) path = path.substr(0, path.find('/', 1));
        return path;
    }

    std::string deleteRowElement(bool last, bool top) {
        for (size_t i = 0; i < expected_.size(); ++i) {
            const size_t row = last ? expected_.size() - 1 - i : i;
            if (std::optional<std::string> path = pathOfRow(row, top))
                return command("delete " + driver::quoteWord(*path));
        }
        // Rows that list no element (post effects, the not-found row): the
        // scene still changes under them.
        const std::vector<std::string> objects = objectPaths(harness_);
        return objects.empty() ? "" : command("delete " + driver::quoteWord(objects.front()));
    }

    std::string removeObjects(const char* scope, bool children) {
        std::string problem =
            command(std::string("action remove; warn off; children ") + (children ? "on" : "off") +
                    "; type object; scope " + scope + "; id " + std::to_string(pluginId) + "; process");
        return problem.empty() ? takeBaseline() : problem;
    }

    std::string removal(const char* keep, const char* answer) {
        std::string problem =
            command(std::string("action remove; warn on; keep ") + keep + "; answer " + answer + "; process");
        if (problem.empty()) problem = command("action list");
        return problem;
    }

    const substitute::UndoHistory& history() { return harness_.host().scene.activeDocument()->undo; }

    std::string apply(Step step) {
        switch (step) {
            case Step::DeleteFirst: return deleteRowElement(false, false);
            case Step::DeleteLast: return deleteRowElement(true, false);
            case Step::DeleteTop: return deleteRowElement(false, true);
            case Step::Undo: return history().done.empty() ? "" : command("undo");
            case Step::Redo: return history().undone.empty() ? "" : command("redo");
            case Step::Reopen: return command("close; open");
            case Step::RemoveKeep: {
                std::string problem = removal("on", "yes");
                return problem.empty() ? takeBaseline() : problem;
            }
            case Step::RemoveAll: {
                std::string problem = removal("off", "yes");
                return problem.empty() ? takeBaseline() : problem;
            }
            case Step::RemoveRefused: return removal("off", "no");
            case Step::ListAgain: {
                // A reopened window shows Tag and ID 0 again.
                std::string problem = command(listCommands());
                return problem.empty() ? takeBaseline() : problem;
            }
            case Step::RemoveObjectsKept: return removeObjects("0", true);
            case Step::RemoveSelectedKept: {
                std::string problem = command("select /Group/Cube /Group/Cube/Inner");
                return problem.empty() ? removeObjects("2", true) : problem;
            }
            case Step::RemoveObjectsWhole: return removeObjects("0", false);
        }
        return {};
    }

    Harness& harness_;
    PluginType type_;
    int32_t scope_;
    std::vector<std::vector<std::string>> rows_;     // as drawn when the baseline was taken
    std::vector<std::optional<uint64_t>> expected_;  // per row: the element it listed
    std::vector<Selected> selections_;
    std::string done_;
};

// What happens between a missing-plug-ins list and the double-click.
enum class MissingStep {
    DeleteFirst,         // the first object
    DeleteLast,          // the last object
    DeleteMaterial,      // the first material
    DeleteLastMaterial,  // the last material, one of a missing plug-in
    Undo,
    Redo,
    RemoveKeep,
    RemoveAll,
    RemoveWithoutChildren,  // the missing objects taken with what they hold
};

const std::vector<std::vector<MissingStep>> missingScenarios = {
    {},  // fresh rows
    {MissingStep::RemoveKeep},
    {MissingStep::DeleteLastMaterial, MissingStep::RemoveKeep},
    {MissingStep::DeleteFirst},
    {MissingStep::DeleteLast, MissingStep::Undo},
    {MissingStep::DeleteMaterial, MissingStep::Undo, MissingStep::Redo},
    {MissingStep::DeleteLastMaterial},
    {MissingStep::DeleteLastMaterial, MissingStep::Undo, MissingStep::Redo, MissingStep::Undo},
    {MissingStep::DeleteFirst, MissingStep::Undo, MissingStep::Redo, MissingStep::Undo},
    {MissingStep::RemoveKeep, MissingStep::Undo},
    {MissingStep::RemoveAll, MissingStep::Undo, MissingStep::Redo},
    {MissingStep::RemoveAll, MissingStep::Undo},
    {MissingStep::RemoveKeep, MissingStep::Undo, MissingStep::Redo},
    {MissingStep::RemoveWithoutChildren},
    {MissingStep::RemoveWithoutChildren, MissingStep::Undo},
};

class MissingRowsCase {
public:
    explicit MissingRowsCase(Harness& harness) : harness_(harness) {}

    // The steps, then a double-click on row (when the list has it).
    std::string run(const std::vector<MissingStep>& steps, size_t row) {
        std::string problem = command("open; action find-missing; process");
        rows_ = listedRows(harness_);
        countsHold_ = true;
        for (const MissingStep step : steps) {
            if (problem.empty()) problem = apply(step);
        }
        if (!problem.empty() || row >= rows_.size()) return problem;
        return doubleClick(row, countsHold_);
    }

    size_t rowCount() const { return rows_.size(); }

private:
    std::string command(const std::string& commands) {
        done_ += (done_.empty() ? "" : "; ") + commands;
        std::string refusal = harness_.run(commands);
        return refusal.empty() ? "" : reason("`" + commands + "` was refused: " + refusal);
    }

    std::string reason(const std::string& problem) const { return problem + " (after: " + done_ + ")"; }

    double value(int32_t id) {
        const substitute::Control* control = windowControl(harness_, id);
        return control ? control->value : -1.0;
    }

    std::string apply(MissingStep step) {
        countsHold_ = false;
        const std::vector<std::string> objects = objectPaths(harness_);
        const std::vector<std::string> materials = materialPaths(harness_);
        const substitute::UndoHistory& history = harness_.host().scene.activeDocument()->undo;
        switch (step) {
            case MissingStep::DeleteFirst:
                return objects.empty() ? "" : command("delete " + driver::quoteWord(objects.front()));
            case MissingStep::DeleteLast:
                return objects.empty() ? "" : command("delete " + driver::quoteWord(objects.back()));
            case MissingStep::DeleteMaterial:
                return materials.empty() ? "" : command("delete " + driver::quoteWord(materials.front()));
            case MissingStep::DeleteLastMaterial:
                return materials.empty() ? "" : command("delete " + driver::quoteWord(materials.back()));
            case MissingStep::Undo: return history.done.empty() ? "" : command("undo");
            case MissingStep::Redo: return history.undone.empty() ? "" : command("redo");
            case MissingStep::RemoveKeep:
            case MissingStep::RemoveAll:
            case MissingStep::RemoveWithoutChildren: {
                const char* keep = step == MissingStep::RemoveKeep ? "on" : "off";
                const char* children = step == MissingStep::RemoveWithoutChildren ? "off" : "on";
                std::string problem = command(std::string("action remove-missing; warn off; keep ") + keep +
                                              "; children " + children + "; process");
                rows_ = listedRows(harness_);
                countsHold_ = true;  // the list counts what the removal left
                return problem;
            }
        }
        return {};
    }

    // The not-found row does nothing; a plug-in's row sets the window to
    // Generate List of its type and id over the whole scene and lists what a
    // Process there lists (fresh, listed by the last Find or Remove Missing
    // Plugins with no change since: as many rows as it counts).
    std::string doubleClick(size_t row, bool fresh) {
        const std::vector<std::string>& clicked = rows_[row];
        const std::string what = "row " + std::to_string(row) + " (" + clicked[0] + ")";
        const double action = value(IDC_ACTION);
        std::string problem = command("dblclick " + std::to_string(row));
        if (!problem.empty()) return problem;
        const Rows shown = listedRows(harness_);
        if (isNotFoundRow(clicked)) {
            if (value(IDC_ACTION) != action || shown != rows_)
                return reason("the not-found " + what + " did something");
            return {};
        }
        int32_t type = -1;
        for (const ComboEntry& entry : pluginTypeEntries) {
            if (clicked.size() > 1 && clicked[1] == entry.text) type = entry.id;
        }
        // Post effects are counted over every render settings, the others over the whole scene.
        const double scope = everyInstanceScope(PluginType(type));
        if (value(IDC_ACTION) != entryId(Action::GenerateList) || value(IDC_PLUGIN_TYPE) != type ||
            value(IDC_SCOPE) != scope || std::to_string(int64_t(value(IDC_PLUGIN_ID))) != clicked[0]) {
            return reason(what + " did not set the window to Generate List of its type and id");
        }
        problem = command("process");
        if (!problem.empty()) return problem;
        const Rows listed = listedRows(harness_);
        if (shown != listed)
            return reason(what + " listed other rows than its Process: " + rowDifference(listed, shown));
        const bool none = listed.size() == 1 && isNotFoundRow(listed[0]);
        const std::string count = std::to_string(none ? 0 : listed.size());
        if (fresh && (clicked.size() < 3 || clicked[2] != count)) {
            return reason(what + " counts " + (clicked.size() < 3 ? "nothing" : clicked[2]) + " instances; " + count +
                          " are listed");
        }
        return {};
    }

    Harness& harness_;
    Rows rows_;
    // Nothing changed the scene since rows_ were listed: their counts are true.
    bool countsHold_ = false;
    std::string done_;
};

// What happens to every scene file of a folder between its list and the double-click.
enum class FileStep {
    Delete,   // the file is gone
    Rewrite,  // other missing plug-ins in it
    Break,    // no scene any more
    Folder,   // a folder in its place
};

struct FileScenario {
    bool clean;   // the rows of a folder clean, else of a folder search
    bool copies;  // the steps change the clean's copies, else the originals
    std::vector<FileStep> steps;
};

const std::vector<FileScenario> fileScenarios = {
    {false, false, {}},
    {false, false, {FileStep::Delete}},
    {false, false, {FileStep::Rewrite}},
    {false, false, {FileStep::Break}},
    {false, false, {FileStep::Folder}},
    {false, false, {FileStep::Delete, FileStep::Rewrite}},
    {true, true, {}},
    {true, true, {FileStep::Delete}},
    {true, true, {FileStep::Rewrite}},
    {true, true, {FileStep::Break}},
    {true, false, {FileStep::Delete}},
    {true, false, {FileStep::Rewrite}},
};

// The files of the folder: missing plug-ins of several kinds, one missing
// tag, none missing.
const std::pair<const char*, const char*> folderFiles[] = {
    {"a.json", staleRowsScene},
    {"sub/b.json", R"({"objects": [{"name": "B", "type": 5159, "tags": [{"name": "T", "type": 4242}]}]})"},
    {"sub/c.json", R"({"objects": [{"name": "C", "type": 5140}]})"},
};
constexpr const char* rewrittenScene =
    R"({"objects": [{"name": "New", "type": 3000001, "tags": [{"name": "NT", "type": 3000002}]}]})";

class FolderRowsCase {
public:
    // destination: where a clean writes its copies (empty: a search).
    FolderRowsCase(Harness& harness, std::filesystem::path folder, std::filesystem::path destination)
        : harness_(harness), folder_(std::move(folder)), destination_(std::move(destination)) {
        auto previous = harness_.host().scene.onOpenDocument;
        harness_.host().scene.onOpenDocument = [this, previous](const std::filesystem::path& file) {
            opened_ = file;
            if (previous) previous(file);
        };
    }

    // The folder's list, the steps on its files (or their copies), then a double-click on row.
    std::string run(const FileScenario& scenario, size_t row) {
        std::string problem = command("open; " + listCommands());
        rows_ = listedRows(harness_);
        for (const FileStep step : scenario.steps) apply(step, scenario.copies ? destination_ : folder_);
        if (!problem.empty() || row >= rows_.size()) return problem;
        return doubleClick(row);
    }

    size_t rowCount() const { return rows_.size(); }

private:
    std::string listCommands() const {
        if (destination_.empty()) return searchCommands(folder_);
        return "action remove-missing-folder; warn off; folder " + driver::quoteWord(folder_.string()) + "; folder " +
               driver::quoteWord(destination_.string()) + "; process";
    }

    static std::string searchCommands(const std::filesystem::path& folder) {
        return "action find-missing-folder; folder " + driver::quoteWord(folder.string()) + "; process";
    }

    std::string command(const std::string& commands) {
        done_ += (done_.empty() ? "" : "; ") + commands;
        std::string refusal = harness_.run(commands);
        return refusal.empty() ? "" : reason("`" + commands + "` was refused: " + refusal);
    }

    std::string reason(const std::string& problem) const { return problem + " (after: " + done_ + ")"; }

    void apply(FileStep step, const std::filesystem::path& folder) {
        namespace fs = std::filesystem;
        done_ += std::string(done_.empty() ? "" : "; ") + "(every file " + (folder == folder_ ? "" : "copy ") +
                 (step == FileStep::Delete    ? "deleted"
                  : step == FileStep::Rewrite ? "rewritten"
                  : step == FileStep::Break   ? "broken"
                                              : "replaced by a folder") +
                 ")";
        for (const auto& [relative, text] : folderFiles) {
            const fs::path file = folder / relative;
            std::error_code error;
            if (step == FileStep::Delete || step == FileStep::Folder) fs::remove_all(file, error);
            if (step == FileStep::Folder) fs::create_directories(file / "inside", error);
            if (step == FileStep::Rewrite || step == FileStep::Break) {
                std::ofstream(file, std::ios::binary) << (step == FileStep::Rewrite ? rewrittenScene : "{\"objects\"");
            }
        }
    }

    // The rows a fresh folder search of folder lists for file, without the file's column.
    Rows freshRowsOf(const std::string& file, const std::filesystem::path& folder) {
        Rows rows;
        if (!command(searchCommands(folder)).empty()) return rows;
        for (const std::vector<std::string>& line : listedRows(harness_)) {
            if (line[0] == file) rows.emplace_back(line.begin() + 1, line.end());
        }
        return rows;
    }

    std::string doubleClick(size_t row) {
        const std::string file = rows_[row][0];
        const HostDocument* active = harness_.host().scene.activeDocument();
        const size_t boxes = harness_.boxTexts().size();
        // A clean's row opens its copy when it names one.
        const bool copy = !destination_.empty() && rows_[row].size() == 6 && rows_[row][5] == file;
        const std::filesystem::path folder = copy ? destination_ : folder_;
        opened_.clear();
        std::string problem = command("dblclick " + std::to_string(row));
        if (!problem.empty()) return problem;
        const std::vector<std::string> texts = harness_.boxTexts();
        const std::vector<std::string> said(texts.begin() + std::ptrdiff_t(boxes), texts.end());
        const Rows shown = listedRows(harness_);
        const HostDocument* now = harness_.host().scene.activeDocument();
        const std::string what = "the row of " + file;
        if (now == active) {
            if (said != std::vector<std::string>{"Cleartrace could not open " + file + "."} || shown != rows_) {
                return reason(what + ", not opened, did not say so alone or changed the list");
            }
            // A fresh run cannot open it either.
            const Rows fresh = freshRowsOf(file, folder);
            if (!fresh.empty() && (fresh.size() != 1 || fresh[0][0] != "Could not open this file.")) {
                return reason(what + " could not be opened, but a fresh folder run opens it");
            }
            return {};
        }
        if (!said.empty()) return reason(what + " opened its file but said \"" + said.back() + "\"");
        if (opened_ != folder / file) {
            return reason(what + " opened " + opened_.string() + ", not " + (folder / file).string());
        }
        const Rows fresh = freshRowsOf(file, folder);
        if (shown != fresh) {
            return reason(what +
                          " opened its file, whose Find Missing Plugins lists other rows than a fresh folder run: " +
                          rowDifference(fresh, shown));
        }
        return {};
    }

    Harness& harness_;
    std::filesystem::path folder_;
    std::filesystem::path destination_;
    std::filesystem::path opened_;  // by the last double-click
    Rows rows_;
    std::string done_;
};

// Each row of the scenario's folder list, double-clicked in a session of its
// own over a folder of its own (a double-click may replace the list).
std::string runFolderRows(const CheckSettings& settings, const FileScenario& scenario) {
    for (size_t row = 0;; ++row) {
        const kit::TemporaryFolder folder("stale-rows");
        const kit::TemporaryFolder copies("stale-rows-copies");
        for (const auto& [relative, text] : folderFiles) folder.write(relative, text);
        Harness harness;
        std::string problem = harness.start(settings.module, staleRowsScene);
        if (!problem.empty()) return "the session did not start: " + problem;
        FolderRowsCase folderRows(harness, folder.path(), scenario.clean ? copies.path() : std::filesystem::path());
        problem = folderRows.run(scenario, row);
        if (!problem.empty()) return problem;
        problem = harness.quit();
        if (!problem.empty()) return "at quit: " + problem;
        if (row + 1 >= folderRows.rowCount()) return {};
    }
}

// Each row of the scenario's list, double-clicked in a session of its own
// (a double-click replaces the list).
std::string runMissingRows(const CheckSettings& settings, const std::vector<MissingStep>& steps) {
    for (size_t row = 0;; ++row) {
        Harness harness;
        std::string problem = harness.start(settings.module, staleRowsScene);
        if (!problem.empty()) return "the session did not start: " + problem;
        MissingRowsCase missingRows(harness);
        problem = missingRows.run(steps, row);
        if (!problem.empty()) return problem;
        problem = harness.quit();
        if (!problem.empty()) return "at quit: " + problem;
        if (row + 1 >= missingRows.rowCount()) return {};
    }
}

std::string runStaleRows(const CheckSettings& settings, uint64_t number) {
    const uint64_t instanceCases = std::size(listings) * scenarios.size();
    const uint64_t missingCases = instanceCases + missingScenarios.size();
    if (number >= missingCases + fileScenarios.size()) return "there is no case " + std::to_string(number);
    if (number >= missingCases) return runFolderRows(settings, fileScenarios[number - missingCases]);
    if (number >= instanceCases) return runMissingRows(settings, missingScenarios[number - instanceCases]);
    const Listing listing = listings[number % std::size(listings)];
    const std::vector<Step>& steps = scenarios[(number / std::size(listings)) % scenarios.size()];
    Harness harness;
    std::string problem = harness.start(settings.module, staleRowsScene);
    if (!problem.empty()) return "the session did not start: " + problem;
    StaleRowsCase staleRows(harness, listing);
    problem = staleRows.run(steps);
    if (!problem.empty()) return problem;
    problem = harness.quit();
    return problem.empty() ? "" : "at quit: " + problem;
}

}  // namespace

CheckResult checkStaleRows(const CheckSettings& settings, const CaseStarted& started) {
    return runCases(settings, 0,
                    std::size(listings) * scenarios.size() + missingScenarios.size() + fileScenarios.size(), started,
                    [&](uint64_t number) { return runStaleRows(settings, number); });
}

}  // namespace validator
