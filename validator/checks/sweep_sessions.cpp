#include "checks/sweep_sessions.h"

#include "checks/random_scene.h"
#include "command_words.h"
#include "deep_scene.h"

namespace validator {
namespace {

// Every place an instance can be: tags and objects in a hierarchy, channel
// shaders, reflectance shaders (one owned by another material), nested layer
// shaders, materials (one holding instance shaders), video posts of the
// active render settings and of inactive ones before and after it; objects
// and materials selected; three registered plug-ins.
constexpr const char* placesScene = R"({"plugins": [{"id": 1234, "kind": 6, "name": "Old Tag"},
   {"id": 4321, "kind": 8, "name": "Old Effect"}, {"id": 4444, "kind": 2, "name": "Old Engine"}],
 "objects": [
   {"name": "Group", "type": 5140, "selected": true, "children": [
     {"name": "Cube", "type": 1234, "tags": [{"name": "Old", "type": 1234}, {"name": "Phong", "type": 5612},
       {"name": "Old.1", "type": 1234}],
      "children": [{"name": "Inner", "type": 1234, "tags": [{"name": "Old.2", "type": 1234}]}]},
     {"name": "Sphere", "type": 5160, "selected": true, "tags": [{"name": "Old.3", "type": 1234}]}]},
   {"name": "Lone", "type": 1234}],
 "materials": [
   {"name": "Wood", "type": 5703, "channels": {"0": {"shader": {"name": "Old", "type": 1234}},
     "3": {"reflectance": [{"name": "Old", "type": 1234}, {"name": "Layers", "type": 1011123, "layers": [
       {"kind": 2, "shader": {"name": "Old", "type": 1234}}, {"kind": 2, "shader": null}, {"kind": 1}]},
       {"name": "Foreign", "type": 1234, "owner": "Glass"}]}}},
   {"name": "Glass", "type": 5703, "selected": true, "channels": {
     "6": {"shader": {"name": "L", "type": 1011123, "layers": [
       {"kind": 2, "shader": {"name": "L2", "type": 1011123, "layers": [
         {"kind": 2, "shader": {"name": "Deep", "type": 1234}}]}},
       {"kind": 2, "shader": {"name": "Old", "type": 1234}}]}},
     "13": {"shader": {"name": "Old", "type": 1234}}}},
   {"name": "Legacy", "type": 1234, "selected": true, "channels": {"0": {"shader": {"name": "Old", "type": 1234}},
     "5": {"shader": {"name": "L", "type": 1011123, "layers": [{"kind": 2, "shader": {"name": "Old", "type": 1234}}]}}}},
   {"name": "Engine", "type": 4444}, {"name": "Legacy.1", "type": 1234}],
 "renderSettings": [{"name": "Other", "videoPosts": [{"name": "Hidden", "type": 1234}]},
   {"name": "Main", "active": true, "videoPosts": [{"name": "Glow", "type": 1234}, {"name": "Keep", "type": 5},
     {"name": "Glow.1", "type": 1234}]},
   {"name": "Last", "videoPosts": [{"name": "Late", "type": 1234}, {"name": "Only here", "type": 6666}]}]})";
constexpr int32_t placesId = 1234;
// Registered but not in the scene; in no registry; only a video post; only
// a material; only a video post of an inactive render settings.
constexpr int32_t placesIdentifyIds[] = {1234, 4321, 999, 5, 4444, 6666};

// Instances of one plug-in (1234, missing as an object; 4242 a missing tag)
// that hold objects that stay, nested both ways: Generator > Tree > Seeder >
// Seed, and Generator > Inner > Inner.1 > Rock; instances that hold only
// instances (Gone, Lone > Lone.1); an instance below a kept selected object
// (Camera > Rig > Target). Selected: Generator and the instances Seeder and
// Inner.1 below it, and Camera.
constexpr const char* keptChildrenScene = R"({"plugins": [{"id": 1234, "kind": 6, "name": "Old Tag"}],
 "objects": [
   {"name": "Generator", "type": 1234, "selected": true, "tags": [{"name": "Phong", "type": 5612},
     {"name": "Data", "type": 4242}, {"name": "Old", "type": 1234}], "children": [
     {"name": "Tree", "type": 5159, "tags": [{"name": "Texture", "type": 5616}], "children": [
       {"name": "Seeder", "type": 1234, "selected": true, "tags": [{"name": "Data", "type": 4242}], "children": [
         {"name": "Seed", "type": 5160}]}]},
     {"name": "Inner", "type": 1234, "children": [
       {"name": "Inner.1", "type": 1234, "selected": true, "children": [
         {"name": "Rock", "type": 5160, "tags": [{"name": "Phong", "type": 5612}]}]},
       {"name": "Gone", "type": 1234}]},
     {"name": "Gone", "type": 1234, "tags": [{"name": "Phong", "type": 5612}]}]},
   {"name": "Lone", "type": 1234, "children": [{"name": "Lone.1", "type": 1234}]},
   {"name": "Camera", "type": 5103, "selected": true, "children": [
     {"name": "Rig", "type": 1234, "children": [{"name": "Target", "type": 5140}]}]}],
 "materials": [], "renderSettings": []})";

