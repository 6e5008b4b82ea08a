// SPDX-License-Identifier: MIT
// kurvilo-cli run --gif: encoding the animation of the 1 000-tick harmonic oscillator at
// --every 10 (100 frames of 401 × 401), and composing one frame of the window's picture.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <memory>
#include <vector>

#include "cli/gif_animation.h"
#include "cli/image_output.h"
#include "sim/plot_surface.h"
#include "sim/tick.h"

namespace {

using namespace kurvilo;

std::unique_ptr<RunModel> oscillator() {
    auto model = std::make_unique<RunModel>();
    model->edit1 = "-y";
    model->edit2 = "-x";
    model->labeledEdit16.assign(1, '5');  // not = "5": a false -Wrestrict of GCC 12 at -O3
    model->labeledEdit12.assign(1, '5');
    model->constants = {"0", "0", "0", "0"};
    paintStartupFrame(model->surface);
    startAction(*model);
    return model;
}

// The frames the tool takes: after every 10th of 1 000 ticks.
std::vector<QImage> oscillatorFrames() {
    auto model = oscillator();
    std::vector<QImage> frames;
    for (int tick = 1; tick <= 1000; ++tick) {
        Timer1Timer(*model);
        if (tick % 10 == 0) frames.push_back(cli::windowPicture(model->surface, model->shape1));
    }
    return frames;
}

void BM_GifOfThousandTickOscillator(benchmark::State& state) {
    const std::vector<QImage> frames = oscillatorFrames();
    qint64 size = 0;
    for (auto _ : state) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        cli::GifAnimation gif(buffer, PlotSurface::kSize, PlotSurface::kSize, 10);
        for (const QImage& frame : frames) {
            if (!gif.addFrame(frame)) state.SkipWithError("encoding failed");
        }
        if (!gif.finish()) state.SkipWithError("encoding failed");
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["bytes"] = static_cast<double>(size);
    state.counters["frames"] = static_cast<double>(frames.size());
}
BENCHMARK(BM_GifOfThousandTickOscillator)->Unit(benchmark::kMillisecond);

void BM_WindowPictureWithMarker(benchmark::State& state) {
    auto model = oscillator();
    for (int tick = 0; tick < 100; ++tick)
        Timer1Timer(*model);
    for (auto _ : state) {
        const QImage picture = cli::windowPicture(model->surface, model->shape1);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_WindowPictureWithMarker)->Unit(benchmark::kMicrosecond);

}  // namespace
