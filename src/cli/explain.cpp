// SPDX-License-Identifier: MIT
#include "cli/explain.h"

#include <algorithm>
#include <cstring>

#include "cli/escape.h"
#include "numbers/utf8.h"

namespace kurvilo::cli {

namespace {

// Labels are padded to this many characters, so the texts stand in one column.
constexpr std::size_t kTextColumn = 28;
// A long text shows this much of what did not change on each side of what did,
constexpr std::size_t kContext = 32;
// and of a long new text, or a long change, its first and last this many characters.
constexpr std::size_t kEnds = 64;
// A stretch this short is shown rather than left out.
constexpr std::size_t kShortStretch = 12;

std::size_t characters(std::string_view utf8) {
    std::size_t n = 0;
    for (const char c : utf8)
        n += !isUtf8Continuation(c);
    return n;
}

std::size_t commonPrefix(std::u32string_view a, std::u32string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    // Blocks first: memcmp finds equal stretches far faster than a loop.
    constexpr std::size_t kBlock = 64;
    std::size_t i = 0;
    while (i + kBlock <= n && std::memcmp(a.data() + i, b.data() + i, kBlock * 4) == 0)
        i += kBlock;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

std::size_t commonSuffix(std::u32string_view a, std::u32string_view b, std::size_t limit) {
    const std::size_t n = std::min({a.size(), b.size(), limit});
    constexpr std::size_t kBlock = 64;
    std::size_t i = 0;
    while (i + kBlock <= n && std::memcmp(a.data() + a.size() - i - kBlock,
                                          b.data() + b.size() - i - kBlock, kBlock * 4) == 0)
        i += kBlock;
    while (i < n && a[a.size() - 1 - i] == b[b.size() - 1 - i])
        ++i;
    return i;
}

}  // namespace

void Explainer::leaveOut(std::string& out, std::size_t count) {
    out += "\u00AB";
    out += std::to_string(count);
    out += "\u00BB";
}

std::string Explainer::shown(std::u32string_view text, std::u32string_view before) {
    std::string out;
    if (text.size() <= kWholeText) {
        appendUtf8(out, text);
        return out;
    }
    if (!noted_) {
        noted_ = true;
        line(0,
             "note: a long text is shown around what changed; \u00ABN\u00BB stands for N "
             "characters left out");
    }
    // What changed since the text before, with some context on each side.
    const std::size_t prefix = commonPrefix(text, before);
    const std::size_t suffix =
        commonSuffix(text, before, std::min(text.size(), before.size()) - prefix);
    std::size_t from = prefix > kContext ? prefix - kContext : 0;
    std::size_t to = std::min(text.size(), text.size() - suffix + kContext);
    const bool same = prefix == text.size() && text.size() == before.size();
    if (same || from >= to || (from == 0 && to == text.size())) {
        from = 0;  // all new, or nothing changed: its ends
        to = text.size();
    }
    if (from <= kShortStretch) from = 0;
    if (text.size() - to <= kShortStretch) to = text.size();
    if (from > 0) leaveOut(out, from);
    if (to - from > 2 * kEnds + kShortStretch) {
        appendUtf8(out, text.substr(from, kEnds));
        leaveOut(out, to - from - 2 * kEnds);
        appendUtf8(out, text.substr(to - kEnds, kEnds));
    } else {
        appendUtf8(out, text.substr(from, to - from));
    }
    if (to < text.size()) leaveOut(out, text.size() - to);
    return out;
}

void Explainer::line(int depth, std::string_view label, std::string_view text) {
    line_.assign(static_cast<std::size_t>(depth) * 2, ' ');
    appendEscaped(line_, label);
    if (!text.empty()) {
        const std::size_t width = characters(line_);
        line_.append(width + 2 <= kTextColumn ? kTextColumn - width : 2, ' ');
        appendEscaped(line_, text);
    }
    line_ += '\n';
    out_.write(line_);
}

void Explainer::textLine(int depth, std::string_view label, std::u32string_view text, Place place) {
    std::u32string& last = last_[place];
    const std::string shownText = shown(text, last);
    line(depth, label, shownText);
    last.assign(text);
}

std::string Explainer::resultLine(std::string_view text) {
    std::string out = "result";
    out.append(kTextColumn - out.size(), ' ');
    appendEscaped(out, text);
    out += '\n';
    return out;
}

void Explainer::formula(std::string_view utf8Formula) {
    textLine(0, "formula", toUtf32(utf8Formula), kWhole);
}

void Explainer::result(Fixed4 value) {
    out_.write(resultLine(toText(value)));
}

void Explainer::failure(std::string_view kind, std::string_view message) {
    std::string text = "error: ";
    text += kind;
    text += ": ";
    text += message;
    out_.write(resultLine(text));
}

void Explainer::summationStarted(std::u32string_view term, std::int32_t lower, std::int32_t upper) {
    std::u32string whole(term);
    whole += U'}';
    textLine(0, "summation n = " + std::to_string(lower) + ".." + std::to_string(upper), whole,
             kBody);
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
    textLine(0,
             "sum of " + std::to_string(indices_) + (indices_ == 1 ? " index" : " indices") +
                 " = " + toText(total),
             text, kWhole);
}

void Explainer::groupSelected(std::u32string_view content) {
    groupPending_ = true;
    if (quiet_) return;
    // A lone "(" is a group of its own, empty; "()" is an empty group too.
    textLine(inSummation_ ? 1 : 0, loneBracket_ ? "group of a lone (" : "group", content,
             inSummation_ ? kBodyGroup : kGroup);
    loneBracket_ = false;
}

void Explainer::groupSpliced(Fixed4 value, std::u32string_view text) {
    if (quiet_) return;
    textLine(inSummation_ ? 1 : 0, "spliced " + toText(value), text, wholePlace());
}

void Explainer::reductionStarted(std::u32string_view text) {
    groupReduction_ = groupPending_;
    groupPending_ = false;
    inReduction_ = true;
    if (quiet_ || groupReduction_) return;
    textLine(inSummation_ ? 1 : 0, "reduce", text, wholePlace());
}

void Explainer::functionApplied(std::u32string_view name, Fixed4 argument, Fixed4 value,
                                std::u32string_view text) {
    if (quiet_) return;
    textLine(stepDepth(), toUtf8(name) + " " + toText(argument) + " = " + toText(value), text,
             stepPlace());
}

void Explainer::nameSubstituted(std::u32string_view name, std::u32string_view replacement,
                                std::size_t occurrences, std::u32string_view text) {
    if (quiet_) return;
    std::string label = toUtf8(name) + " := " + shown(replacement, {});
    if (occurrences > 1) label += " (" + std::to_string(occurrences) + " times)";
    textLine(stepDepth(), label, text, stepPlace());
}

void Explainer::termList(std::u32string_view terms) {
    if (quiet_) return;
    textLine(stepDepth(), "terms", terms, stepPlace());
}

void Explainer::reductionFinished(Fixed4 value) {
    if (!quiet_) line(stepDepth(), "sum phase", toText(value));
    inReduction_ = false;
    groupReduction_ = false;
}

void Explainer::quirk(Quirk kind, std::u32string_view detail) {
    loneBracket_ = kind == Quirk::LoneBracket;
    if (!quirksNamed_.emplace(kind, std::u32string(detail)).second && quiet_) return;
    line(stepDepth(), quirkLine(kind, shown(detail, {})));
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
