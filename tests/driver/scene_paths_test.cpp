// Every object and material has a path that the driver prints and select
// accepts, whatever its name: '/' and '[' in names, empty names, siblings of
// one name, control characters and bytes that are not UTF-8.
#include <gtest/gtest.h>

#include "core/substitute_host.h"
#include "input/printable_text.h"
#include "scene_paths.h"

namespace {
using driver::findByPath;
using driver::pathOf;

struct TrickyScene {
    substitute::SubstituteHost host;
    HostDocument* document = host.scene.newDocument();
    std::vector<HostElement*> elements;

    TrickyScene() {
        const char* names[] = {"Cube", "", "a/b", "Cube", "x[2]", "back\\slash", "tab\there", "bad\xff", "Cube", "/"};
        HostElement* group = host.scene.addObject(*document, nullptr, "Group", 5140);
        elements.push_back(group);
        for (const char* name : names) {
            elements.push_back(host.scene.addObject(*document, nullptr, name, 5159));
            elements.push_back(host.scene.addObject(*document, group, name, 5159));
            elements.push_back(host.scene.addMaterial(*document, name, 5703));
        }
        // Deeper: below the second "Cube" of the group and below the empty name.
        elements.push_back(host.scene.addObject(*document, elements[11], "Cube", 5159));
        elements.push_back(host.scene.addObject(*document, elements[5], "", 5159));
    }
};

TEST(ScenePaths, EveryElementIsFoundByThePathPrinted) {
    TrickyScene scene;
    for (HostElement* element : scene.elements) {
        const std::string path = pathOf(*element);
        SCOPED_TRACE(path);
        EXPECT_EQ(substitute::printable(path), path) << "a path prints as it is";
        std::string error;
        EXPECT_EQ(findByPath(*scene.document, path, error), element) << error;
    }
}

TEST(ScenePaths, TheFormsOfAPath) {
    TrickyScene scene;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/Cube", "/Cube"},
        {"/Cube[2]", "/Cube[2]"},
        {"/Cube[1]", "/Cube"},
        {"/", "/"},
        {"/a\\/b", "/a\\/b"},
        {"/x\\[2]", "/x\\[2]"},
        {"/back\\\\slash", "/back\\\\slash"},
        {"/tab\\there", "/tab\\there"},
        {"/bad\\xff", "/bad\\xff"},
        {"/bad\\xFF", "/bad\\xff"},
        {"/Group/Cube[2]/Cube", "/Group/Cube[2]/Cube"},
        {"/Group//", "/Group//"},
        {"mat:a/b", "mat:a/b"},
        {"mat:a\\/b", "mat:a/b"},
        {"mat:Cube[3]", "mat:Cube[3]"},
        {"mat:", "mat:"},
    };
    for (const auto& [given, printed] : cases) {
        std::string error;
        HostElement* found = findByPath(*scene.document, given, error);
        ASSERT_NE(found, nullptr) << given << ": " << error;
        EXPECT_EQ(pathOf(*found), printed) << given;
    }
    const std::vector<std::pair<std::string, std::string>> refusals = {
        {"/Cube[4]", "no object \"/Cube[4]\" in the scene"},
        {"/Cube[0]", "\"/Cube[0]\" names no object (/Group/Cube) or material (mat:Name)"},
        {"/Cube[x]", "\"/Cube[x]\" names no object (/Group/Cube) or material (mat:Name)"},
        {"/Cube[2]x", "\"/Cube[2]x\" names no object (/Group/Cube) or material (mat:Name)"},
        {"/bad\\q", "\"/bad\\q\" names no object (/Group/Cube) or material (mat:Name)"},
        {"/bad\\x4", "\"/bad\\x4\" names no object (/Group/Cube) or material (mat:Name)"},
        {"/Nope/Cube", "no object \"/Nope\" in the scene"},
        {"Cube", "\"Cube\" names no object (/Group/Cube) or material (mat:Name)"},
        {"", "\"\" names no object (/Group/Cube) or material (mat:Name)"},
        {"mat:Stone", "no material \"Stone\" in the scene"},
    };
    for (const auto& [given, message] : refusals) {
        std::string error;
        EXPECT_EQ(findByPath(*scene.document, given, error), nullptr) << given;
        EXPECT_EQ(error, message);
    }
}

// The path of the deepest object of a deep chain is built in time linear in
// its length (it was built by prepending, which took 51 s at this depth).
TEST(ScenePaths, TheDeepestOfAHundredThousandLevels) {
    substitute::SubstituteHost host;
    HostDocument* document = host.scene.newDocument();
    HostElement* object = nullptr;
    for (int i = 0; i < 100000; ++i) object = host.scene.addObject(*document, object, "n", 5140);
    const std::string path = pathOf(*object);
    EXPECT_EQ(path.size(), 200000u);
    std::string error;
    EXPECT_EQ(findByPath(*document, path, error), object);
    EXPECT_EQ(findByPath(*document, path + "/x", error), nullptr);
    EXPECT_LT(error.size(), 120u) << "the error quotes an excerpt of the path";
}

}  // namespace
