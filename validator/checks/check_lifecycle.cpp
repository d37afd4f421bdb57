// The module's entry point driven message by message: the usual start-up and
// end, and what a careless or foreign host does (messages out of order, an
// old host, null or short tables). Each case loads the module afresh, checks
// every answer, and counts what the module left behind once unloaded.
#include <climits>
#include <filesystem>
#include <random>
#include <system_error>
#include <vector>

#include "checks/check_runs.h"
#include "dialog_contract.h"
#include "expected_command_id.h"
#include "expected_notices.h"
#include "framework/lifecycle_module.h"
#include "missing_table_text.h"

namespace validator {
namespace {
namespace fs = std::filesystem;

constexpr int32_t oldestHost = HOST_INTERFACE_VERSION;
constexpr int32_t unknownMessages[] = {0, 5, 7, -1, 1000};

// Version query and every unknown message, at one moment of the lifecycle.
void expectFixedAnswers(LifecycleModule& m, Expectations& e, const std::string& when) {
    e.answer("the version query " + when, m.send(HOST_MODULE_VERSION_QUERY), HOST_MODULE_VERSION_ANSWER);
    for (int32_t message : unknownMessages) {
        e.answer("message " + std::to_string(message) + " " + when, m.send(message), HOST_MODULE_NOT_HANDLED);
    }
}

// The application's start-up: bind, resource, start.
void startUp(LifecycleModule& m, Expectations& e) {
    e.answer("bind", m.bind(), HOST_MODULE_HANDLED);
    e.answer("the resource message", m.loadResource(), HOST_MODULE_HANDLED);
    e.answer("start", m.start(), HOST_MODULE_HANDLED);
}

void usualStartAndEnd(LifecycleModule& m, Expectations& e) {
    startUp(m, e);
    e.fact(m.lastConsoleLine() == kit::loadedLine,
           "start wrote \"" + m.lastConsoleLine() + "\", not \"" + kit::loadedLine + "\"");
    e.fact(m.commandRegistered(),
           "start answered 1 but registered no command " + std::to_string(kit::expectedCommandId));
    for (const char* name : {"g_enableDebugBreak", "g_trackCpuYield"}) {
        const auto& switches = m.host.services.switches();
        e.fact(switches.count(name) == 1 && switches.at(name).registered, std::string("bind registered no ") + name);
    }
    m.host.ui.shutDown();
    e.answer("end", m.end(), HOST_MODULE_HANDLED);
    e.fact(m.host.ui.freedResources.size() == 1, "the final end did not give back the resource");
}

void fixedAnswersAtAnyTime(LifecycleModule& m, Expectations& e) {
    expectFixedAnswers(m, e, "before bind");
    e.answer("message 6 with id 0 before bind", m.moduleMessage(HOST_MODULE_MESSAGE_NONE), HOST_MODULE_HANDLED);
    e.answer("bind", m.bind(), HOST_MODULE_HANDLED);
    expectFixedAnswers(m, e, "after bind");
    e.answer("end", m.end(), HOST_MODULE_HANDLED);
    expectFixedAnswers(m, e, "after the final end");
    e.answer("message 6 with id 0 after the final end", m.moduleMessage(HOST_MODULE_MESSAGE_NONE), HOST_MODULE_HANDLED);
}

void bindTwice(LifecycleModule& m, Expectations& e) {
    e.answer("the first bind", m.bind(), HOST_MODULE_HANDLED);
    e.answer("the resource message", m.loadResource(), HOST_MODULE_HANDLED);
    const int64_t held = m.host.services.liveBlocks();
    // A later bind only counts, whatever it hands over.
    e.answer("the second bind (null tables, no path)", m.send(HOST_MODULE_BIND), HOST_MODULE_HANDLED);
    e.answer("the first end", m.end(), HOST_MODULE_HANDLED);
    e.fact(m.host.ui.freedResources.empty() && m.host.services.liveBlocks() == held,
           "the first of two ends released what the module holds");
    e.answer("the second end", m.end(), HOST_MODULE_HANDLED);
    e.fact(m.host.ui.freedResources.size() == 1 && m.host.services.liveBlocks() == 0,
           "the second end did not release the resource and the module path");
}

void startBeforeBind(LifecycleModule& m, Expectations& e) {
    e.answer("start before bind", m.start(), HOST_MODULE_FAILED);
    e.fact(!m.commandRegistered(), "start before bind registered the command");
    e.fact(m.lastConsoleLine() == kit::failedLine,
           "start before bind wrote \"" + m.lastConsoleLine() + "\", not \"" + kit::failedLine + "\"");
    startUp(m, e);
    e.fact(m.commandRegistered(), "start after bind registered no command");
    m.host.ui.shutDown();
    e.answer("end", m.end(), HOST_MODULE_HANDLED);
}

void endAtCountZero(LifecycleModule& m, Expectations& e) {
    e.answer("end before any bind", m.end(), HOST_MODULE_HANDLED);
    e.answer("a second end before any bind", m.end(), HOST_MODULE_HANDLED);
    // The count never went below 0: one bind and one end make a whole run.
    e.answer("bind", m.bind(), HOST_MODULE_HANDLED);
    e.answer("the resource message", m.loadResource(), HOST_MODULE_HANDLED);
    e.answer("end", m.end(), HOST_MODULE_HANDLED);
    e.fact(m.host.services.liveBlocks() == 0 && m.host.ui.freedResources.size() == 1,
           "the end after two ends at count 0 did not release the module's state");
}

void endWithoutStart(LifecycleModule& m, Expectations& e) {
    e.answer("bind", m.bind(), HOST_MODULE_HANDLED);
    e.answer("the resource message", m.loadResource(), HOST_MODULE_HANDLED);
    e.answer("end without start", m.end(), HOST_MODULE_HANDLED);
    e.fact(!m.commandRegistered(), "a command was registered without start");
    e.fact(m.host.ui.freedResources.size() == 1, "the end did not give back the resource");
}

void unloadWithoutEnd(LifecycleModule& m, Expectations& e) {
    startUp(m, e);  // no end: the library's own clean-up must give everything back
}

void hostVersions(LifecycleModule& m, Expectations& e) {
    struct Version {
        const char* what;
        int32_t version;
        int32_t answer;
    };
    const Version versions[] = {{"exactly 2026000", oldestHost, HOST_MODULE_HANDLED},
                                {"a newer host", oldestHost + 1000, HOST_MODULE_HANDLED},
                                {"one below 2026000", oldestHost - 1, HOST_MODULE_BIND_REFUSED},
                                {"the oldest possible", INT32_MIN, HOST_MODULE_BIND_REFUSED}};
    for (const Version& v : versions) {
        HostTables tables = *m.host.tables();
        tables.version = v.version;
        const bool accepted = e.answer(std::string("bind with host version ") + v.what, m.bind(&tables), v.answer);
        if (accepted && v.answer == HOST_MODULE_BIND_REFUSED) {
            e.answer(std::string("start after a refused bind (") + v.what + ")", m.start(), HOST_MODULE_FAILED);
            e.fact(!m.commandRegistered(), "start registered a command for a refused host");
            e.answer("the resource message after a refused bind", m.loadResource(), HOST_MODULE_NOT_HANDLED);
            e.answer("message 6 with id 0 after a refused bind", m.moduleMessage(HOST_MODULE_MESSAGE_NONE),
                     HOST_MODULE_HANDLED);
            e.fact(m.host.services.liveBlocks() == 0, "a refused bind kept memory");
        }
        e.answer("end", m.end(), HOST_MODULE_HANDLED);
    }
}

void refusedBindIsRemembered(LifecycleModule& m, Expectations& e) {
    HostTables old = *m.host.tables();
    old.version = oldestHost - 1;
    e.answer("bind of an old host", m.bind(&old), HOST_MODULE_BIND_REFUSED);
    e.answer("a second bind after a refused one", m.bind(), HOST_MODULE_BIND_REFUSED);
    e.answer("start", m.start(), HOST_MODULE_FAILED);
    e.answer("the resource message", m.loadResource(), HOST_MODULE_NOT_HANDLED);
    for (const char* which : {"the first end", "the second end", "a third end"})
        e.answer(which, m.end(), HOST_MODULE_HANDLED);
    e.fact(m.host.ui.freedResources.empty(), "ends after a refused bind gave back a resource never loaded");
    // A new run starts with a first bind of its own.
    e.answer("the bind of a new run", m.bind(), HOST_MODULE_HANDLED);
    e.answer("the resource message of the new run", m.loadResource(), HOST_MODULE_HANDLED);
    e.answer("the end of the new run", m.end(), HOST_MODULE_HANDLED);
}

void noModulePath(LifecycleModule& m, Expectations& e) {
    e.answer("bind without a module path", m.bind(m.host.tables(), false), HOST_MODULE_BIND_REFUSED);
    e.answer("end", m.end(), HOST_MODULE_HANDLED);
}

void nullTables(LifecycleModule& m, Expectations& e) {
    e.answer("bind with null tables", m.bind(nullptr), HOST_MODULE_BIND_REFUSED);
    e.answer("start", m.start(), HOST_MODULE_FAILED);
    e.answer("end", m.end(), HOST_MODULE_HANDLED);
}

// What follows a bind HOST_MODULE_BIND_REFUSED for a bad table: the assertion line, then nothing
// called through the HOST_MODULE_BIND_REFUSED tables.
void expectTableRefused(LifecycleModule& m, Expectations& e, const std::string& what, int32_t answer) {
    if (!e.answer("bind with " + what, answer, HOST_MODULE_BIND_REFUSED)) return;
    const auto& console = m.host.services.console();
    e.fact(!console.empty() && console.back().text == kit::missingTableText &&
               console.back().level == HOST_LOG_LEVEL_CRITICAL,
           "bind with " + what + " did not write the assertion line as a critical message");
    e.answer("start after bind with " + what, m.start(), HOST_MODULE_FAILED);
    e.answer("the resource message after bind with " + what, m.loadResource(), HOST_MODULE_NOT_HANDLED);
    e.fact(m.host.services.liveBlocks() == 0 && !m.commandRegistered(), "bind with " + what + " kept state");
    e.answer("end after bind with " + what, m.end(), HOST_MODULE_HANDLED);
}

void missingTables(LifecycleModule& m, Expectations& e) {
    for (int index = 0; index < HOST_TABLE_COUNT && !e.failed(); ++index) {
        const HostTables tables = kit::withoutTable(*m.host.tables(), index);
        expectTableRefused(m, e, "table " + std::to_string(index) + " missing", m.bind(&tables));
    }
}

void shortTables(LifecycleModule& m, Expectations& e) {
    for (int index = 0; index < HOST_TABLE_COUNT && !e.failed(); ++index) {
        const kit::ShortenedTable shortened(*m.host.tables(), index);
        expectTableRefused(m, e, "table " + std::to_string(index) + " a byte too small", m.bind(shortened.tables()));
    }
}

void moduleMessages(LifecycleModule& m, Expectations& e) {
    e.answer("message 6 with id 1 before bind", m.loadResource(), HOST_MODULE_NOT_HANDLED);
    e.answer("bind", m.bind(), HOST_MODULE_HANDLED);
    struct Message {
        uint64_t id;
        int32_t answer;
    };
    std::vector<Message> messages = {{HOST_MODULE_MESSAGE_NONE, HOST_MODULE_HANDLED},
                                     {2, HOST_MODULE_NOT_HANDLED},
                                     {0xFFFFFFFFu, HOST_MODULE_NOT_HANDLED},
                                     {HOST_MODULE_MESSAGE_RESOURCE, HOST_MODULE_HANDLED},
                                     {HOST_MODULE_MESSAGE_RESOURCE, HOST_MODULE_HANDLED}};
    // Only the low 32 bits of the id count.
    if (sizeof(void*) == 8)
        messages.push_back({(uint64_t(7) << 32) | HOST_MODULE_MESSAGE_RESOURCE, HOST_MODULE_HANDLED});
    for (const Message& message : messages) {
        e.answer("message 6 with id " + std::to_string(message.id), m.moduleMessage(message.id), message.answer);
    }
    e.fact(m.host.handles.count(substitute::HandleKind::Resource) == 1,
           "the resource was loaded more than once: every resource message after the first answers from the first");
    e.answer("end", m.end(), HOST_MODULE_HANDLED);
}

// A new run after the final end: nothing of the old one is reused.
void runAfterFinalEnd(LifecycleModule& m, Expectations& e) {
    startUp(m, e);
    m.host.ui.shutDown();
    e.answer("the final end", m.end(), HOST_MODULE_HANDLED);
    e.answer("start after the final end", m.start(), HOST_MODULE_FAILED);
    e.answer("the bind of a new run", m.bind(), HOST_MODULE_HANDLED);
    e.answer("the resource message of the new run", m.loadResource(), HOST_MODULE_HANDLED);
    e.answer("the end of the new run", m.end(), HOST_MODULE_HANDLED);
    e.fact(m.host.ui.freedResources.size() == 2, "the two runs did not give back one resource each");
}

void noMemoryForModulePath(LifecycleModule& m, Expectations& e) {
    m.host.services.failAllocation(1);
    e.answer("bind with no memory for the module path", m.bind(), HOST_MODULE_HANDLED);
    e.fact(m.host.services.liveBlocks() == 0, "a bind that could not keep its path holds memory");
    e.answer("end", m.end(), HOST_MODULE_HANDLED);
}

void noMemoryForResourceFolder(LifecycleModule& m, Expectations& e) {
    e.answer("bind", m.bind(), HOST_MODULE_HANDLED);
    m.host.services.failAllocation(1);
    e.answer("the resource message with no memory for its folder", m.loadResource(), HOST_MODULE_NOT_HANDLED);
    e.answer("the resource message retried", m.loadResource(), HOST_MODULE_HANDLED);
    e.answer("end", m.end(), HOST_MODULE_HANDLED);
}

// The module file alone in a folder of its own, without its resource folder.
struct LoneModule {
    fs::path folder;
    fs::path file;
    std::string problem;
};

LoneModule copyAlone(const fs::path& module) {
    LoneModule lone;
    std::error_code error;
    lone.folder = fs::temp_directory_path(error) / ("cleartrace-lifecycle-" + std::to_string(std::random_device{}()));
    fs::remove_all(lone.folder, error);
    fs::create_directories(lone.folder, error);
    lone.file = lone.folder / module.filename();
    if (!error) fs::copy_file(module, lone.file, error);
    if (error) lone.problem = "cannot copy the module to " + lone.folder.string() + ": " + error.message();
    return lone;
}

// Its resource comes only after the first attempt, which alone counts.
std::string withoutResourceFolder(const fs::path& module, const LoneModule& lone) {
    LifecycleModule m(lone.file);
    if (!m.loadProblem().empty()) return m.loadProblem();
    Expectations e("a module without its resource folder");
    e.answer("bind", m.bind(), HOST_MODULE_HANDLED);
    e.answer("the resource message", m.loadResource(), HOST_MODULE_NOT_HANDLED);
    e.fact(m.lastConsoleLine() == kit::resourceFailedLine,
           "the failed resource message wrote \"" + m.lastConsoleLine() + "\"");
    std::error_code error;
    fs::copy(module.parent_path() / "res", lone.folder / "res", fs::copy_options::recursive, error);
    e.answer("a second resource message once the folder is there", m.loadResource(), HOST_MODULE_NOT_HANDLED);
    e.answer("start without a resource", m.start(), HOST_MODULE_HANDLED);
    const substitute::RegisteredCommand* command = substitute::findCommand(m.host.ui.commands, CLEARTRACE_COMMAND_ID);
    e.fact(command != nullptr && command->name.empty() && command->help.empty(),
           "start without a resource registered no command, or one with a name or help text");
    m.host.ui.shutDown();
    e.answer("end", m.end(), HOST_MODULE_HANDLED);
    const std::string left = m.unloadAndCountLeft();
    if (e.failed()) return e.problem();
    return left.empty() ? "" : "a module without its resource folder: " + left;
}

std::string missingResourceFolder(const fs::path& module) {
    const LoneModule lone = copyAlone(module);
    const std::string problem = lone.problem.empty() ? withoutResourceFolder(module, lone) : lone.problem;
    std::error_code error;
    fs::remove_all(lone.folder, error);
    return problem;
}

struct LifecycleCase {
    const char* sequence;
    void (*run)(LifecycleModule& m, Expectations& e);
};

const LifecycleCase lifecycleCases[] = {
    {"the usual start-up and end", usualStartAndEnd},
    {"the version query and unknown messages", fixedAnswersAtAnyTime},
    {"bind twice", bindTwice},
    {"start before bind", startBeforeBind},
    {"end at count 0", endAtCountZero},
    {"end without start", endWithoutStart},
    {"unload without end", unloadWithoutEnd},
    {"host versions", hostVersions},
    {"binds after a refused bind", refusedBindIsRemembered},
    {"bind without a module path", noModulePath},
    {"null tables", nullTables},
    {"a missing table", missingTables},
    {"a table too small", shortTables},
    {"module messages", moduleMessages},
    {"a new run after the final end", runAfterFinalEnd},
    {"no memory for the module path", noMemoryForModulePath},
    {"no memory for the resource folder", noMemoryForResourceFolder},
};
constexpr uint64_t tableCases = sizeof(lifecycleCases) / sizeof(lifecycleCases[0]);

std::string runLifecycleCase(const fs::path& module, uint64_t number) {
    if (number == tableCases) return missingResourceFolder(module);
    if (number > tableCases) return "there is no lifecycle case " + std::to_string(number);
    const LifecycleCase& lifecycle = lifecycleCases[number];
    LifecycleModule m(module);
    if (!m.loadProblem().empty()) return m.loadProblem();
    Expectations e(lifecycle.sequence);
    lifecycle.run(m, e);
    if (e.failed()) return e.problem();
    const std::string left = m.unloadAndCountLeft();
    return left.empty() ? "" : std::string(lifecycle.sequence) + ": " + left;
}
}  // namespace

CheckResult checkLifecycle(const CheckSettings& settings, const CaseStarted& started) {
    return runCases(settings, 0, tableCases + 1, started,
                    [&](uint64_t number) { return runLifecycleCase(settings.module, number); });
}

}  // namespace validator
