// The scene tree as text lines (format in scene.h).
#include <algorithm>

#include "input/printable_text.h"
#include "scene/scene.h"
#include "scene/scene_walk.h"

namespace substitute {
namespace {

class SceneLines : public SceneVisitor {
public:
    explicit SceneLines(const Scene& scene) : scene_(scene) {}
    std::vector<std::string> lines;

    void enterList(const ElementList& list) override {
        if (list.role == ListRole::Objects) line("objects:");
        if (list.role == ListRole::Materials) line("materials:");
        if (list.role == ListRole::RenderSettings) line("render settings:");
        if (list.document) depth_++;
        inShaderList_.push_back(list.role == ListRole::Shaders || list.role == ListRole::Inputs);
    }
    void leaveList(const ElementList& list) override {
        if (list.document) depth_--;
        inShaderList_.pop_back();
    }
    void enterElement(const HostElement& element) override {
        std::string text;
        if (element.kind == ElementKind::Tag) text = "#";
        bool reflectance = element.list && element.list->role == ListRole::Reflectance;
        if (reflectance) text = "reflectance: ";
        // Not a layer's shader, which its layer line introduces.
        if (!inShaderList_.empty() && inShaderList_.back() && !inLayer_) text = "shader: ";
        inLayer_ = false;
        text += printable(element.name);
        if (element.kind != ElementKind::RenderSettings) text += " [" + std::to_string(element.type) + "]";
        if (element.selected) text += " (selected)";
        if (element.kind == ElementKind::RenderSettings && asRenderSettings(element).active) text += " (active)";
        if (reflectance && asShader(element).ownerId != holderIsOwner) {
            const HostElement* owner = scene_.ownerOf(element);
            text += " (owner: " + (owner ? printable(owner->name) : std::string("none")) + ")";
        }
        line(text);
        depth_++;
    }
    void leaveElement(const HostElement&) override { depth_--; }
    void enterChannel(const HostChannel&, int32_t number) override {
        line("channel " + std::to_string(number));
        depth_++;
    }
    void leaveChannel(const HostChannel&) override { depth_--; }
    void enterLayer(const HostLayer& layer, const HostElement* linked) override {
        std::string text = "layer " + std::to_string(layer.index + 1) + " (kind " + std::to_string(layer.kind) + ")";
        if (layer.kind == HOST_LAYER_KIND_SHADER && linked == nullptr) text += ": unresolved";
        line(text);
        depth_++;
        inLayer_ = true;
    }
    void leaveLayer(const HostLayer&) override {
        depth_--;
        inLayer_ = false;
    }

private:
    // Indentation stops growing at a depth no one reads, so the text of a
    // very deep hierarchy stays linear in size.
    void line(const std::string& text) {
        lines.push_back(std::string(size_t(2 * std::min(depth_, deepestIndent)), ' ') + text);
    }
    static constexpr int32_t deepestIndent = 32;

    const Scene& scene_;
    int32_t depth_ = 0;
    // Per list entered: whether it holds shaders owned by, or below, its holder.
    std::vector<bool> inShaderList_;
    // The next element entered is the shader a layer links to.
    bool inLayer_ = false;
};

}  // namespace

std::vector<std::string> describeScene(const Scene& scene, const HostDocument& document) {
    SceneLines lines(scene);
    walkDocument(scene, document, lines);
    return std::move(lines.lines);
}

}  // namespace substitute
