// Scene files that are wrong on purpose or by accident: each is refused with
// an error naming the place, short enough to read, and leaves the scene as
// it was.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>

#include "core/substitute_host.h"
#include "input/printable_text.h"
#include "scene_file/scene_file.h"

namespace {
using substitute::loadScene;

struct Refusal {
    std::string json;
    std::string error;  // the start of the error
};

void expectRefused(const std::vector<Refusal>& cases) {
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.json.substr(0, 200));
        substitute::SubstituteHost host;
        HostDocument* before = host.scene.newDocument();
        substitute::SceneLoad result = loadScene(host.scene, c.json);
        EXPECT_EQ(result.document, nullptr);
        EXPECT_EQ(result.error.substr(0, c.error.size()), c.error) << result.error;
        EXPECT_LT(result.error.size(), 250u) << "errors quote only an excerpt";
        EXPECT_EQ(host.scene.activeDocument(), before);
        EXPECT_EQ(host.scene.documents().size(), 1u);
        EXPECT_EQ(host.handles.count(substitute::HandleKind::Element), 0u);
    }
}

TEST(HostileScene, ADuplicateKeyIsAnErrorNamingItsPath) {
    expectRefused({
        {R"({"objects": [], "objects": []})", "objects: duplicate key"},
        {R"({"objects": [{"type": 1, "type": 2}]})", "objects[0].type: duplicate key"},
        {R"({"objects": [{"type": 1, "children": [{"type": 1, "name": "a", "name": "b"}]}]})",
         "objects[0].children[0].name: duplicate key"},
        {R"({"plugins": [{"id": 1, "kind": 6, "id": 2}]})", "plugins[0].id: duplicate key"},
        {R"({"materials": [{"type": 1, "channels": {"0": {}, "0": {}}}]})",
         "materials[0].channels[\"0\"]: duplicate key"},
        {R"({"materials": [{"type": 1, "channels": {"3": {"reflectance": [{"type": 1, "owner": null, "owner": null}]}}}]})",
         "materials[0].channels[\"3\"].reflectance[0].owner: duplicate key"},
        {R"({"materials": [{"type": 1, "channels": {"0": {"shader": {"type": 1011123, "layers": [
            {"kind": 2, "shader": null, "kind": 1}]}}}}]})",
         "materials[0].channels[\"0\"].shader.layers[0].kind: duplicate key"},
        {R"({"renderSettings": [{"active": true, "active": false}]})", "renderSettings[0].active: duplicate key"},
    });
}

TEST(HostileScene, AnythingAfterTheTopLevelObjectIsAnError) {
    using namespace std::string_literals;
    expectRefused({
        {"{} x", "not valid JSON at line 1, column 4"},
        {"{}{}", "not valid JSON"},
        {"{}\0"s, "not valid JSON"},
        {"{\"objects\": []}\n\0\n"s, "not valid JSON at line 2"},
        {"{\"objects\": [{\"type\": 1, \"name\": \"a\0b\"}]}"s, "not valid JSON"},
    });
    substitute::SubstituteHost host;
    EXPECT_NE(loadScene(host.scene, "{}  \n\t\r\n").document, nullptr) << "white space may follow";
}

TEST(HostileScene, TextThatIsNotUnicodeIsRefusedEscapedOrNot) {
    expectRefused({
        {R"({"objects": [{"type": 1, "name": "a\uDC00"}]})",
         "objects[0].name: a low surrogate escape without a high surrogate before it"},
        {R"({"objects": [{"type": 1, "\uDFFF": 1}]})",
         "objects[0]: a low surrogate escape without a high surrogate before it"},
        {R"({"objects": [{"type": 1, "name": "\uD800"}]})", "not valid JSON at line 1, column 35: the surrogate pair"},
        {"{\"objects\": [{\"type\": 1, \"name\": \"\xed\xa0\x80\"}]}", "not valid JSON"},
        {"{\"objects\": [{\"type\": 1, \"name\": \"\xc0\x80\"}]}", "not valid JSON"},
    });
    substitute::SubstituteHost host;
    substitute::SceneLoad paired =
        loadScene(host.scene, R"({"objects": [{"type": 1, "name": "\uD83D\uDE42\u00e9\n"}]})");
    ASSERT_NE(paired.document, nullptr) << paired.error;
    EXPECT_EQ(paired.document->objects.first->name, "\xf0\x9f\x99\x82\xc3\xa9\n");
}

