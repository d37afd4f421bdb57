#include "render_engine_scene.h"

namespace kit {

std::string renderEngineScene(int32_t id) {
    const std::string type = std::to_string(id);
    const auto material = [&](const std::string& name, bool instance, bool selected) {
        return "{\"name\": \"" + name + "\", \"type\": " + (instance ? type : "5703") +
               (selected ? ", \"selected\": true" : "") + ", \"channels\": {\"0\": {\"shader\": {\"name\": \"c\", " +
               "\"type\": " + type + "}}, \"5\": {\"shader\": {\"name\": \"L\", \"type\": 1011123, \"layers\": " +
               "[{\"kind\": 2, \"shader\": {\"name\": \"x\", \"type\": " + type + "}}]}}}}";
    };
    const auto videoPost = [&](const std::string& name, bool instance) {
        return "{\"name\": \"" + name + "\", \"type\": " + (instance ? type : "300001") + "}";
    };
    return "{\"plugins\": [], \"objects\": [], \"materials\": [" + material("E1", true, true) + ", " +
           material("Plain", false, false) + ", " + material("E2", true, false) + ", " + material("E3", true, true) +
           "], \"renderSettings\": [{\"name\": \"Preview\", \"videoPosts\": [" + videoPost("P1", true) +
           "]}, {\"name\": \"Final\", \"active\": true, \"videoPosts\": [" + videoPost("F1", true) + ", " +
           videoPost("AO", false) + ", " + videoPost("F2", true) + "]}, {\"name\": \"Client\", \"videoPosts\": [" +
           videoPost("C1", true) + "]}]}";
}

}  // namespace kit
