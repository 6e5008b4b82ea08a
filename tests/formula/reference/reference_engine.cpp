// SPDX-License-Identifier: MIT
// The formula engine as it stood before it was made linear, kept unchanged as a reference that the
// tests compare the engine with, result for result and failure for failure. A formula is evaluated
// by rewriting its text, never by building a tree:
//
//   1. summation terms are expanded, innermost and leftmost first, to "([total])";
//   2. while a "(" is left, the innermost group (the first ")" after the first "(", with the
//      nearest "(" before it) is reduced on its own and spliced back as a value atom "[v]";
//   3. the bracket-free rest is reduced once more; its sum accumulator is the result.
//
// A reduction runs the function stage (each function name applied to the value atom behind it),
// the substitution stage (each name replaced by "[" + its text + "]") and one left-to-right
// arithmetic scan with a product phase and a sum phase. Wherever a value atom replaces a stretch
// of text, a "*" is written next to it when implied multiplication asks for one.
//
// The working text is UTF-32 so that "Σ", "π" and "θ" are one unit each and positions and
// neighbours come out right. Buffers live in a per-thread engine and are reused across calls.
#include "formula/reference/reference_engine.h"

#include <cstdint>
#include <string>
#include <vector>

#include "numbers/elementary.h"
#include "numbers/failures.h"
#include "numbers/integer_text.h"
#include "numbers/separator.h"
#include "numbers/utf8.h"

