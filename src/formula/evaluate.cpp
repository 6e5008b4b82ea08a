// SPDX-License-Identifier: MIT
// The formula engine. A formula is evaluated by rewriting its text, never by building a tree:
//
//   1. summation terms are expanded, innermost and leftmost first, to "([total])";
//   2. while a "(" is left, the innermost group (the first ")" after the first "(", with the
//      nearest "(" before it) is reduced on its own and spliced back as a value atom "[v]";
//   3. the bracket-free rest is reduced once more; its sum accumulator is the result.
//
// A reduction runs the function stage (each function name applied to the value atom behind it),
// the substitution stage (each name replaced by "[" + its text + "]") and one left-to-right
// arithmetic scan (formula/scan.h). Wherever a value atom replaces a stretch of text, a "*" is
// written next to it when implied multiplication asks for one (formula/implied_multiplication.h).
//
// Every stage reads its text once from left to right and writes the rewritten text forward into
// a second buffer: where a rewrite leaves the text before it as it was, the next match can only
// lie behind the rewrite, so the search goes on from there instead of from the start. The work
// grows with the length of the text and the number of rewrites, not with their product, and the
// texts each step produces are the ones a restart from the beginning would produce.
//
// The working text is UTF-32 so that "Σ", "π" and "θ" are one unit each. Buffers live in a
// per-thread engine and are reused across calls.
//
// The first evaluation of a text also records its plan (formula/plan.h): the same stages, run once
// with register numbers in place of values. Later evaluations of the text replay the plan while
// every name it reads holds a plain number, and fall back to the rewriting from the start where
// the plan cannot tell, so that a failure comes out exactly as the rewriting meets it.
#include "formula/evaluate.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "formula/implied_multiplication.h"
#include "formula/names.h"
#include "formula/observer.h"
#include "formula/plan.h"
#include "formula/scan.h"
#include "formula/summation_term.h"
#include "formula/text_buffer.h"
#include "formula/value_atom.h"
#include "numbers/failures.h"
#include "numbers/function_values.h"
#include "numbers/integer_text.h"
#include "numbers/separator.h"
#include "numbers/utf8.h"

namespace kurvilo {

namespace {

using detail::charAt;
using detail::findChar;
using detail::findText;
using detail::Function;
using detail::impliedMultiplication;
using detail::kNoCharacter;
using detail::kSigma;
using detail::Name;
using detail::npos;
using detail::Plan;
using detail::PlanRecorder;
using detail::Replaced;
using detail::Stars;
using detail::TextBuffer;

// Substitution can grow the text without bound only through texts that themselves name other
// names (each x naming many y's, each y many t's, ...). Such a text is never a number, so once
// a chain like that would make the text this large, the substitution fails the way its parse would.
constexpr std::size_t kMaxChainedText = std::size_t{1} << 22;

// A function's argument ends at the first "]" found from this many characters after the start of
// its name (for "ln" as well as for the three-letter names).
constexpr std::size_t kArgumentSearchStart = 4;

struct FunctionName {
    std::u32string_view name;
    Function function;
    std::uint32_t letters;
};

// The value atoms of a text read the same whether or not the names around them have been
// substituted when no name stands inside one (the scan reads an atom up to its first "]") and
// none opens right after another "[" (where the scan also drops a "]" further on).
bool atomsOutOfReach(std::u32string_view text) noexcept {
    bool inAtom = false;
    for (const char32_t c : text) {
        if (c == U'[') {
            if (inAtom) return false;
            inAtom = true;
        } else if (c == U']') {
            inAtom = false;
        } else if (inAtom && detail::letterBitOf(c) != 0) {
            return false;
        }
    }
    return true;
}

// In the order the function stage tries them; "log" and "ln" are the same function.
constexpr std::array<FunctionName, detail::kFunctionNames.size()> kFunctions = [] {
    constexpr Function kInOrder[] = {Function::Sine, Function::Cosine, Function::Tangent,
                                     Function::Log,  Function::Exp,    Function::Log};
    static_assert(std::size(kInOrder) == detail::kFunctionNames.size());
    std::array<FunctionName, detail::kFunctionNames.size()> functions{};
    for (std::size_t k = 0; k < functions.size(); ++k) {
        const std::u32string_view name = detail::kFunctionNames[k];
        functions[k] = {name, kInOrder[k], detail::lettersOfName(name)};
    }
    return functions;
}();

constexpr detail::LetterSets<kFunctions.size()> kFunctionsPresent{[] {
    std::array<std::uint32_t, kFunctions.size()> masks{};
    for (std::size_t k = 0; k < kFunctions.size(); ++k)
        masks[k] = kFunctions[k].letters;
    return masks;
}()};

// Plans are recorded only for texts this short: every rewrite puts at most 25 characters (a value
// atom and two "*") where at least one character stood, so their working texts stay far below
// the cap, and below the length up to which the scan reads names in place, whatever the values.
constexpr std::size_t kMaxPlannedText = std::size_t{1} << 14;

// The plans of the formulas evaluated last on a thread, by text and separator; an entry without a
// plan remembers that its text keeps the rewriting.
class PlanCache {
  public:
    struct Entry {
        std::string text;
        char32_t separator = 0;
        std::optional<Plan> plan;
    };
    // The entry of the text, or nullptr.
    Entry* find(std::string_view formula, char32_t separator) noexcept {
        for (std::size_t k = 0; k < used_; ++k) {
            Entry& entry = entries_[k];
            if (entry.separator == separator && entry.text.size() == formula.size() &&
                std::memcmp(entry.text.data(), formula.data(), formula.size()) == 0) {
                return &entry;
            }
        }
        return nullptr;
    }
    // A fresh entry for the text, in place of the oldest one once all are used.
    Entry& add(std::string_view formula, char32_t separator) {
        Entry& entry = entries_[next_];
        next_ = (next_ + 1) % entries_.size();
        used_ = std::max(used_, next_ == 0 ? entries_.size() : next_);
        entry.separator = 0;  // unusable until the text is in place
        entry.plan.reset();
        entry.text.assign(formula);
        entry.separator = separator;
        return entry;
    }

