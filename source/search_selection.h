// Which selected entries a scoped walk starts from.
#pragma once

#include "dialog_contract.h"
#include "host/host_vector.h"
#include "host/scene.h"
#include "search.h"

// The selected objects (or materials) of a scope, and which of them the
// walk skips.
struct Selection {
    host::ElementArray entries;
    host::Vector<bool> skip;
};

// Fills selection for a walk of type in scope for request. Objects: in
// scope 1 an object below another selected object is skipped, as that walk
// covers it; in scope 2 of a removal of objects that takes the children
// along, one below a selected instance that comes before it, as that removal
// takes it along (one that keeps the children must meet it, to replace it).
// False when out of memory or when the host cannot make or fill the list.
bool selectStarts(Selection& selection, host::Document* document, PluginType type, int32_t scope,
                  const SearchRequest& request);
