// SPDX-License-Identifier: MIT
// Checked output: a file or standard output written through one buffer, where every write, the
// final flush and the close are checked, and the first failure is kept with its cause. A file
// is written to a temporary file beside it and renamed over it only when all went well, so a
// failure leaves the old file as it was. A reader that went away (a pipe into head) is told
// apart from a failure, so a command can end quietly.
#pragma once

#include <string>
#include <string_view>

namespace kurvilo::cli {

class Output {
  public:
    Output() = default;
    ~Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // Opens the temporary file beside path (a path that is a device or a pipe is written
    // directly). False when it cannot be opened; error() says why.
    bool openFile(const std::string& path);
    // Standard output, closed by close() like a file so that its last error is seen.
    void openStandardOutput();
    bool isOpen() const noexcept { return fd_ >= 0; }

    // Buffered; after a failure everything further is dropped.
    void write(std::string_view text);
    // Writes the buffer out now (for output that someone reads as it comes).
    bool flush();
    // Flushes, closes and puts the file in place; false when this or any earlier write failed
    // (the temporary file is then removed).
    bool close();

    bool failed() const noexcept { return errno_ != 0; }
    // The failure is a pipe whose reader has gone: the output is simply no longer wanted.
    bool readerGone() const noexcept;
    // "'path'" or "standard output", for messages.
    std::string name() const;
    // The cause of the failure (strerror), empty when there was none.
    std::string error() const;

  private:
    bool writeOut(const char* data, std::size_t size);

    int fd_ = -1;
    bool standardOutput_ = false;
    std::string path_;       // as given, for messages
    std::string target_;     // where the file goes (a symbolic link followed)
    std::string temporary_;  // empty when written directly
    std::string buffer_;
    int errno_ = 0;
};

// Writes text to standard output and closes it; on a failure writes "kurvilo-cli <command>: cannot
// write standard output: <cause>" and returns 1. A reader that went away is no failure: 0.
int writeStandardOutput(std::string_view command, std::string_view text);

// "kurvilo-cli <command>: <what> <name>: <cause>" on standard error.
void reportOutputFailure(std::string_view command, std::string_view what, const Output& output);

}  // namespace kurvilo::cli
