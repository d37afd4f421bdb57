// Texts from files (element names, keys, commands) shown on one line: control
// characters and bytes that are not UTF-8 would add columns, fake rows or
// garbage, so they are shown as escapes (\t, \n, \r, \xNN).
#pragma once

#include <string>
#include <string_view>

namespace substitute {

// text with its control characters and invalid UTF-8 bytes escaped.
std::string printable(std::string_view text);
// As printable, except that line breaks stay (texts of several lines).
std::string printableLines(std::string_view text);

// For error messages: a printable excerpt of text of at most about limit
// characters, marked with "..." where it was cut.
std::string excerpt(std::string_view text, size_t limit = 60);

// The length of the valid UTF-8 sequence at the start of text, or 0 when
// its first byte does not start one.
size_t utf8SequenceLength(std::string_view text);

}  // namespace substitute