namespace kurvilo::reference {

namespace {

constexpr char32_t kSigma = U'\u03A3';
constexpr char32_t kPi = U'\u03C0';
constexpr char32_t kTheta = U'\u03B8';
// "No character": before the start or past the end of a text. Outside Unicode, so that no
// character of a text (not even NUL) is mistaken for it.
constexpr char32_t kNone = 0xFFFFFFFF;

// Substitution can grow the text without bound only through texts that themselves name other
// names (each x naming many y's, each y many t's, ...). Such a text is never a number, so once
// a chain like that has made the text this large, the substitution fails the way its parse would.
constexpr std::size_t kMaxChainedText = std::size_t{1} << 22;

// Letters the stages look for, as bits, so a stage can skip names whose letters are absent.
constexpr std::uint32_t letterBit(char32_t c) noexcept {
    switch (c) {
        case U'a':
            return 1u << 0;
        case U'b':
            return 1u << 1;
        case U'c':
            return 1u << 2;
        case U'd':
            return 1u << 3;
        case U'e':
            return 1u << 4;
        case U'g':
            return 1u << 5;
        case U'i':
            return 1u << 6;
        case U'l':
            return 1u << 7;
        case U'n':
            return 1u << 8;
        case U'o':
            return 1u << 9;
        case U'p':
            return 1u << 10;
        case U'r':
            return 1u << 11;
        case U's':
            return 1u << 12;
        case U't':
            return 1u << 13;
        case U'v':
            return 1u << 14;
        case U'x':
            return 1u << 15;
        case U'y':
            return 1u << 16;
        case kPi:
            return 1u << 17;
        case kTheta:
            return 1u << 18;
        default:
            return 0;
    }
}

std::uint32_t lettersOf(std::u32string_view text) noexcept {
    std::uint32_t mask = 0;
    for (char32_t c : text)
        mask |= letterBit(c);
    return mask;
}

constexpr std::uint32_t lettersOfName(std::u32string_view name) noexcept {
    std::uint32_t mask = 0;
    for (char32_t c : name)
        mask |= letterBit(c);
    return mask;
}

inline bool isOperator(char32_t c) noexcept {
    return c == U'*' || c == U'/' || c == U'+' || c == U'-' || c == U'^';
}

inline bool isDigitOrPoint(char32_t c) noexcept {
    return (c >= U'0' && c <= U'9') || c == U'.';
}

enum class Function { Sine, Cosine, Tangent, Log, Exp };

struct FunctionName {
    std::u32string_view name;
    Function function;
    std::uint32_t letters;
};

// The order the function stage tries them in; "log" and "ln" are the same function.
constexpr FunctionName kFunctions[] = {
    {U"sin", Function::Sine, lettersOfName(U"sin")},
    {U"cos", Function::Cosine, lettersOfName(U"cos")},
    {U"tan", Function::Tangent, lettersOfName(U"tan")},
    {U"log", Function::Log, lettersOfName(U"log")},
    {U"exp", Function::Exp, lettersOfName(U"exp")},
    {U"ln", Function::Log, lettersOfName(U"ln")},
};

// Where a name's text comes from: a value slot, a constant, the counter n or π.
enum class Source : unsigned char { Value, Constant, Counter, Pi };

struct Name {
    std::u32string_view name;
    Source source;
    unsigned char index;
    std::uint32_t letters;
};

// The substitution order: every two-character name before the one-character name inside it.
constexpr Name kNames[] = {
    {U"vx", Source::Value, 0, lettersOfName(U"vx")},
    {U"x", Source::Value, 1, lettersOfName(U"x")},
    {U"vy", Source::Value, 2, lettersOfName(U"vy")},
    {U"y", Source::Value, 3, lettersOfName(U"y")},
    {U"t", Source::Value, 4, lettersOfName(U"t")},
    {U"vr", Source::Value, 2, lettersOfName(U"vr")},
    {U"r", Source::Value, 3, lettersOfName(U"r")},
    {U"v\u03B8", Source::Value, 0, lettersOfName(U"v\u03B8")},
    {U"\u03B8", Source::Value, 1, lettersOfName(U"\u03B8")},
    {U"n", Source::Counter, 0, lettersOfName(U"n")},
    {U"\u03C0", Source::Pi, 0, lettersOfName(U"\u03C0")},
    {U"a", Source::Constant, 0, lettersOfName(U"a")},
    {U"b", Source::Constant, 1, lettersOfName(U"b")},
    {U"c", Source::Constant, 2, lettersOfName(U"c")},
    {U"d", Source::Constant, 3, lettersOfName(U"d")},
};

constexpr std::uint32_t namesLetters() noexcept {
    std::uint32_t mask = 0;
    for (const Name& name : kNames)
        mask |= name.letters;
    return mask;
}
// A substituted text with any of these letters may name further names.
constexpr std::uint32_t kNameLetters = namesLetters();

// The arithmetic forms of the scan, in units, each ending with the rounding rule.

Fixed4 scanProduct(Fixed4 left, Fixed4 right) {
    const auto l = static_cast<Extended>(left.units());
    const auto r = static_cast<Extended>(right.units());
    if (right.units() >= 0) return roundUnits(l * r / 10000.0L);
    return roundUnits((-r / 10000.0L) * -l);
}

Fixed4 scanQuotient(Fixed4 left, Fixed4 right) {
    const auto l = static_cast<Extended>(left.units());
    const auto r = static_cast<Extended>(right.units());
    if (right.units() == 0) {
        if (left.units() == 0) throw EInvalidOp();
        throw EZeroDivide();
    }
    if (right.units() > 0) return roundUnits(l / r * 10000.0L);
    return roundUnits(-l / (-r / 10000.0L));
}

// s + r (plus true) or s - r (plus false), by way of |r| ÷ 10000 × 10000: exact while the values
// stay below 10^14, and rounded like the rest beyond.
Fixed4 scanSum(Fixed4 sum, Fixed4 right, bool plus) {
    const auto s = static_cast<Extended>(sum.units());
    const auto r = static_cast<Extended>(right.units());
    const Extended magnitude = (right.units() >= 0 ? r : -r) / 10000.0L * 10000.0L;
    const bool addMagnitude = plus == (right.units() >= 0);
    return roundUnits(addMagnitude ? s + magnitude : s - magnitude);
}

// The power of a positive base: e^(ln(b) × e), all in extended reals.
Fixed4 positivePower(Extended base, Fixed4 exponent) {
    const Extended logBase = naturalLog(base / 10000.0L);
    const Extended scaled = logBase * static_cast<Extended>(exponent.units()) / 10000.0L;
    return roundUnits(toUnits(exponential(scaled)));
}

class Engine {
  public:
    Fixed4 evaluate(std::string_view formula, const FormulaTexts& inputs);

