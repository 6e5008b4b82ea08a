// SPDX-License-Identifier: MIT
// The process-wide decimal separator: one character, written by the text form and the only one
// the parse accepts as the decimal point. The window sets it from the locale at start-up and on
// a locale change; the command-line tool from the locale or an option. It changes only between
// operations, never during one.
#pragma once

#include <string_view>

namespace kurvilo {

namespace detail {
struct SeparatorState {
    char32_t code = U'.';
    char utf8[4] = {'.', 0, 0, 0};
    unsigned char utf8Length = 1;
};
extern SeparatorState separatorState;
}  // namespace detail

inline char32_t decimalSeparator() noexcept {
    return detail::separatorState.code;
}

inline std::string_view decimalSeparatorUtf8() noexcept {
    return {detail::separatorState.utf8, detail::separatorState.utf8Length};
}

// Any Unicode scalar value except the digits, the blank, the signs, the letters, and the
// characters of the formula language and its value atoms ("(", ")", "[", "]", "{", "}", "*", "/",
// "^", ":", "<", ">", "=", "π", "θ", "Σ"); those throw std::invalid_argument.
void setDecimalSeparator(char32_t separator);

// The separator a locale's decimal symbol gives: the symbol when it is exactly one character,
// "." when it is empty, longer, or not usable as a separator.
char32_t separatorFromLocaleSymbol(std::string_view utf8Symbol) noexcept;

}  // namespace kurvilo
