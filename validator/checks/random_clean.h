// The Remove Missing Plugins in Folder runs of a random session: each into a
// new destination (at times holding files of its own where copies would go)
// or into the last one again (every copy already there), at times with a
// save or a folder refused, and at times with a scene file deleted or
// rewritten, or a new one made, between the listing and its reading. After
// each run the disk is judged as folder_clean.h says, and its copies once
// the session ended.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "checks/folder_clean.h"
#include "checks/random_scene.h"
#include "framework/choices.h"
#include "framework/harness.h"
#include "scene_folder.h"

namespace validator {

class RandomClean {
public:
    // source: the folder searched; its scene files are of shape and install
    // what installing does.
    // copies: where the copies written go, to be judged once the session ended.
    RandomClean(Choices& choices, Harness& harness, std::filesystem::path source, const SceneShape& shape,
                std::string installing, std::vector<CleanedCopy>& copies);
    ~RandomClean();
    RandomClean(const RandomClean&) = delete;
    RandomClean& operator=(const RandomClean&) = delete;

    // Before a Process of the clean: the destination, the refusals and the
    // change to come; the destination to answer the second folder chooser.
    std::filesystem::path prepare();
    // After it: "" or what is wrong. ran: the run was not refused at the question.
    std::string judge(bool ran, const Rows& rows, CleanBoxes boxes);
    // The destination of the last clean that ran.
    const std::filesystem::path& listedDestination() const { return listed_; }

private:
    // The scene files below the source, in byte order, but those a link
    // leads to (a link read before its target changed would be read again).
    std::vector<std::string> sourceScenes() const;
    void changeSource(const std::string& reading);

    Choices& choices_;
    Harness& harness_;
    std::function<void(const substitute::StatusChange&)> previousHook_;
    std::filesystem::path source_;
    SceneShape shape_;
    std::string installing_;
    std::vector<CleanedCopy>& copies_;
    std::vector<std::unique_ptr<kit::TemporaryFolder>> destinations_;
    std::filesystem::path listed_;
    CleanFolders folders_;
    bool refused_ = false;
    // The change to make when the status shows the changeAt-th file (0: none).
    int64_t changeAt_ = 0;
    int64_t filesShown_ = 0;
    std::string appeared_;  // a file made after the listing
    int64_t made_ = 0;
};

}  // namespace validator
