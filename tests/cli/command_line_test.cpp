// SPDX-License-Identifier: MIT
// The command line's shape: the option splitter in-process (names, aliases, "--name=VALUE",
// values that look like options, "--", help, short options), the nearest name to a mistyped
// one, and through the binary the version after any command, help for every command in 80
// columns, "help <command>", and the one-line usage error with its hint and status 2.
#include <gtest/gtest.h>

#include <clocale>
#include <cwchar>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/options.h"
#include "cli_runner.h"

namespace kurvilo::cli {
namespace {

using testing::CliResult;
using testing::runCli;

enum TestOption { kName, kFlag, kAliased, kQuiet };
constexpr OptionDef kTable[] = {
    {"name", kName, ValueKind::Text, "V", "a value"},
    {"flag", kFlag, ValueKind::None, "", "a flag"},
    {"one", kAliased, ValueKind::Text, "V", "one of two names"},
    {"two", kAliased, ValueKind::Text, "V", ""},
    {"quiet", kQuiet, ValueKind::None, "", "a flag with a short name", 'q'},
    {"help", kHelpOption, ValueKind::None, "", "help", 'h'},
    {"version", kVersionOption, ValueKind::None, "", "the version"},
};

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
    EXPECT_EQ(line.options[0].name, "--two");
    EXPECT_EQ(line.options[1].id, kAliased);
    EXPECT_EQ(line.options[1].name, "--one");
}

TEST(OptionSplitter, OperandsAreEverythingElseAndAllAfterTheEndOfOptions) {
    const CommandLine line = parse({"a", "-x", "--flag", "-", "-qq", "--", "--name", "-h", "--"});
    ASSERT_EQ(line.options.size(), 1u);
    EXPECT_EQ(line.options[0].id, kFlag);
    EXPECT_EQ(line.operands,
              (std::vector<std::string>{"a", "-x", "-", "-qq", "--name", "-h", "--"}));
}

TEST(OptionSplitter, AShortNameIsTheOptionItNames) {
    const CommandLine line = parse({"-q", "--quiet"});
    ASSERT_EQ(line.options.size(), 2u);
    EXPECT_EQ(line.options[0].id, kQuiet);
    EXPECT_EQ(line.options[0].name, "-q");
    EXPECT_EQ(line.options[1].name, "--quiet");
}

TEST(OptionSplitter, HelpAndVersionStopTheSplittingWhateverFollows) {
    for (const char* help : {"-h", "--help"}) {
        const CommandLine line = parse({"--flag", help, "--unknown", "--name"});
        EXPECT_TRUE(line.help) << help;
    }
    EXPECT_TRUE(parse({"--flag", "--version", "--unknown"}).version);
    EXPECT_FALSE(parse({"--", "-h"}).help);
    EXPECT_FALSE(parse({"--name", "--version"}).version) << "a value, not the option";
}

TEST(NearestName, IsTheNameOneOrTwoSlipsAway) {
    const std::vector<std::string_view> names = {"ticks", "trace", "mode",    "picture", "every",
                                                 "eval",  "run",   "range-x", "range-y"};
    const struct {
        const char* typed;
        const char* nearest;
    } cases[] = {
        {"tick", "ticks"}, {"tikcs", "ticks"},     {"tracee", "trace"},    {"mod", "mode"},
        {"moed", "mode"},  {"pictuer", "picture"}, {"pict", "picture"},    {"evry", "every"},
        {"evl", "eval"},   {"rnu", "run"},         {"range-z", "range-x"}, {"zzzzzz", ""},
        {"x", ""},         {"colour", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nearestName(c.typed, names), c.nearest) << c.typed;
}

TEST(OptionSplitter, MistakesAreUsageErrorsInAFewWords) {
    const struct {
        std::vector<std::string> args;
        bool operands;
        std::string problem;
    } cases[] = {
        {{"--nmae", "v"}, true, "unknown option '--nmae' (did you mean '--name'?)"},
        {{"--nmae=v"}, true, "unknown option '--nmae' (did you mean '--name'?)"},
        {{"--colour"}, true, "unknown option '--colour'"},
        {{"--help=1"}, true, "--help takes no value"},
        {{"--name"}, true, "--name needs a value"},
        {{"--flag=1"}, true, "--flag takes no value"},
        {{"stray"}, false, "unexpected argument 'stray'"},
        {{"--", "stray"}, false, "unexpected argument 'stray'"},
        {{"---name", "v"}, true, "unknown option '---name' (did you mean '--name'?)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::joined(c.args));
        EXPECT_EQ(usageProblem(c.args, c.operands), c.problem);
    }
}

TEST(CommandLine, VersionNamesTheProgramItsVersionAndItsLicenceAfterAnyCommand) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--version"},
                                                 {"eval", "--version"},
                                                 {"run", "--version"},
                                                 {"run", "--mode", "0", "--version", "--ticks"},
                                                 {"completion", "--version"}}) {
        SCOPED_TRACE(testing::joined(args));
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, "kurvilo-cli " KURVILO_VERSION
                         "\nMIT License. Copyright (c) The Kurvilo developers.\n");
        EXPECT_EQ(r.err, "");
    }
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
        {{"completion", "--help"}, "usage: kurvilo-cli completion"},
        {{"help"}, "usage: kurvilo-cli <command>"},
        {{"help", "--help"}, "usage: kurvilo-cli <command>"},
        {{"help", "eval"}, "usage: kurvilo-cli eval"},
        {{"help", "run"}, "usage: kurvilo-cli run"},
        {{"help", "completion"}, "usage: kurvilo-cli completion"},
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
        {{"rnu"},
         "kurvilo-cli: unknown command 'rnu' (did you mean 'run'?)\nTry 'kurvilo-cli --help'.\n"},
        {{"help", "evl"},
         "kurvilo-cli: unknown command 'evl' (did you mean 'eval'?)\nTry 'kurvilo-cli --help'.\n"},
        {{"--verison"},
         "kurvilo-cli: unknown option '--verison' (did you mean '--version'?); a command comes "
         "first\nTry 'kurvilo-cli --help'.\n"},
        {{"run", "--mode", "0", "--tick", "5"},
         "kurvilo-cli run: unknown option '--tick' (did you mean '--ticks'?)\nTry 'kurvilo-cli "
         "run --help'.\n"},
        {{"run", "--mode", "cartesain-motion", "--ticks", "5"},
         "kurvilo-cli run: --mode must be cartesian-motion, polar-motion, cartesian-curve or "
         "polar-curve (did you mean 'cartesian-motion'?)\nTry 'kurvilo-cli run --help'.\n"},
        {{"eval", "--explian", "x"},
         "kurvilo-cli eval: unknown option '--explian' (did you mean '--explain'?)\nTry "
         "'kurvilo-cli eval --help'.\n"},
        {{"completion", "bsh"},
         "kurvilo-cli completion: no completion for the shell 'bsh': bash or zsh (did you mean "
         "'bash'?)\nTry 'kurvilo-cli completion --help'.\n"},
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

