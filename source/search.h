// Instance search and removal, the subsystem's face: a request, one run of
// it over a document, and the outcome the user is told.
//
// A run finds the instances of one plug-in in the places where its type
// lives (search_hierarchy, search_materials, search_video_posts, starting
// from search_selection in a selection scope) and lists, identifies or
// removes them (search_instances). A removal first finds every instance and
// removes them only once the whole search succeeded, so a run that runs out
// of memory changes nothing; such a run is cut short and says so.
#pragma once

#include <optional>

#include "dialog_contract.h"
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
};

// What a run found and what the user must be told.
struct SearchOutcome {
    // Identify: the type of the instance met and the name it goes by.
    std::optional<PluginType> foundType;
    host::String foundName;
    // Remove: the user did not confirm; nothing was done.
    bool cancelled = false;
    // Cut short for lack of memory: nothing removed, nothing more reported.
    bool outOfMemory = false;
    // Remove: material walks after which shaders stayed in layer shaders.
    int32_t shadersLeftNotices = 0;
};

// Plug-in id from the number field's value: truncated toward zero. False
// when the value (after truncation) is outside the int32 range or not finite.
bool pluginIdFromField(double value, int32_t& id);

// Runs request over document for its plug-in type: asks before a removal,
// empties store, walks inside one undo group and leaves the rows in store
// (with the not-found row when a list or removal found nothing).
SearchOutcome runSearch(host::Document* document, const SearchRequest& request, ResultStore& store);

// Shows the message boxes the outcome calls for, in the order of the run.
// Identify's report from the host's registry is the dialog's.
void tellOutcome(const SearchRequest& request, const SearchOutcome& outcome);
