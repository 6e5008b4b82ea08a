// SPDX-License-Identifier: MIT
#include "cli/explain.h"

#include "cli/escape.h"
#include "numbers/utf8.h"

namespace kurvilo::cli {

namespace {

// Labels are padded to this many characters, so the texts stand in one column.
constexpr std::size_t kTextColumn = 28;

std::size_t characters(std::string_view utf8) {
    std::size_t n = 0;
    for (const char c : utf8)
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

// The bytes of the first UTF-8 character of text.
std::size_t firstCharacterLength(std::string_view text) {
    std::size_t n = text.empty() ? 0 : 1;
    while (n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

}  // namespace

void Explainer::line(int depth, std::string_view label, std::string_view text) {
    std::string start(static_cast<std::size_t>(depth) * 2, ' ');
    appendEscaped(start, label);
    out_ += start;
    if (!text.empty()) {
        const std::size_t width = characters(start);
        out_.append(width + 2 <= kTextColumn ? kTextColumn - width : 2, ' ');
        appendEscaped(out_, text);
    }
    out_ += '\n';
}

std::string Explainer::utf8(std::u32string_view text) {
    return toUtf8(text);
}

void Explainer::formula(std::string_view utf8Formula) {
    line(0, "formula", utf8Formula);
}

void Explainer::result(Fixed4 value) {
    line(0, "result", toText(value));
}

void Explainer::failure(std::string_view kind, std::string_view message) {
    std::string text = "error: ";
    text += kind;
    text += ": ";
    text += message;
    line(0, "result", text);
}

void Explainer::summationStarted(std::u32string_view term, std::int32_t lower, std::int32_t upper) {
    line(0, "summation n = " + std::to_string(lower) + ".." + std::to_string(upper),
         utf8(term) + "}");
    inSummation_ = true;
    indices_ = 0;
    upper_ = upper;
}

void Explainer::summationIndex(std::int32_t n) {
    ++indices_;
    if (indices_ == 1) {
        line(1, "n = " + std::to_string(n));
    } else if (indices_ == 2) {
        std::string rest = "n = " + std::to_string(n);
        if (n != upper_) rest += ".." + std::to_string(upper_);
        line(1, rest + ": the same steps, not shown");
        quiet_ = true;
    }
}

void Explainer::summationExpanded(Fixed4 total, std::u32string_view text) {
    quiet_ = false;
    inSummation_ = false;
    line(0,
         "sum of " + std::to_string(indices_) + (indices_ == 1 ? " index" : " indices") + " = " +
             toText(total),
         utf8(text));
}

void Explainer::groupSelected(std::u32string_view content) {
    groupPending_ = true;
    if (quiet_) return;
    // A lone "(" is a group of its own, empty; "()" is an empty group too.
    line(inSummation_ ? 1 : 0, loneBracket_ ? "group of a lone (" : "group", utf8(content));
    loneBracket_ = false;
}

void Explainer::groupSpliced(Fixed4 value, std::u32string_view text) {
    if (quiet_) return;
    line(inSummation_ ? 1 : 0, "spliced " + toText(value), utf8(text));
}

void Explainer::reductionStarted(std::u32string_view text) {
    const bool group = groupPending_;
    groupPending_ = false;
    inReduction_ = true;
    if (quiet_ || group) return;
    line(inSummation_ ? 1 : 0, "reduce", utf8(text));
}

void Explainer::functionApplied(std::u32string_view name, Fixed4 argument, Fixed4 value,
                                std::u32string_view text) {
    if (quiet_) return;
    line(stepDepth(), utf8(name) + " " + toText(argument) + " = " + toText(value), utf8(text));
}

void Explainer::nameSubstituted(std::u32string_view name, std::u32string_view replacement,
                                std::size_t occurrences, std::u32string_view text) {
    if (quiet_) return;
    std::string label = utf8(name) + " := " + utf8(replacement);
    if (occurrences > 1) label += " (" + std::to_string(occurrences) + " times)";
    line(stepDepth(), label, utf8(text));
}

void Explainer::termList(std::u32string_view terms) {
    if (quiet_) return;
    line(stepDepth(), "terms", utf8(terms));
}

void Explainer::reductionFinished(Fixed4 value) {
    if (!quiet_) line(stepDepth(), "sum phase", toText(value));
    inReduction_ = false;
}

void Explainer::quirk(Quirk kind, std::u32string_view detail) {
    std::string text = utf8(detail);
    loneBracket_ = kind == Quirk::LoneBracket;
    if (!quirksNamed_.emplace(kind, text).second && quiet_) return;
    line(stepDepth(), quirkLine(kind, text));
}

std::string Explainer::quirkLine(Quirk kind, std::string_view detail) {
    const std::string d(detail);
    switch (kind) {
        case Quirk::LostOperand:
            return "quirk: " + d +
                   " is lost: an operand right before a name, function or value raised to a "
                   "power is overwritten by it ('2x^2' is x^2); write '*' after " +
                   d + " ('2*x^2')";
        case Quirk::SignAfterProduct:
            return "quirk: '" + d + "' does not give the factor a sign: the '" + d.substr(1) +
                   "' ends the product and adds or subtracts ('2*-3' is 2-2*3 = -4); bracket "
                   "the signed factor ('2*(-3)')";
        case Quirk::PowerChain:
            return "quirk: the base " + d +
                   " is dropped: powers do not chain, a chain keeps its last base ('3^2^2' is "
                   "16); bracket the powers ('(3^2)^2' or '3^(2^2)')";
        case Quirk::StoppedReading:
            return "quirk: reading stopped at '" + d.substr(0, firstCharacterLength(d)) +
                   "', and '" + d +
                   "' was ignored: the formula language has no such character there; remove "
                   "it or write the operator meant";
        case Quirk::LoneBracket:
            return "quirk: a '(' with no ')' after it is read as 0, before '" + d +
                   "'; close the bracket";
        case Quirk::NegativeBaseFraction:
            return "quirk: " + d +
                   " has a negative base and a fractional exponent, which makes its whole "
                   "group (or the formula) 0; use a whole exponent, or take the power of the "
                   "positive base and negate it ('-(8^(1/3))')";
    }
    return "quirk: " + d;
}

}  // namespace kurvilo::cli
