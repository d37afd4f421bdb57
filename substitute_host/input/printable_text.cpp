#include "input/printable_text.h"

namespace substitute {
namespace {

void appendEscaped(std::string& out, unsigned char byte) {
    static const char hex[] = "0123456789abcdef";
    switch (byte) {
        case '\t': out += "\\t"; return;
        case '\n': out += "\\n"; return;
        case '\r': out += "\\r"; return;
        default:
            out += "\\x";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
    }
}

// Appends the text at the start of rest (one character) and answers its length.
size_t appendOne(std::string& out, std::string_view rest, bool keepLineBreaks) {
    const auto byte = static_cast<unsigned char>(rest[0]);
    if (byte < 0x20 || byte == 0x7F) {
        if (byte == '\n' && keepLineBreaks) {
            out += '\n';
        } else {
            appendEscaped(out, byte);
        }
        return 1;
    }
    const size_t length = byte < 0x80 ? 1 : utf8SequenceLength(rest);
    if (length == 0) {
        appendEscaped(out, byte);
        return 1;
    }
    out.append(rest.substr(0, length));
    return length;
}

std::string escape(std::string_view text, bool keepLineBreaks) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) i += appendOne(out, text.substr(i), keepLineBreaks);
    return out;
}

}  // namespace

size_t utf8SequenceLength(std::string_view text) {
    if (text.empty()) return 0;
    const auto first = static_cast<unsigned char>(text[0]);
    if (first < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        if (first == 0xE0) low = 0xA0;   // no overlong forms
        if (first == 0xED) high = 0x9F;  // no surrogates
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        if (first == 0xF0) low = 0x90;
        if (first == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF)) return 0;
    }
    return length;
}

std::string printable(std::string_view text) { return escape(text, false); }

std::string printableLines(std::string_view text) { return escape(text, true); }

std::string excerpt(std::string_view text, size_t limit) {
    std::string out;
    size_t i = 0;
    while (i < text.size() && out.size() < limit) i += appendOne(out, text.substr(i), false);
    if (i < text.size()) out += "...";
    return out;
}

}  // namespace substitute
