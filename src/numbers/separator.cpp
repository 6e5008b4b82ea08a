// SPDX-License-Identifier: MIT
#include "numbers/separator.h"

#include <stdexcept>
#include <string>

#include "numbers/utf8.h"

namespace kurvilo {

namespace detail {
SeparatorState separatorState;
}

namespace {
// Digits, blanks, signs and exponent letters would make texts ambiguous; the characters of the
// formula language and of its value atoms would change what a formula means once a value is
// written into it.
bool usableSeparator(char32_t c) {
    if (c >= U'0' && c <= U'9') return false;
    if ((c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z')) return false;
    switch (c) {
        case U' ':
        case U'+':
        case U'-':
        case U'*':
        case U'/':
        case U'^':
        case U'(':
        case U')':
        case U'[':
        case U']':
        case U'{':
        case U'}':
        case U':':
        case U'<':
        case U'>':
        case U'=':
        case U'\u03A3':  // Σ
        case U'\u03C0':  // π
        case U'\u03B8':  // θ
        case 0:
            return false;
        default:
            return c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF) && c != 0xFFFD;
    }
}
}  // namespace

void setDecimalSeparator(char32_t separator) {
    if (!usableSeparator(separator)) throw std::invalid_argument("unusable decimal separator");
    std::string bytes;
    appendUtf8(bytes, separator);
    detail::SeparatorState next;
    next.code = separator;
    next.utf8Length = static_cast<unsigned char>(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        next.utf8[i] = bytes[i];
    detail::separatorState = next;
}

char32_t separatorFromLocaleSymbol(std::string_view utf8Symbol) noexcept {
    const std::u32string symbol = toUtf32(utf8Symbol);
    if (symbol.size() == 1 && usableSeparator(symbol[0])) return symbol[0];
    return U'.';
}

}  // namespace kurvilo
