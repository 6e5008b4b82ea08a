// SPDX-License-Identifier: MIT
// EvaluateFormula on the formulas a tick meets and on a long summation, each beside the same job
// done with muparser where it is built in (the ratio is printed at the end), and beside the
// rewriting alone (plans off), the work a formula's plan stands in for.
#include <benchmark/benchmark.h>

#include "formula/evaluate.h"

#ifdef KURVILO_WITH_MUPARSER
#include <muParser.h>
#endif

namespace {

// The texts by reference, as a caller passes the same ones to every evaluation.
kurvilo::FormulaTexts sampleInputs() {
    kurvilo::FormulaTexts texts;
    texts.values = {"0.3", "0.5", "-2", "4", "1.5"};
    texts.constants = {"2", "3", "0", "-1"};
    return texts;
}

void BM_WorkedExample(benchmark::State& state) {
    const auto inputs = sampleInputs();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kurvilo::EvaluateFormula("2(x+1)^2-sin(t)x", inputs));
    }
}
BENCHMARK(BM_WorkedExample);

// New values at every evaluation, as in a run: the plan reads each name's text again.
void BM_WorkedExampleNewValues(benchmark::State& state) {
    kurvilo::FormulaTexts inputs = sampleInputs();
    const char* const xs[] = {"0.5", "-1.25", "3.1416", "0.0001"};
    const char* const ts[] = {"1.5", "2.75", "-0.5", "12.3456"};
    std::size_t k = 0;
    for (auto _ : state) {
        inputs.values[1] = xs[k % 4];
        inputs.values[4] = ts[k % 4];
        ++k;
        benchmark::DoNotOptimize(kurvilo::EvaluateFormula("2(x+1)^2-sin(t)x", inputs));
    }
}
BENCHMARK(BM_WorkedExampleNewValues);

void BM_WorkedExampleRewriting(benchmark::State& state) {
    const auto inputs = sampleInputs();
    kurvilo::EvaluationOptions options;
    options.plans = false;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kurvilo::EvaluateFormula("2(x+1)^2-sin(t)x", inputs, options));
    }
}
BENCHMARK(BM_WorkedExampleRewriting);

void BM_NegativeX(benchmark::State& state) {
    const auto inputs = sampleInputs();
    for (auto _ : state)
        benchmark::DoNotOptimize(kurvilo::EvaluateFormula("-x", inputs));
}
BENCHMARK(BM_NegativeX);

void BM_HarmonicPair(benchmark::State& state) {
    kurvilo::FormulaTexts inputs;
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
        benchmark::DoNotOptimize(kurvilo::EvaluateFormula("\u03A3{n=1<>1000000:n^0.5}", inputs));
    }
}
BENCHMARK(BM_SummationOfSquareRoots)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SummationOfSquareRootsRewriting(benchmark::State& state) {
    const auto inputs = sampleInputs();
    kurvilo::EvaluationOptions options;
    options.plans = false;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            kurvilo::EvaluateFormula("\u03A3{n=1<>1000000:n^0.5}", inputs, options));
    }
}
BENCHMARK(BM_SummationOfSquareRootsRewriting)->Unit(benchmark::kMillisecond)->Iterations(3);

#ifdef KURVILO_WITH_MUPARSER
// The same jobs as a C++ developer would write them with muparser: the values as doubles bound
// to the variables, the expression parsed once, the summation a loop over n.
struct MuVariables {
    double vx = 0.3, x = 0.5, vy = -2, y = 4, t = 1.5, n = 0;
};

mu::Parser muParser(MuVariables& v, const char* expression) {
    mu::Parser parser;
    parser.DefineVar("vx", &v.vx);
    parser.DefineVar("x", &v.x);
    parser.DefineVar("vy", &v.vy);
    parser.DefineVar("y", &v.y);
    parser.DefineVar("t", &v.t);
    parser.DefineVar("n", &v.n);
    parser.SetExpr(expression);
    return parser;
}

void BM_WorkedExample_muparser(benchmark::State& state) {
    MuVariables v;
    mu::Parser parser = muParser(v, "2*(x+1)^2-sin(t)*x");
    for (auto _ : state)
        benchmark::DoNotOptimize(parser.Eval());
}
BENCHMARK(BM_WorkedExample_muparser);

void BM_NegativeX_muparser(benchmark::State& state) {
    MuVariables v;
    mu::Parser parser = muParser(v, "-x");
    for (auto _ : state)
        benchmark::DoNotOptimize(parser.Eval());
}
BENCHMARK(BM_NegativeX_muparser);

void BM_HarmonicPair_muparser(benchmark::State& state) {
    MuVariables v;
    v.x = 4.9995;
    v.y = 0.05;
    mu::Parser ax = muParser(v, "-x");
    mu::Parser ay = muParser(v, "-y");
    for (auto _ : state) {
        benchmark::DoNotOptimize(ax.Eval());
        benchmark::DoNotOptimize(ay.Eval());
    }
}
BENCHMARK(BM_HarmonicPair_muparser);

void BM_SummationOfSquareRoots_muparser(benchmark::State& state) {
    MuVariables v;
    mu::Parser body = muParser(v, "n^0.5");
    for (auto _ : state) {
        double total = 0;
        for (int n = 1; n <= 1000000; ++n) {
            v.n = n;
            total += body.Eval();
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_SummationOfSquareRoots_muparser)->Unit(benchmark::kMillisecond)->Iterations(3);
#endif

}  // namespace
