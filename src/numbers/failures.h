// SPDX-License-Identifier: MIT
// The failures that every layer can raise. They carry the exact messages the user-facing parts of
// the program rely on, and are caught only at the tick boundary or at the top of the command-line
// tool. The four arithmetic and conversion failures come first; then the three the formula
// engine adds for what the arithmetic never meets: a cancelled evaluation, a working text beyond
// its cap, and memory that ran out.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kurvilo {

// Common base: message() is the message, kind() the failure's name. what() is the same message
// as a C string, so it ends at the first NUL a quoted text may hold; message() keeps it all.
class Failure : public std::runtime_error {
  public:
    explicit Failure(std::string message)
        : std::runtime_error(message), message_(std::move(message)) {}
    std::string_view message() const noexcept { return message_; }
    virtual const char* kind() const noexcept = 0;

  private:
    std::string message_;
};

// A text that the parse or the integer parse rejects.
class EConvertError : public Failure {
  public:
    using Failure::Failure;
    const char* kind() const noexcept override { return "EConvertError"; }

    // "'%s' is not a valid floating point value"
    static EConvertError notAFloat(std::string_view text);
    // "'%s' is not a valid integer value"
    static EConvertError notAnInteger(std::string_view text);
};

class EInvalidOp : public Failure {
  public:
    EInvalidOp() : Failure("Invalid floating point operation") {}
    const char* kind() const noexcept override { return "EInvalidOp"; }
};

class EZeroDivide : public Failure {
  public:
    EZeroDivide() : Failure("Floating point division by zero") {}
    const char* kind() const noexcept override { return "EZeroDivide"; }
};

class EOverflow : public Failure {
  public:
    EOverflow() : Failure("Floating point overflow") {}
    const char* kind() const noexcept override { return "EOverflow"; }
};

// An evaluation stopped because its caller cancelled it: not an error of the formula. The tick
// treats it as a stop, not as "エラー".
class EAbort : public Failure {
  public:
    EAbort() : Failure("Operation aborted") {}
    const char* kind() const noexcept override { return "EAbort"; }
};

// The working text of an evaluation would grow beyond its cap (characters, not bytes).
class EFormulaTooLong : public Failure {
  public:
    explicit EFormulaTooLong(std::size_t limit);
    const char* kind() const noexcept override { return "EFormulaTooLong"; }
};

// Memory ran out during an evaluation or a tick (std::bad_alloc, std::length_error).
class EOutOfMemory : public Failure {
  public:
    EOutOfMemory() : Failure("Out of memory") {}
    const char* kind() const noexcept override { return "EOutOfMemory"; }
};

}  // namespace kurvilo
