// The subcommands of kurvilo-cli. Each takes the arguments after its name and returns the exit
// status: 0 done, 1 a run that ended in a failed tick, 2 bad arguments.
#pragma once

#include <string>
#include <vector>

namespace kurvilo::cli {

int runEval(const std::vector<std::string>& args);
int runRun(const std::vector<std::string>& args);

// Sets the process-wide decimal separator from the C locale's decimal point ("." when it is
// not exactly one character).
void separatorFromLocale();
// Parses "--separator C": one character; false when it is not exactly one usable character.
bool setSeparatorOption(const std::string& value);

}  // namespace kurvilo::cli
