// SPDX-License-Identifier: MIT
#include "sim/view_mapping.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

#include "common.h"

namespace kurvilo {

inline void PrintTo(Pixel p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ")";
}

namespace {

constexpr AxisView kRange20{1000, 0};

Extended unitsOfText(const char* text) {
    return static_cast<Extended>(parseFixed4(text).units());
}

Pixel mapValues(const char* x, const char* y, AxisView xView = kRange20,
                AxisView yView = kRange20) {
    return mapToPixel({unitsOfText(x), unitsOfText(y)}, xView, yView);
}

MotionState polarState(const char* theta, const char* r) {
    MotionState s;
    s.slots[MotionState::kPosition1] = parseFixed4(theta);
    s.slots[MotionState::kPosition2] = parseFixed4(r);
    return s;
}

TEST(AxisScale, ViewRangesGiveUnitsPerPixel) {
    const struct {
        int index;
        std::int64_t scale;
    } cases[] = {{0, 100}, {1, 1000}, {2, 10000}, {-1, 1000}, {3, 1000}, {17, 1000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(viewRangeScale(c.index), c.scale);
    }
}

TEST(AxisScale, ZoomWindowIsHalfWidthOverTwoHundredTimesTenThousand) {
    for (std::int32_t w = 1; w <= 100; ++w) {
        SCOPED_TRACE(w);
        const auto expected = std::llround(static_cast<long double>(w) / 200.0L * 10000.0L);
        EXPECT_EQ(zoomScale(w), expected);
    }
    EXPECT_EQ(zoomScale(1), 50);
}

TEST(PixelMapping, ViewRangeTwentyCentredOnZero) {
    const struct {
        const char* x;
        const char* y;
        Pixel expected;
    } cases[] = {
        {"0", "0", {201, 201}},         {"-0.05", "0", {200, 201}},  // trunc of 200.5
        {"-20.1", "0", {0, 201}},       {"-20.15", "0", {0, 201}},   // trunc of -0.5 is 0
        {"-20.2", "0", {-1, 201}},      {"20", "0", {401, 201}},           {"-20", "0", {1, 201}},
        {"0", "20", {201, 1}},          {"0", "-20", {201, 401}},          {"5", "0", {251, 201}},
        {"4.9995", "0.05", {250, 200}}, {"0.0009", "-0.0009", {201, 201}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.x) + ", " + c.y);
        EXPECT_EQ(mapValues(c.x, c.y), c.expected);
    }
}

TEST(PixelMapping, ZoomOnXWithHalfWidthOneAndCentreThree) {
    const AxisView zoomed{zoomScale(1), 3};
    EXPECT_EQ(mapValues("3", "0", zoomed).x, 201);
    EXPECT_EQ(mapValues("3.5", "0", zoomed).x, 301);
    EXPECT_EQ(mapValues("2.5", "0", zoomed).x, 101);
}

TEST(PixelMapping, CentreOfTheYAxisMapsToPixel201) {
    const AxisView centred{viewRangeScale(0), -7};
    EXPECT_EQ(mapValues("0", "-7", kRange20, centred).y, 201);
    EXPECT_EQ(mapValues("0", "-6", kRange20, centred).y, 101);
}

TEST(PixelMapping, PolarPointsStayExtendedReals) {
    // r = 10: cos 1.5708 is slightly negative, so X = -0.37 units, pixel 200.9996 → 200.
    const struct {
        const char* theta;
        Pixel expected;
    } cases[] = {{"0", {301, 201}}, {"3.1416", {101, 201}}, {"1.5708", {200, 101}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.theta);
        const MotionState s = polarState(c.theta, "10");
        EXPECT_EQ(mapToPixel(plotPoint(GraphMode::PolarMotion, s, Fixed4()), kRange20, kRange20),
                  c.expected);
        // The curve mode takes the radius from the formula value instead of slot 3.
        const MotionState curve = polarState(c.theta, "-999");
        EXPECT_EQ(mapToPixel(plotPoint(GraphMode::PolarCurve, curve, parseFixed4("10")), kRange20,
                             kRange20),
                  c.expected);
    }
    const PlotPoint p = plotPoint(GraphMode::PolarMotion, polarState("1.5708", "10"), Fixed4());
    EXPECT_LT(p.x, 0.0L);
    EXPECT_GT(p.x, -1.0L);
}

TEST(PlotPoint, EachModeDrawsItsOwnPair) {
    MotionState s;
    s.slots = {units(1), units(20000), units(3), units(40000), units(5)};
    const Fixed4 e1 = units(70000);
    const PlotPoint cm = plotPoint(GraphMode::CartesianMotion, s, e1);
    EXPECT_EQ(cm.x, 20000.0L);
    EXPECT_EQ(cm.y, 40000.0L);
    const PlotPoint cc = plotPoint(GraphMode::CartesianCurve, s, e1);
    EXPECT_EQ(cc.x, 20000.0L);
    EXPECT_EQ(cc.y, 70000.0L);
    const PlotPoint pm = plotPoint(GraphMode::PolarMotion, s, e1);
    EXPECT_EQ(pm.x, cosl(2.0L) * 40000.0L);
    EXPECT_EQ(pm.y, sinl(2.0L) * 40000.0L);
    const PlotPoint pc = plotPoint(GraphMode::PolarCurve, s, e1);
    EXPECT_EQ(pc.x, cosl(2.0L) * 70000.0L);
    EXPECT_EQ(pc.y, sinl(2.0L) * 70000.0L);
}

TEST(StartPixel, ReadsTheTypedTextsItNeeds) {
    const Fixed4 e1 = parseFixed4("7");
    EXPECT_EQ(startPlotX(GraphMode::CartesianMotion, "5", "1.50", e1), 50000.0L);
    EXPECT_EQ(startPlotY(GraphMode::CartesianMotion, "5", "1.50", e1), 15000.0L);
    // The curve modes take Y from the formula and never parse the slot 3 text.
    EXPECT_EQ(startPlotX(GraphMode::CartesianCurve, "5", "abc", e1), 50000.0L);
    EXPECT_EQ(startPlotY(GraphMode::CartesianCurve, "5", "abc", e1), 70000.0L);
    EXPECT_EQ(startPlotX(GraphMode::PolarCurve, "0", "abc", e1), 70000.0L);
    EXPECT_EQ(startPlotY(GraphMode::PolarCurve, "0", "abc", e1), 0.0L);
    EXPECT_EQ(startPlotX(GraphMode::PolarMotion, "0", "10", e1), 100000.0L);
    EXPECT_FAILURE(startPlotY(GraphMode::CartesianMotion, "5", "abc", e1), EConvertError);
    EXPECT_FAILURE(startPlotX(GraphMode::PolarMotion, "0", "", e1), EConvertError);
    EXPECT_FAILURE(startPlotX(GraphMode::CartesianCurve, "x", "0", e1), EConvertError);
}

TEST(PixelRange, CoordinatesBeyondThirtyTwoBitsFailAtTheIntegerParse) {
    // px = X ÷ 1000 + 201: X = (2^31 − 1 − 201)·1000 is the last pixel that fits.
    const Extended last = (2147483647.0L - 201.0L) * 1000.0L;
    EXPECT_EQ(mapToPixel({last, 0.0L}, kRange20, kRange20).x, 2147483647);
    try {
        mapToPixel({last + 1000.0L, 0.0L}, kRange20, kRange20);
        ADD_FAILURE() << "pixel 2147483648 was accepted";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'2147483648' is not a valid integer value");
    }
    // py = 201 − Y ÷ 1000: the lowest pixel is −2^31.
    const Extended lowest = (201.0L + 2147483648.0L) * 1000.0L;
    EXPECT_EQ(mapToPixel({0.0L, lowest}, kRange20, kRange20).y, -2147483647 - 1);
    EXPECT_FAILURE(mapToPixel({0.0L, lowest + 1000.0L}, kRange20, kRange20), EConvertError);
}

TEST(PixelRange, CoordinatesBeyondTheFixed4RangeFailAtTheRounding) {
    // The largest x on the finest view: about 9.2·10^16 pixels, beyond 922337203685477.
    MotionState s;
    s.slots[MotionState::kPosition1] = Fixed4::max();
    const AxisView fine{viewRangeScale(0), 0};
    EXPECT_FAILURE(mapToPixel(plotPoint(GraphMode::CartesianMotion, s, Fixed4()), fine, fine),
                   EInvalidOp);
    // A pixel that still has a Fixed4 keeps its text: the start pixel stores it as it is.
    const Fixed4 far = pixelCoordinateX(9e16L, fine);
    EXPECT_EQ(toText(far), "900000000000201");
    EXPECT_FAILURE(pixelFromCoordinate(far), EConvertError);
}

TEST(PixelRange, AZeroScaleDividesByZero) {
    const AxisView zero{0, 0};
    EXPECT_FAILURE(pixelCoordinateX(5.0L, zero), EZeroDivide);
    EXPECT_FAILURE(pixelCoordinateY(-5.0L, zero), EZeroDivide);
    EXPECT_FAILURE(pixelCoordinateX(0.0L, zero), EInvalidOp);
}

TEST(PixelText, WholeValuesWithoutSeparator) {
    SeparatorGuard guard;
    setDecimalSeparator(U',');
    EXPECT_EQ(pixelText(201), "201");
    EXPECT_EQ(pixelText(-3), "-3");
    EXPECT_EQ(pixelText(0), "0");
    EXPECT_EQ(pixelFromCoordinate(Fixed4::fromInteger(-2147483647 - 1)), -2147483647 - 1);
}

// "x,y" or the failure, for a mapping.
std::string pixelOutcome(const std::function<Pixel()>& map) {
    try {
        const Pixel p = map();
        return std::to_string(p.x) + "," + std::to_string(p.y);
    } catch (const Failure& f) {
        return std::string(f.kind()) + ": " + f.what();
    }
}

TEST(PixelMapping, WholeUnitCountsMapInIntegersAsTheExtendedStepsDo) {
    // The Cartesian points take the mapping in integers; it agrees with the extended steps on
    // every magnitude up to the range ends, every scale and centre, and every failure.
    std::mt19937_64 random(64);
    const std::int64_t scales[] = {100, 1000, 10000, 50, 5000, 1, 0, 3, 4194304, 4194305};
#if defined(__SANITIZE_ADDRESS__)
    constexpr int kCount = 100000;  // the sanitizer build is far slower at failures
#else
    constexpr int kCount = 1000000;
#endif
    for (int i = 0; i < kCount; ++i) {
        const int bits = static_cast<int>(random() % 64);
        auto units = static_cast<std::int64_t>(random() >> (64 - std::max(bits, 1)));
        if (random() % 2 == 0) units = -units;
        if (i % 7 == 0) {
            // Right at the integer path's edge, 2^40 units from the centre.
            units = (std::int64_t{1} << 40) + static_cast<std::int64_t>(random() % 5) - 2;
        }
        const AxisView view{scales[random() % std::size(scales)],
                            static_cast<std::int32_t>(random() % 401) - 200};
        const UnitPoint point{units, -units / 3};
        const std::string expected = pixelOutcome([&] {
            return mapToPixel({static_cast<Extended>(point.x), static_cast<Extended>(point.y)},
                              view, view);
        });
        const std::string actual = pixelOutcome([&] { return mapUnitsToPixel(point, view, view); });
        if (actual != expected) {
            FAIL() << "units " << units << ", scale " << view.scale << ", centre " << view.centre
                   << ": " << actual << " instead of " << expected;
        }
    }
}

TEST(Marker, ShowsOnlyStrictlyInsideFourToThreeHundredNinetySix) {
    const struct {
        Pixel p;
        bool shows;
    } cases[] = {
        {{4, 200}, false},   {{5, 200}, true},   {{395, 200}, true}, {{396, 200}, false},
        {{200, 4}, false},   {{200, 5}, true},   {{200, 395}, true}, {{200, 396}, false},
        {{5, 5}, true},      {{395, 395}, true}, {{-1, 200}, false}, {{200, 100000}, false},
        {{401, 401}, false}, {{201, 201}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.p.x << ", " << c.p.y);
        EXPECT_EQ(markerShows(c.p), c.shows);
    }
}

}  // namespace
}  // namespace kurvilo
