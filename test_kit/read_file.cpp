#include "read_file.h"

#include <fstream>
#include <iterator>

namespace kit {

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace kit
