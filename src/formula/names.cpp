// SPDX-License-Identifier: MIT
#include "formula/names.h"

#include "numbers/utf8.h"

namespace kurvilo::detail {

void NameTexts::reset(const FormulaTexts& texts, char32_t separator) {
    texts_ = &texts;
    convertedSlots_ = 0;
    plainKnown_ = 0;
    counterValue_ = 0;
    counterStale_ = true;
    if (separator != separator_) {
        separator_ = separator;
        separatorUtf8_.clear();
        appendUtf8(separatorUtf8_, separator);
        pi_.clear();
    }
}

void NameTexts::setCounter(std::int32_t n) {
    counterValue_ = n;
    counterStale_ = true;
}

void NameTexts::writePi() {
    pi_.truncate(formatTo(pi_.extend(kMaxFixed4Chars), Fixed4::fromUnits(kPiUnits), separator_));
}

void NameTexts::writeCounter() {
    const std::int32_t n = counterValue_;
    counterStale_ = false;
    char32_t digits[11];  // "-2147483648" at most
    std::size_t d = std::size(digits);
    std::uint32_t magnitude =
        n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
    do {
        digits[--d] = U'0' + magnitude % 10;
        magnitude /= 10;
    } while (magnitude != 0);
    if (n < 0) digits[--d] = U'-';
    counter_.assign(std::u32string_view(digits + d, std::size(digits) - d));
}

void NameTexts::convert(Converted& entry, unsigned slot) {
    const std::string_view utf8 = slot < 5 ? texts_->values[slot] : texts_->constants[slot - 5];
    entry.text.clear();
    std::size_t consumed = 0;
    entry.text.truncate(
        decodeUtf8Inline(utf8, entry.text.extend(utf8.size()), utf8.size(), consumed));
    entry.letters = lettersOf(entry.text);
    convertedSlots_ |= 1u << slot;
}

bool NameTexts::plainValue(const Name& name, Fixed4& value) {
    switch (name.source) {
        case NameSource::Counter:
            value = Fixed4::fromInteger(counterValue_);
            return true;
        case NameSource::Pi:
            value = Fixed4::fromUnits(kPiUnits);
            return true;
        case NameSource::Value:
        case NameSource::Constant:
            break;
    }
    // Read from the UTF-8 text itself: a plain number is digits, "-" and the separator, which
    // only their own bytes decode to, so the text is plain exactly when its UTF-32 form is.
    const unsigned slot = name.source == NameSource::Value ? name.index : 5u + name.index;
    Converted& entry = slots_[slot];
    if (!(plainKnown_ & (1u << slot))) {
        std::int64_t units = 0;
        const std::string_view utf8 = slot < 5 ? texts_->values[slot] : texts_->constants[slot - 5];
        entry.plain = parsePlainNumber(utf8, std::string_view(separatorUtf8_), units) ? 1 : 0;
        entry.value = Fixed4::fromUnits(units);
        plainKnown_ |= 1u << slot;
    }
    value = entry.value;
    return entry.plain == 1;
}

}  // namespace kurvilo::detail
