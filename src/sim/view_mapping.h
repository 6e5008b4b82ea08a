// SPDX-License-Identifier: MIT
// The view mapping: how a point of the current graph mode becomes a pixel of the 401 × 401 plot
// surface. Per axis a scale (units per pixel, from the view range or the zoom window), a centre
// and a fixed offset; the pixel is truncated, written as a whole Fixed4 and read back as a 32-bit
// integer, so a point beyond the 32-bit range fails there. Also the axes and the marker rule.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "numbers/fixed4.h"
#include "sim/motion.h"
#include "sim/plot_surface.h"

namespace kurvilo {

// ComboBox3/ComboBox4's item index to units per pixel: "-2<X<2" 100, "-20<X<20" 1000,
// "-200<X<200" 10000; 1000 for no selection or any other index.
std::int64_t viewRangeScale(int comboIndex) noexcept;
// A zoom window of half-width w: w ÷ 200 × 10000 units per pixel, which is 50·w.
std::int64_t zoomScale(std::int32_t halfWidth) noexcept;

struct AxisView {
    std::int64_t scale = 1000;  // units per pixel
    std::int32_t centre = 0;    // a whole value, mapped to pixel 201
};

// A plot point in units (value × 10000), kept as extended reals: the polar points are products
// of a cosine or sine with a unit count and are not rounded.
struct PlotPoint {
    Extended x = 0.0L;
    Extended y = 0.0L;
};

struct Pixel {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(Pixel, Pixel) = default;
};

// The point a state draws: (x, y), (r·cos θ, r·sin θ), (x, E1) or (E1·cos θ, E1·sin θ).
PlotPoint plotPoint(GraphMode mode, const MotionState& state, Fixed4 e1);

// The Cartesian modes draw whole unit counts: (x, y) or (x, E1).
constexpr bool isCartesian(GraphMode mode) noexcept {
    return mode == GraphMode::CartesianMotion || mode == GraphMode::CartesianCurve;
}
struct UnitPoint {
    std::int64_t x = 0;
    std::int64_t y = 0;
};
UnitPoint cartesianPoint(GraphMode mode, const MotionState& state, Fixed4 e1);

// The start pixel's coordinates, taken from the typed initial texts of slot 1 (X=/θ=) and slot 3
// (Y=/r=) and the first formula's value. Each coordinate parses only the texts it needs: the
// curve modes never read the slot 3 text.
Extended startPlotX(GraphMode mode, std::string_view slot1Text, std::string_view slot3Text,
                    Fixed4 e1);
Extended startPlotY(GraphMode mode, std::string_view slot1Text, std::string_view slot3Text,
                    Fixed4 e1);

// trunc((X − c·10000) ÷ s + 201) and trunc(201 − (Y − c·10000) ÷ s) as whole Fixed4 values.
// A zero scale divides by zero (EZeroDivide, or EInvalidOp for 0 ÷ 0); beyond the Fixed4 range
// EInvalidOp.
Fixed4 pixelCoordinateX(Extended xUnits, const AxisView& view);
Fixed4 pixelCoordinateY(Extended yUnits, const AxisView& view);

// The whole value's text read back with the integer parse: EConvertError beyond 32 bits.
std::int32_t pixelFromCoordinate(Fixed4 coordinate);
// The text ListBox3 keeps for a pixel coordinate.
std::string pixelText(std::int32_t coordinate);

// Both coordinates through the text round trip, X first.
Pixel mapToPixel(const PlotPoint& point, const AxisView& xView, const AxisView& yView);
// The same for a point of whole unit counts, which is exact in integers for every point within
// 2^40 units of the centre: there each extended step's error stays below the 1/s (s the scale)
// by which a quotient that is not whole keeps off the whole numbers, so the truncation comes
// out the same. Farther points take the extended steps.
Pixel mapUnitsToPixel(const UnitPoint& point, const AxisView& xView, const AxisView& yView);

// The axes, at pixel 200 whatever the centres: (200, 0) to (200, 401), then (401, 200) to
// (0, 200), with the surface's current pen.
void drawAxes(PlotSurface& surface);

// The marker shows only strictly inside 4 < p < 396 on both axes, where the 8 × 8 circle placed
// with its corner at window (px, py) is centred on surface pixel (px, py).
constexpr std::int32_t kMarkerLow = 4;
constexpr std::int32_t kMarkerHigh = 396;
constexpr bool markerShows(Pixel p) noexcept {
    return p.x > kMarkerLow && p.x < kMarkerHigh && p.y > kMarkerLow && p.y < kMarkerHigh;
}

}  // namespace kurvilo
