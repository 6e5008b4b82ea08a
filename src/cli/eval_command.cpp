#include <cstdio>

#include "cli/commands.h"

namespace kurvilo::cli {

// Placeholder until formula evaluation lands.
int runEval(const std::vector<std::string>&) {
    std::fputs("kurvilo-cli eval: not available yet\n", stderr);
    return 2;
}

void separatorFromLocale() {}
bool setSeparatorOption(const std::string&) { return false; }

}  // namespace kurvilo::cli