  private:
    std::array<Entry, 8> entries_;
    std::size_t used_ = 0;
    std::size_t next_ = 0;
};

class Engine {
  public:
    std::optional<Plan> record(std::string_view formula, char32_t separator);
    Fixed4 evaluate(std::string_view formula, const FormulaTexts& texts,
                    const EvaluationOptions& options);
    // Gives back the memory of buffers that a huge text made large.
    void releaseLargeBuffers() noexcept;

  private:
    // The formula by the rewriting itself.
    Fixed4 rewrite(std::string_view formula, const FormulaTexts& texts,
                   const EvaluationOptions& options);
    // The stages over the formula, with everything set up.
    Fixed4 stages(std::string_view formula);
    // The plan for the formula, recorded on its first evaluation; nullptr where it has none.
    Plan* planFor(std::string_view formula, char32_t separator);
    // While recording: the register that stands for a name (index in kNames).
    Fixed4 recordedName(std::size_t index);
    Fixed4 reduced(Fixed4 value) {
        return recorder_ != nullptr ? recorder_->finishReduction(value) : value;
    }

    void summationStage();
    Fixed4 groupsThenReduce(std::u32string_view text);
    void spliceLoneBrackets(TextBuffer& text);
    // shape: the text's letters and stage bits (detail::lettersOf).
    Fixed4 reduce(TextBuffer& text, std::uint32_t shape);
    // False when it found no function to apply (and left the text as it was).
    bool functionStage(TextBuffer& text, std::uint32_t letters);
    // The names' values for a scan that reads them in place (ArithmeticScan::runReadingNames),
    // or false where the substitution stage has to write the text.
    // atoms: whether the text may hold value atoms.
    bool namesReadInPlace(std::u32string_view text, std::uint32_t letters, bool atoms,
                          Fixed4* values);
    void substitutionStage(TextBuffer& text, std::uint32_t letters);
    // Every occurrence of a name, the first at p, replaced by the atom of its text.
    void substitute(TextBuffer& buffer, std::size_t p, std::u32string_view name,
                    std::u32string_view replacement, bool chained);
    // The length of that text, where it could pass a limit (EFormulaTooLong, or, for a text that
    // names further names, the EConvertError its parse would raise); a bound on it elsewhere.
    static std::size_t substitutedSize(std::u32string_view text, std::size_t p,
                                       std::u32string_view name, std::u32string_view replacement,
                                       bool chained);

