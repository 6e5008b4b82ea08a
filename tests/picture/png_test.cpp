// SPDX-License-Identifier: MIT
// The PNG writer: 8-bit RGB read back pixel for pixel with its resolution, text chunks of any
// UTF-8 text in the chunk PNG has for it, keys PNG does not allow refused before anything is
// written, the same bytes for the same picture, and a sink that fails.
#include "picture/png.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kurvilo
