// SPDX-License-Identifier: MIT
// How a summation term "Σ{n=" lower "<>" upper ":" body "}" is read: by the engine, which expands
// it, and by the formula notes, which say where its syntax does not hold.
#pragma once

#include <string_view>

namespace kurvilo::detail {

inline constexpr char32_t kSigma = U'\u03A3';

struct SummationTerm {
    std::u32string_view lower;  // empty when missing; it then fails as an integer
    std::u32string_view upper;
    std::u32string_view body;
};

// The parts of a term, given from its "Σ" up to, not including, its "}": the three characters
// after "Σ" are skipped unchecked (the index is always n); the lower bound runs from the fourth
// up to the first "<>", the upper bound from there up to the first ":" of the term, the body
// from that ":" to the end.
constexpr SummationTerm readSummationTerm(std::u32string_view term) noexcept {
    constexpr std::size_t kLowerStart = 4;
    SummationTerm parts;
    const std::size_t between = term.find(U"<>");
    if (between == std::u32string_view::npos) return parts;
    if (between > kLowerStart) parts.lower = term.substr(kLowerStart, between - kLowerStart);
    const std::size_t colon = term.find(U':');
    if (colon == std::u32string_view::npos) return parts;
    if (colon > between + 2) parts.upper = term.substr(between + 2, colon - between - 2);
    parts.body = term.substr(colon + 1);
    return parts;
}

}  // namespace kurvilo::detail
