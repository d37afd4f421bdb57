// The sessions the allocation sweep refuses requests in: each action on each
// plug-in type and scope, and the missing-plug-ins actions, over a small
// scene with every kind of place, over one with shaders owned by every kind
// of element and below shaders, and over deep hierarchies and nested layer
// shaders, with selections; removals of objects that hold objects that stay,
// most with their children kept and some not; and a folder search and folder
// cleans over a folder of such scenes. The set grows with the level.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dialog_contract.h"

namespace validator {

struct SweepSession {
    std::string scene;  // scene-file text
    // Ends with the Process that is judged; {folder} stands for the folder of
    // files, {destination} for a new empty folder for each run's copies.
    std::string commands;
    Action action;  // the action of that Process
    // A folder run's files: path relative to the folder, and text.
    std::vector<std::pair<std::string, std::string>> files = {};
};

inline constexpr const char* sweepFolderMark = "{folder}";
inline constexpr const char* sweepDestinationMark = "{destination}";

std::vector<SweepSession> sweepSessions(int level);

}  // namespace validator
