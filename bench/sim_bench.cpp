// The simulation's hot path: one whole tick of a running harmonic oscillator (both evaluations,
// the state read back, the mapping, the step, the segment and the lists), and its parts.
#include <benchmark/benchmark.h>

#include <limits>
#include <memory>

#include "sim/motion.h"
#include "sim/plot_surface.h"
#include "sim/tick.h"
#include "sim/view_mapping.h"

namespace {

using namespace kurvilo;

// The harmonic oscillator: Ax = -x, Ay = -y from X = 5, Vy = 5, started and one tick in.
std::unique_ptr<RunModel> runningOscillator() {
    auto model = std::make_unique<RunModel>();
    model->edit1 = "-y";
    model->edit2 = "-x";
    model->labeledEdit16 = "5";
    model->labeledEdit12 = "5";
    model->constants = {"0", "0", "0", "0"};
    startAction(*model);
    Timer1Timer(*model);
    return model;
}

void BM_HarmonicOscillatorTick(benchmark::State& state) {
    auto model = runningOscillator();
    for (auto _ : state) {
        if (!Timer1Timer(*model)) {
            state.SkipWithError("the tick failed");
            break;
        }
    }
    benchmark::DoNotOptimize(model->listBox1.data());
}
BENCHMARK(BM_HarmonicOscillatorTick);

void BM_MotionStepCartesian(benchmark::State& state) {
    MotionState s;
    s.slots = {Fixed4::fromUnits(-500), Fixed4::fromUnits(49995), Fixed4::fromUnits(50000),
               Fixed4::fromUnits(500), Fixed4::fromUnits(100)};
    const Fixed4 e1 = Fixed4::fromUnits(-500);
    const Fixed4 e2 = Fixed4::fromUnits(-49995);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            motionStep(GraphMode::CartesianMotion, s, e1, e2, Fixed4::fromUnits(100)));
    }
}
BENCHMARK(BM_MotionStepCartesian);

void BM_MapPolarPoint(benchmark::State& state) {
    MotionState s;
    s.slots[MotionState::kPosition1] = Fixed4::fromUnits(15708);
    s.slots[MotionState::kPosition2] = Fixed4::fromUnits(100000);
    const AxisView view{1000, 0};
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            mapToPixel(plotPoint(GraphMode::PolarMotion, s, Fixed4()), view, view));
    }
}
BENCHMARK(BM_MapPolarPoint);

void BM_ShortSegment(benchmark::State& state) {
    auto surface = std::make_unique<PlotSurface>();
    for (auto _ : state) {
        surface->moveTo(251, 201);
        surface->lineTo(250, 199);
    }
    benchmark::DoNotOptimize(surface->data());
}
BENCHMARK(BM_ShortSegment);

void BM_ClippedSegmentAcrossTheSurface(benchmark::State& state) {
    auto surface = std::make_unique<PlotSurface>();
    const int lo = std::numeric_limits<int>::min();
    const int hi = std::numeric_limits<int>::max();
    for (auto _ : state) {
        surface->moveTo(lo, lo + 7);
        surface->lineTo(hi, hi - 3);
    }
    benchmark::DoNotOptimize(surface->data());
}
BENCHMARK(BM_ClippedSegmentAcrossTheSurface);

void BM_StartRepaint(benchmark::State& state) {
    auto surface = std::make_unique<PlotSurface>();
    for (auto _ : state)
        repaintForRun(*surface);
    benchmark::DoNotOptimize(surface->data());
}
BENCHMARK(BM_StartRepaint);

}  // namespace
