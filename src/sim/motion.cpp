// SPDX-License-Identifier: MIT
#include "sim/motion.h"

#include <stdexcept>
#include <string>

#include "numbers/failures.h"
#include "sim/settings.h"

namespace kurvilo {

GraphMode graphModeFromIndex(int itemIndex) {
    if (itemIndex < 0 || itemIndex > 3) {
        throw std::invalid_argument("graph mode " + std::to_string(itemIndex) +
                                    " is not one of 0 to 3");
    }
    return static_cast<GraphMode>(itemIndex);
}

Fixed4 timeStepFor(int comboBox2Index) noexcept {
    const bool listed = comboBox2Index >= 0 && comboBox2Index < static_cast<int>(kTimeSteps.size());
    return Fixed4::fromUnits(
        kTimeSteps[static_cast<std::size_t>(listed ? comboBox2Index : kFallbackTimeStep)].units);
}

Fixed4 advance(Fixed4 v, Fixed4 a, Fixed4 dt) {
    // Below 2^62 units the numerator a·dt + v·10000 is exact in the extended format and its one
    // division by 10000 stays within 2^-15 of the true quotient, which is a tie exactly (and
    // then exact itself) or at least 10^-4 from one: rounding the exact quotient half to even
    // gives the same unit count.
    constexpr std::int64_t kExact = std::int64_t{1} << 61;
    std::int64_t rise = 0;
    std::int64_t start = 0;
    if (!__builtin_mul_overflow(a.units(), dt.units(), &rise) &&
        !__builtin_mul_overflow(v.units(), std::int64_t{10000}, &start) && rise > -kExact &&
        rise < kExact && start > -kExact && start < kExact) {
        return Fixed4::fromUnits(divideUnitsHalfToEven(rise + start));
    }
    return advanceExtended(v, a, dt);
}

Fixed4 advanceExtended(Fixed4 v, Fixed4 a, Fixed4 dt) {
    // In units: (a·dt + v·10000) ÷ 10000, each step rounded to the 64-bit significand, then the
    // rounding rule once. Exact while the magnitudes stay below 5·10^10.
    Extended r = static_cast<Extended>(a.units()) * static_cast<Extended>(dt.units());
    r += static_cast<Extended>(v.units()) * 10000.0L;
    r /= 10000.0L;
    return roundUnits(r);
}

Fixed4 advanceTime(Fixed4 t, Fixed4 dt) {
    return add(t, dt);
}

MotionState motionStep(GraphMode mode, const MotionState& state, Fixed4 e1, Fixed4 e2, Fixed4 dt) {
    constexpr auto v1 = MotionState::kVelocity1;
    constexpr auto p1 = MotionState::kPosition1;
    constexpr auto v2 = MotionState::kVelocity2;
    constexpr auto p2 = MotionState::kPosition2;
    constexpr auto t = MotionState::kTime;

    MotionState next = state;
    auto& s = next.slots;
    switch (mode) {
        case GraphMode::CartesianMotion:  // x'' = E2, y'' = E1
        case GraphMode::PolarMotion:      // θ'' = E2, r'' = E1; no centripetal or Coriolis term
            s[v2] = advance(s[v2], e1, dt);
            s[v1] = advance(s[v1], e2, dt);
            s[p2] = advance(s[p2], s[v2], dt);
            s[p1] = advance(s[p1], s[v1], dt);
            break;
        case GraphMode::CartesianCurve:  // y = f(x), walked at the constant speed vx
        case GraphMode::PolarCurve:      // r = f(θ), walked at the constant speed vθ
            s[p1] = advance(s[p1], s[v1], dt);
            s[p2] = e1;  // f at the position before this step
            break;
    }
    s[t] = advanceTime(s[t], dt);
    return next;
}

}  // namespace kurvilo
