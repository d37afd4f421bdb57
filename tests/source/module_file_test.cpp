// The built module file, loaded as a shared library the way the application
// loads it: its module information, its lifecycle, and what it leaves behind.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/substitute_host.h"
#include "expected_command_id.h"
#include "expected_notices.h"
#include "loading/module_loader.h"

namespace {

constexpr const char* frameworkIds[] = {
    "net.maxon.animation.framework",  "net.maxon.asset.framework",
    "net.maxon.c4d.cinema.framework", "net.maxon.c4d.cinema_hybrid.framework",
    "net.maxon.command.framework",    "net.maxon.core.framework",
    "net.maxon.corenodes.framework",  "net.maxon.crypt.framework",
    "net.maxon.exchange.framework",   "net.maxon.graph.framework",
    "net.maxon.image.framework",      "net.maxon.image_ocio.framework",
    "net.maxon.math.framework",       "net.maxon.mesh_misc.framework",
    "net.maxon.misc.framework",       "net.maxon.modeling_geom.framework",
    "net.maxon.network.framework",    "net.maxon.neutron.framework",
    "net.maxon.nodes.framework",      "net.maxon.nodespace.framework",
    "net.maxon.python.framework",
};

// The kernel's identifier hash, worked out the long way.
uint64_t expectedHash(const std::string& text) {
    uint64_t h = 0;
    for (unsigned char byte : text) h = h * 31u + byte;
    uint64_t low43 = 0;
    for (int bit = 0; bit < 43; ++bit) low43 |= h & (uint64_t(1) << bit);
    return uint64_t(text.size()) * (uint64_t(1) << 44) + low43;
}

struct LoadedModule {
    substitute::SubstituteHost host;
    substitute::ModuleLoader loader{host};
    LoadedModule() { EXPECT_EQ(loader.load(CLEARTRACE_MODULE_FILE), ""); }
};

}  // namespace

TEST(ModuleFile, PublishesItsModuleInformation) {
    LoadedModule module;
    const HostModuleInfo* info = module.loader.moduleInfo();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->version, HOST_INTERFACE_VERSION);
#if defined(_WIN32)
    EXPECT_EQ(info->versionAgain, HOST_INTERFACE_VERSION);
#endif
    EXPECT_STREQ(info->moduleId, "com.tessalysoftware.cleartrace");
    EXPECT_EQ(info->kernel, module.host.kernel());

    ASSERT_EQ(info->frameworkCount, 21);
    for (int32_t i = 0; i < 21; ++i) {
        SCOPED_TRACE(frameworkIds[i]);
        EXPECT_STREQ(info->frameworks[i].id, frameworkIds[i]);
        EXPECT_EQ(info->frameworks[i].hash >> 44, std::strlen(frameworkIds[i]));
    }
    EXPECT_EQ(info->frameworks[0].hash, expectedHash("net.maxon.animation.framework"));
    EXPECT_EQ(info->frameworks[5].hash, expectedHash("net.maxon.core.framework"));
    EXPECT_EQ(info->frameworks[20].hash, expectedHash("net.maxon.python.framework"));

    EXPECT_STREQ(info->reflectionUnit, "[reflection registration]");
    EXPECT_STREQ(info->reflection.id, ".reflection");
    EXPECT_EQ(info->reflection.hash, expectedHash(".reflection"));

    const HostCpuYieldDelegate* yield = module.loader.cpuYieldDelegate();
    ASSERT_NE(yield, nullptr);
    ASSERT_NE(yield->target, nullptr);
    yield->target(yield->context);  // returns at once
}

TEST(ModuleFile, LoadsOpensClosesAndQuitsWithoutLeavingAnythingBehind) {
    LoadedModule module;
    EXPECT_EQ(module.loader.versionQuery(), 5);
    const substitute::StartUpAnswers answers = module.loader.startUp();
    EXPECT_EQ(answers.bind, 1);
    EXPECT_EQ(answers.resource, 1);
    EXPECT_EQ(answers.start, 1);
    ASSERT_EQ(module.host.services.console().size(), 1u);
    EXPECT_EQ(module.host.services.console()[0].text, kit::loadedLine);

    ASSERT_TRUE(substitute::executeCommand(module.host.ui.commands, kit::expectedCommandId));
    HostDialog* dialog = module.host.ui.findDialog(kit::expectedCommandId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->open);
    EXPECT_EQ(substitute::closeWindow(*dialog), "");

    module.loader.quit();
    EXPECT_FALSE(module.loader.loaded());
    EXPECT_EQ(module.host.services.leakReport(), std::vector<std::string>{});
    EXPECT_EQ(module.host.services.liveStrings(), 0);
    EXPECT_EQ(module.host.services.livePaths(), 0);
    EXPECT_TRUE(module.host.ui.dialogs.empty());
    ASSERT_EQ(module.host.ui.freedResources.size(), 1u);
    EXPECT_TRUE(module.host.ui.freedResources[0].initialised);
}

TEST(ModuleFile, GivesItsResourceBackWhenUnloadedWithoutAnEnd) {
    LoadedModule module;
    ASSERT_EQ(module.loader.bind(), 1);
    ASSERT_EQ(module.loader.loadResource(), 1);
    module.loader.unload();
    ASSERT_EQ(module.host.ui.freedResources.size(), 1u);
    EXPECT_TRUE(module.host.ui.freedResources[0].initialised);
    EXPECT_EQ(module.host.services.liveBlocks(), 0);
    EXPECT_EQ(module.host.services.livePaths(), 0);
}

TEST(ModuleFile, StartsAsFarAsItsMemoryAllows) {
    struct Case {
        const char* what;
        bool failPath;  // the module path's block at bind, else the command object at start
        int32_t start;
        const char* line;
    };
    const Case cases[] = {
        {"no memory for the module path", true, 1, kit::loadedLine},
        {"no memory for the command", false, 0, kit::failedLine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoadedModule module;
        if (c.failPath) module.host.services.failAllocation(1);
        EXPECT_EQ(module.loader.bind(), 1);
        if (!c.failPath) module.host.services.failAllocation(1);
        EXPECT_EQ(module.loader.start(), c.start);
        EXPECT_EQ(module.host.services.console().back().text, c.line);
        module.loader.quit();
        EXPECT_EQ(module.host.services.leakReport(), std::vector<std::string>{});
        EXPECT_EQ(module.host.services.liveStrings(), 0);
    }
}
