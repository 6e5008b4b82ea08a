// Runs the built kurvilo-cli with arguments and optional standard input, through the shell.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace kurvilo::testing {

struct CliResult {
    int status = -1;
    std::string out;  // standard output
};

inline std::string shellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') {
            q += "'\\''";
        } else {
            q += c;
        }
    }
    return q + "'";
}

// stderr goes to errFile when given, else it is discarded.
inline CliResult runCli(const std::vector<std::string>& args, const std::string& input = "",
                        const std::string& errFile = "") {
    std::string command = shellQuote(KURVILO_CLI_PATH);
    for (const auto& a : args) {
        command += ' ';  // not += " " + ...: GCC 12 at -O3 warns falsely (-Wrestrict) there
        command += shellQuote(a);
    }
    std::string inputFile;
    if (!input.empty()) {
        char name[] = "/tmp/kurvilo-cli-input-XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) {
            std::FILE* f = fdopen(fd, "w");
            std::fwrite(input.data(), 1, input.size(), f);
            std::fclose(f);
            inputFile = name;
            command += " < " + shellQuote(inputFile);
        }
    } else {
        command += " < /dev/null";
    }
    command += errFile.empty() ? " 2>/dev/null" : " 2>" + shellQuote(errFile);
    CliResult result;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (!inputFile.empty()) std::remove(inputFile.c_str());
    return result;
}

}  // namespace kurvilo::testing
