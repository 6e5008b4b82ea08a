// SPDX-License-Identifier: MIT
// How the engine's work grows with the length of a formula: each job over sizes from 10^3 to
// 10^6 characters, and at the end the fitted exponent of time over size (1 is linear).
#include <benchmark/benchmark.h>

#include <string>

#include "formula/evaluate.h"

namespace {

// Repeats `unit` until the text is `size` characters long, joined by `joint`.
std::string repeated(const std::string& unit, const std::string& joint, std::size_t size) {
    std::string text = unit;
    while (text.size() + joint.size() + unit.size() <= size)
        text += joint + unit;
    return text;
}

void run(benchmark::State& state, const std::string& formula) {
    const kurvilo::FormulaTexts inputs;
    for (auto _ : state)
        benchmark::DoNotOptimize(kurvilo::EvaluateFormula(formula, inputs));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(formula.size()));
}

void BM_NestedBrackets(benchmark::State& state) {
    const auto depth = static_cast<std::size_t>(state.range(0)) / 2;
    run(state, std::string(depth, '(') + "1" + std::string(depth, ')'));
}

void BM_SideBySideGroups(benchmark::State& state) {
    run(state, repeated("(1)", "+", static_cast<std::size_t>(state.range(0))));
}

void BM_FunctionApplications(benchmark::State& state) {
    run(state, repeated("sin(1)", "+", static_cast<std::size_t>(state.range(0))));
}

void BM_NestedAtoms(benchmark::State& state) {
    const auto depth = static_cast<std::size_t>(state.range(0)) / 2;
    run(state, std::string(depth, '[') + "2" + std::string(depth, ']'));
}

void BM_Names(benchmark::State& state) {
    run(state, repeated("x", "*", static_cast<std::size_t>(state.range(0))));
}

#define KURVILO_OVER_SIZES(job) \
    BENCHMARK(job)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)

KURVILO_OVER_SIZES(BM_NestedBrackets);
KURVILO_OVER_SIZES(BM_SideBySideGroups);
KURVILO_OVER_SIZES(BM_FunctionApplications);
KURVILO_OVER_SIZES(BM_NestedAtoms);
KURVILO_OVER_SIZES(BM_Names);

}  // namespace