    void appendAtom(TextBuffer& out, Fixed4 value, Stars stars) const {
        if (recorder_ != nullptr) [[unlikely]] {
            detail::appendAtom(out, detail::kMaxRegisterTag, stars,
                               [value](char32_t* p) { return detail::writeRegisterTag(p, value); });
            return;
        }
        detail::appendAtom(out, value, separator_, stars);
    }
    void checkCancelled() const {
        if (cancel_ != nullptr && cancel_->cancelled()) throw EAbort();
    }
    // A rewrite that leaves `written` characters written and `rest` still to come.
    static void checkLength(std::size_t written, std::size_t rest) {
        if (written + rest > kMaxWorkingText) throw EFormulaTooLong(kMaxWorkingText);
    }
    // For an observer: the whole working text while a rewrite is half done.
    std::u32string_view wholeText(std::u32string_view written, std::u32string_view rest);

    const CancellationToken* cancel_ = nullptr;
    EvaluationObserver* observer_ = nullptr;
    PlanRecorder* recorder_ = nullptr;  // while a plan is recorded
    char32_t separator_ = U'.';
    detail::NameTexts names_;
    detail::ArithmeticScan scan_;

    // Reused buffers; each stage writes only its own, since the summation stage runs the group
    // stage and the group stage runs reductions while their own texts are half rewritten.
    TextBuffer work_;                  // the formula's working text
    TextBuffer summed_;                // the summation stage's text, terms expanded so far
    std::vector<std::size_t> sigmas_;  // positions in summed_ of the "Σ" not yet closed
    TextBuffer body_;                  // a summation term's body, as it stands for every index
    TextBuffer grouped_;               // the group stage's text, groups spliced so far
    std::vector<std::size_t> opens_;   // positions in grouped_ of the "(" not yet closed
    TextBuffer lone_;                  // the group stage's text with its lone "(" spliced
    TextBuffer group_;                 // the content of the group being reduced
    TextBuffer rewritten_;             // where the function and substitution stages write
    TextBuffer observed_;              // the whole text, for an observer
    TextBuffer tag_;                   // a name's register while recording
    PlanCache plans_;
};

// A plan where the text has one and its names hold plain numbers; the rewriting wherever the plan
// cannot tell, from the start, so that a failure comes out as the rewriting meets it.
Fixed4 Engine::evaluate(std::string_view formula, const FormulaTexts& texts,
                        const EvaluationOptions& options) {
    if (options.observer == nullptr && options.plans) {
        if (Plan* plan = planFor(formula, decimalSeparator())) {
            Fixed4 result;
            if (plan->run(texts, options.cancel, result)) return result;
        }
    }
    return rewrite(formula, texts, options);
}

Plan* Engine::planFor(std::string_view formula, char32_t separator) {
    if (PlanCache::Entry* entry = plans_.find(formula, separator)) {
        return entry->plan ? &*entry->plan : nullptr;
    }
    if (formula.size() > kMaxPlannedText) return nullptr;
    try {
        PlanCache::Entry& entry = plans_.add(formula, separator);
        entry.plan = record(formula, separator);
        return entry.plan ? &*entry.plan : nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;  // the rewriting runs without one
    }
}

// The stages run once with register numbers for values (formula/plan.h). A text with a typed "["
// or "]" has none: the scan reads those by rules of their own that a value atom never meets.
std::optional<Plan> Engine::record(std::string_view formula, char32_t separator) {
    if (formula.find_first_of("[]") != std::string_view::npos) return std::nullopt;
    PlanRecorder recorder;
    cancel_ = nullptr;
    observer_ = nullptr;
    recorder_ = &recorder;
    separator_ = separator;
    scan_.setSeparator(separator);
    scan_.setObserver(nullptr);
    scan_.setRecorder(&recorder);
    std::optional<Plan> plan;
    try {
        plan = recorder.finish(stages(formula));
    } catch (...) {
        // Whatever stops the recording (a failure the rewriting would meet, or a construct the
        // plan cannot replay) leaves the text to the rewriting.
        plan.reset();
    }
    recorder_ = nullptr;
    scan_.setRecorder(nullptr);
    return plan;
}

Fixed4 Engine::recordedName(std::size_t index) {
    const Name& name = detail::kNames[index];
    switch (name.source) {
        case detail::NameSource::Value:
            return recorder_->name(name.index);
        case detail::NameSource::Constant:
            return recorder_->name(5u + name.index);
        case detail::NameSource::Counter:
            return recorder_->counter();
        case detail::NameSource::Pi:
            break;
    }
    return recorder_->pi();
}

Fixed4 Engine::rewrite(std::string_view formula, const FormulaTexts& texts,
                       const EvaluationOptions& options) {
    cancel_ = options.cancel;
    observer_ = options.observer;
    separator_ = decimalSeparator();
    names_.reset(texts, separator_);
    scan_.setSeparator(separator_);
    scan_.setObserver(observer_);
    return stages(formula);
}

Fixed4 Engine::stages(std::string_view formula) {
    // Never more characters than bytes; a text that fills the cap and has bytes left is longer.
    work_.clear();
    const std::size_t room = std::min(formula.size(), kMaxWorkingText);
    std::size_t consumed = 0;
    work_.truncate(decodeUtf8Inline(formula, work_.extend(room), room, consumed));
    if (consumed != formula.size()) throw EFormulaTooLong(kMaxWorkingText);

    // One look at the text tells which stages have work: a text without "Σ" skips the
    // summation stage, one without "(" the group stage, and the reduction keeps the letters.
    std::uint32_t shape = detail::lettersOf(work_);
    if (shape & detail::kSigmaBit) {
        summationStage();
        shape = detail::lettersOf(work_);
    }
    if (shape & detail::kOpenBit) return groupsThenReduce(work_);
    return reduce(work_, shape);
}

void Engine::releaseLargeBuffers() noexcept {
    constexpr std::size_t kKeep = std::size_t{1} << 16;
    for (TextBuffer* buffer :
         {&work_, &summed_, &body_, &grouped_, &lone_, &group_, &rewritten_, &observed_, &tag_}) {
        if (buffer->capacity() > kKeep) buffer->release();
    }
    for (std::vector<std::size_t>* stack : {&sigmas_, &opens_}) {
        if (stack->capacity() > kKeep) std::vector<std::size_t>().swap(*stack);
    }
}

std::u32string_view Engine::wholeText(std::u32string_view written, std::u32string_view rest) {
    observed_.assign(written);
    observed_.append(rest);
    return observed_;
}

// Summation terms, innermost first: the first "}" after the first "Σ", with the nearest "Σ"
// before it. Each is replaced by its total as a value atom in brackets. Reading forward, the
// open "Σ"s are a stack and each "}" closes the latest one; a "}" with no "Σ" open is text.
void Engine::summationStage() {
    const std::u32string_view text = work_;
    const std::size_t firstSigma = findChar(text, kSigma);
    if (firstSigma == npos) return;

    TextBuffer& out = summed_;
    out.assign(text.substr(0, firstSigma));
    sigmas_.clear();
    for (std::size_t i = firstSigma; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == kSigma) sigmas_.push_back(out.size());
        if (c != U'}' || sigmas_.empty()) {
            out.push_back(c);
            continue;
        }
        const std::size_t sigma = sigmas_.back();
        sigmas_.pop_back();

        const std::u32string_view term = out.view().substr(sigma);
        const detail::SummationTerm parts = detail::readSummationTerm(term);
        const std::int32_t lower = parseInteger(parts.lower);
        const std::int32_t upper = parseInteger(parts.upper);
        if (observer_) observer_->summationStarted(term, lower, upper);

        // An empty range (lower above upper) is an empty sum; n keeps the upper bound.
        Fixed4 total;
        body_.assign(parts.body);
        if (recorder_ != nullptr) {
            // The body once, n being a register; the plan runs it for every index.
            if (lower <= upper) {
                total = recorder_->startSum(lower, upper);
                recorder_->finishSum(total, groupsThenReduce(body_));
            } else {
                total = recorder_->emptySum(upper);
            }
        } else {
            for (std::int64_t n = lower; n <= upper; ++n) {
                checkCancelled();
                names_.setCounter(static_cast<std::int32_t>(n));
                if (observer_) observer_->summationIndex(static_cast<std::int32_t>(n));
                total = add(total, groupsThenReduce(body_));
            }
        }
        names_.setCounter(upper);

        out.truncate(sigma);
        out.push_back(U'(');
        appendAtom(out, total, {});
        out.push_back(U')');
        checkLength(out.size(), text.size() - i - 1);
        if (observer_) observer_->summationExpanded(total, wholeText(out, text.substr(i + 1)));
    }
    if (!sigmas_.empty()) {
        // A "Σ" with no "}" after it: its bounds are empty texts.
        parseInteger(std::u32string_view());
    }
    work_.swap(out);
}

// Innermost groups first, each reduced on its own and spliced back; then the rest. Reading
// forward, the open "(" are a stack and each ")" closes the latest one. A "(" that no ")" follows
// is a lone "(" (value 0); there are only such ones left once the text is read.
Fixed4 Engine::groupsThenReduce(std::u32string_view text) {
    TextBuffer& out = grouped_;
    const std::size_t firstOpen = findChar(text, U'(');
    out.assign(text.substr(0, firstOpen == npos ? text.size() : firstOpen));
    if (firstOpen == npos) return reduce(out, detail::lettersOf(out));

    out.reserve(text.size());
    opens_.clear();
    for (std::size_t i = firstOpen; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == U'(') opens_.push_back(out.size());
        if (c != U')' || opens_.empty()) {
            out.push_back(c);
            continue;
        }
        const std::size_t open = opens_.back();
        opens_.pop_back();
        group_.assign(out.view().substr(open + 1));
        if (observer_) observer_->groupSelected(group_);
        const Fixed4 value = reduce(group_, detail::lettersOf(group_));

        const char32_t before = open > 0 ? out[open - 1] : kNoCharacter;
        const char32_t after = charAt(text, i + 1);
        out.truncate(open);
        appendAtom(out, value, impliedMultiplication(Replaced::Group, before, after));
        checkLength(out.size(), text.size() - i - 1);
        if (observer_) observer_->groupSpliced(value, wholeText(out, text.substr(i + 1)));
    }
    if (!opens_.empty()) spliceLoneBrackets(out);
    return reduce(out, detail::lettersOf(out));
}

