// The entry point's lifecycle: bind with its version gate and table check,
// module messages, the resource, end and the counting of binds and ends.
#include <cstdint>

#include "altered_tables.h"
#include "entry_fixture.h"
#include "expected_notices.h"
#include "missing_table_text.h"

using entry_test::InProcessModule;
namespace fs = std::filesystem;

namespace {

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void* messageId(uint64_t id) { return reinterpret_cast<void*>(uintptr_t(id)); }

}  // namespace

TEST(ModuleEntry, AnswersVersionQueryAndRefusesUnknownMessagesWithoutAHost) {
    ASSERT_EQ(g_maxon.kernel, nullptr);
    EXPECT_EQ(c4d_main(HOST_MODULE_VERSION_QUERY, nullptr, nullptr, nullptr), HOST_MODULE_VERSION_ANSWER);
    for (int32_t message : {0, 5, 7, -1, 1000})
        EXPECT_EQ(c4d_main(message, nullptr, nullptr, nullptr), HOST_MODULE_NOT_HANDLED) << message;
    // Nothing bound: start fails, module message 0 is answered all the same,
    // an end changes nothing.
    EXPECT_EQ(c4d_main(HOST_MODULE_START, nullptr, nullptr, nullptr), HOST_MODULE_FAILED);
    EXPECT_EQ(c4d_main(HOST_MODULE_MESSAGE, messageId(HOST_MODULE_MESSAGE_NONE), nullptr, nullptr),
              HOST_MODULE_HANDLED);
    EXPECT_EQ(c4d_main(HOST_MODULE_END, nullptr, nullptr, nullptr), HOST_MODULE_HANDLED);
    EXPECT_EQ(moduleBindCount(), 0);
}

