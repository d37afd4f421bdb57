#include <gtest/gtest.h>

#include "core/substitute_host.h"
#include "kernel/host_paths.h"
#include "kernel/host_strings.h"

namespace {

class Kernel : public ::testing::Test {
protected:
    substitute::SubstituteHost host;
    const HostKernel& k = *host.kernel();
    const HostTables& t = *host.tables();
};

TEST_F(Kernel, TheNthAllocationFailsAndLiveBlocksAreCountedWithTheirPlace) {
    void* a = k.allocate(16, true, "one.cpp", 1);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(static_cast<unsigned char*>(a)[15], 0);
    host.services.failAllocation(2);
    void* b = k.allocate(8, false, "two.cpp", 2);
    EXPECT_EQ(k.allocate(8, false, "three.cpp", 3), nullptr);
    void* c = k.allocate(0, false, "four.cpp", 4);
    ASSERT_NE(b, nullptr);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(host.services.liveBlocks(), 3);

    k.freeMemory(a);
    k.freeMemory(c);
    k.freeMemory(nullptr);
    EXPECT_EQ(host.services.leakReport(), (std::vector<std::string>{"two.cpp:2 (8 bytes)"}));
    k.freeMemory(b);
    EXPECT_EQ(host.services.liveBlocks(), 0);
}

TEST_F(Kernel, ObjectCreationFailsSeparatelyFromMemory) {
    host.services.failObjectCreation(2);
    HostArray* first = t.t_C4DOS_At->create();
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(t.t_C4DOS_Gv->create(), nullptr);
    HostPath* path = t.t_C4DOS_Fn->create();
    EXPECT_NE(path, nullptr);
    void* block = k.allocate(4, false, __FILE__, __LINE__);
    EXPECT_NE(block, nullptr);
    EXPECT_EQ(host.services.liveObjects(), 2);
    t.t_C4DOS_At->free(first);
    t.t_C4DOS_Fn->free(path);
    k.freeMemory(block);
    EXPECT_EQ(host.services.liveObjects(), 0);
}

// A refused string is null and nothing stays behind; an empty text is a
// string of length 0, a request like any other, so the two are never confused.
// Retaining is no creation.
TEST_F(Kernel, StringCreationFailsToNullAndEmptyTextIsAStringWithoutLeaks) {
    HostDocument* document = host.scene.newDocument();
    HostElement* cube = host.scene.addObject(*document, nullptr, "Cube", 5159);
    HostElement* unnamed = host.scene.addObject(*document, nullptr, "", 5159);
    host.services.failStringCreation(4);
    HostString* one = k.stringFromUtf8("one", 3);
    HostString* seven = k.stringFromInt(7);
    HostString* empty = k.stringFromUtf8("", 0);
    ASSERT_NE(empty, nullptr);
    int64_t length = -1;
    k.stringUtf8(empty, &length);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(k.stringRetain(one), one);
    EXPECT_EQ(k.stringConcat(one, seven), nullptr) << "the fourth request";
    EXPECT_FALSE(host.services.stringCreationFailurePending());
    HostString* name = t.t_C4DOS_Ba->name(cube);
    HostString* noName = t.t_C4DOS_Ba->name(unnamed);
    ASSERT_NE(name, nullptr);
    ASSERT_NE(noName, nullptr) << "an unnamed element is no failure";
    host.services.failStringCreation(1);
    EXPECT_EQ(t.t_C4DOS_Ba->name(cube), nullptr) << "table entries ask as the kernel does";
    EXPECT_EQ(host.services.stringCreationsRequested(), 7);
    for (HostString* string : {one, one, seven, empty, name, noName}) k.stringRelease(string);
    EXPECT_EQ(host.services.liveStrings(), 0);
}

// A sweep fails request K for K = 1..count: the counts take in the refused
// requests and leave out what the host makes for itself.
TEST_F(Kernel, CountsTakeInRefusedRequests) {
    host.services.failAllocation(1);
    host.services.failObjectCreation(1);
    EXPECT_EQ(k.allocate(8, false, __FILE__, __LINE__), nullptr);
    EXPECT_EQ(t.t_C4DOS_Fn->create(), nullptr);
    void* block = k.allocate(8, false, __FILE__, __LINE__);
    HostPath* path = t.t_C4DOS_Fn->create();
    HostPath* hostsOwn = substitute::makePath("/module/Cleartrace.so");
    HostString* hostsOwnText = substitute::makeString("host");
    EXPECT_EQ(host.services.allocationsRequested(), 2);
    EXPECT_EQ(host.services.objectCreationsRequested(), 2);
    EXPECT_EQ(host.services.stringCreationsRequested(), 0);
    k.freeMemory(block);
    t.t_C4DOS_Fn->free(path);
    t.t_C4DOS_Fn->free(hostsOwn);
    substitute::releaseString(hostsOwnText);
}

TEST_F(Kernel, FreeingForeignMemoryStopsTheRun) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    int local = 0;
    EXPECT_DEATH(k.freeMemory(&local), "freeMemory: block was not allocated by the host or is freed already");
    void* block = k.allocate(4, false, __FILE__, __LINE__);
    k.freeMemory(block);
    EXPECT_DEATH(k.freeMemory(block), "freeMemory: block was not allocated by the host");
}

