// SPDX-License-Identifier: MIT
// The formula engine's function values and the power of a positive base: a Fixed4 in, a Fixed4
// out, with the function form's rounding and failures. Each call first evaluates in double
// precision and keeps that result only where it provably rounds to the same unit count as the
// extended-precision code; everywhere else, and wherever a failure or a range edge could be near,
// it runs that extended code unchanged. Results and failures are therefore the extended ones,
// digit for digit. The extended versions stay callable on their own, for comparisons.
#pragma once

#include <cstdint>

#include "numbers/fixed4.h"

namespace kurvilo {

// f(u ÷ 10000) × 10000 by the rounding rule, for the argument's unit count u (radians for the
// angles). Failures: tangentValue EZeroDivide when the cosine is exactly 0; naturalLogValue
// EZeroDivide at 0 and EInvalidOp below; exponentialValue EOverflow beyond the extended range;
// every one EOverflow when × 10000 leaves the extended range and EInvalidOp when the result
// leaves the Fixed4 range.
Fixed4 sineValue(Fixed4 argument);
Fixed4 cosineValue(Fixed4 argument);
Fixed4 tangentValue(Fixed4 argument);
Fixed4 naturalLogValue(Fixed4 argument);
Fixed4 exponentialValue(Fixed4 argument);

// b^e for a base of baseUnits units (the magnitude of a unit count, so 2^63 is allowed) as
// e^(ln(b ÷ 10000) × e ÷ 10000) × 10000 by the rounding rule; the product is taken before the
// division. baseUnits 0 fails like the logarithm of 0 (EZeroDivide): the engine never asks.
Fixed4 positivePowerValue(std::uint64_t baseUnits, Fixed4 exponent);

// The same, always in extended precision.
Fixed4 extendedSineValue(Fixed4 argument);
Fixed4 extendedCosineValue(Fixed4 argument);
Fixed4 extendedTangentValue(Fixed4 argument);
Fixed4 extendedNaturalLogValue(Fixed4 argument);
Fixed4 extendedExponentialValue(Fixed4 argument);
Fixed4 extendedPositivePowerValue(std::uint64_t baseUnits, Fixed4 exponent);

namespace detail {

// The double-precision attempt alone: true with the unit count when that count is provably the
// extended result, false when the extended code has to decide. Never fails.
bool fastSineUnits(Fixed4 argument, std::int64_t& units) noexcept;
bool fastCosineUnits(Fixed4 argument, std::int64_t& units) noexcept;
bool fastTangentUnits(Fixed4 argument, std::int64_t& units) noexcept;
bool fastNaturalLogUnits(Fixed4 argument, std::int64_t& units) noexcept;
bool fastExponentialUnits(Fixed4 argument, std::int64_t& units) noexcept;
bool fastPositivePowerUnits(std::uint64_t baseUnits, Fixed4 exponent, std::int64_t& units) noexcept;

}  // namespace detail

}  // namespace kurvilo
