// SPDX-License-Identifier: MIT
#include "formula/arithmetic.h"

#include <cstdint>

#include "numbers/elementary.h"
#include "numbers/failures.h"
#include "numbers/function_values.h"

namespace kurvilo::detail {

namespace {

// Below this magnitude in units the sum's |r| ÷ 10000 × 10000, two roundings to the 64-bit
// significand, comes back within |r|·2^-63 of |r| (at most 2^-4), and the sum adds at most as
// much again: far below the 1/2 at which the rounding rule could give anything but s ± r.
constexpr std::int64_t kExactSum = std::int64_t{1} << 59;

// Below this magnitude of l × r the product's one rounding (of l × r ÷ 10000, l × r itself being
// exact) stays within 2^-17 of the true quotient, which is either a tie exactly (and then exact
// in the extended format too) or at least 10^-4 away from one: the rounding rule gives what
// rounding the exact quotient half to even gives. For r < 0 the division comes first: its two
// roundings stay within about 2^-16.3 of the true quotient, still far inside the 10^-4 that keeps
// it off a tie, but a tie itself may then come out on either side: those keep the extended form.
constexpr std::int64_t kExactProduct = std::int64_t{1} << 60;

}  // namespace

Fixed4 scanProductExtended(Fixed4 left, Fixed4 right) {
    const auto l = static_cast<Extended>(left.units());
    const auto r = static_cast<Extended>(right.units());
    if (right.units() >= 0) return roundUnits(l * r / Fixed4::kUnitsPerOne);
    return roundUnits((-r / Fixed4::kUnitsPerOne) * -l);
}

Fixed4 scanProduct(Fixed4 left, Fixed4 right) {
    std::int64_t n = 0;
    if (!__builtin_mul_overflow(left.units(), right.units(), &n) && n > -kExactProduct &&
        n < kExactProduct) {
        const std::int64_t half = Fixed4::kUnitsPerOne / 2;
        const bool tie = n % Fixed4::kUnitsPerOne == half || n % Fixed4::kUnitsPerOne == -half;
        if (right.units() >= 0 || !tie) return Fixed4::fromUnits(divideUnitsHalfToEven(n));
    }
    return scanProductExtended(left, right);
}

Fixed4 scanQuotient(Fixed4 left, Fixed4 right) {
    const auto l = static_cast<Extended>(left.units());
    const auto r = static_cast<Extended>(right.units());
    if (right.units() == 0) {
        if (left.units() == 0) throw EInvalidOp();
        throw EZeroDivide();
    }
    if (right.units() > 0) return roundUnits(l / r * Fixed4::kUnitsPerOne);
    return roundUnits(-l / (-r / Fixed4::kUnitsPerOne));
}

// Exact while the values stay below 10^14, and rounded like the rest beyond.
Fixed4 scanSumExtended(Fixed4 sum, Fixed4 right, bool plus) {
    const auto s = static_cast<Extended>(sum.units());
    const auto r = static_cast<Extended>(right.units());
    const Extended magnitude =
        (right.units() >= 0 ? r : -r) / Fixed4::kUnitsPerOne * Fixed4::kUnitsPerOne;
    const bool addMagnitude = plus == (right.units() >= 0);
    return roundUnits(addMagnitude ? s + magnitude : s - magnitude);
}

Fixed4 scanSum(Fixed4 sum, Fixed4 right, bool plus) {
    const std::int64_t s = sum.units();
    const std::int64_t r = right.units();
    if (s > -kExactSum && s < kExactSum && r > -kExactSum && r < kExactSum) {
        return Fixed4::fromUnits(plus ? s + r : s - r);
    }
    return scanSumExtended(sum, right, plus);
}

bool scanPower(Fixed4 base, Fixed4 exponent, Fixed4& power) {
    const std::int64_t b = base.units();
    if (b > 0) {
        power = positivePowerValue(static_cast<std::uint64_t>(b), exponent);
        return true;
    }
    if (exponent.units() % Fixed4::kUnitsPerOne != 0) return false;
    // The magnitude as an unsigned count: the most negative base has no positive twin in 64 bits.
    const Fixed4 m = positivePowerValue(0 - static_cast<std::uint64_t>(b), exponent);
    const bool odd = (exponent.units() / Fixed4::kUnitsPerOne) % 2 != 0;
    power = odd ? Fixed4::fromUnits(-m.units()) : m;
    return true;
}

}  // namespace kurvilo::detail
