// Inside the search: the context every walk gets, and what the files of the
// search offer each other.
#pragma once

#include "host/element_map.h"
#include "search.h"

// One change a removal makes once the search is complete: an instance to
// remove, or a material to update after its shaders were removed.
struct PlannedStep {
    host::Element* element;
    bool updatesMaterial;
};

// One walk over the places of one plug-in type.
struct SearchRun {
    const SearchRequest& request;
    host::Document* document;
    ResultStore& store;
    SearchOutcome& outcome;
    // Remove: the changes, in the order the walk met them.
    host::Vector<PlannedStep> plan;
    // The instances in plan: a damaged scene may reach one twice.
    ElementMap planned;
};

// search_instances: what a walk does with an instance it met of type:
// plans its removal, lists it (listed, tag, channel and inLayerShader as
// addResult takes them) or identifies it. action may differ from the
// request's (a shader kept in a layer shader is listed).
void meetInstance(SearchRun& run, Action action, host::Element* instance, PluginType type, host::Element* listed,
                  host::Element* tag, int32_t channel, bool inLayerShader);
bool isPlanned(SearchRun& run, const host::Element* instance);
void planRemoval(SearchRun& run, host::Element* instance);
// A walked material is updated: in a removal, after the removal of the
// shaders the walk planned before it.
void materialWalked(SearchRun& run, host::Element* material);
// Makes the planned changes; needs no memory, so it always finishes.
void carryOutPlan(SearchRun& run);

// The walkers. start may be none; scope 0 walks from start through its
// siblings, 1 and 2 only start (a selected object or material).
void walkObjects(SearchRun& run, host::Element* start, int32_t scope);
void walkTags(SearchRun& run, host::Element* start, int32_t scope);
void walkMaterials(SearchRun& run, host::Element* start, int32_t scope);
void walkVideoPosts(SearchRun& run);
