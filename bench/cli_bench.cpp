// SPDX-License-Identifier: MIT
// kurvilo-cli run --gif: encoding the animation of the 1 000-tick harmonic oscillator at
// --every 10 (100 frames of 401 × 401), and composing one frame of the window's picture.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "picture/gif_animation.h"
#include "picture/image.h"
#include "picture/marker.h"
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
std::vector<Image> oscillatorFrames() {
    auto model = oscillator();
    std::vector<Image> frames;
    for (int tick = 1; tick <= 1000; ++tick) {
        Timer1Timer(*model);
        if (tick % 10 == 0) frames.push_back(windowPicture(model->surface, model->shape1));
    }
    return frames;
}

// Bytes kept in memory, as a file would receive them.
class MemorySink final : public ByteSink {
  public:
    void write(std::string_view bytes) override { bytes_.append(bytes); }
    bool failed() const noexcept override { return false; }
    std::string bytes_;
};

void BM_GifOfThousandTickOscillator(benchmark::State& state) {
    const std::vector<Image> frames = oscillatorFrames();
    std::size_t size = 0;
    for (auto _ : state) {
        MemorySink sink;
        GifAnimation gif(sink, PlotSurface::kSize, PlotSurface::kSize, 10);
        for (const Image& frame : frames) {
            if (!gif.addFrame(frame.view())) state.SkipWithError("encoding failed");
        }
        if (!gif.finish()) state.SkipWithError("encoding failed");
        size = sink.bytes_.size();
        benchmark::DoNotOptimize(sink.bytes_.data());
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
        const Image picture = windowPicture(model->surface, model->shape1);
        benchmark::DoNotOptimize(picture.row(0));
    }
}
BENCHMARK(BM_WindowPictureWithMarker)->Unit(benchmark::kMicrosecond);

}  // namespace
