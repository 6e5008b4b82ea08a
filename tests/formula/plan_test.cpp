// SPDX-License-Identifier: MIT
// Plans against the rewriting they were recorded from: every formula evaluated again and again,
// with other values, names that are no plain numbers, another separator and on two threads, gives
// what the rewriting gives, the value or the failure's kind and message.
#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

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

// KURVILO_PLAN_SAMPLES multiplies the seeded samples, for a long run by hand.
int sampleFactor() {
    const char* factor = std::getenv("KURVILO_PLAN_SAMPLES");
    return factor != nullptr && std::atoi(factor) > 0 ? std::atoi(factor) : 1;
}

std::string rewritingOutcome(const std::string& formula, const FormulaInputs& inputs) {
    EvaluationOptions options;
    options.plans = false;
    return outcome([&] { return EvaluateFormula(formula, inputs, options); });
}

FormulaInputs makeInputs(std::array<std::string, 5> values, std::array<std::string, 4> constants) {
    FormulaInputs inputs;
    inputs.values = std::move(values);
    inputs.constants = std::move(constants);
    return inputs;
}

// Value sets for the same formulas in turn: each one meets another value-dependent point of the
// rewriting (a base of 0, a negative base under a fraction, a divisor of 0, a range end, a
// function's edge) or keeps the plan from being used (the names that are no plain numbers),
// followed by plain ones again.
const std::vector<FormulaInputs>& valueSets() {
    static const std::vector<FormulaInputs> sets = {
        sampleInputs(),
        makeInputs({"0", "0", "0", "0", "0"}, {"0", "0", "0", "0"}),
        makeInputs({"0.0001", "-0.0001", "0.0001", "-0.0001", "0.0001"},
                   {"-0.0001", "0.0001", "0", "0.0001"}),
        makeInputs({"-2", "-0.5", "-3.7", "-1", "-0.25"}, {"-1", "-2", "-0.5", "-3"}),
        makeInputs({" 7 ", "+3", "1e2", "x", "(1)"}, {"[2]", "", "0.5", "y"}),
        makeInputs({"99999999999999.9999", "-99999999999999.9999", "922337203685477.5807",
                    "-922337203685477.5808", "0.0001"},
                   {"12345678901234.5678", "-12345678901234", "123456789012345", "1"}),
        makeInputs({"1.5708", "-1", "0", "-0.0001", "1.5708"}, {"1.5708", "0", "-2", "1"}),
        makeInputs({"36", "34.4579", "34.458", "10", "-36"}, {"36", "-36", "34.458", "0"}),
        makeInputs({"0.3", "0.5", "-2", "4", "1.5"}, {"0", "3", "0", "-1"}),
    };
    return sets;
}

// Each formula under every value set in turn, the first one differing from formula to formula
// (so that what comes before a set varies too); false at the first difference.
bool compareReusing(const std::string& formula, std::size_t first,
                    const std::vector<FormulaInputs>& sets) {
    for (std::size_t k = 0; k < sets.size(); ++k) {
        const FormulaInputs& inputs = sets[(first + k) % sets.size()];
        const std::string expected = rewritingOutcome(formula, inputs);
        const std::string actual = evaluateOutcome(formula, inputs);
        if (actual != expected) {
            ADD_FAILURE() << "formula '" << formula << "' under value set "
                          << (first + k) % sets.size() << ": plan " << actual << ", rewriting "
                          << expected;
            return false;
        }
    }
    return true;
}

enum class Kind { Grammatical, Noise, Hostile };

void compareSeeded(std::uint64_t seed, int formulas, Kind kind,
                   const std::vector<FormulaInputs>& sets) {
    FormulaGenerator generator(seed);
    const int count = formulas * sampleFactor() / kScale;
    for (int i = 0; i < count; ++i) {
        const std::string formula = kind == Kind::Grammatical ? generator.grammatical(3)
                                    : kind == Kind::Noise
                                        ? generator.noise(1 + static_cast<std::size_t>(i % 30))
                                        : generator.hostile();
        if (!compareReusing(formula, static_cast<std::size_t>(i), sets)) return;
    }
}

// About a million evaluations in all, each also done by the rewriting.
TEST(PlanReuse, GrammaticalFormulasUnderEveryValueSetGiveTheRewritingsOutcome) {
    compareSeeded(21, 60000, Kind::Grammatical, valueSets());
}

TEST(PlanReuse, ArbitraryCharactersUnderEveryValueSetGiveTheRewritingsOutcome) {
    compareSeeded(22, 30000, Kind::Noise, valueSets());
}

TEST(PlanReuse, HostileTextsUnderEveryValueSetGiveTheRewritingsOutcome) {
    compareSeeded(23, 6000, Kind::Hostile, valueSets());
}

