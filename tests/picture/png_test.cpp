// SPDX-License-Identifier: MIT
// The PNG writer: 8-bit RGB read back pixel for pixel with its resolution, text chunks of any
// UTF-8 text in the chunk PNG has for it, keys PNG does not allow refused before anything is
// written, the same bytes for the same picture, and a sink that fails. The text reader: a text
// found before or after the pixels, in any of the three chunks, and every damaged or oversized
// file an error rather than a crash or a wait.
#include "picture/png.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "picture/decoders.h"

namespace kurvilo {
namespace {

class MemorySink final : public ByteSink {
  public:
    void write(std::string_view bytes) override {
        if (room_ < bytes.size()) {
            failed_ = true;
            return;
        }
        room_ -= bytes.size();
        bytes_.append(bytes);
    }
    bool failed() const noexcept override { return failed_; }
    std::string bytes_;
    std::size_t room_ = std::string::npos;
    bool failed_ = false;
};

Image scene() {
    Image image(37, 23, 0xFFFFFFFF);
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 37; ++x) {
            if ((x + y) % 5 == 0) image.row(y)[x] = 0xFF000000;
            if (x == 2 * y) image.row(y)[x] = 0xFFC0C0C0;
            if (x * y == 120) image.row(y)[x] = 0xFFFF6161;
        }
    }
    return image;
}

TEST(Png, ReadsBackAsEightBitRgbWithItsResolution) {
    const Image picture = scene();
    MemorySink sink;
    std::string error;
    ASSERT_TRUE(writePng(picture.view(), sink, error, {}, {2000, 3000})) << error;
    const testing::DecodedPng back = testing::decodePng(sink.bytes_);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.bitDepth, 8);
    EXPECT_EQ(back.colourType, PNG_COLOR_TYPE_RGB);
    EXPECT_EQ(testing::firstDifference(back.image.view(), picture.view()), "");
    EXPECT_EQ(back.dotsPerMeterX, 2000u);
    EXPECT_EQ(back.dotsPerMeterY, 3000u);
    EXPECT_TRUE(back.texts.empty());
}

TEST(Png, TextsGoInTheChunkTheirCharactersNeed) {
    const std::vector<PngText> texts = {
        {"Kurvilo run", "mode = \"polar-curve\"\nr = \"10cos(3\u03B8)\"\n"},
        {"Comment", "plain ASCII, with\ttabs and\nnewlines"},
        {"Empty", ""},
        {"Software", "kurvilo"},
    };
    MemorySink sink;
    std::string error;
    ASSERT_TRUE(writePng(scene().view(), sink, error, texts)) << error;
    const testing::DecodedPng back = testing::decodePng(sink.bytes_);
    ASSERT_TRUE(back.ok);
    for (const PngText& text : texts) {
        SCOPED_TRACE(text.key);
        ASSERT_TRUE(back.texts.count(text.key));
        EXPECT_EQ(back.texts.at(text.key), text.value);
    }
    EXPECT_EQ(back.textKinds.at("Kurvilo run"), PNG_ITXT_COMPRESSION_NONE) << "UTF-8: iTXt";
    EXPECT_EQ(back.textKinds.at("Comment"), PNG_TEXT_COMPRESSION_NONE) << "ASCII: tEXt";
}

TEST(Png, KeysPngDoesNotAllowAreRefusedBeforeAByteIsWritten) {
    const struct {
        PngText text;
        const char* problem;
    } cases[] = {
        {{"", "x"}, "a PNG text key has 1 to 79 characters"},
        {{std::string(80, 'k'), "x"}, "a PNG text key has 1 to 79 characters"},
        {{" lead", "x"}, "the PNG text key ' lead' is not one PNG allows"},
        {{"trail ", "x"}, "the PNG text key 'trail ' is not one PNG allows"},
        {{"two  blanks", "x"}, "the PNG text key 'two  blanks' is not one PNG allows"},
        {{"tab\tkey", "x"}, "the PNG text key 'tab\tkey' is not one PNG allows"},
        {{"nul", std::string("a\0b", 3)}, "the PNG text 'nul' holds a NUL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.key);
        MemorySink sink;
        std::string error;
        EXPECT_FALSE(writePng(scene().view(), sink, error, {&c.text, 1}));
        EXPECT_EQ(error, c.problem);
        EXPECT_TRUE(sink.bytes_.empty());
    }
    EXPECT_EQ(pngTextProblem({std::string(79, 'k'), "x"}), "");
    EXPECT_EQ(pngTextProblem({"Latin-1 \xE9", "x"}), "");
}

TEST(Png, SamePictureAndTextsGiveTheSameBytes) {
    const std::vector<PngText> texts = {{"Kurvilo run", "a = 1"}};
    MemorySink first;
    MemorySink second;
    std::string error;
    ASSERT_TRUE(writePng(scene().view(), first, error, texts));
    ASSERT_TRUE(writePng(scene().view(), second, error, texts));
    EXPECT_EQ(first.bytes_, second.bytes_);
    for (const char* chunk : {"tIME", "zTXt"})
        EXPECT_EQ(first.bytes_.find(chunk), std::string::npos) << chunk;
}

TEST(Png, FailingSinkIsReported) {
    MemorySink sink;
    sink.room_ = 100;
    std::string error;
    EXPECT_FALSE(writePng(scene().view(), sink, error));
    EXPECT_TRUE(sink.failed());
}

// The PNG's bytes as a file read from its start, with the signature read first or not.
PngTextRead readText(const std::string& bytes, std::string_view key, std::size_t signatureBytes,
                     std::size_t maxBytes = 1 << 20) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
    EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file.get()), bytes.size());
    std::rewind(file.get());
    std::string signature(signatureBytes, '\0');
    EXPECT_EQ(std::fread(signature.data(), 1, signatureBytes, file.get()), signatureBytes);
    return readPngText(file.get(), signatureBytes, key, maxBytes);
}

