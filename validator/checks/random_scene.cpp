#include "checks/random_scene.h"

#include <vector>

#include "host/host_scene_tables.h"

namespace validator {
namespace {

// Ordinary types are the application's own, which the registry knows.
constexpr int32_t objectTypes[] = {5140, 5159, 5160};
constexpr int32_t tagTypes[] = {5612, 5671};
constexpr int32_t shaderTypes[] = {1011116, 5832};
constexpr int32_t videoPostTypes[] = {1040, 300001};
constexpr int32_t materialTypes[] = {5703};
constexpr int32_t uninstalledId = randomPluginIds[0];
constexpr int32_t installedId = randomPluginIds[1];

// Names repeat on purpose (the walkers and the paths must tell equal names
// apart); some need escaping in a path or are not ASCII.
constexpr const char* names[] = {"Cube", "Sphere", "Null",         "Old", "Legacy Tag",
                                 "Glow", "Wood",   "\xC3\x89mail", "a/b", "x[1]"};

class SceneWriter {
public:
    SceneWriter(Choices& choices, const SceneShape& shape) : choices_(choices), shape_(shape) {}

    std::string scene() {
        std::string text = "{\"plugins\": [" + plugins() + "],\n \"objects\": [";
        objectsLeft_ = int32_t(choices_.between(shape_.objects / 2, shape_.objects));
        text += objectList(1) + "],\n \"materials\": [";
        text += materials() + "],\n \"renderSettings\": [";
        return text + renderSettings() + "]}\n";
    }

private:
    std::string name() {
        std::string text = choices_.pick(names);
        if (choices_.oneIn(3)) {
            const uint64_t suffix = choices_.below(4);
            text += "." + std::to_string(suffix);
        }
        return text;
    }

    // Often one of the plug-in ids, else an ordinary type of the kind.
    template <size_t N>
    int32_t type(const int32_t (&ordinary)[N]) {
        return choices_.oneIn(2) ? choices_.pick(randomPluginIds) : choices_.pick(ordinary);
    }

    static std::string element(const std::string& elementName, int32_t elementType) {
        return "\"name\": " + jsonString(elementName) + ", \"type\": " + std::to_string(elementType);
    }

    // Every choice is its own statement: the order in which the operands of
    // one expression are evaluated differs between compilers.
    template <size_t N>
    std::string namedElement(const int32_t (&ordinary)[N]) {
        const std::string elementName = name();
        return element(elementName, type(ordinary));
    }

    // Records for the kinds of the five plug-in types and for other kinds,
    // under which an instance of those types is still missing.
    std::string plugins() {
        constexpr int32_t instanceKinds[] = {HOST_PLUGIN_KIND_TAG, HOST_PLUGIN_KIND_SHADER, HOST_PLUGIN_KIND_OBJECT,
                                             HOST_PLUGIN_KIND_VIDEO_POST, HOST_PLUGIN_KIND_MATERIAL};
        constexpr int32_t otherKinds[] = {0, 21, 34, 39};
        std::string text;
        auto add = [&](int32_t id, int32_t kind) {
            const std::string pluginName = "Plugin " + name();
            text += std::string(text.empty() ? "" : ", ") + "{\"id\": " + std::to_string(id) +
                    ", \"kind\": " + std::to_string(kind) + ", \"name\": " + jsonString(pluginName) + "}";
        };
        for (const int32_t kind : instanceKinds) add(installedId, kind);
        for (const int32_t id : randomPluginIds) {
            if (id == uninstalledId || id == installedId) continue;
            for (const int32_t kind : instanceKinds) {
                if (choices_.oneIn(2)) add(id, kind);
            }
            if (choices_.oneIn(3)) add(id, choices_.pick(otherKinds));
        }
        return text;
    }