TEST(HostileScene, ErrorsQuoteAtMostAShortExcerpt) {
    const std::string huge(1 << 20, 'k');
    expectRefused({
        {R"({"objects": [{"type": 1, ")" + huge + R"(": 1}]})", "objects[0]: unknown key \"kkkk"},
        {R"({"materials": [{"type": 1, "channels": {")" + huge + R"(": {}}}]})", "materials[0].channels[\"kkkk"},
        {R"({"materials": [{"type": 1, "channels": {"3": {"reflectance": [{"type": 1, "owner": ")" + huge +
             R"("}]}}}]})",
         "materials[0].channels[\"3\"].reflectance[0].owner: no material named \"kkk"},
        {R"({"objects": [{"type": )" + std::string(1 << 20, '9') + "}]}", "objects[0].type: number overflow"},
        {R"({"objects": [{"type": 1, "name": ")" + huge, "not valid JSON"},
        {R"({"objects": [{"type": 1, "name": "a)" + std::string("\x01\t\n") + huge + "\"}]}", "not valid JSON"},
    });
    EXPECT_EQ(substitute::excerpt("a\tb\xff" + std::string(100, 'c'), 10), "a\\tb\\xffcc...");
}

TEST(HostileScene, NamesAreShownWithControlCharactersAndBadBytesEscaped) {
    EXPECT_EQ(substitute::printable("Cube\tTab\nLine\r\x01\x7f"), "Cube\\tTab\\nLine\\r\\x01\\x7f");
    EXPECT_EQ(substitute::printable("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x99\x82"),
              "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x99\x82");
    EXPECT_EQ(substitute::printable("\xc3 \xc0\x80 \xed\xa0\x80 \xf4\x90\x80\x80"),
              "\\xc3 \\xc0\\x80 \\xed\\xa0\\x80 \\xf4\\x90\\x80\\x80");
    EXPECT_EQ(substitute::printableLines("a\nb\tc"), "a\nb\\tc");

    substitute::SubstituteHost host;
    HostDocument* document = host.scene.newDocument();
    host.scene.addObject(*document, nullptr, "Two\nLines\tand tab", 5159);
    std::vector<std::string> lines = substitute::describeScene(host.scene, *document);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "  Two\\nLines\\tand tab [5159]");
}

#ifndef _WIN32
// A file the user names that is not a scene file of a sane size (devices and
// pipes as a POSIX system has them).
class HostileSceneFile : public ::testing::Test {
protected:
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("cleartrace-hostile-" + std::to_string(getpid()));
    void SetUp() override { std::filesystem::create_directories(folder); }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string refusal(const std::filesystem::path& file, uint64_t limit = substitute::defaultInputLimit) {
        substitute::SubstituteHost host;
        substitute::SceneLoad result = substitute::loadSceneFile(host.scene, file, limit);
        EXPECT_EQ(result.document, nullptr);
        return result.error;
    }
};

TEST_F(HostileSceneFile, WhatIsNotARegularFileOrTooLargeIsRefused) {
    EXPECT_EQ(refusal(folder), folder.string() + " is not a regular file");
    EXPECT_EQ(refusal("/dev/zero"), "/dev/zero is not a regular file");
    std::filesystem::path fifo = folder / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(refusal(fifo), fifo.string() + " is not a regular file");

    std::filesystem::path big = folder / "big.json";
    std::ofstream(big) << "{\"objects\": []}";
    EXPECT_EQ(refusal(big, 10), big.string() + " is larger than 10 bytes");
    substitute::SubstituteHost host;
    EXPECT_NE(substitute::loadSceneFile(host.scene, big, 15).document, nullptr) << "the limit itself is allowed";
}

// What does not begin as a JSON object is refused from its first bytes: a
// sparse file of 3 GiB read whole would take that much memory. A byte order
// mark before the object is allowed.
TEST_F(HostileSceneFile, WhatCannotBeASceneIsRefusedWithoutBeingReadWhole) {
    const std::filesystem::path huge = folder / "huge.json";
    std::ofstream(huge) << " \r\n\tnot a scene";
    std::filesystem::resize_file(huge, uint64_t(3) << 30);
    EXPECT_EQ(refusal(huge), huge.string() + " is not a JSON object");
    const std::filesystem::path marked = folder / "marked.json";
    for (const char* text : {"\xEF\xBB\xBF[]", "\xEF\xBB", "\xEF\xBB\xBF\xEF\xBB\xBF{}"}) {
        std::ofstream(marked, std::ios::binary | std::ios::trunc) << text;
        EXPECT_NE(refusal(marked), "") << text;
    }
    std::ofstream(marked, std::ios::binary | std::ios::trunc)
        << "\xEF\xBB\xBF \n{\"objects\": [{\"name\": \"A\", \"type\": 5140}]}";
    substitute::SubstituteHost host;
    const substitute::SceneLoad load = substitute::loadSceneFile(host.scene, marked);
    ASSERT_NE(load.document, nullptr) << load.error;
    EXPECT_EQ(load.document->objects.first->name, "A");
}
#endif

}  // namespace
