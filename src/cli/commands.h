// SPDX-License-Identifier: MIT
// The commands of kurvilo-cli: each with its option table, its help and the function that runs
// it on the arguments after its name and returns the exit status: 0 done, 1 a run that ended in
// a failed tick or an output that could not be written, 2 bad arguments, 3 a formula with a note
// under --strict, 128 + N a run stopped by signal N.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "cli/options.h"

namespace kurvilo::cli {

// --strict, and a formula is read differently from how it looks.
inline constexpr int kExitNotes = 3;

struct CommandDef {
    std::string_view name;
    std::string_view summary;  // one line of the program's help
    std::string_view usage;    // the help before the options: usage lines and what it does
    std::span<const OptionDef> options;
    std::string_view epilogue;  // the help after the options
    int (*run)(std::span<const std::string> args);
};

const CommandDef& evalCommand();
const CommandDef& runCommand();
const CommandDef& completionCommand();

// Every command, in the order the program's help lists them ("help" is the program's own).
std::span<const CommandDef* const> commands();
const CommandDef* findCommand(std::string_view name);

// A command's whole help text; the program's.
std::string commandHelp(const CommandDef& command);
std::string programHelp();
// "kurvilo-cli 0.2.0" and the licence.
std::string versionText();

// Writes text to standard output and closes it; on a failure writes "kurvilo-cli <command>:
// cannot write standard output: <cause>" and returns 1. A reader that went away is no failure.
int writeStandardOutput(std::string_view command, std::string_view text);

// What a command does with "-h"/"--help" and "--version" once its line is split: the text on
// standard output, and its exit status; -1 when neither was asked for.
int answerHelpOrVersion(const CommandDef& command, const CommandLine& line);

}  // namespace kurvilo::cli
