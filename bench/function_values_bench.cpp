// SPDX-License-Identifier: MIT
// The function values and the power on typical arguments: the double fast path with its guard
// against the extended-precision code it stands in for, side by side in one run.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "numbers/function_values.h"

namespace {

using kurvilo::Fixed4;

template <Fixed4 (*f)(Fixed4)>
void functionValue(benchmark::State& state) {
    Fixed4 argument = Fixed4::fromUnits(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(argument);
        benchmark::DoNotOptimize(f(argument));
    }
}

// b^e with the base and the exponent in units, both fixed.
template <Fixed4 (*f)(std::uint64_t, Fixed4)>
void powerValue(benchmark::State& state) {
    auto base = static_cast<std::uint64_t>(state.range(0));
    Fixed4 exponent = Fixed4::fromUnits(state.range(1));
    for (auto _ : state) {
        benchmark::DoNotOptimize(base);
        benchmark::DoNotOptimize(exponent);
        benchmark::DoNotOptimize(f(base, exponent));
    }
}

// n^0.5 for n = 1, 2, ..., 10^6 and round again, like the body of a long summation.
template <Fixed4 (*f)(std::uint64_t, Fixed4)>
void summationBody(benchmark::State& state) {
    const Fixed4 half = Fixed4::fromUnits(5'000);
    std::uint64_t n = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f(n * 10'000, half));
        n = n == 1'000'000 ? 1 : n + 1;
    }
}

BENCHMARK(functionValue<kurvilo::sineValue>)->Name("sin(1.5)/fast")->Arg(15'000);
BENCHMARK(functionValue<kurvilo::extendedSineValue>)->Name("sin(1.5)/extended")->Arg(15'000);
BENCHMARK(functionValue<kurvilo::cosineValue>)->Name("cos(1.5)/fast")->Arg(15'000);
BENCHMARK(functionValue<kurvilo::extendedCosineValue>)->Name("cos(1.5)/extended")->Arg(15'000);
BENCHMARK(functionValue<kurvilo::tangentValue>)->Name("tan(1)/fast")->Arg(10'000);
BENCHMARK(functionValue<kurvilo::extendedTangentValue>)->Name("tan(1)/extended")->Arg(10'000);
BENCHMARK(functionValue<kurvilo::naturalLogValue>)->Name("ln(2)/fast")->Arg(20'000);
BENCHMARK(functionValue<kurvilo::extendedNaturalLogValue>)->Name("ln(2)/extended")->Arg(20'000);
BENCHMARK(functionValue<kurvilo::exponentialValue>)->Name("exp(1)/fast")->Arg(10'000);
BENCHMARK(functionValue<kurvilo::extendedExponentialValue>)->Name("exp(1)/extended")->Arg(10'000);
BENCHMARK(powerValue<kurvilo::positivePowerValue>)->Name("1.5^2/fast")->Args({15'000, 20'000});
BENCHMARK(powerValue<kurvilo::extendedPositivePowerValue>)
    ->Name("1.5^2/extended")
    ->Args({15'000, 20'000});
BENCHMARK(summationBody<kurvilo::positivePowerValue>)->Name("n^0.5/fast");
BENCHMARK(summationBody<kurvilo::extendedPositivePowerValue>)->Name("n^0.5/extended");

}  // namespace
