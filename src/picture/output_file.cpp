// SPDX-License-Identifier: MIT
#include "picture/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "picture/temporaries.h"

namespace kurvilo {

namespace {
constexpr std::size_t kBufferSize = std::size_t{1} << 16;
constexpr char kTemporarySuffix[] = ".XXXXXX";
}  // namespace

OutputFile::~OutputFile() {
    if (fd_ >= 0 && !standardOutput_) ::close(fd_);
    dropTemporary();
}

void OutputFile::setError(int code) noexcept {
    if (code_ == 0) code_ = code;
}

void OutputFile::dropTemporary() noexcept {
    if (!temporary_) return;
    ::unlink(temporary_.get());
    forgetTemporary(note_);
    note_ = -1;
    temporary_.reset();
}

bool OutputFile::openFile(const std::string& path) {
    path_ = path;
    target_ = path;
    standardOutput_ = false;
    code_ = 0;
    cause_.clear();
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        // A device or a pipe: nothing can be renamed over it.
        fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd_ < 0) setError(errno);
        return fd_ >= 0;
    }
    if (exists && S_ISDIR(info.st_mode)) {
        setError(EISDIR);
        return false;
    }
    if (exists && ::access(path.c_str(), W_OK) != 0) {
        setError(errno);
        return false;
    }
    char resolved[PATH_MAX];
    if (exists && ::realpath(path.c_str(), resolved) != nullptr) target_ = resolved;
    // Noted before it exists, so that no signal can come between its making and its noting.
    temporary_ = std::make_unique<char[]>(target_.size() + sizeof kTemporarySuffix);
    std::memcpy(temporary_.get(), target_.data(), target_.size());
    std::memcpy(temporary_.get() + target_.size(), kTemporarySuffix, sizeof kTemporarySuffix);
    note_ = noteTemporary(temporary_.get());
    fd_ = ::mkostemp(temporary_.get(), O_CLOEXEC);
    if (fd_ < 0) {
        setError(errno);
        forgetTemporary(note_);
        note_ = -1;
        temporary_.reset();
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
    if (::fchmod(fd_, mode) != 0) setError(errno);
    return code_ == 0;
}

void OutputFile::openStandardOutput() {
    path_.clear();
    fd_ = STDOUT_FILENO;
    standardOutput_ = true;
    code_ = 0;
    cause_.clear();
}

void OutputFile::write(std::string_view bytes) {
    if (code_ != 0 || fd_ < 0) return;
    if (buffer_.empty() && bytes.size() >= kBufferSize) {
        writeOut(bytes.data(), bytes.size());
        return;
    }
    buffer_.append(bytes);
    if (buffer_.size() >= kBufferSize) flush();
}

bool OutputFile::flush() {
    if (code_ == 0 && fd_ >= 0 && !buffer_.empty()) writeOut(buffer_.data(), buffer_.size());
    buffer_.clear();
    return code_ == 0;
}

bool OutputFile::writeOut(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            setError(errno);
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void OutputFile::fail(std::string cause) {
    if (code_ != 0) return;
    code_ = -1;
    cause_ = std::move(cause);
}

bool OutputFile::close() {
    if (fd_ < 0) return code_ == 0;
    flush();
    // A full disk may only be found out when the data reach it.
    if (temporary_ && code_ == 0 && ::fsync(fd_) != 0) setError(errno);
    // close reports what a network or full file system only finds out at the end.
    if (::close(fd_) != 0 && errno != EINTR) setError(errno);
    fd_ = -1;
    if (temporary_) {
        if (code_ == 0 && ::rename(temporary_.get(), target_.c_str()) != 0) setError(errno);
        if (code_ == 0) {
            forgetTemporary(note_);
            note_ = -1;
            temporary_.reset();
        } else {
            dropTemporary();
        }
    }
    return code_ == 0;
}

bool OutputFile::readerGone() const noexcept {
    return code_ == EPIPE;
}

std::string OutputFile::error() const {
    if (code_ == 0) return {};
    if (code_ < 0) return cause_;
    return std::strerror(code_);
}

}  // namespace kurvilo
