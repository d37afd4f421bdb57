// The driver's snapshot command: a picture of the window written to a file.
#pragma once

#include <filesystem>
#include <string>

#include "picture/dialog_layout.h"

namespace driver {

// "640x480" as a window size; false when the word is not two positive whole numbers.
bool parseWindowSize(const std::string& word, substitute::WindowSize& size);

// Writes the open window as SVG; "" when done, else why not.
std::string writeSnapshot(HostDialog& window, const std::filesystem::path& file, substitute::WindowSize size);

}  // namespace driver
