// Instance search and removal: the walkers that visit the places where a
// plug-in's elements live, and the steps they share.
//
// The walkers keep their own stacks in host memory instead of recursing, so
// the depth of a scene never reaches the native stack. They still behave as
// the recursive walk they replace: same order, same rows and undo steps, and
// one scene-changed notice per (former) recursive call, sent when that call
// would have returned. When a stack cannot grow, the walk ends there as if
// nothing more was found.
#pragma once

#include "cleartrace_dialog.h"

// Plug-in id from the number field's value: truncated toward zero. False
// when the value (after truncation) is outside the int32 range or not finite.
bool pluginIdFromField(double value, int32_t& id);

void walkObjects(CleartraceDialog& dialog, host::Document* document, host::Element* object, int32_t id, int32_t scope,
                 int32_t action);
void walkTags(CleartraceDialog& dialog, host::Document* document, host::Element* object, int32_t id, int32_t scope,
              int32_t action);
void walkMaterials(CleartraceDialog& dialog, host::Document* document, host::Element* material, int32_t id,
                   int32_t scope, int32_t action);
void walkLayerShader(CleartraceDialog& dialog, host::Document* document, host::Element* layerShader, int32_t id,
                     host::Element* material, int32_t channel, int32_t action);
void walkVideoPosts(CleartraceDialog& dialog, host::Document* document, int32_t id, int32_t action);

// Records what an Identify walk met: foundType and foundName.
void identifyInstance(CleartraceDialog& dialog, host::Element* instance, int32_t id, int32_t type);
// Records an undo step for element, unlinks and frees it (kinds 0 to 3).
bool removeInstance(CleartraceDialog& dialog, host::Document* document, host::Element* element, int32_t kind);
// The first half of a removal: the undo step and the unlink. The element
// stays alive until freed.
void detachInstance(host::Document* document, host::Element* element);
// What a walker does with an instance it met in GenerateList or Identify:
// appends the row (rowA, rowB, channel, inLayerShader as addResult takes
// them, type as the row's kind) or identifies the instance. Removal differs
// per walker and is not done here.
void listOrIdentify(CleartraceDialog& dialog, host::Element* instance, int32_t id, int32_t type, int32_t action,
                    host::Element* rowA, host::Element* rowB, int32_t channel, bool inLayerShader);
