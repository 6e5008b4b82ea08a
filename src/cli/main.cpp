// kurvilo-cli: the headless companion of the window. `eval` evaluates formulas, `run` runs a
// whole animation without a display and writes its trace and picture.
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace {

constexpr const char* kUsage =
    "usage: kurvilo-cli <command> [options]\n"
    "\n"
    "commands:\n"
    "  eval   evaluate formulas the way a tick does (kurvilo-cli eval --help)\n"
    "  run    run a whole animation headlessly, to a trace and a BMP (kurvilo-cli run --help)\n"
    "\n"
    "Every value is a decimal with four decimals, written with the locale's decimal separator\n"
    "unless --separator says otherwise.\n";

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "eval") return kurvilo::cli::runEval(args);
    if (command == "run") return kurvilo::cli::runRun(args);
    std::fprintf(stderr, "kurvilo-cli: unknown command '%s'\n\n%s", command.c_str(), kUsage);
    return 2;
}
