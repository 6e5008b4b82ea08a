// SPDX-License-Identifier: MIT
// kurvilo-cli run --gif: encoding the animation of the 1 000-tick harmonic oscillator at
// --every 10 (100 frames of 401 × 401), and composing one frame of the window's picture; and
// kurvilo-cli eval --explain of "(x)+(x)+...+(x)" over the number of groups; and eval of typical
// formulas with and without the notes that its warnings come from.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cli/explain.h"
#include "formula/evaluate.h"
#include "formula/notes.h"
#include "numbers/failures.h"
#include "picture/gif_animation.h"
#include "picture/image.h"
#include "picture/marker.h"
#include "sim/plot_surface.h"
#include "sim/tick.h"

namespace {

using namespace kurvilo;

std::unique_ptr<RunModel> oscillator() {
    auto model = headlessModel();
    model->edit1 = "-y";
    model->edit2 = "-x";
    model->labeledEdit16 = "5";
    model->labeledEdit12 = "5";
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

// Bytes counted and dropped, as /dev/null takes them.
class CountingSink final : public ByteSink {
  public:
    void write(std::string_view bytes) override { count_ += bytes.size(); }
    bool failed() const noexcept override { return false; }
    std::size_t count_ = 0;
};

void BM_ExplainGroups(benchmark::State& state) {
    std::string formula = "(x)";
    for (std::int64_t i = 1; i < state.range(0); ++i)
        formula += "+(x)";
    FormulaInputs inputs;
    inputs.values[1] = "1";
    std::size_t bytes = 0;
    for (auto _ : state) {
        CountingSink sink;
        cli::Explainer explainer(sink);
        explainer.formula(formula);
        EvaluationOptions options;
        options.observer = &explainer;
        explainer.result(EvaluateFormula(formula, inputs, options));
        bytes = sink.count_;
    }
    state.counters["output_bytes"] = static_cast<double>(bytes);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ExplainGroups)
    ->Arg(1000)
    ->Arg(3000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// The formulas of the gallery and of the guide's worked examples, none with a note: what every
// line of a large input costs with its notes checked (notes:1) and without (notes:0).
void BM_EvalLines(benchmark::State& state) {
    static const char* const kFormulas[] = {"-4y",
                                            "-9.8",
                                            "-9.8-0.3vy",
                                            "-ay-bvy",
                                            "-y",
                                            "0",
                                            "10cos(3\u03B8)",
                                            "10sin(x)cos(t/3)",
                                            "40/\u03C0*\u03A3{n=1<>5:sin((2n-1)x/2)/(2n-1)}",
                                            "r*v\u03B8^2-a/r^2",
                                            "\u03B8",
                                            "-0.3vx",
                                            "-2*vr*v\u03B8/r",
                                            "-9x",
                                            "-a*cos(\u03B8)/r",
                                            "-ax-bvx",
                                            "-x",
                                            "2(x+1)^2-sin(t)x",
                                            "2*x^2+3*x-1",
                                            "(x^2+y^2)^1.5",
                                            "exp(-t/2)*cos(3t)",
                                            "ln(x+2)"};
    const bool withNotes = state.range(0) != 0;
    FormulaInputs inputs;
    inputs.values = {"0.3", "0.5", "-2", "2", "1.5"};
    inputs.constants = {"2", "0.5", "0", "0"};
    const FormulaTexts texts = inputs;
    NoteOptions options;
    options.texts = &texts;
    options.valuesFixed = true;
    std::size_t notes = 0;
    for (auto _ : state) {
        for (const char* formula : kFormulas) {
            if (withNotes) notes += formulaNotes(formula, options).size();
            try {
                benchmark::DoNotOptimize(EvaluateFormula(formula, inputs));
            } catch (const Failure&) {
                state.SkipWithError("a formula failed");
            }
        }
    }
    if (notes != 0) state.SkipWithError("a formula has a note");
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(std::size(kFormulas)));
}
BENCHMARK(BM_EvalLines)->ArgName("notes")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
