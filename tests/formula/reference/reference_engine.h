// SPDX-License-Identifier: MIT
// The formula engine before it was made linear in its input, kept as a test-only reference: the
// tests compare every result and failure of the engine with it on seeded formulas.
#pragma once

#include <string_view>

#include "formula/evaluate.h"

namespace kurvilo::reference {

Fixed4 ReferenceEvaluateFormula(std::string_view formula, const FormulaTexts& inputs);

}  // namespace kurvilo::reference
