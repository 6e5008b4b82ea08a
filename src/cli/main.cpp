// SPDX-License-Identifier: MIT
// kurvilo-cli: the headless companion of the window. `eval` evaluates formulas, `run` runs a
// whole animation without a display and writes its trace, its picture and its animation.
#include <clocale>
#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/escape.h"
#include "cli/options.h"
#include "cli/output.h"

namespace {

constexpr const char* kHelp =
    "usage: kurvilo-cli <command> [options]\n"
    "       kurvilo-cli --version\n"
    "\n"
    "commands:\n"
    "  eval   evaluate formulas the way a tick does, or explain their steps\n"
    "         (kurvilo-cli eval --help)\n"
    "  run    run a whole animation headlessly, to a trace, a picture, frames or a GIF\n"
    "         (kurvilo-cli run --help)\n"
    "\n"
    "Every value is a decimal with four decimals, written with the locale's decimal separator\n"
    "unless --separator says otherwise.\n";

// The version comes from the project's version in CMake.
constexpr const char* kVersion = "kurvilo-cli " KURVILO_VERSION
                                 "\n"
                                 "MIT License. Copyright (c) The Kurvilo developers.\n";

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    // A reader that goes away makes a write fail with EPIPE, which each command handles.
    std::signal(SIGPIPE, SIG_IGN);
    using kurvilo::cli::reportUsageError;
    using kurvilo::cli::writeStandardOutput;
    if (argc < 2) return reportUsageError("", "no command given");
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        return writeStandardOutput("", kHelp);
    }
    if (command == "--version") return writeStandardOutput("", kVersion);
    const std::vector<std::string> args(argv + 2, argv + argc);
    try {
        if (command == "eval") return kurvilo::cli::runEval(args);
        if (command == "run") return kurvilo::cli::runRun(args);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kurvilo-cli %s: %s\n", command.c_str(),
                     kurvilo::cli::escaped(error.what()).c_str());
        return 1;
    }
    return reportUsageError("", "unknown command '" + command + "'");
}
