// A folder of seeded random scene files for folder runs: random scenes in
// nested subfolders, and beside them what a project folder also holds: a
// scene cut short, an empty file, a file that is no scene, one the user may
// not read (where permissions bind), a link to nothing and a link to a scene.
#pragma once

#include <filesystem>

#include "checks/random_scene.h"

namespace validator {

// Writes scenes random scenes of shape (and the rest) into folder, each with
// the plug-in records of installing (a random scene too).
void writeRandomFolder(Choices& choices, const std::filesystem::path& folder, int32_t scenes, const SceneShape& shape,
                       const std::string& installing);

// A scene of shape as writeRandomFolder writes it.
std::string randomFolderScene(Choices& choices, const SceneShape& shape, const std::string& installing);

}  // namespace validator
