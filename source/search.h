// Instance search and removal, the subsystem's face: a request, one run of
// it over a document, and the outcome the dialog tells the user of. The
// search never speaks to the user: the dialog asks before a removal (before
// a run of one type, between the finding and the removal of the missing
// plug-ins) and shows every notice.
//
// A run finds the instances of one plug-in in the places where its type
// lives (search_hierarchy, search_materials, search_material_instances,
// search_video_posts, starting from search_selection in a selection scope)
// and lists, identifies or removes them (search_instances). A removal first finds every instance and
// removes them only once the whole search succeeded, so a run that runs out
// of memory changes nothing; such a run is cut short and says so. A folder
// run (search_folder) reads the scene files of a folder one at a time and
// makes the missing-plugins search of each; a folder clean (search_folder_clean)
// writes a copy of each without them.
#pragma once

#include <optional>

#include "dialog_contract.h"
#include "host/element_map.h"
#include "host/files.h"
#include "host/scene.h"
#include "results.h"

// What the user asked for, read from the dialog's controls once.
struct SearchRequest {
    Action action = Action::GenerateList;
    PluginType pluginType = PluginType::Tag;
    int32_t pluginId = 0;
    int32_t scope = 0;  // entry id of the scope box; Identify searches the whole scene
    bool warnBeforeDeleting = true;
    bool keepLayerShaders = false;
    // A removed object's children and tags that stay are kept in a Null at its place.
    bool keepChildren = true;
};

// What a run found, removed, kept or cut short: what the dialog tells.
struct SearchOutcome {
    // Identify: the type of the instance met and the name it goes by.
    std::optional<PluginType> foundType;
    host::String foundName;
    // The run could not start, or the user did not confirm a removal:
    // nothing was done.
    bool cancelled = false;
    // Cut short for lack of memory: nothing removed, nothing more reported.
    bool outOfMemory = false;
    // A removal the host could not record for undo: nothing removed.
    bool undoRefused = false;
    // Remove: material walks after which shaders stayed in layer shaders, and
    // the notice that says so, made before anything is removed.
    int32_t shadersLeftNotices = 0;
    host::String shadersLeftText;
};

// One change a removal makes once the search is complete: an instance to
// remove, or a material to update after its shaders were removed.
struct PlannedStep {
    host::Element* element;
    bool updatesMaterial;
    bool isObject = false;
};

// Where a kept element goes: after (or below) an element of the scene, or
// after (or below) the Null made by an earlier step (slot >= 0).
struct KeptPlace {
    host::Element* element = nullptr;
    int32_t slot = -1;
};

// One change that keeps what a removed object holds: a Null made at the
// place of a removed object, or a child or tag moved into a Null.
struct KeepingStep {
    enum class Kind : uint8_t { MakeNull, MoveObject, MoveTag } kind;
    host::Element* element;  // the object the Null replaces, or the child or tag moved
    KeptPlace parent;        // MakeNull, MoveObject: the new parent (none: top level); MoveTag: the Null
    KeptPlace previous;      // what it goes after (none: first)
};

struct RemovalPlan {
    host::Vector<PlannedStep> steps;
    // The instances in steps: a damaged scene may reach one twice.
    ElementMap planned;
    // With keepChildren: the Nulls and moves made before the removals, and
    // the Nulls once made, by slot.
    host::Vector<KeepingStep> keeping;
    host::Vector<host::Element*> nulls;
};

// How a planned removal ended.
enum class Carried : uint8_t { Done, UndoRefused, OutOfMemory };

// One missing plug-in: a type id of one plug-in type that the host's
// registry does not know, with the instances a walk met.
struct MissingPlugin {
    int32_t pluginId = 0;
    int32_t instances = 0;
    host::String name;  // of the first instance met
    // Remove Missing Plugins: the instances it leaves (shaders kept in layer
    // shaders), and the name of the first of them.
    int32_t instancesLeft = 0;
    host::String nameLeft;
    // The texts of its row, made with the list before anything is removed.
    host::String pluginIdText;
    host::String instancesText;
    host::String instancesLeftText;
};

// What a missing-plugins walk met, per PluginType.
struct MissingPlugins {
    // In the order in which each plug-in's first instance was met.
    host::Vector<MissingPlugin> found[pluginTypeCount];
    // Type id -> index in found, or one of the marks below; one registry
    // look-up per type id.
    IdMap lookedUp[pluginTypeCount];
    // Remove Missing Plugins: the shaders it leaves in place (kept in layer
    // shaders), in walk order, each with the object or tag that owns it and
    // that object (null for the shaders of materials and video posts), with
    // which it may yet go; and the rows of found[Shader] that keep instances,
    // in the order a walk after the removal meets the first of them.
    struct KeptShader {
        host::Element* shader;
        host::Element* owner;
        host::Element* object;
    };
    host::Vector<KeptShader> kept;
    host::Vector<int32_t> shadersLeft;
    RemovalPlan plan;
    // The row shown when none is missing, made before anything is removed.
    host::String notFoundText;
    // The elements the walks met, per PluginType, missing or not: what a
    // cleaned copy must hold again when it is read back.
    int64_t met[pluginTypeCount] = {};
};

