#include "program.h"

#include <istream>

#include "input/input_files.h"

#include "command_text.h"
#include "number_word.h"
#include "session.h"

namespace driver {
namespace {
// Feeds lines of commands to the session. A script stops at the first
// refused command; a user at the keyboard just goes on with the next one.
class Feeder {
public:
    enum class Naming { ByLine, ByCommand };

    Feeder(Session& session, Output& output, Naming naming, bool scripted)
        : session_(session), output_(output), naming_(naming), scripted_(scripted) {}

    // False when the session must stop here.
    bool feed(std::string_view line) {
        ++lines_;
        SplitLine split = splitLine(line);
        if (!split.error.empty()) {
            output_.error(origin(commands_ + 1) + ": " + split.error);
            return goesOn();
        }
        for (const Words& command : split.commands) {
            ++commands_;
            if (scripted_) output_.command(joinWords(command));
            if (!session_.run(command, origin(commands_)) && !goesOn()) return false;
        }
        return true;
    }

    bool failed() const { return failed_; }

private:
    // After a refusal: a script stops there and fails; a user goes on.
    bool goesOn() {
        failed_ = failed_ || scripted_;
        return !scripted_;
    }
    std::string origin(size_t command) const {
        return naming_ == Naming::ByLine ? "line " + std::to_string(lines_) : "-c command " + std::to_string(command);
    }

    Session& session_;
    Output& output_;
    Naming naming_;
    bool scripted_;
    size_t lines_ = 0;
    size_t commands_ = 0;
    bool failed_ = false;
};

// Runs the commands; false when a script or -c command was refused.
bool runCommands(Session& session, Output& output, const Options& options, const std::string& script,
                 std::istream& input, bool terminal) {
    if (options.script || options.commands) {
        Feeder feeder(session, output, options.script ? Feeder::Naming::ByLine : Feeder::Naming::ByCommand, true);
        for (std::string_view line : splitLines(options.script ? script : *options.commands)) {
            if (!feeder.feed(line)) break;
        }
        return !feeder.failed();
    }
    // Commands from a pipe or a file are a script as much as --script is:
    // only a user at the keyboard can see a refusal and go on.
    Feeder feeder(session, output, Feeder::Naming::ByLine, !terminal);
    std::string line;
    uint64_t read = 0;
    while (true) {
        if (terminal) output.prompt();
        if (!std::getline(input, line)) break;
        read += line.size() + 1;
        if (read > options.inputLimit) {
            output.error("standard input is larger than " + std::to_string(options.inputLimit) + " bytes");
            return false;
        }
        if (!feeder.feed(line)) break;
    }
    return !feeder.failed();
}

bool takesValue(const std::string& option) {
    for (const char* name :
         {"--module", "--answer", "--save", "--script", "-c", "--input-limit", "--fail-allocation", "--fail-object",
          "--fail-string", "--fail-undo", "--fail-save", "--fail-folder", "--fail-remove", "--escape-after"}) {
        if (option == name) return true;
    }
    return false;
}

// Sets the option's value; "" when it is sound, else what is wrong with it.
std::string setValue(const std::string& option, const std::string& given, Options& options) {
    if (option == "--module") options.module = given;
    if (option == "--save") options.save = given;
    if (option == "--script") options.script = given;
    if (option == "-c") options.commands = given;
    if (option == "--input-limit" && !parseNumber(given, options.inputLimit)) {
        return "--input-limit takes a number of bytes, not \"" + given + "\"";
    }
    if (option == "--answer") {
        if (given != "yes" && given != "no") return "--answer takes yes or no, not \"" + given + "\"";
        options.answerYes = given == "yes";
    }
    if (option == "--escape-after") {
        int64_t files = 0;
        if (!parseNumber(given, files) || files < 0)
            return "--escape-after takes a whole number from 0, not \"" + given + "\"";
        options.escapeAfter = files;
    }
    int64_t* request = option == "--fail-allocation" ? &options.failAllocation
                       : option == "--fail-object"   ? &options.failObject
                       : option == "--fail-string"   ? &options.failString
                       : option == "--fail-undo"     ? &options.failUndo
                       : option == "--fail-save"     ? &options.failSave
                       : option == "--fail-folder"   ? &options.failFolder
                       : option == "--fail-remove"   ? &options.failRemove
                                                     : nullptr;
    if (request && (!parseNumber(given, *request) || *request < 1)) {
        return option + " takes a whole number from 1, not \"" + given + "\"";
    }
    return {};
}
}  // namespace

std::string parseOptions(const std::vector<std::string>& args, Options& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json") {
            options.format = Format::Json;
        } else if (arg == "--counts") {
            options.counts = true;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (takesValue(arg)) {
            if (i + 1 == args.size()) return arg + " needs a value";
            std::string problem = setValue(arg, args[++i], options);
            if (!problem.empty()) return problem;
        } else if (!arg.empty() && arg[0] == '-') {
            return "unknown option " + arg;
        } else if (options.scene) {
            return "more than one scene file (" + options.scene->string() + ", " + arg + ")";
        } else {
            options.scene = arg;
        }
    }
    if (options.script && options.commands) return "--script and -c exclude each other";
    return {};
}

int runProgram(const std::vector<std::string>& args, std::istream& input, bool terminal, std::ostream& output,
               std::ostream& errors) {
    Options options;
    std::string problem = parseOptions(args, options);
    if (!problem.empty()) {
        errors << "cleartrace-host: " << problem << '\n' << usage;
        return 1;
    }
    if (options.help) {
        output << usage << commandSummary;
        return 0;
    }
    Output shown(output, options.format);
    std::string script, problemReading;
    if (options.script && !substitute::readInputFile(*options.script, options.inputLimit, script, problemReading)) {
        shown.error("cannot read the script: " + problemReading);
        return 1;
    }
    // Declared before the session, so that a fault while the module ends is
    // reported too.
    FaultEvents faultEvents(shown);
    Session session(shown, options.answerYes);
    substitute::KernelServices& services = session.host().services;
    services.failAllocation(options.failAllocation);
    services.failObjectCreation(options.failObject);
    services.failStringCreation(options.failString);
    services.failUndo(options.failUndo);
    services.failSave(options.failSave);
    services.failFolderCreation(options.failFolder);
    services.failRemoval(options.failRemove);
    session.host().ui.escapeKey.pressedAfterLoads = options.escapeAfter;
    bool ok = session.start(options.module, options.scene, options.inputLimit) &&
              runCommands(session, shown, options, script, input, terminal) &&
              (!options.save || session.save(*options.save));
    ok = session.quit() && ok;
    if (options.counts) {
        shown.counts(services.allocationsRequested(), services.objectCreationsRequested(),
                     services.stringCreationsRequested(), services.undoRequests());
    }
    return ok ? 0 : 1;
}

}  // namespace driver
