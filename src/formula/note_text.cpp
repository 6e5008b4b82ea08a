// SPDX-License-Identifier: MIT
// The English wording of the quirks and the notes: one sentence each, quoting the formula's own
// characters, saying how the engine reads them and what to write instead.
#include <initializer_list>
#include <string>

#include "formula/notes.h"
#include "numbers/utf8.h"

namespace kurvilo {

namespace {

// The parts one after another, in one text.
std::string join(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (const std::string_view part : parts)
        out.append(part);
    return out;
}

std::string quoted(std::string_view text) {
    return join({"'", text, "'"});
}

std::string unknownCharacterText(const FormulaNote& note) {
    std::string text =
        quoted(note.text) + " is no character of the language: the reading stops here";
    if (note.text == "=") return text + "; write only what follows '=' (the field's label says it)";
    if (note.text.find_first_of("{}<>:") != std::string::npos) {
        return text + "; it belongs only in a summation term, 'Σ{n=…<>…:…}'";
    }
    return text + "; remove it, or write the operator meant";
}

std::string unknownNameText(const FormulaNote& note) {
    if (!note.stopsReading) {
        return quoted(note.text) +
               " is no function of the language: it is read as a product of names and a "
               "function ('arcsin(x)' is a*r*c*sin(x))";
    }
    if (note.suggestion == "*10^") {
        return quoted(note.text) +
               " is no exponent: a number has none, and the reading stops here ('1e3' is 1); "
               "write '*10^' ('1*10^3')";
    }
    std::string text =
        quoted(note.text) + " is no name or function of the language: the reading stops in it";
    if (note.suggestion.empty()) return text;
    return text + (note.fixable ? "; write " : "; the nearest the language has is ") +
           quoted(note.suggestion);
}

std::string summationText(const FormulaNote& note) {
    switch (note.problem) {
        case SummationProblem::Opening:
            return join({"the three characters after 'Σ' are skipped unread, so ",
                         quoted(note.text), " starts no summation term as it looks; write 'Σ{n='"});
        case SummationProblem::Index:
            return join({"the index of a summation term is always n: ", quoted(note.detail),
                         " in its body is no name; write 'Σ{n='"});
        case SummationProblem::LowerBound:
        case SummationProblem::UpperBound: {
            const std::string_view which =
                note.problem == SummationProblem::LowerBound ? "lower" : "upper";
            if (note.detail.empty()) {
                return join({"the summation term has no ", which, " bound: the formula fails"});
            }
            return join({"the ", which, " bound ", quoted(note.detail),
                         " is not a whole number: the formula fails"});
        }
        case SummationProblem::Range:
            return "the summation term has no '<>' between its bounds: the formula fails";
        case SummationProblem::Colon:
            return "the summation term has no ':' before its body: the formula fails";
        case SummationProblem::Close:
            return "the summation term has no '}': the formula fails";
        case SummationProblem::EmptyRange:
            return join({"the range ", quoted(note.detail),
                         " is empty, its lower bound above the upper one: the sum is 0"});
        case SummationProblem::EmptyBody:
            return "the summation term has no body: every index adds 0";
        case SummationProblem::None:
            break;
    }
    return "the summation term does not hold";
}

// The characters and words that end the reading.
std::string readingText(const FormulaNote& note) {
    switch (note.kind) {
        case NoteKind::Blank:
            return std::string(note.fullWidth ? "a full-width blank" : "a blank") +
                   " ends the reading here: the language has no white space, and the rest of "
                   "the bracket or formula is ignored ('x + 1' is x); remove it, or write the "
                   "operator meant";
        case NoteKind::LookAlike:
            return quoted(note.text) + (note.fullWidth ? " is full-width" : " only looks like") +
                   (note.fullWidth ? ", not " : " ") + quoted(note.suggestion) +
                   ": the reading stops here; write " + quoted(note.suggestion);
        case NoteKind::DecimalComma:
            return quoted(note.text) + " has a comma, which ends the reading ('-0,5*y' is -0): " +
                   (note.fixable
                        ? join({"a number in a formula takes a point, ", quoted(note.suggestion)})
                        : std::string("a number in a formula has no thousands "
                                      "separator and takes a point for decimals"));
        case NoteKind::UnknownCharacter:
            return unknownCharacterText(note);
        case NoteKind::UnknownName:
            return unknownNameText(note);
        default:
            break;
    }
    return quoted(note.text);
}

}  // namespace

std::string quirkText(Quirk kind, std::string_view detail) {
    const std::string d(detail);
    switch (kind) {
        case Quirk::LostOperand:
            return d +
                   " is lost: an operand right before a name, function or value raised to a "
                   "power is overwritten by it ('2x^2' is x^2); write '*' after " +
                   d + " ('2*x^2')";
        case Quirk::SignAfterProduct:
            return join({"'", d, "' does not give the factor a sign: the '",
                         d.substr(d.empty() ? 0 : 1),
                         "' ends the product and adds or subtracts ('2*-3' is 2-2*3 = -4); "
                         "bracket the signed factor ('2*(-3)')"});
        case Quirk::PowerChain:
            return join({"the base ", d,
                         " is dropped: powers do not chain, a chain keeps its last base ('3^2^2' "
                         "is 16); bracket the powers ('(3^2)^2' or '3^(2^2)')"});
        case Quirk::StoppedReading:
            return join({"reading stopped at '", d.substr(0, firstCharacterLength(d)), "', and '",
                         d,
                         "' was ignored: the formula language has no such character there; "
                         "remove it or write the operator meant"});
        case Quirk::LoneBracket:
            return join(
                {"a '(' with no ')' after it is read as 0, before '", d, "'; close the bracket"});
        case Quirk::NegativeBaseFraction:
            return d +
                   " has a negative base and a fractional exponent, which makes its whole "
                   "group (or the formula) 0; use a whole exponent, or take the power of the "
                   "positive base and negate it ('-(8^(1/3))')";
    }
    return d;
}

std::string noteText(const FormulaNote& note) {
    if (const std::optional<Quirk> quirk = quirkOf(note.kind))
        return quirkText(*quirk, note.detail);
    switch (note.kind) {
        case NoteKind::Blank:
        case NoteKind::LookAlike:
        case NoteKind::DecimalComma:
        case NoteKind::UnknownCharacter:
        case NoteKind::UnknownName:
            return readingText(note);
        case NoteKind::DoubleStar:
            return "'**' is read as '*', the second '*' dropped ('2**3' is 6); write '^' for a "
                   "power";
        case NoteKind::SignAfterPower:
            return quoted(note.text) +
                   ": only one '-' right before a number signs an exponent; any other sign "
                   "after '^' is dropped or ends the term ('2^-x' is 2^x); bracket the signed "
                   "exponent ('2^(-x)')";
        case NoteKind::ExtraSign:
            return quoted(note.text) +
                   " reads as its last sign alone: each extra sign closes an empty term ('--x' "
                   "is -x); write the one sign meant";
        case NoteKind::MissingOperand:
            if (note.stopsReading) {
                return quoted(note.text) + " follows no operand: the reading stops here";
            }
            if (note.text == "^") {
                return "'^' has no exponent after it: the power is left pending and takes an "
                       "exponent from elsewhere ('2^' is 1); write the exponent";
            }
            return quoted(note.text) + " has no operand " + note.detail +
                   " it, which reads as 0 ('*2' is 0); write it, or remove the operator";
        case NoteKind::UnpairedBracket:
            return "')' closes no '(': the reading stops here ('x)+1' is x)";
        case NoteKind::EmptyBrackets:
            return "'()' is empty and reads as 0 ('sin()' is 0)";
        case NoteKind::SquareBracket:
            return quoted(note.text) +
                   ": '[' and ']' are the engine's marks for computed values, not brackets; "
                   "use '(' and ')'";
        case NoteKind::FunctionWithoutBracket:
            if (note.suggestion.starts_with("ln(")) {
                return quoted(note.text) +
                       " is no function: log is the natural logarithm, and a function takes "
                       "its argument in brackets; write " +
                       quoted(note.suggestion);
            }
            return quoted(note.text) + " needs its argument in brackets, " +
                   quoted(note.suggestion) + ": without them the formula fails";
        case NoteKind::MalformedNumber:
            if (note.text == ".") return "'.' alone is no number and reads as 0";
            return quoted(note.text) + " has more than one point: the formula fails";
        case NoteKind::Summation:
            return summationText(note);
        default:
            break;
    }
    return quoted(note.text);
}

}  // namespace kurvilo
