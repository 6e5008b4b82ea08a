// SPDX-License-Identifier: MIT
#include "sim/settings.h"

#include "sim/motion.h"

namespace kurvilo {

static_assert(kSlotNames == MotionState::kSlotCount);
static_assert(kGraphModes[0].mode == GraphMode::CartesianMotion &&
              kGraphModes[1].mode == GraphMode::PolarMotion &&
              kGraphModes[2].mode == GraphMode::CartesianCurve &&
              kGraphModes[3].mode == GraphMode::PolarCurve);

namespace {

template <typename Table, typename Key>
std::optional<int> rowWith(const Table& table, std::string_view text, Key key) noexcept {
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (key(table[i]) == text) return static_cast<int>(i);
    }
    return std::nullopt;
}

}  // namespace

std::optional<int> graphModeNamed(std::string_view name) noexcept {
    return rowWith(kGraphModes, name, [](const GraphModeSetting& row) { return row.name; });
}

std::optional<int> drawingSpeedNamed(std::string_view caption) noexcept {
    return rowWith(kDrawingSpeeds, caption, [](const DrawingSpeed& row) { return row.caption; });
}

std::optional<int> timeStepNamed(std::string_view caption) noexcept {
    return rowWith(kTimeSteps, caption, [](const TimeStepSetting& row) { return row.caption; });
}

std::optional<int> viewRangeNamed(std::string_view value) noexcept {
    return rowWith(kViewRanges, value, [](const ViewRange& row) { return row.value; });
}

const GraphModeSetting& graphModeSetting(GraphMode mode) noexcept {
    return kGraphModes[static_cast<std::size_t>(mode)];
}

}  // namespace kurvilo
