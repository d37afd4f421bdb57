// Scene files: a document and the installed plug-ins as JSON. The format,
// the one canonical form that saving writes (so a saved file loads and saves
// to the same bytes) and the errors are described in README.md, "Scene
// files"; docs/scene.schema.json is its schema.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "input/input_files.h"
#include "scene/scene.h"

namespace substitute {

// What a loaded scene file becomes. The registry is the application's: only
// the file the application starts from installs its plug-ins.
enum class LoadAs {
    Start,   // the active document, its "plugins" the registry
    Opened,  // the active document, as File > Open makes it; the registry stays
    Hidden,  // a hidden document for the module to search; the registry stays
};

struct SceneLoad {
    HostDocument* document = nullptr;  // null on failure
    std::string error;                 // "objects[0].children[2].tags[1]: missing \"type\""
};

// Builds a new document from json. On success the document becomes what as
// says (by default the active one, the file's plug-ins replacing the
// registry); on failure the scene is unchanged.
SceneLoad loadScene(Scene& scene, std::string_view json, LoadAs as = LoadAs::Start);
// Refuses what is not a regular file, and a file larger than limit bytes.
SceneLoad loadSceneFile(Scene& scene, const std::filesystem::path& file, uint64_t limit = defaultInputLimit,
                        LoadAs as = LoadAs::Start);

std::string saveScene(const Scene& scene, const HostDocument& document);
// False (with error) when the file cannot be written.
bool saveSceneFile(const Scene& scene, const HostDocument& document, const std::filesystem::path& file,
                   std::string* error = nullptr);

}  // namespace substitute
