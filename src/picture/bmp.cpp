// SPDX-License-Identifier: MIT
#include "picture/bmp.h"

#include <cstdint>

namespace kurvilo {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

void put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

}  // namespace

std::string encodeBmp(const ImageView& picture, const PixelDensity& density) {
    const auto width = static_cast<std::size_t>(picture.width);
    const auto height = static_cast<std::size_t>(picture.height);
    const std::size_t rowBytes = (width * 3 + 3) / 4 * 4;
    const std::size_t pixelBytes = rowBytes * height;
    const std::size_t offset = kFileHeaderSize + kInfoHeaderSize;

    std::string out;
    out.reserve(offset + pixelBytes);
    out += "BM";
    put32(out, static_cast<std::uint32_t>(offset + pixelBytes));
    put32(out, 0);  // reserved
    put32(out, static_cast<std::uint32_t>(offset));

    put32(out, kInfoHeaderSize);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));  // positive: bottom row first
    put16(out, 1);                                   // planes
    put16(out, 24);                                  // bits per pixel
    put32(out, 0);                                   // no compression
    put32(out, static_cast<std::uint32_t>(pixelBytes));
    put32(out, static_cast<std::uint32_t>(density.dotsPerMeterX));
    put32(out, static_cast<std::uint32_t>(density.dotsPerMeterY));
    put32(out, 0);  // colours used: all
    put32(out, 0);  // important colours: all

    out.resize(offset + pixelBytes, '\0');  // the rows' padding stays 0
    char* at = out.data() + offset;
    for (std::size_t row = height; row-- > 0; at += rowBytes) {
        const std::uint32_t* pixels = picture.row(static_cast<int>(row));
        char* byte = at;
        for (std::size_t x = 0; x < width; ++x) {
            *byte++ = static_cast<char>(pixels[x] & 0xFF);          // blue
            *byte++ = static_cast<char>((pixels[x] >> 8) & 0xFF);   // green
            *byte++ = static_cast<char>((pixels[x] >> 16) & 0xFF);  // red
        }
    }
    return out;
}

}  // namespace kurvilo
