// SPDX-License-Identifier: MIT
#include "numbers/integer_text.h"

#include "numbers/failures.h"
#include "numbers/utf8.h"

namespace kurvilo {

namespace {

template <class CharT>
int hexDigit(CharT c) noexcept {
    if (c >= CharT('0') && c <= CharT('9')) return static_cast<int>(c - CharT('0'));
    if (c >= CharT('a') && c <= CharT('f')) return static_cast<int>(c - CharT('a')) + 10;
    if (c >= CharT('A') && c <= CharT('F')) return static_cast<int>(c - CharT('A')) + 10;
    return -1;
}

template <class CharT>
bool parseImpl(std::basic_string_view<CharT> s, std::int32_t& value) noexcept {
    const std::size_t n = s.size();
    // The plain texts the program writes itself: an optional "-" and one to nine digits.
    {
        const std::size_t first = n > 0 && s[0] == CharT('-') ? 1 : 0;
        if (n > first && n - first <= 9) {
            std::int32_t magnitude = 0;
            std::size_t i = first;
            while (i < n && s[i] >= CharT('0') && s[i] <= CharT('9')) {
                magnitude = magnitude * 10 + static_cast<std::int32_t>(s[i] - CharT('0'));
                ++i;
            }
            if (i == n) {
                value = first == 1 ? -magnitude : magnitude;
                return true;
            }
        }
    }
    std::size_t i = 0;
    while (i < n && s[i] == CharT(' '))
        ++i;
    if (i == n) return false;

    bool hex = false;
    bool negative = false;
    if (s[i] == CharT('-') || s[i] == CharT('+')) {
        negative = s[i] == CharT('-');
        ++i;
    } else if (s[i] == CharT('$') || s[i] == CharT('x') || s[i] == CharT('X')) {
        hex = true;
        ++i;
    } else if (s[i] == CharT('0') && i + 1 < n &&
               (s[i + 1] == CharT('x') || s[i + 1] == CharT('X'))) {
        hex = true;
        i += 2;
    }
    if (i == n) return false;

    if (hex) {
        std::uint32_t bits = 0;
        int significant = 0;
        for (; i < n; ++i) {
            const int d = hexDigit(s[i]);
            if (d < 0) return false;
            if (significant > 0 || d != 0) ++significant;
            if (significant > 8) return false;
            bits = (bits << 4) | static_cast<std::uint32_t>(d);
        }
        value = static_cast<std::int32_t>(bits);
        return true;
    }

    std::int64_t magnitude = 0;
    for (; i < n; ++i) {
        if (s[i] < CharT('0') || s[i] > CharT('9')) return false;
        magnitude = magnitude * 10 + static_cast<std::int64_t>(s[i] - CharT('0'));
        if (magnitude > 2147483648LL) return false;
    }
    const std::int64_t v = negative ? -magnitude : magnitude;
    if (v > 2147483647LL) return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

}  // namespace

std::string integerText(std::int32_t n) {
    return std::to_string(n);
}

void appendIntegerText(std::u32string& out, std::int32_t n) {
    char32_t buffer[12];
    std::size_t d = sizeof buffer / sizeof buffer[0];
    std::uint32_t mag = n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
    do {
        buffer[--d] = U'0' + mag % 10;
        mag /= 10;
    } while (mag != 0);
    if (n < 0) buffer[--d] = U'-';
    out.append(buffer + d, sizeof buffer / sizeof buffer[0] - d);
}

bool tryParseInteger(std::u32string_view text, std::int32_t& value) noexcept {
    return parseImpl<char32_t>(text, value);
}

bool tryParseInteger(std::string_view text, std::int32_t& value) noexcept {
    return parseImpl<char>(text, value);
}

std::int32_t parseInteger(std::string_view text) {
    std::int32_t value = 0;
    if (!parseImpl<char>(text, value)) throw EConvertError::notAnInteger(text);
    return value;
}

std::int32_t parseInteger(std::u32string_view text) {
    std::int32_t value = 0;
    if (!parseImpl<char32_t>(text, value)) throw EConvertError::notAnInteger(toUtf8(text));
    return value;
}

std::int32_t readSpinControl(std::string_view text, std::int32_t minimum) noexcept {
    std::int32_t value = 0;
    return parseImpl<char>(text, value) ? value : minimum;
}

}  // namespace kurvilo
