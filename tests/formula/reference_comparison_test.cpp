// SPDX-License-Identifier: MIT
// The engine against the engine as it stood before it was made linear (tests/formula/reference):
// on a million seeded formulas, with varied value texts and separators, both give the same value
// or the same failure kind and message.
#include <string>

#include "common.h"
#include "formula/reference/reference_engine.h"
#include "formula_generator.h"
#include "formula_test_support.h"

namespace kurvilo {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kScale = 20;  // the sanitizer build is about twenty times slower
#else
constexpr int kScale = 1;
#endif

std::string referenceOutcome(const std::string& formula, const FormulaInputs& inputs) {
    return outcome([&] { return reference::ReferenceEvaluateFormula(formula, inputs); });
}

void compareOn(FormulaGenerator& generator, int count, int kind, const FormulaInputs& base) {
    FormulaInputs inputs = base;
    for (int i = 0; i < count; ++i) {
        if (i % 97 == 0)
            inputs.values[static_cast<std::size_t>(i / 97 % 5)] = generator.valueText();
        if (i % 89 == 0) {
            inputs.constants[static_cast<std::size_t>(i / 89 % 4)] = generator.valueText();
        }
        const std::string formula = kind == 0 ? generator.grammatical(3)
                                    : kind == 1
                                        ? generator.noise(1 + static_cast<std::size_t>(i % 30))
                                        : generator.hostile();
        const std::string expected = referenceOutcome(formula, inputs);
        const std::string actual = evaluateOutcome(formula, inputs);
        if (actual != expected) {
            ADD_FAILURE() << "formula '" << formula << "': engine " << actual << ", reference "
                          << expected;
            return;
        }
    }
}

TEST(ReferenceComparison, GrammaticalFormulasGiveTheSameOutcome) {
    FormulaGenerator generator(11);
    compareOn(generator, 600000 / kScale, 0, sampleInputs());
}

TEST(ReferenceComparison, ArbitraryCharactersGiveTheSameOutcome) {
    FormulaGenerator generator(12);
    compareOn(generator, 300000 / kScale, 1, sampleInputs());
}

TEST(ReferenceComparison, HostileTextsGiveTheSameOutcome) {
    FormulaGenerator generator(13);
    compareOn(generator, 100000 / kScale, 2, sampleInputs());
}

TEST(ReferenceComparison, ACommaSeparatorGivesTheSameOutcome) {
    SeparatorGuard guard;
    setDecimalSeparator(U',');
    FormulaGenerator generator(14);
    FormulaInputs inputs = sampleInputs();
    inputs.values = {"0,3", "0,5", "-2", "4", "1,5"};
    compareOn(generator, 50000 / kScale, 0, inputs);
    compareOn(generator, 50000 / kScale, 1, inputs);
}

// Every text of up to maxLength of the pieces against the reference engine.
template <std::size_t N>
void compareEveryText(const char* const (&pieces)[N], int maxLength) {
    const FormulaInputs inputs = sampleInputs();
    std::size_t total = 1;
    for (int length = 1; length <= maxLength; ++length) {
        total *= N;
        for (std::size_t code = 0; code < total; ++code) {
            std::string formula;
            for (std::size_t rest = code, k = 0; k < static_cast<std::size_t>(length); ++k) {
                formula += pieces[rest % N];
                rest /= N;
            }
            const std::string expected = referenceOutcome(formula, inputs);
            const std::string actual = evaluateOutcome(formula, inputs);
            if (actual != expected) {
                FAIL() << "formula '" << formula << "': engine " << actual << ", reference "
                       << expected;
            }
        }
    }
}

TEST(ReferenceComparison, EveryShortTextOfNamesAndOperatorsGivesTheSameOutcome) {
    // Names next to names, digits, signs, powers and characters the scan does not know, where
    // implied multiplication decides the most.
    const char* const pieces[] = {"x", "v", "y", "t",      "2",      ".", "^", "*",
                                  "-", "+", "/", "\u03B8", "\u03C0", "n", " "};
    compareEveryText(pieces, kScale > 1 ? 4 : 5);
}

TEST(ReferenceComparison, EveryShortTextOfNamesAndValueAtomsGivesTheSameOutcome) {
    // Names inside, before and after value atoms, nested and unclosed ones, functions of them.
    const char* const pieces[] = {"x", "vx", "2", "[", "]",   "[1.5]", "[-2]", "^",
                                  "*", "-",  "(", ")", "sin", "a",     " "};
    compareEveryText(pieces, kScale > 1 ? 3 : 5);
}

TEST(ReferenceComparison, TheRangeEndsGiveTheSameOutcome) {
    // The most negative value has no positive twin in 64 bits: its powers take its magnitude.
    FormulaInputs inputs = sampleInputs();
    inputs.values[1] = "-922337203685477.5808";
    inputs.values[3] = "922337203685477.5807";
    for (const char* formula : {"x^0", "x^1", "x^2", "x^-1", "x^0.5", "y^0", "y^-1", "x*0.0001",
                                "x+y", "y-x", "x/x", "-x", "sin(x)", "exp(y)", "ln(y)"}) {
        SCOPED_TRACE(formula);
        EXPECT_EQ(evaluateOutcome(formula, inputs), referenceOutcome(formula, inputs));
    }
}

TEST(ReferenceComparison, LongTextsGiveTheSameOutcome) {
    // Texts long enough that a restart from the beginning would show, short enough for the
    // reference to finish.
    const FormulaInputs inputs = sampleInputs();
    std::string nested;
    for (int i = 0; i < 2000; ++i)
        nested += "(";
    nested += "x";
    for (int i = 0; i < 2000; ++i)
        nested += i % 3 == 0 ? ")" : "+1)";
    std::string sines;
    std::string atoms;
    std::string sums;
    for (int i = 0; i < 3000; ++i) {
        sines += "sin(" + std::to_string(i % 7) + ")x+";
        atoms += "[[" + std::to_string(i % 5) + "]]*";
        sums += "\u03A3{n=1<>3:n^2}-";
    }
    for (const std::string& formula : {nested, sines, atoms, sums, sines + "(", atoms + "]"}) {
        SCOPED_TRACE(formula.substr(0, 40));
        EXPECT_EQ(evaluateOutcome(formula, inputs), referenceOutcome(formula, inputs));
    }
}

}  // namespace
}  // namespace kurvilo
