// SPDX-License-Identifier: MIT
#include "cli/progress.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace kurvilo::cli {

namespace {

constexpr std::chrono::milliseconds kTerminalInterval{100};
constexpr std::chrono::milliseconds kLogInterval{1000};

bool sameTerminal(int a, int b) {
    struct stat first {};
    struct stat second {};
    if (::fstat(a, &first) != 0 || ::fstat(b, &second) != 0) return false;
    return first.st_rdev == second.st_rdev;
}

}  // namespace

bool progressWanted(bool dataToStandardOutput) {
    if (::isatty(STDERR_FILENO) == 0) return false;
    if (!dataToStandardOutput || ::isatty(STDOUT_FILENO) == 0) return true;
    return !sameTerminal(STDOUT_FILENO, STDERR_FILENO);
}

Progress::Progress(std::uint64_t total, bool shown)
    : total_(total),
      shown_(shown),
      terminal_(::isatty(STDERR_FILENO) != 0),
      due_(std::chrono::steady_clock::now() + (terminal_ ? kTerminalInterval : kLogInterval)) {}

void Progress::draw(std::uint64_t done, bool last) {
    std::string line = terminal_ ? "\rkurvilo-cli run: tick " : "kurvilo-cli run: tick ";
    line += std::to_string(done);
    line += " of ";
    line += std::to_string(total_);
    if (!terminal_ || last) line += '\n';
    std::fputs(line.c_str(), stderr);
    due_ = std::chrono::steady_clock::now() + (terminal_ ? kTerminalInterval : kLogInterval);
}

void Progress::finish(std::uint64_t done) {
    if (shown_) draw(done, true);
    shown_ = false;
}

}  // namespace kurvilo::cli