// Shaders of the plug-in wherever they can be owned: by an instance object
// (they go with it; the Null that keeps its child does not keep them), by an
// object that stays (below an installed shader, three deep) and by its tag;
// below a channel's shader, in a layer shader linked and unlinked; by a
// material and by video posts of the active and another render settings.
// Plug-in 7777 is only a shader a video post owns.
constexpr const char* ownedShadersScene = R"({"plugins": [{"id": 1234, "kind": 6, "name": "Old Tag"}],
 "objects": [
   {"name": "Gen", "type": 1234, "shaders": [{"name": "Own", "type": 1234}], "children": [
     {"name": "Kid", "type": 5159, "tags": [{"name": "Tex", "type": 5616, "shaders": [{"name": "Old", "type": 1234}]}],
      "shaders": [{"name": "Noise", "type": 1011116, "shaders": [{"name": "Old", "type": 1234, "shaders": [
        {"name": "Deep", "type": 1234}]}]}]}]}],
 "materials": [{"name": "Mat", "type": 5703, "channels": {
     "0": {"shader": {"name": "Ch", "type": 1011116, "shaders": [{"name": "Old", "type": 1234}]}},
     "6": {"shader": {"name": "Layers", "type": 1011123, "layers": [{"kind": 2, "shader": {"name": "Old", "type": 1234}}],
       "shaders": [{"name": "Unlinked", "type": 1234}]}}},
   "shaders": [{"name": "Own", "type": 1234}]}],
 "renderSettings": [
   {"name": "Main", "active": true, "videoPosts": [{"name": "Glow", "type": 300001, "shaders": [
     {"name": "Post", "type": 1234}, {"name": "Only", "type": 7777}]}]},
   {"name": "Other", "videoPosts": [{"name": "Hidden", "type": 300001, "shaders": [{"name": "Late", "type": 1234}]}]}]})";
// Only a shader a video post owns; in no registry.
constexpr int32_t ownedIdentifyIds[] = {7777, 999};

// selection: "" or a `select` command; children: the box "Keep Children of
// Removed Objects".
std::string commandsFor(Action action, PluginType type, int scope, bool keep, int32_t id,
                        const std::string& selection = "", bool warn = false, bool children = true) {
    return std::string("open; ") + (selection.empty() ? "" : selection + "; ") + "action remove; warn " +
           (warn ? "on" : "off") + "; keep " + (keep ? "on" : "off") + "; children " + (children ? "on" : "off") +
           "; type " + driver::wordFor(type) + "; scope " + std::to_string(scope) + "; action " +
           driver::wordFor(action) + "; id " + std::to_string(id) + "; process";
}

// Selections that hold an element together with its descendants, and
// removals confirmed at the question.
void addSelectionSessions(std::vector<SweepSession>& sessions) {
    const std::string nested = "select /Group /Group/Cube /Group/Cube/Inner";
    for (const PluginType type : {PluginType::Tag, PluginType::Object}) {
        for (const int scope : {1, 2}) {
            sessions.push_back(
                {placesScene, commandsFor(Action::Remove, type, scope, false, placesId, nested), Action::Remove});
        }
    }
    // A selected instance below another: taken along with the children not kept.
    sessions.push_back({placesScene,
                        commandsFor(Action::Remove, PluginType::Object, 2, false, placesId, nested, false, false),
                        Action::Remove});
    const std::string materials = "select mat:Glass mat:Wood";
    sessions.push_back(
        {placesScene, commandsFor(Action::Remove, PluginType::Shader, 2, true, placesId, materials), Action::Remove});
    sessions.push_back({placesScene,
                        commandsFor(Action::Remove, PluginType::Shader, 2, false, placesId, materials, true),
                        Action::Remove});
    sessions.push_back(
        {placesScene,
         commandsFor(Action::Remove, PluginType::Material, 2, false, placesId, "select mat:Legacy mat:Glass", true),
         Action::Remove});
    sessions.push_back({placesScene, commandsFor(Action::Remove, PluginType::PostEffect, 0, false, placesId, "", true),
                        Action::Remove});
    sessions.push_back(
        {placesScene,
         commandsFor(Action::Remove, PluginType::PostEffect, allRenderSettingsScope, false, placesId, "", true),
         Action::Remove});
}

