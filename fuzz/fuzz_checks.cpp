#include "fuzz_checks.h"

#include <cstdio>
#include <cstdlib>

#include "command_text.h"
#include "core/substitute_host.h"
#include "input/printable_text.h"
#include "scene_file/scene_file.h"
#include "scene_paths.h"

namespace fuzzing {
namespace {

[[noreturn]] void violated(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

substitute::SubstituteHost& host() {
    static substitute::SubstituteHost instance;
    return instance;
}

// A small scene whose names need every form of path.
HostDocument& trickyDocument() {
    static HostDocument* document = [] {
        substitute::Scene& scene = host().scene;
        HostDocument* made = scene.newDocument();
        HostElement* group = scene.addObject(*made, nullptr, "Group", 5140);
        for (const char* name : {"Cube", "", "a/b", "Cube", "x[2]", "back\\slash", "tab\there", "bad\xff"}) {
            scene.addObject(*made, nullptr, name, 5159);
            scene.addObject(*made, group, name, 5159);
            scene.addMaterial(*made, name, 5703);
        }
        return made;
    }();
    return *document;
}

}  // namespace

void checkSceneText(std::string_view text) {
    substitute::Scene& scene = host().scene;
    substitute::SceneLoad first = substitute::loadScene(scene, text);
    if (first.document == nullptr) {
        if (first.error.empty()) violated("a refused scene without an error");
        if (first.error.size() > 400) violated("an error that quotes too much");
        return;
    }
    const std::string saved = substitute::saveScene(scene, *first.document);
    for (const std::string& line : substitute::describeScene(scene, *first.document)) {
        if (substitute::printable(line) != line) violated("a printed line with a control character");
    }
    substitute::SceneLoad second = substitute::loadScene(scene, saved);
    if (second.document == nullptr) violated("a saved scene that does not load");
    if (substitute::saveScene(scene, *second.document) != saved) violated("a saved scene that saves differently");
    scene.closeDocument(second.document);
    scene.closeDocument(first.document);
}

void checkScriptText(std::string_view text) {
    HostDocument& document = trickyDocument();
    for (std::string_view line : driver::splitLines(text)) {
        driver::SplitLine split = driver::splitLine(line);
        for (const driver::Words& command : split.commands) {
            driver::SplitLine again = driver::splitLine(driver::joinWords(command));
            if (!again.error.empty() || again.commands.size() != 1 || again.commands[0] != command) {
                violated("a command that does not read back as written");
            }
            for (const std::string& word : command) {
                std::string error;
                HostElement* found = driver::findByPath(document, word, error);
                if (found == nullptr) {
                    if (error.size() > 400) violated("an error that quotes too much");
                    continue;
                }
                if (driver::findByPath(document, driver::pathOf(*found), error) != found) {
                    violated("a printed path that names another element");
                }
            }
        }
    }
}

}  // namespace fuzzing
