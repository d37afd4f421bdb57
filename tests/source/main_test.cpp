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
    EXPECT_EQ(c4d_main(HOST_MODULE_VERSION_QUERY, nullptr, nullptr, nullptr), 5);
    for (int32_t message : {0, 5, 7, -1, 1000}) EXPECT_EQ(c4d_main(message, nullptr, nullptr, nullptr), -1) << message;
    // Nothing bound: start fails, module message 0 is answered all the same,
    // an end changes nothing.
    EXPECT_EQ(c4d_main(HOST_MODULE_START, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(c4d_main(HOST_MODULE_MESSAGE, messageId(0), nullptr, nullptr), 1);
    EXPECT_EQ(c4d_main(HOST_MODULE_END, nullptr, nullptr, nullptr), 1);
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
        {"exactly 2026000", 2026000, true, 1},  {"newer", 2027000, true, 1},
        {"one below", 2025999, true, -3},       {"far older", INT32_MIN, true, -3},
        {"no module path", 2026000, false, -3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InProcessModule module;
        HostTables tables = *module.host.tables();
        tables.version = c.version;
        EXPECT_EQ(module.bind(&tables, c.withPath), c.answer);
        EXPECT_EQ(moduleBindCount(), 1);
        EXPECT_EQ(module.send(HOST_MODULE_VERSION_QUERY), 5);
        if (c.answer == 1) {
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
        EXPECT_EQ(module.end(), 1);
        EXPECT_EQ(moduleBindCount(), 0);
        EXPECT_EQ(module.host.services.liveBlocks(), 0);
    }
}

TEST(ModuleEntry, RegistersItsConfigurationSwitchesAtTheFirstBind) {
    InProcessModule module;
    // Also for a bind that is refused: the assertion consults g_enableDebugBreak.
    EXPECT_EQ(module.bind(nullptr), -3);
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
        EXPECT_EQ(module.bind(shortened.tables()), -3);
        const std::vector<substitute::ConsoleLine>& console = module.host.services.console();
        ASSERT_EQ(console.size(), 1u);
        EXPECT_EQ(console[0].text, kit::missingTableText);
        EXPECT_EQ(module.start(), 0);
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
        EXPECT_EQ(module.bind(&tables), -3);
        const std::vector<substitute::ConsoleLine>& console = module.host.services.console();
        ASSERT_EQ(console.size(), 1u);
        EXPECT_EQ(console[0].text, kit::missingTableText);
        EXPECT_EQ(console[0].level, HOST_LOG_LEVEL_CRITICAL);
        EXPECT_EQ(console[0].logger, "net.maxon.core.logger.default");
        EXPECT_TRUE(endsWith(console[0].file, "main.cpp")) << console[0].file;
        EXPECT_EQ(module.host.services.debugBreaks(), debugBreakOn ? 1 : 0);
        // Nothing is called through the refused tables.
        EXPECT_EQ(module.start(), 0);
        EXPECT_EQ(module.loadResource(), -1);
        EXPECT_EQ(module.host.services.liveBlocks(), 0);
        EXPECT_TRUE(module.host.ui.commands.registered.empty());
    }
}

TEST(ModuleEntry, RemembersARefusedBindUntilTheCountReachesZero) {
    InProcessModule module;
    HostTables old = *module.host.tables();
    old.version = 2025000;
    EXPECT_EQ(module.bind(&old), -3);
    EXPECT_EQ(module.bind(), -3);  // still refused, still counted
    EXPECT_EQ(moduleBindCount(), 2);
    EXPECT_EQ(module.start(), 0);
    EXPECT_EQ(module.send(HOST_MODULE_MESSAGE, messageId(0)), 1);
    EXPECT_EQ(module.loadResource(), -1);
    EXPECT_TRUE(module.host.ui.commands.registered.empty());

    EXPECT_EQ(module.end(), 1);
    EXPECT_EQ(module.end(), 1);
    EXPECT_EQ(module.end(), 1);  // the count never goes below 0
    EXPECT_EQ(moduleBindCount(), 0);
    EXPECT_TRUE(module.host.ui.freedResources.empty());

    // A new run starts with a first bind of its own.
    EXPECT_EQ(module.bind(), 1);
    EXPECT_EQ(module.loadResource(), 1);
}

TEST(ModuleEntry, CountsBindsAndReleasesOnlyAtTheFinalEnd) {
    InProcessModule module;
    ASSERT_EQ(module.bind(), 1);
    ASSERT_EQ(module.loadResource(), 1);
    const int64_t blocks = module.host.services.liveBlocks();  // module path and resource folder
    EXPECT_EQ(blocks, 2);

    // Later binds only count, whatever they hand over.
    EXPECT_EQ(module.bind(nullptr, false), 1);
    EXPECT_EQ(moduleBindCount(), 2);
    EXPECT_EQ(module.end(), 1);
    EXPECT_EQ(moduleBindCount(), 1);
    EXPECT_TRUE(module.host.ui.freedResources.empty());
    EXPECT_EQ(module.host.services.liveBlocks(), blocks);
    EXPECT_EQ(resourceString(10000).view(), "Cleartrace");
    EXPECT_TRUE(resourceString(12345).empty());

    EXPECT_EQ(module.end(), 1);
    EXPECT_EQ(moduleBindCount(), 0);
    ASSERT_EQ(module.host.ui.freedResources.size(), 1u);
    EXPECT_TRUE(module.host.ui.freedResources[0].initialised);
    EXPECT_EQ(module.host.ui.freedResources[0].folder, module.folder / "res");
    EXPECT_EQ(module.host.services.liveBlocks(), 0);
    EXPECT_EQ(module.modulePaths(), 0);
    EXPECT_EQ(module.moduleStrings(), 0);

    // Bound again after the final end, the module loads its resource afresh.
    ASSERT_EQ(module.bind(), 1);
    EXPECT_EQ(module.loadResource(), 1);
    EXPECT_EQ(resourceString(10000).view(), "Cleartrace");
}

TEST(ModuleEntry, AnswersModuleMessagesByTheLow32BitsOfTheId) {
    InProcessModule module;
    ASSERT_EQ(module.bind(), 1);
    struct Case {
        uint64_t id;
        int32_t answer;
    };
    std::vector<Case> cases = {{0, 1}, {2, -1}, {0xFFFFFFFFu, -1}, {1, 1}};
    if (sizeof(void*) == 8) cases.push_back({(uint64_t(7) << 32) | 1u, 1});
    for (const Case& c : cases) EXPECT_EQ(module.send(HOST_MODULE_MESSAGE, messageId(c.id)), c.answer) << c.id;
    // Every resource message after the first answered from the first load.
    EXPECT_EQ(module.host.handles.count(substitute::HandleKind::Resource), 1u);
    // Message 0 is answered at any time, after the final end too.
    EXPECT_EQ(module.end(), 1);
    EXPECT_EQ(module.send(HOST_MODULE_MESSAGE, messageId(0)), 1);
}

TEST(ModuleEntry, AnswersASecondResourceMessageFromTheFirstAttempt) {
    InProcessModule module(false);
    ASSERT_EQ(module.bind(), 1);
    EXPECT_EQ(module.loadResource(), -1);
    // The resource appears only after the first attempt: it is not loaded any more.
    fs::copy(entry_test::shippedResources(), module.folder / "res", fs::copy_options::recursive);
    EXPECT_EQ(module.loadResource(), -1);
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

        ASSERT_EQ(module.bind(), 1);
        const fs::path expected = c.insideApplication ? applicationResource : module.folder / "res";
        EXPECT_EQ(resourceFolder().toString().view(), expected.string());
        ASSERT_EQ(module.loadResource(), 1);
        EXPECT_EQ(resourceString(10000).view(), c.insideApplication ? "From the application" : "Cleartrace");
    }
}

TEST(ModuleEntry, BindsWithoutAModulePathWhenItsMemoryRunsOut) {
    InProcessModule module;
    module.host.services.failAllocation(1);
    EXPECT_EQ(module.bind(), 1);
    EXPECT_TRUE(modulePath().empty());
    EXPECT_TRUE(moduleFolder().empty());
    EXPECT_EQ(resourceFolder().toString().view(), "res");
    EXPECT_EQ(module.host.services.liveBlocks(), 0);
    EXPECT_EQ(module.end(), 1);
}

TEST(ModuleEntry, RetriesTheResourceWhenTheFolderCouldNotBeKept) {
    InProcessModule module;
    ASSERT_EQ(module.bind(), 1);
    module.host.services.failAllocation(1);
    EXPECT_EQ(module.loadResource(), -1);
    // Nothing was attempted yet, so the next message loads it.
    EXPECT_EQ(module.loadResource(), 1);
    EXPECT_EQ(resourceString(10000).view(), "Cleartrace");
}
