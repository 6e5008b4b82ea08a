// SPDX-License-Identifier: MIT
// The arithmetic forms of the scan, on unit counts, each ending with the rounding rule: the
// product, the quotient, the sum or difference, and the power of a positive base. Where the
// operands are small enough that integer arithmetic provably gives the same unit count as the
// extended-precision form, the integer arithmetic is used; the extended forms stay callable on
// their own for the tests that prove it.
#pragma once

#include "numbers/fixed4.h"

namespace kurvilo::detail {

// r ≥ 0: (l × r) ÷ 10000; r < 0: (|r| ÷ 10000) × (−l).
Fixed4 scanProduct(Fixed4 left, Fixed4 right);
Fixed4 scanProductExtended(Fixed4 left, Fixed4 right);

// r > 0: (l ÷ r) × 10000; r < 0: (−l) ÷ (|r| ÷ 10000); r = 0 fails (EZeroDivide, or EInvalidOp
// when l is 0 too).
Fixed4 scanQuotient(Fixed4 left, Fixed4 right);

// s + r (plus true) or s − r (plus false), by way of |r| ÷ 10000 × 10000.
Fixed4 scanSum(Fixed4 sum, Fixed4 right, bool plus);
Fixed4 scanSumExtended(Fixed4 sum, Fixed4 right, bool plus);

// b^e as the scan computes it: for b > 0, e^((ln(b ÷ 10000) × e) ÷ 10000) × 10000; for b < 0
// and a whole e, the same of |b| with the sign of an odd e; false (nothing computed) for b < 0
// and a fractional e, which ends the scan. b = 0 is the scan's own case.
bool scanPower(Fixed4 base, Fixed4 exponent, Fixed4& power);

}  // namespace kurvilo::detail
