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

// A long option as given: "--name" (hasValue false; the value may follow as the next argument)
// or "--name=value".
struct LongOption {
    std::string name;
    std::string value;
    bool hasValue = false;
};

// False when arg is not a long option (it does not start with "--").
inline bool splitLongOption(const std::string& arg, LongOption& option) {
    if (arg.rfind("--", 0) != 0) return false;
    option.name = arg.substr(2);
    option.value.clear();
    option.hasValue = false;
    if (const auto eq = option.name.find('='); eq != std::string::npos) {
        option.value = option.name.substr(eq + 1);
        option.name.resize(eq);
        option.hasValue = true;
    }
    return true;
}

}  // namespace kurvilo::cli
