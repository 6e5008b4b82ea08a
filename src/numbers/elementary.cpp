// SPDX-License-Identifier: MIT
#include "numbers/elementary.h"

#include <cmath>

#include "numbers/failures.h"

namespace kurvilo {

Extended sine(Extended x) noexcept {
    return sinl(x);
}

Extended cosine(Extended x) noexcept {
    return cosl(x);
}

Extended tangent(Extended x) {
    const Extended s = sinl(x);
    const Extended c = cosl(x);
    if (c == 0.0L) throw EZeroDivide();
    return s / c;
}

Extended exponential(Extended x) {
    if (std::isnan(x)) throw EInvalidOp();
    const Extended r = expl(x);
    if (std::isinf(r)) throw EOverflow();
    return r;
}

Extended naturalLog(Extended x) {
    if (x == 0.0L) throw EZeroDivide();
    if (!(x > 0.0L)) throw EInvalidOp();
    if (std::isinf(x)) throw EOverflow();
    return logl(x);
}

Extended absolute(Extended x) noexcept {
    return fabsl(x);
}

Extended integralPart(Extended x) noexcept {
    // Whole already (or not finite): nothing to drop. Otherwise |x| < 2^63 and the integer
    // conversion below is exact.
    if (!(fabsl(x) < 0x1p63L)) return x;
    const auto whole = static_cast<Extended>(truncateToInt64(x));
    return whole == 0.0L ? 0.0L : whole;
}

std::int64_t truncateToInt64(Extended x) {
    if (!(x > -0x1p63L - 1.0L && x < 0x1p63L)) throw EInvalidOp();
    // Near 2^63 a half could round up out of range; the plain conversion is exact there.
    if (!(fabsl(x) < 0x1p62L)) return static_cast<std::int64_t>(x);
    // Round to nearest (a plain fistp, no control-word switch), then step back toward zero.
    std::int64_t r = __builtin_llrintl(x);
    const Extended back = static_cast<Extended>(r);
    if (x >= 0.0L) {
        if (back > x) --r;
    } else {
        if (back < x) ++r;
    }
    return r;
}

Extended toUnits(Extended x) {
    const Extended units = x * Fixed4::kUnitsPerOne;
    if (std::isinf(units) && !std::isinf(x)) throw EOverflow();
    return units;
}

Fixed4 applyFunction(Extended (*f)(Extended), Fixed4 argument) {
    return roundUnits(toUnits(f(argument.value())));
}

}  // namespace kurvilo
