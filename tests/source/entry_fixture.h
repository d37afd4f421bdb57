// The module's entry point driven in-process: a substitute host whose kernel
// is written into g_maxon, a module folder of the test's own (with or without
// a resource folder), and c4d_main called as the application calls it.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/binding.h"
#include "kernel/host_paths.h"
#include "main.h"
#include "core/substitute_host.h"

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

struct InProcessModule {
    substitute::SubstituteHost host;
    fs::path folder;     // the module's folder
    fs::path file;       // the module file inside it (never read)
    HostPath* filePath;  // what bind hands over as p3

    // withResources: the shipped res folder is copied beside the module file.
    explicit InProcessModule(bool withResources = true)
        : folder(freshFolder("Cleartrace")), file(folder / "cleartrace.xso64") {
        g_maxon.kernel = host.kernel();
        if (withResources) fs::copy(shippedResources(), folder / "res", fs::copy_options::recursive);
        filePath = substitute::makePath(file);
    }
    ~InProcessModule() {
        // The application quits: it destroys the commands, then ends the module.
        host.ui.shutDown();
        while (moduleBindCount() > 0) c4d_main(HOST_MODULE_END, nullptr, nullptr, nullptr);
        host.tables()->t_C4DOS_Fn->free(filePath);
        host::forgetTables();
        g_maxon.kernel = nullptr;
    }

    int32_t send(int32_t message, void* p1 = nullptr, void* p3 = nullptr) { return c4d_main(message, p1, nullptr, p3); }
    int32_t bind(const HostTables* tables) { return send(HOST_MODULE_BIND, const_cast<HostTables*>(tables), filePath); }
    int32_t bind() { return bind(host.tables()); }
    int32_t loadResource() { return send(HOST_MODULE_MESSAGE, reinterpret_cast<void*>(HOST_MODULE_MESSAGE_RESOURCE)); }
    int32_t start() { return send(HOST_MODULE_START); }
    int32_t end() { return send(HOST_MODULE_END); }
    // Bind, resource and start, as the application loads a module.
    void load() {
        ASSERT_EQ(bind(), 1);
        ASSERT_EQ(loadResource(), 1);
        ASSERT_EQ(start(), 1);
    }

    std::vector<std::string> consoleTexts() const {
        std::vector<std::string> texts;
        for (const substitute::ConsoleLine& line : host.services.console()) texts.push_back(line.text);
        return texts;
    }
    // Host strings and paths the module holds; the test's own file path aside.
    int64_t moduleStrings() const { return host.services.liveStrings(); }
    int64_t modulePaths() const { return host.services.livePaths() - 1; }
};

// A copy of the host's tables with table index (0 = t_C4DOS_Ge) missing.
inline HostTables withoutTable(const HostTables& tables, int index) {
    HostTables copy = tables;
    const size_t offset = offsetof(HostTables, t_C4DOS_Ge) + size_t(index) * sizeof(void*);
    std::memset(reinterpret_cast<char*>(&copy) + offset, 0, sizeof(void*));
    return copy;
}

}  // namespace entry_test
