// The host's modal choosers of a folder and of a file to save (the Fn table's
// select). The user's answers wait in a queue per chooser, as the answers to
// questions do; a chooser with none queued is cancelled. Every chooser shown
// is recorded with its answer.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/host_tables.h"

namespace substitute {

struct ChooserRecord {
    int32_t mode = HOST_SELECT_FOLDER;  // HOST_SELECT_
    std::string title;
    std::filesystem::path proposed;               // what the module offered (a save's default name)
    std::optional<std::filesystem::path> chosen;  // none: cancelled
};

struct FileChoosers {
    // The next answers, used front to back; the path as the user typed it.
    std::deque<std::filesystem::path> folderAnswers;
    std::deque<std::filesystem::path> saveAnswers;
    std::vector<ChooserRecord> shown;
    // Called for every chooser as it is answered (the driver prints them).
    std::function<void(const ChooserRecord&)> onShow;
};

void fillChooserEntry(HostPathTable& table);

}  // namespace substitute
