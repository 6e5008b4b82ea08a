// SPDX-License-Identifier: MIT
// The arithmetic forms of the scan: products and quotients round once, half to even; sums are
// exact; every result outside the range fails.
#include "formula_test_support.h"

namespace kurvilo {
namespace {

TEST(ScanArithmetic, ProductsRoundOnceHalfToEven) {
    FormulaInputs in;
    in.values = {"0", "0.5", "0.9975", "1.5", "0"};
    expectValues({{"y*vy", "1.4962"},  // 14962.5 units: the even neighbour
                  {"x*vy", "0.4988"},  // 4987.5 units: the even neighbour
                  {"0.0001*0.5", "0"},
                  {"0.0003*0.5", "0.0002"},
                  {"(-0.0003)*0.5", "-0.0002"},
                  {"(-3)*(-2)", "6"}},
                 in);
}

TEST(ScanArithmetic, QuotientsKeepTheirSign) {
    expectValues({{"1/3", "0.3333"},
                  {"2/3", "0.6667"},
                  {"-2/3", "-0.6667"},
                  {"y/(-4)", "-1"},
                  {"(-1)/(-4)", "0.25"},
                  {"1/(-3)", "-0.3333"}});
}

TEST(ScanArithmetic, SumsAreExactUpToTheRangeEnds) {
    expectValues({{"922337203685477+0.5807", "922337203685477.5807"},
                  {"100000000000000.0001+1", "100000000000001.0001"},
                  {"0-922337203685477.5807", "-922337203685477.5807"},
                  {"0.1+0.2-0.3", "0"}});
}

TEST(ScanArithmetic, ResultsOutsideTheRangeFail) {
    for (const char* formula : {"922337203685477.5807+1", "0-922337203685477.5807-1",
                                "10000000000^2", "922337203685477*2", "922337203685477/0.5",
                                "exp(34.458)", "922337203685477.5807+0.0001"}) {
        SCOPED_TRACE(formula);
        EXPECT_FAILURE(EvaluateFormula(formula, sampleInputs()), EInvalidOp);
    }
}

TEST(ScanArithmetic, DivisionByZeroFailsByItsNumerator) {
    EXPECT_FAILURE(EvaluateFormula("x/0", sampleInputs()), EZeroDivide);
    EXPECT_FAILURE(EvaluateFormula("-1/0", sampleInputs()), EZeroDivide);
    EXPECT_FAILURE(EvaluateFormula("0/0", sampleInputs()), EInvalidOp);
    EXPECT_FAILURE(EvaluateFormula("c/c", sampleInputs()), EInvalidOp);
}

TEST(ScanArithmetic, HugeExponentsOverflowTheExtendedRange) {
    EXPECT_FAILURE(EvaluateFormula("exp(12000)", sampleInputs()), EOverflow);
    EXPECT_FAILURE(EvaluateFormula("10^100000", sampleInputs()), EOverflow);
}

}  // namespace
}  // namespace kurvilo
