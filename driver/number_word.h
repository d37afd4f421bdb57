// A number as the user types it on the command line or in a command: the
// whole word, nothing before or after it.
#pragma once

#include <charconv>
#include <string_view>
#include <system_error>

namespace driver {

// False, leaving value unspecified, unless all of word is one Number.
template <class Number>
bool parseNumber(std::string_view word, Number& value) {
    const char* end = word.data() + word.size();
    auto [stop, problem] = std::from_chars(word.data(), end, value);
    return problem == std::errc() && stop == end;
}

}  // namespace driver
