// SPDX-License-Identifier: MIT
// Another reader's view: Qt's image readers decode the PNGs, bitmaps and GIFs of the picture
// library to the pixels they were made from, every frame of an animation included.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <string>
#include <vector>

#include "picture/bmp.h"
#include "picture/gif_animation.h"
#include "picture/marker.h"
#include "picture/png.h"
#include "sim/plot_surface.h"
#include "sim/tick.h"

namespace kurvilo {
namespace {

class MemorySink final : public ByteSink {
  public:
    void write(std::string_view bytes) override { bytes_.append(bytes); }
    bool failed() const noexcept override { return false; }
    std::string bytes_;
};

std::vector<QImage> readAll(const std::string& bytes, const char* format) {
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    std::vector<QImage> images;
    for (QImage image = reader.read(); !image.isNull(); image = reader.read())
        images.push_back(image.convertToFormat(QImage::Format_RGB32));
    return images;
}

// "" when the Qt image holds the picture's pixels.
std::string difference(const QImage& qt, const ImageView& picture) {
    if (qt.width() != picture.width || qt.height() != picture.height) return "another size";
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if ((qt.pixel(x, y) & 0xFFFFFF) != (picture.at(x, y) & 0xFFFFFF))
                return "pixel " + std::to_string(x) + "," + std::to_string(y);
        }
    }
    return "";
}

// The frames of a polar curve that leaves the surface and comes back, marker and all.
std::vector<Image> frames() {
    RunModel m;
    m.constants = {"0", "0", "0", "0"};
    m.graphMode = 3;
    m.edit1 = "25sin(2\u03B8)";
    m.labeledEdit15.assign(1, '1');
    paintStartupFrame(m.surface);
    startAction(m);
    std::vector<Image> all;
    for (int tick = 1; tick <= 400; ++tick) {
        EXPECT_TRUE(Timer1Timer(m));
        if (tick % 40 == 0) all.push_back(windowPicture(m.surface, m.shape1));
    }
    return all;
}

TEST(QtReaders, ReadThePngsAndBitmapsAsTheyWereMade) {
    for (const Image& frame : frames()) {
        MemorySink png;
        std::string error;
        ASSERT_TRUE(writePng(frame.view(), png, error)) << error;
        const std::vector<QImage> fromPng = readAll(png.bytes_, "png");
        ASSERT_EQ(fromPng.size(), 1u);
        EXPECT_EQ(difference(fromPng[0], frame.view()), "");
        const std::vector<QImage> fromBmp = readAll(encodeBmp(frame.view()), "bmp");
        ASSERT_EQ(fromBmp.size(), 1u);
        EXPECT_EQ(difference(fromBmp[0], frame.view()), "");
    }
}

TEST(QtReaders, ReadEveryFrameOfTheAnimation) {
    const std::vector<Image> made = frames();
    MemorySink gif;
    GifAnimation animation(gif, PlotSurface::kSize, PlotSurface::kSize, 4);
    for (const Image& frame : made)
        ASSERT_TRUE(animation.addFrame(frame.view()));
    ASSERT_TRUE(animation.finish());
    const std::vector<QImage> read = readAll(gif.bytes_, "gif");
    ASSERT_EQ(read.size(), made.size());
    for (std::size_t i = 0; i < made.size(); ++i)
        EXPECT_EQ(difference(read[i], made[i].view()), "") << "frame " << i + 1;
}

}  // namespace
}  // namespace kurvilo
