// Scenes that strain the module: hierarchies, layer shaders and shaders
// below shaders nested very deep, links that lead nowhere or to what the material does not own, and
// lists of very many rows. In each, Generate List must list exactly the
// instances, Remove must undo to the saved scene byte for byte and redo to
// its own result, and nothing may be left behind at quit. Over the damaged
// links, Find Missing Plugins must count exactly the instances, and Remove
// Missing Plugins undo and redo alike and leave what its list says.
#include <string>

#include "checks/check_runs.h"
#include "checks/scene_texts.h"
#include "command_words.h"
#include "framework/build_scale.h"
#include "framework/drawn_list.h"
#include "framework/session_view.h"

namespace validator {
namespace {
namespace fs = std::filesystem;

struct Sizes {
    int64_t depth;       // of the object hierarchies
    int64_t layerDepth;  // of the nested layer shaders
    int64_t damagedCopies;
    int64_t manyRows;
};

Sizes sizesAtLevel(int level) {
    if (level >= 8) return {1000000, 100000, 1000, 1000000 / bulkDivisor};
    return {10000, 10000, 20, 100000 / bulkDivisor};
}

struct HostileCase {
    const char* what;
    PluginType kind;
    bool keepLayerShaders;
    std::string scene;
    int64_t instances;
    // Find and Remove Missing Plugins in place of Generate List and Remove;
    // the instances inside layer shaders, which a removal may keep.
    bool missingPlugins = false;
    int64_t inLayerShaders = 0;
    int32_t scope = 0;
};

HostileCase hostileCase(uint64_t number, const Sizes& sizes) {
    switch (number) {
        case 0: return {"a hierarchy of tags", PluginType::Tag, false, chainScene(sizes.depth, false), sizes.depth};
        case 1:
            return {"a hierarchy of instance objects", PluginType::Object, false, chainScene(sizes.depth, true),
                    sizes.depth};
        case 2:
            return {"nested layer shaders", PluginType::Shader, false, nestedLayersScene(sizes.layerDepth),
                    sizes.layerDepth};
        case 3:
            return {"nested layer shaders, kept", PluginType::Shader, true, nestedLayersScene(sizes.layerDepth),
                    sizes.layerDepth};
        case 4:
            return {"damaged links", PluginType::Shader, false, damagedLinksScene(sizes.damagedCopies),
                    damagedLinksInstances(sizes.damagedCopies)};
        case 5: return {"many rows", PluginType::Tag, false, treeOfTagsScene(sizes.manyRows), sizes.manyRows};
        case 8:
        case 9: {
            // Through layer shaders, whose instances a removal keeps.
            const bool layers = number == 9;
            return {layers ? "layer shaders below layer shaders, kept" : "shaders below shaders",
                    PluginType::Shader,
                    layers,
                    nestedShadersScene(sizes.layerDepth, layers),
                    sizes.layerDepth,
                    false,
                    0,
                    allElementsScope};
        }
        case 10:
        case 11: {
            const bool layers = number == 11;
            return {layers ? "layer shaders below layer shaders, missing plug-ins removed"
                           : "shaders below shaders, missing plug-ins removed",
                    PluginType::Shader,
                    false,
                    nestedShadersScene(sizes.layerDepth, layers),
                    sizes.layerDepth,
                    true};
        }
        default: {
            const bool keep = number == 7;
            return {keep ? "damaged links, missing plug-ins removed, layer shaders kept"
                         : "damaged links, missing plug-ins removed",
                    PluginType::Shader,
                    keep,
                    damagedLinksScene(sizes.damagedCopies),
                    damagedLinksInstances(sizes.damagedCopies),
                    true,
                    damagedLinksInLayerShaders(sizes.damagedCopies)};
        }
    }
}
constexpr uint64_t hostileCases = 12;

// Where two saved scenes part, with a little of each.
std::string difference(const std::string& got, const std::string& expected) {
    size_t at = 0;
    while (at < got.size() && at < expected.size() && got[at] == expected[at]) ++at;
    const size_t from = at > 40 ? at - 40 : 0;
    return "it differs from byte " + std::to_string(at) + " on: \"" + got.substr(from, 80) + "\" instead of \"" +
           expected.substr(from, 80) + "\"";
}

// The rows the last run drew: "" when they are count, else why not.
std::string drewRows(Harness& harness, int64_t count, const std::string& when) {
    const substitute::Drawing* drawing = lastDrawnList(harness);
    if (drawing == nullptr) return when + ": the window shows no results list";
    const auto rows = int64_t(drawing->rowHeights.size());
    if (rows == count) return {};
    return when + " drew " + std::to_string(rows) + " rows for " + std::to_string(count) + " instances";
}

// After everything is removed, a new list shows the one not-found row.
std::string listedNothing(Harness& harness) {
    std::string problem = harness.run("action list; process");
    if (!problem.empty()) return "Generate List after the redo: " + problem;
    const substitute::Drawing* drawing = lastDrawnList(harness);
    const bool notFound = drawing != nullptr && drawing->rowHeights.size() == 1 &&
                          firstColumnText(*drawing, 0).find("not found") != std::string::npos;
    return notFound ? "" : "Generate List after the redo still found instances";
}

// Undo gives back before, redo gives after again: "" or what differs.
std::string undoRedo(Harness& harness, const std::string& before, const std::string& after) {
    std::string problem;
    if (!(problem = harness.run("undo")).empty()) return "undo: " + problem;
    const std::string undone = harness.savedScene();
    if (undone != before) return "undo did not restore the saved scene: " + difference(undone, before);
    if (!(problem = harness.run("redo")).empty()) return "redo: " + problem;
    const std::string redone = harness.savedScene();
    return redone == after ? "" : "redo did not give the scene after the removal: " + difference(redone, after);
}

// Remove, then undo and redo, each compared with the saved scene.
std::string removeUndoRedo(Harness& harness, const HostileCase& c) {
    const std::string before = harness.savedScene();
    std::string problem =
        harness.run(std::string("action remove; keep ") + (c.keepLayerShaders ? "on" : "off") + "; process");
    if (!problem.empty()) return "Remove: " + problem;
    const std::string after = harness.savedScene();
    if (c.keepLayerShaders) {
        // Every instance sits in a layer shader: all stay, all are listed.
        if (after != before) return "Remove changed the scene that it was to keep: " + difference(after, before);
        return drewRows(harness, c.instances, "Remove keeping layer shaders");
    }
    if (after == before) return "Remove left the scene as it was";
    if (!(problem = undoRedo(harness, before, after)).empty()) return problem;
    return listedNothing(harness);
}

// The row of the one missing plug-in with count instances: "" or why not.
std::string missingRow(const Rows& rows, int64_t count, const std::string& when) {
    const Rows expected = {{std::to_string(scenePluginId), "Shader", std::to_string(count)}};
    Rows shown = rows;
    if (shown.size() == 1 && shown[0].size() > 3) shown[0].resize(3);  // the name is the first instance's
    return shown == expected ? "" : when + ": " + rowDifference(expected, shown);
}

// Find Missing Plugins, then Remove Missing Plugins undone and redone; a
// new Find Missing Plugins then lists what the removal's list said: the
// instances in layer shaders when they were kept, else none.
std::string findAndRemoveMissing(Harness& harness, const HostileCase& c) {
    std::string problem = harness.run("open; action find-missing; process");
    if (!problem.empty()) return "Find Missing Plugins: " + problem;
    if (!(problem = missingRow(listedRows(harness), c.instances, "Find Missing Plugins")).empty()) return problem;
    const std::string before = harness.savedScene();
    problem =
        harness.run(std::string("action remove-missing; keep ") + (c.keepLayerShaders ? "on" : "off") + "; process");
    if (!problem.empty()) return "Remove Missing Plugins: " + problem;
    const Rows left = listedRows(harness);
    const std::string after = harness.savedScene();
    if (after == before) return "Remove Missing Plugins left the scene as it was";
    if (!(problem = undoRedo(harness, before, after)).empty()) return problem;
    if (!(problem = harness.run("action find-missing; process")).empty()) return "Find Missing Plugins: " + problem;
    const Rows found = listedRows(harness);
    if (found != left) {
        return "Find Missing Plugins after the redo differs from the removal's list: " + rowDifference(left, found);
    }
    if (c.keepLayerShaders) return missingRow(found, c.inLayerShaders, "Remove Missing Plugins keeping layer shaders");
    if (found.size() == 1 && isNotFoundRow(found[0])) return {};
    return "Remove Missing Plugins left " + rowDifference({{kit::noMissingPlugins}}, found);
}

std::string runHostileCase(const fs::path& module, const HostileCase& c) {
    Harness harness;
    std::string problem = harness.start(module, c.scene);
    if (!problem.empty()) return "cannot start: " + problem;
    if (c.missingPlugins) {
        problem = findAndRemoveMissing(harness, c);
    } else {
        const std::string scope = c.scope == 0 ? "" : "; scope " + std::to_string(c.scope);
        problem = harness.run(std::string("open; type ") + driver::wordFor(c.kind) + scope + "; id " +
                              std::to_string(scenePluginId) + "; action list; process");
        if (!problem.empty()) problem = "Generate List: " + problem;
        if (problem.empty()) problem = drewRows(harness, c.instances, "Generate List");
        if (problem.empty()) problem = removeUndoRedo(harness, c);
    }
    const std::string left = harness.quit();
    if (problem.empty()) problem = left;
    return problem;
}
}  // namespace

CheckResult checkHostileScenes(const CheckSettings& settings, const CaseStarted& started) {
    const Sizes sizes = sizesAtLevel(settings.level);
    return runCases(settings, 0, hostileCases, started, [&](uint64_t number) -> std::string {
        if (number >= hostileCases) return "there is no hostile-scenes case " + std::to_string(number);
        const HostileCase c = hostileCase(number, sizes);
        const std::string problem = runHostileCase(settings.module, c);
        return problem.empty() ? "" : std::string(c.what) + ": " + problem;
    });
}

}  // namespace validator
