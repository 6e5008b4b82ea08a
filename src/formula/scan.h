// SPDX-License-Identifier: MIT
// The arithmetic scan: one left-to-right pass over a bracket-free text with a product phase and a
// sum phase. The product phase reads operands (digit runs and value atoms), raises powers and
// applies "*" and "/" as each right operand completes, and writes every finished product into the
// term list; the sum phase adds and subtracts the terms left to right. The value of the text is
// the sum accumulator.
#pragma once

#include <string_view>
#include <vector>

#include "formula/text_buffer.h"
#include "numbers/fixed4.h"

namespace kurvilo {

class EvaluationObserver;

namespace detail {

class PlanRecorder;

// Reads a number text exactly as the parse does (EConvertError when it does not parse), with a
// short path for the plain texts the engine writes itself.
Fixed4 parseNumberText(std::u32string_view text, char32_t separator);

class ArithmeticScan {
  public:
    // The separator of the value atoms; number literals in a formula always use ".".
    void setSeparator(char32_t separator) noexcept { separator_ = separator; }
    void setObserver(EvaluationObserver* observer) noexcept { observer_ = observer; }
    // While a plan is recorded: value atoms hold register numbers, literals become the plan's
    // constants and every arithmetic call an operation (formula/plan.h). Never with an observer.
    void setRecorder(PlanRecorder* recorder) noexcept { recorder_ = recorder; }

    // The value of the text: the sum accumulator when the scan ends.
    Fixed4 run(std::u32string_view text);
    // The value of a text with its names still in it, each read as the value atom of its plain
    // number (values in kNames' order), with the "*"s implied multiplication writes around it:
    // the scan of the text the substitution stage would write. Only for a text whose names all
    // hold plain numbers and whose value atoms the substitution would leave as they are.
    Fixed4 runReadingNames(std::u32string_view text, const Fixed4* values);

  private:
    struct Term {
        Fixed4 value;
        char32_t op;  // '+', '-', or kNoCharacter after the last term
    };

    // Where the last name read in place ended, and the character its atom ended with there.
    struct NameInPlace {
        std::size_t end = npos;
        char32_t last = kNoCharacter;
    };

    // Compiled apart with and without an observer, so that an unobserved scan checks for none.
    template <bool kReadNames, bool kObserved>
    Fixed4 runImpl(std::u32string_view text, const Fixed4* values);
    // The product phase over the text, up to its end or the first character it does not know;
    // false when the scan ends at once (a negative base with a fractional exponent).
    template <bool kReadNames, bool kObserved>
    bool productPhase(std::u32string_view text, const Fixed4* values);
    // The sum phase over the term list.
    template <bool kObserved>
    void sumPhase();
    void reset();
    // The top of the operator stack, kNoCharacter when it is empty.
    char32_t top() const noexcept {
        return depth_ == 0            ? kNoCharacter
               : depth_ <= kStackRoom ? stack_[depth_ - 1]
                                      : deep_.back();
    }
    void push(char32_t op) {
        if (depth_ < kStackRoom) {
            stack_[depth_] = op;
        } else {
            deep_.push_back(op);
        }
        ++depth_;
    }
    void pop() noexcept {
        if (depth_ > kStackRoom) deep_.pop_back();
        --depth_;
    }
    Fixed4 parseNumber();
    // The number text parsed: a literal with ".", an atom's content with the separator.
    Fixed4 parsedNumber();
    // The number text while recording: a literal's constant or an atom's register.
    Fixed4 recordedNumber();
    // The arithmetic forms, computed or, while recording, recorded.
    Fixed4 product(Fixed4 left, Fixed4 right);
    Fixed4 quotient(Fixed4 left, Fixed4 right);
    Fixed4 sum(Fixed4 left, Fixed4 right, bool plus);
    // The scan's step for an operand read into the number text, not followed by "^" (or, in the
    // sum phase, a term's value). False when the scan ends at once: a negative base with a
    // fractional exponent.
    template <bool kObserved>
    bool completeOperand(const Fixed4* atom);
    // An operand has been read into the number text: a "^" after it makes it the power base.
    template <bool kObserved>
    bool operandRead(std::u32string_view text, std::size_t& i);
    // A value atom from its "[" (at i - 1): the number text up to its "]", nested "[" dropped
    // together with as many "]" as the scan removes for them.
    void readAtom(std::u32string_view text, std::size_t& i);
    // A run of digits and points from i: the number text, a literal.
    void readDigitRun(std::u32string_view text, std::size_t& i);
    // "*" or "/": the current operand becomes its left operand.
    template <bool kObserved>
    void pushProductOperator(char32_t op);
    // "+" or "-" in the product phase: the current operand closes a term.
    template <bool kObserved>
    void closeTerm(char32_t op);
    // A name at i, length characters long, read as the value atom of its plain number with the
    // "*"s the substitution stage would write around it.
    template <bool kObserved>
    bool readNameInPlace(std::u32string_view text, std::size_t& i, std::size_t length, Fixed4 value,
                         NameInPlace& last);
    template <bool kObserved>
    Fixed4 finish() const;
    void observeTermList() const;

    void clearNumber() noexcept {
        numberMinus_ = false;
        numberBody_ = {};
        numberKnown_ = false;
    }

    char32_t separator_ = U'.';
    EvaluationObserver* observer_ = nullptr;
    PlanRecorder* recorder_ = nullptr;

    // Registers, set afresh for every run. The number text is the sign of an exponent ("-")
    // followed by a digit run, or a value atom's content; it is held as a view of the text
    // (or of filtered_, where the scan drops characters from it).
    bool numberMinus_ = false;
    std::u32string_view numberBody_;
    bool numberIsLiteral_ = false;
    bool numberKnown_ = false;  // a name read in place: numberValue_ is its value
    Fixed4 numberValue_;
    TextBuffer filtered_;
    TextBuffer joined_;  // the whole number text, for the parse of an unusual one
    // The operator stack: the first kStackRoom operators in place, any further ones in deep_.
    static constexpr std::size_t kStackRoom = 32;
    char32_t stack_[kStackRoom] = {};
    std::vector<char32_t> deep_;
    std::size_t depth_ = 0;
    Fixed4 current_, productLeft_, quotientLeft_, powerBase_, sum_;
    bool firstTermSeen_ = false;
    bool sumPhase_ = false;
    std::vector<Term> terms_;
    // For an observer only: the product phase completed an operand that no operator has taken
    // up yet, so the next operand replaces it.
    bool operandStands_ = false;
};

}  // namespace detail
}  // namespace kurvilo
