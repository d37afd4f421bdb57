// A document in file order, as a stream of enter/leave events, without
// recursion (hierarchies and layer-shader chains can be very deep).
//
// Order: the objects (each: its tags, then its shaders, then its children),
// the materials (each: its present channels in number order, each with its
// shader and then its reflectance shaders, then its other shaders), the
// render settings (each: its video posts). A tag or video post is followed by
// its shaders. A layer shader's layers come in order; a shader layer whose
// link resolves to one of the layer shader's inputs encloses that shader; the
// inputs no layer encloses follow as the shader's list of shaders below it.
//
// enterList/leaveList come for the document's three lists always, and for an
// element's list only when it is not empty.
#pragma once

#include "scene/scene_model.h"

namespace substitute {

class Scene;

class SceneVisitor {
public:
    virtual ~SceneVisitor() = default;
    virtual void enterList(const ElementList& list) = 0;
    virtual void leaveList(const ElementList& list) = 0;
    virtual void enterElement(const HostElement& element) = 0;
    virtual void leaveElement(const HostElement& element) = 0;
    virtual void enterChannel(const HostChannel& channel, int32_t number) = 0;
    virtual void leaveChannel(const HostChannel& channel) = 0;
    // linked: the input shader the layer encloses, or null.
    virtual void enterLayer(const HostLayer& layer, const HostElement* linked) = 0;
    virtual void leaveLayer(const HostLayer& layer) = 0;
};

void walkDocument(const Scene& scene, const HostDocument& document, SceneVisitor& visitor);

// The input of layer's layer shader that a shader layer links to, or null.
const HostElement* linkedInput(const Scene& scene, const HostLayer& layer);

// Whether anything lies below element in the walk (for compact output).
bool hasContent(const HostElement& element);

}  // namespace substitute
