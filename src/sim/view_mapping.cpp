// SPDX-License-Identifier: MIT
#include "sim/view_mapping.h"

#include <cstdint>

#include "numbers/elementary.h"
#include "numbers/failures.h"
#include "numbers/integer_text.h"
#include "sim/settings.h"

namespace kurvilo {

namespace {

// The surface's centre pixel: the centre value lands one pixel right of and below the axes.
constexpr Extended kCentrePixel = 201.0L;

// a ÷ b with the arithmetic failures of a division by zero.
Extended divide(Extended a, Extended b) {
    if (b == 0.0L) {
        if (a == 0.0L) throw EInvalidOp();
        throw EZeroDivide();
    }
    return a / b;
}

// The integral part as a whole Fixed4: the rounding rule has nothing left to round.
Fixed4 wholeCoordinate(Extended pixel) {
    return roundUnits(integralPart(pixel) * 10000.0L);
}

Extended unitsOf(Fixed4 value) noexcept {
    return static_cast<Extended>(value.units());
}

}  // namespace

std::int64_t viewRangeScale(int comboIndex) noexcept {
    const bool listed = comboIndex >= 0 && comboIndex < static_cast<int>(kViewRanges.size());
    return kViewRanges[static_cast<std::size_t>(listed ? comboIndex : kFallbackViewRange)].scale;
}

std::int64_t zoomScale(std::int32_t halfWidth) noexcept {
    // w ÷ 200 × 10000 is a whole number for every whole w: 50·w exactly.
    return std::int64_t{halfWidth} * 50;
}

PlotPoint plotPoint(GraphMode mode, const MotionState& state, Fixed4 e1) {
    const Fixed4 p1 = state.slots[MotionState::kPosition1];
    const Fixed4 p2 = state.slots[MotionState::kPosition2];
    switch (mode) {
        case GraphMode::CartesianMotion:
            return {unitsOf(p1), unitsOf(p2)};
        case GraphMode::CartesianCurve:
            return {unitsOf(p1), unitsOf(e1)};
        case GraphMode::PolarMotion:
            return {cosine(p1.value()) * unitsOf(p2), sine(p1.value()) * unitsOf(p2)};
        case GraphMode::PolarCurve:
            return {cosine(p1.value()) * unitsOf(e1), sine(p1.value()) * unitsOf(e1)};
    }
    return {};
}

Extended startPlotX(GraphMode mode, std::string_view slot1Text, std::string_view slot3Text,
                    Fixed4 e1) {
    switch (mode) {
        case GraphMode::CartesianMotion:
        case GraphMode::CartesianCurve:
            return unitsOf(parseFixed4(slot1Text));
        case GraphMode::PolarMotion: {
            const Fixed4 theta = parseFixed4(slot1Text);
            return cosine(theta.value()) * unitsOf(parseFixed4(slot3Text));
        }
        case GraphMode::PolarCurve:
            return cosine(parseFixed4(slot1Text).value()) * unitsOf(e1);
    }
    return 0.0L;
}

Extended startPlotY(GraphMode mode, std::string_view slot1Text, std::string_view slot3Text,
                    Fixed4 e1) {
    switch (mode) {
        case GraphMode::CartesianMotion:
            return unitsOf(parseFixed4(slot3Text));
        case GraphMode::CartesianCurve:
            return unitsOf(e1);
        case GraphMode::PolarMotion: {
            const Fixed4 theta = parseFixed4(slot1Text);
            return sine(theta.value()) * unitsOf(parseFixed4(slot3Text));
        }
        case GraphMode::PolarCurve:
            return sine(parseFixed4(slot1Text).value()) * unitsOf(e1);
    }
    return 0.0L;
}

Fixed4 pixelCoordinateX(Extended xUnits, const AxisView& view) {
    const Extended centre = static_cast<Extended>(view.centre) * 10000.0L;
    return wholeCoordinate(divide(xUnits - centre, static_cast<Extended>(view.scale)) +
                           kCentrePixel);
}

Fixed4 pixelCoordinateY(Extended yUnits, const AxisView& view) {
    const Extended centre = static_cast<Extended>(view.centre) * 10000.0L;
    return wholeCoordinate(kCentrePixel -
                           divide(yUnits - centre, static_cast<Extended>(view.scale)));
}

std::int32_t pixelFromCoordinate(Fixed4 coordinate) {
    // The coordinate travels as text, like every value; the integer parse is what limits it to
    // 32 bits. A whole value within 32 bits comes back as itself, so only the others take the
    // text's way, to fail where and as the parse does.
    const std::int64_t u = coordinate.units();
    if (u % 10000 == 0 && u / 10000 >= INT32_MIN && u / 10000 <= INT32_MAX) {
        return static_cast<std::int32_t>(u / 10000);
    }
    return parseInteger(toText(coordinate));
}

std::string pixelText(std::int32_t coordinate) {
    return toText(Fixed4::fromInteger(coordinate));
}

UnitPoint cartesianPoint(GraphMode mode, const MotionState& state, Fixed4 e1) {
    const std::int64_t x = state.slots[MotionState::kPosition1].units();
    if (mode == GraphMode::CartesianCurve) return {x, e1.units()};
    return {x, state.slots[MotionState::kPosition2].units()};
}

namespace {

// trunc(N ÷ s + 201) (or, up the Y axis, trunc(201 − N ÷ s)) for N = units − centre·10000, in
// integers when |N| < 2^40 and 0 < s ≤ 2^22; false otherwise.
bool wholePixel(std::int64_t units, const AxisView& view, bool upward, std::int64_t& pixel) {
    constexpr std::int64_t kNear = std::int64_t{1} << 40;
    if (view.scale < 1 || view.scale > (std::int64_t{1} << 22)) return false;
    std::int64_t n = 0;
    if (__builtin_sub_overflow(units, std::int64_t{view.centre} * 10000, &n) || n <= -kNear ||
        n >= kNear) {
        return false;
    }
    const std::int64_t centre = 201 * view.scale;
    pixel = (upward ? centre - n : n + centre) / view.scale;  // truncates toward zero
    return true;
}

std::int32_t unitsToPixel(std::int64_t units, const AxisView& view, bool upward) {
    std::int64_t pixel = 0;
    if (!wholePixel(units, view, upward, pixel)) {
        const auto u = static_cast<Extended>(units);
        return pixelFromCoordinate(upward ? pixelCoordinateY(u, view) : pixelCoordinateX(u, view));
    }
    return pixelFromCoordinate(Fixed4::fromUnits(pixel * 10000));
}

}  // namespace

Pixel mapUnitsToPixel(const UnitPoint& point, const AxisView& xView, const AxisView& yView) {
    Pixel p;
    p.x = unitsToPixel(point.x, xView, false);
    p.y = unitsToPixel(point.y, yView, true);
    return p;
}

Pixel mapToPixel(const PlotPoint& point, const AxisView& xView, const AxisView& yView) {
    Pixel p;
    p.x = pixelFromCoordinate(pixelCoordinateX(point.x, xView));
    p.y = pixelFromCoordinate(pixelCoordinateY(point.y, yView));
    return p;
}

void drawAxes(PlotSurface& surface) {
    surface.moveTo(200, 0);
    surface.lineTo(200, 401);
    surface.moveTo(401, 200);
    surface.lineTo(0, 200);
}

}  // namespace kurvilo
