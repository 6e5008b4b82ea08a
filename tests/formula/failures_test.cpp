// SPDX-License-Identifier: MIT
// What fails, with which failure and which message, and what cannot loop or grow forever.
#include "formula_test_support.h"

namespace kurvilo {
namespace {

TEST(FormulaFailures, NamedFailureAndMessagePerCase) {
    FormulaInputs lettersInA = sampleInputs();
    lettersInA.constants[0] = "abc";
    FormulaInputs emptyB = sampleInputs();
    emptyB.constants[1] = "";
    const struct {
        const char* formula;
        FormulaInputs inputs;
        const char* expected;
    } cases[] = {
        {"x/0", sampleInputs(), "EZeroDivide: Floating point division by zero"},
        {"ln(0)", sampleInputs(), "EZeroDivide: Floating point division by zero"},
        {"log(c)", sampleInputs(), "EZeroDivide: Floating point division by zero"},
        {"ln(-1)", sampleInputs(), "EInvalidOp: Invalid floating point operation"},
        {"1.2.3", sampleInputs(), "EConvertError: '1.2.3' is not a valid floating point value"},
        {"b+1", emptyB, "EConvertError: '' is not a valid floating point value"},
        {"2a", lettersInA, "EConvertError: 'abc' is not a valid floating point value"},
        {"sin(x)(", sampleInputs(), "ok:0"},
        {"[]", sampleInputs(), "EConvertError: '' is not a valid floating point value"},
        {"sin2(x)", sampleInputs(), "EConvertError: '*[0.5' is not a valid floating point value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        EXPECT_EQ(evaluateOutcome(c.formula, c.inputs), c.expected);
    }
}

TEST(FormulaFailures, FunctionWithoutAClosingBracketFailsInsteadOfSearchingForever) {
    const struct {
        const char* formula;
        const char* rest;
    } cases[] = {{"sinx", "x"}, {"2sin", ""}, {"sin x", " x"}, {"exp", ""}, {"lnx+1", "x+1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        EXPECT_EQ(evaluateOutcome(c.formula), std::string("EConvertError: '") + c.rest +
                                                  "' is not a valid floating point value");
    }
}

TEST(FormulaFailures, SubstitutedTextThatNamesItselfFails) {
    FormulaInputs in = sampleInputs();
    in.constants[0] = "a";
    EXPECT_EQ(evaluateOutcome("2a", in), "EConvertError: 'a' is not a valid floating point value");
    in = sampleInputs();
    in.values[1] = "x+1";
    EXPECT_EQ(evaluateOutcome("x", in), "EConvertError: 'x+1' is not a valid floating point value");
    // The name is absent from the formula: nothing is substituted, nothing fails.
    EXPECT_EQ(evaluateOutcome("y", in), "ok:4");
}

TEST(FormulaFailures, SubstitutionChainsThatExplodeFailInsteadOfGrowing) {
    // Each x names 64 y's, each y 64 t's, and so on: far too large to be a number.
    FormulaInputs in = sampleInputs();
    in.values[0] = std::string(64, 'x');
    in.values[1] = std::string(64, 'y');
    in.values[3] = std::string(64, 't');
    in.values[4] = std::string(64, 'r');
    EXPECT_FAILURE(EvaluateFormula("vx", in), EConvertError);
}

TEST(FormulaFailures, NothingSurvivesAFailedCall) {
    // A failure mid-way through one call leaves the next call clean.
    EXPECT_FAILURE(EvaluateFormula("2*(3+\u03A3{n=1<>2:1/0})", sampleInputs()), EZeroDivide);
    EXPECT_EQ(evaluateOutcome("n+2*3"), "ok:6");
}

TEST(FormulaFailures, ValuesThatOverflowOnTheWayToUnitsFailWithOverflow) {
    // exp(11350) is still an extended real, but times 10000 it is not.
    for (const char* formula : {"exp(11350)", "10^4931", "(-10)^4931"}) {
        SCOPED_TRACE(formula);
        EXPECT_FAILURE(EvaluateFormula(formula, sampleInputs()), EOverflow);
    }
}

TEST(FormulaFailures, LongButHarmlessTextsStillGiveTheirValue) {
    // Far more substitutions than any chain guard allows: these are plain texts, not chains.
    FormulaInputs in = sampleInputs();
    EXPECT_EQ(evaluateOutcome(std::string(200000, 'x'), in), "ok:0");
    std::string sum;
    for (int i = 0; i < 300000; ++i)
        sum += "0+";
    EXPECT_EQ(evaluateOutcome(sum + "x", in), "ok:0.5");
    in.values[1] = std::string(1100000, ' ') + "5";
    EXPECT_EQ(evaluateOutcome("x", in), "ok:5");
}

TEST(FormulaFailures, NulIsAnUnknownCharacterLikeAnyOther) {
    // After the name stands a character, so a "*" is written and then applied in the sum phase.
    FormulaInputs in = sampleInputs();
    in.values[1] = "922337203685477";
    EXPECT_FAILURE(EvaluateFormula(std::string("x\0", 2), in), EInvalidOp);
    EXPECT_FAILURE(EvaluateFormula("x z", in), EInvalidOp);
}

TEST(FormulaFailures, MessagesKeepMalformedBytesAsTheyWere) {
    FormulaInputs in = sampleInputs();
    in.values[1] = "1\xff";
    EXPECT_EQ(evaluateOutcome("x", in),
              "EConvertError: '1\xff' is not a valid floating point value");
}

}  // namespace
}  // namespace kurvilo
