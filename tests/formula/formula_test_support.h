// SPDX-License-Identifier: MIT
// The inputs most formula tests share: vx = 0.3, x = 0.5, vy = -2, y = 4, t = 1.5 and the
// constants a = 2, b = 3, c = 0, d = -1.
#pragma once

#include <string>

#include "common.h"
#include "formula/evaluate.h"

namespace kurvilo {

inline FormulaInputs sampleInputs() {
    FormulaInputs inputs;
    inputs.values = {"0.3", "0.5", "-2", "4", "1.5"};
    inputs.constants = {"2", "3", "0", "-1"};
    return inputs;
}

// "ok:<text form>" or "<Kind>: <message>".
inline std::string evaluateOutcome(const std::string& formula,
                                   const FormulaInputs& inputs = sampleInputs()) {
    return outcome([&] { return EvaluateFormula(formula, inputs); });
}

struct FormulaCase {
    const char* formula;
    const char* expected;  // text form of the value
};

inline void expectValues(std::initializer_list<FormulaCase> cases,
                         const FormulaInputs& inputs = sampleInputs()) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        EXPECT_EQ(evaluateOutcome(c.formula, inputs), std::string("ok:") + c.expected);
    }
}

}  // namespace kurvilo