  private:
    struct Term {
        Fixed4 value;
        char32_t op;  // '+', '-', or kNone after the last term
    };

    void summationStage(std::u32string& text);
    Fixed4 groupsThenReduce(std::u32string& text);
    Fixed4 reduce(std::u32string& text);
    void functionStage(std::u32string& text, std::uint32_t letters);
    void substitutionStage(std::u32string& text, std::uint32_t letters);
    Fixed4 scan(std::u32string& text);

    const std::u32string& nameText(const Name& name);
    std::uint32_t nameTextLetters(const Name& name);
    Fixed4 parseNumberText() const;
    void writeAtom(std::u32string& out, Fixed4 value, bool starBefore, bool starAfter) const;

    const FormulaTexts* inputs_ = nullptr;
    char32_t separator_ = U'.';
    std::int32_t counter_ = 0;

    // Name texts, converted on first use in a call.
    std::u32string valueTexts_[5];
    std::u32string constantTexts_[4];
    std::uint32_t valueLetters_[5] = {};
    std::uint32_t constantLetters_[4] = {};
    unsigned convertedValues_ = 0;
    unsigned convertedConstants_ = 0;
    std::u32string counterText_;
    std::u32string piText_;

    // Reused buffers.
    std::u32string work_;
    std::u32string group_;
    std::u32string body_;
    std::u32string atom_;
    std::u32string rewritten_;
    std::u32string numberText_;
    bool numberIsLiteral_ = false;
    std::vector<Term> terms_;
};

Fixed4 Engine::evaluate(std::string_view formula, const FormulaTexts& inputs) {
    inputs_ = &inputs;
    separator_ = decimalSeparator();
    counter_ = 0;
    convertedValues_ = 0;
    convertedConstants_ = 0;
    counterText_.assign(U"0");
    piText_.clear();

    work_.clear();
    appendUtf32(work_, formula);
    summationStage(work_);
    return groupsThenReduce(work_);
}

const std::u32string& Engine::nameText(const Name& name) {
    switch (name.source) {
        case Source::Value:
            if (!(convertedValues_ & (1u << name.index))) {
                valueTexts_[name.index].clear();
                appendUtf32(valueTexts_[name.index], inputs_->values[name.index]);
                valueLetters_[name.index] = lettersOf(valueTexts_[name.index]);
                convertedValues_ |= 1u << name.index;
            }
            return valueTexts_[name.index];
        case Source::Constant:
            if (!(convertedConstants_ & (1u << name.index))) {
                constantTexts_[name.index].clear();
                appendUtf32(constantTexts_[name.index], inputs_->constants[name.index]);
                constantLetters_[name.index] = lettersOf(constantTexts_[name.index]);
                convertedConstants_ |= 1u << name.index;
            }
            return constantTexts_[name.index];
        case Source::Counter:
            return counterText_;
        case Source::Pi:
            break;
    }
    if (piText_.empty()) appendText(piText_, Fixed4::fromUnits(31416));
    return piText_;
}

std::uint32_t Engine::nameTextLetters(const Name& name) {
    nameText(name);
    switch (name.source) {
        case Source::Value:
            return valueLetters_[name.index];
        case Source::Constant:
            return constantLetters_[name.index];
        case Source::Counter:
        case Source::Pi:
            break;
    }
    return 0;  // digits, a sign and the separator only
}

// Summation terms, innermost first: the first "}" after the first "Σ", with the nearest "Σ"
// before it. Each is replaced by its total as a value atom in brackets.
void Engine::summationStage(std::u32string& text) {
    for (;;) {
        std::size_t sigma = text.find(kSigma);
        if (sigma == std::u32string::npos) return;
        const std::size_t end = text.find(U'}', sigma + 1);
        std::u32string_view lowerText;
        std::u32string_view upperText;
        std::u32string_view bodyText;
        if (end != std::u32string::npos) {
            sigma = text.rfind(kSigma, end);
            // "Σ{n=" lower "<>" upper ":" body "}": the three characters after "Σ" are skipped.
            const std::u32string_view term(text.data() + sigma, end - sigma);
            const std::size_t between = term.find(U"<>");
            if (between != std::u32string_view::npos) {
                if (between > 4) lowerText = term.substr(4, between - 4);
                const std::size_t colon = term.find(U':');
                if (colon != std::u32string_view::npos) {
                    if (colon > between + 2)
                        upperText = term.substr(between + 2, colon - between - 2);
                    bodyText = term.substr(colon + 1);
                }
            }
        }
        const std::int32_t lower = parseInteger(lowerText);
        const std::int32_t upper = parseInteger(upperText);

        // An empty range (lower above upper) is an empty sum; n keeps the upper bound.
        Fixed4 total;
        const std::u32string bodyCopy(bodyText);
        for (std::int64_t n = lower; n <= upper; ++n) {
            counter_ = static_cast<std::int32_t>(n);
            counterText_.clear();
            appendIntegerText(counterText_, counter_);
            body_.assign(bodyCopy);
            total = add(total, groupsThenReduce(body_));
        }
        counter_ = upper;
        counterText_.clear();
        appendIntegerText(counterText_, counter_);

        atom_.assign(U"([");
        appendText(atom_, total);
        atom_.append(U"])");
        text.replace(sigma, end - sigma + 1, atom_);
    }
}

// Innermost groups first, each reduced on its own and spliced back; then the rest.
Fixed4 Engine::groupsThenReduce(std::u32string& text) {
    for (;;) {
        const std::size_t first = text.find(U'(');
        if (first == std::u32string::npos) break;
        std::size_t open = first;
        std::size_t close = text.find(U')', first + 1);
        if (close == std::u32string::npos) {
            close = open;  // a lone "(" is the empty group, value 0
            group_.clear();
        } else {
            open = text.rfind(U'(', close);
            group_.assign(text, open + 1, close - open - 1);
        }
        const Fixed4 value = reduce(group_);

        const char32_t before = open > 0 ? text[open - 1] : kNone;
        const char32_t after = close + 1 < text.size() ? text[close + 1] : kNone;
        // Behind a function name ("s", "n", "g", "p") the group stays its argument.
        const bool starBefore =
            !(before == kNone || isOperator(before) || before == U'(' || before == U's' ||
              before == U'n' || before == U'g' || before == U'p');
        const bool starAfter = !(after == kNone || isOperator(after) || after == U')');
        atom_.clear();
        writeAtom(atom_, value, starBefore, starAfter);
        text.replace(open, close - open + 1, atom_);
    }
    return reduce(text);
}

void Engine::writeAtom(std::u32string& out, Fixed4 value, bool starBefore, bool starAfter) const {
    char32_t buffer[kMaxFixed4Chars];
    const std::size_t length = formatTo(buffer, value, separator_);
    if (starBefore) out.push_back(U'*');
    out.push_back(U'[');
    out.append(buffer, length);
    out.push_back(U']');
    if (starAfter) out.push_back(U'*');
}

Fixed4 Engine::reduce(std::u32string& text) {
    const std::uint32_t letters = lettersOf(text);
    if (letters != 0) {
        functionStage(text, letters);
        substitutionStage(text, lettersOf(text));
    }
    return scan(text);
}

// Each function name takes the content of the value atom behind it: from one character after
// the name up to the first "]" more than three characters after the name's start.
void Engine::functionStage(std::u32string& text, std::uint32_t letters) {
    for (const FunctionName& f : kFunctions) {
        if ((letters & f.letters) != f.letters) continue;
        for (;;) {
            const std::size_t p = text.find(f.name);
            if (p == std::u32string::npos) break;
            const std::size_t length = f.name.size();
            const std::size_t q = text.find(U']', p + 4);
            if (q == std::u32string::npos) {
                // No argument will ever close: fail instead of searching forever.
                throw EConvertError::notAFloat(
                    toUtf8(std::u32string_view(text).substr(p + length)));
            }
            const std::u32string_view argumentText =
                std::u32string_view(text).substr(p + length + 1, q - (p + length + 1));
            const Extended x = parseFixed4(argumentText, separator_).value();
            Extended result = 0.0L;
            switch (f.function) {
                case Function::Sine:
                    result = sine(x);
                    break;
                case Function::Cosine:
                    result = cosine(x);
                    break;
                case Function::Tangent:
                    result = tangent(x);
                    break;
                case Function::Log:
                    result = naturalLog(x);
                    break;
                case Function::Exp:
                    result = exponential(x);
                    break;
            }
            const Fixed4 value = roundUnits(toUnits(result));

            const char32_t before = p > 0 ? text[p - 1] : kNone;
            const char32_t after = q + 1 < text.size() ? text[q + 1] : kNone;
            const bool starBefore =
                !(before == kNone || isOperator(before) || before == U'(' || after == U'^');
            const bool starAfter = !(after == kNone || isOperator(after) || after == U')');
            atom_.clear();
            writeAtom(atom_, value, starBefore, starAfter);
            text.replace(p, q - p + 1, atom_);
        }
    }
}

// Every occurrence of a name is replaced in one pass: the text put in never holds the name, so
// the next occurrence in the rewritten text is the next one in the old text, and the character
// before it is the last one written.
void Engine::substitutionStage(std::u32string& text, std::uint32_t letters) {
    bool chained = false;
    for (const Name& name : kNames) {
        if ((letters & name.letters) != name.letters) continue;
        std::size_t p = text.find(name.name);
        if (p == std::u32string::npos) continue;
        const std::u32string& replacement = nameText(name);
        if (replacement.find(name.name) != std::u32string::npos) {
            // The text would name itself again after every substitution and grow forever.
            throw EConvertError::notAFloat(toUtf8(replacement));
        }
        const std::uint32_t replacementLetters = nameTextLetters(name);
        letters |= replacementLetters;
        chained = chained || (replacementLetters & kNameLetters) != 0;

        const std::size_t length = name.name.size();
        rewritten_.clear();
        std::size_t from = 0;
        do {
            rewritten_.append(text, from, p - from);
            const char32_t before = rewritten_.empty() ? kNone : rewritten_.back();
            const char32_t after = p + length < text.size() ? text[p + length] : kNone;
            const bool starBefore =
                !(before == kNone || isOperator(before) || before == U'(' || after == U'^');
            const bool starAfter = !(after == kNone || isOperator(after) || after == U')');
            if (starBefore) rewritten_.push_back(U'*');
            rewritten_.push_back(U'[');
            rewritten_.append(replacement);
            rewritten_.push_back(U']');
            if (starAfter) rewritten_.push_back(U'*');
            from = p + length;
            if (chained && rewritten_.size() + (text.size() - from) > kMaxChainedText) {
                throw EConvertError::notAFloat(toUtf8(replacement));
            }
            p = text.find(name.name, from);
        } while (p != std::u32string::npos);
        rewritten_.append(text, from);
        text.swap(rewritten_);
    }
}

Fixed4 Engine::parseNumberText() const {
    // Digit runs typed in the formula always use "."; value atoms hold texts in the process-wide
    // separator, like every other value text.
    return parseFixed4(numberText_, numberIsLiteral_ ? U'.' : separator_);
}

// The arithmetic scan. The operator stack's top is its last element.
Fixed4 Engine::scan(std::u32string& text) {
    char32_t stackStorage[64];
    std::u32string overflowStack;  // only for texts with more pending operators than that
    std::size_t depth = 0;
    auto top = [&]() -> char32_t {
        if (depth == 0) return kNone;
        return depth <= 64 ? stackStorage[depth - 1] : overflowStack.back();
    };
    auto push = [&](char32_t op) {
        if (depth < 64) {
            stackStorage[depth] = op;
        } else {
            overflowStack.push_back(op);
        }
        ++depth;
    };
    auto pop = [&]() {
        if (depth > 64) overflowStack.pop_back();
        --depth;
    };

    Fixed4 current, productLeft, quotientLeft, powerBase, sum;
    bool firstTermSeen = false;
    bool sumPhase = false;
    numberText_.clear();
    terms_.clear();

    // Step 8: an operand has been read into the number text (or, in the sum phase, is `atom`),
    // and it is not followed by "^". Returns false when the scan ends at once (a negative base
    // with a fractional exponent).
    auto completeOperand = [&](const Fixed4* atom) -> bool {
        bool havePower = false;
        Fixed4 power;
        if (top() == U'^') {
            const std::int64_t b = powerBase.units();
            if (b == 0) {
                power = Fixed4();  // any power of 0 is 0; the exponent is not even read
            } else {
                const Fixed4 exponent = atom ? *atom : parseNumberText();
                if (b > 0) {
                    power = positivePower(static_cast<Extended>(b), exponent);
                } else {
                    if (exponent.units() % 10000 != 0) return false;
                    const Fixed4 m = positivePower(-static_cast<Extended>(b), exponent);
                    const bool odd = (exponent.units() / 10000) % 2 != 0;
                    power = odd ? Fixed4::fromUnits(-m.units()) : m;
                }
            }
            havePower = true;
            pop();
        }
        current = havePower ? power : atom ? *atom : parseNumberText();
        numberText_.clear();
        if (sumPhase && !firstTermSeen && sum.units() == 0) {
            sum = current;
            firstTermSeen = true;
        }
        switch (top()) {
            case U'*':
                current = scanProduct(productLeft, current);
                pop();
                break;
            case U'/':
                current = scanQuotient(quotientLeft, current);
                pop();
                break;
            case U'+':
                sum = scanSum(sum, current, true);
                pop();
                break;
            case U'-':
                sum = scanSum(sum, current, false);
                pop();
                break;
            default:
                break;
        }
        return true;
    };

    // Product phase, over the text.
    std::size_t i = 0;
    // An operand followed by "^" becomes the power base (a chain keeps only the last one).
    auto operandRead = [&]() -> bool {
        if (i < text.size() && text[i] == U'^') {
            powerBase = parseNumberText();
            push(U'^');
            numberText_.clear();
            ++i;
            return true;
        }
        return completeOperand(nullptr);
    };
    for (;;) {
        const std::size_t n = text.size();
        const char32_t c = i < n ? text[i] : kNone;
        if (isDigitOrPoint(c)) {
            std::size_t j = i;
            while (j < n && isDigitOrPoint(text[j]))
                ++j;
            numberText_.append(text, i, j - i);
            numberIsLiteral_ = true;
            i = j;
            if (!operandRead()) return sum;
        } else if (c == U'*') {
            productLeft = current;
            ++i;
            push(U'*');
        } else if (c == U'/') {
            quotientLeft = current;
            ++i;
            push(U'/');
        } else if (c == U'[') {
            ++i;
            while (i < text.size() && text[i] == U'[') {
                const std::size_t close = text.find(U']', i);
                if (close != std::u32string::npos) text.erase(close, 1);
                text.erase(i, 1);
            }
            const std::size_t close = text.find(U']', i);
            const std::size_t stop = close == std::u32string::npos ? text.size() : close;
            numberText_.assign(text, i, stop - i);
            numberIsLiteral_ = false;
            i = close == std::u32string::npos ? stop : stop + 1;
            if (!operandRead()) return sum;
        } else if (c == U'-' && top() == U'^') {
            // The sign of the exponent that follows.
            numberText_.assign(U"-");
            numberIsLiteral_ = true;
            ++i;
        } else if (c == U'+' || c == U'-') {
            terms_.push_back({current, c});
            current = Fixed4();
            ++i;
        } else {
            // The end, or a character the scan does not know: the rest is dropped.
            terms_.push_back({current, kNone});
            break;
        }
    }

    // Sum phase, over the term list "[v]op[v]op...[v]".
    sumPhase = true;
    for (const Term& term : terms_) {
        if (!completeOperand(&term.value)) return sum;
        if (term.op == kNone) break;
        // A "-" right after a pending "^" would be an exponent's sign, replaced by the next atom.
        if (!(term.op == U'-' && top() == U'^')) push(term.op);
    }
    return sum;
}

}  // namespace

Fixed4 ReferenceEvaluateFormula(std::string_view formula, const FormulaTexts& inputs) {
    thread_local Engine engine;
    return engine.evaluate(formula, inputs);
}

}  // namespace kurvilo::reference
