// A whole file as bytes, for tests that compare what a program wrote.
#pragma once

#include <filesystem>
#include <string>

namespace kit {

// The file's content; "" when it cannot be read.
std::string readFile(const std::filesystem::path& file);

}  // namespace kit