    std::string objectList(int32_t level) {
        std::string text;
        // The top level takes what the levels below leave.
        const int64_t siblings = level == 1 ? INT64_MAX : choices_.between(1, 4);
        for (int64_t i = 0; i < siblings && objectsLeft_ > 0; ++i) {
            --objectsLeft_;
            if (!text.empty()) text += ",\n  ";
            if (objectsLeft_ >= 3 && choices_.oneIn(4)) {
                text += nest(level);
                continue;
            }
            const std::string elementText = namedElement(objectTypes);
            text += "{" + elementText + objectRest(level < shape_.depth && !choices_.oneIn(3), level + 1) + "}";
        }
        return text;
    }

    // What follows an object's name and type: its selection, tags and,
    // when it has children, those of a list at level.
    std::string objectRest(bool hasChildren, int32_t level, const std::string& first = "") {
        std::string text;
        if (choices_.oneIn(5)) text += ", \"selected\": true";
        text += ", \"tags\": [" + tags() + "]";
        text += ownedShaders(0);
        if (!hasChildren) return text;
        std::string children = first;
        // Below a nest's object, more at times beside the next one.
        if (first.empty() || choices_.oneIn(3)) {
            const std::string more = level <= shape_.depth ? objectList(level) : "";
            children += std::string(children.empty() || more.empty() ? "" : ",\n  ") + more;
        }
        return text + ", \"children\": [" + children + "]";
    }

    // Instances of one plug-in nested with objects of ordinary types that
    // stay, both ways: instance > kept > instance > kept, or instance >
    // instance > kept, each with tags and at times more children. A
    // removal that keeps children leaves a Null for each instance, nested
    // as they were. One object is the caller's; the other three or two
    // are taken here.
    std::string nest(int32_t level) {
        const int32_t id = choices_.pick(randomPluginIds);
        const bool throughKept = choices_.oneIn(2);
        std::vector<int32_t> types{id};
        if (throughKept) types.push_back(choices_.pick(objectTypes));
        types.push_back(id);
        types.push_back(choices_.pick(objectTypes));
        objectsLeft_ -= int32_t(types.size()) - 1;
        std::string text;
        for (size_t i = types.size(); i-- > 0;) {
            const std::string elementName = name();
            const int32_t depthHere = level + int32_t(i);
            const bool last = i + 1 == types.size();
            const std::string rest = objectRest(!last || !choices_.oneIn(3), depthHere + 1, text);
            text = "{" + element(elementName, types[i]) + rest + "}";
        }
        return text;
    }

    std::string tags() {
        std::string text;
        const int64_t count = choices_.between(0, 3);
        for (int64_t i = 0; i < count; ++i) {
            if (i > 0) text += ", ";
            const std::string tag = namedElement(tagTypes);
            text += "{" + tag + ownedShaders(0) + "}";
        }
        return text;
    }

    // Sometimes, the shaders an element owns or those below a shader at
    // level, as a list after a comma; else nothing. Some of them hold shaders
    // in turn, down to the layer depth.
    std::string ownedShaders(int32_t level) {
        if (level >= shape_.layerDepth || !choices_.oneIn(3)) return "";
        std::string text = ", \"shaders\": [";
        const int64_t count = choices_.between(1, 2);
        for (int64_t i = 0; i < count; ++i) {
            if (i > 0) text += ", ";
            text += shader(level + 1);
        }
        return text + "]";
    }

    // A shader, perhaps with shaders below it; below the layer depth
    // sometimes a layer shader with layers of every kind: shader layers
    // (linking a shader or nothing) and others.
    std::string shader(int32_t level) {
        if (level >= shape_.layerDepth || !choices_.oneIn(3)) {
            const std::string plain = namedElement(shaderTypes);
            return "{" + plain + ownedShaders(level) + "}";
        }
        std::string text = "{" + element("Layers", HOST_LAYER_SHADER_TYPE) + ", \"layers\": [";
        const int64_t count = choices_.between(0, 3);
        for (int64_t i = 0; i < count; ++i) {
            if (i > 0) text += ", ";
            const uint64_t kind = choices_.below(6);
            const std::string shaderLayer = "{\"kind\": " + std::to_string(HOST_LAYER_KIND_SHADER) + ", \"shader\": ";
            if (kind == 0) {
                text += "{\"kind\": 1}";
            } else if (kind == 1) {
                text += shaderLayer + "null}";
            } else {
                text += shaderLayer + shader(level + 1) + "}";
            }
        }
        // At times shaders below it that no layer links to.
        return text + "]" + ownedShaders(level) + "}";
    }

