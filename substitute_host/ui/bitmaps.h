// Bitmaps: image files checked as real PNG files (signature, then an IHDR
// chunk with its size and checksum), and the properties the module sets.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "host/host_tables.h"

struct HostBitmap {
    int32_t width = 0;
    int32_t height = 0;
    std::filesystem::path file;                          // the file last loaded successfully
    std::vector<std::pair<int32_t, double>> properties;  // as set, in order
};

namespace substitute {

struct ImageSize {
    int32_t width = 0;
    int32_t height = 0;
};

// Reads the size of a PNG image from its first bytes; an answer other than
// HOST_BITMAP_LOADED says what is wrong.
int32_t readPngSize(const std::string& bytes, ImageSize& size);

HostBitmap* makeBitmap();
void freeBitmap(HostBitmap* bitmap);
// A new bitmap holding the same image (the host's own copy of an icon).
HostBitmap* copyBitmap(const HostBitmap& bitmap);
HostBitmap& bitmapOf(const HostBitmap* bitmap, const char* operation);

void fillBitmapTable(HostBitmapTable& table);

}  // namespace substitute