TEST(ModuleEntry, BindGatesOnHostVersionAndModulePath) {
    struct Case {
        const char* what;
        int32_t version;
        bool withPath;
        int32_t answer;
    };
    const Case cases[] = {
        {"exactly 2026000", HOST_INTERFACE_VERSION, true, HOST_MODULE_HANDLED},
        {"newer", HOST_INTERFACE_VERSION + 1000, true, HOST_MODULE_HANDLED},
        {"one below", HOST_INTERFACE_VERSION - 1, true, HOST_MODULE_BIND_REFUSED},
        {"far older", INT32_MIN, true, HOST_MODULE_BIND_REFUSED},
        {"no module path", HOST_INTERFACE_VERSION, false, HOST_MODULE_BIND_REFUSED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InProcessModule module;
        HostTables tables = *module.host.tables();
        tables.version = c.version;
        EXPECT_EQ(module.bind(&tables, c.withPath), c.answer);
        EXPECT_EQ(moduleBindCount(), 1);
        EXPECT_EQ(module.send(HOST_MODULE_VERSION_QUERY), HOST_MODULE_VERSION_ANSWER);
        if (c.answer == HOST_MODULE_HANDLED) {
            EXPECT_EQ(modulePath().toString().view(), module.file().string());
            EXPECT_EQ(moduleFolder().toString().view(), module.folder.string());
            // The module path is the one block held, allocated at its real place in main.cpp.
            const std::vector<std::string> blocks = module.host.services.leakReport();
            ASSERT_EQ(blocks.size(), 1u);
            EXPECT_NE(blocks[0].find("main.cpp:"), std::string::npos) << blocks[0];
            EXPECT_TRUE(endsWith(blocks[0], "(8 bytes)")) << blocks[0];
        } else {
            EXPECT_EQ(module.host.services.liveBlocks(), 0);
        }
        EXPECT_EQ(module.end(), HOST_MODULE_HANDLED);
        EXPECT_EQ(moduleBindCount(), 0);
        EXPECT_EQ(module.host.services.liveBlocks(), 0);
    }
}

TEST(ModuleEntry, RegistersItsConfigurationSwitchesAtTheFirstBind) {
    InProcessModule module;
    // Also for a bind that is refused: the assertion consults g_enableDebugBreak.
    EXPECT_EQ(module.bind(nullptr), HOST_MODULE_BIND_REFUSED);
    const auto& switches = module.host.services.switches();
    ASSERT_EQ(switches.count("g_enableDebugBreak"), 1u);
    ASSERT_EQ(switches.count("g_trackCpuYield"), 1u);
    const substitute::ConfigSwitch& debugBreak = switches.at("g_enableDebugBreak");
    const substitute::ConfigSwitch& trackYield = switches.at("g_trackCpuYield");
    EXPECT_TRUE(debugBreak.registered && debugBreak.defaultValue);
    EXPECT_EQ(debugBreak.help, "enable debug breaks (when debugger is attached)");
    EXPECT_TRUE(trackYield.registered);
    EXPECT_FALSE(trackYield.defaultValue);
    EXPECT_EQ(trackYield.help, "Track usage of Spinlocks (either for performance checks or deadlock detection)");
}

// A table shorter than the module was built with counts as missing.
TEST(ModuleEntry, RefusesEveryTooShortTableAsMissing) {
    for (int index = 0; index < HOST_TABLE_COUNT; ++index) {
        SCOPED_TRACE(index);
        InProcessModule module;
        const kit::ShortenedTable shortened(*module.host.tables(), index);
        EXPECT_EQ(module.bind(shortened.tables()), HOST_MODULE_BIND_REFUSED);
        const std::vector<substitute::ConsoleLine>& console = module.host.services.console();
        ASSERT_EQ(console.size(), 1u);
        EXPECT_EQ(console[0].text, kit::missingTableText);
        EXPECT_EQ(module.start(), HOST_MODULE_FAILED);
        EXPECT_TRUE(module.host.ui.commands.registered.empty());
    }
}

TEST(ModuleEntry, RefusesEveryMissingTableWithTheAssertionText) {
    for (int index = 0; index < HOST_TABLE_COUNT; ++index) {
        SCOPED_TRACE(index);
        InProcessModule module;
        const bool debugBreakOn = index % 2 == 0;
        if (!debugBreakOn) module.host.services.setSwitch("g_enableDebugBreak", false);
        const HostTables tables = kit::withoutTable(*module.host.tables(), index);
        EXPECT_EQ(module.bind(&tables), HOST_MODULE_BIND_REFUSED);
        const std::vector<substitute::ConsoleLine>& console = module.host.services.console();
        ASSERT_EQ(console.size(), 1u);
        EXPECT_EQ(console[0].text, kit::missingTableText);
        EXPECT_EQ(console[0].level, HOST_LOG_LEVEL_CRITICAL);
        EXPECT_EQ(console[0].logger, "net.maxon.core.logger.default");
        EXPECT_TRUE(endsWith(console[0].file, "main.cpp")) << console[0].file;
        EXPECT_EQ(module.host.services.debugBreaks(), debugBreakOn ? 1 : 0);
        // Nothing is called through the refused tables.
        EXPECT_EQ(module.start(), HOST_MODULE_FAILED);
        EXPECT_EQ(module.loadResource(), HOST_MODULE_NOT_HANDLED);
        EXPECT_EQ(module.host.services.liveBlocks(), 0);
        EXPECT_TRUE(module.host.ui.commands.registered.empty());
    }
}

TEST(ModuleEntry, RemembersARefusedBindUntilTheCountReachesZero) {
    InProcessModule module;
    HostTables old = *module.host.tables();
    old.version = 2025000;
    EXPECT_EQ(module.bind(&old), HOST_MODULE_BIND_REFUSED);
    EXPECT_EQ(module.bind(), HOST_MODULE_BIND_REFUSED);  // still refused, still counted
    EXPECT_EQ(moduleBindCount(), 2);
    EXPECT_EQ(module.start(), HOST_MODULE_FAILED);
    EXPECT_EQ(module.send(HOST_MODULE_MESSAGE, messageId(HOST_MODULE_MESSAGE_NONE)), HOST_MODULE_HANDLED);
    EXPECT_EQ(module.loadResource(), HOST_MODULE_NOT_HANDLED);
    EXPECT_TRUE(module.host.ui.commands.registered.empty());

    EXPECT_EQ(module.end(), HOST_MODULE_HANDLED);
    EXPECT_EQ(module.end(), HOST_MODULE_HANDLED);
    EXPECT_EQ(module.end(), HOST_MODULE_HANDLED);  // the count never goes below 0
    EXPECT_EQ(moduleBindCount(), 0);
    EXPECT_TRUE(module.host.ui.freedResources.empty());

    // A new run starts with a first bind of its own.
    EXPECT_EQ(module.bind(), HOST_MODULE_HANDLED);
    EXPECT_EQ(module.loadResource(), HOST_MODULE_HANDLED);
}

TEST(ModuleEntry, CountsBindsAndReleasesOnlyAtTheFinalEnd) {
    InProcessModule module;
    ASSERT_EQ(module.bind(), HOST_MODULE_HANDLED);
    ASSERT_EQ(module.loadResource(), HOST_MODULE_HANDLED);
    const int64_t blocks = module.host.services.liveBlocks();  // module path and resource folder
    EXPECT_EQ(blocks, 2);

    // Later binds only count, whatever they hand over.
    EXPECT_EQ(module.bind(nullptr, false), HOST_MODULE_HANDLED);
    EXPECT_EQ(moduleBindCount(), 2);
    EXPECT_EQ(module.end(), HOST_MODULE_HANDLED);
    EXPECT_EQ(moduleBindCount(), 1);
    EXPECT_TRUE(module.host.ui.freedResources.empty());
    EXPECT_EQ(module.host.services.liveBlocks(), blocks);
    EXPECT_EQ(resourceString(10000).view(), "Cleartrace");
    EXPECT_TRUE(resourceString(12345).empty());

    EXPECT_EQ(module.end(), HOST_MODULE_HANDLED);
    EXPECT_EQ(moduleBindCount(), 0);
    ASSERT_EQ(module.host.ui.freedResources.size(), 1u);
    EXPECT_TRUE(module.host.ui.freedResources[0].initialised);
    EXPECT_EQ(module.host.ui.freedResources[0].folder, module.folder / "res");
    EXPECT_EQ(module.host.services.liveBlocks(), 0);
    EXPECT_EQ(module.modulePaths(), 0);
    EXPECT_EQ(module.moduleStrings(), 0);

    // Bound again after the final end, the module loads its resource afresh.
    ASSERT_EQ(module.bind(), HOST_MODULE_HANDLED);
    EXPECT_EQ(module.loadResource(), HOST_MODULE_HANDLED);
    EXPECT_EQ(resourceString(10000).view(), "Cleartrace");
}

TEST(ModuleEntry, AnswersModuleMessagesByTheLow32BitsOfTheId) {
    InProcessModule module;
    ASSERT_EQ(module.bind(), HOST_MODULE_HANDLED);
    struct Case {
        uint64_t id;
        int32_t answer;
    };
    std::vector<Case> cases = {{HOST_MODULE_MESSAGE_NONE, HOST_MODULE_HANDLED},
                               {2, HOST_MODULE_NOT_HANDLED},
                               {0xFFFFFFFFu, HOST_MODULE_NOT_HANDLED},
                               {HOST_MODULE_MESSAGE_RESOURCE, HOST_MODULE_HANDLED}};
    if (sizeof(void*) == 8) {
        cases.push_back({(uint64_t(7) << 32) | HOST_MODULE_MESSAGE_RESOURCE, HOST_MODULE_HANDLED});
    }
    for (const Case& c : cases) EXPECT_EQ(module.send(HOST_MODULE_MESSAGE, messageId(c.id)), c.answer) << c.id;
    // Every resource message after the first answered from the first load.
    EXPECT_EQ(module.host.handles.count(substitute::HandleKind::Resource), 1u);
    // Message 0 is answered at any time, after the final end too.
    EXPECT_EQ(module.end(), HOST_MODULE_HANDLED);
    EXPECT_EQ(module.send(HOST_MODULE_MESSAGE, messageId(HOST_MODULE_MESSAGE_NONE)), HOST_MODULE_HANDLED);
}

TEST(ModuleEntry, AnswersASecondResourceMessageFromTheFirstAttempt) {
    InProcessModule module(false);
    ASSERT_EQ(module.bind(), HOST_MODULE_HANDLED);
    EXPECT_EQ(module.loadResource(), HOST_MODULE_NOT_HANDLED);
    // The resource appears only after the first attempt: it is not loaded any more.
    fs::copy(entry_test::shippedResources(), module.folder / "res", fs::copy_options::recursive);
    EXPECT_EQ(module.loadResource(), HOST_MODULE_NOT_HANDLED);
    const std::vector<std::string> expected(2, kit::resourceFailedLine);
    EXPECT_EQ(module.consoleTexts(), expected);
    EXPECT_TRUE(resourceString(10000).empty());
}

TEST(ModuleEntry, FindsTheResourceFolderBesideTheModuleOrInsideTheApplication) {
    struct Case {
        const char* what;
        bool insideApplication;
    };
    for (const Case c : {Case{"beside the module", false}, Case{"module inside the application", true}}) {
        SCOPED_TRACE(c.what);
        InProcessModule module;
        const fs::path startup = entry_test::freshFolder("application");
        module.host.services.startupFolder = startup;
        module.host.services.frameworkFolder = c.insideApplication ? module.folder : startup / "frameworks";
        const fs::path applicationResource = startup / "resource" / "modules" / "Cleartrace";
        entry_test::writeFile(applicationResource / "strings.txt", "10000 \"From the application\"\n");

        ASSERT_EQ(module.bind(), HOST_MODULE_HANDLED);
        const fs::path expected = c.insideApplication ? applicationResource : module.folder / "res";
        EXPECT_EQ(resourceFolder().toString().view(), expected.string());
        ASSERT_EQ(module.loadResource(), HOST_MODULE_HANDLED);
        EXPECT_EQ(resourceString(10000).view(), c.insideApplication ? "From the application" : "Cleartrace");
    }
}

TEST(ModuleEntry, BindsWithoutAModulePathWhenItsMemoryRunsOut) {
    InProcessModule module;
    module.host.services.failAllocation(1);
    EXPECT_EQ(module.bind(), HOST_MODULE_HANDLED);
    EXPECT_TRUE(modulePath().empty());
    EXPECT_TRUE(moduleFolder().empty());
    EXPECT_EQ(resourceFolder().toString().view(), "res");
    EXPECT_EQ(module.host.services.liveBlocks(), 0);
    EXPECT_EQ(module.end(), HOST_MODULE_HANDLED);
}

TEST(ModuleEntry, RetriesTheResourceWhenTheFolderCouldNotBeKept) {
    InProcessModule module;
    ASSERT_EQ(module.bind(), HOST_MODULE_HANDLED);
    module.host.services.failAllocation(1);
    EXPECT_EQ(module.loadResource(), HOST_MODULE_NOT_HANDLED);
    // Nothing was attempted yet, so the next message loads it.
    EXPECT_EQ(module.loadResource(), HOST_MODULE_HANDLED);
    EXPECT_EQ(resourceString(10000).view(), "Cleartrace");
}