// Plug-in id from the number field's value: truncated toward zero. False
// when the value (after truncation) is outside the int32 range or not finite.
bool pluginIdFromField(double value, int32_t& id);

// Whether runSearch can run request over document: a run that cannot is
// cancelled, and nothing is asked before it.
bool searchable(const host::Document* document, const SearchRequest& request);
// Runs request over document for its plug-in type, a removal once the user
// confirmed it: empties store, walks inside one undo group and leaves the
// rows in store (with the not-found row when a list or removal found nothing).
SearchOutcome runSearch(host::Document* document, const SearchRequest& request, ResultStore& store);

// Find Missing Plugins, the first step of Remove Missing Plugins, and the
// search of each scene file of a folder run (a hidden document, only read:
// its materials are not updated): walks every place of the five types once
// (as their scope-0 walks do, the post effects of every render settings),
// lists in store one row per missing plug-in (or the not-found row) and, for
// a removal, plans it without changing the scene.
SearchOutcome findMissingPlugins(host::Document* document, const SearchRequest& request, MissingPlugins& missing,
                                 ResultStore& store);
// Whether the walk met any missing plug-in.
bool foundMissingPlugins(const MissingPlugins& missing);
// The second step of Remove Missing Plugins, once the user confirmed it:
// the planned removal as one undo group; store then lists what stays
// missing. Needs no memory of its own. Unless Done (the host could not
// record the removal for undo, or make a Null), the scene and store are as
// they were.
Carried removeMissingPlugins(host::Document* document, MissingPlugins& missing, ResultStore& store);

// How a folder run shows its progress and hears the user stop it: the
// dialog's to give, as the dialog alone speaks to the user.
struct FolderProgress {
    // Before file number (from 1) of count, at path relative to the folder:
    // false when the progress could not be shown (out of memory).
    bool (*beforeFile)(const host::String& path, int32_t number, int32_t count);
    // Between files, and between steps of a long listing: whether the user
    // asked the run to stop.
    bool (*stopRequested)();
    // After the last file, or where the run stopped.
    void (*finished)();
    // Between steps of a long listing, found entries so far: false when the
    // progress could not be shown (out of memory).
    bool (*whileListing)(int32_t found);
};

// One entry of a folder's listing: shown is the path shown in the list (a
// folder that could not be listed with a '/' after it, "./" for the folder
// itself), key the bytes it sorts by (it stays valid while shown holds its
// text), index its place in the host's list.
struct FolderEntry {
    host::String shown;
    std::string_view key;
    int32_t index = 0;
    int32_t kind = HOST_LISTED_SCENE_FILE;
};

enum class FolderListingEnd : uint8_t { Done, Stopped, OutOfMemory };

// Lists list to its end step by step, asking between steps whether the
// user stops it and showing how far it got (statusShown then true; the
// caller clears it).
FolderListingEnd listFolder(host::SceneFileList& list, const FolderProgress& progress, bool& statusShown);
// The entries of a listed list in the order the folder runs show them: the
// byte order of their shown paths, a folder that could not be listed as if
// its path ended in '/' (the folder itself first). False when out of memory.
bool sortedEntries(const host::SceneFileList& list, host::Vector<FolderEntry>& entries);

// What a folder run did: the dialog tells the user.
struct FolderOutcome {
    // Cut short for lack of memory: the rows of the files finished stay.
    bool outOfMemory = false;
    // Stopped by the user once searched of the files scene files were
    // searched; listingStopped: before the listing was complete, no file searched.
    bool stopped = false;
    bool listingStopped = false;
    int32_t searched = 0;
    int32_t files = 0;
};

// Find Missing Plugins in Folder, once the user chose folder: every scene
// file below it, in the byte order of their paths relative to it, read as a
// hidden document (one at a time, each freed before the next), searched as
// Find Missing Plugins searches the active scene, and listed in store under
// its relative path: its missing plug-ins' rows, or one row saying none is
// missing or that it could not be read. A folder that could not be listed
// gets a row too; one with nothing in it the row "No scene files found.". A
// run cut short ends its list with a row saying so ("Stopped after I of N
// scene files." or "The list is incomplete.").
FolderOutcome findMissingInFolder(const host::Path& folder, ResultStore& store, const FolderProgress& progress);

// Whether destination is folder or lies below it, links followed (a link
// into folder lies within it); true, with outOfMemory, when the host had no
// memory to tell.
bool liesWithin(const host::Path& destination, const host::Path& folder, bool& outOfMemory);
// Remove Missing Plugins in Folder, once the user chose folder and
// destination (outside it) and confirmed: every scene file below folder,
// listed and ordered as findMissingInFolder lists them, read as a hidden
// document and searched as Find Missing Plugins searches; one with missing
// plug-ins has them removed as Remove Missing Plugins removes them (with
// request's boxes), is saved to its relative path below destination (never
// over a file) and read back to verify. Its rows say where the copy went or
// why there is none; "Nothing to remove." for a file with none missing. A
// file cut short (out of memory) leaves nothing in destination.
FolderOutcome cleanFolder(const host::Path& folder, const host::Path& destination, const SearchRequest& request,
                          ResultStore& store, const FolderProgress& progress);
