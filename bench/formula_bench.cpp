// EvaluateFormula on the formulas a tick meets, and a long summation.
#include <benchmark/benchmark.h>

#include "formula/evaluate.h"

namespace {

kurvilo::FormulaInputs sampleInputs() {
    kurvilo::FormulaInputs inputs;
    inputs.values = {"0.3", "0.5", "-2", "4", "1.5"};
    inputs.constants = {"2", "3", "0", "-1"};
    return inputs;
}

void BM_WorkedExample(benchmark::State& state) {
    const auto inputs = sampleInputs();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kurvilo::EvaluateFormula("2(x+1)^2-sin(t)x", inputs));
    }
}
BENCHMARK(BM_WorkedExample);

void BM_NegativeX(benchmark::State& state) {
    const auto inputs = sampleInputs();
    for (auto _ : state) benchmark::DoNotOptimize(kurvilo::EvaluateFormula("-x", inputs));
}
BENCHMARK(BM_NegativeX);

void BM_HarmonicPair(benchmark::State& state) {
    kurvilo::FormulaInputs inputs;
    inputs.values = {"-0.05", "4.9995", "5", "0.05", "0.01"};
    for (auto _ : state) {
        benchmark::DoNotOptimize(kurvilo::EvaluateFormula("-x", inputs));
        benchmark::DoNotOptimize(kurvilo::EvaluateFormula("-y", inputs));
    }
}
BENCHMARK(BM_HarmonicPair);

void BM_SummationOfSquareRoots(benchmark::State& state) {
    const auto inputs = sampleInputs();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            kurvilo::EvaluateFormula("\u03A3{n=1<>1000000:n^0.5}", inputs));
    }
}
BENCHMARK(BM_SummationOfSquareRoots)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
