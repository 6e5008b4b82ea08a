// SPDX-License-Identifier: MIT
// The GIF encoder on its own: frame delays, frames decoded back pixel for pixel, later frames as
// the changed rectangle with a table of their own few colours, the same bytes for the same
// frames, and a failing file named.
#include "picture/gif_animation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picture/decoders.h"
#include "picture/marker.h"

namespace kurvilo {
namespace {

using testing::decodeGif;

// Bytes kept in memory; a sink with room for only so many bytes fails like a full disk.
class MemorySink final : public ByteSink {
  public:
    void write(std::string_view bytes) override {
        if (failed_ || bytes.size() > room_) {
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

TEST(GifDelay, IsTheFramesTicksInHundredthsRoundedAndAtLeastTwo) {
    const struct {
        std::uint64_t every;
        int interval;
        int delay;
    } cases[] = {
        {1, 10, 2},  // 1/100 s is played slowly by viewers: 2/100 s
        {2, 10, 2},           {3, 10, 3},
        {10, 10, 10},         {1, 100, 10},
        {1, 1000, 100},       {7, 100, 70},
        {655, 1000, 65500},   {656, 1000, 65535},
        {1000000, 10, 65535}, {std::uint64_t{1} << 62, 1000, 65535},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(gifDelay(c.every, c.interval), c.delay) << c.every << " x " << c.interval;
    }
}

// Frames of a small scene: a grey grid, a line growing, a red dot moving, one frame repeated.
std::vector<Image> sceneFrames(int width, int height) {
    std::vector<Image> frames;
    Image canvas(width, height, 0xFFFFFFFF);
    for (int x = 0; x < width; x += 8) {
        for (int y = 0; y < height; ++y)
            canvas.row(y)[x] = 0xFFC0C0C0;
    }
    for (int i = 0; i < 6; ++i) {
        Image frame = canvas;
        for (int step = 0; step <= 4 * i; ++step)
            frame.row(2 + step * 3 / 4)[2 + step] = 0xFF000000;
        drawMarker(frame, 10 + 3 * i, 20);
        frames.push_back(frame);
        if (i == 2) frames.push_back(frame);  // nothing changes
    }
    return frames;
}

std::string encode(const std::vector<Image>& frames, int delay) {
    MemorySink sink;
    GifAnimation gif(sink, frames.front().width(), frames.front().height(), delay);
    for (const Image& frame : frames)
        EXPECT_TRUE(gif.addFrame(frame.view())) << gif.error();
    EXPECT_TRUE(gif.finish()) << gif.error();
    EXPECT_EQ(gif.frames(), frames.size());
    return sink.bytes_;
}

TEST(GifAnimation, FramesDecodeBackPixelForPixel) {
    const std::vector<Image> frames = sceneFrames(60, 40);
    const testing::DecodedGif gif = decodeGif(encode(frames, 7));
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.version, "GIF89a");
    EXPECT_EQ(gif.width, 60);
    EXPECT_EQ(gif.height, 40);
    EXPECT_EQ(gif.loopCount, 0);  // for ever
    ASSERT_EQ(gif.frames.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(testing::firstDifference(gif.frames[i].view(), frames[i].view()), "")
            << "frame " << i;
        EXPECT_EQ(gif.delays[i], 7);
        EXPECT_EQ(gif.disposals[i], DISPOSE_DO_NOT);
    }
}

TEST(GifAnimation, LaterFramesAreTheChangedRectangleWithTheirOwnFewColours) {
    const std::vector<Image> frames = sceneFrames(60, 40);
    const testing::DecodedGif gif = decodeGif(encode(frames, 2));
    ASSERT_TRUE(gif.ok);
    ASSERT_EQ(gif.rects.size(), frames.size());
    EXPECT_FALSE(gif.globalTable);
    EXPECT_EQ(gif.rects[0], (std::array<int, 4>{0, 0, 60, 40}));
    for (std::size_t i = 1; i < frames.size(); ++i) {
        int left = 60, top = 40, right = -1, bottom = -1;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 60; ++x) {
                if (frames[i].at(x, y) != frames[i - 1].at(x, y)) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        const std::array<int, 4> changed =
            right < 0 ? std::array<int, 4>{0, 0, 1, 1}
                      : std::array<int, 4>{left, top, right - left + 1, bottom - top + 1};
        EXPECT_EQ(gif.rects[i], changed) << "frame " << i;
    }
    // White, grey and black, plus the red dot's few shades: far fewer than 256.
    for (std::size_t i = 0; i < frames.size(); ++i)
        EXPECT_LE(gif.tableSizes[i], 32) << "frame " << i;
}

TEST(GifAnimation, SameFramesGiveTheSameBytes) {
    const std::vector<Image> frames = sceneFrames(60, 40);
    EXPECT_EQ(encode(frames, 5), encode(frames, 5));
}

TEST(GifAnimation, FrameOfAnotherSizeIsRefused) {
    MemorySink sink;
    GifAnimation gif(sink, 60, 40, 2);
    const Image other(61, 40, 0xFFFFFFFF);
    EXPECT_FALSE(gif.addFrame(other.view()));
    EXPECT_FALSE(gif.error().empty());
    EXPECT_FALSE(gif.finish());
}

TEST(GifAnimation, MoreColoursThanAFrameHoldsIsRefusedWithItsCause) {
    MemorySink sink;
    GifAnimation gif(sink, 20, 20, 2);
    Image colourful(20, 20);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x)
            colourful.row(y)[x] = 0xFF000000u | static_cast<std::uint32_t>(y * 20 + x);
    }
    EXPECT_FALSE(gif.addFrame(colourful.view()));
    EXPECT_EQ(gif.error(), "a frame with more colours than a GIF frame holds (256)");
}

TEST(GifAnimation, FailingSinkStopsTheFramesOnceItIsMet) {
    MemorySink sink;
    sink.room_ = 4000;
    // Frames of noise hold far more than the room.
    Image noise(401, 401);
    std::uint32_t seed = 1;
    GifAnimation gif(sink, 401, 401, 2);
    bool refused = false;
    for (int i = 0; i < 20 && !refused; ++i) {
        for (int y = 0; y < 401; ++y) {
            for (int x = 0; x < 401; ++x) {
                seed = seed * 1103515245 + 12345;
                noise.row(y)[x] = (seed >> 16) & 1 ? 0xFFFFFFFF : 0xFF000000;
            }
        }
        refused = !gif.addFrame(noise.view());
    }
    EXPECT_TRUE(refused);
    EXPECT_EQ(gif.error(), "") << "the sink's own failure says why";
    EXPECT_FALSE(gif.addFrame(noise.view()));
    EXPECT_FALSE(gif.finish());
}

}  // namespace
}  // namespace kurvilo
