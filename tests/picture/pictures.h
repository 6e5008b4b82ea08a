// SPDX-License-Identifier: MIT
// Pictures in the tests: a file's bytes, a Windows bitmap read back by a reader of its own, and
// where two pictures first differ.
#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "picture/image.h"

namespace kurvilo::testing {

inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A Windows bitmap read back by a reader of its own; an empty image when the file is not an
// uncompressed 24- or 32-bit BMP.
struct DecodedBmp {
    Image image;
    std::uint32_t bitsPerPixel = 0;
    std::int32_t height = 0;  // as stored: positive when the bottom row comes first
    std::uint32_t dotsPerMeterX = 0;
    std::uint32_t dotsPerMeterY = 0;
};

inline std::uint32_t littleEndian(const std::string& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    return v;
}

inline DecodedBmp decodeBmp(const std::string& bytes) {
    DecodedBmp bmp;
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return bmp;
    const std::uint32_t offset = littleEndian(bytes, 10, 4);
    const auto width = static_cast<std::int32_t>(littleEndian(bytes, 18, 4));
    const auto height = static_cast<std::int32_t>(littleEndian(bytes, 22, 4));
    const std::uint32_t bpp = littleEndian(bytes, 28, 2);
    const std::uint32_t compression = littleEndian(bytes, 30, 4);
    if ((bpp != 24 && bpp != 32) || compression != 0 || width <= 0 || height == 0) return bmp;
    const int rows = height < 0 ? -height : height;
    const std::size_t stride = (static_cast<std::size_t>(width) * bpp + 31) / 32 * 4;
    if (bytes.size() < offset + stride * static_cast<std::size_t>(rows)) return bmp;
    bmp.bitsPerPixel = bpp;
    bmp.height = height;
    bmp.dotsPerMeterX = littleEndian(bytes, 38, 4);
    bmp.dotsPerMeterY = littleEndian(bytes, 42, 4);
    bmp.image = Image(width, rows);
    for (int row = 0; row < rows; ++row) {
        const int y = height > 0 ? rows - 1 - row : row;
        const std::size_t base = offset + stride * static_cast<std::size_t>(row);
        for (int x = 0; x < width; ++x) {
            const std::size_t p = base + static_cast<std::size_t>(x) * bpp / 8;
            bmp.image.row(y)[x] = 0xFF000000u |
                                  std::uint32_t{static_cast<unsigned char>(bytes[p + 2])} << 16 |
                                  std::uint32_t{static_cast<unsigned char>(bytes[p + 1])} << 8 |
                                  static_cast<unsigned char>(bytes[p]);
        }
    }
    return bmp;
}

// Where two pictures first differ, for messages: "" when they are the same.
inline std::string firstDifference(const ImageView& a, const ImageView& b) {
    if (a.width != b.width || a.height != b.height) {
        return "sizes " + std::to_string(a.width) + "x" + std::to_string(a.height) + " and " +
               std::to_string(b.width) + "x" + std::to_string(b.height);
    }
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if ((a.at(x, y) & 0xFFFFFF) != (b.at(x, y) & 0xFFFFFF)) {
                char text[80];
                std::snprintf(text, sizeof text, "pixel (%d, %d): %06X and %06X", x, y,
                              a.at(x, y) & 0xFFFFFF, b.at(x, y) & 0xFFFFFF);
                return text;
            }
        }
    }
    return "";
}

}  // namespace kurvilo::testing
