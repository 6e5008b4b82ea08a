// SPDX-License-Identifier: MIT
// The GIF encoder on its own: frame delays, frames decoded back pixel for pixel by giflib and by
// Qt, later frames as the changed rectangle with a table of their own few colours, the same
// bytes for the same frames, and a failing device named.
#include "cli/gif_animation.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "gif_decoder.h"

namespace kurvilo::cli {
namespace {

using testing::decodeWithGiflib;
using testing::decodeWithQt;
using testing::TempDir;

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
std::vector<QImage> sceneFrames(int width, int height) {
    std::vector<QImage> frames;
    QImage canvas(width, height, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.setPen(QColor(192, 192, 192));
        for (int x = 0; x < width; x += 8)
            painter.drawLine(x, 0, x, height - 1);
    }
    for (int i = 0; i < 6; ++i) {
        QImage frame = canvas.copy();
        QPainter painter(&frame);
        painter.setPen(Qt::black);
        painter.drawLine(2, 2, 2 + 4 * i, 2 + 3 * i);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::red);
        painter.setPen(Qt::red);
        painter.drawEllipse(QRectF(10 + 3 * i, 20, 8, 8).adjusted(0.5, 0.5, -0.5, -0.5));
        painter.end();
        frames.push_back(frame);
        if (i == 2) frames.push_back(frame);  // nothing changes
    }
    return frames;
}

QByteArray encode(const std::vector<QImage>& frames, int delay) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    GifAnimation gif(buffer, frames.front().width(), frames.front().height(), delay);
    for (const QImage& frame : frames)
        EXPECT_TRUE(gif.addFrame(frame)) << gif.error();
    EXPECT_TRUE(gif.finish()) << gif.error();
    EXPECT_EQ(gif.frames(), frames.size());
    return bytes;
}

std::string saved(const TempDir& dir, const QByteArray& bytes) {
    const std::string path = dir.file("a.gif");
    QFile file(QString::fromStdString(path));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

TEST(GifAnimation, FramesDecodeBackPixelForPixelWithGiflib) {
    TempDir dir;
    const std::vector<QImage> frames = sceneFrames(60, 40);
    const testing::DecodedGif gif = decodeWithGiflib(saved(dir, encode(frames, 7)));
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.version, "GIF89a");
    EXPECT_EQ(gif.width, 60);
    EXPECT_EQ(gif.height, 40);
    EXPECT_EQ(gif.loopCount, 0);  // for ever
    ASSERT_EQ(gif.frames.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(gif.frames[i], frames[i]) << "frame " << i;
        EXPECT_EQ(gif.delays[i], 7);
        EXPECT_EQ(gif.disposals[i], DISPOSE_DO_NOT);
    }
}

TEST(GifAnimation, FramesDecodeBackPixelForPixelWithQt) {
    TempDir dir;
    const std::vector<QImage> frames = sceneFrames(60, 40);
    const std::vector<QImage> back = decodeWithQt(saved(dir, encode(frames, 2)));
    ASSERT_EQ(back.size(), frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(back[i], frames[i]) << "frame " << i;
}

TEST(GifAnimation, LaterFramesAreTheChangedRectangleWithTheirOwnFewColours) {
    TempDir dir;
    const std::vector<QImage> frames = sceneFrames(60, 40);
    const testing::DecodedGif gif = decodeWithGiflib(saved(dir, encode(frames, 2)));
    ASSERT_TRUE(gif.ok);
    ASSERT_EQ(gif.rects.size(), frames.size());
    EXPECT_FALSE(gif.globalTable);
    EXPECT_EQ(gif.rects[0], QRect(0, 0, 60, 40));
    for (std::size_t i = 1; i < frames.size(); ++i) {
        QRect changed;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 60; ++x) {
                if (frames[i].pixel(x, y) != frames[i - 1].pixel(x, y))
                    changed |= QRect(x, y, 1, 1);
            }
        }
        if (changed.isEmpty()) changed = QRect(0, 0, 1, 1);
        EXPECT_EQ(gif.rects[i], changed) << "frame " << i;
    }
    // White, grey and black, plus the red dot's few shades: far fewer than 256.
    for (std::size_t i = 0; i < frames.size(); ++i)
        EXPECT_LE(gif.tableSizes[i], 32) << "frame " << i;
}

TEST(GifAnimation, SameFramesGiveTheSameBytes) {
    const std::vector<QImage> frames = sceneFrames(60, 40);
    EXPECT_EQ(encode(frames, 5), encode(frames, 5));
}

TEST(GifAnimation, FrameOfAnotherSizeIsRefused) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    GifAnimation gif(buffer, 60, 40, 2);
    QImage other(61, 40, QImage::Format_RGB32);
    other.fill(Qt::white);
    EXPECT_FALSE(gif.addFrame(other));
    EXPECT_FALSE(gif.error().empty());
    EXPECT_FALSE(gif.finish());
}

TEST(GifAnimation, FailingDeviceIsNamedAtTheLatestByFinish) {
    QFile full("/dev/full");
    ASSERT_TRUE(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    GifAnimation gif(full, 60, 40, 2);
    for (const QImage& frame : sceneFrames(60, 40))
        gif.addFrame(frame);  // may still be held back in large writes
    EXPECT_FALSE(gif.finish());
    EXPECT_EQ(gif.error(), "No space left on device");
}

TEST(GifAnimation, FailingDeviceStopsTheFramesOnceItIsMet) {
    QFile full("/dev/full");
    ASSERT_TRUE(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    // Frames of noise hold far more than one large write.
    QImage noise(401, 401, QImage::Format_RGB32);
    std::uint32_t seed = 1;
    GifAnimation gif(full, 401, 401, 2);
    bool refused = false;
    for (int i = 0; i < 20 && !refused; ++i) {
        for (int y = 0; y < 401; ++y) {
            for (int x = 0; x < 401; ++x) {
                seed = seed * 1103515245 + 12345;
                noise.setPixel(x, y, (seed >> 16) & 1 ? 0xFFFFFFFF : 0xFF000000);
            }
        }
        refused = !gif.addFrame(noise);
    }
    EXPECT_TRUE(refused);
    EXPECT_EQ(gif.error(), "No space left on device");
    EXPECT_FALSE(gif.addFrame(noise));
    EXPECT_FALSE(gif.finish());
}

}  // namespace
}  // namespace kurvilo::cli
