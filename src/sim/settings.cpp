// SPDX-License-Identifier: MIT
#include "sim/settings.h"

#include "numbers/separator.h"
#include "numbers/utf8.h"
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

std::string separatorProblem(std::string_view utf8) {
    const std::u32string characters = toUtf32(utf8);
    if (characters.size() != 1) return "needs exactly one character";
    const char32_t c = characters[0];
    // The characters of formulas and value atoms: a separator among them would be read as
    // syntax (a "]" would end every value atom early).
    static constexpr std::u32string_view kSyntax = U"()[]{}*/^:<>=\u03C0\u03B8\u03A3";
    const bool letter = (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
    if (letter || kSyntax.find(c) != std::u32string_view::npos) {
        return "'" + std::string(utf8) +
               "' is a character of the formula language or its value atoms";
    }
    if (c < 0x20 || c == 0x7F) return "cannot be a control character";
    // The one the parse takes is the one a locale with this symbol would give.
    if (c != U'.' && separatorFromLocaleSymbol(utf8) != c) {
        return "'" + std::string(utf8) +
               "' cannot separate decimals: numbers use digits, blanks, signs and exponent "
               "letters, and invalid UTF-8 is no character";
    }
    return {};
}

const GraphModeSetting& graphModeSetting(GraphMode mode) noexcept {
    return kGraphModes[static_cast<std::size_t>(mode)];
}

}  // namespace kurvilo
