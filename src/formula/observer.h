// SPDX-License-Identifier: MIT
// What an observer of one evaluation is told, step by step (kurvilo-cli eval --explain). Every
// text is the engine's own working text right after the step (a group's content while a group is
// reduced, the body while a summation term is expanded), in UTF-32 with the value atoms as the
// engine writes them. The engine only calls an observer that was given: unobserved evaluations
// pay one branch per step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "numbers/fixed4.h"

namespace kurvilo {

// The documented quirks of the formula language, as the engine meets them.
enum class Quirk {
    // An operand was replaced by the next one with no operator between them: a number literal
    // directly before a name, function or atom raised to a power ('2x^2' is x^2). Detail: the
    // lost operand's text.
    LostOperand,
    // A "-" or "+" directly after "*" or "/" ends the product and subtracts or adds ('2*-3' is
    // 2 - 2*3). Detail: the pending operator and the sign, as "*-".
    SignAfterProduct,
    // A "^" after a power base that still waits for its exponent: the chain keeps only its last
    // base ('3^2^2' is 2^4). Detail: the base that was dropped.
    PowerChain,
    // The scan met a character it does not know and ignored the rest. Detail: the rest of the
    // text, starting at that character.
    StoppedReading,
    // A "(" with no ")" after it reads as the value 0. Detail: the text after the "(".
    LoneBracket,
    // A negative base with a fractional exponent ends its reduction with the sum so far (0 in
    // the product phase). Detail: base "^" exponent.
    NegativeBaseFraction,
};

class EvaluationObserver {
  public:
    virtual ~EvaluationObserver() = default;

    // A summation term is about to be expanded: the term from "Σ" up to, not including, its "}".
    virtual void summationStarted(std::u32string_view /*term*/, std::int32_t /*lower*/,
                                  std::int32_t /*upper*/) {}
    // The body is about to be evaluated for the index n.
    virtual void summationIndex(std::int32_t /*n*/) {}
    // The term was replaced by "(" + its total + ")": the working text after the expansion.
    virtual void summationExpanded(Fixed4 /*total*/, std::u32string_view /*text*/) {}

    // The innermost group was chosen: its content (empty for a lone "(").
    virtual void groupSelected(std::u32string_view /*content*/) {}
    // The group's value atom was spliced in: the working text after it.
    virtual void groupSpliced(Fixed4 /*value*/, std::u32string_view /*text*/) {}

    // A reduction (function stage, substitution stage, scan) starts on this text.
    virtual void reductionStarted(std::u32string_view /*text*/) {}
    // A function name and the atom behind it were replaced by the function's value.
    virtual void functionApplied(std::u32string_view /*name*/, Fixed4 /*argument*/,
                                 Fixed4 /*value*/, std::u32string_view /*text*/) {}
    // Every occurrence of a name was replaced by "[" + its text + "]".
    virtual void nameSubstituted(std::u32string_view /*name*/, std::u32string_view /*replacement*/,
                                 std::size_t /*occurrences*/, std::u32string_view /*text*/) {}
    // The product phase ended: the term list it hands to the sum phase, "[v]op[v]op...[v]".
    virtual void termList(std::u32string_view /*terms*/) {}
    // The reduction's value, its sum accumulator.
    virtual void reductionFinished(Fixed4 /*value*/) {}

    virtual void quirk(Quirk /*kind*/, std::u32string_view /*detail*/) {}
};

}  // namespace kurvilo
