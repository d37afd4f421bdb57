#include "checks/random_folder.h"

#include <fstream>
#include <system_error>

namespace validator {
namespace {
namespace fs = std::filesystem;

// Subfolders repeat, nest and sort apart by their bytes.
constexpr const char* subfolders[] = {"", "shots/", "shots/sh010/", "Shots/", "assets/props/", "caf\xC3\xA9/"};

void write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

fs::path placeFor(Choices& choices, const fs::path& folder, const std::string& name) {
    const std::string subfolder = choices.pick(subfolders);
    return folder / fs::path(subfolder + name);
}
}  // namespace

std::string randomFolderScene(Choices& choices, const SceneShape& shape, const std::string& installing) {
    return withPluginsOf(randomScene(choices, shape), installing);
}

void writeRandomFolder(Choices& choices, const fs::path& folder, int32_t scenes, const SceneShape& shape,
                       const std::string& installing) {
    fs::path someScene;
    for (int32_t i = 0; i < scenes; ++i) {
        someScene = placeFor(choices, folder, "scene" + std::to_string(i) + ".json");
        write(someScene, randomFolderScene(choices, shape, installing));
    }
    const std::string scene = randomFolderScene(choices, shape, installing);
    write(placeFor(choices, folder, "cut.json"), scene.substr(0, size_t(choices.below(scene.size()))));
    write(placeFor(choices, folder, "empty.json"), "");
    write(placeFor(choices, folder, "list.json"), "[1, 2, 3]");
    write(placeFor(choices, folder, "notes.txt"), scene);
    const fs::path locked = placeFor(choices, folder, "locked.json");
    write(locked, randomFolderScene(choices, shape, installing));
    std::error_code error;
    fs::permissions(locked, fs::perms::none, error);
#ifndef _WIN32
    fs::create_symlink("nowhere.json", folder / "dangling.json", error);
    if (!someScene.empty()) fs::create_symlink(someScene, folder / "linked.json", error);
#endif
}

}  // namespace validator
