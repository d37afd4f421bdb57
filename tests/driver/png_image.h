// Reads the 8-bit RGB and RGBA PNG files a renderer writes, without
// interlacing, into pixels a test can sample. Needs zlib.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

struct Rgb {
    int red = 0, green = 0, blue = 0;
};

struct PngImage {
    int32_t width = 0, height = 0;
    size_t channels = 0;
    std::vector<uint8_t> pixels;  // row by row, channels bytes a pixel

    Rgb at(int32_t x, int32_t y) const {
        const size_t offset = (size_t(y) * size_t(width) + size_t(x)) * channels;
        return {pixels[offset], pixels[offset + 1], pixels[offset + 2]};
    }
};

inline uint32_t bigEndian(const std::string& bytes, size_t at) {
    return uint32_t(uint8_t(bytes[at])) << 24 | uint32_t(uint8_t(bytes[at + 1])) << 16 |
           uint32_t(uint8_t(bytes[at + 2])) << 8 | uint32_t(uint8_t(bytes[at + 3]));
}

inline uint8_t paeth(int left, int up, int upLeft) {
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left), toUp = std::abs(estimate - up),
              toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) return uint8_t(left);
    return uint8_t(toUp <= toUpLeft ? up : upLeft);
}

// Undoes the per-row filters of the inflated data into image.pixels.
inline bool unfilter(const std::vector<uint8_t>& data, PngImage& image) {
    const size_t stride = size_t(image.width) * image.channels;
    image.pixels.assign(stride * size_t(image.height), 0);
    for (size_t y = 0; y < size_t(image.height); ++y) {
        const uint8_t filter = data[y * (stride + 1)];
        const uint8_t* in = &data[y * (stride + 1) + 1];
        uint8_t* row = &image.pixels[y * stride];
        const uint8_t* above = y > 0 ? row - stride : nullptr;
        for (size_t i = 0; i < stride; ++i) {
            const int left = i >= image.channels ? row[i - image.channels] : 0;
            const int up = above ? above[i] : 0;
            const int upLeft = above && i >= image.channels ? above[i - image.channels] : 0;
            int predicted = 0;
            switch (filter) {
                case 0: break;
                case 1: predicted = left; break;
                case 2: predicted = up; break;
                case 3: predicted = (left + up) / 2; break;
                case 4: predicted = paeth(left, up, upLeft); break;
                default: return false;
            }
            row[i] = uint8_t(in[i] + predicted);
        }
    }
    return true;
}

// The image in bytes; an empty string when it is read, else what is wrong.
inline std::string readPng(const std::string& bytes, PngImage& image) {
    if (bytes.size() < 8 || bytes.compare(0, 8, "\x89PNG\r\n\x1A\n") != 0) return "not a PNG file";
    std::string compressed;
    for (size_t at = 8; at + 12 <= bytes.size();) {
        const size_t length = bigEndian(bytes, at);
        const std::string type = bytes.substr(at + 4, 4);
        if (at + 12 + length > bytes.size()) return "a chunk runs past the end";
        if (type == "IHDR") {
            image.width = int32_t(bigEndian(bytes, at + 8));
            image.height = int32_t(bigEndian(bytes, at + 12));
            const int depth = uint8_t(bytes[at + 16]), colorType = uint8_t(bytes[at + 17]);
            const int interlace = uint8_t(bytes[at + 20]);
            if (depth != 8 || (colorType != 2 && colorType != 6) || interlace != 0) return "not 8-bit RGB(A)";
            image.channels = colorType == 6 ? 4 : 3;
        }
        if (type == "IDAT") compressed += bytes.substr(at + 8, length);
        at += 12 + length;
    }
    if (image.width <= 0 || image.height <= 0) return "no image header";
    std::vector<uint8_t> data((size_t(image.width) * image.channels + 1) * size_t(image.height));
    uLongf size = uLongf(data.size());
    if (uncompress(data.data(), &size, reinterpret_cast<const Bytef*>(compressed.data()), uLong(compressed.size())) !=
            Z_OK ||
        size != data.size()) {
        return "the image data does not inflate";
    }
    return unfilter(data, image) ? "" : "an unknown row filter";
}
