#include "framework/harness.h"

#include "command_text.h"
#include "scene_file/scene_file.h"

namespace validator {

Harness::Harness() = default;

std::string Harness::start(const std::filesystem::path& module, std::string_view sceneJson,
                           const Injection& injection) {
    substitute::KernelServices& services = host().services;
    if (injection.allocation > 0) services.failAllocation(injection.allocation);
    if (injection.objectCreation > 0) services.failObjectCreation(injection.objectCreation);
    if (injection.stringCreation > 0) services.failStringCreation(injection.stringCreation);
    if (injection.undo > 0) services.failUndo(injection.undo);
    if (injection.save > 0) services.failSave(injection.save);
    if (injection.folder > 0) services.failFolderCreation(injection.folder);
    if (injection.removal > 0) services.failRemoval(injection.removal);
    if (session_.startWithScene(module, sceneJson)) return {};
    std::string shown = takeShown();
    return shown.empty() ? "the session did not start" : shown;
}

std::string Harness::run(std::string_view commands) {
    takeShown();
    driver::SplitLine split = driver::splitLine(commands);
    if (!split.error.empty()) return split.error;
    for (size_t i = 0; i < split.commands.size(); ++i) {
        if (!session_.run(split.commands[i], "command " + std::to_string(i + 1))) return takeShown();
    }
    return {};
}

std::string Harness::savedScene() {
    const HostDocument* document = host().scene.activeDocument();
    return document ? substitute::saveScene(host().scene, *document) : std::string();
}

std::vector<std::string> Harness::boxTexts() {
    std::vector<std::string> texts;
    for (const substitute::MessageBoxRecord& box : host().ui.messageBoxes.shown) texts.push_back(box.text);
    return texts;
}

bool Harness::injectionReached() {
    const substitute::KernelServices& services = host().services;
    return !services.allocationFailurePending() && !services.objectCreationFailurePending() &&
           !services.stringCreationFailurePending() && !services.undoFailurePending() &&
           !services.saveFailurePending() && !services.folderCreationFailurePending() &&
           !services.removalFailurePending();
}

std::string Harness::quit() {
    takeShown();
    return session_.quit() ? "" : takeShown();
}

std::string Harness::takeShown() {
    std::string text = shown_.str();
    shown_.str({});
    return text;
}

}  // namespace validator
