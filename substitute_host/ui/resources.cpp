#include "ui/resources.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "core/substitute_host.h"
#include "kernel/host_paths.h"
#include "kernel/host_strings.h"

namespace substitute {
namespace {
HandleRegistry& handles() { return SubstituteHost::current().handles; }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// One line "ID "TEXT"": answers what is wrong, or "" with id and text set.
std::string parseLine(std::string_view line, int32_t& id, std::string& text) {
    const char* end = line.data() + line.size();
    auto [afterId, error] = std::from_chars(line.data(), end, id);
    if (error == std::errc::result_out_of_range) return "the id does not fit in 32 bits";
    if (error != std::errc()) return "expected a decimal id at the start of the line";
    size_t at = size_t(afterId - line.data());
    if (at == line.size() || !isBlank(line[at])) return "expected spaces after the id";
    while (at < line.size() && isBlank(line[at])) ++at;
    if (at == line.size() || line[at] != '"') return "expected a double-quoted text after the id";
    text.clear();
    for (++at; at < line.size(); ++at) {
        char c = line[at];
        if (c == '"') break;
        if (c != '\\') {
            text += c;
            continue;
        }
        if (++at == line.size()) break;
        switch (line[at]) {
            case 'n': text += '\n'; break;
            case '"': text += '"'; break;
            case '\\': text += '\\'; break;
            default: return std::string("unknown escape \\") + line[at] + " (only \\n, \\\" and \\\\)";
        }
    }
    if (at >= line.size()) return "the text has no closing quote";
    for (++at; at < line.size(); ++at) {
        if (!isBlank(line[at])) return "unexpected characters after the closing quote";
    }
    return {};
}
}  // namespace

std::string parseStringTable(std::string_view content, const std::string& fileName,
                             std::map<int32_t, std::string>& strings) {
    std::map<int32_t, std::string> parsed;
    std::map<int32_t, int> lineOf;
    int lineNumber = 0;
    while (!content.empty()) {
        size_t newline = content.find('\n');
        std::string_view line = content.substr(0, newline);
        content.remove_prefix(newline == std::string_view::npos ? content.size() : newline + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
        if (line.empty() || line.front() == '#') continue;

        int32_t id = 0;
        std::string text;
        std::string problem = parseLine(line, id, text);
        if (problem.empty() && lineOf.count(id)) {
            problem = "id " + std::to_string(id) + " is already defined on line " + std::to_string(lineOf[id]);
        }
        if (!problem.empty()) return fileName + ":" + std::to_string(lineNumber) + ": " + problem;
        parsed[id] = std::move(text);
        lineOf[id] = lineNumber;
    }
    strings = std::move(parsed);
    return {};
}

void fillResourceEntries(HostGeneralTable& table) {
    table.loadResource = [](const HostPath* folder) -> HostResource* {
        std::filesystem::path file = pathOf(folder, "Ge.loadResource") / stringTableFile;
        Interface& ui = SubstituteHost::current().ui;
        std::ifstream stream(file, std::ios::binary);
        if (!stream) {
            ui.diagnostics.push_back(file.string() + ": cannot open the string table");
            return nullptr;
        }
        std::ostringstream content;
        content << stream.rdbuf();
        auto resource = std::make_unique<HostResource>();
        resource->folder = pathOf(folder, "Ge.loadResource");
        std::string error = parseStringTable(content.str(), file.string(), resource->strings);
        if (!error.empty()) {
            ui.diagnostics.push_back(error);
            return nullptr;
        }
        handles().add(resource.get(), HandleKind::Resource);
        return resource.release();
    };
    table.freeResource = [](HostResource* resource, bool initialised) {
        handles().check("Ge.freeResource", resource, HandleKind::Resource, true);
        if (resource == nullptr) return;
        SubstituteHost::current().ui.freedResources.push_back({resource->folder, initialised});
        handles().remove(resource);
        delete resource;
    };
    table.resourceString = [](const HostResource* resource, int32_t id) -> HostString* {
        // No resource reads as an empty table.
        handles().check("Ge.resourceString", resource, HandleKind::Resource, true);
        if (resource == nullptr) return nullptr;
        auto found = resource->strings.find(id);
        return found == resource->strings.end() ? nullptr : newModuleString(found->second);
    };
}

}  // namespace substitute
