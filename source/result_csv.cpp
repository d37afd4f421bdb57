// The results list as a CSV file's text, for a spreadsheet or a pipeline
// script: the cells exactly as the tree view draws them.
#include <cstdint>
#include <string_view>

#include "result_rows.h"

namespace {

constexpr char replacementCharacter[] = "\xEF\xBF\xBD";  // U+FFFD

// The length of the well-formed UTF-8 sequence text starts with, or 0.
size_t sequenceLength(std::string_view text) {
    const auto byte = [&](size_t i) { return i < text.size() ? uint8_t(text[i]) : uint8_t(0); };
    const auto continues = [&](size_t i, uint8_t low = 0x80, uint8_t high = 0xBF) {
        return byte(i) >= low && byte(i) <= high;
    };
    const uint8_t lead = byte(0);
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return continues(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        // No overlong forms, no surrogates.
        const uint8_t low = lead == 0xE0 ? 0xA0 : 0x80;
        const uint8_t high = lead == 0xED ? 0x9F : 0xBF;
        return continues(1, low, high) && continues(2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        // No overlong forms, nothing above U+10FFFF.
        const uint8_t low = lead == 0xF0 ? 0x90 : 0x80;
        const uint8_t high = lead == 0xF4 ? 0x8F : 0xBF;
        return continues(1, low, high) && continues(2) && continues(3) ? 4 : 0;
    }
    return 0;
}

bool appendText(host::Vector<char>& csv, std::string_view text) {
    return csv.append(text.data(), int64_t(text.size()));
}

// A text the host could not make is no cell's text: the file is not written.
bool appendField(host::Vector<char>& csv, const host::String& cell) {
    if (cell.refused()) return false;
    std::string_view text = cell.view();
    const bool quoted = text.find_first_of(",\"\r\n") != std::string_view::npos;
    if (quoted && !appendText(csv, "\"")) return false;
    while (!text.empty()) {
        const size_t length = sequenceLength(text);
        bool appended = true;
        if (length == 0) {
            appended = appendText(csv, replacementCharacter);
        } else if (text[0] == '"') {
            appended = appendText(csv, "\"\"");
        } else {
            appended = appendText(csv, text.substr(0, length));
        }
        if (!appended) return false;
        text.remove_prefix(length == 0 ? 1 : length);
    }
    return !quoted || appendText(csv, "\"");
}

}  // namespace

bool listAsCsv(ResultTreeCallbacks& list, ResultStore& store, host::Vector<char>& csv) {
    bool made = list.makeListTexts();
    for (size_t i = 0; i < list.shownColumns.size(); ++i) {
        made = made && (i == 0 || appendText(csv, ",")) && appendField(csv, list.headerText(list.shownColumns[i]));
    }
    made = made && appendText(csv, "\r\n");
    for (void* row = list.firstRow(&store, nullptr); made && row != nullptr; row = list.nextRow(&store, nullptr, row)) {
        const ResultRecord& record = *recordAt(&store, row);
        for (size_t i = 0; i < list.shownColumns.size(); ++i) {
            made = made && (i == 0 || appendText(csv, ",")) &&
                   appendField(csv, list.cellText(record, list.shownColumns[i]));
        }
        made = made && appendText(csv, "\r\n");
    }
    return made;
}