TEST(PlanReuse, ACommaSeparatorUnderEveryValueSetGivesTheRewritingsOutcome) {
    SeparatorGuard guard;
    setDecimalSeparator(U',');
    std::vector<FormulaInputs> sets = valueSets();
    sets.push_back(makeInputs({"0,3", "0,5", "-2", "4", "1,5"}, {"-0,0001", "1,5708", "0", "36"}));
    sets.push_back(makeInputs({"-0,5", "0,0001", "1,5", "-2,5", "0"}, {"1,5", "2", "3", "-1"}));
    compareSeeded(24, 8000, Kind::Grammatical, sets);
    compareSeeded(25, 4000, Kind::Noise, sets);
}

TEST(PlanReuse, ThePlanSeenAgainAfterOtherFormulasGivesTheRewritingsOutcome) {
    // More formulas in turn than a thread keeps plans for, so plans are dropped and made again.
    FormulaGenerator generator(26);
    std::vector<std::string> formulas;
    for (int i = 0; i < 13; ++i)
        formulas.push_back(generator.grammatical(2));
    const std::vector<FormulaInputs>& sets = valueSets();
    for (int round = 0; round < 40; ++round) {
        for (std::size_t f = 0; f < formulas.size(); ++f) {
            const FormulaInputs& inputs = sets[(f + static_cast<std::size_t>(round)) % sets.size()];
            ASSERT_EQ(evaluateOutcome(formulas[f], inputs), rewritingOutcome(formulas[f], inputs))
                << formulas[f];
        }
    }
}

TEST(PlanReuse, AChangeOfSeparatorBetweenTwoEvaluationsGivesTheRewritingsOutcome) {
    SeparatorGuard guard;
    FormulaGenerator generator(27);
    const FormulaInputs point = makeInputs({"0.3", "0.5", "-2", "4", "1.5"}, {"2", "3", "0", "-1"});
    const FormulaInputs comma = makeInputs({"0,3", "0,5", "-2", "4", "1,5"}, {"2", "3", "0", "-1"});
    for (const char* fixed : {"2(x+1)^2-sin(t)x", "x^0.5+\u03C0", "\u03A3{n=1<>3:n*x}", "x.5"}) {
        for (const char32_t separator : {U'.', U',', U'.', U'\u066B', U','}) {
            setDecimalSeparator(separator);
            for (const FormulaInputs* inputs : {&point, &comma, &point}) {
                ASSERT_EQ(evaluateOutcome(fixed, *inputs), rewritingOutcome(fixed, *inputs))
                    << fixed;
            }
        }
    }
    const int count = 20000 * sampleFactor() / kScale;
    for (int i = 0; i < count; ++i) {
        const std::string formula = i % 2 == 0 ? generator.grammatical(3) : generator.noise(12);
        setDecimalSeparator(U'.');
        ASSERT_EQ(evaluateOutcome(formula, point), rewritingOutcome(formula, point)) << formula;
        setDecimalSeparator(U',');
        ASSERT_EQ(evaluateOutcome(formula, comma), rewritingOutcome(formula, comma)) << formula;
        ASSERT_EQ(evaluateOutcome(formula, point), rewritingOutcome(formula, point)) << formula;
    }
}

TEST(PlanReuse, SummationsWithEmptyRangesAndValueDependentBodiesGiveTheRewritingsOutcome) {
    const char* const formulas[] = {
        "\u03A3{n=3<>1:x}",
        "\u03A3{n=3<>1:x}+n",
        "n+\u03A3{n=3<>1:x}n",
        "\u03A3{n=1<>3:n}+n",
        "\u03A3{n=-2<>2:(x)^0.5}+n",
        "\u03A3{n=-3<>3:(n)^x}",
        "\u03A3{n=-3<>3:n^0.5}",
        "\u03A3{n=-3<>3:2^n^x}",
        "\u03A3{n=1<>4:(-1)^n}",
        "\u03A3{n=0<>3:1/n}",
        "\u03A3{n=-3<>3:x/n}",
        "\u03A3{n=1<>3:n}\u03A3{n=1<>2:n}",
        "\u03A3{n=1<>3:\u03A3{n=1<>2:n}}",
        "\u03A3{n=1<>3:\u03A3{n=2<>1:n}+n}",
        "\u03A3{n=2147483646<>2147483647:n}",
        "\u03A3{n=-2147483648<>-2147483647:n}",
        "\u03A3{n=1<>1000:x/n}",
        "\u03A3{n=1<>200:exp(n)}",
        "\u03A3{n=1<>5:ln(x-n)}",
        "2\u03A3{n=1<>3:n^2}sin(\u03A3{n=1<>2:n*y})",
    };
    for (const char* formula : formulas) {
        SCOPED_TRACE(formula);
        compareReusing(formula, 0, valueSets());
        compareReusing(formula, 4, valueSets());
    }
}

