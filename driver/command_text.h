// Command text as the user types it: commands separated by line breaks or
// ';', words separated by blanks, "double quotes" around a word with blanks
// (\" and \\ inside), and '#' outside quotes starting a comment.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace driver {

using Words = std::vector<std::string>;

struct SplitLine {
    std::vector<Words> commands;  // empty commands (blank, comment only) are left out
    std::string error;            // "" when the whole line could be read
};

// The commands of one line; none, with an error, when a quote is left open.
SplitLine splitLine(std::string_view line);

// The text's lines without their line breaks ("\n" or "\r\n").
std::vector<std::string_view> splitLines(std::string_view text);

// A word as it would be typed back: quoted when it holds a blank, quote, ';' or
// '#'.
std::string quoteWord(const std::string& word);
std::string joinWords(const Words& words);

}  // namespace driver
