// SPDX-License-Identifier: MIT
#include "numbers/elementary.h"

#include <cmath>
#include <limits>

#include "common.h"

namespace kurvilo {
namespace {

Fixed4 viaFunctionForm(Extended (*f)(Extended), const char* argument) {
    return applyFunction(f, parseFixed4(std::string_view(argument)));
}

TEST(FunctionForm, GivesTheDocumentedValues) {
    const struct {
        Extended (*f)(Extended);
        const char* argument;
        const char* expected;
    } cases[] = {
        {sine, "3.1416", "0"},
        {cosine, "3.1416", "-1"},
        {tangent, "1.5708", "-272241.8084"},
        {tangent, "1", "1.5574"},
        {exponential, "1", "2.7183"},
        {exponential, "-10", "0"},
        {exponential, "-100000", "0"},
        {naturalLog, "2", "0.6931"},
        {naturalLog, "0.0001", "-9.2103"},
        {sine, "1.5", "0.9975"},
        {exponential, "34.4579", "922307686323233.0136"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        EXPECT_EQ(toText(viaFunctionForm(c.f, c.argument)), c.expected);
    }
}

TEST(FunctionForm, ExponentialOf34Point458LeavesTheRange) {
    EXPECT_FAILURE(viaFunctionForm(exponential, "34.458"), EInvalidOp);
}

TEST(FunctionEdges, RaiseTheNamedFailures) {
    EXPECT_FAILURE(naturalLog(0.0L), EZeroDivide);
    EXPECT_FAILURE(naturalLog(-1.0L), EInvalidOp);
    EXPECT_FAILURE(exponential(12000.0L), EOverflow);
    EXPECT_EQ(exponential(-20000.0L), 0.0L);
    EXPECT_FAILURE(truncateToInt64(0x1p63L), EInvalidOp);
    EXPECT_FAILURE(truncateToInt64(-0x1p63L - 2.0L), EInvalidOp);
    EXPECT_FAILURE(truncateToInt64(std::numeric_limits<Extended>::quiet_NaN()), EInvalidOp);
}

TEST(Truncation, DropsTheFractionTowardZero) {
    const struct {
        Extended x;
        std::int64_t whole;
    } cases[] = {
        {3.7L, 3},
        {-3.7L, -3},
        {0.5L, 0},
        {-0.5L, 0},
        {-0.99L, 0},
        {200.5L, 200},
        {-1.0L, -1},
        {2.5L, 2},
        {-2.5L, -2},
        {0x1p63L - 0.5L, std::numeric_limits<std::int64_t>::max()},
        {-0x1p63L, std::numeric_limits<std::int64_t>::min()},
        {-0x1p62L - 0.5L, -(std::int64_t{1} << 62)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<double>(c.x));
        EXPECT_EQ(truncateToInt64(c.x), c.whole);
        EXPECT_EQ(integralPart(c.x), static_cast<Extended>(c.whole));
    }
    EXPECT_EQ(absolute(-2.5L), 2.5L);
}

TEST(FunctionForm, ResultsBeyondTheExtendedRangeOnceScaledOverflow) {
    EXPECT_FAILURE(toUnits(1e4930L), EOverflow);
    EXPECT_FAILURE(applyFunction(exponential, parseFixed4(std::string_view("11350"))), EOverflow);
    EXPECT_EQ(toUnits(2.5L), 25000.0L);
}

}  // namespace
}  // namespace kurvilo
