// Reading scene files. The document is built aside and handed to the scene
// only when the whole file is right; nesting is followed with an explicit
// stack, so deep hierarchies and layer-shader chains cannot exhaust the
// native stack.
#include <charconv>
#include <fstream>
#include <initializer_list>
#include <sstream>

#include <nlohmann/json.hpp>

#include "scene_file.h"

namespace substitute {
namespace {
using Json = nlohmann::json;

struct LoadError {
    std::string message;
};

class Loader {
public:
    explicit Loader(Scene& scene) : scene_(scene), document_(std::make_unique<HostDocument>()) {
        segments_.push_back({-1, ""});
    }

    SceneLoad load(const Json& root) {
        try {
            readDocument(root);
        } catch (const LoadError& error) {
            scene_.discardDocument(std::move(document_));
            return {nullptr, error.message};
        }
        scene_.setPlugins(plugins_);
        HostDocument* document = scene_.adoptDocument(std::move(document_));
        scene_.setActiveDocument(document);
        return {document, ""};
    }

private:
    // A place in the file: the path of its parent plus one piece.
    struct Segment {
        int32_t parent;
        std::string piece;
    };
    // A record whose element exists already (so order is kept) and whose
    // contents are read when it comes off the stack.
    struct Pending {
        const Json* node;
        HostElement* element;
        int32_t path;
    };
    struct PendingOwner {
        HostElement* shader;
        std::string name;
        int32_t path;
    };

    int32_t at(int32_t parent, std::string piece) {
        segments_.push_back({parent, std::move(piece)});
        return int32_t(segments_.size() - 1);
    }
    int32_t item(int32_t parent, std::string_view key, size_t index) {
        return at(parent, std::string(parent == 0 ? "" : ".") + std::string(key) + "[" + std::to_string(index) + "]");
    }
    int32_t field(int32_t parent, std::string_view key) {
        return at(parent, std::string(parent == 0 ? "" : ".") + std::string(key));
    }

    std::string pathText(int32_t segment) const {
        std::vector<const std::string*> pieces;
        for (int32_t s = segment; s > 0; s = segments_[size_t(s)].parent) pieces.push_back(&segments_[size_t(s)].piece);
        std::string text;
        for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) text += **piece;
        return text.empty() ? "top level" : text;
    }

    [[noreturn]] void fail(int32_t path, const std::string& what) const {
        throw LoadError{pathText(path) + ": " + what};
    }

    static std::string typeName(const Json& value) {
        if (value.is_number()) return "a number";
        if (value.is_string()) return "a string";
        if (value.is_boolean()) return "a boolean";
        if (value.is_null()) return "null";
        if (value.is_array()) return "an array";
        return "an object";
    }

    // node must be an object with no other keys than these.
    void record(const Json& node, int32_t path, std::initializer_list<std::string_view> keys) const {
        if (!node.is_object()) fail(path, "expected an object, found " + typeName(node));
        for (const auto& [key, value] : node.items()) {
            bool known = false;
            for (std::string_view allowed : keys) known = known || key == allowed;
            if (!known) fail(path, "unknown key \"" + key + "\"");
        }
    }

    static const Json* member(const Json& node, const char* key) {
        auto found = node.find(key);
        return found == node.end() ? nullptr : &*found;
    }

    const Json& required(const Json& node, const char* key, int32_t path) const {
        const Json* value = member(node, key);
        if (value == nullptr) fail(path, std::string("missing \"") + key + "\"");
        return *value;
    }

    int32_t int32Of(const Json& value, int32_t path, const char* key) {
        bool fits = false;
        if (value.is_number_unsigned()) {
            fits = value.get<uint64_t>() <= uint64_t(INT32_MAX);
        } else if (value.is_number_integer()) {
            fits = value.get<int64_t>() >= INT32_MIN && value.get<int64_t>() <= INT32_MAX;
        }
        if (!fits) fail(field(path, key), "expected a 32-bit integer, found " + describeNumber(value));
        return int32_t(value.get<int64_t>());
    }

    static std::string describeNumber(const Json& value) { return value.is_number() ? value.dump() : typeName(value); }

    int32_t requiredInt32(const Json& node, const char* key, int32_t path) {
        return int32Of(required(node, key, path), path, key);
    }

    std::string optionalString(const Json& node, const char* key, int32_t path) {
        const Json* value = member(node, key);
        if (value == nullptr) return "";
        if (!value->is_string()) fail(field(path, key), "expected a string, found " + typeName(*value));
        return value->get<std::string>();
    }

