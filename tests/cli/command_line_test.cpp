// SPDX-License-Identifier: MIT
// The command line's shape: the option splitter in-process (names, aliases, "--name=VALUE",
// values that look like options, "--", help), and through the binary the version, help for
// every command and the one-line usage error with its hint and status 2.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/options.h"
#include "cli_runner.h"

namespace kurvilo::cli {
namespace {

using testing::CliResult;
using testing::runCli;

enum TestOption { kName, kFlag, kAliased };
constexpr OptionDef kTable[] = {{"name", kName, true},
                                {"flag", kFlag, false},
                                {"one", kAliased, true},
                                {"two", kAliased, true}};

CommandLine parse(const std::vector<std::string>& args, bool operands = true) {
    return parseCommandLine(kTable, args, operands);
}

std::string usageProblem(const std::vector<std::string>& args, bool operands = true) {
    try {
        parse(args, operands);
    } catch (const UsageError& error) {
        return error.what();
    }
    return "";
}

TEST(OptionSplitter, ValuesFollowAsTheNextArgumentOrAfterEquals) {
    const struct {
        std::vector<std::string> args;
        std::string value;
    } cases[] = {
        {{"--name", "v"}, "v"},           {{"--name=v"}, "v"},      {{"--name", "-1"}, "-1"},
        {{"--name", "--flag"}, "--flag"}, {{"--name="}, ""},        {{"--name", ""}, ""},
        {{"--name=a=b"}, "a=b"},          {{"--name", "-h"}, "-h"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::joined(c.args));
        const CommandLine line = parse(c.args);
        ASSERT_EQ(line.options.size(), 1u);
        EXPECT_EQ(line.options[0].id, kName);
        EXPECT_EQ(line.options[0].value, c.value);
        EXPECT_TRUE(line.operands.empty());
    }
}

TEST(OptionSplitter, AliasesShareTheIdAndKeepTheNameWritten) {
    const CommandLine line = parse({"--two", "2", "--one=1"});
    ASSERT_EQ(line.options.size(), 2u);
    EXPECT_EQ(line.options[0].id, kAliased);
    EXPECT_EQ(line.options[0].name, "two");
    EXPECT_EQ(line.options[1].id, kAliased);
    EXPECT_EQ(line.options[1].name, "one");
}

TEST(OptionSplitter, OperandsAreEverythingElseAndAllAfterTheEndOfOptions) {
    const CommandLine line = parse({"a", "-x", "--flag", "-", "--", "--name", "-h", "--"});
    ASSERT_EQ(line.options.size(), 1u);
    EXPECT_EQ(line.options[0].id, kFlag);
    EXPECT_EQ(line.operands, (std::vector<std::string>{"a", "-x", "-", "--name", "-h", "--"}));
}

TEST(OptionSplitter, HelpStopsTheSplittingWhateverFollows) {
    for (const char* help : {"-h", "--help"}) {
        const CommandLine line = parse({"--flag", help, "--unknown", "--name"});
        EXPECT_TRUE(line.help) << help;
    }
    EXPECT_FALSE(parse({"--", "-h"}).help);
}

TEST(OptionSplitter, MistakesAreUsageErrorsInAFewWords) {
    const struct {
        std::vector<std::string> args;
        bool operands;
        std::string problem;
    } cases[] = {
        {{"--nmae", "v"}, true, "unknown option '--nmae'"},
        {{"--nmae=v"}, true, "unknown option '--nmae'"},
        {{"--name"}, true, "--name needs a value"},
        {{"--flag=1"}, true, "--flag takes no value"},
        {{"stray"}, false, "unexpected argument 'stray'"},
        {{"--", "stray"}, false, "unexpected argument 'stray'"},
        {{"---name", "v"}, true, "unknown option '---name'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::joined(c.args));
        EXPECT_EQ(usageProblem(c.args, c.operands), c.problem);
    }
}

TEST(CommandLine, VersionNamesTheProgramItsVersionAndItsLicence) {
    const CliResult r = runCli({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "kurvilo-cli " KURVILO_VERSION
                     "\nMIT License. Copyright (c) The Kurvilo developers.\n");
}

TEST(CommandLine, EveryCommandAnswersHelpOnStandardOutput) {
    const struct {
        std::vector<std::string> args;
        const char* start;
    } cases[] = {
        {{"--help"}, "usage: kurvilo-cli <command>"},
        {{"-h"}, "usage: kurvilo-cli <command>"},
        {{"eval", "--help"}, "usage: kurvilo-cli eval"},
        {{"eval", "-h"}, "usage: kurvilo-cli eval"},
        {{"run", "--help"}, "usage: kurvilo-cli run"},
        {{"run", "-h"}, "usage: kurvilo-cli run"},
        {{"run", "--mode", "9", "-h"}, "usage: kurvilo-cli run"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::joined(c.args));
        const CliResult r = runCli(c.args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.rfind(c.start, 0), 0u) << r.out;
        EXPECT_EQ(r.err, "");
    }
}

TEST(CommandLine, UsageErrorIsOneLineAndAHintNotTheWholeUsage) {
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{}, "kurvilo-cli: no command given\nTry 'kurvilo-cli --help'.\n"},
        {{"frobnicate"}, "kurvilo-cli: unknown command 'frobnicate'\nTry 'kurvilo-cli --help'.\n"},
        {{"run", "--mode", "0"},
         "kurvilo-cli run: --ticks is required\nTry 'kurvilo-cli run --help'.\n"},
        {{"eval", "--y"}, "kurvilo-cli eval: --y needs a value\nTry 'kurvilo-cli eval --help'.\n"},
        {{"eval", "--a\nb=1"},
         "kurvilo-cli eval: unknown option '--a\\nb'\nTry 'kurvilo-cli eval --help'.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::joined(c.args));
        const CliResult r = runCli(c.args);
        EXPECT_EQ(r.status, kExitUsage);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
}

}  // namespace
}  // namespace kurvilo::cli
