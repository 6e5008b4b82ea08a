// SPDX-License-Identifier: MIT
#include "formula/scan.h"

#include "formula/arithmetic.h"
#include "formula/implied_multiplication.h"
#include "formula/names.h"
#include "formula/observer.h"
#include "numbers/failures.h"

namespace kurvilo::detail {

namespace {

constexpr char32_t kNone = kNoCharacter;

inline bool isDigitOrPoint(char32_t c) noexcept {
    return (c >= U'0' && c <= U'9') || c == U'.';
}

std::u32string valueText(Fixed4 value, char32_t separator) {
    char32_t buffer[kMaxFixed4Chars];
    return std::u32string(buffer, formatTo(buffer, value, separator));
}

constexpr std::int64_t kPowersOfTen[] = {1, 10, 100, 1000, 10000};

// The plain texts after their sign: up to 14 integer digits, and up to four fraction digits
// after the separator. Their unit count is exact, just as the parse computes it. False for any
// other text.
inline bool parsePlain(std::u32string_view text, bool negative, char32_t separator,
                       std::int64_t& units) noexcept {
    const std::size_t n = text.size();
    std::size_t i = 0;
    std::int64_t whole = 0;
    while (i < n && i < 14 && text[i] >= U'0' && text[i] <= U'9') {
        whole = whole * 10 + static_cast<std::int64_t>(text[i] - U'0');
        ++i;
    }
    std::size_t digits = i;
    std::int64_t fraction = 0;
    std::size_t fractionDigits = 0;
    if (i < n && text[i] == separator) {
        ++i;
        while (i < n && fractionDigits < 4 && text[i] >= U'0' && text[i] <= U'9') {
            fraction = fraction * 10 + static_cast<std::int64_t>(text[i] - U'0');
            ++fractionDigits;
            ++i;
        }
        digits += fractionDigits;
    }
    if (i != n || digits == 0) return false;
    const std::int64_t magnitude = whole * 10000 + fraction * kPowersOfTen[4 - fractionDigits];
    units = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace

Fixed4 parseNumberText(std::u32string_view text, char32_t separator) {
    const bool negative = !text.empty() && text[0] == U'-';
    std::int64_t units = 0;
    if (parsePlain(text.substr(negative ? 1 : 0), negative, separator, units)) {
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
    const char32_t separator = numberIsLiteral_ ? U'.' : separator_;
    if (!numberMinus_) return parseNumberText(numberBody_, separator);
    std::int64_t units = 0;
    if (parsePlain(numberBody_, true, separator, units)) return Fixed4::fromUnits(units);
    joined_.assign(U"-");
    joined_.append(numberBody_);
    return parseFixed4(joined_.view(), separator);
}

template <bool kObserved>
bool ArithmeticScan::completeOperand(const Fixed4* atom) {
    bool havePower = false;
    Fixed4 power;
    if (top() == U'^') {
        const std::int64_t b = powerBase_.units();
        if (b == 0) {
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
    if (sumPhase_ && !firstTermSeen_ && sum_.units() == 0) {
        sum_ = current_;
        firstTermSeen_ = true;
    }
    switch (top()) {
        case U'*':
            current_ = scanProduct(productLeft_, current_);
            pop();
            break;
        case U'/':
            current_ = scanQuotient(quotientLeft_, current_);
            pop();
            break;
        case U'+':
            sum_ = scanSum(sum_, current_, true);
            pop();
            break;
        case U'-':
            sum_ = scanSum(sum_, current_, false);
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

template <bool kReadNames, bool kObserved>
Fixed4 ArithmeticScan::runImpl(std::u32string_view text, const Fixed4* values) {
    reset();
    // Where the last name read in place ended, and the character its atom ended with there.
    std::size_t nameEnd = npos;
    char32_t nameLast = kNone;
    // Product phase, over the text.
    std::size_t i = 0;
    const std::size_t n = text.size();
    int k = -1;
    for (;;) {
        const char32_t c = i < n ? text[i] : kNone;
        if (isDigitOrPoint(c)) {
            std::size_t j = i + 1;
            while (j < n && isDigitOrPoint(text[j]))
                ++j;
            // Appended to the number text, which holds nothing or an exponent's "-".
            numberBody_ = text.substr(i, j - i);
            numberIsLiteral_ = true;
            i = j;
            if (!operandRead<kObserved>(text, i)) return finish<kObserved>();
        } else if (c == U'*') {
            productLeft_ = current_;
            ++i;
            push(U'*');
            if constexpr (kObserved) operandStands_ = false;
        } else if (c == U'/') {
            quotientLeft_ = current_;
            ++i;
            push(U'/');
            if constexpr (kObserved) operandStands_ = false;
        } else if (c == U'[') {
            ++i;
            readAtom(text, i);
            if (!operandRead<kObserved>(text, i)) return finish<kObserved>();
        } else if (c == U'-' && top() == U'^') {
            // The sign of the exponent that follows.
            numberMinus_ = true;
            numberBody_ = {};
            numberKnown_ = false;
            numberIsLiteral_ = true;
            ++i;
        } else if (c == U'+' || c == U'-') {
            if (kObserved && (top() == U'*' || top() == U'/')) {
                const char32_t pair[] = {top(), c};
                observer_->quirk(Quirk::SignAfterProduct, std::u32string_view(pair, 2));
            }
            terms_.push_back({current_, c});
            current_ = Fixed4();
            ++i;
            if constexpr (kObserved) operandStands_ = false;
        } else if (std::size_t length = 0;
                   kReadNames && (c != kNone) && (k = nameAt(text, i, length)) >= 0) {
            // The atom the substitution stage would write here, with its "*"s: the character
            // before it is the text's, or the end of the atom of a name right before it.
            const char32_t before = i == nameEnd ? nameLast : i > 0 ? text[i - 1] : kNone;
            const char32_t after = i + length < n ? text[i + length] : kNone;
            const Stars stars = impliedMultiplication(Replaced::Name, before, after);
            if (stars.before) {
                productLeft_ = current_;
                push(U'*');
            }
            numberMinus_ = false;
            numberBody_ = {};
            numberKnown_ = true;
            numberValue_ = values[k];
            i += length;
            nameEnd = i;
            nameLast = stars.after ? U'*' : U']';
            if (!operandRead<kObserved>(text, i)) return finish<kObserved>();
            if (stars.after) {
                productLeft_ = current_;
                push(U'*');
            }
        } else {
            // The end, or a character the scan does not know: the rest is dropped.
            if (kObserved && c != kNone) observer_->quirk(Quirk::StoppedReading, text.substr(i));
            terms_.push_back({current_, kNone});
            break;
        }
    }
    if constexpr (kObserved) observeTermList();

    // Sum phase, over the term list "[v]op[v]op...[v]". With no operator left over from the
    // product phase it is the first term, then each further one added or subtracted in turn.
    sumPhase_ = true;
    if (depth_ == 0) {
        sum_ = terms_[0].value;
        for (std::size_t k = 1; k < terms_.size(); ++k)
            sum_ = scanSum(sum_, terms_[k].value, terms_[k - 1].op == U'+');
        return finish<kObserved>();
    }
    for (const Term& term : terms_) {
        if (!completeOperand<kObserved>(&term.value)) return finish<kObserved>();
        if (term.op == kNone) break;
        // A "-" right after a pending "^" would be an exponent's sign, replaced by the next atom.
        if (!(term.op == U'-' && top() == U'^')) push(term.op);
    }
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
    std::u32string list;
    for (const Term& term : terms_) {
        list.push_back(U'[');
        list += valueText(term.value, separator_);
        list.push_back(U']');
        if (term.op != kNone) list.push_back(term.op);
    }
    observer_->termList(list);
}

}  // namespace kurvilo::detail
