// SPDX-License-Identifier: MIT
// The Windows bitmap writer: its headers field by field, the bottom row first, each row padded to
// four bytes with zeros, the stated resolution, and any picture read back pixel for pixel.
#include "picture/bmp.h"

#include <gtest/gtest.h>

#include <string>

#include "picture/pictures.h"

namespace kurvilo {
namespace {

using testing::littleEndian;

// A small picture whose every pixel differs: its colour says where it is.
Image numbered(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.row(y)[x] = 0xFF000000u | static_cast<std::uint32_t>(x * 40 + 1) << 16 |
                              static_cast<std::uint32_t>(y * 50 + 2) << 8 | 0x33u;
    }
    return image;
}

TEST(Bitmap, HeadersSayWhatTheFileHolds) {
    const Image picture = numbered(5, 3);
    const std::string file = encodeBmp(picture.view(), {1000, 2000});
    const std::size_t rowBytes = 16;  // 5 × 3 bytes, padded to 16
    const struct {
        const char* field;
        std::size_t at;
        int bytes;
        std::uint32_t value;
    } fields[] = {
        {"file size", 2, 4, static_cast<std::uint32_t>(54 + 3 * rowBytes)},
        {"reserved", 6, 4, 0},
        {"pixel offset", 10, 4, 54},
        {"header size", 14, 4, 40},
        {"width", 18, 4, 5},
        {"height, bottom row first", 22, 4, 3},
        {"planes", 26, 2, 1},
        {"bits per pixel", 28, 2, 24},
        {"no compression", 30, 4, 0},
        {"pixel bytes", 34, 4, static_cast<std::uint32_t>(3 * rowBytes)},
        {"dots per metre across", 38, 4, 1000},
        {"dots per metre down", 42, 4, 2000},
        {"colours used", 46, 4, 0},
        {"important colours", 50, 4, 0},
    };
    ASSERT_EQ(file.size(), 54 + 3 * rowBytes);
    EXPECT_EQ(file.substr(0, 2), "BM");
    for (const auto& f : fields)
        EXPECT_EQ(littleEndian(file, f.at, f.bytes), f.value) << f.field;
}

TEST(Bitmap, RowsGoBottomUpInBlueGreenRedWithZeroPadding) {
    const Image picture = numbered(5, 3);
    const std::string file = encodeBmp(picture.view());
    for (int row = 0; row < 3; ++row) {
        const int y = 2 - row;
        const std::size_t start = 54 + static_cast<std::size_t>(row) * 16;
        for (int x = 0; x < 5; ++x) {
            const std::uint32_t p = picture.at(x, y);
            const std::size_t at = start + static_cast<std::size_t>(x) * 3;
            EXPECT_EQ(static_cast<unsigned char>(file[at]), p & 0xFF);
            EXPECT_EQ(static_cast<unsigned char>(file[at + 1]), (p >> 8) & 0xFF);
            EXPECT_EQ(static_cast<unsigned char>(file[at + 2]), (p >> 16) & 0xFF);
        }
        EXPECT_EQ(file.substr(start + 15, 1), std::string(1, '\0')) << "row " << row;
    }
}

TEST(Bitmap, EveryWidthReadsBackAsItWasWithTheDefaultResolution) {
    for (int width = 1; width <= 9; ++width) {
        SCOPED_TRACE(width);
        const Image picture = numbered(width, 4);
        const testing::DecodedBmp back = testing::decodeBmp(encodeBmp(picture.view()));
        EXPECT_EQ(back.bitsPerPixel, 24u);
        EXPECT_EQ(testing::firstDifference(back.image.view(), picture.view()), "");
        EXPECT_EQ(back.dotsPerMeterX, 3937u) << "100 dots per inch";
        EXPECT_EQ(back.dotsPerMeterY, 3937u);
    }
}

}  // namespace
}  // namespace kurvilo
