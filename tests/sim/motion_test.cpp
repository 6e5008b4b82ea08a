// SPDX-License-Identifier: MIT
#include "sim/motion.h"

#include <cstdint>
#include <random>

#include "common.h"

namespace kurvilo {
namespace {

constexpr auto kVx = MotionState::kVelocity1;
constexpr auto kX = MotionState::kPosition1;
constexpr auto kVy = MotionState::kVelocity2;
constexpr auto kY = MotionState::kPosition2;
constexpr auto kT = MotionState::kTime;

MotionState stateOf(std::int64_t v1, std::int64_t p1, std::int64_t v2, std::int64_t p2,
                    std::int64_t t) {
    MotionState s;
    s.slots = {units(v1), units(p1), units(v2), units(p2), units(t)};
    return s;
}

// The advance rule's exact answer, over integers: v·10000 + a·dt in 1/10^8 units, divided by
// 10000 with the half going to the even quotient.
std::int64_t exactAdvance(std::int64_t v, std::int64_t a, std::int64_t dt) {
    const __int128 sum = static_cast<__int128>(v) * 10000 + static_cast<__int128>(a) * dt;
    __int128 q = sum / 10000;
    __int128 r = sum % 10000;
    if (r < 0) {
        r += 10000;
        --q;
    }
    if (r > 5000 || (r == 5000 && (q & 1) != 0)) ++q;
    return static_cast<std::int64_t>(q);
}

TEST(TimeStep, ComboBox2ItemsGiveTenthHundredthThousandth) {
    const struct {
        int index;
        std::int64_t units;
    } cases[] = {{0, 1000}, {1, 100}, {2, 10}, {-1, 1000}, {3, 1000}, {42, 1000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(timeStepFor(c.index), units(c.units));
    }
}

TEST(GraphModes, ItemIndexesZeroToThreeAreTheFourModes) {
    EXPECT_EQ(graphModeFromIndex(0), GraphMode::CartesianMotion);
    EXPECT_EQ(graphModeFromIndex(1), GraphMode::PolarMotion);
    EXPECT_EQ(graphModeFromIndex(2), GraphMode::CartesianCurve);
    EXPECT_EQ(graphModeFromIndex(3), GraphMode::PolarCurve);
    EXPECT_THROW(graphModeFromIndex(-1), std::invalid_argument);
    EXPECT_THROW(graphModeFromIndex(4), std::invalid_argument);
}

TEST(AdvanceRule, SumIsRoundedOnceWithTiesToEven) {
    const struct {
        const char* what;
        std::int64_t v, a, dt, expected;
    } cases[] = {
        {"0 + 0.0005·0.1 = 0.00005 rounds to the even 0", 0, 5, 1000, 0},
        {"0.0001 + 0.00005 = 0.00015 rounds to the even 0.0002", 1, 5, 1000, 2},
        {"0.0002 + 0.00005 = 0.00025 rounds to the even 0.0002", 2, 5, 1000, 2},
        {"-0.0001 - 0.00005 rounds to -0.0002", -1, -5, 1000, -2},
        {"0 - 0.00005 rounds to 0, not -0", 0, -5, 1000, 0},
        {"5 + (-5)·0.01 = 4.95", 50000, -50000, 100, 49500},
        {"0 - 9.8·0.1 = -0.98", 0, -98000, 1000, -9800},
        {"1.2345 + 0.0001·0.001 keeps 1.2345", 12345, 1, 10, 12345},
        {"1.2345 + 0.5·0.001 = 1.2350", 12345, 5000, 10, 12350},
        {"0.00006 above the half rounds up", 0, 6, 1000, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(advance(units(c.v), units(c.a), units(c.dt)), units(c.expected));
        EXPECT_EQ(exactAdvance(c.v, c.a, c.dt), c.expected);
    }
}

TEST(AdvanceRule, TheTieIsDecidedOnTheSumNotOnTheProduct) {
    // Rounding 0.0005·0.1 first would give 0 and leave 0.0001; the sum 0.00015 gives 0.0002.
    EXPECT_EQ(toText(advance(units(1), units(5), units(1000))), "0.0002");
}

TEST(AdvanceRule, MatchesExactDecimalArithmeticBelowFiveTimesTenToTheTen) {
    std::mt19937_64 random(20240607);
    // v and a·dt up to 2.5·10^10 in magnitude, so that the sum stays below 5·10^10 too; every
    // few cases small ones, where ties are frequent.
    std::uniform_int_distribution<std::int64_t> value(-250000000000000, 250000000000000);
    const std::int64_t steps[] = {1000, 100, 10};
    for (int i = 0; i < 20000; ++i) {
        const std::int64_t dt = steps[i % 3];
        const std::int64_t v = value(random) / (i % 7 == 0 ? 1000000 : 1);
        const std::int64_t a = value(random) * 10000 / dt / (i % 5 == 0 ? 100000000 : 1);
        SCOPED_TRACE(testing::Message() << "v=" << v << " a=" << a << " dt=" << dt);
        ASSERT_EQ(advance(units(v), units(a), units(dt)).units(), exactAdvance(v, a, dt));
    }
}

TEST(AdvanceRule, IntegerPathMatchesTheExtendedFormAtEveryMagnitude) {
    // The advance computes in integers where that provably rounds like the extended form; the two
    // agree on every magnitude, up to the range ends and past the integer path's limits.
    std::mt19937_64 random(62);
    const std::int64_t steps[] = {1000, 100, 10, 10000, 1, 0};
    for (int i = 0; i < 1000000; ++i) {
        const int vBits = static_cast<int>(random() % 64);
        const int aBits = static_cast<int>(random() % 64);
        std::int64_t v = static_cast<std::int64_t>(random() >> (64 - std::max(vBits, 1)));
        std::int64_t a = static_cast<std::int64_t>(random() >> (64 - std::max(aBits, 1)));
        if (random() % 2 == 0) v = -v;
        if (random() % 2 == 0) a = -a;
        if (i % 5 == 0) a = a / 10000 * 10000 + 5 * (static_cast<std::int64_t>(random() % 3) - 1);
        const std::int64_t dt = steps[i % 6];
        const std::string expected =
            outcome([&] { return advanceExtended(units(v), units(a), units(dt)); });
        const std::string actual = outcome([&] { return advance(units(v), units(a), units(dt)); });
        if (actual != expected) {
            FAIL() << "v=" << v << " a=" << a << " dt=" << dt << ": " << actual << " instead of "
                   << expected;
        }
    }
}

TEST(AdvanceRule, FailsWithInvalidOpOutsideTheRange) {
    EXPECT_FAILURE(advance(Fixed4::max(), units(10000), units(1000)), EInvalidOp);
    EXPECT_FAILURE(advance(Fixed4::min(), units(-10000), units(1000)), EInvalidOp);
    EXPECT_FAILURE(advanceTime(Fixed4::max(), units(10)), EInvalidOp);
}

TEST(TimeAdvance, ThousandStepsOfOneThousandthMakeExactlyOne) {
    const Fixed4 dt = timeStepFor(2);
    MotionState s;
    for (int i = 0; i < 1000; ++i)
        s = motionStep(GraphMode::CartesianMotion, s, {}, {}, dt);
    EXPECT_EQ(toText(s.slots[kT]), "1");
    EXPECT_EQ(s.slots[kT], units(10000));
}

TEST(CartesianMotion, FreeFallWithTimeStepTenth) {
    const Fixed4 dt = timeStepFor(0);
    const Fixed4 g = parseFixed4("-9.8");
    MotionState s;
    s = motionStep(GraphMode::CartesianMotion, s, g, Fixed4(), dt);
    EXPECT_EQ(toText(s.slots[kVy]), "-0.98");
    EXPECT_EQ(toText(s.slots[kY]), "-0.098");
    EXPECT_EQ(toText(s.slots[kT]), "0.1");
    s = motionStep(GraphMode::CartesianMotion, s, g, Fixed4(), dt);
    EXPECT_EQ(toText(s.slots[kVy]), "-1.96");
    EXPECT_EQ(toText(s.slots[kY]), "-0.294");
    EXPECT_EQ(toText(s.slots[kT]), "0.2");
    EXPECT_EQ(s.slots[kVx], Fixed4());
    EXPECT_EQ(s.slots[kX], Fixed4());
}

TEST(CartesianMotion, PositionsMoveWithTheNewVelocities) {
    // The harmonic oscillator's first step from x = 5, vy = 5: E2 = -x = -5, E1 = -y = 0.
    const MotionState s0 = stateOf(0, 50000, 50000, 0, 0);
    const MotionState s1 =
        motionStep(GraphMode::CartesianMotion, s0, Fixed4(), units(-50000), timeStepFor(1));
    EXPECT_EQ(toText(s1.slots[kVx]), "-0.05");
    EXPECT_EQ(toText(s1.slots[kX]), "4.9995");
    EXPECT_EQ(toText(s1.slots[kVy]), "5");
    EXPECT_EQ(toText(s1.slots[kY]), "0.05");
    EXPECT_EQ(toText(s1.slots[kT]), "0.01");
}

TEST(PolarMotion, ZeroAccelerationsKeepTheRadiusAndTurnTheAngle) {
    // r = 5, vθ = 1: a circle of radius 5, θ growing by 0.1 per step.
    MotionState s = stateOf(10000, 0, 0, 50000, 0);
    for (int k = 1; k <= 30; ++k) {
        s = motionStep(GraphMode::PolarMotion, s, Fixed4(), Fixed4(), timeStepFor(0));
        SCOPED_TRACE(k);
        EXPECT_EQ(s.slots[kY], units(50000));
        EXPECT_EQ(s.slots[kX], units(1000 * k));
    }
}

TEST(PolarMotion, NoCentripetalTermIsAdded) {
    // With the physical radial acceleration -r·vθ² as "Ar=" the radius shrinks; the step itself
    // adds nothing of its own.
    MotionState s = stateOf(10000, 0, 0, 50000, 0);
    const Fixed4 radial =
        units(-(s.slots[kY].units() * s.slots[kVx].units() / 10000) * s.slots[kVx].units() / 10000);
    s = motionStep(GraphMode::PolarMotion, s, radial, Fixed4(), timeStepFor(0));
    EXPECT_EQ(toText(s.slots[kVy]), "-0.5");
    EXPECT_EQ(toText(s.slots[kY]), "4.95");
}

TEST(CartesianCurve, WalksXAtConstantSpeedAndTakesYFromTheFormula) {
    // y = x², x from -2 at vx = 1, dt 0.1. E1 is the formula at the x before the step.
    const Fixed4 dt = timeStepFor(0);
    MotionState s = stateOf(10000, -20000, 0, 0, 0);
    auto square = [](Fixed4 x) { return units(x.units() * x.units() / 10000); };
    s = motionStep(GraphMode::CartesianCurve, s, square(s.slots[kX]), units(777), dt);
    EXPECT_EQ(toText(s.slots[kX]), "-1.9");
    EXPECT_EQ(toText(s.slots[kY]), "4");
    s = motionStep(GraphMode::CartesianCurve, s, square(s.slots[kX]), units(777), dt);
    EXPECT_EQ(toText(s.slots[kX]), "-1.8");
    EXPECT_EQ(toText(s.slots[kY]), "3.61");
    EXPECT_EQ(toText(s.slots[kT]), "0.2");
}

TEST(CurveModes, CarryTheVelocitySlotsAndIgnoreTheSecondFormula) {
    for (GraphMode mode : {GraphMode::CartesianCurve, GraphMode::PolarCurve}) {
        SCOPED_TRACE(static_cast<int>(mode));
        const MotionState s0 = stateOf(10000, 0, 12345, 999, 0);
        const MotionState a = motionStep(mode, s0, units(100000), units(-5), timeStepFor(0));
        const MotionState b = motionStep(mode, s0, units(100000), units(88888), timeStepFor(0));
        EXPECT_EQ(a, b);
        EXPECT_EQ(a.slots[kVx], s0.slots[kVx]);
        EXPECT_EQ(a.slots[kVy], s0.slots[kVy]);
        EXPECT_EQ(a.slots[kX], units(1000));
        EXPECT_EQ(a.slots[kY], units(100000));
    }
}

TEST(PolarCurve, ConstantRadiusTenWalksTheAngle) {
    MotionState s = stateOf(10000, 0, 0, 0, 0);
    s = motionStep(GraphMode::PolarCurve, s, units(100000), Fixed4(), timeStepFor(0));
    EXPECT_EQ(toText(s.slots[kX]), "0.1");
    EXPECT_EQ(toText(s.slots[kY]), "10");
}

TEST(MotionStep, AFailedStepFailsAsAWhole) {
    const MotionState s0 = stateOf(0, 0, Fixed4::max().units(), 0, 0);
    EXPECT_FAILURE(
        motionStep(GraphMode::CartesianMotion, s0, units(10000), Fixed4(), timeStepFor(0)),
        EInvalidOp);
}

}  // namespace
}  // namespace kurvilo