// Every "(" left is lone: from the first one on, each is replaced by the value 0, with the
// characters next to it in the text as it stands then.
void Engine::spliceLoneBrackets(TextBuffer& text) {
    TextBuffer& out = lone_;
    out.clear();
    std::size_t from = 0;
    for (const std::size_t open : opens_) {
        out.append(text.view().substr(from, open - from));
        const std::u32string_view rest = text.view().substr(open + 1);
        if (observer_) observer_->quirk(Quirk::LoneBracket, rest);
        group_.clear();
        if (observer_) observer_->groupSelected(group_);
        const Fixed4 value = reduce(group_, 0);
        const char32_t before = out.empty() ? kNoCharacter : out.back();
        const char32_t after = rest.empty() ? kNoCharacter : rest.front();
        appendAtom(out, value, impliedMultiplication(Replaced::Group, before, after));
        from = open + 1;
        checkLength(out.size(), text.size() - from);
        if (observer_) observer_->groupSpliced(value, wholeText(out, rest));
    }
    out.append(text.view().substr(from));
    text.swap(out);
}

Fixed4 Engine::reduce(TextBuffer& text, std::uint32_t shape) {
    checkCancelled();
    if (observer_) observer_->reductionStarted(text);
    // The letters once per reduction: the function stage only removes letters (the atoms it
    // writes hold none, the separator never being a letter), so the mask stays a safe superset
    // for the substitution stage.
    const std::uint32_t letters = shape & detail::kLetterBits;
    if (letters != 0) {
        std::array<Fixed4, detail::kNames.size()> values;
        const bool atoms = functionStage(text, letters) || (shape & detail::kAtomBit) != 0;
        if (namesReadInPlace(text, letters, atoms, values.data())) {
            return reduced(scan_.runReadingNames(text, values.data()));
        }
        substitutionStage(text, letters);
    }
    return reduced(scan_.run(text));
}