// The display width of a line as the C library's wcwidth counts it in a UTF-8 locale.
int columns(const std::string& line) {
    std::mbstate_t state{};
    const char* at = line.c_str();
    const std::size_t length = std::mbsrtowcs(nullptr, &at, 0, &state);
    if (length == static_cast<std::size_t>(-1)) return 1000;
    std::wstring wide(length, L'\0');
    at = line.c_str();
    state = {};
    std::mbsrtowcs(wide.data(), &at, length, &state);
    return wcswidth(wide.c_str(), wide.size());
}

TEST(CommandLine, EveryLineOfEveryHelpFitsEightyColumns) {
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr) << "the C.UTF-8 locale is missing";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"},
                                                 {"help"},
                                                 {"eval", "--help"},
                                                 {"run", "--help"},
                                                 {"completion", "--help"}}) {
        SCOPED_TRACE(testing::joined(args));
        const CliResult r = runCli(args);
        ASSERT_EQ(r.status, 0);
        std::istringstream in(r.out);
        int lines = 0;
        for (std::string line; std::getline(in, line); ++lines) {
            EXPECT_LE(columns(line), 80) << line;
            EXPECT_EQ(line.find('\t'), std::string::npos) << line;
        }
        EXPECT_GT(lines, 5);
    }
    std::setlocale(LC_CTYPE, "C");
}

TEST(CommandLine, HelpOfACommandIsTheSameWhicheverWayItIsAsked) {
    for (const char* command : {"eval", "run", "completion"}) {
        SCOPED_TRACE(command);
        const CliResult asked = runCli({"help", command});
        EXPECT_EQ(asked.status, 0);
        EXPECT_EQ(asked.out, runCli({command, "--help"}).out);
        EXPECT_EQ(asked.out, runCli({command, "-h"}).out);
    }
}

// Every option of a command's table is in its help, once with each of its names.
TEST(CommandLine, HelpNamesEveryOptionOfTheTable) {
    for (const CommandDef* command : commands()) {
        SCOPED_TRACE(command->name);
        const std::string help = commandHelp(*command);
        for (const OptionDef& option : command->options) {
            if (option.id == kHeading) continue;
            const std::string name = "--" + std::string(option.name);
            bool named = false;
            for (std::size_t at = help.find(name); at != std::string::npos && !named;
                 at = help.find(name, at + 1)) {
                const char after = help[at + name.size()];
                named = after == ' ' || after == ',' || after == '\n';
            }
            EXPECT_TRUE(named) << name;
        }
    }
}

}  // namespace
}  // namespace kurvilo::cli
