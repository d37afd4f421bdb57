#include "checks/scene_texts.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace validator {
namespace {
const std::string plugin = std::to_string(scenePluginId);
const std::string instanceType = "\"type\": " + plugin;
constexpr const char* layerType = "\"type\": 1011123";
constexpr const char* plainObjectType = "\"type\": 5140";
constexpr const char* materialType = "\"type\": 5703";
constexpr int64_t fanOut = 8;

std::string named(const std::string& name) { return "\"name\": \"" + name + "\""; }

std::string tagList(const std::string& name) { return "\"tags\": [{" + named(name) + ", " + instanceType + "}]"; }

std::string instanceShader(const std::string& name) { return "{" + named(name) + ", " + instanceType + "}"; }

// Lists separated by ", ", in the given order.
template <class Write>
std::string joined(int64_t count, Write write) {
    std::string text;
    for (int64_t i = 0; i < count; ++i) {
        if (i > 0) text += ", ";
        write(text, i);
    }
    return text;
}

// One copy of the damaged materials: layer and reflectance links that lead
// nowhere, or to shaders the walked material does not own.
constexpr int64_t damagedInstancesPerCopy = 5;
constexpr int64_t damagedInLayerShadersPerCopy = 3;
std::string damagedCopy(int64_t copy) {
    const std::string a = "A " + std::to_string(copy), b = "B " + std::to_string(copy);
    const std::string legacy = instanceShader("Legacy");
    std::string text = "{" + named(a) + ", " + materialType + ", \"channels\": {";
    // Channel 0: null links, layers that link nothing, an empty layer shader; two instances.
    text += "\"0\": {\"shader\": {" + named("Layer") + ", " + layerType + ", \"layers\": [";
    text += "{\"kind\": 2, \"shader\": null}, {\"kind\": 1}, {\"kind\": 5}, {\"kind\": 0}, ";
    text += "{\"kind\": 2, \"shader\": " + legacy + "}, ";
    text += "{\"kind\": 2, \"shader\": {" + named("Empty") + ", " + layerType + ", \"layers\": []}}, ";
    text += "{\"kind\": 2, \"shader\": {" + named("Inner") + ", " + layerType +
            ", \"layers\": [{\"kind\": 2, \"shader\": null}, {\"kind\": 2, \"shader\": " + legacy + "}]}}]}}, ";
    text += "\"2\": {}, ";
    // Reflectance: only what the material owns counts; two instances.
    text += "\"3\": {\"reflectance\": [" + instanceShader("Own") + ", ";
    text += "{" + named("Foreign") + ", " + instanceType + ", \"owner\": \"" + b + "\"}, ";
    text += "{" + named("Orphan") + ", " + instanceType + ", \"owner\": null}, ";
    text += "{" + named("Foreign layer") + ", " + layerType + ", \"owner\": \"" + b +
            "\", \"layers\": [{\"kind\": 2, \"shader\": " + legacy + "}]}, ";
    text += "{" + named("Orphan layer") + ", " + layerType +
            ", \"owner\": null, \"layers\": [{\"kind\": 2, \"shader\": " + legacy + "}]}, ";
    text += "{" + named("Own layer") + ", " + layerType +
            ", \"layers\": [{\"kind\": 2, \"shader\": null}, {\"kind\": 2, \"shader\": " + legacy + "}]}]}, ";
    text += "\"14\": {\"shader\": " + legacy + "}}}, ";
    // B holds a shader that A owns, and a layer shader linking nothing; C holds no channel.
    text += "{" + named(b) + ", " + materialType + ", \"channels\": {";
    text += "\"3\": {\"reflectance\": [{" + named("Borrowed") + ", " + instanceType + ", \"owner\": \"" + a + "\"}]}, ";
    text += "\"6\": {\"shader\": {" + named("Layer") + ", " + layerType +
            ", \"layers\": [{\"kind\": 2, \"shader\": null}]}}}}, ";
    text += "{" + named("C " + std::to_string(copy)) + ", " + materialType + "}";
    return text;
}
}  // namespace

std::string flatRowName(PluginType kind, int64_t index) {
    const std::string number = std::to_string(index);
    switch (kind) {
        case PluginType::Shader:
        case PluginType::Material: return "Material " + number;
        case PluginType::PostEffect: return "Post " + number;
        default: return "Object " + number;
    }
}

