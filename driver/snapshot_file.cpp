#include "snapshot_file.h"

#include <charconv>
#include <fstream>

#include "picture/dialog_svg.h"

namespace driver {
namespace {
// Larger windows than this are no window a screen shows.
constexpr int32_t largestSide = 16384;

bool parseSide(const char* first, const char* last, int32_t& side) {
    auto [stop, problem] = std::from_chars(first, last, side);
    return problem == std::errc() && stop == last && side > 0 && side <= largestSide;
}
}  // namespace

bool parseWindowSize(const std::string& word, substitute::WindowSize& size) {
    const size_t cross = word.find('x');
    if (cross == std::string::npos) return false;
    const char* text = word.data();
    return parseSide(text, text + cross, size.width) && parseSide(text + cross + 1, text + word.size(), size.height);
}

std::string writeSnapshot(HostDialog& window, const std::filesystem::path& file, substitute::WindowSize size) {
    if (!window.open) return "the window is closed";
    const std::string picture = substitute::snapshotDialog(window, size);
    std::ofstream stream(file, std::ios::binary | std::ios::trunc);
    stream << picture;
    stream.flush();
    return stream ? "" : "cannot write " + file.generic_string();
}

}  // namespace driver