// The substitution stage writes each name as "[" + its text + "]" with the "*"s around it. Where
// every name the text may hold has a plain number for its text, that atom reads as the number's
// value and nothing in the text can fail or grow beyond its cap; where the value atoms already
// in the text are out of the substitution's reach (atomsOutOfReach), they read as before: the
// scan then reads the names where they stand. An observer always sees the stage itself.
bool Engine::namesReadInPlace(std::u32string_view text, std::uint32_t letters, bool atoms,
                              Fixed4* values) {
    // Short enough that the written text could not reach the cap, whatever it holds.
    constexpr std::size_t kMaxText = kMaxWorkingText / (detail::kMaxPlainNumber + 4);
    if (observer_ != nullptr || text.size() > kMaxText || (atoms && !atomsOutOfReach(text))) {
        return false;
    }
    for (unsigned candidates = detail::kNamesPresent(letters); candidates != 0;
         candidates &= candidates - 1) {
        const auto index = static_cast<std::size_t>(std::countr_zero(candidates));
        if (recorder_ != nullptr) {
            values[index] = recordedName(index);  // a plain number, when the plan runs
        } else if (!names_.plainValue(detail::kNames[index], values[index])) {
            return false;
        }
    }
    return true;
}

// Each function name takes the content of the value atom behind it: from one character after
// the name up to the first "]" found from kArgumentSearchStart characters after the name's start.
// The atom written in its place holds no letter, so the next occurrence of the name is behind it.
bool Engine::functionStage(TextBuffer& buffer, std::uint32_t letters) {
    // Every function name holds an "n", an "o" or a "p": a text with none of them holds none.
    constexpr std::uint32_t kInEveryFunction =
        detail::letterBit(U'n') | detail::letterBit(U'o') | detail::letterBit(U'p');
    if ((letters & kInEveryFunction) == 0) return false;
    bool applied = false;
    // The functions whose letters are all in the text, as bits in kFunctions' order.
    for (unsigned candidates = kFunctionsPresent(letters); candidates != 0;
         candidates &= candidates - 1) {
        const FunctionName& f = kFunctions[std::countr_zero(candidates)];
        const std::u32string_view text = buffer;
        std::size_t p = findText(text, f.name);
        if (p == npos) continue;
        const std::size_t length = f.name.size();
        TextBuffer& out = rewritten_;
        out.clear();
        std::size_t from = 0;
        do {
            const std::size_t q = findChar(text, U']', p + kArgumentSearchStart);
            if (q == npos) {
                // No argument will ever close: fail instead of searching forever.
                throw EConvertError::notAFloat(toUtf8(text.substr(p + length)));
            }
            const std::u32string_view argumentText =
                text.substr(p + length + 1, q - (p + length + 1));
            Fixed4 argument;
            Fixed4 value;
            if (recorder_ != nullptr) {
                // Only the atom right behind the name: any other argument text holds a "[".
                if (text[p + length] != U'[') throw detail::NotPlannable();
                value = recorder_->apply(f.function, detail::registerOfTag(argumentText));
            } else {
                argument = detail::parseNumberText(argumentText, separator_);
                value = detail::functionValue(f.function, argument);
            }

            out.append(text.substr(from, p - from));
            const char32_t before = out.empty() ? kNoCharacter : out.back();
            const char32_t after = charAt(text, q + 1);
            appendAtom(out, value,
                       impliedMultiplication(Replaced::FunctionApplication, before, after));
            from = q + 1;
            checkLength(out.size(), text.size() - from);
            if (observer_) {
                observer_->functionApplied(f.name, argument, value,
                                           wholeText(out, text.substr(from)));
            }
            p = findText(text, f.name, from);
        } while (p != npos);
        out.append(text.substr(from));
        buffer.swap(out);
        applied = true;
    }
    return applied;
}

