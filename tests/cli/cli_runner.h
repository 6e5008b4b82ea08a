// SPDX-License-Identifier: MIT
// Runs the built kurvilo-cli through the shell with arguments and optional standard input, and
// collects its exit status, standard output and standard error; plus temporary files and folders
// that clean up after themselves.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace kurvilo::testing {

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

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// A fresh folder under /tmp, removed with everything in it.
class TempDir {
  public:
    TempDir() {
        char name[] = "/tmp/kurvilo-cli-test-XXXXXX";
        if (mkdtemp(name) != nullptr) path_ = name;
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

struct CliResult {
    int status = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

// Runs a shell command line and collects its standard output and error. The command's own
// redirections stand; "2>" is added for the error file.
inline CliResult runShell(const std::string& commandLine) {
    TempDir scratch;
    const std::string errFile = scratch.file("stderr");
    const std::string command = "{ " + commandLine + "; } 2>" + shellQuote(errFile);
    CliResult result;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = readFile(errFile);
    return result;
}

// The tool under test: the one built here, or another named by KURVILO_CLI_UNDER_TEST (to see
// which tests an older build fails).
inline std::string cliPath() {
    const char* other = std::getenv("KURVILO_CLI_UNDER_TEST");
    return other != nullptr && *other != '\0' ? other : KURVILO_CLI_PATH;
}

// The folder of the tool under test, to put on PATH.
inline std::string cliFolder() {
    const std::string binary = cliPath();
    return binary.substr(0, binary.rfind('/'));
}

inline std::string cliCommand(const std::vector<std::string>& args) {
    std::string command = shellQuote(cliPath());
    for (const auto& a : args) {
        command += " " + shellQuote(a);
    }
    return command;
}

// kurvilo-cli with args; standard input from the given text (from /dev/null when empty).
inline CliResult runCli(const std::vector<std::string>& args, const std::string& input = "") {
    TempDir scratch;
    std::string command = cliCommand(args);
    if (!input.empty()) {
        const std::string inputFile = scratch.file("stdin");
        writeFile(inputFile, input);
        command += " < " + shellQuote(inputFile);
    } else {
        command += " < /dev/null";
    }
    return runShell(command);
}

inline std::string joined(const std::vector<std::string>& args) {
    std::string text;
    for (const auto& a : args)
        text += a + " ";
    return text;
}

// The lines of a text, without their newlines.
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace kurvilo::testing