TEST_F(Kernel, ConsoleLinesAreKeptInOrderAndPassedOn) {
    std::vector<std::string> printed;
    host.services.onConsoleLine = [&](const substitute::ConsoleLine& line) { printed.push_back(line.text); };
    HostString* text = k.stringFromUtf8("loaded", 6);
    k.log("net.maxon.core.logger.default", HOST_LOG_LEVEL_INFO, text, "main", 24);
    k.log("other", HOST_LOG_LEVEL_CRITICAL, nullptr, "operatingsystem", 135);
    k.stringRelease(text);
    const auto& lines = host.services.console();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].logger, "net.maxon.core.logger.default");
    EXPECT_EQ(lines[0].text, "loaded");
    EXPECT_EQ(lines[0].file, "main");
    EXPECT_EQ(lines[0].line, 24);
    EXPECT_EQ(lines[1].level, HOST_LOG_LEVEL_CRITICAL);
    EXPECT_EQ(lines[1].text, "");
    EXPECT_EQ(printed, (std::vector<std::string>{"loaded", ""}));
    k.debugBreak();
    EXPECT_EQ(host.services.debugBreaks(), 1);
    EXPECT_EQ(host.services.liveStrings(), 0);
}

TEST_F(Kernel, SwitchesKeepWhatTheUserSetBeforeRegistration) {
    EXPECT_TRUE(k.configBool("g_trackCpuYield", true)) << "unknown: the fallback";
    host.services.setSwitch("g_enableDebugBreak", false);
    EXPECT_TRUE(k.configBool("g_enableDebugBreak", true)) << "set but not registered yet";
    EXPECT_TRUE(k.configRegisterBool("g_enableDebugBreak", true, "enable debug breaks"));
    EXPECT_TRUE(k.configRegisterBool("g_trackCpuYield", false, "Track usage"));
    EXPECT_FALSE(k.configBool("g_enableDebugBreak", true));
    EXPECT_FALSE(k.configBool("g_trackCpuYield", true));
    const substitute::ConfigSwitch& debugBreak = host.services.switches().at("g_enableDebugBreak");
    EXPECT_TRUE(debugBreak.defaultValue);
    EXPECT_EQ(debugBreak.help, "enable debug breaks");
    host.services.setSwitch("g_trackCpuYield", true);
    EXPECT_TRUE(k.configBool("g_trackCpuYield", false));
}

TEST_F(Kernel, ApplicationFoldersAreSettable) {
    host.services.startupFolder = "/apps/c4d";
    host.services.frameworkFolder = "/apps/c4d/frameworks/cinema.framework";
    struct Case {
        int32_t kind;
        const char* framework;
        const char* folder;  // null: no answer
    } cases[] = {
        {HOST_URL_STARTUP, nullptr, "/apps/c4d"},
        {HOST_URL_FRAMEWORK_FOLDER, "net.maxon.c4d.cinema.framework", "/apps/c4d/frameworks/cinema.framework"},
        {HOST_URL_FRAMEWORK_FOLDER, "net.maxon.core.framework", nullptr},
        {HOST_URL_FRAMEWORK_FOLDER, nullptr, nullptr},
        {7, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        HostPath* path = k.applicationUrl(c.kind, c.framework);
        if (c.folder == nullptr) {
            EXPECT_EQ(path, nullptr);
            continue;
        }
        ASSERT_NE(path, nullptr);
        EXPECT_EQ(substitute::pathOf(path, "test"), c.folder);
        t.t_C4DOS_Fn->free(path);
    }
    EXPECT_EQ(host.services.livePaths(), 0);
}

}  // namespace
