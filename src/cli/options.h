// SPDX-License-Identifier: MIT
// The command line of one kurvilo-cli command: a table of the options it knows, the splitting of
// "--name VALUE" and "--name=VALUE", "-h"/"--help", "--" and the operands, and the one-line
// usage error that ends with "Try 'kurvilo-cli <command> --help'." and exit status 2.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kurvilo::cli {

inline constexpr int kExitUsage = 2;

// One option of a command. `id` is the command's own number for it; several names may share one
// id (aliases).
struct OptionDef {
    std::string_view name;  // without the leading "--"
    int id;
    bool takesValue;
};

struct GivenOption {
    int id;
    std::string name;  // as written, without "--": for messages
    std::string value;
};

struct CommandLine {
    bool help = false;                  // "-h" or "--help" was given: nothing else was checked
    std::vector<GivenOption> options;   // in the order given
    std::vector<std::string> operands;  // arguments that are not options, and all after "--"
};

// What was wrong with the arguments, in a few words (no trailing newline).
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Splits args by the table. An argument starting with "--" is an option; "-h" asks for help;
// anything else, and everything after "--", is an operand. A value follows as "--name=VALUE" or
// as the next argument, whatever it looks like ("--x -1"). Throws UsageError for an unknown
// option, a missing value, a value given to an option that takes none, and an operand when
// operandsAllowed is false. Stops at the first "-h" or "--help".
CommandLine parseCommandLine(std::span<const OptionDef> table, std::span<const std::string> args,
                             bool operandsAllowed);

// Writes "kurvilo-cli <command>: <message>" and the line "Try 'kurvilo-cli <command> --help'."
// to standard error and returns kExitUsage. An empty command names the program itself.
int reportUsageError(std::string_view command, std::string_view message);

// Sets the process-wide decimal separator from the C locale's decimal point ("." when it is
// not exactly one usable character).
void separatorFromLocale();
// Sets the separator from "--separator C". Empty when done, else what is wrong with the value:
// not one character, one that numbers, formulas or value atoms use, or a control character.
std::string setSeparatorOption(std::string_view value);

}  // namespace kurvilo::cli
