// SPDX-License-Identifier: MIT
// kurvilo-cli eval --explain through the built binary: the steps of the worked example in their
// order with the working text after each, a line for each quirk of the language, summations
// shown by their first index, and the same results as without --explain; long formulas shown
// around what changed, in output and memory that grow linearly, and memory that runs out ending
// one case with the EOutOfMemory line.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"

namespace kurvilo::testing {
namespace {

// A line as label and text: the label ends at the first run of two spaces after the indent.
struct Step {
    std::string label;
    std::string text;
};

Step step(const std::string& line) {
    const std::size_t indent = line.find_first_not_of(' ');
    const std::size_t gap = line.find("  ", indent == std::string::npos ? 0 : indent);
    if (gap == std::string::npos)
        return {line.substr(indent == std::string::npos ? 0 : indent), ""};
    const std::size_t text = line.find_first_not_of(' ', gap);
    return {line.substr(indent, gap - indent), text == std::string::npos ? "" : line.substr(text)};
}

std::vector<std::string> explain(const std::vector<std::string>& extra) {
    std::vector<std::string> args = {"eval", "--separator", ".",   "--explain",
                                     "--x",  "0.5",         "--t", "1.5"};
    args.insert(args.end(), extra.begin(), extra.end());
    const CliResult r = runCli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return linesOf(r.out);
}

bool hasLineStartingWith(const std::vector<std::string>& all, const std::string& start) {
    return std::any_of(all.begin(), all.end(), [&](const std::string& line) {
        const std::size_t indent = line.find_first_not_of(' ');
        return indent != std::string::npos && line.compare(indent, start.size(), start) == 0;
    });
}

TEST(Explain, WorkedExampleShowsEveryStepWithTheTextAfterIt) {
    const std::vector<std::string> out = explain({"2(x+1)^2-sin(t)x"});
    std::vector<std::string> got;
    for (const std::string& line : out) {
        const Step s = step(line);
        got.push_back(s.label + " | " + s.text);
    }
    const std::vector<std::string> expected = {
        "formula | 2(x+1)^2-sin(t)x",
        "group | x+1",
        "x := 0.5 | [0.5]+1",
        "terms | [0.5]+[1]",
        "sum phase | 1.5",
        "spliced 1.5 | 2*[1.5]^2-sin(t)x",
        "group | t",
        "t := 1.5 | [1.5]",
        "terms | [1.5]",
        "sum phase | 1.5",
        "spliced 1.5 | 2*[1.5]^2-sin[1.5]*x",
        "reduce | 2*[1.5]^2-sin[1.5]*x",
        "sin 1.5 = 0.9975 | 2*[1.5]^2-[0.9975]*x",
        "x := 0.5 | 2*[1.5]^2-[0.9975]*[0.5]",
        "terms | [4.5]-[0.4988]",
        "sum phase | 4.0012",
        "result | 4.0012",
    };
    EXPECT_EQ(got, expected);
}

TEST(Explain, StepsOfAReductionStandBelowItsGroup) {
    const std::vector<std::string> out = explain({"2(x+1)^2-sin(t)x"});
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out[1].rfind("group", 0), 0u);
    EXPECT_EQ(out[2].rfind("  x := 0.5", 0), 0u);
}

TEST(Explain, EachQuirkGetsOneLineThatSaysHowToWriteAroundIt) {
    const struct {
        const char* formula;
        const char* line;  // the start of the quirk's line
        const char* remedy;
        const char* result;
    } cases[] = {
        {"2x^2", "quirk: 2 is lost", "'2*x^2'", "0.25"},
        {"2sin(t)^2", "quirk: 2 is lost", "'2*x^2'", "0.995"},
        {"2*-3", "quirk: '*-' does not give the factor a sign", "'2*(-3)'", "-4"},
        {"6/+3", "quirk: '/+' does not give the factor a sign", "'2*(-3)'", "8"},
        {"3^2^2", "quirk: the base 3 is dropped", "'(3^2)^2'", "16"},
        {"x z", "quirk: reading stopped at ' ', and ' z' was ignored", "remove it", "0.5"},
        {"x)", "quirk: reading stopped at ')', and ')' was ignored", "remove it", "0.5"},
        {"2*(3", "quirk: a '(' with no ')' after it is read as 0, before '3'", "close the bracket",
         "0"},
        {"(-8)^(1/3)", "quirk: -8^0.3333 has a negative base and a fractional exponent",
         "whole exponent", "0"},
        {"1-(-2)^0.5", "quirk: -2^0.5 has a negative base", "whole exponent", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        const std::vector<std::string> out = explain({c.formula});
        ASSERT_FALSE(out.empty());
        const auto quirk = std::find_if(out.begin(), out.end(), [&](const std::string& line) {
            return line.find(c.line) != std::string::npos;
        });
        ASSERT_NE(quirk, out.end());
        EXPECT_NE(quirk->find(c.remedy), std::string::npos) << *quirk;
        EXPECT_EQ(step(out.back()).text, c.result);
    }
}

TEST(Explain, PlainFormulasMeetNoQuirk) {
    for (const char* formula : {"2*x^2", "2(x)^2", "ax^2", "(x+1)(x-1)", "-2^2", "2^-1", "sin(t)^2",
                                "x/2*3", "\u03A3{n=1<>3:n^2}"}) {
        SCOPED_TRACE(formula);
        for (const std::string& line : explain({formula}))
            EXPECT_EQ(line.find("quirk"), std::string::npos) << line;
    }
}

TEST(Explain, SummationShowsTheFirstIndexAndHowManyWereSummed) {
    const std::vector<std::string> out = explain({"\u03A3{n=1<>1000:n^2}+n"});
    std::size_t substitutions = 0;
    for (const std::string& line : out)
        substitutions += step(line).label.rfind("n := ", 0) == 0;
    // The first index's "n", and the one after the summation; not one per index.
    EXPECT_EQ(substitutions, 2u);
    EXPECT_TRUE(hasLineStartingWith(out, "summation n = 1..1000"));
    EXPECT_TRUE(hasLineStartingWith(out, "n = 1"));
    EXPECT_TRUE(hasLineStartingWith(out, "n = 2..1000: the same steps, not shown"));
    EXPECT_TRUE(hasLineStartingWith(out, "sum of 1000 indices = 333833500"));
    EXPECT_TRUE(hasLineStartingWith(out, "n := 1000"));
    EXPECT_EQ(step(out.back()).text, "333834500");
}

TEST(Explain, QuirksOfLaterIndicesAreNamedOnceWhenTheyAreNew) {
    // The body's negative base meets a fractional exponent from n = 2 on only.
    const std::vector<std::string> out = explain({"\u03A3{n=1<>3:(-1)^(1/n)}"});
    std::size_t quirks = 0;
    for (const std::string& line : out)
        quirks += line.find("quirk:") != std::string::npos;
    EXPECT_EQ(quirks, 2u);  // -1^0.5 at n = 2, -1^0.3333 at n = 3
    EXPECT_EQ(step(out.back()).text, "-1");
}

TEST(Explain, LoneBracketIsToldFromAnEmptyGroup) {
    const std::vector<std::string> lone = explain({"2*(3"});
    EXPECT_TRUE(hasLineStartingWith(lone, "group of a lone ("));
    const std::vector<std::string> empty = explain({"2*()3"});
    EXPECT_FALSE(hasLineStartingWith(empty, "group of a lone ("));
    EXPECT_TRUE(std::find(empty.begin(), empty.end(), "group") != empty.end());
    EXPECT_EQ(step(empty.back()).text, "0");
}

TEST(Explain, FailureEndsTheStepsWithTheErrorLine) {
    const std::vector<std::string> out = explain({"1+ln(x-x)"});
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(step(out.back()).label, "result");
    EXPECT_EQ(step(out.back()).text, "error: EZeroDivide: Floating point division by zero");
}

TEST(Explain, ResultLineIsWhatEvalPrintsWithoutExplain) {
    const std::vector<std::string> formulas = {
        "2(x+1)^2-sin(t)x",      "3^2^2", "2x^2",  "1/3*3",      "x/0",
        "\u03A3{n=1<>4:(-1)^n}", "sin(x", "[[2]]", "ln(exp(1))", "1.2.3"};
    std::vector<std::string> args = {"eval", "--separator", ".", "--x", "0.5", "--t", "1.5"};
    args.insert(args.end(), formulas.begin(), formulas.end());
    const std::vector<std::string> plain = linesOf(runCli(args).out);
    ASSERT_EQ(plain.size(), formulas.size());
    const std::vector<std::string> explained = explain(formulas);
    std::vector<std::string> results;
    for (const std::string& line : explained) {
        if (line.rfind("result", 0) == 0) results.push_back(step(line).text);
    }
    EXPECT_EQ(results, plain);
    // One empty line between the cases.
    EXPECT_EQ(std::count(explained.begin(), explained.end(), ""),
              static_cast<long>(formulas.size()) - 1);
}

TEST(Explain, ReadsStandardInputAndEscapesItsTexts) {
    const CliResult r = runCli({"eval", "--explain", "--x", "1"}, std::string("x\0y\nx\t2\n", 8));
    EXPECT_EQ(r.status, 0);
    const std::vector<std::string> out = linesOf(r.out);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(step(out.front()).text, "x\\0y");
    EXPECT_TRUE(hasLineStartingWith(out, "quirk: reading stopped at '\\0', and '\\0*[0]'"));
    EXPECT_TRUE(hasLineStartingWith(out, "quirk: reading stopped at '\\t', and '\\t2'"));
    for (const std::string& line : out)
        EXPECT_EQ(line.find_first_of(std::string("\t\r\0", 3)), std::string::npos) << line;
}

// "(x)+(x)+...+(x)": n groups, 4n - 1 characters.
std::string groups(int n) {
    std::string formula = "(x)";
    for (int i = 1; i < n; ++i)
        formula += "+(x)";
    return formula;
}

TEST(Explain, ALongFormulaIsShownAroundWhatChangedAndSaysSo) {
    const CliResult r = runCli({"eval", "--explain", "--x", "1"}, groups(10000) + "\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_LT(r.out.size(), 20u * 1000 * 1000);
    const std::vector<std::string> out = linesOf(r.out);
    EXPECT_EQ(std::count_if(out.begin(), out.end(),
                            [](const std::string& line) { return line.rfind("note:", 0) == 0; }),
              1);
    EXPECT_NE(out.front().find("\u00ABN\u00BB stands for N characters left out"),
              std::string::npos);
    std::size_t spliced = 0;
    for (const std::string& line : out) {
        EXPECT_LT(line.size(), 400u) << line.substr(0, 100);
        spliced += line.rfind("spliced 1", 0) == 0;
    }
    EXPECT_EQ(spliced, 10000u) << "every step is still shown";
    // The 39 999 characters of the formula: the ends shown, the rest counted.
    EXPECT_EQ(step(out[1]).label, "formula");
    std::string tail;
    for (int i = 0; i < 16; ++i)
        tail += "+(x)";
    EXPECT_EQ(step(out[1]).text, groups(16) + "+\u00AB39871\u00BB" + tail);
    EXPECT_EQ(step(out.back()).text, "10000");
}

TEST(Explain, TextsOfUpToOneHundredSixtyCharactersAreShownWhole) {
    const std::string formula = groups(40);  // 159 characters
    const CliResult r = runCli({"eval", "--explain", "--x", "1", formula});
    ASSERT_EQ(r.status, 0);
    const std::vector<std::string> out = linesOf(r.out);
    EXPECT_EQ(step(out.front()).text, formula);
    for (const std::string& line : out)
        EXPECT_EQ(line.find("\u00AB"), std::string::npos) << line;
}

// Twice the formula, twice the output, give or take: not four times.
TEST(Explain, OutputGrowsLinearlyWithTheFormula) {
    const std::size_t small = runCli({"eval", "--explain", "--x", "1", groups(3000)}).out.size();
    const std::size_t large = runCli({"eval", "--explain", "--x", "1", groups(6000)}).out.size();
    EXPECT_GT(small, 3000u * 50);
    EXPECT_LT(large, small * 21 / 10);
}

bool underAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

// The tool with an address space of `kib` KiB, its input from a file.
CliResult withMemory(int kib, const std::vector<std::string>& args, const std::string& input) {
    TempDir dir;
    writeFile(dir.file("in"), input);
    return runShell("ulimit -v " + std::to_string(kib) + "; " + cliCommand(args) + " < " +
                    shellQuote(dir.file("in")));
}

TEST(Explain, TenThousandGroupsFitInAQuarterGibibyte) {
    if (underAddressSanitizer())
        GTEST_SKIP() << "an address space limit cannot hold AddressSanitizer's shadow memory";
    const CliResult r =
        withMemory(256 * 1024, {"eval", "--explain", "--x", "1"}, groups(10000) + "\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(step(linesOf(r.out).back()).text, "10000");
}

TEST(Explain, MemoryRunningOutEndsThatCaseAndTheOthersAreWritten) {
    if (underAddressSanitizer())
        GTEST_SKIP() << "an address space limit cannot hold AddressSanitizer's shadow memory";
    // Twelve million characters: read, widened and kept, they need more than the 96 MiB.
    const std::string input = "x+1\n" + groups(3000000) + "\nx*2\n";
    for (const bool explain : {true, false}) {
        SCOPED_TRACE(explain ? "--explain" : "plain");
        std::vector<std::string> args = {"eval", "--x", "1"};
        if (explain) args.push_back("--explain");
        const CliResult r = withMemory(96 * 1024, args, input);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        std::vector<std::string> results;
        for (const std::string& line : linesOf(r.out)) {
            if (!explain) {
                results.push_back(line);
            } else if (line.rfind("result", 0) == 0) {
                results.push_back(step(line).text);
            }
        }
        EXPECT_EQ(results,
                  (std::vector<std::string>{"2", "error: EOutOfMemory: Out of memory", "2"}));
    }
}

}  // namespace
}  // namespace kurvilo::testing
