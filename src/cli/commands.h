// SPDX-License-Identifier: MIT
// The subcommands of kurvilo-cli. Each takes the arguments after its name and returns the exit
// status: 0 done, 1 a run that ended in a failed tick or an output that could not be written,
// 2 bad arguments.
#pragma once

#include <span>
#include <string>

namespace kurvilo::cli {

int runEval(std::span<const std::string> args);
int runRun(std::span<const std::string> args);

}  // namespace kurvilo::cli
