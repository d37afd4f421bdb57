// Reading a file the user names (a scene, a script) whole into memory, with
// the refusals that keep a mistaken name from hanging or exhausting the
// program: only regular files, and no more than a limit of bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace substitute {

inline constexpr uint64_t defaultInputLimit = uint64_t(4) << 30;  // 4 GiB

// Room kept after the bytes read, so that a reader which pads its input with
// NULs (one that may look a few bytes past the end of a cut-off text) does
// not copy a large file to do so.
inline constexpr size_t inputPadding = 16;

// The file's bytes in text; false, with why in error ("cannot read FILE",
// "FILE is not a regular file", "FILE is larger than N bytes"), otherwise.
bool readInputFile(const std::filesystem::path& file, uint64_t limit, std::string& text, std::string& error);

}  // namespace substitute
