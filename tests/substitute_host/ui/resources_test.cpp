#include <gtest/gtest.h>

#include <fstream>

#include "kernel/host_paths.h"
#include "ui/resources.h"
#include "ui_clients.h"

namespace {

TEST(StringTable, ParsesIdsTextsAndEscapes) {
    std::map<int32_t, std::string> strings;
    std::string content =
        "# the module's texts\r\n"
        "\n"
        "10000 \"Cleartrace\"\r\n"
        "  10001\t\"Line one\\nsays \\\"hi\\\" \\\\ back\"  \n"
        "-5 \"\"";
    EXPECT_EQ(substitute::parseStringTable(content, "strings.txt", strings), "");
    EXPECT_EQ(strings, (std::map<int32_t, std::string>{
                           {-5, ""}, {10000, "Cleartrace"}, {10001, "Line one\nsays \"hi\" \\ back"}}));
}

TEST(StringTable, AMalformedLineNamesFileLineAndProblem) {
    struct Case {
        const char* line;
        const char* error;
    } cases[] = {
        {"Cleartrace \"x\"", "expected a decimal id at the start of the line"},
        {"99999999999 \"x\"", "the id does not fit in 32 bits"},
        {"10000\"x\"", "expected spaces after the id"},
        {"10000 Cleartrace", "expected a double-quoted text after the id"},
        {"10000 \"open", "the text has no closing quote"},
        {"10000 \"ends in a backslash\\", "the text has no closing quote"},
        {"10000 \"tab \\t\"", "unknown escape \\t (only \\n, \\\" and \\\\)"},
        {"10000 \"x\" trailing", "unexpected characters after the closing quote"},
        {"1 \"first\"", "id 1 is already defined on line 2"},
    };
    for (const Case& c : cases) {
        std::map<int32_t, std::string> strings{{7, "kept"}};
        std::string content = std::string("# header\n1 \"first\"\n") + c.line + "\n";
        EXPECT_EQ(substitute::parseStringTable(content, "res/strings.txt", strings),
                  std::string("res/strings.txt:3: ") + c.error)
            << c.line;
        EXPECT_EQ(strings, (std::map<int32_t, std::string>{{7, "kept"}})) << "nothing half-loaded";
    }
}

struct ResourceLoading : ::testing::Test {
    substitute::SubstituteHost host;
    // A folder of each test's own: CTest runs the tests of this fixture side by side.
    std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) /
        (std::string("hostui_res_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    const HostGeneralTable& ge = *ui_test::tables().t_C4DOS_Ge;

    void write(const std::string& content) {
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "strings.txt", std::ios::binary) << content;
    }
    HostResource* load() {
        HostPath* path = substitute::makePath(folder);
        HostResource* resource = ge.loadResource(path);
        ui_test::tables().t_C4DOS_Fn->free(path);
        return resource;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
};

TEST_F(ResourceLoading, StringsComeBackAsNewHostStrings) {
    write("10000 \"Cleartrace\"\n");
    HostResource* resource = load();
    ASSERT_NE(resource, nullptr);
    HostString* name = ge.resourceString(resource, 10000);
    EXPECT_EQ(substitute::text(name, "test"), "Cleartrace");
    substitute::releaseString(name);
    EXPECT_EQ(ge.resourceString(resource, 10001), nullptr);
    ge.freeResource(resource, true);
    ASSERT_EQ(host.ui.freedResources.size(), 1u);
    EXPECT_TRUE(host.ui.freedResources[0].initialised);
    EXPECT_EQ(host.handles.count(substitute::HandleKind::Resource), 0u);
}

TEST_F(ResourceLoading, FailuresAreHostDiagnostics) {
    EXPECT_EQ(load(), nullptr);
    write("10000 \"Cleartrace\"\n10001 oops\n");
    EXPECT_EQ(load(), nullptr);
    ASSERT_EQ(host.ui.diagnostics.size(), 2u);
    EXPECT_EQ(host.ui.diagnostics[0], (folder / "strings.txt").string() + ": cannot open the string table");
    EXPECT_EQ(host.ui.diagnostics[1],
              (folder / "strings.txt").string() + ":2: expected a double-quoted text after the id");
}

}  // namespace
