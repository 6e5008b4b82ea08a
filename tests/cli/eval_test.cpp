// kurvilo-cli eval, end to end through the built binary.
#include <gtest/gtest.h>

#include <string>

#include "cli_runner.h"

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

TEST(CliEval, BadArgumentsExitWithStatusTwo) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"eval"},
                                                 {"eval", "--bogus", "1", "x"},
                                                 {"eval", "--x"},
                                                 {"eval", "--separator", "ab", "x"},
                                                 {"eval", "--separator", "5", "x"},
                                                 {"eval", "--tsv", "x"},
                                                 {"frobnicate"},
                                                 {}}) {
        std::string joined;
        for (const auto& a : args)
            joined += a + " ";
        SCOPED_TRACE(joined);
        EXPECT_EQ(runCli(args).status, 2);
    }
}

TEST(CliEval, HelpExplainsTheOptions) {
    const CliResult top = runCli({"--help"});
    EXPECT_EQ(top.status, 0);
    EXPECT_NE(top.out.find("eval"), std::string::npos);
    EXPECT_NE(top.out.find("run"), std::string::npos);
    const CliResult eval = runCli({"eval", "--help"});
    EXPECT_EQ(eval.status, 0);
    for (const char* word : {"--separator", "--tsv", "--vtheta", "EConvertError", "--d"}) {
        EXPECT_NE(eval.out.find(word), std::string::npos) << word;
    }
}

}  // namespace
}  // namespace kurvilo::testing
