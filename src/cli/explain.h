// SPDX-License-Identifier: MIT
// kurvilo-cli eval --explain: an observer of one evaluation that writes every rewriting step as
// one line, a label and the working text right after the step, indented by where the step
// happens (a group, a summation body), and every quirk of the language the evaluation meets as
// one plain line that says how to write around it. Of a summation only the first index is shown
// step by step.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "formula/observer.h"

namespace kurvilo::cli {

class Explainer : public EvaluationObserver {
  public:
    // The lines so far, each ending in "\n".
    const std::string& text() const noexcept { return out_; }

    // The first line, before the evaluation: the formula as given.
    void formula(std::string_view utf8);
    // The last line: the value, or the failure that ended the evaluation.
    void result(Fixed4 value);
    void failure(std::string_view kind, std::string_view message);

    void summationStarted(std::u32string_view term, std::int32_t lower,
                          std::int32_t upper) override;
    void summationIndex(std::int32_t n) override;
    void summationExpanded(Fixed4 total, std::u32string_view text) override;
    void groupSelected(std::u32string_view content) override;
    void groupSpliced(Fixed4 value, std::u32string_view text) override;
    void reductionStarted(std::u32string_view text) override;
    void functionApplied(std::u32string_view name, Fixed4 argument, Fixed4 value,
                         std::u32string_view text) override;
    void nameSubstituted(std::u32string_view name, std::u32string_view replacement,
                         std::size_t occurrences, std::u32string_view text) override;
    void termList(std::u32string_view terms) override;
    void reductionFinished(Fixed4 value) override;
    void quirk(Quirk kind, std::u32string_view detail) override;

    // The line that explains a quirk (unescaped, without indentation and newline).
    static std::string quirkLine(Quirk kind, std::string_view detail);

  private:
    // label padded to the text column, then the text; both escaped.
    void line(int depth, std::string_view label, std::string_view text = {});
    static std::string utf8(std::u32string_view text);
    // Steps of a reduction stand one level below its "group" or "reduce" line.
    int stepDepth() const noexcept { return (inSummation_ ? 1 : 0) + (inReduction_ ? 1 : 0); }

    std::string out_;
    bool inSummation_ = false;
    bool inReduction_ = false;
    bool groupPending_ = false;
    bool loneBracket_ = false;  // the group about to be selected is a lone "("
    // Indices after the first of a summation: their steps are not shown.
    bool quiet_ = false;
    std::int64_t indices_ = 0;
    std::int32_t upper_ = 0;
    // Quirks already named, so the quiet indices name only new ones.
    std::set<std::pair<Quirk, std::string>> quirksNamed_;
};

}  // namespace kurvilo::cli