// Each name whose letters the text holds, in kNames' order. A substituted text can bring letters
// for the names still to come.
void Engine::substitutionStage(TextBuffer& buffer, std::uint32_t letters) {
    bool chained = false;
    for (unsigned candidates = detail::kNamesPresent(letters); candidates != 0;
         candidates &= candidates - 1) {
        const auto index = static_cast<std::size_t>(std::countr_zero(candidates));
        const Name& name = detail::kNames[index];
        const std::size_t p = findText(buffer, name.name);
        if (p == npos) continue;
        std::u32string_view replacement;
        if (recorder_ != nullptr) {
            // The atom of the name's register: a plain number, when the plan runs.
            tag_.clear();
            tag_.truncate(detail::writeRegisterTag(tag_.extend(detail::kMaxRegisterTag),
                                                   recordedName(index)));
            replacement = tag_;
        } else {
            replacement = names_.text(name);
        }
        if (findText(replacement, name.name) != npos) {
            // The text would name itself again after every substitution and grow forever.
            throw EConvertError::notAFloat(toUtf8(replacement));
        }
        const std::uint32_t replacementLetters = recorder_ != nullptr ? 0 : names_.letters(name);
        if ((letters | replacementLetters) != letters) {
            letters |= replacementLetters;
            candidates |= detail::kNamesPresent(letters) & ~((2u << index) - 1);
        }
        chained = chained || (replacementLetters & detail::kNameLetters) != 0;
        substitute(buffer, p, name.name, replacement, chained);
    }
}

