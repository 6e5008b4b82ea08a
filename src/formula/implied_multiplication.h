// SPDX-License-Identifier: MIT
// Implied multiplication: where a value atom replaces a stretch of the working text (a function
// application, a name, or a group), a "*" is written directly before and after it unless the
// neighbouring character makes one needless. Two operands next to each other multiply; a name or
// function value followed by "^" takes no "*" before it, so a number literal in front of it is
// then lost in the scan ('2x^2' is x^2).
#pragma once

#include "formula/text_buffer.h"

namespace kurvilo::detail {

enum class Replaced { FunctionApplication, Name, Group };

struct Stars {
    bool before = false;
    bool after = false;
};

constexpr bool isOperatorCharacter(char32_t c) noexcept {
    return c == U'*' || c == U'/' || c == U'+' || c == U'-' || c == U'^';
}

// before and after are the characters next to the replaced stretch (kNoCharacter at an end).
constexpr Stars impliedMultiplication(Replaced replaced, char32_t before, char32_t after) noexcept {
    Stars stars;
    stars.after = !(after == kNoCharacter || isOperatorCharacter(after) || after == U')');
    const bool opensNothing =
        before == kNoCharacter || isOperatorCharacter(before) || before == U'(';
    if (replaced == Replaced::Group) {
        // "s", "n", "g", "p" end "sin", "cos", "tan", "log", "exp", "ln": a group behind a
        // function name stays its argument.
        stars.before =
            !(opensNothing || before == U's' || before == U'n' || before == U'g' || before == U'p');
    } else {
        stars.before = !(opensNothing || after == U'^');
    }
    return stars;
}

}  // namespace kurvilo::detail
