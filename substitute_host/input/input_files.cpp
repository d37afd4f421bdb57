#include "input/input_files.h"

#include <cstdio>
#include <memory>

namespace substitute {

bool readInputFile(const std::filesystem::path& file, uint64_t limit, std::string& text, std::string& error) {
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
    // The size is a hint: the file may grow or shrink while it is read.
    if (!problem) text.reserve(size_t(size) + inputPadding);
    text.resize(problem ? 0 : size_t(size));
    size_t filled = std::fread(text.data(), 1, text.size(), in.get());
    text.resize(filled);
    char chunk[65536];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, in.get())) > 0;) {
        if (text.size() + got > limit) return tooLarge();
        text.append(chunk, got);
    }
    if (std::ferror(in.get())) {
        error = "cannot read " + file.string();
        return false;
    }
    return true;
}

}  // namespace substitute
