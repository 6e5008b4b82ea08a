// SPDX-License-Identifier: MIT
#include "numbers/fixed4.h"

#include <array>

#include "numbers/failures.h"
#include "numbers/separator.h"
#include "numbers/utf8.h"

namespace kurvilo {

namespace {

// Nearest integer, ties to even, under the default rounding mode (never changed in this program).
// The caller has checked the range.
inline std::int64_t roundToEven(Extended r) noexcept {
    return __builtin_llrintl(r);
}

// r rounds into the unit-count range: r >= -2^63 and r < 2^63 - 1/2 (2^63 - 1/2 is a tie that
// goes to the even 2^63). NaN fails both comparisons.
inline bool inUnitRange(Extended r) noexcept {
    return r >= -0x1p63L && r < 0x1p63L - 0.5L;
}

constexpr std::array<Extended, 28> makeExtendedPowersOfTen() {
    std::array<Extended, 28> p{};
    Extended v = 1.0L;
    for (auto& e : p) {
        e = v;
        v *= 10.0L;
    }
    return p;
}
// 10^0 .. 10^27 are all exact in the 64-bit significand (5^27 < 2^63).
constexpr std::array<Extended, 28> kExtendedPowersOfTen = makeExtendedPowersOfTen();

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

using detail::kPowersOfTen;

// Writes the text form as code units (ASCII digits, '-', the separator). CharT is char32_t, or
// char with a separator of one or more bytes.
template <class CharT>
std::size_t formatImpl(CharT* out, Fixed4 value, const CharT* sep, std::size_t sepLength) noexcept {
    const std::int64_t u = value.units();
    if (u == 0) {
        out[0] = CharT('0');
        return 1;
    }
    CharT* p = out;
    std::uint64_t mag = static_cast<std::uint64_t>(u);
    if (u < 0) {
        *p++ = CharT('-');
        mag = 0 - mag;
    }
    std::uint64_t whole = mag / Fixed4::kUnitsPerOne;
    const auto frac = static_cast<unsigned>(mag % Fixed4::kUnitsPerOne);

    // Integer digits (at most 15), written backwards from their end two at a time.
    std::size_t count = 1;
    while (count < 16 && whole >= kPowersOfTen[count])
        ++count;
    p += count;
    CharT* q = p;
    while (whole >= 100) {
        const auto pair = static_cast<unsigned>(whole % 100) * 2;
        whole /= 100;
        *--q = CharT(kDigitPairs[pair + 1]);
        *--q = CharT(kDigitPairs[pair]);
    }
    if (whole >= 10) {
        const auto pair = static_cast<unsigned>(whole) * 2;
        *--q = CharT(kDigitPairs[pair + 1]);
        *--q = CharT(kDigitPairs[pair]);
    } else {
        *--q = CharT('0' + whole);
    }

    // One to four fraction digits, the last never "0".
    if (frac != 0) {
        for (std::size_t k = 0; k < sepLength; ++k)
            *p++ = sep[k];
        const unsigned high = frac / 100 * 2;
        const unsigned low = frac % 100 * 2;
        p[0] = CharT(kDigitPairs[high]);
        p[1] = CharT(kDigitPairs[high + 1]);
        p[2] = CharT(kDigitPairs[low]);
        p[3] = CharT(kDigitPairs[low + 1]);
        p += frac % 1000 == 0 ? 1 : frac % 100 == 0 ? 2 : frac % 10 == 0 ? 3 : 4;
    }
    return static_cast<std::size_t>(p - out);
}

template <class CharT>
inline bool isDigit(CharT c) noexcept {
    return c >= CharT('0') && c <= CharT('9');
}

// The parse, steps 1 to 11. Returns false for any text outside the syntax or the range.
template <class CharT>
bool parseImpl(std::basic_string_view<CharT> s, std::basic_string_view<CharT> sep,
               std::int64_t& units) noexcept {
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n && s[i] == CharT(' '))
        ++i;
    bool negative = false;
    if (i < n && (s[i] == CharT('+') || s[i] == CharT('-'))) {
        negative = s[i] == CharT('-');
        ++i;
    }

    // Mantissa: exact in 64 bits while it fits, then extended with a rounding per step.
    bool consumed = false;
    bool inExtended = false;
    std::uint64_t m = 0;
    Extended mx = 0.0L;
    std::int64_t fractionDigits = 0;
    auto takeDigit = [&](unsigned digit) {
        if (!inExtended) {
            if (m <= (UINT64_MAX - digit) / 10) {
                m = m * 10 + digit;
                return;
            }
            inExtended = true;
            mx = static_cast<Extended>(m);
        }
        mx = mx * 10.0L;
        mx = mx + static_cast<Extended>(digit);
    };
    while (i < n && isDigit(s[i])) {
        takeDigit(static_cast<unsigned>(s[i] - CharT('0')));
        consumed = true;
        ++i;
    }
    if (!sep.empty() &&
        (sep.size() == 1 ? i < n && s[i] == sep[0] : s.substr(i, sep.size()) == sep)) {
        i += sep.size();
        consumed = true;
        while (i < n && isDigit(s[i])) {
            takeDigit(static_cast<unsigned>(s[i] - CharT('0')));
            ++fractionDigits;
            ++i;
        }
    }
    if (!consumed) return false;