TEST(PlanReuse, ASummationCancelledPartWayEndsAsTheRewritingsDoes) {
    // A sum of two billion terms, cancelled from another thread once it runs: the plan hands the
    // evaluation to the rewriting, which ends it with EAbort at its first check.
    const std::string endless = "\u03A3{n=1<>2000000000:n*x}+x";
    const FormulaInputs inputs = sampleInputs();
    CancellationToken token;
    EvaluationOptions options;
    options.cancel = &token;
    std::atomic<bool> started{false};
    std::thread canceller([&] {
        while (!started.load())
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        token.cancel();
    });
    started.store(true);
    const std::string cancelled =
        outcome([&] { return EvaluateFormula(endless, inputs, options); });
    canceller.join();
    EvaluationOptions rewriting = options;
    rewriting.plans = false;
    EXPECT_EQ(cancelled, outcome([&] { return EvaluateFormula(endless, inputs, rewriting); }));
    EXPECT_EQ(cancelled.rfind("EAbort", 0), 0u) << cancelled;
    // The plan stays usable: a short sum after it, and the same text cancelled from the start.
    compareReusing("\u03A3{n=1<>1000:n*x}+x", 0, valueSets());
    EXPECT_EQ(outcome([&] { return EvaluateFormula(endless, inputs, options); }), cancelled);
}

TEST(PlanReuse, TwoThreadsAlternatingFormulasGiveTheRewritingsOutcomes) {
    FormulaGenerator generator(28);
    std::vector<std::string> formulas;
    for (int i = 0; i < 12; ++i)
        formulas.push_back(generator.grammatical(2));
    formulas.push_back("2(x+1)^2-sin(t)x");
    formulas.push_back("\u03A3{n=1<>50:(x)^0.5/n}");
    const std::vector<FormulaInputs>& sets = valueSets();
    std::vector<std::vector<std::string>> expected(formulas.size());
    for (std::size_t f = 0; f < formulas.size(); ++f) {
        for (const FormulaInputs& inputs : sets)
            expected[f].push_back(rewritingOutcome(formulas[f], inputs));
    }
    std::atomic<int> differences{0};
    auto work = [&](std::size_t offset) {
        for (int round = 0; round < 300 / kScale; ++round) {
            // Alternating between a few formulas, so plans are reused, and now and then others.
            const std::size_t span = round % 10 == 9 ? formulas.size() : 3;
            for (std::size_t k = 0; k < span; ++k) {
                const std::size_t f = (offset + k) % formulas.size();
                const std::size_t s = (f + static_cast<std::size_t>(round) + offset) % sets.size();
                if (evaluateOutcome(formulas[f], sets[s]) != expected[f][s]) ++differences;
            }
        }
    };
    std::thread first(work, 0);
    std::thread second(work, 1);
    first.join();
    second.join();
    EXPECT_EQ(differences.load(), 0);
}

TEST(PlanReuse, TheWorkedExampleAndTheReferenceAgreeAcrossValueSets) {
    // The frozen reference engine too, not only today's rewriting.
    for (const char* formula :
         {"2(x+1)^2-sin(t)x", "-x", "-y", "x^0.5", "(x)^0.5", "1-(x)^0.5", "3^2^x", "2*-x"}) {
        for (const FormulaInputs& inputs : valueSets()) {
            SCOPED_TRACE(formula);
            EXPECT_EQ(evaluateOutcome(formula, inputs), outcome([&] {
                          return reference::ReferenceEvaluateFormula(formula, inputs);
                      }));
        }
    }
}

struct PlanCase {
    const char* formula;
    bool planned;
};

TEST(PlanRecording, TextsThatTheRecordingCanReplayExactlyHavePlans) {
    const PlanCase cases[] = {
        {"2(x+1)^2-sin(t)x", true},
        {"-x", true},
        {"", true},
        {"x z", true},  // the scan stops where it stops, whatever the values
        {"sin(x", true},
        {"2x^2+ax^2", true},
        {"\u03A3{n=1<>10:n}", true},
        {"\u03A3{n=3<>1:n}+n", true},
        {"0^x", true},
        {"[2]", false},  // typed brackets: the scan's own rules for them
        {"x]", false},
        {"sinx", false},  // a failure of the text itself
        {"1.2.3+x", false},
        {"0^1.2.3", false},  // read or not by the value of the base
        {"(-1)^0.5+1.2.3", false},
        {"\u03A3{n=x<>1:n}", false},
        {"\u03A3{n=1<>3}", false},
        {"sin2(x)", false},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.formula);
        EXPECT_EQ(detail::recordedPlanSize(c.formula).has_value(), c.planned);
    }
    // Long texts keep the rewriting, which knows the cap on the working text.
    std::string longText;
    while (longText.size() <= (std::size_t{1} << 14))
        longText += "x+";
    EXPECT_FALSE(detail::recordedPlanSize(longText).has_value());
    EXPECT_TRUE(detail::recordedPlanSize(longText.substr(0, 1000) + "1").has_value());
}

TEST(PlanRecording, ASummationsBodyIsRecordedOnceWhateverItsRange) {
    const auto few = detail::recordedPlanSize("\u03A3{n=1<>2:(n+x)^0.5}");
    const auto many = detail::recordedPlanSize("\u03A3{n=1<>2000000:(n+x)^0.5}");
    ASSERT_TRUE(few.has_value());
    ASSERT_TRUE(many.has_value());
    EXPECT_EQ(*few, *many);
}

}  // namespace
}  // namespace kurvilo
