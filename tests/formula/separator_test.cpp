// SPDX-License-Identifier: MIT
// Literals in a formula always use "."; value texts use the process-wide separator.
#include "numbers/separator.h"

#include "formula_test_support.h"

namespace kurvilo {
namespace {

TEST(FormulaSeparator, CommaSeparatorReadsValueTextsWithCommaAndLiteralsWithPoint) {
    SeparatorGuard guard;
    setDecimalSeparator(U',');
    FormulaInputs in;
    in.values = {"0,3", "0,5", "-2", "4", "1,5"};
    in.constants = {"2", "3", "0", "-1"};
    expectValues({{"x+1.5", "2"},
                  {"2(x+1)^2-sin(t)x", "4,0012"},
                  {"x.5", "0,25"},
                  {"10/4", "2,5"},
                  {"(x+1)(x+1)", "2,25"},
                  {"sin(1.5)", "0,9975"}},
                 in);
    // A value text written with "." is not a number here.
    in.values[1] = "0.5";
    EXPECT_EQ(evaluateOutcome("x", in), "EConvertError: '0.5' is not a valid floating point value");
}

TEST(FormulaSeparator, SummationTotalsWithAFractionReadBackWithComma) {
    SeparatorGuard guard;
    setDecimalSeparator(U',');
    FormulaInputs in;
    expectValues({{"\u03A3{n=1<>3:n/2}", "3"},
                  {"\u03A3{n=1<>1:0.5}+1", "1,5"},
                  {"2\u03A3{n=1<>2:0.25}", "1"}},
                 in);
}

TEST(FormulaSeparator, MostNegativeSummationTotalReadsBack) {
    FormulaInputs in;
    in.values[0] = "-922337203685477.5808";
    expectValues({{"\u03A3{n=1<>1:vx}", "-922337203685477.5808"}}, in);
}

TEST(FormulaSeparator, SeparatorOutsideAsciiWorksInValueTexts) {
    SeparatorGuard guard;
    setDecimalSeparator(U'\u066B');
    FormulaInputs in;
    in.values[1] = "0\u066B5";
    expectValues({{"x*3", "1\u066B5"}, {"x+0.25", "0\u066B75"}}, in);
}

}  // namespace
}  // namespace kurvilo
