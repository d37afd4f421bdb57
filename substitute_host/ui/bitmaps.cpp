#include "ui/bitmaps.h"

#include <array>
#include <fstream>
#include <sstream>

#include "core/substitute_host.h"
#include "kernel/host_paths.h"

namespace substitute {
namespace {
HandleRegistry& handles() { return SubstituteHost::current().handles; }

uint32_t bigEndian32(const std::string& bytes, size_t at) {
    return uint32_t(uint8_t(bytes[at])) << 24 | uint32_t(uint8_t(bytes[at + 1])) << 16 |
           uint32_t(uint8_t(bytes[at + 2])) << 8 | uint32_t(uint8_t(bytes[at + 3]));
}

// The CRC-32 of PNG chunks (polynomial 0xEDB88320).
uint32_t crc32(const std::string& bytes, size_t from, size_t count) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = from; i < from + count; ++i) {
        crc ^= uint8_t(bytes[i]);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}
}  // namespace

int32_t readPngSize(const std::string& bytes, ImageSize& size) {
    static constexpr std::array<unsigned char, 8> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < signature.size() || !std::equal(signature.begin(), signature.end(), bytes.begin(),
                                                       [](unsigned char a, char b) { return a == uint8_t(b); })) {
        return HOST_BITMAP_WRONG_TYPE;
    }
    // Signature, then length 13, "IHDR", 13 bytes of header data and the CRC of type and data.
    constexpr size_t headerEnd = 8 + 4 + 4 + 13 + 4;
    if (bytes.size() < headerEnd || bigEndian32(bytes, 8) != 13 || bytes.compare(12, 4, "IHDR") != 0) {
        return HOST_BITMAP_BROKEN;
    }
    if (crc32(bytes, 12, 4 + 13) != bigEndian32(bytes, 29)) return HOST_BITMAP_BROKEN;
    uint32_t width = bigEndian32(bytes, 16);
    uint32_t height = bigEndian32(bytes, 20);
    if (width == 0 || height == 0 || width > uint32_t(INT32_MAX) || height > uint32_t(INT32_MAX))
        return HOST_BITMAP_BROKEN;
    size = {int32_t(width), int32_t(height)};
    return HOST_BITMAP_LOADED;
}

HostBitmap* makeBitmap() {
    auto* bitmap = new HostBitmap;
    handles().add(bitmap, HandleKind::Bitmap);
    return bitmap;
}

void freeBitmap(HostBitmap* bitmap) {
    if (bitmap == nullptr) return;
    handles().remove(bitmap);
    delete bitmap;
}

HostBitmap* copyBitmap(const HostBitmap& bitmap) {
    HostBitmap* copy = makeBitmap();
    *copy = bitmap;
    return copy;
}

HostBitmap& bitmapOf(const HostBitmap* bitmap, const char* operation) {
    handles().check(operation, bitmap, HandleKind::Bitmap);
    return *const_cast<HostBitmap*>(bitmap);
}

void fillBitmapTable(HostBitmapTable& table) {
    table.create = []() -> HostBitmap* {
        if (!SubstituteHost::current().services.objectCreationAllowed()) return nullptr;
        return makeBitmap();
    };
    table.free = [](HostBitmap* bitmap) {
        handles().check("Bm.free", bitmap, HandleKind::Bitmap, true);
        freeBitmap(bitmap);
    };
    table.load = [](HostBitmap* bitmap, const HostPath* file) {
        HostBitmap& target = bitmapOf(bitmap, "Bm.load");
        const std::filesystem::path& path = pathOf(file, "Bm.load");
        std::ifstream stream(path, std::ios::binary);
        if (!stream) return HOST_BITMAP_MISSING;
        std::ostringstream bytes;
        bytes << stream.rdbuf();
        ImageSize size;
        int32_t answer = readPngSize(bytes.str(), size);
        if (answer == HOST_BITMAP_LOADED) {
            target.width = size.width;
            target.height = size.height;
            target.file = path;
        }
        return answer;
    };
    table.setProperty = [](HostBitmap* bitmap, int32_t property, double value) {
        bitmapOf(bitmap, "Bm.setProperty").properties.emplace_back(property, value);
    };
}

}  // namespace substitute
