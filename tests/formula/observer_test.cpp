// SPDX-License-Identifier: MIT
// What an observer is told while the engine rewrites a formula: the steps in the order they
// happen, each with the text right after it, and the quirks of the language where they bite.
#include "formula/observer.h"

#include <string>
#include <vector>

#include "formula_test_support.h"
#include "numbers/utf8.h"

namespace kurvilo {
namespace {

// Writes every event as one line, so a test can compare the whole sequence.
class Recorder : public EvaluationObserver {
  public:
    std::vector<std::string> lines;

    void summationStarted(std::u32string_view term, std::int32_t lower,
                          std::int32_t upper) override {
        add("sum " + toUtf8(term) + " " + std::to_string(lower) + ".." + std::to_string(upper));
    }
    void summationIndex(std::int32_t n) override { add("n=" + std::to_string(n)); }
    void summationExpanded(Fixed4 total, std::u32string_view text) override {
        add("total " + toText(total) + " -> " + toUtf8(text));
    }
    void groupSelected(std::u32string_view content) override { add("group " + toUtf8(content)); }
    void groupSpliced(Fixed4 value, std::u32string_view text) override {
        add("spliced " + toText(value) + " -> " + toUtf8(text));
    }
    void reductionStarted(std::u32string_view text) override { add("reduce " + toUtf8(text)); }
    void functionApplied(std::u32string_view name, Fixed4 argument, Fixed4 value,
                         std::u32string_view text) override {
        add(toUtf8(name) + " " + toText(argument) + " = " + toText(value) + " -> " + toUtf8(text));
    }
    void nameSubstituted(std::u32string_view name, std::u32string_view replacement,
                         std::size_t occurrences, std::u32string_view text) override {
        add(toUtf8(name) + " := " + toUtf8(replacement) + " x" + std::to_string(occurrences) +
            " -> " + toUtf8(text));
    }
    void termList(std::u32string_view terms) override { add("terms " + toUtf8(terms)); }
    void reductionFinished(Fixed4 value) override { add("= " + toText(value)); }
    void quirk(Quirk kind, std::u32string_view detail) override {
        static const char* const kNames[] = {"lost",         "sign-after-product",
                                             "power-chain",  "stopped",
                                             "lone-bracket", "negative-base-fraction"};
        add(std::string("quirk ") + kNames[static_cast<int>(kind)] + " " + toUtf8(detail));
    }

  private:
    void add(std::string line) { lines.push_back(std::move(line)); }
};

std::vector<std::string> observe(const std::string& formula, Fixed4* result = nullptr) {
    Recorder recorder;
    EvaluationOptions options;
    options.observer = &recorder;
    const Fixed4 value = EvaluateFormula(formula, sampleInputs(), options);
    if (result != nullptr) *result = value;
    return recorder.lines;
}

bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(Observer, WorkedExampleStepByStep) {
    Fixed4 result;
    const auto lines = observe("2(x+1)^2-sin(t)x", &result);
    EXPECT_EQ(result, units(40012));
    const std::vector<std::string> expected = {
        "group x+1",
        "reduce x+1",
        "x := 0.5 x1 -> [0.5]+1",
        "terms [0.5]+[1]",
        "= 1.5",
        "spliced 1.5 -> 2*[1.5]^2-sin(t)x",
        "group t",
        "reduce t",
        "t := 1.5 x1 -> [1.5]",
        "terms [1.5]",
        "= 1.5",
        "spliced 1.5 -> 2*[1.5]^2-sin[1.5]*x",
        "reduce 2*[1.5]^2-sin[1.5]*x",
        "sin 1.5 = 0.9975 -> 2*[1.5]^2-[0.9975]*x",
        "x := 0.5 x1 -> 2*[1.5]^2-[0.9975]*[0.5]",
        "terms [4.5]-[0.4988]",
        "= 4.0012",
    };
    EXPECT_EQ(lines, expected);
}

TEST(Observer, SummationIsExpandedIndexByIndex) {
    const auto lines = observe("\u03A3{n=1<>2:n}+1");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "sum \u03A3{n=1<>2:n 1..2");
    EXPECT_TRUE(contains(lines, "n=1"));
    EXPECT_TRUE(contains(lines, "n=2"));
    EXPECT_TRUE(contains(lines, "total 3 -> ([3])+1"));
    EXPECT_EQ(lines.back(), "= 4");
}

TEST(Observer, EachQuirkIsNamedWhereItIsMet) {
    const struct {
        const char* formula;
        const char* quirk;
    } cases[] = {
        {"2x^2", "quirk lost 2"},
        {"2*-3", "quirk sign-after-product *-"},
        {"6/+3", "quirk sign-after-product /+"},
        {"3^2^2", "quirk power-chain 3"},
        {"x z", "quirk stopped  z"},
        {"x)", "quirk stopped )"},
        {"2*(3", "quirk lone-bracket 3"},
        {"(-8)^(1/3)", "quirk negative-base-fraction -8^0.3333"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        EXPECT_TRUE(contains(observe(c.formula), c.quirk));
    }
}

TEST(Observer, PlainFormulasMeetNoQuirk) {
    for (const char* formula : {"2*x^2", "2(x)^2", "ax^2", "(x+1)(x-1)", "-2^2", "2^-1", "sin(t)^2",
                                "x/2*3", "\u03A3{n=1<>3:n^2}"}) {
        SCOPED_TRACE(formula);
        for (const std::string& line : observe(formula))
            EXPECT_NE(line.rfind("quirk", 0), 0u) << line;
    }
}

TEST(Observer, ObservingChangesNoResult) {
    for (const char* formula : {"2(x+1)^2-sin(t)x", "2x^2", "3^2^2", "1-(-2)^0.5", "x z",
                                "\u03A3{n=1<>4:(-1)^n}", "2*-3", "ln(0)", "1.2.3"}) {
        SCOPED_TRACE(formula);
        Recorder recorder;
        EvaluationOptions options;
        options.observer = &recorder;
        EXPECT_EQ(outcome([&] { return EvaluateFormula(formula, sampleInputs(), options); }),
                  evaluateOutcome(formula));
    }
}

}  // namespace
}  // namespace kurvilo
