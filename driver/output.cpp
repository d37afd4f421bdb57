#include "output.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "input/printable_text.h"

namespace driver {
namespace {
using Json = nlohmann::ordered_json;

// "label: first line", the further lines aligned under the first (blank lines
// stay blank).
std::string labelled(const std::string& label, const std::string& text) {
    std::string result = label + ": ";
    const std::string indent(result.size(), ' ');
    for (size_t i = 0; i < text.size(); ++i) {
        result += text[i];
        if (text[i] == '\n' && i + 1 < text.size() && text[i + 1] != '\n') result += indent;
    }
    return result + '\n';
}

// "label:" and then each line of text indented by two spaces.
std::string block(const std::string& label, const std::string& text) {
    std::string result = label + ":\n";
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        result += "  " + text.substr(start, end - start) + '\n';
        start = end + 1;
    }
    return result;
}

std::string joinCells(const std::vector<std::string>& cells) {
    std::string line = "  ";
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i) line += '\t';
        line += substitute::printable(cells[i]);
    }
    return line + '\n';
}

std::string jsonLine(const Json& event) {
    // Texts from scene files are UTF-8; anything else must not end the session.
    return event.dump(-1, ' ', false, Json::error_handler_t::replace) + '\n';
}
}  // namespace

void Output::write(const std::string& text) {
    if (shownPaths_.empty()) {
        stream_ << text << std::flush;
        return;
    }
    std::string shown = text;
    for (const auto& [path, replacement] : shownPaths_) {
        for (size_t at = shown.find(path); at != std::string::npos; at = shown.find(path, at + replacement.size())) {
            shown.replace(at, path.size(), replacement);
        }
    }
    stream_ << shown << std::flush;
}

void Output::showPathAs(const std::filesystem::path& path, const std::string& shown) {
    // As a chooser's answer (generic), as the module's texts give it (native)
    // and inside a JSON string (native, its backslashes escaped).
    const std::string native = path.string();
    std::string escaped;
    for (char c : native) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    for (const std::string& form : {path.generic_string(), native, escaped}) {
        const bool known =
            std::any_of(shownPaths_.begin(), shownPaths_.end(), [&](const auto& entry) { return entry.first == form; });
        if (!known && !form.empty()) shownPaths_.emplace_back(form, shown);
    }
}

// In text, what comes from files (names, keys, commands) must not add lines,
// columns or garbage: line breaks stay where the text has them, every other
// control character and every byte that is not UTF-8 is shown escaped.
void Output::writeText(const std::string& text) { write(substitute::printableLines(text)); }

void Output::console(const std::string& text, const std::string& file, int32_t line) {
    if (format_ == Format::Text) return writeText(labelled("console", text));
    write(jsonLine({{"event", "console"}, {"text", text}, {"file", file}, {"line", line}}));
}

void Output::notice(const std::string& text) {
    if (format_ == Format::Text) return writeText(labelled("notice", text));
    write(jsonLine({{"event", "notice"}, {"text", text}}));
}

void Output::question(const std::string& text, bool answeredYes) {
    const char* answer = answeredYes ? "yes" : "no";
    if (format_ == Format::Text) return writeText(labelled("question", text) + "answer: " + answer + '\n');
    write(jsonLine({{"event", "question"}, {"text", text}, {"answer", answer}}));
}

void Output::list(const ListView& view) {
    if (format_ == Format::Json) {
        write(jsonLine({{"event", "list"}, {"columns", view.columns}, {"rows", view.rows}}));
        return;
    }
    std::string text = "list: " + std::to_string(view.rows.size()) + (view.rows.size() == 1 ? " row\n" : " rows\n");
    text += joinCells(view.columns);
    for (const auto& row : view.rows) text += joinCells(row);
    write(text);
}

void Output::openFile(const std::string& path) {
    if (format_ == Format::Text) return write("open file: " + substitute::printable(path) + '\n');
    write(jsonLine({{"event", "open-file"}, {"path", path}}));
}

void Output::chooser(const std::string& mode, const std::string& title, const std::string& answer) {
    if (format_ == Format::Text) {
        return writeText(labelled(mode + " chooser", title) + "answer: " + (answer.empty() ? "cancel" : answer) + '\n');
    }
    Json event = {{"event", "chooser"}, {"mode", mode}, {"title", title}, {"answer", nullptr}};
    if (!answer.empty()) event["answer"] = answer;
    write(jsonLine(event));
}

void Output::status(const std::string& text) {
    if (format_ == Format::Text) return writeText(labelled("status", text));
    write(jsonLine({{"event", "status"}, {"text", text}}));
}

void Output::statusBar(int32_t percent) {
    if (format_ == Format::Text) return write("status bar: " + std::to_string(percent) + "%\n");
    write(jsonLine({{"event", "status-bar"}, {"percent", percent}}));
}

void Output::statusCleared() {
    if (format_ == Format::Text) return write("status cleared\n");
    write(jsonLine({{"event", "status-cleared"}}));
}

void Output::wroteFile(const std::string& path) {
    if (format_ == Format::Text) return write("wrote file: " + substitute::printable(path) + '\n');
    write(jsonLine({{"event", "wrote-file"}, {"path", path}}));
}

void Output::openedScene(const std::string& path) {
    if (format_ == Format::Text) return write("opened scene: " + substitute::printable(path) + '\n');
    write(jsonLine({{"event", "opened-scene"}, {"path", path}}));
}

void Output::selected(const std::string& kind, const std::string& path) {
    if (format_ == Format::Text) return write("selected " + kind + ": " + substitute::printable(path) + '\n');
    write(jsonLine({{"event", "selected"}, {"kind", kind}, {"path", path}}));
}

void Output::dialog(const std::string& text) {
    if (format_ == Format::Text) return writeText(block("dialog", text));
    write(jsonLine({{"event", "dialog"}, {"text", text}}));
}

void Output::scene(const std::string& text) {
    if (format_ == Format::Text) return writeText(block("scene", text));
    write(jsonLine({{"event", "scene"}, {"text", text}}));
}

void Output::error(const std::string& text) {
    if (format_ == Format::Text) return writeText(labelled("error", text));
    write(jsonLine({{"event", "error"}, {"text", text}}));
}

void Output::fault(std::string_view operation, std::string_view text) {
    if (format_ == Format::Text) return writeText(labelled("fault", std::string(operation) + ": " + std::string(text)));
    write(jsonLine({{"event", "fault"}, {"operation", operation}, {"text", text}}));
}

void Output::counts(int64_t allocations, int64_t objects, int64_t strings, int64_t undo) {
    if (format_ == Format::Text) {
        return write("counts: " + std::to_string(allocations) + " allocations, " + std::to_string(objects) +
                     " objects, " + std::to_string(strings) + " strings, " + std::to_string(undo) + " undo\n");
    }
    write(jsonLine({{"event", "counts"},
                    {"allocations", allocations},
                    {"objects", objects},
                    {"strings", strings},
                    {"undo", undo}}));
}

void Output::command(const std::string& text) {
    if (format_ == Format::Text) write("> " + substitute::printable(text) + '\n');
}

void Output::prompt() {
    // A prompt would break the one-object-per-line form.
    if (format_ == Format::Text) write("cleartrace> ");
}

}  // namespace driver