std::string flatScene(PluginType kind, int64_t count) {
    auto row = [kind](std::string& text, int64_t i) {
        const std::string name = named(flatRowName(kind, i));
        switch (kind) {
            case PluginType::Tag: text += "{" + name + ", " + plainObjectType + ", " + tagList("Legacy") + "}"; break;
            case PluginType::Object: text += "{" + name + ", " + instanceType + "}"; break;
            case PluginType::Shader:
                text += "{" + name + ", " + materialType +
                        ", \"channels\": {\"0\": {\"shader\": " + instanceShader("Legacy") + "}}}";
                break;
            case PluginType::PostEffect:
            case PluginType::Material: text += "{" + name + ", " + instanceType + "}"; break;
        }
    };
    const std::string rows = joined(count, row);
    switch (kind) {
        case PluginType::Shader:
        case PluginType::Material: return "{\"materials\": [" + rows + "]}";
        case PluginType::PostEffect:
            return "{\"renderSettings\": [{" + named("Main") + ", \"active\": true, \"videoPosts\": [" + rows + "]}]}";
        default: return "{\"objects\": [" + rows + "]}";
    }
}

std::string chainScene(int64_t depth, bool objectInstances) {
    std::string text = "{\"objects\": [";
    for (int64_t i = 0; i < depth; ++i) {
        text += "{" + named("Link " + std::to_string(i)) + ", ";
        text += objectInstances ? instanceType : plainObjectType + (", " + tagList("Legacy"));
        text += i + 1 < depth ? ", \"children\": [" : "}";
    }
    for (int64_t i = 1; i < depth; ++i) text += "]}";
    return text + "]}";
}

std::string treeOfTagsScene(int64_t count) {
    // Object i's children are 8i+1 .. 8i+8, written depth first.
    std::string text = "{\"objects\": [";
    std::vector<std::pair<int64_t, bool>> stack = {{0, false}};  // (object, its children written)
    while (!stack.empty()) {
        auto [index, closing] = stack.back();
        stack.pop_back();
        const int64_t firstChild = fanOut * index + 1;
        if (closing) {
            text += firstChild < count ? "]}" : "}";
            continue;
        }
        if (index > 0 && (index - 1) % fanOut != 0) text += ", ";
        text += "{" + named("Object " + std::to_string(index)) + ", " + plainObjectType + ", " + tagList("Legacy");
        stack.push_back({index, true});
        if (firstChild < count) text += ", \"children\": [";
        for (int64_t child = std::min(firstChild + fanOut, count) - 1; child >= firstChild; --child) {
            stack.push_back({child, false});
        }
    }
    return text + "]}";
}

std::string nestedLayersScene(int64_t depth) {
    std::string text =
        "{\"materials\": [{" + named("Deep") + ", " + materialType + ", \"channels\": {\"0\": {\"shader\": ";
    for (int64_t i = 0; i < depth; ++i) {
        text += "{" + named("Layer " + std::to_string(i)) + ", " + layerType + ", \"layers\": [";
        text += "{\"kind\": 2, \"shader\": " + instanceShader("Legacy " + std::to_string(i)) + "}";
        text += i + 1 < depth ? ", {\"kind\": 2, \"shader\": " : "]}";
    }
    for (int64_t i = 1; i < depth; ++i) text += "}]}";
    return text + "}}}]}";
}

std::string nestedShadersScene(int64_t depth, bool throughLayerShaders) {
    std::string text = "{\"objects\": [{" + named("Deep") + ", " + plainObjectType;
    text += throughLayerShaders ? ", \"tags\": [{" + named("Texture") + ", \"type\": 5616, \"shaders\": ["
                                : ", \"shaders\": [";
    for (int64_t i = 0; i < depth; ++i) {
        const std::string number = std::to_string(i);
        if (throughLayerShaders) {
            text += "{" + named("Layer " + number) + ", " + layerType +
                    ", \"layers\": [{\"kind\": 2, \"shader\": " + instanceShader("Legacy " + number) + "}]";
        } else {
            text += "{" + named("Legacy " + number) + ", " + instanceType;
        }
        text += i + 1 < depth ? ", \"shaders\": [" : "}";
    }
    for (int64_t i = 1; i < depth; ++i) text += "]}";
    return text + (throughLayerShaders ? "]}]}]}" : "]}]}");
}

int64_t damagedLinksInstances(int64_t copies) { return copies * damagedInstancesPerCopy; }
int64_t damagedLinksInLayerShaders(int64_t copies) { return copies * damagedInLayerShadersPerCopy; }

std::string damagedLinksScene(int64_t copies) {
    return "{\"materials\": [" + joined(copies, [](std::string& text, int64_t i) { text += damagedCopy(i); }) + "]}";
}

}  // namespace validator