    bool optionalBool(const Json& node, const char* key, int32_t path) {
        const Json* value = member(node, key);
        if (value == nullptr) return false;
        if (!value->is_boolean()) fail(field(path, key), "expected true or false, found " + typeName(*value));
        return value->get<bool>();
    }

    // The array under key (empty when absent).
    const Json& optionalArray(const Json& node, const char* key, int32_t path) {
        static const Json empty = Json::array();
        const Json* value = member(node, key);
        if (value == nullptr) return empty;
        if (!value->is_array()) fail(field(path, key), "expected an array, found " + typeName(*value));
        return *value;
    }

    // Name and type, which every element has.
    void readIdentity(const Json& node, HostElement& element, int32_t path) {
        element.type = requiredInt32(node, "type", path);
        element.name = optionalString(node, "name", path);
    }

    void readDocument(const Json& root) {
        record(root, 0, {"plugins", "objects", "materials", "renderSettings"});
        const Json& plugins = optionalArray(root, "plugins", 0);
        for (size_t i = 0; i < plugins.size(); ++i) {
            int32_t path = item(0, "plugins", i);
            record(plugins[i], path, {"id", "kind", "name"});
            plugins_.push_back({requiredInt32(plugins[i], "id", path), requiredInt32(plugins[i], "kind", path),
                                optionalString(plugins[i], "name", path)});
        }
        const Json& objects = optionalArray(root, "objects", 0);
        for (size_t i = 0; i < objects.size(); ++i) {
            pending_.push_back({&objects[i], scene_.addObject(*document_, nullptr, "", 0), item(0, "objects", i)});
        }
        drain();
        const Json& materials = optionalArray(root, "materials", 0);
        for (size_t i = 0; i < materials.size(); ++i) {
            readMaterial(materials[i], *scene_.addMaterial(*document_, "", 0), item(0, "materials", i));
            drain();
        }
        resolveOwners();
        const Json& settings = optionalArray(root, "renderSettings", 0);
        bool anyActive = false;
        for (size_t i = 0; i < settings.size(); ++i) {
            int32_t path = item(0, "renderSettings", i);
            bool active = readRenderSettings(settings[i], path);
            if (active && anyActive) fail(field(path, "active"), "more than one active render settings");
            anyActive = anyActive || active;
        }
    }

    void drain() {
        while (!pending_.empty()) {
            Pending next = pending_.back();
            pending_.pop_back();
            if (next.element->kind == ElementKind::Object)
                readObject(*next.node, *next.element, next.path);
            else
                readShader(*next.node, *next.element, next.path);
        }
    }

    // Child elements are created in file order now and read later; the stack
    // takes them in reverse so they are read in file order as well.
    void later(size_t firstNew) { std::reverse(pending_.begin() + long(firstNew), pending_.end()); }

    void readObject(const Json& node, HostElement& object, int32_t path) {
        record(node, path, {"name", "type", "selected", "tags", "children"});
        readIdentity(node, object, path);
        object.selected = optionalBool(node, "selected", path);
        const Json& tags = optionalArray(node, "tags", path);
        for (size_t i = 0; i < tags.size(); ++i) {
            int32_t tagPath = item(path, "tags", i);
            record(tags[i], tagPath, {"name", "type"});
            readIdentity(tags[i], *scene_.addTag(object, "", 0), tagPath);
        }
        const Json& children = optionalArray(node, "children", path);
        size_t firstNew = pending_.size();
        for (size_t i = 0; i < children.size(); ++i) {
            pending_.push_back({&children[i], scene_.addObject(*document_, &object, "", 0), item(path, "children", i)});
        }
        later(firstNew);
    }

