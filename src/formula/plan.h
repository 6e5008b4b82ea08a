// SPDX-License-Identifier: MIT
// Plans: the arithmetic that the rewriting of one formula text performs, recorded once and
// replayed while the text stays the same and every name it reads holds a plain number.
//
// A plan is a short program over registers of unit counts. The engine records it by running its
// own stages once in a recording mode, in which every value it would write into the text or hold
// in a register of the scan is the number of a plan register instead, and every arithmetic call
// (product, quotient, sum, power, function, a summation's total) appends an operation instead of
// computing. The places where the rewriting's course depends on a value are operations too:
// a power of the base 0 is 0 without its exponent, a negative base under a fractional exponent
// ends its reduction with the sum so far, and a summation term's body, recorded once with n as a
// register, runs once for every index. Everything else the rewriting decides (which group comes
// next, which name or function stands where, where implied multiplication writes a "*") depends
// on the text alone once the names hold plain numbers, whose atoms read back as their values.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "formula/inputs.h"
#include "numbers/fixed4.h"

namespace kurvilo {

class CancellationToken;

namespace detail {

enum class Function : std::uint8_t { Sine, Cosine, Tangent, Log, Exp };

// The function form: f(u ÷ 10000) × 10000 by the rounding rule.
Fixed4 functionValue(Function function, Fixed4 argument);

// The registers every plan has: 0 holds 0, then the nine name texts (the five values, then the
// constants a to d), the summation counter n and π. Literals and results come after them.
inline constexpr std::uint32_t kZeroRegister = 0;
inline constexpr std::uint32_t kFirstNameRegister = 1;
inline constexpr std::uint32_t kNameSlots = 9;
inline constexpr std::uint32_t kCounterRegister = kFirstNameRegister + kNameSlots;
inline constexpr std::uint32_t kPiRegister = kCounterRegister + 1;
inline constexpr std::uint32_t kFirstFreeRegister = kPiRegister + 1;

enum class OpCode : std::uint8_t {
    Product,     // target := left × right, the scan's product
    Quotient,    // target := left ÷ right, the scan's quotient
    Plus,        // target := left + right, the scan's sum
    Minus,       // target := left − right, the scan's difference
    Power,       // target := left ^ right, the scan's power; 0 for a base of 0, exponent unread
    Apply,       // target := function(left)
    Move,        // target := left
    SumStart,    // a summation term's first index: target (the total) := 0, n := lower
    SumNext,     // target := target + left (exact); the next index, or n := upper and on
    SetCounter,  // n := upper (a term with an empty range)
};

struct Operation {
    OpCode code;
    Function function = Function::Sine;  // Apply
    std::uint32_t target = 0;
    std::uint32_t left = 0;
    std::uint32_t right = 0;
    // Power: when the base is negative and the exponent fractional, the reduction ends at once;
    // its value, the sum so far (exitValue), goes to exitTarget and the plan goes on at next.
    // SumNext: the first operation of the body.
    std::uint32_t exitValue = 0;
    std::uint32_t exitTarget = 0;
    std::uint32_t next = 0;
    std::int32_t lower = 0;  // SumStart
    std::int32_t upper = 0;  // SumStart, SumNext, SetCounter
};

class Plan {
  public:
    // The value of the formula for these name texts, or false where the plan cannot tell:
    // a name it reads holds anything but a plain number, an operation fails, or the evaluation
    // is cancelled. The caller then runs the rewriting, which gives the failure as it is.
    bool run(const FormulaTexts& texts, const CancellationToken* cancel, Fixed4& result);

    std::size_t size() const noexcept { return operations_.size(); }

  private:
    friend class PlanRecorder;
    bool execute(const CancellationToken* cancel);

    std::vector<Operation> operations_;
    // The registers, constants in place: the literals, π and 0 are written once, when recorded.
    std::vector<Fixed4> registers_;
    unsigned namesRead_ = 0;  // bit k: name slot k
    std::uint32_t result_ = kZeroRegister;
};

// While recording, the values the stages handle are register numbers carried in a Fixed4's unit
// count (a 64-bit integer holds either); these helpers convert.
inline Fixed4 registerValue(std::uint32_t index) noexcept {
    return Fixed4::fromUnits(static_cast<std::int64_t>(index));
}
inline std::uint32_t registerIndex(Fixed4 value) noexcept {
    return static_cast<std::uint32_t>(value.units());
}

// Thrown while recording where the text does something the plan cannot replay exactly; the text
// then keeps the rewriting.
struct NotPlannable {};

// While recording, a value atom holds its register's number in decimal digits (never empty, like
// the text form of a value, and without letters or brackets, like it).
inline std::size_t writeRegisterTag(char32_t* out, Fixed4 value) noexcept {
    char32_t digits[10];
    std::size_t count = 0;
    std::uint32_t index = registerIndex(value);
    do {
        digits[count++] = U'0' + index % 10;
        index /= 10;
    } while (index != 0);
    for (std::size_t k = 0; k < count; ++k)
        out[k] = digits[count - 1 - k];
    return count;
}
inline constexpr std::size_t kMaxRegisterTag = 10;

// The register an atom's content names; NotPlannable for anything else.
inline Fixed4 registerOfTag(std::u32string_view content) {
    if (content.empty() || content.size() > 9) throw NotPlannable();
    std::uint32_t index = 0;
    for (const char32_t c : content) {
        if (c < U'0' || c > U'9') throw NotPlannable();
        index = index * 10 + static_cast<std::uint32_t>(c - U'0');
    }
    return registerValue(index);
}

class PlanRecorder {
  public:
    PlanRecorder();

    // A literal's value, parsed while recording.
    Fixed4 constant(Fixed4 value);
    // The register of name slot k (see kFirstNameRegister), read by the plan.
    Fixed4 name(unsigned slot);
    Fixed4 counter() noexcept { return registerValue(kCounterRegister); }
    Fixed4 pi() noexcept { return registerValue(kPiRegister); }

    Fixed4 product(Fixed4 left, Fixed4 right) { return binary(OpCode::Product, left, right); }
    Fixed4 quotient(Fixed4 left, Fixed4 right) { return binary(OpCode::Quotient, left, right); }
    Fixed4 sum(Fixed4 left, Fixed4 right, bool plus) {
        return binary(plus ? OpCode::Plus : OpCode::Minus, left, right);
    }
    // sumSoFar: the reduction's value should the scan end at this power.
    Fixed4 power(Fixed4 base, Fixed4 exponent, Fixed4 sumSoFar);
    Fixed4 apply(Function function, Fixed4 argument);

    // After the scan of every reduction: the value it ends with, wherever it ends.
    Fixed4 finishReduction(Fixed4 value);

    // A summation term over lower..upper, its body recorded between the two calls.
    Fixed4 startSum(std::int32_t lower, std::int32_t upper);
    void finishSum(Fixed4 total, Fixed4 body);
    // A term with an empty range: its total is 0.
    Fixed4 emptySum(std::int32_t upper);

    Plan finish(Fixed4 result);

  private:
    std::uint32_t allocate();
    Fixed4 binary(OpCode code, Fixed4 left, Fixed4 right);

    Plan plan_;
    std::vector<std::size_t> exits_;  // the powers of the reduction being recorded
    std::size_t sumStart_ = 0;
};

}  // namespace detail
}  // namespace kurvilo
