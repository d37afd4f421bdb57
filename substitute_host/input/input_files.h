// Reading a file the user names (a scene, a script) whole into memory, with
// the refusals that keep a mistaken name from hanging or exhausting the
// program: only regular files, and no more than a limit of bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace substitute {

inline constexpr uint64_t defaultInputLimit = uint64_t(4) << 30;  // 4 GiB

// Room kept after the bytes read, so that a reader which pads its input with
// NULs (one that may look a few bytes past the end of a cut-off text) does
// not copy a large file to do so.
inline constexpr size_t inputPadding = 16;

// What a file must begin with to be read whole.
enum class InputStart : uint8_t {
    Any,
    // A JSON object: after a UTF-8 byte order mark and blanks, "{".
    JsonObject,
};

// The file's bytes in text; false, with why in error ("cannot read FILE",
// "FILE is not a regular file", "FILE is larger than N bytes", "FILE is not
// a JSON object"), otherwise. A file that does not begin as start asks is
// refused as soon as its first bytes tell, without being read whole.
bool readInputFile(const std::filesystem::path& file, uint64_t limit, std::string& text, std::string& error,
                   InputStart start = InputStart::Any);

// The UTF-8 byte order mark, which JSON text may begin with.
inline constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

}  // namespace substitute
