// SPDX-License-Identifier: MIT
#include "numbers/function_values.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "common.h"
#include "numbers/function_values_sampling.h"

namespace kurvilo {
namespace {

// The same count in every build: under ASan and UBSan each function's run still takes a few
// seconds.
constexpr std::size_t kCasesPerFunction = 1'000'000;
constexpr std::size_t kNearTieScale = 16;

std::uint64_t seedFor(ValueFunction f) {
    return 0x6b75727669'6c6f00ULL + static_cast<std::uint64_t>(f);
}

FunctionCase argument(std::int64_t units) {
    return FunctionCase{Fixed4::fromUnits(units), 0};
}

FunctionCase power(std::uint64_t baseUnits, std::int64_t exponentUnits) {
    return FunctionCase{Fixed4::fromUnits(exponentUnits), baseUnits};
}

bool fastPathKeeps(ValueFunction f, const FunctionCase& c) {
    std::int64_t units = 0;
    return fastAttempt(f, c, units);
}

class FastPathAgreement : public ::testing::TestWithParam<ValueFunction> {};

TEST_P(FastPathAgreement, GivesTheExtendedResultOrFailureOnSeededCases) {
    const ValueFunction f = GetParam();
    FunctionCaseSampler sampler(f, seedFor(f), nearTieCount(f, kNearTieScale));
    ComparisonTally tally;
    for (std::size_t i = 0; i < kCasesPerFunction; ++i)
        compareCase(f, sampler.next(), tally);

    for (const std::string& m : tally.mismatchExamples)
        ADD_FAILURE() << m;
    EXPECT_EQ(tally.mismatches, 0u);
    EXPECT_EQ(tally.compared, kCasesPerFunction);
    // The double carries a large share of the cases (most of the rest are edges and failures),
    // and the extended code still decides some.
    EXPECT_GT(tally.fastHits, tally.compared / 4);
    EXPECT_GT(tally.fallbacks, 0u);
    RecordProperty("fastHits", std::to_string(tally.fastHits));
    RecordProperty("fallbacks", std::to_string(tally.fallbacks));
}

TEST_P(FastPathAgreement, FallsBackOnSomeResultsCloseToATie) {
    const ValueFunction f = GetParam();
    const FunctionCaseSampler sampler(f, seedFor(f) ^ 0xf00d, nearTieCount(f, kNearTieScale));
    ComparisonTally tally;
    for (const FunctionCase& c : sampler.nearTies()) {
        Extended r = 0.0L;
        ASSERT_TRUE(extendedQuantity(f, c, r)) << describe(f, c);
        EXPECT_LT(distanceToTie(r), 1e-4L) << describe(f, c);
        compareCase(f, c, tally);
    }
    for (const std::string& m : tally.mismatchExamples)
        ADD_FAILURE() << m;
    EXPECT_EQ(tally.mismatches, 0u);
    EXPECT_GT(tally.fallbacks, 0u);
}

INSTANTIATE_TEST_SUITE_P(EachFunction, FastPathAgreement, ::testing::ValuesIn(kValueFunctions),
                         [](const auto& info) { return std::string(functionName(info.param)); });

// Where an unguarded double result is wrong, only the guard keeps the fast path right: the cases
// must contain such results, or the comparison could not catch a guard that is too narrow.
class UnguardedDouble : public ::testing::TestWithParam<ValueFunction> {};

TEST_P(UnguardedDouble, GetsSomeNearTieCasesWrong) {
    const ValueFunction f = GetParam();
    const FunctionCaseSampler sampler(f, seedFor(f) ^ 0xbeef, 64);
    ComparisonTally tally;
    for (const FunctionCase& c : sampler.nearTies())
        compareCase(f, c, tally);
    for (const std::string& m : tally.mismatchExamples)
        ADD_FAILURE() << m;
    EXPECT_EQ(tally.mismatches, 0u);
    EXPECT_GT(tally.unguardedWrong, 0u);
}

INSTANTIATE_TEST_SUITE_P(FunctionsWithWideErrors, UnguardedDouble,
                         ::testing::Values(ValueFunction::NaturalLog, ValueFunction::Exponential,
                                           ValueFunction::Power),
                         [](const auto& info) { return std::string(functionName(info.param)); });

// A double result within a few of its own ulps of a tie cannot decide the rounding: the fast
// path has to leave every such case to the extended code.
class FastPathFallback : public ::testing::TestWithParam<ValueFunction> {};

TEST_P(FastPathFallback, DeclinesResultsWithinAFewUlpsOfATie) {
    const ValueFunction f = GetParam();
    const FunctionCaseSampler sampler(f, seedFor(f) ^ 0xcafe, 64);
    int undecidable = 0;
    for (const FunctionCase& c : sampler.nearTies()) {
        Extended r = 0.0L;
        ASSERT_TRUE(extendedQuantity(f, c, r)) << describe(f, c);
        const double asDouble = static_cast<double>(r);
        const double ulp = std::nextafter(std::fabs(asDouble), INFINITY) - std::fabs(asDouble);
        if (!(distanceToTie(r) <= 4.0L * ulp)) continue;
        ++undecidable;
        EXPECT_FALSE(fastPathKeeps(f, c)) << describe(f, c);
        EXPECT_EQ(outcomeOf([&] { return publicValue(f, c); }),
                  outcomeOf([&] { return extendedValue(f, c); }))
            << describe(f, c);
    }
    EXPECT_GT(undecidable, 0);
}

INSTANTIATE_TEST_SUITE_P(FunctionsWithConstructedTies, FastPathFallback,
                         ::testing::Values(ValueFunction::NaturalLog, ValueFunction::Exponential,
                                           ValueFunction::Power),
                         [](const auto& info) { return std::string(functionName(info.param)); });

TEST(PowerFallback, DeclinesEveryExactTie) {
    for (const FunctionCase& c : exactPowerTies()) {
        SCOPED_TRACE(describe(ValueFunction::Power, c));
        // The exact power, 10^8 / b or 10^6 / sqrt(b) units, is an odd multiple of 0.5.
        const std::uint64_t b = c.baseUnits;
        if (c.argument.units() == -10'000) {
            ASSERT_EQ(200'000'000 % b, 0u);
            EXPECT_EQ((200'000'000 / b) % 2, 1u);
        } else {
            ASSERT_EQ(c.argument.units(), -5'000);
            const auto root = static_cast<std::uint64_t>(std::llround(std::sqrt(double(b))));
            ASSERT_EQ(root * root, b);
            ASSERT_EQ(2'000'000 % root, 0u);
            EXPECT_EQ((2'000'000 / root) % 2, 1u);
        }
        EXPECT_FALSE(fastPathKeeps(ValueFunction::Power, c));
        EXPECT_EQ(positivePowerValue(c.baseUnits, c.argument),
                  extendedPositivePowerValue(c.baseUnits, c.argument));
    }
}

// n^-1 is 10^4 / n units: a tie exactly where 2 × 10^4 / n is an odd whole number (n = 32, 160,
// 800, 4000), and at least 1 / (2n) from one elsewhere, far beyond the double's error.
TEST(PowerFallback, ReciprocalsOfWholeNumbersFallBackExactlyAtTheTies) {
    int ties = 0;
    for (std::uint64_t n = 1; n <= 10'000; ++n) {
        SCOPED_TRACE(n);
        const bool tie = 20'000 % n == 0 && (20'000 / n) % 2 == 1;
        ties += tie ? 1 : 0;
        const FunctionCase c = power(n * 10'000, -10'000);
        EXPECT_EQ(fastPathKeeps(ValueFunction::Power, c), !tie);
        EXPECT_EQ(positivePowerValue(c.baseUnits, c.argument),
                  extendedPositivePowerValue(c.baseUnits, c.argument));
    }
    EXPECT_EQ(ties, 4);
}

// The square root of a whole number n <= 10^4 is 100 sqrt(n) units: whole for a square, and
// otherwise at least 10^-5 units from a tie, which the double resolves.
TEST(PowerFastPath, CarriesEverySquareRootOfASmallWholeNumber) {
    for (std::uint64_t n = 1; n <= 10'000; ++n) {
        SCOPED_TRACE(n);
        const FunctionCase c = power(n * 10'000, 5'000);
        std::int64_t units = 0;
        ASSERT_TRUE(fastAttempt(ValueFunction::Power, c, units));
        EXPECT_EQ(units, extendedPositivePowerValue(c.baseUnits, c.argument).units());
    }
}

TEST(FunctionFastPath, CarriesTheTypicalArguments) {
    const struct {
        ValueFunction f;
        FunctionCase c;
    } cases[] = {
        {ValueFunction::Sine, argument(15'000)},
        {ValueFunction::Cosine, argument(15'000)},
        {ValueFunction::Tangent, argument(10'000)},
        {ValueFunction::NaturalLog, argument(20'000)},
        {ValueFunction::Exponential, argument(10'000)},
        {ValueFunction::Power, power(15'000, 20'000)},
        {ValueFunction::Power, power(5'000, 5'000)},
        {ValueFunction::Sine, argument(31'416)},
        {ValueFunction::Cosine, argument(-123'456'789)},
        {ValueFunction::NaturalLog, argument(1)},
        {ValueFunction::Exponential, argument(-100'000)},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(describe(t.f, t.c));
        std::int64_t units = 0;
        ASSERT_TRUE(fastAttempt(t.f, t.c, units));
        EXPECT_EQ(units, extendedValue(t.f, t.c).units());
    }
}

TEST(FunctionValues, GiveTheDocumentedResults) {
    const struct {
        ValueFunction f;
        FunctionCase c;
        const char* expected;
    } cases[] = {
        {ValueFunction::Sine, argument(31'416), "0"},
        {ValueFunction::Cosine, argument(31'416), "-1"},
        {ValueFunction::Tangent, argument(15'708), "-272241.8084"},
        {ValueFunction::Tangent, argument(10'000), "1.5574"},
        {ValueFunction::Exponential, argument(10'000), "2.7183"},
        {ValueFunction::Exponential, argument(-100'000), "0"},
        {ValueFunction::NaturalLog, argument(20'000), "0.6931"},
        {ValueFunction::NaturalLog, argument(1), "-9.2103"},
        {ValueFunction::Sine, argument(15'000), "0.9975"},
        {ValueFunction::Exponential, argument(344'579), "922307686323233.0136"},
        {ValueFunction::Power, power(15'000, 20'000), "2.25"},
        {ValueFunction::Power, power(20'000, -10'000), "0.5"},
        {ValueFunction::Power, power(5'000, 5'000), "0.7071"},
        {ValueFunction::Power, power(20'000, 40'000), "16"},
        {ValueFunction::Power, power(20'000, 30'000), "8"},
        {ValueFunction::Power, power(3'000, 20'000), "0.09"},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(describe(t.f, t.c));
        EXPECT_EQ(toText(publicValue(t.f, t.c)), t.expected);
        EXPECT_EQ(toText(extendedValue(t.f, t.c)), t.expected);
    }
}

TEST(FunctionFailures, ComeFromTheExtendedCodeWithTheSameKindAndMessage) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const struct {
        ValueFunction f;
        FunctionCase c;
        const char* kind;
    } cases[] = {
        {ValueFunction::NaturalLog, argument(0), "EZeroDivide"},
        {ValueFunction::NaturalLog, argument(-1), "EInvalidOp"},
        {ValueFunction::NaturalLog, argument(kMin), "EInvalidOp"},
        {ValueFunction::Exponential, argument(344'580), "EInvalidOp"},
        {ValueFunction::Exponential, argument(10'000'000), "EInvalidOp"},
        {ValueFunction::Exponential, argument(113'500'000), "EOverflow"},
        {ValueFunction::Exponential, argument(120'000'000), "EOverflow"},
        {ValueFunction::Exponential, argument(kMax), "EOverflow"},
        {ValueFunction::Power, power(0, 10'000), "EZeroDivide"},
        {ValueFunction::Power, power(std::uint64_t{1} << 63, 20'000), "EInvalidOp"},
        {ValueFunction::Power, power(20'000, 500'000), "EInvalidOp"},
        {ValueFunction::Power, power(20'000, kMax), "EOverflow"},
        {ValueFunction::Power, power(1, kMin), "EOverflow"},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(describe(t.f, t.c));
        EXPECT_FALSE(fastPathKeeps(t.f, t.c));
        const ValueOutcome fast = outcomeOf([&] { return publicValue(t.f, t.c); });
        EXPECT_EQ(fast, outcomeOf([&] { return extendedValue(t.f, t.c); }));
        EXPECT_EQ(fast.kind, t.kind);
    }
}

TEST(PowerFastPath, LeavesResultsThatVanishOrExplodeToTheExtendedCode) {
    const FunctionCase cases[] = {
        power(1, std::numeric_limits<std::int64_t>::max()),       // 0.0001^huge: 0
        power(20'000, -100'000'000),                              // 2^-10000: 0
        power(std::uint64_t{1} << 63, 10'000),                    // beyond 2^50 units
        power(10'000, std::numeric_limits<std::int64_t>::min()),  // 1^e is 1, but e is huge
    };
    for (const FunctionCase& c : cases) {
        SCOPED_TRACE(describe(ValueFunction::Power, c));
        EXPECT_FALSE(fastPathKeeps(ValueFunction::Power, c));
        EXPECT_EQ(outcomeOf([&] { return positivePowerValue(c.baseUnits, c.argument); }),
                  outcomeOf([&] { return extendedPositivePowerValue(c.baseUnits, c.argument); }));
    }
}

}  // namespace
}  // namespace kurvilo
