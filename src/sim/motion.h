// SPDX-License-Identifier: MIT
// The motion step: one time step of the four graph modes. The state is five Fixed4 slots whose
// meaning depends on the mode (vx/vθ, x/θ, vy/vr, y/r, t); the step takes the two formula values
// of this tick and the time step and gives the next state, or fails when a value leaves the
// Fixed4 range. It touches no control: the tick driver reads and writes ListBox1.
#pragma once

#include <array>
#include <cstddef>

#include "numbers/fixed4.h"

namespace kurvilo {

// RadioGroup1's item index.
enum class GraphMode : int {
    CartesianMotion = 0,
    PolarMotion = 1,
    CartesianCurve = 2,
    PolarCurve = 3,
};

// The graph mode of an item index; std::invalid_argument outside 0..3 (the radio group always
// has one of its four items selected, so only a broken caller gets there).
GraphMode graphModeFromIndex(int itemIndex);

// Slot numbers are ListBox1 positions, not names: the same slot holds x in the Cartesian modes
// and θ in the polar ones.
struct MotionState {
    static constexpr std::size_t kVelocity1 = 0;  // vx or vθ
    static constexpr std::size_t kPosition1 = 1;  // x or θ (radians)
    static constexpr std::size_t kVelocity2 = 2;  // vy or vr
    static constexpr std::size_t kPosition2 = 3;  // y or r
    static constexpr std::size_t kTime = 4;       // t
    static constexpr std::size_t kSlotCount = 5;

    std::array<Fixed4, kSlotCount> slots{};

    friend bool operator==(const MotionState&, const MotionState&) = default;
};

// ComboBox2's item index to the time step: 0.1, 0.01, 0.001; 0.1 for no selection or any other
// index.
Fixed4 timeStepFor(int comboBox2Index) noexcept;

// v + a·dt: the exact product a·dt added to v and rounded once to four decimals, ties to even.
// The tie is decided on the sum, not on the product. EInvalidOp outside the Fixed4 range.
Fixed4 advance(Fixed4 v, Fixed4 a, Fixed4 dt);
// The same, always in extended precision: what advance computes in integers where it can.
Fixed4 advanceExtended(Fixed4 v, Fixed4 a, Fixed4 dt);

// t + dt, exact, so after n steps t is exactly n·dt. EInvalidOp outside the Fixed4 range.
Fixed4 advanceTime(Fixed4 t, Fixed4 dt);

// One step of the mode. e1 is the first formula's value (Edit1), e2 the second's (Edit2); both
// were evaluated on the state before the step. Each step of a mode sees the values the steps
// before it left, so the positions move with the new velocities.
MotionState motionStep(GraphMode mode, const MotionState& state, Fixed4 e1, Fixed4 e2, Fixed4 dt);

}  // namespace kurvilo
