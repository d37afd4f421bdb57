// Scene files: a document and the installed plug-ins as JSON.
//
//   {"plugins": [{"id": 1234, "kind": 6, "name": "Legacy Tag"}],
//    "objects": [{"name": "Cube", "type": 5159, "selected": true,
//                 "tags": [{"name": "Legacy", "type": 1234}], "children": [...]}],
//    "materials": [{"name": "Mat", "type": 5703, "selected": true, "channels": {
//        "0": {"shader": {"name": "Noise", "type": 1011116}},
//        "3": {"reflectance": [{"name": "Layers", "type": 1011123, "layers": [
//                                 {"kind": 2, "shader": {"name": "X", "type": 1234}},
//                                 {"kind": 2, "shader": null}, {"kind": 1}]},
//                              {"name": "Foreign", "type": 1234, "owner": "Other Mat"}]},
//        "6": {}}}],
//    "renderSettings": [{"name": "Main", "active": true, "videoPosts": [{"name": "Glow", "type": 1234}]}]}
//
// A channel exists when its key ("0" to "14") is there; {} is a channel
// without a shader; "reflectance" belongs to channel 3 only. Layers belong to
// layer shaders (type 1011123); a shader layer (kind 2) must have "shader",
// null being a link that resolves to nothing. "owner" names the material that
// owns a reflectance shader (default: the material holding it; null: none).
// Elements need "type"; "name" defaults to "", "selected" and "active" to
// false. Unknown keys, a key given twice and anything after the top-level
// object are errors.
//
// Saving writes one canonical form: the four top-level lists always, then per
// record name, type and only what differs from the defaults; lists of records
// one record per line, records on one line up to their nested lists. So a
// saved file loads and saves to the same bytes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "input_files.h"
#include "scene.h"

namespace substitute {

struct SceneLoad {
    HostDocument* document = nullptr;  // null on failure
    std::string error;                 // "objects[0].children[2].tags[1]: missing \"type\""
};

// Builds a new document from json. On success the document becomes the
// active one and the file's plug-ins replace the registry; on failure the
// scene is unchanged.
SceneLoad loadScene(Scene& scene, std::string_view json);
// Refuses what is not a regular file, and a file larger than limit bytes.
SceneLoad loadSceneFile(Scene& scene, const std::filesystem::path& file, uint64_t limit = defaultInputLimit);

std::string saveScene(const Scene& scene, const HostDocument& document);
// False (with error) when the file cannot be written.
bool saveSceneFile(const Scene& scene, const HostDocument& document, const std::filesystem::path& file,
                   std::string* error = nullptr);

}  // namespace substitute
