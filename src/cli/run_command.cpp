#include <cstdio>

#include "cli/commands.h"

namespace kurvilo::cli {

// Placeholder until headless runs land.
int runRun(const std::vector<std::string>&) {
    std::fputs("kurvilo-cli run: not available yet\n", stderr);
    return 2;
}

}  // namespace kurvilo::cli
