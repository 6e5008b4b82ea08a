// SPDX-License-Identifier: MIT
// The command line of one kurvilo-cli command: a table of the options it knows, which the
// splitting of "--name VALUE" and "--name=VALUE", the help text, the suggestions for a mistyped
// name and the shell completion all read; "-h"/"--help", "--version", "--" and the operands; and
// the one-line usage error that ends with "Try 'kurvilo-cli <command> --help'." and exit
// status 2.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kurvilo::cli {

inline constexpr int kExitUsage = 2;

// What an option's value is: free text, or one of the closed sets and kinds of path that the help
// lists and the shell completion offers.
enum class ValueKind {
    None,         // a flag
    Text,         // any text
    Count,        // a whole number
    ModeName,     // a row of the settings' graph modes, by name or index
    StepName,     // a row of the time steps
    RangeName,    // a row of the view ranges
    SpeedName,    // a row of the drawing speeds
    Separator,    // one character, or "locale"
    File,         // any file, or "-"
    PictureFile,  // .png or .bmp, or "-"
    BmpFile,      // a bitmap, or "-"
    GifFile,      // a GIF, or "-"
    Folder,
};

// One option of a command, or a heading of its help (empty name). Several names may share one id
// (aliases): the first of them carries the help, the others have none and are shown beside it.
struct OptionDef {
    std::string_view name;  // without the leading "--"
    int id;
    ValueKind value;
    std::string_view valueName;  // "N", "FILE": how the help writes the value
    // The help text; "{values}" stands for the value's closed set. For a heading: its line.
    std::string_view help;
    char shortName = 0;  // 'q' for "-q"
};

// The ids of the options every command shares; a command's own ids are 0 and up.
inline constexpr int kHelpOption = -1;
inline constexpr int kVersionOption = -2;
inline constexpr int kHeading = -3;

struct GivenOption {
    int id;
    std::string name;  // as written, "--name" or "-q": for messages
    std::string value;
};

struct CommandLine {
    bool help = false;                  // "-h" or "--help" was given: nothing after it was checked
    bool version = false;               // "--version" was given: the same
    std::vector<GivenOption> options;   // in the order given
    std::vector<std::string> operands;  // arguments that are not options, and all after "--"
};

// What was wrong with the arguments, in a few words (no trailing newline).
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Splits args by the table. An argument starting with "--" is an option, "-" and a letter a short
// one; "-" alone, anything else, and everything after "--" is an operand. A value follows as
// "--name=VALUE" or as the next argument, whatever it looks like ("--x -1"). Throws UsageError
// for an unknown option (naming the nearest known one), a missing value, a value given to an
// option that takes none, and an operand when operandsAllowed is false. Stops at the first
// "-h", "--help" or "--version".
CommandLine parseCommandLine(std::span<const OptionDef> table, std::span<const std::string> args,
                             bool operandsAllowed);

// The name among candidates closest to a mistyped one (a letter or two left out, added, changed
// or swapped); empty when none is close enough to be what was meant.
std::string nearestName(std::string_view typed, std::span<const std::string_view> candidates);

// The values of a closed set ("cartesian-motion", ...); empty for a value that is no closed set.
std::vector<std::string_view> closedValues(ValueKind kind);

// The options part of a command's help: each option with its value and help text, headings as
// they stand, wrapped to fit 80 columns.
std::string optionHelp(std::span<const OptionDef> table);

// Writes "kurvilo-cli <command>: <message>" and the line "Try 'kurvilo-cli <command> --help'." to
// standard error and returns kExitUsage. An empty command names the program itself.
int reportUsageError(std::string_view command, std::string_view message);

// The decimal separator of the command line, "." unless "--separator C" or "--separator locale"
// (the C locale's decimal point, or "." when it is not exactly one usable character) says
// otherwise. Sets the process-wide separator; empty when done, else what is wrong with the value.
void useDefaultSeparator();
std::string setSeparatorOption(std::string_view value);

}  // namespace kurvilo::cli
