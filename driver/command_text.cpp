#include "command_text.h"

namespace driver {
namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool needsQuotes(const std::string& word) {
    return word.empty() || word.find_first_of(" \t\r\";#\\") != std::string::npos;
}
}  // namespace

SplitLine splitLine(std::string_view line) {
    SplitLine result;
    Words command;
    std::string word;
    bool inWord = false;
    auto endWord = [&] {
        if (inWord) command.push_back(std::move(word));
        word.clear();
        inWord = false;
    };
    auto endCommand = [&] {
        endWord();
        if (!command.empty()) result.commands.push_back(std::move(command));
        command.clear();
    };
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '#') break;
        if (c == ';') {
            endCommand();
        } else if (isBlank(c)) {
            endWord();
        } else if (c == '"') {
            inWord = true;
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) ++i;
                word += line[i];
            }
            if (i == line.size()) {
                // A line that cannot be read runs none of its commands.
                return {{}, "unterminated quote"};
            }
        } else {
            inWord = true;
            word += c;
        }
    }
    endCommand();
    return result;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string quoteWord(const std::string& word) {
    if (!needsQuotes(word)) return word;
    std::string quoted = "\"";
    for (char c : word) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

std::string joinWords(const Words& words) {
    std::string text;
    for (const std::string& word : words) {
        if (!text.empty()) text += ' ';
        text += quoteWord(word);
    }
    return text;
}

}  // namespace driver
