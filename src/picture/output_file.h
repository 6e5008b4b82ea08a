// SPDX-License-Identifier: MIT
// Whole-or-nothing output: a file or standard output written through one buffer, where every
// write, the final flush and the close are checked and the first failure is kept with its cause.
// A file is written to a temporary file beside it and renamed over it only when all went well,
// so a failure leaves the old file as it was and no temporary behind (nor does a signal: the
// temporary is noted for removeTemporaries). A reader that went away (a pipe into head) is told
// apart from a failure, so a program can end quietly.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace kurvilo {

// Where encoded bytes go.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // After a failure everything further is dropped.
    virtual void write(std::string_view bytes) = 0;
    virtual bool failed() const noexcept = 0;
};

class OutputFile final : public ByteSink {
  public:
    OutputFile() = default;
    ~OutputFile() override;  // without close() the temporary goes and the old file stays
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Opens the temporary file beside path (a path that is a device or a pipe is written
    // directly, since nothing can be renamed over it). False when it cannot be opened.
    bool openFile(const std::string& path);
    // Standard output, closed by close() like a file so that its last error is seen.
    void openStandardOutput();
    bool isOpen() const noexcept { return fd_ >= 0; }
    bool isStandardOutput() const noexcept { return standardOutput_; }

    // Buffered.
    void write(std::string_view bytes) override;
    // Writes the buffer out now (for output that someone reads as it comes).
    bool flush();
    // Flushes, closes and puts the file in place; false when this or any earlier write failed
    // (the temporary file is then removed).
    bool close();
    // Records a failure found by whoever makes the content (an encoder): close() then keeps the
    // old file. The first failure is the one kept.
    void fail(std::string cause);

    bool failed() const noexcept override { return code_ != 0; }
    // The failure is a pipe whose reader has gone: the output is simply no longer wanted.
    bool readerGone() const noexcept;
    // errno of the failure (0: none; -1: a failure given to fail()).
    int errorCode() const noexcept { return code_; }
    // The cause of the failure in a few words, empty when there was none.
    std::string error() const;
    // The path as given ("" for standard output).
    const std::string& path() const noexcept { return path_; }

  private:
    bool writeOut(const char* data, std::size_t size);
    void setError(int code) noexcept;
    void dropTemporary() noexcept;

    int fd_ = -1;
    bool standardOutput_ = false;
    std::string path_;    // as given, for messages
    std::string target_;  // where the file goes (a symbolic link followed)
    // The temporary's name, in a buffer that stays put while it is noted for signal handlers;
    // null when written directly.
    std::unique_ptr<char[]> temporary_;
    int note_ = -1;
    std::string buffer_;
    int code_ = 0;
    std::string cause_;
};

}  // namespace kurvilo
