// SPDX-License-Identifier: MIT
// kurvilo-cli: the headless companion of the window. `eval` evaluates formulas, `run` runs a
// whole animation without a display and writes its trace, its picture and its animation,
// `completion` prints the shell completion, `help` any command's help.
#include <clocale>
#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/escape.h"
#include "cli/options.h"

namespace {

using namespace kurvilo::cli;

std::vector<std::string_view> commandNames() {
    std::vector<std::string_view> names;
    for (const CommandDef* command : commands())
        names.push_back(command->name);
    names.push_back("help");
    return names;
}

std::string unknownCommand(const std::string& name) {
    std::string message = "unknown command '" + name + "'";
    const std::vector<std::string_view> names = commandNames();
    if (const std::string nearest = nearestName(name, names); !nearest.empty()) {
        message += " (did you mean '" + nearest + "'?)";
    }
    return message;
}

// kurvilo-cli help [command]
int help(const std::vector<std::string>& args) {
    if (args.empty()) return writeStandardOutput("", programHelp());
    if (args.size() > 1) return reportUsageError("help", "help takes one command");
    if (args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
        return writeStandardOutput("", programHelp());
    }
    const CommandDef* command = findCommand(args[0]);
    if (command == nullptr) return reportUsageError("", unknownCommand(args[0]));
    return writeStandardOutput("help", commandHelp(*command));
}

}  // namespace

int main(int argc, char** argv) {
    // For --separator locale, and for the system's messages in the user's language.
    std::setlocale(LC_ALL, "");
    // A reader that goes away makes a write fail with EPIPE, which each command handles.
    std::signal(SIGPIPE, SIG_IGN);
    useDefaultSeparator();
    if (argc < 2) return reportUsageError("", "no command given");
    const std::string name = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (name == "--help" || name == "-h") return writeStandardOutput("", programHelp());
    if (name == "--version") return writeStandardOutput("", versionText());
    if (name == "help") return help(args);
    const CommandDef* command = findCommand(name);
    if (command == nullptr) {
        if (name.size() > 2 && name.compare(0, 2, "--") == 0) {
            std::string message = "unknown option '" + name + "'";
            const std::vector<std::string_view> options = {"help", "version"};
            const std::string nearest = nearestName(name.substr(2), options);
            if (!nearest.empty()) message += " (did you mean '--" + nearest + "'?)";
            return reportUsageError("", message + "; a command comes first");
        }
        return reportUsageError("", unknownCommand(name));
    }
    try {
        return command->run(args);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kurvilo-cli %s: %s\n", name.c_str(), escaped(error.what()).c_str());
        return 1;
    }
}
