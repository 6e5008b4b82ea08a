// SPDX-License-Identifier: MIT
// Fixed4: a signed 64-bit count of 1/10000 units, the one number type of the program, with its
// text form, its parse and the rounding rule that turns a computed extended real into a Fixed4.
//
// All arithmetic between a parse and a rounding runs in `Extended`, the x87 80-bit format with a
// 64-bit significand, rounding to nearest with ties to even.
#pragma once

#include <array>
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
    // Four decimals: one is this many units.
    static constexpr int kDecimals = 4;
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
    Extended value() const noexcept { return static_cast<Extended>(units_) / kUnitsPerOne; }

    friend constexpr bool operator==(Fixed4, Fixed4) noexcept = default;
    friend constexpr auto operator<=>(Fixed4, Fixed4) noexcept = default;

  private:
    constexpr explicit Fixed4(std::int64_t units) noexcept : units_(units) {}
    std::int64_t units_ = 0;
};

// n ÷ 10000 to the nearest integer, an exact half to the even one: the rounding rule applied to
// an exact quotient of whole units.
constexpr std::int64_t divideUnitsHalfToEven(std::int64_t n) noexcept {
    constexpr std::int64_t kHalf = Fixed4::kUnitsPerOne / 2;
    const std::int64_t quotient = n / Fixed4::kUnitsPerOne;
    const std::int64_t remainder = n % Fixed4::kUnitsPerOne;  // has the sign of n
    const std::int64_t magnitude = remainder < 0 ? -remainder : remainder;
    if (magnitude > kHalf || (magnitude == kHalf && quotient % 2 != 0)) {
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

namespace detail {

// 10^0 .. 10^19, every power of ten a 64-bit unsigned integer holds: the one table of them, for
// the text form, the parse and the plain-number read.
inline constexpr std::array<std::uint64_t, 20> kPowersOfTen = [] {
    std::array<std::uint64_t, 20> p{};
    std::uint64_t v = 1;
    for (auto& e : p) {
        e = v;
        v *= 10;
    }
    return p;
}();

// A plain number has at most this many integer digits (its unit count then fits far inside 64
// bits) and at most as many fraction digits as a Fixed4 has decimals.
inline constexpr std::size_t kPlainIntegerDigits = 14;
inline constexpr std::size_t kPlainFractionDigits = Fixed4::kDecimals;
static_assert(static_cast<std::int64_t>(kPowersOfTen[kPlainFractionDigits]) ==
              Fixed4::kUnitsPerOne);

// The magnitude of a plain number, the text after its sign: up to kPlainIntegerDigits digits,
// then optionally the separator and up to kPlainFractionDigits digits, at least one digit in all.
// Its exact unit count, which the parse gives too; false for any other text.
template <class CharT>
constexpr bool parsePlainMagnitude(std::basic_string_view<CharT> text,
                                   std::basic_string_view<CharT> separator,
                                   std::int64_t& units) noexcept {
    const std::size_t n = text.size();
    std::size_t i = 0;
    std::int64_t whole = 0;
    while (i < n && i < kPlainIntegerDigits && text[i] >= CharT('0') && text[i] <= CharT('9')) {
        whole = whole * 10 + static_cast<std::int64_t>(text[i] - CharT('0'));
        ++i;
    }
    std::size_t digits = i;
    std::int64_t fraction = 0;
    std::size_t fractionDigits = 0;
    if (i < n && (separator.size() == 1 ? text[i] == separator[0]
                                        : text.substr(i, separator.size()) == separator)) {
        i += separator.size();
        while (i < n && fractionDigits < kPlainFractionDigits && text[i] >= CharT('0') &&
               text[i] <= CharT('9')) {
            fraction = fraction * 10 + static_cast<std::int64_t>(text[i] - CharT('0'));
            ++fractionDigits;
            ++i;
        }
        digits += fractionDigits;
    }
    if (i != n || digits == 0) return false;
    units =
        whole * Fixed4::kUnitsPerOne +
        fraction * static_cast<std::int64_t>(kPowersOfTen[kPlainFractionDigits - fractionDigits]);
    return true;
}

}  // namespace detail

// The plain texts the program writes itself, its text form among them: an optional "-", then a
// plain number's magnitude (detail::parsePlainMagnitude). Their exact unit count; false for any
// other text. UTF-8 with the separator's bytes, or UTF-32 with its one character.
template <class CharT>
constexpr bool parsePlainNumber(std::basic_string_view<CharT> text,
                                std::basic_string_view<CharT> separator,
                                std::int64_t& units) noexcept {
    const bool negative = !text.empty() && text[0] == CharT('-');
    std::int64_t magnitude = 0;
    if (!detail::parsePlainMagnitude(text.substr(negative ? 1 : 0), separator, magnitude))
        return false;
    units = negative ? -magnitude : magnitude;
    return true;
}

// Parse with the process-wide separator; EConvertError ("'%s' is not a valid floating point
// value") for anything outside the syntax or the range.
Fixed4 parseFixed4(std::string_view text);
Fixed4 parseFixed4(std::u32string_view text);
// The same with an explicit decimal separator.
Fixed4 parseFixed4(std::u32string_view text, char32_t separator);
// The same without a failure: false, value untouched, where the parse fails.
bool tryParseFixed4(std::u32string_view text, char32_t separator, Fixed4& value) noexcept;

// The elementary arithmetic forms of two Fixed4 values.
Fixed4 add(Fixed4 a, Fixed4 b);       // exact; EInvalidOp outside the range
Fixed4 subtract(Fixed4 a, Fixed4 b);  // exact; EInvalidOp outside the range

}  // namespace kurvilo
