// SPDX-License-Identifier: MIT
// The picture as the window shows it (the surface with the marker where Shape1 stands), file
// suffixes, and files that are written whole or not at all.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <cstdint>
#include <string>

#include "cli/image_output.h"
#include "cli_runner.h"
#include "sim/plot_surface.h"

namespace kurvilo::cli {
namespace {

using testing::readFile;
using testing::TempDir;
using testing::writeFile;

constexpr std::uint32_t kRed = 0xFFFF0000;

PlotSurface gridSurface() {
    PlotSurface surface;
    repaintForRun(surface);
    return surface;
}

std::uint32_t at(const QImage& image, int x, int y) {
    return reinterpret_cast<const std::uint32_t*>(image.constScanLine(y))[x];
}

TEST(WindowPicture, HiddenMarkerLeavesTheSurfaceAsItIs) {
    const PlotSurface surface = gridSurface();
    const QImage picture = windowPicture(surface, MarkerState{false, 100, 100});
    ASSERT_EQ(picture.format(), QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(PlotSurface::kSize, PlotSurface::kSize));
    for (int y = 0; y < PlotSurface::kSize; ++y) {
        for (int x = 0; x < PlotSurface::kSize; ++x)
            ASSERT_EQ(at(picture, x, y), surface.pixel(x, y)) << x << "," << y;
    }
}

TEST(WindowPicture, MarkerCoversItsEightByEightBoxCentredOnTheSurfacePixel) {
    const PlotSurface surface = gridSurface();
    for (const auto& [left, top] :
         {std::pair{5, 5}, std::pair{201, 201}, std::pair{395, 395}, std::pair{130, 47}}) {
        SCOPED_TRACE(std::to_string(left) + "," + std::to_string(top));
        const QImage picture = windowPicture(surface, MarkerState{true, left, top});
        // Window coordinates: the box starts 4 pixels left of and above the surface pixel.
        const int x0 = left - 4;
        const int y0 = top - 4;
        for (int y = 0; y < PlotSurface::kSize; ++y) {
            for (int x = 0; x < PlotSurface::kSize; ++x) {
                const bool inBox = x >= x0 && x < x0 + 8 && y >= y0 && y < y0 + 8;
                if (!inBox) {
                    ASSERT_EQ(at(picture, x, y), surface.pixel(x, y)) << x << "," << y;
                }
            }
        }
        // The middle of the circle is solid red; its box's corners stay outside the circle.
        for (int dy = 2; dy <= 5; ++dy) {
            for (int dx = 2; dx <= 5; ++dx)
                EXPECT_EQ(at(picture, x0 + dx, y0 + dy), kRed) << dx << "," << dy;
        }
        for (const auto& [cx, cy] :
             {std::pair{0, 0}, std::pair{7, 0}, std::pair{0, 7}, std::pair{7, 7}}) {
            EXPECT_EQ(at(picture, x0 + cx, y0 + cy), surface.pixel(x0 + cx, y0 + cy));
        }
    }
}

TEST(WindowPicture, MarkerEdgeIsAntialiasedAndRoundOnWhite) {
    const PlotSurface white;  // white all over
    const QImage picture = windowPicture(white, MarkerState{true, 100, 100});
    // Red over white: only green and blue fade, equally; their level is the uncovered part.
    auto fade = [&](int x, int y) {
        const std::uint32_t p = at(picture, 96 + x, 96 + y);
        EXPECT_EQ((p >> 16) & 0xFF, 0xFFu) << x << "," << y;
        EXPECT_EQ((p >> 8) & 0xFF, p & 0xFF) << x << "," << y;
        return static_cast<int>(p & 0xFF);
    };
    bool blended = false;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const int level = fade(x, y);
            // A circle: its mirror images agree up to the rasteriser's rounding.
            EXPECT_NEAR(level, fade(7 - x, y), 8) << x << "," << y;
            EXPECT_NEAR(level, fade(x, 7 - y), 8) << x << "," << y;
            EXPECT_NEAR(level, fade(y, x), 8) << x << "," << y;
            blended = blended || (level > 0 && level < 0xFF);
        }
    }
    EXPECT_TRUE(blended) << "no antialiased edge pixel";
}

