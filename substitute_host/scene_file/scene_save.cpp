// Writing scene files in their one canonical form (README.md, "Scene files").
#include <algorithm>

#include "files/whole_files.h"
#include "scene/scene_walk.h"
#include "scene_file/scene_file.h"

namespace substitute {
namespace {

// Lists put each item on a line of its own, indented one step more; records
// stay on one line up to their nested lists. Indentation stops growing at
// a depth no one reads, so a file of a very deep hierarchy stays linear in size.
class JsonWriter {
public:
    void openList(char bracket) { open(bracket == '[' ? ']' : '}', true); }
    void openRecord() { open('}', false); }
    void close() {
        Level level = levels_.back();
        levels_.pop_back();
        if (level.list) listDepth_--;
        if (level.list && !level.empty) newline();
        text_ += level.closer;
    }
    void key(std::string_view key) {
        separate();
        quoted(key);
        text_ += ": ";
        afterKey_ = true;
    }
    void string(std::string_view value) {
        beforeValue();
        quoted(value);
    }
    void integer(int64_t value) {
        beforeValue();
        text_ += std::to_string(value);
    }
    void boolean(bool value) {
        beforeValue();
        text_ += value ? "true" : "false";
    }
    void null() {
        beforeValue();
        text_ += "null";
    }
    std::string finish() { return std::move(text_) + "\n"; }

private:
    struct Level {
        char closer;
        bool list;
        bool empty;
    };
    static constexpr int32_t deepestIndent = 16;

    void open(char closer, bool list) {
        beforeValue();
        text_ += closer == '}' ? '{' : '[';
        levels_.push_back({closer, list, true});
        if (list) listDepth_++;
    }
    void beforeValue() {
        if (afterKey_)
            afterKey_ = false;
        else if (!levels_.empty())
            separate();
    }
    void separate() {
        Level& level = levels_.back();
        if (!level.empty) text_ += level.list ? "," : ", ";
        if (level.list) newline();
        level.empty = false;
    }
    void newline() {
        text_ += '\n';
        text_.append(size_t(2 * std::min(listDepth_, deepestIndent)), ' ');
    }
    // Names come from files read as UTF-8 and are written back unchanged,
    // with only what JSON requires escaped.
    void quoted(std::string_view value) {
        text_ += '"';
        for (char c : value) {
            if (c == '"' || c == '\\') {
                text_ += '\\';
                text_ += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                static const char hex[] = "0123456789abcdef";
                text_ += "\\u00";
                text_ += hex[(c >> 4) & 0xF];
                text_ += hex[c & 0xF];
            } else {
                text_ += c;
            }
        }
        text_ += '"';
    }

    std::string text_;
    std::vector<Level> levels_;
    int32_t listDepth_ = 0;
    bool afterKey_ = false;
};

const char* listKey(ListRole role) {
    switch (role) {
        case ListRole::Objects: return "objects";
        case ListRole::Materials: return "materials";
        case ListRole::RenderSettings: return "renderSettings";
        case ListRole::Children: return "children";
        case ListRole::Tags: return "tags";
        case ListRole::ChannelShader: return "shader";
        case ListRole::Reflectance: return "reflectance";
        case ListRole::Inputs:
        case ListRole::Shaders: return "shaders";
        case ListRole::VideoPosts: return "videoPosts";
    }
    return "?";
}

bool hasChannels(const HostElement& material) {
    const auto& channels = asMaterial(material).channels;
    return std::any_of(channels.begin(), channels.end(), [](const auto& channel) { return channel != nullptr; });
}

class SceneWriter : public SceneVisitor {
public:
    explicit SceneWriter(const Scene& scene) : scene_(scene) {}
    JsonWriter out;

    void enterList(const ElementList& list) override {
        // An element's shaders follow its channels or layers, which close first.
        if ((list.role == ListRole::Shaders || list.role == ListRole::Inputs) && innerOpen_.back()) {
            out.close();
            innerOpen_.back() = false;
        }
        out.key(listKey(list.role));
        if (list.role != ListRole::ChannelShader) out.openList('[');  // a channel holds one shader, not a list
    }
    void leaveList(const ElementList& list) override {
        if (list.role != ListRole::ChannelShader) out.close();
    }
    void enterElement(const HostElement& element) override {
        out.openRecord();
        out.key("name");
        out.string(element.name);
        if (element.kind != ElementKind::RenderSettings) {
            out.key("type");
            out.integer(element.type);
        }
        if (element.selected) {
            out.key("selected");
            out.boolean(true);
        }
        if (element.kind == ElementKind::RenderSettings && asRenderSettings(element).active) {
            out.key("active");
            out.boolean(true);
        }
        if (element.kind == ElementKind::Shader && element.list && element.list->role == ListRole::Reflectance &&
            asShader(element).ownerId != holderIsOwner) {
            out.key("owner");
            const HostElement* owner = scene_.ownerOf(element);
            owner ? out.string(owner->name) : out.null();
        }
        const bool layers = element.kind == ElementKind::Shader && !asShader(element).layers.empty();
        const bool channels = element.kind == ElementKind::Material && hasChannels(element);
        if (layers) {
            out.key("layers");
            out.openList('[');
        }
        if (channels) {
            out.key("channels");
            out.openList('{');
        }
        innerOpen_.push_back(layers || channels);
    }
    void leaveElement(const HostElement&) override {
        if (innerOpen_.back()) out.close();
        innerOpen_.pop_back();
        out.close();
    }
    void enterChannel(const HostChannel&, int32_t number) override {
        out.key(std::to_string(number));
        out.openRecord();
    }
    void leaveChannel(const HostChannel&) override { out.close(); }
    void enterLayer(const HostLayer& layer, const HostElement* linked) override {
        out.openRecord();
        out.key("kind");
        out.integer(layer.kind);
        if (layer.kind != HOST_LAYER_KIND_SHADER) return;
        out.key("shader");
        if (linked == nullptr) out.null();
    }
    void leaveLayer(const HostLayer&) override { out.close(); }

private:
    const Scene& scene_;
    // Per element entered: whether its layers or channels are still open.
    std::vector<bool> innerOpen_;
};

}  // namespace

std::string saveScene(const Scene& scene, const HostDocument& document) {
    SceneWriter writer(scene);
    JsonWriter& out = writer.out;
    out.openList('{');
    if (document.schema) {
        out.key("$schema");
        out.string(*document.schema);
    }
    out.key("plugins");
    out.openList('[');
    for (const PluginInfo& plugin : document.filePlugins ? *document.filePlugins : scene.plugins()) {
        out.openRecord();
        out.key("id");
        out.integer(plugin.id);
        out.key("kind");
        out.integer(plugin.kind);
        out.key("name");
        out.string(plugin.name);
        out.close();
    }
    out.close();
    walkDocument(scene, document, writer);
    out.close();
    return out.finish();
}

bool saveSceneFile(const Scene& scene, const HostDocument& document, const std::filesystem::path& file,
                   std::string* error) {
    return writeFileWhole(file, saveScene(scene, document), error);
}

}  // namespace substitute
