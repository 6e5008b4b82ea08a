// SPDX-License-Identifier: MIT
// Seeded random formulas, built from the language's pieces and from arbitrary characters: every
// one gives a value or a named failure, and none crashes or hangs (run under the sanitizers too).
#include <string>

#include "formula_generator.h"
#include "formula_test_support.h"

namespace kurvilo {
namespace {

std::string classify(const std::string& formula, const FormulaInputs& inputs) {
    try {
        EvaluateFormula(formula, inputs);
        return "value";
    } catch (const EConvertError&) {
        return "EConvertError";
    } catch (const EZeroDivide&) {
        return "EZeroDivide";
    } catch (const EInvalidOp&) {
        return "EInvalidOp";
    } catch (const EOverflow&) {
        return "EOverflow";
    }
}

TEST(RandomFormulas, GrammaticalFormulasGiveAValueOrANamedFailure) {
    FormulaGenerator generator(20261207);
    const FormulaInputs inputs = sampleInputs();
    int values = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string formula = generator.grammatical(3);
        SCOPED_TRACE(formula);
        if (classify(formula, inputs) == "value") ++values;
        // The same formula gives the same outcome again: nothing leaks between calls.
        ASSERT_EQ(classify(formula, inputs), classify(formula, inputs));
    }
    EXPECT_GT(values, 1000);  // the generator is not producing only failures
}

TEST(RandomFormulas, ArbitraryCharactersNeverCrashOrHang) {
    FormulaGenerator generator(77);
    FormulaInputs inputs = sampleInputs();
    for (int i = 0; i < 20000; ++i) {
        if (i % 1000 == 0) inputs.constants[i / 1000 % 4] = generator.noise(3);
        const std::string formula = generator.noise(1 + static_cast<std::size_t>(i % 24));
        SCOPED_TRACE(formula);
        const std::string kind = classify(formula, inputs);
        EXPECT_FALSE(kind.empty());
    }
}

}  // namespace
}  // namespace kurvilo