TEST(FileSuffix, IsTheLowerCaseTextAfterTheLastDotOfTheName) {
    const struct {
        const char* path;
        const char* suffix;
    } cases[] = {
        {"a.png", "png"},    {"dir/a.PNG", "png"}, {"a.tar.BMP", "bmp"},
        {"a", ""},           {"dir.d/a", ""},      {".hidden", ""},
        {"dir/.hidden", ""}, {"a.", ""},           {"/tmp/x.y/z.Gif", "gif"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileSuffix(c.path), c.suffix) << c.path;
}

TEST(FileSuffix, PngBmpAndJpegAreWrittenGifIsOnlyAFormatName) {
    EXPECT_TRUE(imageWriterHas("png"));
    EXPECT_TRUE(imageWriterHas("bmp"));
    EXPECT_FALSE(imageWriterHas("gif"));
    EXPECT_FALSE(imageWriterHas(""));
    EXPECT_TRUE(namesImageFormat("gif"));
    EXPECT_FALSE(namesImageFormat("tsv"));
}

TEST(PictureFile, WritesThePictureReadableAsItWas) {
    TempDir dir;
    const PlotSurface surface = gridSurface();
    for (const char* format : {"png", "bmp"}) {
        SCOPED_TRACE(format);
        PictureFile file;
        const std::string path = dir.file(std::string("p.") + format);
        ASSERT_TRUE(file.open(path, format)) << file.error();
        ASSERT_TRUE(file.write(surfaceImage(surface))) << file.error();
        const QImage back =
            QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(back, surfaceImage(surface));
    }
}

TEST(PictureFile, OldFileStaysUntilTheNewOneIsComplete) {
    TempDir dir;
    const std::string path = dir.file("p.png");
    writeFile(path, "old");
    PictureFile file;
    ASSERT_TRUE(file.open(path, "png"));
    EXPECT_EQ(readFile(path), "old");  // opened, and nothing replaced yet
    ASSERT_TRUE(file.write(surfaceImage(gridSurface())));
    EXPECT_EQ(readFile(path).substr(1, 3), "PNG");
}

TEST(PictureFile, FileNeverCommittedLeavesTheOldOneAndNoTemporary) {
    TempDir dir;
    const std::string path = dir.file("p.bmp");
    writeFile(path, "old");
    {
        PictureFile file;
        ASSERT_TRUE(file.open(path, "bmp"));
    }
    EXPECT_EQ(readFile(path), "old");
    std::size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1u);
}

TEST(PictureFile, UnopenablePathsNameTheirCause) {
    TempDir dir;
    writeFile(dir.file("regular"), "x");
    const struct {
        std::string path;
        const char* cause;
    } cases[] = {
        {dir.file("regular/p.png"), "Not a directory"},
        {dir.file("missing/p.png"), "No such file or directory"},
    };
    for (const auto& c : cases) {
        PictureFile file;
        EXPECT_FALSE(file.open(c.path, "png"));
        EXPECT_EQ(file.error(), c.cause) << c.path;
    }
}

TEST(PictureFile, DeviceIsWrittenDirectlyAndItsFailureNamed) {
    PictureFile file;
    ASSERT_TRUE(file.open("/dev/full", "bmp")) << file.error();
    EXPECT_FALSE(file.write(surfaceImage(gridSurface())));
    EXPECT_EQ(file.error(), "No space left on device");
}

// Takes at most `room` bytes per write and fails once they are used up, like a filling disk.
class FillingDevice : public QIODevice {
  public:
    explicit FillingDevice(qint64 room) : room_(room) { open(QIODevice::WriteOnly); }
    QByteArray bytes;

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (room_ == 0) {
            setErrorString("No space left on device");
            return -1;
        }
        const qint64 n = std::min(size, room_);
        bytes.append(data, n);
        room_ -= n;
        return n;
    }

  private:
    qint64 room_;
};

TEST(WriteAll, ShortWritesAreContinuedUntilAFailureNamesItsCause) {
    FillingDevice roomy(1000);
    std::string cause;
    EXPECT_TRUE(writeAll(roomy, "0123456789", 10, cause));
    EXPECT_EQ(roomy.bytes, "0123456789");

    FillingDevice full(4);
    EXPECT_FALSE(writeAll(full, "0123456789", 10, cause));
    EXPECT_EQ(full.bytes, "0123");
    EXPECT_EQ(cause, "No space left on device");
}

TEST(FrameFolder, NumbersFramesFromOneInSixDigits) {
    TempDir dir;
    FrameFolder frames;
    ASSERT_TRUE(frames.open(dir.path())) << frames.error();
    const PlotSurface surface = gridSurface();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(frames.write(windowPicture(surface, MarkerState{true, 50 + i, 60})));
    EXPECT_EQ(frames.written(), 3u);
    for (int i = 0; i < 3; ++i) {
        const std::string path = dir.file("frame-00000" + std::to_string(i + 1) + ".png");
        const QImage back =
            QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(back, windowPicture(surface, MarkerState{true, 50 + i, 60})) << path;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("frame-000004.png")));
}

TEST(FrameFolder, FolderMustExistBeAFolderAndTakeFiles) {
    TempDir dir;
    writeFile(dir.file("regular"), "x");
    const struct {
        std::string path;
        const char* cause;
    } cases[] = {
        {dir.file("regular"), "Not a directory"},
        {dir.file("regular/sub"), "Not a directory"},
        {dir.file("missing"), "No such file or directory"},
    };
    for (const auto& c : cases) {
        FrameFolder frames;
        EXPECT_FALSE(frames.open(c.path));
        EXPECT_EQ(frames.error(), c.cause) << c.path;
    }
    FrameFolder good;
    EXPECT_TRUE(good.open(dir.path()));
    // The probe that proved the folder writable is gone again.
    std::size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1u);
}

}  // namespace
}  // namespace kurvilo::cli