    // Exponent: digits are taken only while the exponent read so far is below 500.
    std::int64_t exponent = 0;
    if (i < n && (s[i] == CharT('e') || s[i] == CharT('E'))) {
        ++i;
        bool expNegative = false;
        if (i < n && (s[i] == CharT('+') || s[i] == CharT('-'))) {
            expNegative = s[i] == CharT('-');
            ++i;
        }
        while (i < n && isDigit(s[i]) && exponent < 500) {
            exponent = exponent * 10 + (s[i] - CharT('0'));
            ++i;
        }
        if (expNegative) exponent = -exponent;
    }
    while (i < n && s[i] == CharT(' '))
        ++i;
    if (i != n) return false;

    std::int64_t scale = exponent - fractionDigits + Fixed4::kDecimals;

    // Fast path: an exact integer result needs no extended arithmetic.
    if (!inExtended && scale >= 0 && scale <= 19) {
        std::uint64_t mag = 0;
        if (!__builtin_mul_overflow(m, kPowersOfTen[static_cast<std::size_t>(scale)], &mag)) {
            constexpr std::uint64_t kMaxMag = 9223372036854775807ULL;
            if (mag <= kMaxMag) {
                units = negative ? -static_cast<std::int64_t>(mag) : static_cast<std::int64_t>(mag);
                return true;
            }
            if (negative && mag == kMaxMag + 1) {
                units = INT64_MIN;
                return true;
            }
            return false;
        }
        // Overflowed 64 bits: certainly out of range unless m is 0 (it is not: 0 never overflows).
        return false;
    }

    Extended r = inExtended ? mx : static_cast<Extended>(m);
    if (r != 0.0L) {
        // Up to 10^27 in one exact step; beyond that in steps of 10^27 (the last bit of such
        // texts is the implementer's to choose). An overflow becomes infinity and fails below.
        while (scale > 27) {
            r *= kExtendedPowersOfTen[27];
            scale -= 27;
        }
        while (scale < -27) {
            r /= kExtendedPowersOfTen[27];
            scale += 27;
        }
        if (scale > 0) {
            r *= kExtendedPowersOfTen[static_cast<std::size_t>(scale)];
        } else if (scale < 0) {
            r /= kExtendedPowersOfTen[static_cast<std::size_t>(-scale)];
        }
    }
    if (negative) r = -r;
    return tryRoundUnits(r, units);
}

}  // namespace

namespace {

template <class CharT>
[[noreturn]] void failParse(std::basic_string_view<CharT> text) {
    if constexpr (sizeof(CharT) == 1) {
        throw EConvertError::notAFloat(text);
    } else {
        throw EConvertError::notAFloat(toUtf8(text));
    }
}

}  // namespace

bool tryRoundUnits(Extended r, std::int64_t& units) noexcept {
    if (!inUnitRange(r)) return false;
    units = roundToEven(r);
    return true;
}

Fixed4 roundUnits(Extended r) {
    std::int64_t units = 0;
    if (!tryRoundUnits(r, units)) throw EInvalidOp();
    return Fixed4::fromUnits(units);
}

std::size_t formatTo(char32_t* out, Fixed4 value, char32_t separator) noexcept {
    return formatImpl<char32_t>(out, value, &separator, 1);
}

std::size_t formatTo(char* out, Fixed4 value) noexcept {
    const std::string_view sep = decimalSeparatorUtf8();
    return formatImpl<char>(out, value, sep.data(), sep.size());
}

void appendText(std::string& out, Fixed4 value) {
    const std::string_view sep = decimalSeparatorUtf8();
    char buffer[kMaxFixed4Chars + 4];
    const std::size_t n = formatImpl<char>(buffer, value, sep.data(), sep.size());
    out.append(buffer, n);
}

void appendText(std::u32string& out, Fixed4 value) {
    char32_t buffer[kMaxFixed4Chars];
    out.append(buffer, formatTo(buffer, value, decimalSeparator()));
}

std::string toText(Fixed4 value) {
    std::string out;
    appendText(out, value);
    return out;
}

Fixed4 parseFixed4(std::string_view text) {
    std::int64_t units = 0;
    const std::string_view separator = decimalSeparatorUtf8();
    if (parsePlainNumber(text, separator, units)) return Fixed4::fromUnits(units);
    if (!parseImpl<char>(text, separator, units)) failParse(text);
    return Fixed4::fromUnits(units);
}

Fixed4 parseFixed4(std::u32string_view text, char32_t separator) {
    std::int64_t units = 0;
    if (!parseImpl<char32_t>(text, std::u32string_view(&separator, 1), units)) failParse(text);
    return Fixed4::fromUnits(units);
}

bool tryParseFixed4(std::u32string_view text, char32_t separator, Fixed4& value) noexcept {
    std::int64_t units = 0;
    if (!parseImpl<char32_t>(text, std::u32string_view(&separator, 1), units)) return false;
    value = Fixed4::fromUnits(units);
    return true;
}

Fixed4 parseFixed4(std::u32string_view text) {
    return parseFixed4(text, decimalSeparator());
}

Fixed4 add(Fixed4 a, Fixed4 b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a.units(), b.units(), &sum)) throw EInvalidOp();
    return Fixed4::fromUnits(sum);
}

Fixed4 subtract(Fixed4 a, Fixed4 b) {
    std::int64_t difference = 0;
    if (__builtin_sub_overflow(a.units(), b.units(), &difference)) throw EInvalidOp();
    return Fixed4::fromUnits(difference);
}

}  // namespace kurvilo
