// SPDX-License-Identifier: MIT
// The limits an evaluation keeps whatever its input: it can be cancelled from another thread, its
// working text never outgrows its cap, and memory that runs out is a named failure.
#include <chrono>
#include <string>
#include <thread>

#include "formula_test_support.h"

namespace kurvilo {
namespace {

Fixed4 evaluateWith(const std::string& formula, const CancellationToken& token) {
    EvaluationOptions options;
    options.cancel = &token;
    return EvaluateFormula(formula, sampleInputs(), options);
}

TEST(Cancellation, ACancelledTokenStopsTheEvaluationWithEAbort) {
    CancellationToken token;
    token.cancel();
    EXPECT_EQ(outcome([&] { return evaluateWith("1+1", token); }), "EAbort: Operation aborted");
    token.reset();
    EXPECT_EQ(evaluateWith("1+1", token), units(20000));
}

TEST(Cancellation, ALongSummationStopsSoonAfterTheTokenIsSet) {
    CancellationToken token;
    std::thread canceller([&token] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        token.cancel();
    });
    // 10^9 terms would take minutes; the check inside the loop ends it.
    EXPECT_FAILURE(evaluateWith("\u03A3{n=1<>1000000000:n}", token), EAbort);
    canceller.join();
}

TEST(Cancellation, AnUnsetTokenChangesNoResult) {
    CancellationToken token;
    for (const char* formula : {"2(x+1)^2-sin(t)x", "\u03A3{n=1<>10:n}", "x/0", "3^2^2"}) {
        SCOPED_TRACE(formula);
        EXPECT_EQ(outcome([&] { return evaluateWith(formula, token); }), evaluateOutcome(formula));
    }
}

TEST(WorkingTextCap, ALongValueTextRepeatedFailsByNameInsteadOfExhaustingMemory) {
    // 200 copies of a 100001-digit text would make a text of 20 million characters.
    FormulaInputs in = sampleInputs();
    in.values[1] = std::string(100001, '1');
    std::string formula;
    for (int i = 0; i < 200; ++i)
        formula += i == 0 ? "x" : "/x";
    EXPECT_EQ(evaluateOutcome(formula, in),
              "EFormulaTooLong: Formula text longer than 16777216 characters");
    // Under the cap the same text still evaluates (and fails as a number would).
    EXPECT_EQ(evaluateOutcome("x", in),
              "EConvertError: '" + in.values[1] + "' is not a valid floating point value");
}

TEST(WorkingTextCap, AFormulaLongerThanTheCapFailsAtOnce) {
    const std::string formula(kMaxWorkingText + 1, '1');
    EXPECT_EQ(evaluateOutcome(formula),
              "EFormulaTooLong: Formula text longer than 16777216 characters");
}

}  // namespace
}  // namespace kurvilo
