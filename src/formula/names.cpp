#include "formula/names.h"

#include "numbers/integer_text.h"
#include "numbers/utf8.h"

namespace kurvilo::detail {

namespace {

// letterBit for every character below 0x400 (ASCII and the Greek letters), looked up.
struct LetterTable {
    std::array<std::uint32_t, 0x400> bits{};
    constexpr LetterTable() {
        for (char32_t c = 0; c < bits.size(); ++c)
            bits[c] = letterBit(c);
    }
};
constexpr LetterTable kLetterTable;

}  // namespace

std::uint32_t lettersOf(std::u32string_view text) noexcept {
    std::uint32_t mask = 0;
    for (char32_t c : text) {
        if (c < kLetterTable.bits.size()) mask |= kLetterTable.bits[c];
    }
    return mask;
}

void NameTexts::reset(const FormulaTexts& texts, char32_t separator) {
    texts_ = &texts;
    separator_ = separator;
    convertedSlots_ = 0;
    counter_.assign(1, U'0');
    pi_.clear();
}

void NameTexts::setCounter(std::int32_t n) {
    counter_.clear();
    appendIntegerText(counter_, n);
}

NameTexts::Converted& NameTexts::converted(NameSource source, unsigned index) {
    const unsigned slot = source == NameSource::Value ? index : 5 + index;
    Converted& entry = slots_[slot];
    if (!(convertedSlots_ & (1u << slot))) {
        const std::string_view utf8 =
            source == NameSource::Value ? texts_->values[index] : texts_->constants[index];
        entry.text.clear();
        appendUtf32(entry.text, utf8);
        entry.letters = lettersOf(entry.text);
        convertedSlots_ |= 1u << slot;
    }
    return entry;
}

const std::u32string& NameTexts::text(const Name& name) {
    switch (name.source) {
        case NameSource::Value:
        case NameSource::Constant:
            return converted(name.source, name.index).text;
        case NameSource::Counter:
            return counter_;
        case NameSource::Pi:
            break;
    }
    if (pi_.empty()) {
        char32_t buffer[kMaxFixed4Chars];
        pi_.assign(buffer, formatTo(buffer, Fixed4::fromUnits(kPiUnits), separator_));
    }
    return pi_;
}

std::uint32_t NameTexts::letters(const Name& name) {
    switch (name.source) {
        case NameSource::Value:
        case NameSource::Constant:
            return converted(name.source, name.index).letters;
        case NameSource::Counter:
        case NameSource::Pi:
            break;
    }
    return 0;
}

}  // namespace kurvilo::detail