    // Reflectance shaders, some owned by another material or by none.
    std::string reflectance(const std::vector<std::string>& materialNames) {
        std::string text;
        const int64_t count = choices_.between(0, 3);
        for (int64_t i = 0; i < count; ++i) {
            if (i > 0) text += ", ";
            std::string one = shader(0);
            const uint64_t owner = choices_.below(8);
            if (owner == 0) {
                one.insert(one.size() - 1, ", \"owner\": null");
            } else if (owner == 1) {
                const std::string& other = materialNames[choices_.below(materialNames.size())];
                one.insert(one.size() - 1, ", \"owner\": " + jsonString(other));
            }
            text += one;
        }
        return text;
    }

    std::string materials() {
        std::vector<std::string> materialNames;
        const int64_t count = choices_.between(0, shape_.materials);
        for (int64_t i = 0; i < count; ++i) materialNames.push_back(name());
        std::string text;
        for (const std::string& materialName : materialNames) {
            if (!text.empty()) text += ",\n  ";
            // Often a material of a plug-in, whose shaders go with it.
            const int32_t typeId = type(materialTypes);
            text += "{" + element(materialName, typeId);
            if (choices_.oneIn(3)) text += ", \"selected\": true";
            text += ", \"channels\": {" + channels(materialNames) + "}";
            text += ownedShaders(0) + "}";
        }
        return text;
    }

    std::string channels(const std::vector<std::string>& materialNames) {
        std::string text;
        for (int32_t channel = 0; channel < HOST_MATERIAL_CHANNEL_COUNT; ++channel) {
            if (!choices_.oneIn(channel == HOST_CHANNEL_REFLECTANCE ? 2 : 4)) continue;
            if (!text.empty()) text += ", ";
            text += "\"" + std::to_string(channel) + "\": {";
            if (channel == HOST_CHANNEL_REFLECTANCE) {
                text += "\"reflectance\": [" + reflectance(materialNames) + "]";
            } else if (!choices_.oneIn(5)) {
                text += "\"shader\": " + shader(0);
            }
            text += "}";
        }
        return text;
    }

    std::string renderSettings() {
        std::string text;
        // Mostly one settings active, so that the active one's video posts are
        // searched apart from the others'.
        const int64_t count = choices_.oneIn(6) ? 0 : choices_.between(1, shape_.renderSettings);
        const int64_t active = count == 0 || choices_.oneIn(6) ? -1 : choices_.between(0, count - 1);
        for (int64_t i = 0; i < count; ++i) {
            if (i > 0) text += ",\n  ";
            const std::string settingsName = name();
            text += "{\"name\": " + jsonString(settingsName) + (i == active ? ", \"active\": true" : "") +
                    ", \"videoPosts\": [";
            const int64_t posts = choices_.between(1, 4);
            for (int64_t p = 0; p < posts; ++p) {
                if (p > 0) text += ", ";
                const std::string post = namedElement(videoPostTypes);
                text += "{" + post + ownedShaders(0) + "}";
            }
            text += "]}";
        }
        return text;
    }

    Choices& choices_;
    const SceneShape& shape_;
    int32_t objectsLeft_ = 0;
};

}  // namespace

std::string randomScene(Choices& choices, const SceneShape& shape) { return SceneWriter(choices, shape).scene(); }

std::string withPluginsOf(const std::string& scene, const std::string& other) {
    const auto recordsEnd = [](const std::string& text) { return text.find("],\n \"objects\": ["); };
    return other.substr(0, recordsEnd(other)) + scene.substr(recordsEnd(scene));
}

std::string jsonString(const std::string& text) {
    static const char hex[] = "0123456789abcdef";
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            quoted += "\\u00";
            quoted += hex[byte >> 4];
            quoted += hex[byte & 15];
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

}  // namespace validator
