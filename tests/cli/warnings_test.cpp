// SPDX-License-Identifier: MIT
// The warnings of kurvilo-cli eval and run: one line per note of a formula on standard error,
// naming the formula (its line from standard input, the option or run file key of a run) and the
// column in characters; right before the formula's answer when both streams are one; never a
// change to standard output or the exit status. -q leaves them out; --strict makes them a
// failure, status 3, after every answer (eval) or before anything runs (run).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "cli/formula_warnings.h"
#include "cli_runner.h"
#include "formula/evaluate.h"
#include "formula/formula_generator.h"
#include "numbers/failures.h"
#include "numbers/fixed4.h"

namespace kurvilo::testing {
namespace {

const std::string kEvalWarning = "kurvilo-cli eval: warning: ";

// The notes of a formula as eval sees them: evaluated with these values.
std::vector<FormulaNote> notesOf(const std::string& formula, const FormulaInputs& inputs) {
    const FormulaTexts texts = inputs;
    NoteOptions options;
    options.texts = &texts;
    options.valuesFixed = true;
    return formulaNotes(formula, options);
}

// What eval writes for one formula on standard error: each note, its column counted in
// characters from 1, in the one wording of the notes.
std::string expectedWarnings(const std::string& where, const std::vector<FormulaNote>& notes) {
    std::string lines;
    for (const FormulaNote& note : notes) {
        lines += kEvalWarning + where + " column " + std::to_string(note.begin + 1) + ": " +
                 noteText(note) + "\n";
    }
    return lines;
}

// The answer line of the engine itself for a formula.
std::string engineAnswer(const std::string& formula, const FormulaInputs& inputs) {
    try {
        return toText(EvaluateFormula(formula, inputs)) + "\n";
    } catch (const Failure& failure) {
        return "error: " + std::string(failure.kind()) + ": " + std::string(failure.message()) +
               "\n";
    }
}

// ---------------------------------------------------------------------------------------------
// eval: what the warnings say

TEST(EvalWarnings, EachNoteIsOneLineNamingTheFormulaAndWhereTheNoteStarts) {
    FormulaInputs inputs;
    inputs.values[1] = "0.5";
    for (const std::string formula :
         {"x + 1",    "2**3",   "pi",   "sqrt(2)", "Sin(1)",       "sum{n=1<>3:n}",
          "2x^2",     "-0,5*y", "2*-3", "3^2^2",   "2*(3",         "(-8)^(1/3)",
          "x)+1",     "exp()",  "[x]",  "sinx",    "1.2.3",        "\u03A3{k=1<>3:k}",
          "--x",      "*2",     "2^-x", "x%",      "\uFF0D\uFF59", "2\u00D73",
          "(x-1)^0.5"}) {
        SCOPED_TRACE(formula);
        const std::vector<FormulaNote> notes = notesOf(formula, inputs);
        EXPECT_FALSE(notes.empty()) << "a formula of this table has a note";
        const CliResult r = runCli({"eval", "--x", "0.5", "--", formula});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, expectedWarnings("'" + formula + "'", notes));
        EXPECT_EQ(r.out, engineAnswer(formula, inputs));
    }
}

TEST(EvalWarnings, TheColumnCountsCharactersNotBytes) {
    // π and Σ take two bytes each, the full-width blank three.
    const struct {
        const char* formula;
        const char* column;
    } cases[] = {{"\u03C0 +1", " column 2: "},
                 {"\u03A3{n=1<>2:n}\u03C0**2", " column 13: "},
                 {"\u03C0\u03C0\u3000x", " column 3: "}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        const CliResult r = runCli({"eval", c.formula});
        EXPECT_EQ(r.err.rfind(kEvalWarning + "'" + c.formula + "'" + c.column, 0), 0u) << r.err;
    }
}

TEST(EvalWarnings, ACleanFormulaGetsNone) {
    const CliResult r = runCli({"eval", "--x", "0.5", "--", "2*x^2", "-x", "(x+1)(x-1)",
                                "\u03A3{n=1<>3:n^2}", "sin(\u03C0/2)", "-2^-1", "\u03B8"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
}

// A value known to eval decides a note: 'x^0.5' is 0 only where x is negative.
TEST(EvalWarnings, TheValuesGivenAreTheValuesTheNotesKnow) {
    EXPECT_EQ(runCli({"eval", "--x", "4", "x^0.5"}).err, "");
    const CliResult negative = runCli({"eval", "--x", "-4", "x^0.5"});
    EXPECT_EQ(negative.out, "0\n");
    EXPECT_NE(negative.err.find("'x^0.5' column 1: -4^0.5 has a negative base"), std::string::npos)
        << negative.err;
    // The values of a TSV line are its own.
    const CliResult tsv = runCli({"eval", "--tsv"}, "x^0.5\t0\t4\nx^0.5\t0\t-4\n");
    EXPECT_EQ(tsv.out, "2\n0\n");
    EXPECT_EQ(tsv.err.rfind(kEvalWarning + "line 2 column 1: ", 0), 0u) << tsv.err;
    EXPECT_EQ(linesOf(tsv.err).size(), 1u);
}

TEST(EvalWarnings, AFormulaFromStandardInputIsNamedByItsLine) {
    FormulaInputs inputs;
    inputs.values[1] = "2";
    // Line 3 ends in "\r\n", which is no part of the formula; the arguments around "-" keep
    // their own names.
    const CliResult r = runCli({"eval", "--x", "2", "pi", "-", "2x^2"}, "1\n2**3\nx + 1\r\nx\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, expectedWarnings("'pi'", notesOf("pi", inputs)) +
                         expectedWarnings("line 2", notesOf("2**3", inputs)) +
                         expectedWarnings("line 3", notesOf("x + 1", inputs)) +
                         expectedWarnings("'2x^2'", notesOf("2x^2", inputs)));
    EXPECT_EQ(r.out, "0\n1\n6\n2\n2\n4\n");
}

TEST(EvalWarnings, ALongFormulaIsCutAndAControlCharacterEscaped) {
    const struct {
        std::string formula;
        std::string named;
    } cases[] = {
        {"x+1", "'x+1'"},
        {std::string(40, 'x'), "'" + std::string(40, 'x') + "'"},
        {std::string(41, 'x'), "'" + std::string(40, 'x') + "\u2026'"},
        // Forty characters of two bytes each are not cut.
        {[] {
             std::string pis;
             for (int i = 0; i < 40; ++i)
                 pis += "\u03C0";
             return pis;
         }(),
         ""},
        {"x\ty\n\r", "'x\\ty\\n\\r'"},
        {std::string("x\0y", 3), "'x\\0y'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        const std::string expected = c.named.empty() ? "'" + c.formula + "'" : c.named;
        EXPECT_EQ(cli::quotedFormula(c.formula), expected);
    }
    // Through the tool: a long formula named by its beginning, a tab escaped in it.
    const std::string longFormula = std::string(50, 'x') + "**2";
    const CliResult r = runCli({"eval", longFormula, "x\t+1"});
    EXPECT_EQ(r.out, "0\n0\n");
    const std::vector<std::string> lines = linesOf(r.err);
    ASSERT_EQ(lines.size(), 2u) << r.err;
    EXPECT_EQ(lines[0].rfind(kEvalWarning + "'" + std::string(40, 'x') + "\u2026' column 51: ", 0),
              0u);
    EXPECT_EQ(lines[1].rfind(kEvalWarning + "'x\\t+1' column 2: ", 0), 0u);
}

// ---------------------------------------------------------------------------------------------
// eval: what the warnings leave alone

// Seeded formulas, many with notes, through standard input: the answers are the engine's, byte
// for byte, with warnings, without them (-q) and with --strict; only the status of --strict
// differs, and the warnings are exactly the notes of each line.
TEST(EvalWarnings, AnswersAreTheEnginesWithOrWithoutWarnings) {
    FormulaGenerator generator(17);
    const char* const kMistakes[] = {"x + 1",         "pi",     "2**3",       "2x^2",
                                     "\uFF0D\uFF59",  "-0,5*y", "(-8)^(1/3)", "2*(3",
                                     "sum{n=1<>2:n}", "x)"};
    FormulaInputs inputs;
    inputs.values = {"0.3", "0.5", "-2", "4", "1.5"};
    inputs.constants = {"2", "3", "0", "-1"};
    std::string input;
    std::string answers;
    std::string warnings;
    std::size_t noted = 0;
    for (int line = 1; line <= 400; ++line) {
        std::string formula = generator.grammatical(2);
        if (line % 3 == 0) formula += "+" + std::string(kMistakes[line % std::size(kMistakes)]);
        if (formula.find_first_of("\n\r") != std::string::npos) continue;
        input += formula + "\n";
        answers += engineAnswer(formula, inputs);
        const std::vector<FormulaNote> notes = notesOf(formula, inputs);
        noted += notes.empty() ? 0 : 1;
        warnings += expectedWarnings("line " + std::to_string(line), notes);
    }
    ASSERT_GT(noted, 100u);
    const std::vector<std::string> values = {"--vx", "0.3", "--x", "0.5", "--vy", "-2",
                                             "--y",  "4",   "--t", "1.5", "--a",  "2",
                                             "--b",  "3",   "--c", "0",   "--d",  "-1"};
    auto eval = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = {"eval"};
        args.insert(args.end(), values.begin(), values.end());
        args.insert(args.end(), extra.begin(), extra.end());
        return runCli(args, input);
    };
    const CliResult warned = eval({});
    EXPECT_EQ(warned.status, 0);
    EXPECT_EQ(warned.out, answers);
    EXPECT_EQ(warned.err, warnings);
    const CliResult quiet = eval({"-q"});
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.out, answers);
    EXPECT_EQ(quiet.err, "");
    const CliResult strict = eval({"--strict"});
    EXPECT_EQ(strict.status, 3);
    EXPECT_EQ(strict.out, answers);
    EXPECT_EQ(strict.err, warnings + "kurvilo-cli eval: --strict: " + std::to_string(noted) +
                              " of 400 formulas are read differently from how they look\n");
}

TEST(EvalWarnings, ExplainGetsTheSameWarningsAndItsOwnOutput) {
    const std::vector<std::string> formulas = {"2x^2", "x+1", "2**3"};
    std::vector<std::string> args = {"eval", "--explain", "--x", "0.5"};
    args.insert(args.end(), formulas.begin(), formulas.end());
    const CliResult explained = runCli(args);
    args.insert(args.begin() + 1, "-q");
    const CliResult quiet = runCli(args);
    EXPECT_EQ(explained.status, 0);
    EXPECT_EQ(explained.out, quiet.out);
    EXPECT_NE(explained.out.find("quirk: 2 is lost"), std::string::npos);
    const CliResult plain = runCli({"eval", "--x", "0.5", "2x^2", "x+1", "2**3"});
    EXPECT_EQ(explained.err, plain.err);
    EXPECT_EQ(linesOf(explained.err).size(), 2u);
}

// On a terminal, or with "2>&1", each formula's warnings stand right before its answer, also
// when the answers are written in one piece at the end.
TEST(EvalWarnings, InOneStreamEachWarningStandsRightBeforeItsAnswer) {
    FormulaInputs inputs;
    const std::vector<std::string> formulas = {"1", "pi", "2", "2**3", "x + 1", "3"};
    std::string expected;
    for (const std::string& formula : formulas)
        expected += expectedWarnings("'" + formula + "'", notesOf(formula, inputs)) +
                    engineAnswer(formula, inputs);
    std::vector<std::string> args = {"eval"};
    args.insert(args.end(), formulas.begin(), formulas.end());
    EXPECT_EQ(runShell(cliCommand(args) + " </dev/null 2>&1").out, expected);

    std::string input;
    expected.clear();
    for (std::size_t k = 0; k < formulas.size(); ++k) {
        input += formulas[k] + "\n";
        expected +=
            expectedWarnings("line " + std::to_string(k + 1), notesOf(formulas[k], inputs)) +
            engineAnswer(formulas[k], inputs);
    }
    TempDir dir;
    writeFile(dir.file("in"), input);
    EXPECT_EQ(runShell(cliCommand({"eval"}) + " <" + shellQuote(dir.file("in")) + " 2>&1").out,
              expected);
}

// On a terminal, where the answers are written in one piece at the end.
TEST(EvalWarnings, OnATerminalEachWarningStandsRightBeforeItsAnswer) {
    FormulaInputs inputs;
    const std::vector<std::string> formulas = {"pi", "1", "2**3", "2"};
    std::string expected;
    for (const std::string& formula : formulas)
        expected += expectedWarnings("'" + formula + "'", notesOf(formula, inputs)) +
                    engineAnswer(formula, inputs);
    ChildProcess::Setup setup;
    setup.out = Stream::terminal();
    setup.err = Stream::terminal();
    std::vector<std::string> args = {"eval"};
    args.insert(args.end(), formulas.begin(), formulas.end());
    ChildProcess eval(args, setup);
    ASSERT_TRUE(eval.started());
    std::string shown = eval.readTerminal();
    EXPECT_EQ(eval.wait(), 0);
    // The terminal ends its lines in "\r\n".
    for (std::size_t at = shown.find("\r\n"); at != std::string::npos; at = shown.find("\r\n", at))
        shown.erase(at, 1);
    EXPECT_EQ(shown, expected);
}

// Driven a line at a time: the warning is on standard error by the time the answer comes.
TEST(EvalWarnings, AWarningHoldsNoAnswerBackWhenDrivenALineAtATime) {
    TempDir dir;
    ChildProcess::Setup setup;
    setup.in = Stream::pipe();
    setup.out = Stream::pipe();
    setup.err = Stream::file(dir.file("err"));
    ChildProcess eval({"eval", "--x", "3"}, setup);
    ASSERT_TRUE(eval.started());
    const struct {
        const char* formula;
        const char* answer;
        std::size_t warnings;
    } cases[] = {{"pi", "0", 1}, {"x+1", "4", 1}, {"2**3", "6", 2}, {"x + 1", "3", 4}};
    for (const auto& c : cases) {
        ASSERT_TRUE(eval.send(std::string(c.formula) + "\n"));
        std::string line;
        ASSERT_TRUE(eval.readLine(line, std::chrono::seconds(10)))
            << "no answer to '" << c.formula << "' while the input stays open";
        EXPECT_EQ(line, c.answer);
        EXPECT_EQ(linesOf(readFile(dir.file("err"))).size(), c.warnings) << c.formula;
    }
    eval.closeInput();
    EXPECT_EQ(eval.wait(), 0);
}

// ---------------------------------------------------------------------------------------------
// eval: -q and --strict

TEST(EvalWarnings, QuietInEitherSpellingLeavesThemOut) {
    for (const char* quiet : {"-q", "--quiet"}) {
        SCOPED_TRACE(quiet);
        const CliResult r = runCli({"eval", quiet, "pi", "2**3"});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, "0\n6\n");
        EXPECT_EQ(r.err, "");
    }
}

TEST(EvalStrict, AFormulaWithANoteFailsOnceEveryFormulaIsAnswered) {
    const struct {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string out;
        std::string lastError;  // the last line of standard error; empty: none at all
    } cases[] = {
        {{"eval", "--strict", "1+1", "2*x"}, "", 0, "2\n0\n", ""},
        {{"eval", "--strict", "1+1", "pi", "2"},
         "",
         3,
         "2\n0\n2\n",
         "kurvilo-cli eval: --strict: 1 of 3 formulas is read differently from how it looks"},
        {{"eval", "--strict", "pi"},
         "",
         3,
         "0\n",
         "kurvilo-cli eval: --strict: 1 of 1 formula is read differently from how it looks"},
        {{"eval", "--strict", "-q", "-"},
         "pi\n2**3\n1\n",
         3,
         "0\n6\n1\n",
         "kurvilo-cli eval: --strict: 2 of 3 formulas are read differently from how they look"},
        {{"eval", "--strict", "--tsv"},
         "x\t0\t2\n2x^2\t0\t2\n",
         3,
         "2\n4\n",
         "kurvilo-cli eval: --strict: 1 of 2 formulas is read differently from how it looks"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(joined(c.args));
        const CliResult r = runCli(c.args, c.input);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, c.out);
        const std::vector<std::string> lines = linesOf(r.err);
        if (c.lastError.empty()) {
            EXPECT_EQ(r.err, "");
        } else {
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines.back(), c.lastError);
        }
    }
    // -q leaves only the line of --strict.
    EXPECT_EQ(linesOf(runCli({"eval", "-q", "--strict", "pi"}).err).size(), 1u);
}

