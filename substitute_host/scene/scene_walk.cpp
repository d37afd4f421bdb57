#include "scene/scene_walk.h"

#include <algorithm>
#include <unordered_set>

#include "scene/scene.h"

namespace substitute {
namespace {

struct Event {
    enum class What : uint8_t {
        EnterList,
        LeaveList,
        Element,
        LeaveElement,
        EnterChannel,
        LeaveChannel,
        EnterLayer,
        LeaveLayer
    } what;
    const void* item;
};

class Walk {
public:
    Walk(const Scene& scene, SceneVisitor& visitor) : scene_(scene), visitor_(visitor) {}

    void run(const HostDocument& document) {
        for (const ElementList* list : {&document.objects, &document.materials, &document.renderSettings}) {
            later_.push_back({Event::What::EnterList, list});
            elementsOf(*list);
            later_.push_back({Event::What::LeaveList, list});
            schedule();
            drain();
        }
    }

private:
    void elementsOf(const ElementList& list) {
        for (const HostElement* e = list.first; e; e = e->next) later_.push_back({Event::What::Element, e});
    }

    void listOf(const ElementList& list) {
        if (list.empty()) return;
        later_.push_back({Event::What::EnterList, &list});
        elementsOf(list);
        later_.push_back({Event::What::LeaveList, &list});
    }

    // Moves the events gathered in later_ onto the stack, the first on top.
    void schedule() {
        stack_.insert(stack_.end(), later_.rbegin(), later_.rend());
        later_.clear();
    }

    void drain() {
        while (!stack_.empty()) {
            Event event = stack_.back();
            stack_.pop_back();
            switch (event.what) {
                case Event::What::EnterList: visitor_.enterList(*static_cast<const ElementList*>(event.item)); break;
                case Event::What::LeaveList: visitor_.leaveList(*static_cast<const ElementList*>(event.item)); break;
                case Event::What::Element: expand(*static_cast<const HostElement*>(event.item)); break;
                case Event::What::LeaveElement:
                    visitor_.leaveElement(*static_cast<const HostElement*>(event.item));
                    break;
                case Event::What::EnterChannel: {
                    const auto& channel = *static_cast<const HostChannel*>(event.item);
                    visitor_.enterChannel(channel, channel.shader.channel);
                    break;
                }
                case Event::What::LeaveChannel:
                    visitor_.leaveChannel(*static_cast<const HostChannel*>(event.item));
                    break;
                case Event::What::EnterLayer: {
                    const auto& layer = *static_cast<const HostLayer*>(event.item);
                    visitor_.enterLayer(layer, linkedInput(scene_, layer));
                    break;
                }
                case Event::What::LeaveLayer: visitor_.leaveLayer(*static_cast<const HostLayer*>(event.item)); break;
            }
        }
    }

    // Enters element now; what lies below it and its leave event come later.
    void expand(const HostElement& element) {
        visitor_.enterElement(element);
        switch (element.kind) {
            case ElementKind::Object:
                listOf(asObject(element).tags);
                listOf(asObject(element).shaders);
                listOf(asObject(element).children);
                break;
            case ElementKind::Material:
                for (const auto& channel : asMaterial(element).channels) {
                    if (!channel) continue;
                    later_.push_back({Event::What::EnterChannel, channel.get()});
                    listOf(channel->shader);
                    listOf(channel->reflectance);
                    later_.push_back({Event::What::LeaveChannel, channel.get()});
                }
                listOf(asMaterial(element).shaders);
                break;
            case ElementKind::Shader: layersAndBelow(asShader(element)); break;
            case ElementKind::RenderSettings: listOf(asRenderSettings(element).videoPosts); break;
            case ElementKind::Tag:
            case ElementKind::VideoPost: listOf(asOwning(element).shaders); break;
        }
        later_.push_back({Event::What::LeaveElement, &element});
        schedule();
    }

    // A shader's layers, each enclosing the input it links to, then (as its
    // list) the inputs that no layer links to.
    void layersAndBelow(const Shader& shader) {
        std::unordered_set<const HostElement*> enclosed;
        for (const auto& layer : shader.layers) {
            later_.push_back({Event::What::EnterLayer, layer.get()});
            if (const HostElement* linked = linkedInput(scene_, *layer)) {
                later_.push_back({Event::What::Element, linked});
                enclosed.insert(linked);
            }
            later_.push_back({Event::What::LeaveLayer, layer.get()});
        }
        bool any = false;
        for (const HostElement* e = shader.inputs.first; e; e = e->next) {
            if (enclosed.count(e) != 0) continue;
            if (!any) later_.push_back({Event::What::EnterList, &shader.inputs});
            any = true;
            later_.push_back({Event::What::Element, e});
        }
        if (any) later_.push_back({Event::What::LeaveList, &shader.inputs});
    }

    const Scene& scene_;
    SceneVisitor& visitor_;
    std::vector<Event> stack_;
    std::vector<Event> later_;
};

}  // namespace

const HostElement* linkedInput(const Scene& scene, const HostLayer& layer) {
    if (layer.kind != HOST_LAYER_KIND_SHADER || layer.link == 0) return nullptr;
    const HostElement* input = scene.elementById(layer.link);
    return input && input->list == &asShader(*layer.layerShader).inputs ? input : nullptr;
}

bool hasContent(const HostElement& element) {
    switch (element.kind) {
        case ElementKind::Object:
            return !asObject(element).tags.empty() || !asObject(element).children.empty() ||
                   !asObject(element).shaders.empty();
        case ElementKind::Material:
            return !asMaterial(element).shaders.empty() ||
                   std::any_of(asMaterial(element).channels.begin(), asMaterial(element).channels.end(),
                               [](const auto& channel) { return channel != nullptr; });
        case ElementKind::Shader: return !asShader(element).layers.empty() || !asShader(element).inputs.empty();
        case ElementKind::RenderSettings: return !asRenderSettings(element).videoPosts.empty();
        case ElementKind::Tag:
        case ElementKind::VideoPost: return !asOwning(element).shaders.empty();
    }
    return false;
}

void walkDocument(const Scene& scene, const HostDocument& document, SceneVisitor& visitor) {
    Walk(scene, visitor).run(document);
}

}  // namespace substitute
