// SPDX-License-Identifier: MIT
#include "cli/output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/escape.h"

namespace kurvilo::cli {

namespace {
constexpr std::size_t kBufferSize = std::size_t{1} << 16;
}

Output::~Output() {
    if (fd_ >= 0 && !standardOutput_) ::close(fd_);
}

bool Output::openFile(const std::string& path) {
    path_ = path;
    standardOutput_ = false;
    errno_ = 0;
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        errno_ = errno;
        return false;
    }
    return true;
}

void Output::openStandardOutput() {
    fd_ = STDOUT_FILENO;
    standardOutput_ = true;
    errno_ = 0;
}

void Output::write(std::string_view text) {
    if (errno_ != 0 || fd_ < 0) return;
    buffer_.append(text);
    if (buffer_.size() >= kBufferSize) flush();
}

bool Output::flush() {
    if (errno_ == 0 && fd_ >= 0 && !buffer_.empty()) writeOut(buffer_.data(), buffer_.size());
    buffer_.clear();
    return errno_ == 0;
}

bool Output::writeOut(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            errno_ = errno;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool Output::close() {
    if (fd_ < 0) return errno_ == 0;
    flush();
    // close reports what a network or full file system only finds out at the end.
    if (::close(fd_) != 0 && errno_ == 0 && errno != EINTR) errno_ = errno;
    fd_ = -1;
    return errno_ == 0;
}

bool Output::readerGone() const noexcept {
    return errno_ == EPIPE;
}

std::string Output::name() const {
    return standardOutput_ ? "standard output" : "'" + escaped(path_) + "'";
}

std::string Output::error() const {
    return errno_ == 0 ? std::string() : std::strerror(errno_);
}

int writeStandardOutput(std::string_view command, std::string_view text) {
    Output out;
    out.openStandardOutput();
    out.write(text);
    if (out.close() || out.readerGone()) return 0;
    reportOutputFailure(command, "cannot write", out);
    return 1;
}

void reportOutputFailure(std::string_view command, std::string_view what, const Output& output) {
    std::string line = command.empty() ? "kurvilo-cli" : "kurvilo-cli " + std::string(command);
    line += ": ";
    line += what;
    line += ' ';
    line += output.name();
    line += ": ";
    line += output.error();
    line += '\n';
    std::fputs(line.c_str(), stderr);
}

}  // namespace kurvilo::cli
