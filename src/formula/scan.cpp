// SPDX-License-Identifier: MIT
#include "formula/scan.h"

#include "formula/arithmetic.h"
#include "formula/implied_multiplication.h"
#include "formula/names.h"
#include "formula/observer.h"
#include "formula/plan.h"
#include "formula/value_atom.h"
#include "numbers/failures.h"

namespace kurvilo::detail {

namespace {

inline bool isDigitOrPoint(char32_t c) noexcept {
    return (c >= U'0' && c <= U'9') || c == U'.';
}

std::u32string valueText(Fixed4 value, char32_t separator) {
    char32_t buffer[kMaxFixed4Chars];
    return std::u32string(buffer, formatTo(buffer, value, separator));
}

}  // namespace

Fixed4 parseNumberText(std::u32string_view text, char32_t separator) {
    std::int64_t units = 0;
    if (parsePlainNumber(text, std::u32string_view(&separator, 1), units)) {
        return Fixed4::fromUnits(units);
    }
    return parseFixed4(text, separator);
}

void ArithmeticScan::reset() {
    clearNumber();
    numberIsLiteral_ = false;
    depth_ = 0;
    deep_.clear();
    current_ = productLeft_ = quotientLeft_ = powerBase_ = sum_ = Fixed4();
    firstTermSeen_ = false;
    sumPhase_ = false;
    terms_.clear();
    operandStands_ = false;
}

Fixed4 ArithmeticScan::parseNumber() {
    // Digit runs typed in the formula always use "."; value atoms hold texts in the process-wide
    // separator, like every other value text.
    if (numberKnown_) return numberValue_;
    if (recorder_ != nullptr) [[unlikely]]
        return recordedNumber();
    return parsedNumber();
}

Fixed4 ArithmeticScan::parsedNumber() {
    const char32_t separator = numberIsLiteral_ ? U'.' : separator_;
    if (!numberMinus_) return parseNumberText(numberBody_, separator);
    std::int64_t magnitude = 0;
    if (parsePlainMagnitude(numberBody_, std::u32string_view(&separator, 1), magnitude)) {
        return Fixed4::fromUnits(-magnitude);
    }
    joined_.assign(U"-");
    joined_.append(numberBody_);
    return parseFixed4(joined_.view(), separator);
}

// A literal is parsed while recording, as the scan parses it; an atom holds a register number.
Fixed4 ArithmeticScan::recordedNumber() {
    if (numberIsLiteral_) return recorder_->constant(parsedNumber());
    if (numberMinus_) throw NotPlannable();
    return registerOfTag(numberBody_);
}

Fixed4 ArithmeticScan::product(Fixed4 left, Fixed4 right) {
    if (recorder_ != nullptr) [[unlikely]]
        return recorder_->product(left, right);
    return scanProduct(left, right);
}

Fixed4 ArithmeticScan::quotient(Fixed4 left, Fixed4 right) {
    if (recorder_ != nullptr) [[unlikely]]
        return recorder_->quotient(left, right);
    return scanQuotient(left, right);
}

Fixed4 ArithmeticScan::sum(Fixed4 left, Fixed4 right, bool plus) {
    if (recorder_ != nullptr) [[unlikely]]
        return recorder_->sum(left, right, plus);
    return scanSum(left, right, plus);
}

template <bool kObserved>
bool ArithmeticScan::completeOperand(const Fixed4* atom) {
    bool havePower = false;
    Fixed4 power;
    if (top() == U'^') {
        if (recorder_ != nullptr) [[unlikely]] {
            // Every case of the power is the plan's to decide: the exponent is read for the
            // record even where a base of 0 would leave it unread, so a literal exponent that does
            // not parse keeps the text from having a plan.
            const Fixed4 exponent = atom ? *atom : parseNumber();
            power = recorder_->power(powerBase_, exponent, sum_);
        } else if (powerBase_.units() == 0) {
            power = Fixed4();  // any power of 0 is 0; the exponent is not even read
        } else {
            const Fixed4 exponent = atom ? *atom : parseNumber();
            if (!scanPower(powerBase_, exponent, power)) {
                if constexpr (kObserved) {
                    observer_->quirk(
                        Quirk::NegativeBaseFraction,
                        valueText(powerBase_, separator_) + U"^" + valueText(exponent, separator_));
                }
                return false;
            }
        }
        havePower = true;
        pop();
    }
    const Fixed4 previous = current_;
    current_ = havePower ? power : atom ? *atom : parseNumber();
    clearNumber();
    if (kObserved && !sumPhase_) {
        if (operandStands_) {
            observer_->quirk(Quirk::LostOperand, valueText(previous, separator_));
        }
        operandStands_ = true;
    }
    // The sum is 0 at the first term here (while recording: register 0, which holds 0).
    if (sumPhase_ && !firstTermSeen_ && sum_.units() == 0) {
        sum_ = current_;
        firstTermSeen_ = true;
    }
    switch (top()) {
        case U'*':
            current_ = product(productLeft_, current_);
            pop();
            break;
        case U'/':
            current_ = quotient(quotientLeft_, current_);
            pop();
            break;
        case U'+':
            sum_ = sum(sum_, current_, true);
            pop();
            break;
        case U'-':
            sum_ = sum(sum_, current_, false);
            pop();
            break;
        default:
            break;
    }
    return true;
}

template <bool kObserved>
bool ArithmeticScan::operandRead(std::u32string_view text, std::size_t& i) {
    if (i < text.size() && text[i] == U'^') {
        if (kObserved && top() == U'^') {
            observer_->quirk(Quirk::PowerChain, valueText(powerBase_, separator_));
        }
        powerBase_ = parseNumber();
        push(U'^');
        clearNumber();
        ++i;
        return true;
    }
    return completeOperand<kObserved>(nullptr);
}

// The scan removes the "[" and, as long as the next character is "[" again, the first "]" still
// in the text and then that "[". Every "]" it removes so is the first one left after the "[" it
// stands on, so the removed ones are always the first "]"s in order: they are counted here, never
// erased, and skipped where they stand.
void ArithmeticScan::readAtom(std::u32string_view text, std::size_t& i) {
    const std::size_t n = text.size();
    std::size_t removedUpTo = npos;  // every "]" from the atom on up to here is removed
    auto firstCloseFrom = [&](std::size_t from) {
        if (removedUpTo != npos && from <= removedUpTo) from = removedUpTo + 1;
        return findChar(text, U']', from);
    };
    while (i < n && text[i] == U'[') {
        const std::size_t close = firstCloseFrom(i);
        if (close != npos) removedUpTo = close;
        ++i;
        while (i < n && text[i] == U']' && removedUpTo != npos && i <= removedUpTo)
            ++i;
    }
    const std::size_t close = firstCloseFrom(i);
    const std::size_t stop = close == npos ? n : close;
    numberMinus_ = false;
    numberKnown_ = false;
    if (removedUpTo == npos || removedUpTo < i) {
        numberBody_ = text.substr(i, stop - i);
    } else {
        filtered_.clear();
        for (std::size_t k = i; k < stop; ++k) {
            if (text[k] != U']') filtered_.push_back(text[k]);
        }
        numberBody_ = filtered_.view();
    }
    numberIsLiteral_ = false;
    i = close == npos ? stop : stop + 1;
}

template <bool kObserved>
Fixed4 ArithmeticScan::finish() const {
    if constexpr (kObserved) observer_->reductionFinished(sum_);
    return sum_;
}

// Inline: the scan meets a digit run at nearly every operand.
[[gnu::always_inline]] inline void ArithmeticScan::readDigitRun(std::u32string_view text,
                                                                std::size_t& i) {
    std::size_t j = i + 1;
    while (j < text.size() && isDigitOrPoint(text[j]))
        ++j;
    // Appended to the number text, which holds nothing or an exponent's "-".
    numberBody_ = text.substr(i, j - i);
    numberIsLiteral_ = true;
    i = j;
}

template <bool kObserved>
void ArithmeticScan::pushProductOperator(char32_t op) {
    if (op == U'*') {
        productLeft_ = current_;
    } else {
        quotientLeft_ = current_;
    }
    push(op);
    if constexpr (kObserved) operandStands_ = false;
}

template <bool kObserved>
void ArithmeticScan::closeTerm(char32_t op) {
    if (kObserved && (top() == U'*' || top() == U'/')) {
        const char32_t pair[] = {top(), op};
        observer_->quirk(Quirk::SignAfterProduct, std::u32string_view(pair, 2));
    }
    terms_.push_back({current_, op});
    current_ = Fixed4();
    if constexpr (kObserved) operandStands_ = false;
}

template <bool kObserved>
[[gnu::always_inline]] inline bool ArithmeticScan::readNameInPlace(std::u32string_view text,
                                                                   std::size_t& i,
                                                                   std::size_t length, Fixed4 value,
                                                                   NameInPlace& last) {
    // The atom the substitution stage would write here, with its "*"s: the character before it
    // is the text's, or the end of the atom of a name right before it.
    const char32_t before = i == last.end ? last.last : i > 0 ? text[i - 1] : kNoCharacter;
    const Stars stars = impliedMultiplication(Replaced::Name, before, charAt(text, i + length));
    if (stars.before) {
        productLeft_ = current_;
        push(U'*');
    }
    numberMinus_ = false;
    numberBody_ = {};
    numberKnown_ = true;
    numberValue_ = value;
    i += length;
    last = {i, stars.after ? U'*' : U']'};
    if (!operandRead<kObserved>(text, i)) return false;
    if (stars.after) {
        productLeft_ = current_;
        push(U'*');
    }
    return true;
}

// The phases and the name read are inlined into runImpl: they run for every reduction.
template <bool kReadNames, bool kObserved>
[[gnu::always_inline]] inline bool ArithmeticScan::productPhase(std::u32string_view text,
                                                                const Fixed4* values) {
    NameInPlace lastName;
    std::size_t i = 0;
    int k = -1;
    for (;;) {
        const char32_t c = charAt(text, i);
        if (isDigitOrPoint(c)) {
            readDigitRun(text, i);
            if (!operandRead<kObserved>(text, i)) return false;
        } else if (c == U'*' || c == U'/') {
            pushProductOperator<kObserved>(c);
            ++i;
        } else if (c == U'[') {
            ++i;
            readAtom(text, i);
            if (!operandRead<kObserved>(text, i)) return false;
        } else if (c == U'-' && top() == U'^') {
            // The sign of the exponent that follows.
            numberMinus_ = true;
            numberBody_ = {};
            numberKnown_ = false;
            numberIsLiteral_ = true;
            ++i;
        } else if (c == U'+' || c == U'-') {
            closeTerm<kObserved>(c);
            ++i;
        } else if (std::size_t length = 0;
                   kReadNames && c != kNoCharacter && (k = nameAt(text, i, length)) >= 0) {
            if (!readNameInPlace<kObserved>(text, i, length, values[k], lastName)) return false;
        } else {
            // The end, or a character the scan does not know: the rest is dropped.
            if (kObserved && c != kNoCharacter) {
                observer_->quirk(Quirk::StoppedReading, text.substr(i));
            }
            terms_.push_back({current_, kNoCharacter});
            return true;
        }
    }
}

// Over the term list "[v]op[v]op...[v]". With no operator left over from the product phase it is
// the first term, then each further one added or subtracted in turn.
template <bool kObserved>
[[gnu::always_inline]] inline void ArithmeticScan::sumPhase() {
    sumPhase_ = true;
    if (depth_ == 0) {
        sum_ = terms_[0].value;
        for (std::size_t k = 1; k < terms_.size(); ++k)
            sum_ = sum(sum_, terms_[k].value, terms_[k - 1].op == U'+');
        return;
    }
    for (const Term& term : terms_) {
        if (!completeOperand<kObserved>(&term.value)) return;
        if (term.op == kNoCharacter) break;
        // A "-" right after a pending "^" would be an exponent's sign, replaced by the next atom.
        if (!(term.op == U'-' && top() == U'^')) push(term.op);
    }
}

template <bool kReadNames, bool kObserved>
Fixed4 ArithmeticScan::runImpl(std::u32string_view text, const Fixed4* values) {
    reset();
    if (!productPhase<kReadNames, kObserved>(text, values)) return finish<kObserved>();
    if constexpr (kObserved) observeTermList();
    sumPhase<kObserved>();
    return finish<kObserved>();
}

Fixed4 ArithmeticScan::run(std::u32string_view text) {
    if (observer_ != nullptr) return runImpl<false, true>(text, nullptr);
    return runImpl<false, false>(text, nullptr);
}

Fixed4 ArithmeticScan::runReadingNames(std::u32string_view text, const Fixed4* values) {
    // Never observed: an observer sees the substitution stage write the names.
    return runImpl<true, false>(text, values);
}

// The term list as the sum phase reads it: "[v]op[v]op...[v]".
void ArithmeticScan::observeTermList() const {
    TextBuffer list;
    for (const Term& term : terms_) {
        appendAtom(list, term.value, separator_, {});
        if (term.op != kNoCharacter) list.push_back(term.op);
    }
    observer_->termList(list);
}

}  // namespace kurvilo::detail
