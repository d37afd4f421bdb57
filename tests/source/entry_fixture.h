// The module's entry point driven in-process: a substitute host whose kernel
// is written into g_maxon, a module folder of the test's own (with or without
// a resource folder), and c4d_main called as the application calls it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "host/binding.h"
#include "main.h"
#include "module_lifecycle.h"

extern "C" int32_t c4d_main(int32_t message, void* p1, void* p2, void* p3);

namespace entry_test {

namespace fs = std::filesystem;

// A fresh folder below the test temp folder, named after the running test.
inline fs::path freshFolder(const std::string& name) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    fs::path folder = fs::path(testing::TempDir()) / "cleartrace_entry" /
                      (std::string(test->test_suite_name()) + "." + test->name()) / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

inline void writeFile(const fs::path& file, const std::string& content) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
}

// The module's own resource folder, as the build ships it.
inline fs::path shippedResources() { return fs::path(CLEARTRACE_MODULE_FILE).parent_path() / "res"; }

// The module linked into the test, spoken to through its c4d_main.
struct InProcessModule : kit::ModuleLifecycle {
    fs::path folder;  // the module's folder, holding file()

    // withResources: the shipped res folder is copied beside the module file.
    explicit InProcessModule(bool withResources = true)
        : kit::ModuleLifecycle(freshFolder("Cleartrace") / "cleartrace.xso64", c4d_main), folder(file().parent_path()) {
        g_maxon.kernel = host.kernel();
        if (withResources) fs::copy(shippedResources(), folder / "res", fs::copy_options::recursive);
    }
    ~InProcessModule() {
        // The application quits: it destroys the commands, then ends the module.
        host.ui.shutDown();
        while (moduleBindCount() > 0) end();
        host::forgetTables();
        g_maxon.kernel = nullptr;
    }

    // Bind, resource and start, as the application loads a module.
    void load() {
        ASSERT_EQ(bind(), 1);
        ASSERT_EQ(loadResource(), 1);
        ASSERT_EQ(start(), 1);
    }

    // Host strings and paths the module holds.
    int64_t moduleStrings() const { return host.services.liveStrings(); }
    int64_t modulePaths() const { return host.services.livePaths(); }
};

}  // namespace entry_test
