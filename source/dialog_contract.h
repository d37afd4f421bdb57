// The dialog's contract with the outside: the command id that opens it, the
// ids of its controls and string resources, and the entries of its combo
// boxes. The module builds the window from these; the driver and the tests
// operate it with the same ones.
#pragma once

#include <cstdint>
#include <span>

// The command's plug-in id, also the dialog's id in the host's window layout.
inline constexpr int32_t CLEARTRACE_COMMAND_ID = 1066888;

// Three numberings meet in this module; their names keep them apart:
//   type id      the host's number of what made a scene element (an object,
//                tag, shader or video post); a plug-in's instances carry the
//                plug-in ID as their type id (host::typeId).
//   plug-in kind the host registry's kind of a registered plug-in
//                (HOST_PLUGIN_KIND_*, named by typeNameFor).
//   PluginType   the dialog's own five plug-in types, the entry ids of its
//                "Plugin Type" box; also the kind of a result row.
enum class PluginType : int32_t { Tag = 0, Shader = 1, Object = 2, PostEffect = 3, Material = 4 };
inline constexpr int32_t pluginTypeCount = 5;
// The entry ids of the "Action to Take" box. The last four search for every
// plug-in the host does not know, whatever the plug-in ID: the last two in
// the scene files of a folder rather than in the active scene, the last
// writing a cleaned copy of each to another folder.
enum class Action : int32_t {
    Identify = 0,
    GenerateList = 1,
    Remove = 2,
    FindMissing = 3,
    RemoveMissing = 4,
    FindMissingInFolder = 5,
    RemoveMissingInFolder = 6,
};

inline constexpr int32_t entryId(PluginType type) { return int32_t(type); }
inline constexpr int32_t entryId(Action action) { return int32_t(action); }

// Control ids.
inline constexpr int32_t IDC_PROCESS = 1002;
inline constexpr int32_t IDC_CANCEL = 1003;
inline constexpr int32_t IDC_PLUGIN_ID = 1005;
inline constexpr int32_t IDM_ABOUT = 5001;
inline constexpr int32_t IDM_SHOW_HELP_FILE = 5002;
inline constexpr int32_t IDM_SAVE_LIST = 5003;
inline constexpr int32_t IDC_PLUGIN_TYPE = 5006;
inline constexpr int32_t IDC_SCOPE = 5007;
inline constexpr int32_t IDC_ACTION = 5008;
inline constexpr int32_t IDC_WARN_BEFORE_DELETING = 5009;
inline constexpr int32_t IDC_KEEP_LAYER_SHADERS = 5010;
inline constexpr int32_t IDC_KEEP_CHILDREN = 5011;
inline constexpr int32_t IDC_TREE_VIEW = 10000;
inline constexpr int32_t IDC_ANONYMOUS = 10004;
// String resources.
inline constexpr int32_t IDS_DIALOG_TITLE = 10000;
inline constexpr int32_t IDS_ABOUT_TEXT = 10001;
inline constexpr int32_t IDS_HELP_TEXT = 10002;

// Column ids of the results list: up to four characters, most significant byte first.
inline constexpr int32_t COLUMN_NAME = 0x6E616D65;             // name
inline constexpr int32_t COLUMN_TAG = 0x746167;                // tag
inline constexpr int32_t COLUMN_CHANNEL = 0x6368616E;          // chan
inline constexpr int32_t COLUMN_IN_LAYER = 0x6C73;             // ls
inline constexpr int32_t COLUMN_RENDER_SETTINGS = 0x72736574;  // rset
inline constexpr int32_t COLUMN_OWNER_TYPE = 0x6F747970;       // otyp
// The missing plug-ins list: id, type and instances beside COLUMN_NAME.
inline constexpr int32_t COLUMN_PLUGIN_ID = 0x6964;      // id
inline constexpr int32_t COLUMN_TYPE = 0x74797065;       // type
inline constexpr int32_t COLUMN_INSTANCES = 0x696E7374;  // inst
// A folder's missing plug-ins: the scene file before them.
inline constexpr int32_t COLUMN_SCENE_FILE = 0x66696C65;  // file
// A folder's cleaned copies: where each file's copy went, or why none did.
inline constexpr int32_t COLUMN_CLEANED_COPY = 0x636F7079;  // copy

struct ComboEntry {
    int32_t id;
    const char* text;
};

inline constexpr ComboEntry actionEntries[] = {
    {entryId(Action::Identify), "Identify Plugin"},
    {entryId(Action::GenerateList), "Generate List"},
    {entryId(Action::Remove), "Remove Plugin"},
    {entryId(Action::FindMissing), "Find Missing Plugins"},
    {entryId(Action::RemoveMissing), "Remove Missing Plugins"},
    {entryId(Action::FindMissingInFolder), "Find Missing Plugins in Folder"},
    {entryId(Action::RemoveMissingInFolder), "Remove Missing Plugins in Folder"}};
inline constexpr ComboEntry pluginTypeEntries[] = {{entryId(PluginType::Tag), "Tag"},
                                                   {entryId(PluginType::Shader), "Shader"},
                                                   {entryId(PluginType::Object), "Object"},
                                                   {entryId(PluginType::PostEffect), "Post Effect"},
                                                   {entryId(PluginType::Material), "Material"}};

// Scope entries per plug-in type: entry 0 is the whole scene, entry 2 the
// selection alone, entry 1 (where it exists) the selection with its children.
inline constexpr ComboEntry tagScopes[] = {
    {0, "All Objects with Tags"}, {1, "Tags on Selected Objects and Children"}, {2, "Tags on Selected Objects Only"}};
// The shaders of every element of the scene: materials, objects, tags and
// post effects, and the shaders below them.
inline constexpr int32_t allElementsScope = 3;
inline constexpr ComboEntry shaderScopes[] = {
    {0, "All Materials"}, {2, "Selected Materials Only"}, {allElementsScope, "All Elements"}};
inline constexpr ComboEntry objectScopes[] = {
    {0, "All Objects"}, {1, "Selected Objects and Children"}, {2, "Selected Objects Only"}};
// The post effects of the active render settings, or of every render settings.
inline constexpr int32_t allRenderSettingsScope = 3;
inline constexpr ComboEntry postEffectScopes[] = {{0, "All Videposts"},
                                                  {allRenderSettingsScope, "All Render Settings"}};
// Materials are chosen as the shaders in them are: all, or the selected ones.
inline constexpr std::span<const ComboEntry> materialScopes{shaderScopes, 2};
inline constexpr std::span<const ComboEntry> scopeEntries[] = {tagScopes, shaderScopes, objectScopes, postEffectScopes,
                                                               materialScopes};

// The scope whose list has a row for every instance of one plug-in that a
// missing-plugins row counts.
inline constexpr int32_t everyInstanceScope(PluginType type) {
    return type == PluginType::PostEffect ? allRenderSettingsScope : type == PluginType::Shader ? allElementsScope : 0;
}

inline constexpr bool isPluginType(PluginType type) { return uint32_t(type) < uint32_t(pluginTypeCount); }
inline constexpr bool isAction(Action action) { return uint32_t(action) <= uint32_t(Action::RemoveMissingInFolder); }
inline constexpr bool searchesFolder(Action action) {
    return action == Action::FindMissingInFolder || action == Action::RemoveMissingInFolder;
}
inline constexpr bool searchesMissing(Action action) {
    return action == Action::FindMissing || action == Action::RemoveMissing || searchesFolder(action);
}
