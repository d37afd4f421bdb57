#include "framework/session_view.h"

#include "dialog_contract.h"
#include "scene_paths.h"
#include "ui/tree_views.h"

namespace validator {
namespace {

std::string lineAt(const std::string& text, size_t start) {
    const size_t end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string excerpt(const std::string& line) {
    constexpr size_t longest = 160;
    return line.size() <= longest ? line : line.substr(0, longest) + "...";
}

std::string rowText(const std::vector<std::string>& row) {
    std::string text;
    for (const std::string& cell : row) text += (text.empty() ? "\"" : " | \"") + cell + "\"";
    return "[" + text + "]";
}

}  // namespace

bool isNotFoundRow(const std::vector<std::string>& row) {
    return !row.empty() && (row[0] == kit::noMissingPlugins || row[0].find(" not found.") != std::string::npos);
}

const substitute::Control* windowControl(Harness& harness, int32_t id) {
    HostDialog* shown = harness.host().ui.findDialog(CLEARTRACE_COMMAND_ID);
    if (shown == nullptr || !shown->open) return nullptr;
    return substitute::findControl(*shown, id);
}

Rows listedRows(Harness& harness) {
    HostDialog* shown = harness.host().ui.findDialog(CLEARTRACE_COMMAND_ID);
    if (shown == nullptr || !shown->open) return {};
    HostGui* treeView = substitute::treeViewIn(*shown, IDC_TREE_VIEW);
    if (treeView == nullptr) return {};
    return substitute::rowTexts(substitute::drawTreeView(*treeView));
}

std::string rowDifference(const Rows& expected, const Rows& found) {
    size_t row = 0;
    while (row < expected.size() && row < found.size() && expected[row] == found[row]) ++row;
    const std::string wanted = row < expected.size() ? rowText(expected[row]) : "the end";
    const std::string shown = row < found.size() ? rowText(found[row]) : "the end";
    return "row " + std::to_string(row) + ": expected " + wanted + ", found " + shown;
}

std::string firstDifference(const std::string& expected, const std::string& actual) {
    if (expected == actual) return {};
    size_t line = 1;
    size_t start = 0;
    for (size_t i = 0; i < expected.size() && i < actual.size() && expected[i] == actual[i]; ++i) {
        if (expected[i] == '\n') {
            ++line;
            start = i + 1;
        }
    }
    const std::string wanted = start < expected.size() ? "`" + excerpt(lineAt(expected, start)) + "`" : "the end";
    const std::string found = start < actual.size() ? "`" + excerpt(lineAt(actual, start)) + "`" : "the end";
    return "line " + std::to_string(line) + ": expected " + wanted + ", found " + found;
}

std::vector<std::string> objectPaths(Harness& harness) {
    std::vector<std::string> paths;
    const HostDocument* document = harness.host().scene.activeDocument();
    if (document == nullptr) return paths;
    for (const HostElement* object = document->objects.first; object != nullptr;
         object = substitute::nextInPreOrder(object)) {
        paths.push_back(driver::pathOf(*object));
    }
    return paths;
}

std::vector<std::string> materialPaths(Harness& harness) {
    std::vector<std::string> paths;
    const HostDocument* document = harness.host().scene.activeDocument();
    if (document == nullptr) return paths;
    for (const HostElement* material = document->materials.first; material != nullptr; material = material->next) {
        paths.push_back(driver::pathOf(*material));
    }
    return paths;
}

}  // namespace validator
