// SPDX-License-Identifier: MIT
// Elementary functions on extended reals, with the failures their domain edges raise. Angles are
// in radians. Powers are built from exponential and naturalLog by the formula engine.
#pragma once

#include <cstdint>

#include "numbers/fixed4.h"

namespace kurvilo {

Extended sine(Extended x) noexcept;
Extended cosine(Extended x) noexcept;
// sin x ÷ cos x, the two computed separately; EZeroDivide when the cosine is exactly 0.
Extended tangent(Extended x);
// e^x; EOverflow beyond the extended range; a very negative x gives 0.
Extended exponential(Extended x);
// ln x; EZeroDivide for 0, EInvalidOp below 0.
Extended naturalLog(Extended x);
Extended absolute(Extended x) noexcept;
// Truncated toward zero, still extended: -3.7 gives -3.
Extended integralPart(Extended x) noexcept;
// Truncated toward zero as a 64-bit integer; EInvalidOp outside that range.
std::int64_t truncateToInt64(Extended x);

// A value as units: x × 10000; EOverflow when that leaves the extended range.
Extended toUnits(Extended x);

// The function form: f(u ÷ 10000) × 10000 by the rounding rule.
Fixed4 applyFunction(Extended (*f)(Extended), Fixed4 argument);

}  // namespace kurvilo