// One pass: the text put in never holds the name, so the next occurrence in the rewritten text is
// the next one in the old text, and the character before it is the last one written.
void Engine::substitute(TextBuffer& buffer, std::size_t p, std::u32string_view name,
                        std::u32string_view replacement, bool chained) {
    const std::u32string_view text = buffer;
    TextBuffer& out = rewritten_;
    out.clear();
    out.reserve(substitutedSize(text, p, name, replacement, chained));
    std::size_t from = 0;
    std::size_t occurrences = 0;
    for (std::size_t k = p; k != npos; k = findText(text, name, from)) {
        ++occurrences;
        out.append(text.substr(from, k - from));
        const char32_t before = out.empty() ? kNoCharacter : out.back();
        const char32_t after = charAt(text, k + name.size());
        detail::appendAtom(out, replacement, impliedMultiplication(Replaced::Name, before, after));
        from = k + name.size();
    }
    out.append(text.substr(from));
    buffer.swap(out);
    if (observer_) observer_->nameSubstituted(name, replacement, occurrences, buffer);
}

// With a "*" on both sides of every atom at most. A text too short to pass a limit even if every
// character began an occurrence is not counted; otherwise, when the count could pass one, the
// exact length is worked out.
std::size_t Engine::substitutedSize(std::u32string_view text, std::size_t p,
                                    std::u32string_view name, std::u32string_view replacement,
                                    bool chained) {
    const std::size_t length = name.size();
    const std::size_t grown = replacement.size() + 4 - length;
    const std::size_t limit = chained ? kMaxChainedText : kMaxWorkingText;
    std::size_t size = text.size() + text.size() / length * grown;
    if (size <= limit) return size;
    std::size_t count = 0;
    for (std::size_t k = p; k != npos; k = findText(text, name, k + length))
        ++count;
    size = text.size() + count * grown;
    if (size <= limit) return size;

    size = text.size();
    char32_t previousEnd = kNoCharacter;  // the last character of the atom before, when adjacent
    std::size_t previousStop = npos;
    for (std::size_t k = p; k != npos; k = findText(text, name, k + length)) {
        const char32_t before = k == previousStop ? previousEnd
                                : k > 0           ? text[k - 1]
                                                  : kNoCharacter;
        const Stars stars = impliedMultiplication(Replaced::Name, before, charAt(text, k + length));
        size += replacement.size() + 2 - length + stars.before + stars.after;
        previousEnd = stars.after ? U'*' : U']';
        previousStop = k + length;
    }
    if (chained && size > kMaxChainedText) throw EConvertError::notAFloat(toUtf8(replacement));
    if (size > kMaxWorkingText) throw EFormulaTooLong(kMaxWorkingText);
    return size;
}

Engine& threadEngine() {
    thread_local Engine engine;
    return engine;
}

}  // namespace

std::optional<std::size_t> detail::recordedPlanSize(std::string_view formula) {
    if (formula.size() > kMaxPlannedText) return std::nullopt;
    const std::optional<Plan> plan = threadEngine().record(formula, decimalSeparator());
    if (!plan) return std::nullopt;
    return plan->size();
}

Fixed4 EvaluateFormula(std::string_view formula, const FormulaTexts& texts,
                       const EvaluationOptions& options) {
    Engine& engine = threadEngine();
    try {
        return engine.evaluate(formula, texts, options);
    } catch (const std::bad_alloc&) {
        engine.releaseLargeBuffers();
        throw EOutOfMemory();
    } catch (const std::length_error&) {
        engine.releaseLargeBuffers();
        throw EOutOfMemory();
    }
}

}  // namespace kurvilo