TEST(EvalStrict, AnOutputThatFailsIsStillStatusOne) {
    if (runShell("test -w /dev/full").status != 0) GTEST_SKIP() << "no /dev/full";
    const CliResult r = runShell(cliCommand({"eval", "--strict", "pi"}) + " </dev/null >/dev/full");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot write standard output"), std::string::npos) << r.err;
}

// ---------------------------------------------------------------------------------------------
// run

const std::vector<std::string> kMotion = {"run",   "--mode", "cartesian-motion", "--x0", "5",
                                          "--vy0", "5",      "--ticks",          "40",   "--trace",
                                          "-"};

std::vector<std::string> motion(std::vector<std::string> extra) {
    std::vector<std::string> args = kMotion;
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

TEST(RunWarnings, EachNoteIsWrittenOnceBeforeTheRunNamingItsOption) {
    const CliResult r = runCli(motion({"--ay", "-4*y", "--ax", "-x +1", "--progress"}));
    EXPECT_EQ(r.status, 0);
    const std::vector<std::string> lines = linesOf(r.err);
    ASSERT_GE(lines.size(), 2u) << r.err;
    // One note for forty ticks, and before the progress.
    EXPECT_EQ(lines[0].rfind("kurvilo-cli run: warning: --ax '-x +1' column 3: a blank ends", 0),
              0u)
        << lines[0];
    for (std::size_t k = 1; k < lines.size(); ++k)
        EXPECT_EQ(lines[k].find("warning"), std::string::npos) << lines[k];
}

TEST(RunWarnings, TheRunIsTheSameWithWarningsAsWithout) {
    // '-x +1' is read as -x: the run it gives is the run of Ax=-x.
    const CliResult warned = runCli(motion({"--ay", "-4*y", "--ax", "-x +1"}));
    const CliResult quiet = runCli(motion({"--ay", "-4*y", "--ax", "-x +1", "-q"}));
    const CliResult read = runCli(motion({"--ay", "-4*y", "--ax", "-x"}));
    EXPECT_EQ(warned.status, 0);
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(linesOf(warned.err).size(), 1u);
    EXPECT_GT(warned.out.size(), 40u * 10);
    EXPECT_EQ(warned.out, quiet.out);
    EXPECT_EQ(warned.out, read.out);
}

TEST(RunWarnings, EachFormulaIsNamedByWhereItCameFrom) {
    TempDir dir;
    const std::string file = dir.file("lesson.kurvilo");
    writeFile(file,
              "kurvilo = 1\nmode = \"cartesian-motion\"\nticks = 3\n[formulas]\n"
              "first = \"2**3\"\nsecond = \"pi\"\n");
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> named;  // the start of each warning after its prefix
    } cases[] = {
        {{"run", file},
         {file + ": formulas.first '2**3' column 2: ", file + ": formulas.second 'pi' column 1: "}},
        {{"run", file, "--f2", "x"}, {file + ": formulas.first '2**3' column 2: "}},
        {{"run", file, "--ay", "y y"},
         {"--ay 'y y' column 2: ", file + ": formulas.second 'pi' column 1: "}},
        {{"run", "--mode", "cartesian-curve", "--ticks", "3", "--curve", "x x"},
         {"--curve 'x x' column 2: "}},
        {{"run", "--mode", "polar-motion", "--ticks", "3", "--f1", "r**2", "--atheta", "Sin(t)"},
         {"--f1 'r**2' column 2: ", "--atheta 'Sin(t)' column 1: "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(joined(c.args));
        const CliResult r = runCli(c.args);
        EXPECT_EQ(r.status, 0);
        const std::vector<std::string> lines = linesOf(r.err);
        ASSERT_EQ(lines.size(), c.named.size()) << r.err;
        for (std::size_t k = 0; k < lines.size(); ++k)
            EXPECT_EQ(lines[k].rfind("kurvilo-cli run: warning: " + c.named[k], 0), 0u) << lines[k];
    }
}

TEST(RunStrict, AFormulaWithANoteRunsNothingAndWritesNothing) {
    TempDir dir;
    const std::vector<std::string> outputs = {"--trace",    dir.file("trace.tsv"),
                                              "--picture",  dir.file("end.png"),
                                              "--save-run", dir.file("saved.kurvilo")};
    std::vector<std::string> args = {
        "run",  "--mode", "cartesian-motion", "--ticks", "5", "--ay", "-y",
        "--ax", "2**x",   "--strict"};
    args.insert(args.end(), outputs.begin(), outputs.end());
    const CliResult refused = runCli(args);
    EXPECT_EQ(refused.status, 3);
    EXPECT_EQ(refused.out, "");
    const std::vector<std::string> lines = linesOf(refused.err);
    ASSERT_EQ(lines.size(), 2u) << refused.err;
    EXPECT_EQ(lines[1],
              "kurvilo-cli run: --strict: --ax is read differently from how it looks; nothing "
              "was run or written");
    for (const char* name : {"trace.tsv", "end.png", "saved.kurvilo"})
        EXPECT_FALSE(std::filesystem::exists(dir.file(name))) << name;

    // Both formulas, and -q: the one line of --strict alone.
    args[6] = "pi";
    args.push_back("-q");
    const CliResult both = runCli(args);
    EXPECT_EQ(both.status, 3);
    EXPECT_EQ(both.err,
              "kurvilo-cli run: --strict: --ay and --ax are read differently from how they look; "
              "nothing was run or written\n");

    // Clean formulas run as without --strict.
    args[6] = "-y";
    args[8] = "2*x";
    const CliResult clean = runCli(args);
    EXPECT_EQ(clean.status, 0) << clean.err;
    for (const char* name : {"trace.tsv", "end.png", "saved.kurvilo"})
        EXPECT_TRUE(std::filesystem::exists(dir.file(name))) << name;
}

}  // namespace
}  // namespace kurvilo::testing
