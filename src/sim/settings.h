// SPDX-License-Identifier: MIT
// The settings' vocabulary, one table each: the graph modes, the drawing speeds, the time steps,
// the view ranges and the zoom limits, each row with what the window shows, what the command line
// calls it and what it means to the tick. A row's position is the item index of the window's
// radio group or combo box, which is what the tick reads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kurvilo {

enum class GraphMode : int;  // sim/motion.h

// A graph mode's five MotionState slots (sim/motion.h, which Qt's "slots" keeps out of here).
inline constexpr std::size_t kSlotNames = 5;

struct GraphModeSetting {
    GraphMode mode;
    std::string_view name;           // the command line's name: "cartesian-motion"
    std::string_view caption;        // RadioGroup1's item
    std::string_view firstFormula;   // Edit1's label: "Ay=", "Ar=", "Y=", "r="
    std::string_view secondFormula;  // Edit2's label: "Ax=", "Aθ="; empty in the curve modes
    // The five slots of MotionState by their names in this mode (ListBox1's rows).
    std::array<std::string_view, kSlotNames> slotNames;
};

inline constexpr std::array<GraphModeSetting, 4> kGraphModes{{
    {static_cast<GraphMode>(0),
     "cartesian-motion",
     "直交座標系運動方程式",
     "Ay=",
     "Ax=",
     {"vx", "x", "vy", "y", "t"}},
    {static_cast<GraphMode>(1),
     "polar-motion",
     "極座標系運動方程式",
     "Ar=",
     "Aθ=",
     {"vθ", "θ", "vr", "r", "t"}},
    {static_cast<GraphMode>(2),
     "cartesian-curve",
     "直交座標系方程式",
     "Y=",
     "",
     {"vx", "x", "vy", "y", "t"}},
    {static_cast<GraphMode>(3),
     "polar-curve",
     "極座標系方程式",
     "r=",
     "",
     {"vθ", "θ", "vr", "r", "t"}},
}};

// ComboBox1: the timer's interval between ticks.
struct DrawingSpeed {
    std::string_view caption;  // "1/100s"
    int intervalMs;
};
inline constexpr std::array<DrawingSpeed, 3> kDrawingSpeeds{{
    {"1/1s", 1000},
    {"1/10s", 100},
    {"1/100s", 10},
}};
inline constexpr int kDefaultDrawingSpeed = 2;

// ComboBox2: the time step of one tick, in units (1/10000).
struct TimeStepSetting {
    std::string_view caption;  // "1/100"
    std::int64_t units;
};
inline constexpr std::array<TimeStepSetting, 3> kTimeSteps{{
    {"1/10", 1000},
    {"1/100", 100},
    {"1/1000", 10},
}};
inline constexpr int kDefaultTimeStep = 1;
// What the tick takes when nothing is selected: the first row, 0.1.
inline constexpr int kFallbackTimeStep = 0;

// ComboBox3 (Y) and ComboBox4 (X): the view range -R<X<R and its scale in units per pixel.
struct ViewRange {
    std::string_view value;     // the command line's name: R, "20"
    std::string_view captionX;  // ComboBox4's item: "-20<X<20"
    std::string_view captionY;  // ComboBox3's item: "-20<Y<20"
    std::int64_t scale;         // units per pixel
};
inline constexpr std::array<ViewRange, 3> kViewRanges{{
    {"2", "-2<X<2", "-2<Y<2", 100},
    {"20", "-20<X<20", "-20<Y<20", 1000},
    {"200", "-200<X<200", "-200<Y<200", 10000},
}};
inline constexpr int kDefaultViewRange = 1;
// What the tick takes when nothing is selected: "-20<X<20".
inline constexpr int kFallbackViewRange = 1;

// SpinEdit1..4: a zoom window's centre and half-width, whole values within these bounds.
struct SpinLimits {
    std::int32_t minimum;
    std::int32_t maximum;
    std::int32_t initial;
};
inline constexpr SpinLimits kZoomCentre{-200, 200, 0};
inline constexpr SpinLimits kZoomHalfWidth{1, 100, 1};

// The row of a table whose name or caption is `text`; none when no row has it.
std::optional<int> graphModeNamed(std::string_view name) noexcept;
std::optional<int> drawingSpeedNamed(std::string_view caption) noexcept;
std::optional<int> timeStepNamed(std::string_view caption) noexcept;
std::optional<int> viewRangeNamed(std::string_view value) noexcept;

const GraphModeSetting& graphModeSetting(GraphMode mode) noexcept;

}  // namespace kurvilo
