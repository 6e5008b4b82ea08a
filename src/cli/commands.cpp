// SPDX-License-Identifier: MIT
#include "cli/commands.h"

#include <array>
#include <cstdio>

#include "picture/output_file.h"

namespace kurvilo::cli {

namespace {

// The program's own help, before the list of commands and after it.
constexpr std::string_view kProgramUsage =
    "usage: kurvilo-cli <command> [options]\n"
    "       kurvilo-cli help <command>\n"
    "       kurvilo-cli --version\n"
    "\n"
    "Evaluates Kurvilo's formulas and runs its animations without a window.\n"
    "\n"
    "commands:\n";

constexpr std::string_view kProgramEpilogue =
    "  help        show the help of a command\n"
    "\n"
    "Values are read and written with '.' as the decimal separator, whatever the\n"
    "locale, unless --separator says otherwise. Every command takes -h, --help and\n"
    "--version.\n";

}  // namespace

std::span<const CommandDef* const> commands() {
    static const std::array<const CommandDef*, 3> all{&evalCommand(), &runCommand(),
                                                      &completionCommand()};
    return all;
}

const CommandDef* findCommand(std::string_view name) {
    for (const CommandDef* command : commands()) {
        if (command->name == name) return command;
    }
    return nullptr;
}

std::string commandHelp(const CommandDef& command) {
    std::string text(command.usage);
    text += '\n';
    text += optionHelp(command.options);
    if (!command.epilogue.empty()) {
        text += '\n';
        text += command.epilogue;
    }
    return text;
}

std::string programHelp() {
    std::string text(kProgramUsage);
    for (const CommandDef* command : commands()) {
        std::string line = "  ";
        line += command->name;
        line.resize(14, ' ');
        line += command->summary;
        line += '\n';
        text += line;
    }
    text += kProgramEpilogue;
    return text;
}

std::string versionText() {
    return "kurvilo-cli " KURVILO_VERSION "\nMIT License. Copyright (c) The Kurvilo developers.\n";
}

int writeStandardOutput(std::string_view command, std::string_view text) {
    OutputFile out;
    out.openStandardOutput();
    out.write(text);
    if (out.close() || out.readerGone()) return 0;
    std::string line = command.empty() ? "kurvilo-cli" : "kurvilo-cli " + std::string(command);
    line += ": cannot write standard output: " + out.error() + "\n";
    std::fputs(line.c_str(), stderr);
    return 1;
}

int answerHelpOrVersion(const CommandDef& command, const CommandLine& line) {
    if (line.help) return writeStandardOutput(command.name, commandHelp(command));
    if (line.version) return writeStandardOutput(command.name, versionText());
    return -1;
}

}  // namespace kurvilo::cli
