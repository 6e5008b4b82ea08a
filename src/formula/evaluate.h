// EvaluateFormula: one formula text in, one Fixed4 out, or a failure. The formula is evaluated by
// rewriting its text: summation terms, then innermost groups, then per reduction the functions,
// the names and one left-to-right arithmetic scan.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "numbers/fixed4.h"

namespace kurvilo {

// The texts the engine substitutes for names, as plain data (UTF-8). The window passes ListBox1's
// items and the keypad's constant fields; they are inserted unchanged and parsed by the scan.
struct FormulaInputs {
    // Slots 0..4: "vx"/"vθ", "x"/"θ", "vy"/"vr", "y"/"r", "t".
    std::array<std::string, 5> values{"0", "0", "0", "0", "0"};
    // "a", "b", "c", "d".
    std::array<std::string, 4> constants{"0", "0", "0", "0"};
};

// Raises EConvertError, EZeroDivide, EInvalidOp or EOverflow; catches nothing.
Fixed4 EvaluateFormula(std::string_view formula, const FormulaInputs& inputs);

}  // namespace kurvilo
