// SPDX-License-Identifier: MIT
// kurvilo-cli eval, end to end through the built binary.
#include <gtest/gtest.h>

#include <string>

#include "child_process.h"
#include "cli_runner.h"
#include "locale_support.h"

namespace kurvilo::testing {
namespace {

const std::vector<std::string> kSampleValues = {"--vx", "0.3", "--x", "0.5", "--vy", "-2",
                                                "--y",  "4",   "--t", "1.5", "--a",  "2",
                                                "--b",  "3",   "--c", "0",   "--d",  "-1"};

std::vector<std::string> evalWith(std::vector<std::string> extra) {
    std::vector<std::string> args = {"eval", "--separator", "."};
    args.insert(args.end(), kSampleValues.begin(), kSampleValues.end());
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
}

TEST(CliEval, PrintsOneLinePerFormulaValueOrError) {
    const CliResult r = runCli(
        evalWith({"--", "2(x+1)^2-sin(t)x", "--x", "x/0", "1.2.3", "", "\u03A3{n=1<>10:n}"}));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "4.0012\n"
              "-0.5\n"
              "error: EZeroDivide: Floating point division by zero\n"
              "error: EConvertError: '1.2.3' is not a valid floating point value\n"
              "0\n"
              "55\n");
}

TEST(CliEval, AliasesAndEqualsFormNameTheSameSlots) {
    const CliResult r = runCli({"eval", "--separator=.", "--vtheta=0.3", "--theta", "0.5", "--vr",
                                "-2", "--r=4", "v\u03B8^2", "\u03B8", "vy", "y"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "0.09\n0.5\n-2\n4\n");
}

TEST(CliEval, FormulasComeFromStandardInputOneALineWhenNoneIsGiven) {
    const CliResult r =
        runCli({"eval", "--separator", ".", "--x", "0.5"}, "2x\n1/3*3\n\nx z\r\nln(0)\nx^2");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "1\n"
              "0.9999\n"
              "0\n"
              "0.5\n"
              "error: EZeroDivide: Floating point division by zero\n"
              "0.25\n");
}

TEST(CliEval, ADashReadsStandardInputWhereItStands) {
    const CliResult r = runCli({"eval", "--x", "2", "x", "-", "x*x"}, "x+1\nx+2\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "2\n3\n4\n4\n");
    const CliResult tsv = runCli({"eval", "--tsv", "-"}, "x+1\t0\t5\n");
    EXPECT_EQ(tsv.status, 0);
    EXPECT_EQ(tsv.out, "6\n");
}

// The command line reads and writes "." whatever the locale; the locale's is there when asked.
TEST(CliEval, ValuesUseTheDotUnderAnyLocaleAndTheLocalesWhenAsked) {
    KURVILO_GERMAN_LOCALE_OR_SKIP(german);
    const struct {
        std::string environment;
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {"LC_ALL=C ", {"eval", "--x", "0.5", "x/4"}, "0.125\n"},
        {german, {"eval", "--x", "0.5", "x/4"}, "0.125\n"},
        {german, {"eval", "--separator", "locale", "--x", "0,5", "x/4"}, "0,125\n"},
        {german,
         {"eval", "--separator", "locale", "--x", "0.5", "x"},
         "error: EConvertError: '0.5' is not a valid floating point value\n"},
        {"LC_ALL=C ", {"eval", "--separator", "locale", "--x", "0.5", "x/4"}, "0.125\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.environment + joined(c.args));
        const CliResult r = runShell(c.environment + cliCommand(c.args) + " </dev/null");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
    }
}

// Driven through pipes as another program drives it: each answer comes before the next line is
// sent, with and without --explain.
TEST(CliEval, AnswersEachLineBeforeTheNextIsSent) {
    ChildProcess::Setup setup;
    setup.in = Stream::pipe();
    setup.out = Stream::pipe();
    ChildProcess plain({"eval", "--x", "3"}, setup);
    ASSERT_TRUE(plain.started());
    const struct {
        const char* formula;
        const char* answer;
    } cases[] = {{"x+1", "4"},
                 {"1/0", "error: EZeroDivide: Floating point division by zero"},
                 {"x^2", "9"},
                 {"\u03A3{n=1<>3:xn}", "18"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(plain.send(std::string(c.formula) + "\n"));
        std::string line;
        ASSERT_TRUE(plain.readLine(line, std::chrono::seconds(10)))
            << "no answer to '" << c.formula << "' while the input stays open";
        EXPECT_EQ(line, c.answer);
    }
    plain.closeInput();
    EXPECT_EQ(plain.wait(), 0);

    ChildProcess explained({"eval", "--explain", "--x", "3"}, setup);
    ASSERT_TRUE(explained.send("x+1\n"));
    std::string line;
    do {
        ASSERT_TRUE(explained.readLine(line, std::chrono::seconds(10))) << "no result line";
    } while (line.rfind("result", 0) != 0);
    EXPECT_EQ(line.substr(line.find_last_of(' ') + 1), "4");
    explained.closeInput();
    EXPECT_EQ(explained.wait(), 0);
}

TEST(CliEval, NoFormulaAndEmptyInputPrintNothing) {
    const CliResult r = runCli({"eval"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST(CliEval, TsvCasesFillMissingFieldsFromTheOptions) {
    const std::string input =
        "2(x+1)^2-sin(t)x\t0.3\t0.5\t-2\t4\t1.5\n"
        "a*b-c+d\t0\t0\t0\t0\t0\t2\t3\t0\t-1\n"
        "x+a\n"
        "ln(0)\r\n";
    const CliResult r = runCli({"eval", "--separator", ".", "--a", "10", "--tsv"}, input);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "4.0012\n"
              "5\n"
              "10\n"
              "error: EZeroDivide: Floating point division by zero\n");
}

TEST(CliEval, SeparatorOptionChangesValueTextsNotLiterals) {
    const CliResult r = runCli({"eval", "--separator", ",", "--x", "0,5", "x+1.25"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "1,75\n");
}

// Every case stays one line, and no message ends early at a NUL.
TEST(CliEval, ControlCharactersAreWrittenEscapedInMessages) {
    const struct {
        const char* what;
        std::vector<std::string> args;
        std::string input;
        std::string out;
    } cases[] = {
        {"a newline in a value",
         {"eval", "--x", "1\n2", "x"},
         "",
         "error: EConvertError: '1\\n2' is not a valid floating point value\n"},
        {"a tab and a carriage return in a value",
         {"eval", "--a", "\t1\r", "a+1"},
         "",
         "error: EConvertError: '\\t1\\r' is not a valid floating point value\n"},
        {"a NUL inside a value from standard input, and the text after it",
         {"eval", "--tsv"},
         std::string("vx\t1\0 2\n", 8),
         "error: EConvertError: '1\\0 2' is not a valid floating point value\n"},
        {"a NUL in a formula ends its reading like any unknown character",
         {"eval", "--x", "3"},
         std::string("x\0+1\nx+1\n", 9),
         "3\n4\n"},
        {"a NUL in a summation bound",
         {"eval"},
         std::string("\u03A3{n=1<>\0:n}\n", 13),
         "error: EConvertError: '\\0' is not a valid integer value\n"},
        {"a newline inside a formula argument", {"eval", "--y", "4", "y\n+1"}, "", "4\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CliResult r = runCli(c.args, c.input);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, c.out);
    }
}

TEST(CliEval, SeparatorRefusesEveryCharacterOfTheLanguageAndItsValues) {
    for (const char* separator : {"(", ")", "[", "]", "{", "}",  "*",  "/",      "^",      ":",
                                  "<", ">", "=", "x", "a", "n",  "Z",  "\u03C0", "\u03B8", "\u03A3",
                                  "+", "-", "5", " ", "e", "\t", "\n", "\x7F",   "ab",     ""}) {
        SCOPED_TRACE(std::string("separator '") + separator + "'");
        const CliResult r = runCli({"eval", "--separator", separator, "(1/4)*2"});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("--separator"), std::string::npos) << r.err;
    }
}

TEST(CliEval, SeparatorOutsideTheLanguageIsAccepted) {
    for (const char* separator : {",", ";", "'", "_", "|", "\u00B7", "\u066B"}) {
        SCOPED_TRACE(std::string("separator '") + separator + "'");
        const CliResult r = runCli({"eval", "--separator", separator, "--x",
                                    std::string("0") + separator + "25", "(1/4)*2+x"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, std::string("0") + separator + "75\n");
    }
}

TEST(CliEval, BadArgumentsGiveOneLineAndAHintAndStatusTwo) {
    const struct {
        std::vector<std::string> args;
        std::string firstLine;
    } cases[] = {
        {{"eval", "--bogus", "1", "x"}, "kurvilo-cli eval: unknown option '--bogus'"},
        {{"eval", "--x"}, "kurvilo-cli eval: --x needs a value"},
        {{"eval", "--tsv=1"}, "kurvilo-cli eval: --tsv takes no value"},
        {{"eval", "--explain=yes", "x"}, "kurvilo-cli eval: --explain takes no value"},
        {{"eval", "--separator", "ab", "x"},
         "kurvilo-cli eval: --separator needs exactly one character, or 'locale'"},
        {{"eval", "--tsv", "x"}, "kurvilo-cli eval: --tsv reads formulas from standard input only"},
        {{"eval", "-", "x", "-"}, "kurvilo-cli eval: standard input ('-') can be read only once"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(joined(c.args));
        const CliResult r = runCli(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.firstLine + "\nTry 'kurvilo-cli eval --help'.\n");
    }
}

TEST(CliEval, ADashedFormulaAfterTheEndOfOptionsIsAFormula) {
    const CliResult r = runCli({"eval", "--x", "2", "--", "-h", "--x", "-x"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "0\n-2\n-2\n");  // '--x' is 0 - 0 - x
}

TEST(CliEval, HelpExplainsTheOptions) {
    for (const char* help : {"--help", "-h"}) {
        SCOPED_TRACE(help);
        const CliResult eval = runCli({"eval", "--x", "1", help, "--bogus"});
        EXPECT_EQ(eval.status, 0);
        EXPECT_EQ(eval.out.rfind("usage: kurvilo-cli eval", 0), 0u);
        for (const char* word :
             {"--separator", "--tsv", "--explain", "--vtheta", "EConvertError", "--d", "\\n"}) {
            EXPECT_NE(eval.out.find(word), std::string::npos) << word;
        }
    }
}

}  // namespace
}  // namespace kurvilo::testing