std::string pngWith(const std::vector<PngText>& texts) {
    MemorySink sink;
    std::string error;
    EXPECT_TRUE(writePng(scene().view(), sink, error, texts)) << error;
    return sink.bytes_;
}

// The chunk of `type` moved from before the pixels to just before IEND, as some tools write it.
std::string textAfterThePixels(const std::string& png, const std::string& type) {
    const std::size_t at = png.find(type) - 4;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(png[at + i]); };
    const std::size_t length = std::size_t{byte(0)} << 24 | std::size_t{byte(1)} << 16 |
                               std::size_t{byte(2)} << 8 | byte(3);
    const std::string chunk = png.substr(at, length + 12);
    std::string moved = png.substr(0, at) + png.substr(at + chunk.size());
    moved.insert(moved.size() - 12, chunk);  // IEND is the last 12 bytes
    return moved;
}

TEST(PngText, FoundWithTheSignatureReadOrNot) {
    const std::string png = pngWith({{"Comment", "other"}, {"Kurvilo run", "mode = \"\u03B8\""}});
    for (const std::size_t signature : {0u, 3u, 8u}) {
        SCOPED_TRACE(signature);
        const PngTextRead read = readText(png, "Kurvilo run", signature);
        EXPECT_EQ(read.error, "");
        EXPECT_TRUE(read.found);
        EXPECT_EQ(read.value, "mode = \"\u03B8\"");
    }
    const PngTextRead missing = readText(png, "Kurvilo", 8);
    EXPECT_EQ(missing.error, "");
    EXPECT_FALSE(missing.found);
}

TEST(PngText, FoundAfterThePixelsInEachKindOfChunk) {
    const struct {
        const char* value;
        const char* chunk;
    } cases[] = {{"ascii", "tEXt"}, {"\u03A3 unicode", "iTXt"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chunk);
        const std::string png = textAfterThePixels(pngWith({{"Kurvilo run", c.value}}), c.chunk);
        ASSERT_GT(png.find(c.chunk), png.find("IDAT"));
        const PngTextRead read = readText(png, "Kurvilo run", 8);
        EXPECT_EQ(read.error, "");
        EXPECT_TRUE(read.found);
        EXPECT_EQ(read.value, c.value);
    }
}

TEST(PngText, DamagedOrOversizedFilesAreErrors) {
    const std::string png = pngWith({{"Kurvilo run", std::string(5000, 'x')}});
    const std::string after = textAfterThePixels(png, "tEXt");
    std::string badCrc = png;
    badCrc[png.find("IHDR") + 6] ^= 1;  // a byte of the header, under its CRC
    // A width of 2²⁰ pixels, its header's CRC made good again.
    std::string huge = png;
    const std::size_t header = png.find("IHDR");
    huge.replace(header + 4, 4, std::string("\0\x10\0\0", 4));
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(huge.data() + header), 17));
    for (int i = 0; i < 4; ++i)
        huge[header + 17 + static_cast<std::size_t>(i)] = static_cast<char>(crc >> (24 - 8 * i));
    const struct {
        const char* what;
        std::string bytes;
        std::size_t signature;  // bytes read before the reader starts
        std::size_t maxBytes;
        const char* says;  // a part of the error
    } cases[] = {
        {"cut in the header", png.substr(0, 20), 0, 1 << 20, "ead"},
        {"cut in the pixels, the text after them", after.substr(0, after.find("IDAT") + 40), 8,
         1 << 20, ""},
        {"a header that fails its CRC", badCrc, 8, 1 << 20, "CRC"},
        {"wider than a picture may be", huge, 0, 1 << 20, "IHDR"},
        {"wider, with the signature read", huge, 8, 1 << 20, "IHDR"},
        {"a text longer than allowed", png, 8, 4999, "longer than 4999 bytes"},
        {"no PNG at all", std::string(100, 'x'), 0, 1 << 20, "Not a PNG"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PngTextRead read = readText(c.bytes, "Kurvilo run", c.signature, c.maxBytes);
        EXPECT_NE(read.error, "");
        EXPECT_NE(read.error.find(c.says), std::string::npos) << read.error;
        EXPECT_EQ(read.value, "");
    }
    EXPECT_EQ(readText(png, "Kurvilo run", 0, 5000).value.size(), 5000u);
}

}  // namespace
}  // namespace kurvilo
