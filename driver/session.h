// A dialog session: the application with the module loaded, a scene in its
// active document, and the commands a user gives, each acting as the user
// would (on the window's controls, the results list, the scene).
// Everything the module shows goes to the output as it happens.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "command_text.h"
#include "command_words.h"
#include "core/substitute_host.h"
#include "dialog_contract.h"
#include "input/input_files.h"
#include "loading/module_loader.h"
#include "output.h"

namespace driver {

class Session {
public:
    Session(Output& output, bool answerYes);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Loads and starts the module, then loads the scene file into the active
    // document (none: an empty document). False, with the error shown, when
    // either fails.
    bool start(const std::filesystem::path& module, const std::optional<std::filesystem::path>& scene,
               uint64_t inputLimit = substitute::defaultInputLimit);
    // The same with the scene given as the text of a scene file.
    bool startWithScene(const std::filesystem::path& module, std::string_view sceneJson);
    // Runs one command. False, with an error naming origin shown, when it is
    // refused; a refused command has changed nothing.
    bool run(const Words& command, const std::string& origin);
    bool save(const std::filesystem::path& file);
    // The application quits: the module is ended and unloaded. False, with
    // the leaks shown, when the module left memory, strings, paths or other
    // host objects behind.
    bool quit();

    substitute::SubstituteHost& host() { return host_; }

private:
    bool startModule(const std::filesystem::path& module);
    // The commands, each answering "" when done, else why it was refused.
    std::string open(const Words& args);
    std::string close(const Words& args);
    std::string cancel(const Words& args);
    std::string process(const Words& args);
    std::string about(const Words& args);
    std::string helpFile(const Words& args);
    std::string action(const Words& args);
    std::string type(const Words& args);
    std::string scope(const Words& args);
    std::string id(const Words& args);
    std::string warn(const Words& args);
    std::string keep(const Words& args);
    std::string children(const Words& args);
    std::string answer(const Words& args);
    std::string folder(const Words& args);
    std::string temporaryFolder(const Words& args);
    std::string saveFile(const Words& args);
    std::string saveList(const Words& args);
    std::string list(const Words& args);
    std::string doubleClick(const Words& args);
    std::string select(const Words& args);
    std::string deselect(const Words& args);
    std::string remove(const Words& args);
    std::string undo(const Words& args);
    std::string redo(const Words& args);
    std::string scene(const Words& args);
    std::string saveCommand(const Words& args);
    std::string dialog(const Words& args);
    std::string snapshot(const Words& args);

    // What operate answers on the module's window; refused when it never opened.
    template <class Operate>
    std::string withWindow(Operate operate);
    HostDocument& document() const;
    std::string chooseEntry(int32_t combo, const std::string& word, std::span<const ChoiceWord> entries);
    std::string check(int32_t box, const std::string& word);
    std::string saveTo(const std::filesystem::path& file);
    void showOpenedFiles(size_t from);
    void showWrittenFiles(size_t from);

    Output& output_;
    substitute::SubstituteHost host_;
    substitute::ModuleLoader loader_{host_};
    // Made by tempfolder; removed with what they hold when the session ends.
    std::vector<std::filesystem::path> temporaryFolders_;
};

}  // namespace driver
