// SPDX-License-Identifier: MIT
// The simulation's hot path: one whole tick of a running harmonic oscillator (both evaluations,
// the state read back, the mapping, the step, the segment and the lists), and its parts. Where
// muparser is built in, the tick beside it done as a C++ developer would with muparser: the state
// in doubles, both formulas evaluated, the same semi-implicit step and pixel.
#include <benchmark/benchmark.h>

#include <cmath>
#include <limits>
#include <memory>

#include "sim/motion.h"
#include "sim/plot_surface.h"
#include "sim/tick.h"
#include "sim/view_mapping.h"

#ifdef KURVILO_WITH_MUPARSER
#include <muParser.h>
#endif

namespace {

using namespace kurvilo;

// The harmonic oscillator: Ax = -x, Ay = -y from X = 5, Vy = 5, started and one tick in.
std::unique_ptr<RunModel> runningOscillator() {
    auto model = headlessModel();
    model->edit1 = "-y";
    model->edit2 = "-x";
    model->labeledEdit16 = "5";
    model->labeledEdit12 = "5";
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

#ifdef KURVILO_WITH_MUPARSER
void BM_HarmonicOscillatorTick_muparser(benchmark::State& state) {
    double vx = 0, x = 5, vy = 5, y = 0;
    const double dt = 0.01;
    mu::Parser ax;
    mu::Parser ay;
    for (mu::Parser* parser : {&ax, &ay}) {
        parser->DefineVar("vx", &vx);
        parser->DefineVar("x", &x);
        parser->DefineVar("vy", &vy);
        parser->DefineVar("y", &y);
    }
    ax.SetExpr("-x");
    ay.SetExpr("-y");
    int px = 0;
    int py = 0;
    for (auto _ : state) {
        const double e2 = ax.Eval();
        const double e1 = ay.Eval();
        px = static_cast<int>(std::trunc(x / 0.1 + 201));
        py = static_cast<int>(std::trunc(201 - y / 0.1));
        vy += e1 * dt;
        vx += e2 * dt;
        y += vy * dt;
        x += vx * dt;
        benchmark::DoNotOptimize(px);
        benchmark::DoNotOptimize(py);
    }
}
BENCHMARK(BM_HarmonicOscillatorTick_muparser);
#endif

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
