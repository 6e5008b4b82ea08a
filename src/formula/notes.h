// SPDX-License-Identifier: MIT
// Formula notes: where a formula is read differently from how it looks. The engine reads every
// text without a word (a blank ends the formula, 'pi' stops the reading, '2x^2' loses the 2); the
// notes say so, each with the characters it is about, without changing what the engine computes.
// One source for every place a formula is typed: the window's marker, kurvilo-cli's warnings.
//
// The notes read the formula the way the engine does (summation terms, then brackets, then the
// functions, names and operators of each bracket) but only look: they never rewrite it. Where a
// note needs a value (a negative base with a fractional exponent), it evaluates the operands
// with EvaluateFormula, when the texts of the names they use are known.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formula/inputs.h"
#include "formula/observer.h"

namespace kurvilo {

enum class NoteKind : unsigned char {
    // Characters that end the reading: the rest of their bracket, or of the formula, is ignored.
    Blank,             // a blank, also the ideographic one: 'x + 1' is x
    LookAlike,         // a full-width or other look-alike of a character of the language: '－ｙ'
    DecimalComma,      // a ',' between digits: '-0,5*y' is -0
    UnknownCharacter,  // any other character the language does not know there: 'x%'
    // Letters that are no name or function: 'sqrt(2)', 'pi', 'Sin(1)', 'sum{...}', 'e' (the
    // reading stops at their first letter), or that read as a product of names: 'arcsin(x)'.
    UnknownName,
    // Operators.
    DoubleStar,      // '**' reads as '*', the second '*' dropped: '2**3' is 6
    SignAfterPower,  // a sign after '^' that is dropped or ends the term: '2^-x' is 2^x
    ExtraSign,       // signs that do not cancel: '--x' is -x
    MissingOperand,  // an operator with no operand on one side: '*2', '2^', '2*/3'
    // The quirks the engine tells its observer of (Quirk), found where they will bite.
    LostOperand,           // '2x^2' is x^2
    SignAfterProduct,      // '2*-3' is 2-2*3
    PowerChain,            // '3^2^2' is 2^4
    LoneBracket,           // '2*(3' is 0
    NegativeBaseFraction,  // '(-8)^(1/3)' makes its bracket 0
    // Brackets, numbers, functions and summation terms.
    UnpairedBracket,         // a ')' with no '(' before it: 'x)' is x
    EmptyBrackets,           // '()' reads as 0: 'sin()' is 0
    SquareBracket,           // '[' or ']': the engine's own marks for computed values
    FunctionWithoutBracket,  // 'sinx', 'log10(x)': the formula fails
    MalformedNumber,         // '1.2.3' fails; a lone '.' reads as 0
    Summation,               // a summation term whose syntax does not hold
};
// The last kind: a kind added after it moves this too.
inline constexpr NoteKind kLastNoteKind = NoteKind::Summation;

// What does not hold in a summation term "Σ{n=" lower "<>" upper ":" body "}".
enum class SummationProblem : unsigned char {
    None,
    Opening,     // the three characters after "Σ" are not "{n=": they are skipped unread
    Index,       // "Σ{k=": the index is always n, so k in the body is no name
    LowerBound,  // not a whole number (or missing): the formula fails
    UpperBound,
    Range,       // no "<>": the formula fails
    Colon,       // no ":" after the bounds: the formula fails
    Close,       // no "}": the formula fails
    EmptyRange,  // the lower bound is above the upper one: the sum is 0
    EmptyBody,   // nothing between ":" and "}": every index adds 0
};

struct FormulaNote {
    NoteKind kind = NoteKind::UnknownCharacter;
    // The characters the note is about, counted in characters (code points) from 0; end is one
    // past the last. Never empty.
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string text;  // those characters (UTF-8)
    // What the language has instead, or what to write: 'π' for 'pi', '-' for '－', '^0.5' for
    // 'sqrt'. Empty where the language has nothing near.
    std::string suggestion;
    // Replacing the characters by the suggestion is the one fix anyone would make: full-width
    // and other look-alikes to ASCII, '**' to '^', 'pi' to 'π', a decimal comma to '.'.
    bool fixable = false;
    // The engine stops reading the bracket (or the formula) at the first of these characters.
    bool stopsReading = false;
    // Blank and LookAlike: every character of the range is a full-width form (U+FF01..U+FF5E or
    // the ideographic space).
    bool fullWidth = false;
    // For the quirks, the detail as the engine's observer words it (the lost operand, "*-", the
    // dropped base, the text after a lone '(', "base^exponent"); for Summation the part that does
    // not hold (a bound's text); for MissingOperand the side it is missing on, "before" or
    // "after".
    std::string detail;
    SummationProblem problem = SummationProblem::None;

    friend bool operator==(const FormulaNote&, const FormulaNote&) = default;
};

struct NoteOptions {
    // The texts of the names. Without them only what the formula itself says is known: a base
    // like '(-8)' is, 'a' is not.
    const FormulaTexts* texts = nullptr;
    // The values' texts are those the formula will be evaluated with (kurvilo-cli eval), not
    // only where a run starts: a note may then depend on x, y, t, ... and not only on a to d.
    bool valuesFixed = false;
};

// The notes of a formula (UTF-8), in the order of their characters; none for a clean formula.
// Never fails and never changes what EvaluateFormula computes.
std::vector<FormulaNote> formulaNotes(std::string_view formula, const NoteOptions& options = {});

// The formula with every fixable note's characters replaced by its suggestion.
std::string applyFixes(std::string_view formula, const std::vector<FormulaNote>& notes);

// The quirk a note stands for, where the engine tells its observer of it.
std::optional<Quirk> quirkOf(NoteKind kind) noexcept;

// The one English wording of each quirk (kurvilo-cli eval --explain writes it after "quirk: "),
// with the detail as the observer gives it: "2 is lost: an operand right before a name, ...".
std::string quirkText(Quirk kind, std::string_view detail);

// The one English wording of each note: a sentence that quotes the characters and says what to
// write instead, without the formula or a position.
std::string noteText(const FormulaNote& note);

// Why a value text (an initial value, a constant a to d) will not parse as a value with the given
// decimal separator, or nothing when it parses.
enum class ValueProblem : unsigned char {
    Empty,             // the empty text
    ForeignSeparator,  // "0.5" where the separator is ",", or "0,5" where it is ".": parses with it
    NotANumber,        // anything else
};
std::optional<ValueProblem> valueTextProblem(std::string_view text, char32_t separator);

}  // namespace kurvilo
