#include "formula/evaluate.h"

#include "numbers/failures.h"

namespace kurvilo {

// Placeholder until the rewriting engine lands: only plain numbers.
Fixed4 EvaluateFormula(std::string_view formula, const FormulaInputs&) {
    if (formula.empty()) return Fixed4();
    return parseFixed4(formula);
}

}  // namespace kurvilo
