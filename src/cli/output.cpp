// SPDX-License-Identifier: MIT
#include "cli/output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "cli/escape.h"

namespace kurvilo::cli {

namespace {
constexpr std::size_t kBufferSize = std::size_t{1} << 16;
}

Output::~Output() {
    if (fd_ >= 0 && !standardOutput_) ::close(fd_);
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

bool Output::openFile(const std::string& path) {
    path_ = path;
    target_ = path;
    standardOutput_ = false;
    errno_ = 0;
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        // A device or a pipe: nothing can be renamed over it.
        fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd_ < 0) errno_ = errno;
        return fd_ >= 0;
    }
    if (exists && S_ISDIR(info.st_mode)) {
        errno_ = EISDIR;
        return false;
    }
    if (exists && ::access(path.c_str(), W_OK) != 0) {
        errno_ = errno;
        return false;
    }
    char resolved[PATH_MAX];
    if (exists && ::realpath(path.c_str(), resolved) != nullptr) target_ = resolved;
    temporary_ = target_ + ".XXXXXX";
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        errno_ = errno;
        temporary_.clear();
        return false;
    }
    // The permissions the file would have got when created, or those it has.
    mode_t mode = 0666;
    if (exists) {
        mode = info.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(fd_, mode) != 0) errno_ = errno;
    return errno_ == 0;
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
    // A full disk may only be found out when the data reach it.
    if (!temporary_.empty() && errno_ == 0 && ::fsync(fd_) != 0) errno_ = errno;
    // close reports what a network or full file system only finds out at the end.
    if (::close(fd_) != 0 && errno_ == 0 && errno != EINTR) errno_ = errno;
    fd_ = -1;
    if (!temporary_.empty()) {
        if (errno_ == 0 && ::rename(temporary_.c_str(), target_.c_str()) != 0) errno_ = errno;
        if (errno_ != 0) ::unlink(temporary_.c_str());
        temporary_.clear();
    }
    return errno_ == 0;
}

bool Output::readerGone() const noexcept {
    return errno_ == EPIPE;
}

std::string Output::name() const {
    if (standardOutput_) return "standard output";
    // Built by appending, not "'" + ...: GCC 12 at -O3 warns falsely (-Wrestrict) there.
    std::string quoted(1, '\'');
    quoted += escaped(path_);
    quoted += '\'';
    return quoted;
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
