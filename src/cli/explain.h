// SPDX-License-Identifier: MIT
// kurvilo-cli eval --explain: an observer of one evaluation that writes every rewriting step as
// one line, a label and the working text right after the step, indented by where the step
// happens (a group, a summation body), and every quirk of the language the evaluation meets as
// one plain line that says how to write around it. Of a summation only the first index is shown
// step by step.
//
// The lines go out as they come, and a long working text is shown around what changed since the
// text before it at the same place (the whole text, a group's, a body's), with the stretches left
// out written «N» (N characters); a note says so once per case. Texts of up to kWholeText
// characters are shown whole, so short formulas are explained exactly; longer ones keep the
// output and the memory of an explanation linear in the formula.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "formula/observer.h"
#include "picture/output_file.h"

namespace kurvilo::cli {

class Explainer : public EvaluationObserver {
  public:
    static constexpr std::size_t kWholeText = 160;

    explicit Explainer(ByteSink& out) : out_(out) {}

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

    // The result line of a case that ended with text.
    static std::string resultLine(std::string_view text);
    // The line that explains a quirk (unescaped, without indentation and newline).
    static std::string quirkLine(Quirk kind, std::string_view detail);

  private:
    // Where a working text stands: the whole text or a group's, outside or inside a summation's
    // body. Each place remembers its last text, for showing what changed.
    enum Place { kWhole, kGroup, kBody, kBodyGroup, kPlaces };

    // label padded to the text column, then the text; both escaped.
    void line(int depth, std::string_view label, std::string_view text = {});
    // The same with a working text, shown whole or around what changed at its place.
    void textLine(int depth, std::string_view label, std::u32string_view text, Place place);
    // text as it is shown: whole, or with long stretches that did not change since the last
    // text of the place (or, for a new text, its middle) written «N».
    std::string shown(std::u32string_view text, std::u32string_view before);
    void leaveOut(std::string& out, std::size_t count);
    Place wholePlace() const noexcept { return inSummation_ ? kBody : kWhole; }
    Place stepPlace() const noexcept {
        return groupReduction_ ? (inSummation_ ? kBodyGroup : kGroup) : wholePlace();
    }
    // Steps of a reduction stand one level below its "group" or "reduce" line.
    int stepDepth() const noexcept { return (inSummation_ ? 1 : 0) + (inReduction_ ? 1 : 0); }

    ByteSink& out_;
    std::string line_;  // the line being written, reused
    std::array<std::u32string, kPlaces> last_;
    bool noted_ = false;  // the note on «N» is written
    bool inSummation_ = false;
    bool inReduction_ = false;
    bool groupPending_ = false;
    bool groupReduction_ = false;
    bool loneBracket_ = false;  // the group about to be selected is a lone "("
    // Indices after the first of a summation: their steps are not shown.
    bool quiet_ = false;
    std::int64_t indices_ = 0;
    std::int32_t upper_ = 0;
    // Quirks already named, so the quiet indices name only new ones.
    std::set<std::pair<Quirk, std::u32string>> quirksNamed_;
};

}  // namespace kurvilo::cli
