#include <gtest/gtest.h>

#include "core/substitute_host.h"
#include "loading/module_loader.h"

namespace {

TEST(ModuleLoader, LoadsTheBuiltModuleAndHandsItTheKernel) {
    substitute::SubstituteHost host;
    substitute::ModuleLoader loader(host);
    ASSERT_EQ(loader.load(CLEARTRACE_MODULE_FILE), "");
    ASSERT_NE(loader.moduleInfo(), nullptr);
    EXPECT_EQ(loader.moduleInfo()->version, HOST_INTERFACE_VERSION);
    EXPECT_EQ(loader.moduleInfo()->kernel, host.kernel());
    EXPECT_NE(loader.cpuYieldDelegate(), nullptr);
    EXPECT_EQ(loader.versionQuery(), HOST_MODULE_VERSION_ANSWER);
    EXPECT_EQ(loader.load(CLEARTRACE_MODULE_FILE).rfind("a module is already loaded", 0), 0u);
    loader.unload();
    EXPECT_FALSE(loader.loaded());
}

TEST(ModuleLoader, SaysWhyAFileCannotBeLoaded) {
    substitute::SubstituteHost host;
    substitute::ModuleLoader loader(host);
    std::string error = loader.load("/no/such/cleartrace.xso64");
    EXPECT_EQ(error.rfind("cannot load /no/such/cleartrace.xso64: ", 0), 0u) << error;
    EXPECT_FALSE(loader.loaded());
#ifdef __linux__
    // A real library that is no module.
    EXPECT_EQ(loader.load("libm.so.6"), "libm.so.6 does not export c4d_main g_maxon g_CpuYieldDelegate");
    EXPECT_FALSE(loader.loaded());
#endif
}

}  // namespace
