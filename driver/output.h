// What the session shows, as it happens: as readable text, or as one JSON
// object per line with an "event" field. Every event is flushed at once so
// that a user at the terminal sees it before typing the next command.
#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/fault.h"

namespace driver {

enum class Format { Text, Json };

struct ListView {
    std::vector<std::string> columns;            // header texts, as drawn
    std::vector<std::vector<std::string>> rows;  // cell texts, as drawn
};

class Output {
public:
    Output(std::ostream& stream, Format format) : stream_(stream), format_(format) {}

    void console(const std::string& text, const std::string& file, int32_t line);
    void notice(const std::string& text);
    void question(const std::string& text, bool answeredYes);
    void list(const ListView& view);
    void openFile(const std::string& path);
    // A chooser of a folder or of a file to save (mode "folder" or "save")
    // and the user's answer (empty: cancelled).
    void chooser(const std::string& mode, const std::string& title, const std::string& answer);
    // The status bar: its text, its progress bar, cleared.
    void status(const std::string& text);
    void statusBar(int32_t percent);
    void statusCleared();
    // A file the module wrote; a scene file it opened as the active document.
    void wroteFile(const std::string& path);
    void openedScene(const std::string& path);
    void selected(const std::string& kind, const std::string& path);
    void dialog(const std::string& text);
    void scene(const std::string& text);
    void error(const std::string& text);
    // A fault of the module, the last thing a session shows.
    void fault(std::string_view operation, std::string_view text);
    // How many allocations, host objects and host strings the module asked for.
    void counts(int64_t allocations, int64_t objects, int64_t strings, int64_t undo);
    // The command about to run, echoed in text so a script's output reads as a
    // session.
    void command(const std::string& text);
    void prompt();
    // From now on, path is shown as shown wherever it appears (in each of the
    // forms a text may give it): a place that differs from run to run.
    void showPathAs(const std::filesystem::path& path, const std::string& shown);

private:
    void write(const std::string& text);
    void writeText(const std::string& text);

    std::ostream& stream_;
    Format format_;
    std::vector<std::pair<std::string, std::string>> shownPaths_;
};

// While alive, a module fault ends the program with a fault event on output
// and exit status substitute::faultExitStatus, instead of an abort.
class FaultEvents {
public:
    explicit FaultEvents(Output& output)
        : reporting_([&output](std::string_view operation, std::string_view text) { output.fault(operation, text); }) {}

private:
    substitute::FaultReporting reporting_;
};

}  // namespace driver
