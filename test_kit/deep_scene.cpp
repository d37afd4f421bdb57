#include "deep_scene.h"

namespace kit {

std::string deepScene(int depth, int32_t id) {
    const std::string type = std::to_string(id);
    std::string objects;
    for (int level = depth - 1; level >= 0; --level) {
        const std::string children = objects.empty() ? "" : ", \"children\": [" + objects + "]";
        objects = "{\"name\": \"o" + std::to_string(level) + "\", \"type\": " + (level % 3 == 2 ? type : "5159") +
                  (level % 7 == 3 ? ", \"selected\": true" : "") + ", \"tags\": [{\"name\": \"t" +
                  std::to_string(level) + "\", \"type\": " + type + "}]" + children + "}";
    }
    std::string layers = "{\"kind\": 2, \"shader\": {\"name\": \"bottom\", \"type\": " + type + "}}";
    for (int level = depth - 1; level >= 0; --level) {
        layers = "{\"kind\": 2, \"shader\": {\"name\": \"x" + std::to_string(level) + "\", \"type\": " + type +
                 "}}, {\"kind\": 2, \"shader\": {\"name\": \"L" + std::to_string(level) +
                 "\", \"type\": 1011123, \"layers\": [" + layers + "]}}";
    }
    return "{\"plugins\": [], \"objects\": [" + objects +
           "], \"materials\": [{\"name\": \"M\", \"type\": 5703, \"selected\": true, \"channels\": {\"0\": "
           "{\"shader\": {\"name\": \"c\", \"type\": " +
           type + "}}, \"5\": {\"shader\": {\"name\": \"L\", \"type\": 1011123, \"layers\": [" + layers +
           "]}}}}], \"renderSettings\": [{\"name\": \"R\", \"active\": true, \"videoPosts\": [{\"name\": \"v1\", "
           "\"type\": " +
           type + "}, {\"name\": \"v2\", \"type\": " + type + "}]}]}";
}

}  // namespace kit
