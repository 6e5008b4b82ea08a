// SPDX-License-Identifier: MIT
#include "formula_test_support.h"

namespace kurvilo {
namespace {

TEST(Summation, SumsTheBodyOverTheIndexRange) {
    expectValues({{"\u03A3{n=1<>10:n}", "55"},
                  {"\u03A3{n=1<>1:n}", "1"},
                  {"\u03A3{n=-2<>2:n^2}", "10"},
                  {"\u03A3{n=1<>4:(-1)^n}", "0"},
                  {"\u03A3{n=$1<>$A:n}", "55"},
                  {"\u03A3{n=1<>3:x}", "1.5"},
                  {"\u03A3{k=1<>3:n}", "6"}});
}

TEST(Summation, TotalsBehaveAsBracketedGroups) {
    expectValues({{"2\u03A3{n=1<>3:n^2}", "28"},
                  {"(\u03A3{n=1<>3:n})^2", "36"},
                  {"\u03A3{n=1<>3:n}\u03A3{n=1<>2:n}", "18"},
                  {"sin\u03A3{n=0<>0:n}", "0"},
                  {"1-\u03A3{n=1<>2:n}", "-2"}});
}

TEST(Summation, InnerTermsExpandFirstWithTheirOwnIndex) {
    expectValues(
        {{"\u03A3{n=1<>3:\u03A3{n=1<>2:n}}", "9"}, {"\u03A3{n=1<>2:\u03A3{n=1<>3:n}n}", "18"}});
}

TEST(Summation, CounterKeepsTheUpperBoundOfTheLastTerm) {
    expectValues(
        {{"\u03A3{n=1<>3:n}+n", "9"}, {"\u03A3{n=1<>3:n}+\u03A3{n=1<>2:n}+n", "11"}, {"n", "0"}});
}

TEST(Summation, EmptyRangeSumsToZeroAndLeavesTheUpperBound) {
    expectValues({{"\u03A3{n=3<>1:n}", "0"}, {"\u03A3{n=3<>1:n}+n", "1"}});
}

TEST(Summation, BadBoundsFailTheEvaluation) {
    const struct {
        const char* formula;
        const char* expected;
    } cases[] = {
        {"\u03A3{n=1<>x:n}", "EConvertError: 'x' is not a valid integer value"},
        {"\u03A3{n=1<>3}", "EConvertError: '' is not a valid integer value"},
        {"\u03A3{n=1<>3:n", "EConvertError: '' is not a valid integer value"},
        {"\u03A3{n=13:n}", "EConvertError: '' is not a valid integer value"},
        {"\u03A3{n=1.5<>3:n}", "EConvertError: '1.5' is not a valid integer value"},
        {"\u03A3{n=1<>2:1/0}", "EZeroDivide: Floating point division by zero"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        EXPECT_EQ(evaluateOutcome(c.formula), c.expected);
    }
}

TEST(Summation, TotalLeavingTheRangeFailsWithInvalidOp) {
    // The running total passes 922337203685477.5807 at n = 140390.
    EXPECT_FAILURE(EvaluateFormula("\u03A3{n=1<>1000000:n^2}", sampleInputs()), EInvalidOp);
    // One term earlier it still fits, and equals the closed form N(N+1)(2N+1)/6.
    const long long n = 140389;
    EXPECT_EQ(evaluateOutcome("\u03A3{n=1<>140389:n^2}"),
              "ok:" + std::to_string(n * (n + 1) * (2 * n + 1) / 6));
}

}  // namespace
}  // namespace kurvilo
