#include "input/input_files.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace substitute {

namespace {

enum class Begins : uint8_t { Yes, No, NotYetKnown };

// Whether the bytes read so far (head) begin as start asks.
Begins beginsAs(std::string_view head, InputStart start) {
    if (start == InputStart::Any) return Begins::Yes;
    const std::string_view mark = byteOrderMark.substr(0, std::min(head.size(), byteOrderMark.size()));
    if (head.substr(0, mark.size()) == mark) head.remove_prefix(mark.size());
    if (mark.size() < byteOrderMark.size() && head.empty()) return Begins::NotYetKnown;
    const size_t first = head.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return Begins::NotYetKnown;
    return head[first] == '{' ? Begins::Yes : Begins::No;
}

}  // namespace

bool readInputFile(const std::filesystem::path& file, uint64_t limit, std::string& text, std::string& error,
                   InputStart start) {
    namespace fs = std::filesystem;
    std::error_code problem;
    const fs::file_status status = fs::status(file, problem);
    if (problem || !fs::exists(status)) {
        error = "cannot read " + file.string();
        return false;
    }
    // A directory, a device or a pipe that never ends has no end to wait for.
    if (!fs::is_regular_file(status)) {
        error = file.string() + " is not a regular file";
        return false;
    }
    const auto tooLarge = [&] {
        error = file.string() + " is larger than " + std::to_string(limit) + " bytes";
        return false;
    };
    const uintmax_t size = fs::file_size(file, problem);
    if (!problem && size > limit) return tooLarge();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(file.string().c_str(), "rb"), &std::fclose);
    if (!in) {
        error = "cannot read " + file.string();
        return false;
    }
    text.clear();
    Begins begins = Begins::NotYetKnown;
    char chunk[65536];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, in.get())) > 0;) {
        if (text.size() + got > limit) return tooLarge();
        text.append(chunk, got);
        if (begins != Begins::NotYetKnown) continue;
        begins = beginsAs(text, start);
        if (begins == Begins::No) {
            error = file.string() + " is not a JSON object";
            return false;
        }
        // The size is a hint: the file may grow or shrink while it is read.
        if (begins == Begins::Yes && !problem) text.reserve(size_t(size) + inputPadding);
    }
    if (std::ferror(in.get())) {
        error = "cannot read " + file.string();
        return false;
    }
    return true;
}

}  // namespace substitute
