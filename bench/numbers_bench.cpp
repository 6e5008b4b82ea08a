// SPDX-License-Identifier: MIT
// Text form and parse of Fixed4: both run many times per tick.
#include <benchmark/benchmark.h>

#include <string>

#include "numbers/fixed4.h"

namespace {

using kurvilo::Fixed4;

void BM_TextForm(benchmark::State& state) {
    const Fixed4 values[] = {Fixed4::fromUnits(-123456), Fixed4::fromUnits(49995),
                             Fixed4::fromUnits(9223372036854775807), Fixed4::fromUnits(100)};
    std::string out;
    out.reserve(32);
    std::size_t i = 0;
    for (auto _ : state) {
        out.clear();
        kurvilo::appendText(out, values[i++ & 3]);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_TextForm);

void BM_ToTextString(benchmark::State& state) {
    const Fixed4 value = Fixed4::fromUnits(-123456);
    for (auto _ : state)
        benchmark::DoNotOptimize(kurvilo::toText(value));
}
BENCHMARK(BM_ToTextString);

void BM_ParseTypical(benchmark::State& state) {
    const std::string text = "-12.3456";
    for (auto _ : state) {
        benchmark::DoNotOptimize(kurvilo::parseFixed4(std::string_view(text)));
    }
}
BENCHMARK(BM_ParseTypical);

void BM_ParseRounding(benchmark::State& state) {
    const std::string text = "-12.34565";
    for (auto _ : state) {
        benchmark::DoNotOptimize(kurvilo::parseFixed4(std::string_view(text)));
    }
}
BENCHMARK(BM_ParseRounding);

}  // namespace