// Find Missing Plugins, a Generate List after it (which puts back the plug-in
// type's columns), and Remove Missing Plugins with the question and without,
// layer shaders kept and not.
void addMissingSessions(std::vector<SweepSession>& sessions, const std::string& scene) {
    sessions.push_back({scene, "open; action find-missing; process", Action::FindMissing});
    sessions.push_back({scene, "open; action find-missing; process; action list; process", Action::GenerateList});
    for (const char* warn : {"off", "on"}) {
        for (const char* keep : {"off", "on"}) {
            sessions.push_back(
                {scene, std::string("open; action remove-missing; warn ") + warn + "; keep " + keep + "; process",
                 Action::RemoveMissing});
        }
    }
    sessions.push_back({scene, "open; action remove-missing; warn off; children off; process", Action::RemoveMissing});
}

// Removed objects that hold objects that stay: each becomes a Null holding
// them, made, filled and recorded for undo in one group. Remove Plugin of
// objects in every scope and Remove Missing Plugins, the children kept (and
// once each not).
void addKeptChildrenSessions(std::vector<SweepSession>& sessions) {
    for (const ComboEntry& scope : scopeEntries[entryId(PluginType::Object)]) {
        sessions.push_back({keptChildrenScene,
                            commandsFor(Action::Remove, PluginType::Object, scope.id, false, placesId, "", true),
                            Action::Remove});
    }
    sessions.push_back({keptChildrenScene,
                        commandsFor(Action::Remove, PluginType::Object, 2, false, placesId, "", false, false),
                        Action::Remove});
    for (const char* warn : {"off", "on"}) {
        sessions.push_back({keptChildrenScene, std::string("open; action remove-missing; warn ") + warn + "; process",
                            Action::RemoveMissing});
    }
    sessions.push_back(
        {keptChildrenScene, "open; action remove-missing; warn off; children off; process", Action::RemoveMissing});
}

// The shaders of every element listed and removed (layer shaders kept and
// not), beside the channels' walk; an instance object removed with its
// child kept; Identify finding a shader only an element owns.
void addOwnedShaderSessions(std::vector<SweepSession>& sessions) {
    for (const Action action : {Action::GenerateList, Action::Remove}) {
        for (const int scope : {0, allElementsScope}) {
            sessions.push_back(
                {ownedShadersScene, commandsFor(action, PluginType::Shader, scope, false, placesId), action});
        }
    }
    sessions.push_back({ownedShadersScene,
                        commandsFor(Action::Remove, PluginType::Shader, allElementsScope, true, placesId),
                        Action::Remove});
    sessions.push_back(
        {ownedShadersScene, commandsFor(Action::Remove, PluginType::Object, 0, false, placesId), Action::Remove});
    for (const int32_t id : ownedIdentifyIds) {
        sessions.push_back(
            {ownedShadersScene, commandsFor(Action::Identify, PluginType::Shader, 0, false, id), Action::Identify});
    }
    addMissingSessions(sessions, ownedShadersScene);
}

// Find Missing Plugins in Folder over scenes with every kind of place, one
// with nothing missing, and one that is no scene, nested in subfolders.
void addFolderSession(std::vector<SweepSession>& sessions, int depth) {
    SweepSession session{R"({"objects": [{"name": "Open", "type": 5140}]})",
                         std::string("open; action find-missing-folder; folder ") + sweepFolderMark + "; process",
                         Action::FindMissingInFolder};
    session.files = {{"a/places.json", placesScene},
                     {"a/b/clean.json", R"({"objects": [{"name": "Null", "type": 5140}]})"},
                     {"broken.json", R"({"objects": [)"},
                     {"c/deep.json", kit::deepScene(depth, 1234567)}};
    sessions.push_back(std::move(session));
}

