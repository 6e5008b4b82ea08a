// SPDX-License-Identifier: MIT
// Fixed4: a signed 64-bit count of 1/10000 units, the one number type of the program, with its
// text form, its parse and the rounding rule that turns a computed extended real into a Fixed4.
//
// All arithmetic between a parse and a rounding runs in `Extended`, the x87 80-bit format with a
// 64-bit significand, rounding to nearest with ties to even.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace kurvilo {

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "Kurvilo needs the 80-bit extended format (64-bit significand) as long double");
static_assert(std::numeric_limits<Extended>::is_iec559);

class Fixed4 {
  public:
    static constexpr std::int64_t kUnitsPerOne = 10000;

    constexpr Fixed4() noexcept = default;
    static constexpr Fixed4 fromUnits(std::int64_t units) noexcept { return Fixed4(units); }
    // Exact: n × 10000 always fits.
    static constexpr Fixed4 fromInteger(std::int32_t n) noexcept {
        return Fixed4(std::int64_t{n} * kUnitsPerOne);
    }
    static constexpr Fixed4 min() noexcept {
        return Fixed4(std::numeric_limits<std::int64_t>::min());
    }
    static constexpr Fixed4 max() noexcept {
        return Fixed4(std::numeric_limits<std::int64_t>::max());
    }

    constexpr std::int64_t units() const noexcept { return units_; }
    // The value as an extended real: one rounding to the 64-bit significand.
    Extended value() const noexcept { return static_cast<Extended>(units_) / 10000.0L; }

    friend constexpr bool operator==(Fixed4, Fixed4) noexcept = default;
    friend constexpr auto operator<=>(Fixed4, Fixed4) noexcept = default;

  private:
    constexpr explicit Fixed4(std::int64_t units) noexcept : units_(units) {}
    std::int64_t units_ = 0;
};

// n ÷ 10000 to the nearest integer, an exact half to the even one: the rounding rule applied to
// an exact quotient of whole units.
constexpr std::int64_t divideUnitsHalfToEven(std::int64_t n) noexcept {
    const std::int64_t quotient = n / 10000;
    const std::int64_t remainder = n % 10000;  // has the sign of n
    const std::int64_t magnitude = remainder < 0 ? -remainder : remainder;
    if (magnitude > 5000 || (magnitude == 5000 && quotient % 2 != 0)) {
        return quotient + (n < 0 ? -1 : 1);
    }
    return quotient;
}

// The rounding rule: r is a quantity in units; its nearest integer (ties to even) becomes the
// unit count. Not finite or outside the unit-count range: EInvalidOp, nothing stored.
Fixed4 roundUnits(Extended r);
// The same without a failure: false when r has no Fixed4.
bool tryRoundUnits(Extended r, std::int64_t& units) noexcept;

// Text form: "0", or an optional "-", the integer digits, and up to four fraction digits (the
// last never "0") after the decimal separator. At most 21 characters.
constexpr std::size_t kMaxFixed4Chars = 21;
std::string toText(Fixed4 value);
void appendText(std::string& out, Fixed4 value);
void appendText(std::u32string& out, Fixed4 value);
// Writes the text form into out (room for kMaxFixed4Chars) and returns its length.
std::size_t formatTo(char32_t* out, Fixed4 value, char32_t separator) noexcept;
// The same in UTF-8 with the process-wide separator (room for kMaxFixed4Bytes).
constexpr std::size_t kMaxFixed4Bytes = kMaxFixed4Chars + 3;
std::size_t formatTo(char* out, Fixed4 value) noexcept;

// The plain texts the program writes itself, its text form among them: an optional "-", up to 14
// integer digits, and up to four fraction digits after the separator (UTF-8). Their exact unit
// count, which the parse gives too; false for any other text.
inline bool parsePlainText(std::string_view text, std::string_view separatorUtf8,
                           std::int64_t& units) noexcept {
    const std::size_t n = text.size();
    std::size_t i = 0;
    const bool negative = n > 0 && text[0] == '-';
    if (negative) i = 1;
    const std::size_t first = i;
    std::int64_t whole = 0;
    while (i < n && i - first < 14 && text[i] >= '0' && text[i] <= '9') {
        whole = whole * 10 + (text[i] - '0');
        ++i;
    }
    std::size_t digits = i - first;
    std::int64_t fraction = 0;
    int fractionDigits = 0;
    if (i < n &&
        (separatorUtf8.size() == 1 ? text[i] == separatorUtf8[0]
                                   : text.substr(i, separatorUtf8.size()) == separatorUtf8)) {
        i += separatorUtf8.size();
        while (i < n && fractionDigits < 4 && text[i] >= '0' && text[i] <= '9') {
            fraction = fraction * 10 + (text[i] - '0');
            ++fractionDigits;
            ++i;
        }
        digits += static_cast<std::size_t>(fractionDigits);
    }
    if (i != n || digits == 0) return false;
    constexpr std::int64_t kScale[] = {10000, 1000, 100, 10, 1};
    const std::int64_t magnitude = whole * 10000 + fraction * kScale[fractionDigits];
    units = negative ? -magnitude : magnitude;
    return true;
}

// Parse with the process-wide separator; EConvertError ("'%s' is not a valid floating point
// value") for anything outside the syntax or the range.
Fixed4 parseFixed4(std::string_view text);
Fixed4 parseFixed4(std::u32string_view text);
// The same with an explicit decimal separator.
Fixed4 parseFixed4(std::u32string_view text, char32_t separator);

// The elementary arithmetic forms of two Fixed4 values.
Fixed4 add(Fixed4 a, Fixed4 b);       // exact; EInvalidOp outside the range
Fixed4 subtract(Fixed4 a, Fixed4 b);  // exact; EInvalidOp outside the range

}  // namespace kurvilo
