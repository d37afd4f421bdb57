#include "render_settings_scene.h"

#include <cctype>

namespace kit {

std::string renderSettingsScene(std::string_view order, int32_t id) {
    std::string settings;
    for (size_t place = 0; place < order.size(); ++place) {
        const char letter = order[place];
        const bool active = letter == 'A' || letter == 'a';
        const bool instance = std::isupper(static_cast<unsigned char>(letter)) != 0;
        const std::string number = std::to_string(place);
        if (!settings.empty()) settings += ", ";
        settings += "{\"name\": \"Settings " + number + "\"" + (active ? ", \"active\": true" : "") +
                    ", \"videoPosts\": [{\"name\": \"Post " + number +
                    "\", \"type\": " + std::to_string(instance ? id : id + 1) + "}]}";
    }
    return "{\"objects\": [], \"materials\": [], \"renderSettings\": [" + settings + "]}";
}

}  // namespace kit
