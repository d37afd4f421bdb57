// A dialog session for a check: the module under test loaded into a fresh
// substitute host with a scene given as text, operated with the driver's
// commands ("open; type tag; process"), everything it shows kept for the
// check to read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "session.h"

namespace validator {

// Which request of the session the host refuses (0: none), counted from
// before the module is loaded.
struct Injection {
    int64_t allocation = 0;
    int64_t objectCreation = 0;
    int64_t stringCreation = 0;
    int64_t undo = 0;  // an undo request: the start of a group, a step, the end of a group
    // The file system's work: a document saved, a folder made, a file or folder removed.
    int64_t save = 0;
    int64_t folder = 0;
    int64_t removal = 0;
};

class Harness {
public:
    Harness();
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    // Loads and starts the module, then the scene: "" or why not.
    std::string start(const std::filesystem::path& module, std::string_view sceneJson, const Injection& injection = {});
    // Runs commands separated by ';': "" or what the first refused one said.
    std::string run(std::string_view commands);
    // The active document as a scene file would hold it.
    std::string savedScene();
    // The texts of the message boxes shown so far.
    std::vector<std::string> boxTexts();
    // False while a refusal asked for at start is still to come: the session
    // never made that many requests, so a sweep has gone past its end.
    bool injectionReached();
    // Ends and unloads the module: "" or what it left behind.
    std::string quit();

    substitute::SubstituteHost& host() { return session_.host(); }

private:
    // What the session printed since the last call.
    std::string takeShown();

    std::ostringstream shown_;
    driver::Output output_{shown_, driver::Format::Text};
    driver::Session session_{output_, true};
};

}  // namespace validator
