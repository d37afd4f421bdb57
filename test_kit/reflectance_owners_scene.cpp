#include "reflectance_owners_scene.h"

namespace kit {

std::string reflectanceOwnersScene(int64_t materials) {
    std::string json = R"({"materials": [)";
    for (int64_t m = 0; m < materials; ++m) {
        json += (m ? ", " : "") + std::string(R"({"name": "M)") + std::to_string(m) +
                R"(", "type": 5703, "channels": {"3": {"reflectance": [{"type": 5, "owner": "M)" +
                std::to_string((m * 7919) % materials) + R"("}]}}})";
    }
    json += "]}";
    return json;
}

}  // namespace kit