    void readMaterial(const Json& node, HostElement& material, int32_t path) {
        record(node, path, {"name", "type", "selected", "channels"});
        readIdentity(node, material, path);
        material.selected = optionalBool(node, "selected", path);
        const Json* channels = member(node, "channels");
        if (channels == nullptr) return;
        int32_t channelsPath = field(path, "channels");
        if (!channels->is_object()) fail(channelsPath, "expected an object, found " + typeName(*channels));
        for (const auto& [key, channel] : channels->items()) {
            int32_t channelPath = at(channelsPath, "[\"" + key + "\"]");
            int32_t number = -1;
            auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), number);
            if (error != std::errc() || end != key.data() + key.size() || std::to_string(number) != key || number < 0 ||
                number >= channelCount) {
                fail(channelPath, "a channel is named by its number, 0 to 14");
            }
            record(channel, channelPath, {"shader", "reflectance"});
            scene_.addChannel(material, number);
            if (const Json* shader = member(channel, "shader")) {
                pending_.push_back(
                    {shader, scene_.setChannelShader(material, number, "", 0), field(channelPath, "shader")});
            }
            if (member(channel, "reflectance") && number != reflectanceChannel) {
                fail(field(channelPath, "reflectance"), "only channel 3 has reflectance layers");
            }
            const Json& reflectance = optionalArray(channel, "reflectance", channelPath);
            for (size_t i = 0; i < reflectance.size(); ++i) {
                int32_t shaderPath = item(channelPath, "reflectance", i);
                HostElement* shader = scene_.addReflectanceShader(material, "", 0);
                if (const Json* owner = reflectance[i].is_object() ? member(reflectance[i], "owner") : nullptr) {
                    int32_t ownerPath = field(shaderPath, "owner");
                    if (owner->is_null()) {
                        asShader(*shader).ownerId = noOwner;
                    } else if (owner->is_string()) {
                        owners_.push_back({shader, owner->get<std::string>(), ownerPath});
                    } else {
                        fail(ownerPath, "expected a material name or null, found " + typeName(*owner));
                    }
                }
                pending_.push_back({&reflectance[i], shader, shaderPath});
            }
        }
    }

    void readShader(const Json& node, HostElement& shader, int32_t path) {
        if (shader.list->role == ListRole::Reflectance)
            record(node, path, {"name", "type", "owner", "layers"});
        else
            record(node, path, {"name", "type", "layers"});
        readIdentity(node, shader, path);
        const Json& layers = optionalArray(node, "layers", path);
        if (!layers.empty() && shader.type != layerShaderType) {
            fail(field(path, "layers"), "only a layer shader (type 1011123) has layers");
        }
        size_t firstNew = pending_.size();
        for (size_t i = 0; i < layers.size(); ++i) {
            int32_t layerPath = item(path, "layers", i);
            record(layers[i], layerPath, {"kind", "shader"});
            int32_t kind = requiredInt32(layers[i], "kind", layerPath);
            const Json* linked = member(layers[i], "shader");
            if (kind != shaderLayerKind) {
                if (linked) fail(field(layerPath, "shader"), "only a shader layer (kind 2) links a shader");
                scene_.addLayer(shader, kind);
            } else if (required(layers[i], "shader", layerPath).is_null()) {
                scene_.addLayer(shader, kind);
            } else {
                pending_.push_back({linked, scene_.addShaderLayer(shader, "", 0), field(layerPath, "shader")});
            }
        }
        later(firstNew);
    }

    bool readRenderSettings(const Json& node, int32_t path) {
        record(node, path, {"name", "active", "videoPosts"});
        bool active = optionalBool(node, "active", path);
        HostElement* settings = scene_.addRenderSettings(*document_, optionalString(node, "name", path), active);
        const Json& posts = optionalArray(node, "videoPosts", path);
        for (size_t i = 0; i < posts.size(); ++i) {
            int32_t postPath = item(path, "videoPosts", i);
            record(posts[i], postPath, {"name", "type"});
            readIdentity(posts[i], *scene_.addVideoPost(*settings, "", 0), postPath);
        }
        return active;
    }

    // Owners may name materials further down the file, so they are resolved
    // once every material is there. The holding material wins a tie of names.
    void resolveOwners() {
        for (const PendingOwner& owner : owners_) {
            HostElement* holder = owner.shader->list->holder;
            const HostElement* named = holder->name == owner.name ? holder : nullptr;
            for (HostElement* m = document_->materials.first; m && !named; m = m->next) {
                if (m->name == owner.name) named = m;
            }
            if (named == nullptr) fail(owner.path, "no material named \"" + owner.name + "\"");
            asShader(*owner.shader).ownerId = named == holder ? holderIsOwner : named->id;
        }
    }

    Scene& scene_;
    std::unique_ptr<HostDocument> document_;
    std::vector<PluginInfo> plugins_;
    std::vector<Segment> segments_;
    std::vector<Pending> pending_;
    std::vector<PendingOwner> owners_;
};

}  // namespace

SceneLoad loadScene(Scene& scene, std::string_view json) {
    Json root;
    try {
        root = Json::parse(json.begin(), json.end());
    } catch (const Json::exception& error) {  // syntax, bad UTF-8, number overflow
        return {nullptr, std::string("not valid JSON: ") + error.what()};
    }
    return Loader(scene).load(root);
}

SceneLoad loadSceneFile(Scene& scene, const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {nullptr, "cannot read " + file.string()};
    std::stringstream text;
    text << in.rdbuf();
    SceneLoad result = loadScene(scene, text.str());
    if (!result.document) result.error = file.string() + ": " + result.error;
    return result;
}

}  // namespace substitute