// Remove Missing Plugins in Folder over scenes with every kind of place and
// removed objects holding objects that stay, one with nothing missing and
// one that is no scene: children kept with the question, and (from a higher
// level on, as a clean makes many requests) not kept with layer shaders kept.
void addFolderCleanSessions(std::vector<SweepSession>& sessions, int level) {
    const std::string folders = std::string("folder ") + sweepFolderMark + "; folder " + sweepDestinationMark;
    std::vector<const char*> boxSettings = {"warn on; children on; keep off; answer yes"};
    if (level >= 6) boxSettings.push_back("warn off; children off; keep on");
    for (const char* boxes : boxSettings) {
        SweepSession session{R"({"objects": [{"name": "Open", "type": 5140}]})",
                             std::string("open; action remove-missing-folder; ") + boxes + "; " + folders + "; process",
                             Action::RemoveMissingInFolder};
        session.files = {{"a/places.json", placesScene},
                         {"a/b/clean.json", R"({"objects": [{"name": "Null", "type": 5140}]})"},
                         {"broken.json", R"({"objects": [)"},
                         {"kept.json", keptChildrenScene}};
        sessions.push_back(std::move(session));
    }
}

// Random scenes with one random Process each.
void addRandomSessions(std::vector<SweepSession>& sessions, int count) {
    SceneShape shape;
    shape.objects = 10;
    for (int number = 0; number < count; ++number) {
        Choices choices(uint64_t(number) + 1);
        const std::string scene = randomScene(choices, shape);
        // The actions on the open scene: a folder run needs a folder of its own.
        const Action action = Action(choices.below(uint64_t(entryId(Action::RemoveMissing)) + 1));
        const int type = int(choices.below(pluginTypeCount));
        const std::span<const ComboEntry> scopes = scopeEntries[type];
        const int scope = scopes[choices.below(scopes.size())].id;
        const bool keep = choices.oneIn(2);
        const int32_t id = choices.pick(randomPluginIds);
        sessions.push_back({scene, commandsFor(action, PluginType(type), scope, keep, id), action});
    }
}

// Each action in {actions} on each type and scope (a removal also keeping
// layer shaders), and Identify for each id.
void addSessions(std::vector<SweepSession>& sessions, const std::string& scene, int32_t id,
                 std::initializer_list<Action> actions, const std::vector<int32_t>& identifyIds) {
    for (const Action action : actions) {
        for (int type = 0; type < pluginTypeCount; ++type) {
            for (const ComboEntry& scope : scopeEntries[type]) {
                sessions.push_back({scene, commandsFor(action, PluginType(type), scope.id, false, id), action});
            }
        }
        if (action == Action::Remove) {
            sessions.push_back({scene, commandsFor(Action::Remove, PluginType::Shader, 0, true, id), Action::Remove});
        }
    }
    for (const int32_t identifyId : identifyIds) {
        sessions.push_back(
            {scene, commandsFor(Action::Identify, PluginType::Tag, 0, false, identifyId), Action::Identify});
    }
}

}  // namespace

// Each run starts the module afresh, so a session costs about as many runs
// as it makes requests (some 25 here), whatever the size of its scene.
std::vector<SweepSession> sweepSessions(int level) {
    std::vector<SweepSession> sessions;
    addSessions(sessions, placesScene, placesId, {Action::GenerateList, Action::Remove},
                {std::begin(placesIdentifyIds), std::end(placesIdentifyIds)});
    addSelectionSessions(sessions);
    addMissingSessions(sessions, placesScene);
    addKeptChildrenSessions(sessions);
    addOwnedShaderSessions(sessions);
    constexpr int32_t deepId = 1234567;
    const int depth = level >= 8 ? 40 : 12;
    addFolderSession(sessions, level >= 4 ? depth : 3);
    addFolderCleanSessions(sessions, level);
    if (level >= 4) addSessions(sessions, kit::deepScene(depth, deepId), deepId, {Action::Remove}, {});
    if (level >= 4) addMissingSessions(sessions, kit::deepScene(depth, deepId));
    if (level >= 6) addSessions(sessions, kit::deepScene(depth, deepId), deepId, {Action::GenerateList}, {deepId, 999});
    if (level >= 6) addRandomSessions(sessions, 4 * (level - 5));
    return sessions;
}

}  // namespace validator
