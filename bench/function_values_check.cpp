// SPDX-License-Identifier: MIT
// Compares the function values' double fast path with the extended-precision code on 10^8 seeded
// cases per function (the unit test's comparison, a hundred times larger) and prints, per
// function: cases compared, fast-path hits, fallbacks to the extended code, mismatches, and how
// often the plain double result, unguarded, would have been wrong. Exits with 1 on any mismatch.
// Usage: function_values_check [cases per function]
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "numbers/function_values_sampling.h"

int main(int argc, char** argv) {
    using namespace kurvilo;
    std::uint64_t cases = 100'000'000;
    if (argc > 1) {
        char* end = nullptr;
        cases = std::strtoull(argv[1], &end, 10);
        if (end == argv[1] || *end != '\0' || cases == 0) {
            std::fprintf(stderr, "function_values_check: '%s' is not a case count\n", argv[1]);
            return 2;
        }
    }
    // A different seed from the unit test's, and sixteen times its near-tie pools.
    constexpr std::uint64_t kSeed = 0x636865636b'000000ULL;
    constexpr std::size_t kNearTieScale = 256;

    std::printf("%-4s %12s %12s %12s %10s %15s %10s %8s\n", "f", "compared", "fast hits",
                "fallbacks", "mismatches", "unguarded wrong", "near ties", "seconds");
    bool clean = true;
    for (const ValueFunction f : kValueFunctions) {
        const auto start = std::chrono::steady_clock::now();
        FunctionCaseSampler sampler(f, kSeed + static_cast<std::uint64_t>(f),
                                    nearTieCount(f, kNearTieScale));
        ComparisonTally tally;
        for (const FunctionCase& c : sampler.nearTies())
            compareCase(f, c, tally);
        for (std::uint64_t i = tally.compared; i < cases; ++i)
            compareCase(f, sampler.next(), tally);
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        std::printf("%-4s %12" PRIu64 " %12" PRIu64 " %12" PRIu64 " %10" PRIu64 " %15" PRIu64
                    " %10zu %8.1f\n",
                    functionName(f), tally.compared, tally.fastHits, tally.fallbacks,
                    tally.mismatches, tally.unguardedWrong, sampler.nearTies().size(),
                    seconds.count());
        for (const std::string& m : tally.mismatchExamples)
            std::printf("  mismatch: %s\n", m.c_str());
        std::fflush(stdout);
        clean = clean && tally.mismatches == 0;
    }
    return clean ? 0 : 1;
}
