// SPDX-License-Identifier: MIT
// The pictures are the ones the tool made when it drew and wrote them through Qt: its painter for
// the marker, its image writer for PNG and BMP. tests/picture/reference holds what kurvilo-cli
// made then (the bitmaps gzipped with gzip -9n), with these runs:
//   run --mode 0 --f1 -y --f2 -x --x0 5 --vy0 5 --ticks 700 --every 35 --gif oscillator.gif
//       --picture oscillator.png --bmp oscillator.bmp --frames DIR   (DIR/frame-000004.png kept)
//   run --mode polar-curve --f1 '10cos(3θ)' --vtheta0 1 --ticks 320 --every 16 --speed 1/10s
//       --gif rose.gif --picture rose.png
//   run --mode 0 --f1 -4y --f2 -9x --x0 15 --vy0 30 --ticks 630 --range-x 2 --zoom-y 3,7
//       --bmp zoomed.bmp
// The same runs of the tick model, drawn and encoded by the picture library, give the same
// bytes; and the old files decode to the same pixels, frame for frame.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "picture/bmp.h"
#include "picture/decoders.h"
#include "picture/gif_animation.h"
#include "picture/marker.h"
#include "picture/png.h"
#include "sim/plot_surface.h"
#include "sim/tick.h"

namespace kurvilo {
namespace {

using testing::decodeGif;
using testing::decodePng;
using testing::fileBytes;
using testing::firstDifference;
using testing::gunzip;

std::string reference(const std::string& name) {
    return KURVILO_SOURCE_DIR "/tests/picture/reference/" + name;
}

class MemorySink final : public ByteSink {
  public:
    void write(std::string_view bytes) override { bytes_.append(bytes); }
    bool failed() const noexcept override { return false; }
    std::string bytes_;
};

// A run as the tool makes it: the frames after every K-th tick and after the last.
struct PictureRun {
    std::unique_ptr<RunModel> model = headlessModel();
    std::vector<Image> frames;
};

PictureRun run(const std::function<void(RunModel&)>& settings, int ticks, int every) {
    PictureRun r;
    RunModel& m = *r.model;
    settings(m);
    startAction(m);
    for (int tick = 1; tick <= ticks; ++tick) {
        EXPECT_TRUE(Timer1Timer(m)) << "tick " << tick;
        if (tick % every == 0) r.frames.push_back(windowPicture(m.surface, m.shape1));
    }
    if (ticks % every != 0) r.frames.push_back(windowPicture(m.surface, m.shape1));
    return r;
}

void oscillator(RunModel& m) {
    m.edit1 = "-y";
    m.edit2 = "-x";
    m.labeledEdit16 = "5";
    m.labeledEdit12 = "5";
}

void rose(RunModel& m) {
    m.graphMode = 3;
    m.edit1 = "10cos(3\u03B8)";
    m.labeledEdit15.assign(1, '1');
    m.comboBox1 = 1;  // 1/10s
}

void zoomedLissajous(RunModel& m) {
    m.edit1 = "-4y";
    m.edit2 = "-9x";
    m.labeledEdit16 = "15";
    m.labeledEdit12 = "30";
    m.comboBox4 = 0;  // -2<X<2
    m.checkBox2 = true;
    m.spinEdit3.text.assign(1, '3');
    m.spinEdit4.text.assign(1, '7');
}

std::string gifOf(const std::vector<Image>& frames, int delay) {
    MemorySink sink;
    GifAnimation gif(sink, PlotSurface::kSize, PlotSurface::kSize, delay);
    for (const Image& frame : frames)
        EXPECT_TRUE(gif.addFrame(frame.view())) << gif.error();
    EXPECT_TRUE(gif.finish()) << gif.error();
    return sink.bytes_;
}

std::string pngOf(const ImageView& picture) {
    MemorySink sink;
    std::string error;
    EXPECT_TRUE(writePng(picture, sink, error)) << error;
    return sink.bytes_;
}

TEST(ReferencePictures, AnimationsDecodeToTheSameFramesMarkerAndAll) {
    const struct {
        const char* file;
        std::function<void(RunModel&)> settings;
        int ticks;
        int every;
    } cases[] = {{"oscillator.gif", oscillator, 700, 35}, {"rose.gif", rose, 320, 16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const PictureRun now = run(c.settings, c.ticks, c.every);
        const testing::DecodedGif before = decodeGif(fileBytes(reference(c.file)));
        ASSERT_TRUE(before.ok);
        ASSERT_EQ(before.frames.size(), now.frames.size());
        for (std::size_t i = 0; i < now.frames.size(); ++i) {
            EXPECT_EQ(firstDifference(before.frames[i].view(), now.frames[i].view()), "")
                << "frame " << i + 1;
        }
        // Some frames must show the marker, or the test proves nothing about it.
        std::size_t red = 0;
        for (const Image& frame : now.frames) {
            for (int y = 0; y < frame.height(); ++y) {
                for (int x = 0; x < frame.width(); ++x)
                    red += (frame.at(x, y) & 0xFFFFFF) == 0xFF0000;
            }
        }
        EXPECT_GT(red, now.frames.size() * 10);
    }
}

TEST(ReferencePictures, AnimationsHaveTheSameBytes) {
    EXPECT_EQ(gifOf(run(oscillator, 700, 35).frames, 35), fileBytes(reference("oscillator.gif")));
    EXPECT_EQ(gifOf(run(rose, 320, 16).frames, 160), fileBytes(reference("rose.gif")));
}

TEST(ReferencePictures, PngsOfPictureAndFrameHaveTheSameBytesAndPixels) {
    const PictureRun oscillation = run(oscillator, 700, 35);
    const PictureRun roses = run(rose, 320, 16);
    const struct {
        const char* file;
        ImageView picture;
    } cases[] = {
        {"oscillator.png", surfaceView(oscillation.model->surface)},
        {"rose.png", surfaceView(roses.model->surface)},
        {"oscillator-frame-000004.png", oscillation.frames[3].view()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string before = fileBytes(reference(c.file));
        const testing::DecodedPng decoded = decodePng(before);
        ASSERT_TRUE(decoded.ok);
        EXPECT_EQ(firstDifference(decoded.image.view(), c.picture), "");
        EXPECT_EQ(pngOf(c.picture), before);
    }
}

TEST(ReferencePictures, BitmapsHaveTheSameBytes) {
    const PictureRun oscillation = run(oscillator, 700, 35);
    const PictureRun zoomed = run(zoomedLissajous, 630, 630);
    const struct {
        const char* file;
        ImageView picture;
    } cases[] = {
        {"oscillator.bmp.gz", surfaceView(oscillation.model->surface)},
        {"zoomed.bmp.gz", surfaceView(zoomed.model->surface)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string before = gunzip(reference(c.file));
        ASSERT_EQ(before.size(), 482858u);
        EXPECT_EQ(firstDifference(testing::decodeBmp(before).image.view(), c.picture), "");
        EXPECT_EQ(encodeBmp(c.picture), before);
    }
}

}  // namespace
}  // namespace kurvilo
