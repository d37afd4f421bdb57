// Inside the search: the context every walk gets, and what the files of the
// search offer each other.
#pragma once

#include "search.h"

// One walk over the places of one plug-in type.
struct SearchRun {
    const SearchRequest& request;
    host::Document* document;
    ResultStore& store;
    SearchOutcome& outcome;
    // Remove: the changes, in the order the walk met them.
    RemovalPlan& plan;
    // A missing-plugins walk: what it met. Its request's action is the one
    // the walk acts as (GenerateList to count, Remove to plan too) and its
    // plug-in ID is unused.
    MissingPlugins* missing = nullptr;
    // The walk reads a document the user sees: walked materials are
    // re-evaluated and the end of each walk redraws. A hidden document (one a
    // folder run reads) is only read, and no one would see either.
    bool documentShown = true;
    // A walk over every shader of the scene (the scope allElementsScope, a
    // missing-plugins walk, Identify's look past the materials' channels):
    // what lies below each shader is walked too, and each shader is met once
    // however many ways lead to it (metShaders).
    bool everyShader = false;
    ElementMap metShaders{};
    // Identify's second walk: its first re-evaluated the materials already.
    bool materialsUpdated = false;
};

// Where the shaders a walk meets lie: the element that owns them (a
// material, object, tag or video post; a tag's object beside it) and the
// material channel (-1 outside the channels).
struct ShaderPlace {
    host::Element* owner;
    PluginType ownerType;
    host::Element* object;
    int32_t channel;
};

// The end of one walk (one call of the walkers' recursion): the host redraws
// a document the user sees.
void walkEnded(const SearchRun& run);

// Whether instance, an element of type with this type id, is what the run
// looks for: typeId is the plug-in ID, or (in a missing-plugins walk, which counts each one
// it meets) one the host's registry does not know for type.
bool sought(SearchRun& run, PluginType type, host::Element* instance, int32_t typeId);
// Plug-in ID 0 matches nothing: such a walk visits nothing.
bool seeksNothing(const SearchRun& run);

// search_instances: what a walk does with an instance it met of type:
// plans its removal, lists it (listed, second, channel and inLayerShader as
// addResult takes them) or identifies it. action may differ from the
// request's (a shader kept in a layer shader is listed).
void meetInstance(SearchRun& run, Action action, host::Element* instance, PluginType type, host::Element* listed,
                  host::Element* second, int32_t channel, bool inLayerShader);
bool isPlanned(SearchRun& run, const host::Element* instance);
void planRemoval(SearchRun& run, host::Element* instance);
// Remove Missing Plugins keeps shader in a layer shader, owned by owner, an
// object or a tag of object (both null for a material's or video post's).
void keepShader(SearchRun& run, host::Element* shader, host::Element* owner, host::Element* object);
// A walked material is updated: in a removal, after the removal of the
// shaders the walk planned before it.
void materialWalked(SearchRun& run, host::Element* material);
// Re-evaluates a material whose shaders may have changed.
void updateMaterial(host::Element* material);
// Makes the planned changes inside the undo group opened on document before
// the walk (grouped: the host opened it) and closes it. Unless Done (the
// host refused the group, a step or its end, or a Null, while there was
// something to remove), the group is cancelled and the scene is exactly as
// before.
Carried carryOutPlan(host::Document* document, RemovalPlan& plan, bool grouped);

// Whether the walk ends here: out of memory, or an Identify walk over every
// shader met its instance (the first decides).
bool walkStops(const SearchRun& run);

// search_every_shader: the walk of every shader. The first time the walk
// meets shader (inside a layer shader when inLayerShader): false when met
// before (or out of memory).
bool firstMeeting(SearchRun& run, host::Element* shader, bool inLayerShader);
// A removal keeps shader, an instance met in a layer shader.
void keptInLayerShader(SearchRun& run, host::Element* shader);
// The shaders below shader, depth first, each followed by those below it;
// removed: shader goes with a removal, and they with it (a missing-plugins
// walk still counts them).
void walkShadersBelow(SearchRun& run, const ShaderPlace& place, host::Element* shader, bool removed);
// The shaders place's owner owns, each followed by those below it.
void walkOwnedShaders(SearchRun& run, const ShaderPlace& place, bool removed);
// The shaders of object, then those of its tags in tag order.
void walkObjectShaders(SearchRun& run, host::Element* object);
// Scope allElementsScope: the materials' shaders, the objects' (as the
// object walk meets them, each with its tags'), and the video posts' of
// every render settings.
void walkEveryShader(SearchRun& run);
// The shader a layer links to, resolved in the layer shader's document, or null.
host::Element* linkedShader(const HostLayer* layer, const host::Document* document, host::Value& value);

// search_kept_children: with keepChildren, the Nulls that keep what the
// planned object removals would take along that the run does not remove,
// planned once the walk is complete; false when out of memory.
bool planKeptChildren(RemovalPlan& plan);
// Makes them inside the open undo group, before the removals; Done, or what
// was refused (the caller cancels the group).
Carried keepChildren(host::Document* document, RemovalPlan& plan);
// Closes an undo group that recorded nothing.
void closeUndoGroup(host::Document* document);

// The walk of the places of type: from the document's first object or
// material in scope 0, else from the selected ones; the video posts of the
// active render settings, or of every render settings in scope
// allRenderSettingsScope and in a missing-plugins walk.
void walkScene(SearchRun& run, PluginType type, int32_t scope);

// The walkers. start may be none; scope 0 walks from start through its
// siblings, 1 and 2 only start (a selected object or material).
void walkObjects(SearchRun& run, host::Element* start, int32_t scope);
void walkTags(SearchRun& run, host::Element* start, int32_t scope);
void walkMaterials(SearchRun& run, host::Element* start, int32_t scope);
void walkMaterialInstances(SearchRun& run, host::Element* start, int32_t scope);
// The tags and the objects of a missing-plugins walk from first (scope 0) in
// one pass over the hierarchy: tags in pre-order, objects in post-order, as
// walkTags and walkObjects meet them.
void walkTagsAndObjects(SearchRun& run, host::Element* first);
// The objects from first in the object walk's order (post-order), each with
// its shaders and its tags' (walkObjectShaders).
void walkObjectsForShaders(SearchRun& run, host::Element* first);
void walkVideoPosts(SearchRun& run, int32_t scope);
