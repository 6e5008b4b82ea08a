// SPDX-License-Identifier: MIT
// The formula notes. A formula is read here in the engine's order, without rewriting it:
//
//   1. summation terms: each "Σ" with the "}" that closes it (the latest "Σ" still open), its
//      bounds and body read as the engine reads them; the text outside every term and each
//      body are segments of their own, a term standing in its segment as one bracketed value;
//   2. per segment, tokens: numbers, names and function names (and the letters that are
//      neither), operators, brackets, and the characters that end the reading;
//   3. brackets paired as the group stage pairs them; each pair's content, and the segment
//      around the pairs, is one reduction;
//   4. per reduction, the operands and operators in a row, where each quirk of the scan shows
//      as a pattern of neighbours ('2x^2': a number, a name, "^", an operand).
//
// Every step looks at each character a bounded number of times, with no recursion, so any text
// the window holds gets its notes at once.
#include "formula/notes.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "formula/evaluate.h"
#include "formula/names.h"
#include "formula/summation_term.h"
#include "numbers/failures.h"
#include "numbers/fixed4.h"
#include "numbers/integer_text.h"
#include "numbers/utf8.h"

namespace kurvilo {

namespace {

using detail::kFunctionNames;
using detail::kNames;
using detail::kPi;
using detail::kSigma;
using detail::kTheta;
using detail::NameSource;
using detail::npos;

// ---------------------------------------------------------------------------------------------
// Characters

constexpr bool isDigit(char32_t c) noexcept {
    return c >= U'0' && c <= U'9';
}

constexpr bool isAsciiLetter(char32_t c) noexcept {
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
}

// The letters that make up names: ASCII, π and θ.
constexpr bool isLetter(char32_t c) noexcept {
    return isAsciiLetter(c) || c == kPi || c == kTheta;
}

constexpr bool isOperator(char32_t c) noexcept {
    return c == U'+' || c == U'-' || c == U'*' || c == U'/' || c == U'^';
}

constexpr bool isBlank(char32_t c) noexcept {
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\r' || c == U'\v' || c == U'\f' ||
           c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 ||
           c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

constexpr char32_t kIdeographicSpace = 0x3000;

// The full-width forms of the ASCII characters "!" to "~".
constexpr bool isFullWidthForm(char32_t c) noexcept {
    return c >= 0xFF01 && c <= 0xFF5E;
}

constexpr char32_t asciiOfFullWidth(char32_t c) noexcept {
    return c - 0xFEE0;
}

// A comma of any width, and the ideographic one an input method gives for ",".
constexpr bool isComma(char32_t c) noexcept {
    return c == U',' || c == 0xFF0C || c == 0x3001;
}

struct LookAlike {
    char32_t c;
    std::u32string_view meant;
};

// Characters other than the full-width forms that look like, or are typed for, a character of
// the language.
constexpr LookAlike kLookAlikes[] = {
    {0x00D7, U"*"},       // ×
    {0x00B7, U"*"},       // ·
    {0x22C5, U"*"},       // ⋅
    {0x2217, U"*"},       // ∗
    {0x30FB, U"*"},       // ・
    {0x00F7, U"/"},       // ÷
    {0x2215, U"/"},       // ∕
    {0x2212, U"-"},       // − (minus sign)
    {0x2010, U"-"},       // ‐
    {0x2011, U"-"},       // ‑
    {0x2012, U"-"},       // ‒
    {0x2013, U"-"},       // –
    {0x2014, U"-"},       // —
    {0x2015, U"-"},       // ―
    {0x30FC, U"-"},       // ー, what "-" gives in an input method's Japanese mode
    {0xFF70, U"-"},       // ｰ
    {0x02C6, U"^"},       // ˆ
    {0x3002, U"."},       // 。, what "." gives in an input method's Japanese mode
    {0xFF61, U"."},       // ｡
    {0x2211, U"\u03A3"},  // ∑ (n-ary summation) for Σ
    {0x03A0, U"\u03C0"},  // Π for π
    {0x0398, U"\u03B8"},  // Θ for θ
    {0x03D1, U"\u03B8"},  // ϑ
    {0x03F4, U"\u03B8"},  // ϴ
    {0x00B2, U"^2"},      // ²
    {0x00B3, U"^3"},      // ³
};

// What a look-alike stands for, or nothing.
std::u32string lookAlikeOf(char32_t c) {
    if (isFullWidthForm(c)) return std::u32string(1, asciiOfFullWidth(c));
    for (const LookAlike& entry : kLookAlikes) {
        if (entry.c == c) return std::u32string(entry.meant);
    }
    return {};
}

// ---------------------------------------------------------------------------------------------
// Words: the letters between other characters, read as names, function names and the rest.

struct KnownWord {
    std::u32string_view word;
    std::u32string_view suggestion;  // the nearest the language has; empty: nothing
    bool fixable;
};

// Words of other formula languages, with what this one has in their place.
constexpr KnownWord kKnownWords[] = {
    {U"pi", U"\u03C0", true},
    {U"theta", U"\u03B8", true},
    {U"sum", U"\u03A3{n=\u2026<>\u2026:\u2026}", false},
    {U"sqrt", U"^0.5", false},
    {U"cbrt", U"^(1/3)", false},
    {U"pow", U"^", false},
    {U"e", U"exp(\u2026)", false},
    {U"abs", U"((\u2026)^2)^0.5", false},
    {U"lg", U"ln(\u2026)/ln(10)", false},
    {U"sec", U"1/cos(\u2026)", false},
    {U"csc", U"1/sin(\u2026)", false},
    {U"cot", U"1/tan(\u2026)", false},
    {U"sinh", U"", false},
    {U"cosh", U"", false},
    {U"tanh", U"", false},
    {U"arcsin", U"", false},
    {U"arccos", U"", false},
    {U"arctan", U"", false},
    {U"max", U"", false},
    {U"min", U"", false},
    {U"mod", U"", false},
    {U"int", U"", false},
    {U"floor", U"", false},
    {U"ceil", U"", false},
    {U"round", U"", false},
    {U"sgn", U"", false},
    {U"sign", U"", false},
};

// Where e in a number like 1e3 would stand for a power of ten.
constexpr std::u32string_view kPowerOfTen = U"*10^";

constexpr char32_t lowerCase(char32_t c) noexcept {
    return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
}

bool hasUpperCase(std::u32string_view word) noexcept {
    return std::any_of(word.begin(), word.end(), [](char32_t c) { return c >= U'A' && c <= U'Z'; });
}

int functionIndex(std::u32string_view word) noexcept {
    for (std::size_t k = 0; k < kFunctionNames.size(); ++k) {
        if (kFunctionNames[k] == word) return static_cast<int>(k);
    }
    return -1;
}

int nameIndex(std::u32string_view word) noexcept {
    for (std::size_t k = 0; k < kNames.size(); ++k) {
        if (kNames[k].name == word) return static_cast<int>(k);
    }
    return -1;
}

const KnownWord* knownWord(std::u32string_view word) noexcept {
    for (const KnownWord& known : kKnownWords) {
        if (known.word == word) return &known;
    }
    return nullptr;
}

// Whether the letters read completely as names and function names, as the engine reads them: a
// word like "arcsin" is then a product (a·r·c·sin) and stops no reading.
bool readsAsNames(std::u32string_view word) {
    std::vector<bool> reachable(word.size() + 1, false);
    reachable[0] = true;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (!reachable[i]) continue;
        for (const std::u32string_view f : kFunctionNames) {
            if (word.substr(i).starts_with(f)) reachable[i + f.size()] = true;
        }
        for (const detail::Name& name : kNames) {
            if (word.substr(i).starts_with(name.name)) reachable[i + name.name.size()] = true;
        }
    }
    return reachable[word.size()];
}

// One piece of a run of letters.
struct Piece {
    enum class Kind { Name, Function, Word } kind = Kind::Word;
    std::size_t begin = 0;  // in the run
    std::size_t length = 0;
    int index = -1;  // kNames or kFunctionNames
    std::u32string suggestion;
    bool fixable = false;
    bool known = false;  // a word of the table or a name in other letter case
};

// The longest piece at position i of a run: a function name or a name of the language, a word of
// another formula language, or one of those in other letter case; a name of the language wins a
// tie. Nothing known: one unknown letter.
Piece pieceAt(std::u32string_view run, std::size_t i) {
    Piece best;
    best.begin = i;
    const std::u32string_view rest = run.substr(i);
    for (std::size_t k = 0; k < kFunctionNames.size(); ++k) {
        if (rest.starts_with(kFunctionNames[k]) && kFunctionNames[k].size() > best.length) {
            best = {Piece::Kind::Function,
                    i,
                    kFunctionNames[k].size(),
                    static_cast<int>(k),
                    {},
                    false,
                    false};
        }
    }
    for (std::size_t k = 0; k < kNames.size(); ++k) {
        if (rest.starts_with(kNames[k].name) && kNames[k].name.size() > best.length) {
            best = {
                Piece::Kind::Name, i, kNames[k].name.size(), static_cast<int>(k), {}, false, false};
        }
    }
    for (const KnownWord& known : kKnownWords) {
        if (rest.starts_with(known.word) && known.word.size() > best.length) {
            best = {Piece::Kind::Word, i,   known.word.size(), -1, std::u32string(known.suggestion),
                    known.fixable,     true};
        }
    }
    // In other letter case: "Sin" is sin, "PI" is pi, "X" is x.
    constexpr std::size_t kLongestWord = 6;
    for (std::size_t length = best.length + 1; length <= std::min(kLongestWord, rest.size());
         ++length) {
        const std::u32string_view original = rest.substr(0, length);
        if (!hasUpperCase(original)) continue;
        std::u32string lower(original);
        std::transform(lower.begin(), lower.end(), lower.begin(), lowerCase);
        Piece piece{Piece::Kind::Word, i, length, -1, lower, false, true};
        if (functionIndex(lower) >= 0) {
            piece.fixable = true;
        } else if (const KnownWord* known = knownWord(lower)) {
            piece.suggestion = known->suggestion;
            piece.fixable = known->fixable;
        } else if (nameIndex(lower) < 0) {
            continue;
        }
        best = piece;
    }
    if (best.length == 0) best.length = 1;  // an unknown letter
    return best;
}

// The run cut into pieces; neighbouring unknown letters join into one unknown word, and a lone
// "e" among them is one of its letters, not Euler's number.
std::vector<Piece> piecesOf(std::u32string_view run) {
    std::vector<Piece> pieces;
    for (std::size_t i = 0; i < run.size();) {
        Piece piece = pieceAt(run, i);
        i += piece.length;
        pieces.push_back(std::move(piece));
    }
    const auto unknown = [](const Piece& p) { return p.kind == Piece::Kind::Word && !p.known; };
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        Piece& p = pieces[k];
        const bool lone = p.kind == Piece::Kind::Word && p.known && p.length == 1 &&
                          lowerCase(run[p.begin]) == U'e';
        if (lone && ((k > 0 && unknown(pieces[k - 1])) ||
                     (k + 1 < pieces.size() && unknown(pieces[k + 1])))) {
            p = {Piece::Kind::Word, p.begin, 1, -1, {}, false, false};
        }
    }
    std::vector<Piece> joined;
    for (Piece& p : pieces) {
        if (unknown(p) && !joined.empty() && unknown(joined.back())) {
            joined.back().length += p.length;
        } else {
            joined.push_back(std::move(p));
        }
    }
    return joined;
}

// ---------------------------------------------------------------------------------------------
// The reader

enum class TokenKind : unsigned char {
    Number,
    Atom,      // "[" ... "]" typed in
    Name,      // index: kNames
    Function,  // index: kFunctionNames; also a word read as names that ends in one ("arcsin")
    Operator,  // c: the operator
    Open,      // match: the ")" that closes it, or npos
    Close,
    Term,  // index: the summation term
    Stop,  // a character or word the scan does not know
};

struct Token {
    TokenKind kind;
    std::size_t begin;
    std::size_t end;
    char32_t c = 0;
    std::size_t index = npos;  // see TokenKind
    bool realFunction = false;
};

enum class ItemKind : unsigned char {
    Number,
    Atom,
    Name,
    Application,  // a function name with its bracket
    Group,
    Lone,  // a "(" with no ")": the value 0
    Term,
    Operator,
    Stop,
};

// The tokens that are items of their own.
constexpr ItemKind itemKindOf(TokenKind kind) noexcept {
    switch (kind) {
        case TokenKind::Number:
            return ItemKind::Number;
        case TokenKind::Atom:
            return ItemKind::Atom;
        case TokenKind::Name:
            return ItemKind::Name;
        case TokenKind::Operator:
            return ItemKind::Operator;
        case TokenKind::Term:
            return ItemKind::Term;
        default:
            return ItemKind::Stop;
    }
}

// One operand or operator of a reduction, as the scan meets them.
struct Item {
    ItemKind kind;
    std::size_t begin;
    std::size_t end;
    char32_t c = 0;
    std::size_t firstToken = 0;  // the tokens it spans
    std::size_t lastToken = 0;
    bool realFunction = false;  // an Application of a function name (not "arcsin")

    bool operand() const noexcept { return kind != ItemKind::Operator && kind != ItemKind::Stop; }
    bool isOperator(char32_t op) const noexcept { return kind == ItemKind::Operator && c == op; }
    bool sign() const noexcept { return isOperator(U'+') || isOperator(U'-'); }
    bool productOperator() const noexcept { return isOperator(U'*') || isOperator(U'/'); }
};

struct SummationTermSpan {
    std::size_t sigma = 0;
    std::size_t close = npos;  // the "}", or npos
    std::size_t end = 0;       // one past the term: after its "}", or the text's end
    std::size_t bodyBegin = npos;
    bool boundsKnown = false;  // both bounds are whole numbers
    std::int32_t lower = 0;
    std::int32_t upper = 0;
};

// At most this many operands are evaluated for one formula, and none longer than this: a note
// may depend on values, but never takes long.
constexpr int kMaxEvaluations = 64;
constexpr std::size_t kMaxEvaluatedText = 256;

class NoteReader {
  public:
    NoteReader(std::string_view formula, const NoteOptions& options)
        : text_(toUtf32(formula)), options_(options) {}

    std::vector<FormulaNote> read();

  private:
    // A term's text as the engine reads its parts, and where each character stands in the
    // formula.
    struct CollapsedTerm {
        std::u32string text;
        std::vector<std::size_t> origin;
        std::size_t begin(std::u32string_view part) const {
            return origin[static_cast<std::size_t>(part.data() - text.data())];
        }
        std::size_t end(std::u32string_view part) const {
            return origin[static_cast<std::size_t>(part.data() - text.data()) + part.size() - 1] +
                   1;
        }
    };

    void findTerms();
    CollapsedTerm collapse(std::size_t index) const;
    void checkTerm(std::size_t term);
    void checkBounds(SummationTermSpan& term, const CollapsedTerm& c, std::size_t between,
                     std::size_t colon);
    void termProblem(SummationProblem problem, std::size_t begin, std::size_t end,
                     std::u32string_view detail);
    void readSegment(std::size_t begin, std::size_t end, std::size_t term);

    std::vector<Token> tokenize(std::size_t begin, std::size_t end);
    void tokenizeLetters(std::size_t begin, std::size_t end, std::vector<Token>& tokens);
    std::size_t tokenizeCharacters(std::size_t i, std::size_t end, std::vector<Token>& tokens);
    std::size_t tokenizeSquareBracket(std::size_t i, std::size_t end, std::vector<Token>& tokens);
    std::size_t tokenizeDecimalComma(std::size_t i, std::size_t end, std::vector<Token>& tokens);
    std::size_t tokenizeUnknown(std::size_t i, std::size_t end, std::vector<Token>& tokens);
    void pairBrackets(std::vector<Token>& tokens, std::size_t segmentEnd);

    std::vector<Item> itemsOf(const std::vector<Token>& tokens, std::size_t from, std::size_t to);
    void checkReduction(const std::vector<Item>& items, const std::vector<Token>& tokens,
                        std::size_t term);
    void checkProductOperator(const std::vector<Item>& items, std::size_t k, std::size_t read,
                              bool secondStar);
    void checkPower(const std::vector<Item>& items, std::size_t k, std::size_t read,
                    const std::vector<Token>& tokens, std::size_t term);
    void checkSigns(const std::vector<Item>& items, std::size_t k, std::size_t read);
    void checkNegativeBase(const Item& base, const Item& exponent, bool exponentSign,
                           const std::vector<Token>& tokens, std::size_t term);
    std::size_t lostStretch(const std::vector<Item>& items, std::size_t last) const;
    bool evaluate(const Item& item, const std::vector<Token>& tokens, std::size_t term,
                  std::int32_t n, Fixed4& value);
    bool known(const Item& item, const std::vector<Token>& tokens, std::size_t term,
               bool& usesCounter) const;
    bool termKnown(std::size_t index) const;

    FormulaNote& note(NoteKind kind, std::size_t begin, std::size_t end);
    // side: "before" or "after" the operator.
    FormulaNote& missingOperand(const Item& op, const char* side) {
        FormulaNote& n = note(NoteKind::MissingOperand, op.begin, op.end);
        n.detail = side;
        return n;
    }
    std::string utf8(std::size_t begin, std::size_t end) const {
        return toUtf8(std::u32string_view(text_).substr(begin, end - begin));
    }
    char32_t at(std::size_t i) const noexcept { return i < text_.size() ? text_[i] : 0; }
    // Exactly two "*" start at i: someone else's power.
    bool doubleStarAt(std::size_t i) const noexcept {
        return at(i) == U'*' && at(i + 1) == U'*' && at(i + 2) != U'*' &&
               (i == 0 || text_[i - 1] != U'*');
    }

    std::u32string text_;
    NoteOptions options_;
    std::vector<SummationTermSpan> terms_;
    std::vector<FormulaNote> notes_;
    int evaluations_ = 0;
    bool termCharacterSeen_ = false;  // in the segment being read
    bool quietTerm_ = false;          // the term being checked fails already: nothing more is said
    std::optional<std::int32_t> outsideCounter_;  // n outside every term, where it is known
};

FormulaNote& NoteReader::note(NoteKind kind, std::size_t begin, std::size_t end) {
    FormulaNote& n = notes_.emplace_back();
    n.kind = kind;
    n.begin = begin;
    n.end = std::max(end, begin + 1);
    n.text = utf8(n.begin, n.end);
    return n;
}

std::vector<FormulaNote> NoteReader::read() {
    findTerms();
    for (std::size_t term = 0; term < terms_.size(); ++term)
        checkTerm(term);
    // Outside every term n reads 0, or the upper bound of the term expanded last: the one whose
    // "}" comes last.
    outsideCounter_ = 0;
    std::size_t lastClose = 0;
    for (const SummationTermSpan& term : terms_) {
        if (term.close == npos || term.close < lastClose) continue;
        lastClose = term.close;
        outsideCounter_ = term.boundsKnown ? std::optional<std::int32_t>(term.upper) : std::nullopt;
    }
    readSegment(0, text_.size(), npos);
    for (std::size_t term = 0; term < terms_.size(); ++term) {
        const SummationTermSpan& span = terms_[term];
        if (span.bodyBegin != npos) {
            readSegment(span.bodyBegin, span.close == npos ? text_.size() : span.close, term);
        }
    }
    std::stable_sort(notes_.begin(), notes_.end(),
                     [](const FormulaNote& a, const FormulaNote& b) { return a.begin < b.begin; });
    notes_.erase(std::unique(notes_.begin(), notes_.end()), notes_.end());
    return std::move(notes_);
}

// As the summation stage pairs them: each "}" closes the latest "Σ" still open; a "}" with none
// open is a character like any other.
void NoteReader::findTerms() {
    std::vector<std::size_t> open;
    for (std::size_t i = 0; i < text_.size(); ++i) {
        if (text_[i] == kSigma) {
            open.push_back(terms_.size());
            terms_.push_back({i, npos, text_.size()});
        } else if (text_[i] == U'}' && !open.empty()) {
            terms_[open.back()].close = i;
            terms_[open.back()].end = i + 1;
            open.pop_back();
        }
    }
}

// The term's text from its "Σ" up to its "}" as the engine reads its parts: every term inside it
// already its bracketed value, "([0])" here.
NoteReader::CollapsedTerm NoteReader::collapse(std::size_t index) const {
    const SummationTermSpan& term = terms_[index];
    const std::size_t stop = term.close == npos ? text_.size() : term.close;
    CollapsedTerm c;
    for (std::size_t i = term.sigma, inner = index + 1; i < stop;) {
        while (inner < terms_.size() && terms_[inner].sigma < i)
            ++inner;
        if (i != term.sigma && inner < terms_.size() && terms_[inner].sigma == i) {
            for (const char32_t ch : std::u32string_view(U"([0])")) {
                c.text.push_back(ch);
                c.origin.push_back(i);
            }
            c.origin.back() = terms_[inner].end - 1;
            i = terms_[inner].end;
            continue;
        }
        c.text.push_back(text_[i]);
        c.origin.push_back(i++);
    }
    return c;
}

void NoteReader::termProblem(SummationProblem problem, std::size_t begin, std::size_t end,
                             std::u32string_view detail) {
    if (quietTerm_) return;
    FormulaNote& n = note(NoteKind::Summation, begin, end);
    n.problem = problem;
    n.detail = toUtf8(detail);
}

void NoteReader::checkTerm(std::size_t index) {
    SummationTermSpan& term = terms_[index];
    const CollapsedTerm c = collapse(index);
    const std::size_t stop = term.close == npos ? text_.size() : term.close;
    // A term with no "}" fails whatever else it holds: that alone is said.
    quietTerm_ = false;
    if (term.close == npos) termProblem(SummationProblem::Close, term.sigma, text_.size(), {});
    quietTerm_ = term.close == npos;

    const std::u32string_view opening = std::u32string_view(c.text).substr(1, 3);
    if (opening.size() == 3 && opening[0] == U'{' && opening[2] == U'=' && isLetter(opening[1]) &&
        opening[1] != U'n') {
        termProblem(SummationProblem::Index, c.origin[2], c.origin[2] + 1, opening.substr(1, 1));
    } else if (opening != U"{n=") {
        termProblem(SummationProblem::Opening, term.sigma, c.origin[opening.size()] + 1, opening);
    }
    const std::size_t between = c.text.find(U"<>");
    const std::size_t colon = c.text.find(U':');
    if (between == npos || colon == npos) {
        termProblem(between == npos ? SummationProblem::Range : SummationProblem::Colon, term.sigma,
                    stop, {});
        return;
    }
    term.bodyBegin = c.origin[colon] + 1;
    checkBounds(term, c, between, colon);
}

// The bounds, each a whole number, the lower one not above the upper; and a body.
void NoteReader::checkBounds(SummationTermSpan& term, const CollapsedTerm& c, std::size_t between,
                             std::size_t colon) {
    const detail::SummationTerm parts = detail::readSummationTerm(c.text);
    std::int32_t lower = 0;
    std::int32_t upper = 0;
    const bool lowerKnown = tryParseInteger(parts.lower, lower);
    const bool upperKnown = tryParseInteger(parts.upper, upper);
    if (!lowerKnown) {
        if (parts.lower.empty()) {
            termProblem(SummationProblem::LowerBound, term.sigma, c.origin[between] + 2, {});
        } else {
            termProblem(SummationProblem::LowerBound, c.begin(parts.lower), c.end(parts.lower),
                        parts.lower);
        }
    }
    if (!upperKnown) {
        if (parts.upper.empty()) {
            termProblem(SummationProblem::UpperBound, c.origin[between], c.origin[colon] + 1, {});
        } else {
            termProblem(SummationProblem::UpperBound, c.begin(parts.upper), c.end(parts.upper),
                        parts.upper);
        }
    }
    if (!lowerKnown || !upperKnown) return;
    term.boundsKnown = true;
    term.lower = lower;
    term.upper = upper;
    if (lower > upper) {
        termProblem(SummationProblem::EmptyRange, c.begin(parts.lower), c.end(parts.upper),
                    std::u32string(parts.lower) + U"<>" + std::u32string(parts.upper));
    } else if (parts.body.empty()) {
        termProblem(SummationProblem::EmptyBody, c.origin[colon], term.end, {});
    }
}

void NoteReader::readSegment(std::size_t begin, std::size_t end, std::size_t term) {
    termCharacterSeen_ = false;
    std::vector<Token> tokens = tokenize(begin, end);
    pairBrackets(tokens, end);
    // The segment around its brackets, then each bracket's content: each a reduction.
    std::vector<Item> items = itemsOf(tokens, 0, tokens.size());
    checkReduction(items, tokens, term);
    for (std::size_t k = 0; k < tokens.size(); ++k) {
        if (tokens[k].kind == TokenKind::Open && tokens[k].index != npos) {
            items = itemsOf(tokens, k + 1, tokens[k].index);
            checkReduction(items, tokens, term);
        }
    }
}

std::vector<Token> NoteReader::tokenize(std::size_t begin, std::size_t end) {
    std::vector<Token> tokens;
    std::size_t nextTerm = static_cast<std::size_t>(
        std::lower_bound(terms_.begin(), terms_.end(), begin,
                         [](const SummationTermSpan& t, std::size_t i) { return t.sigma < i; }) -
        terms_.begin());
    for (std::size_t i = begin; i < end;) {
        const char32_t c = text_[i];
        if (c == kSigma) {
            while (nextTerm < terms_.size() && terms_[nextTerm].sigma < i)
                ++nextTerm;
            const SummationTermSpan& term = terms_[nextTerm];
            tokens.push_back({TokenKind::Term, i, std::min(term.end, end), 0, nextTerm});
            i = std::min(term.end, end);
        } else if (isDigit(c) || c == U'.') {
            std::size_t j = i + 1;
            while (j < end && (isDigit(text_[j]) || text_[j] == U'.'))
                ++j;
            tokens.push_back({TokenKind::Number, i, j});
            i = j;
        } else if (isLetter(c)) {
            std::size_t j = i + 1;
            while (j < end && isLetter(text_[j]))
                ++j;
            tokenizeLetters(i, j, tokens);
            i = j;
        } else if (isOperator(c)) {
            if (doubleStarAt(i)) {
                FormulaNote& n = note(NoteKind::DoubleStar, i, i + 2);
                n.suggestion = "^";
                n.fixable = true;
            }
            tokens.push_back({TokenKind::Operator, i, i + 1, c});
            ++i;
        } else if (c == U'(' || c == U')') {
            tokens.push_back({c == U'(' ? TokenKind::Open : TokenKind::Close, i, i + 1});
            ++i;
        } else {
            i = tokenizeCharacters(i, end, tokens);
        }
    }
    return tokens;
}

void NoteReader::tokenizeLetters(std::size_t begin, std::size_t end, std::vector<Token>& tokens) {
    const std::u32string_view run = std::u32string_view(text_).substr(begin, end - begin);
    // Most runs are one name or one function name.
    std::size_t length = 0;
    const int name = detail::nameAt(run, 0, length);
    if (name >= 0 && length == run.size()) {
        tokens.push_back({TokenKind::Name, begin, end, 0, std::size_t(name)});
        return;
    }
    if (const int function = functionIndex(run); function >= 0) {
        tokens.push_back({TokenKind::Function, begin, end, 0, std::size_t(function), true});
        return;
    }
    const bool afterNumber =
        !tokens.empty() && tokens.back().kind == TokenKind::Number && tokens.back().end == begin;
    for (const Piece& piece : piecesOf(run)) {
        const std::size_t from = begin + piece.begin;
        const std::size_t to = from + piece.length;
        switch (piece.kind) {
            case Piece::Kind::Name:
                tokens.push_back({TokenKind::Name, from, to, 0, std::size_t(piece.index)});
                continue;
            case Piece::Kind::Function:
                tokens.push_back(
                    {TokenKind::Function, from, to, 0, std::size_t(piece.index), true});
                continue;
            case Piece::Kind::Word:
                break;
        }
        const std::u32string_view word = run.substr(piece.begin, piece.length);
        FormulaNote& n = note(NoteKind::UnknownName, from, to);
        n.suggestion = toUtf8(piece.suggestion);
        n.fixable = piece.fixable;
        n.stopsReading = !readsAsNames(word);
        // 1e3: a power of ten, which the language writes with "^".
        const char32_t after = at(to);
        if (lowerCase(word.front()) == U'e' && word.size() == 1 && afterNumber && run.size() == 1 &&
            (isDigit(after) || ((after == U'-' || after == U'+') && isDigit(at(to + 1))))) {
            n.suggestion = toUtf8(kPowerOfTen);
        }
        if (n.stopsReading) {
            tokens.push_back({TokenKind::Stop, from, to});
        } else {
            // Read as names and a function name at its end ("arcsin" is a·r·c·sin).
            std::size_t function = npos;
            for (std::size_t k = 0; k < kFunctionNames.size(); ++k) {
                if (word.ends_with(kFunctionNames[k])) function = k;
            }
            tokens.push_back(
                {function != npos ? TokenKind::Function : TokenKind::Name, from, to, 0, function});
        }
    }
}

// The characters the language does not know, as notes, and the stop they are to the scan.
// Returns where the characters end.
std::size_t NoteReader::tokenizeCharacters(std::size_t i, std::size_t end,
                                           std::vector<Token>& tokens) {
    const char32_t c = text_[i];
    if (c == U'[' || c == U']') return tokenizeSquareBracket(i, end, tokens);
    if (isComma(c) && i > 0 && isDigit(at(i - 1)) && isDigit(at(i + 1))) {
        return tokenizeDecimalComma(i, end, tokens);
    }
    return tokenizeUnknown(i, end, tokens);
}

// The scan reads "[" up to the first "]" (or the end) as a value atom; a "]" alone stops it.
std::size_t NoteReader::tokenizeSquareBracket(std::size_t i, std::size_t end,
                                              std::vector<Token>& tokens) {
    if (text_[i] == U']') {
        note(NoteKind::SquareBracket, i, i + 1).stopsReading = true;
        tokens.push_back({TokenKind::Stop, i, i + 1});
        return i + 1;
    }
    const std::size_t close = std::u32string_view(text_).substr(0, end).find(U']', i);
    const std::size_t stop = close == npos ? end : close + 1;
    note(NoteKind::SquareBracket, i, stop);
    tokens.push_back({TokenKind::Atom, i, stop});
    return stop;
}

// The number around a comma between digits, with any further commas (a thousands separator).
std::size_t NoteReader::tokenizeDecimalComma(std::size_t i, std::size_t end,
                                             std::vector<Token>& tokens) {
    std::size_t first = i;
    while (first > 0 && isDigit(text_[first - 1]))
        --first;
    std::size_t last = i + 1;
    int commas = 1;
    for (;;) {
        while (last < end && isDigit(text_[last]))
            ++last;
        if (last + 1 < end && isComma(text_[last]) && isDigit(text_[last + 1])) {
            ++commas;
            ++last;
            continue;
        }
        break;
    }
    FormulaNote& n = note(NoteKind::DecimalComma, first, last);
    std::u32string meant(text_.substr(first, last - first));
    std::replace_if(meant.begin(), meant.end(), isComma, U'.');
    n.suggestion = toUtf8(meant);
    n.fixable = commas == 1;
    n.stopsReading = true;
    tokens.push_back({TokenKind::Stop, i, last});
    return last;
}

// A run of blanks, of look-alikes, or of other characters the language does not know.
std::size_t NoteReader::tokenizeUnknown(std::size_t i, std::size_t end,
                                        std::vector<Token>& tokens) {
    const char32_t c = text_[i];
    const auto kindOf = [](char32_t ch) {
        if (isBlank(ch)) return NoteKind::Blank;
        if (!lookAlikeOf(ch).empty()) return NoteKind::LookAlike;
        return NoteKind::UnknownCharacter;
    };
    const auto special = [](char32_t ch) {
        return isLetter(ch) || isDigit(ch) || isOperator(ch) || ch == U'(' || ch == U')' ||
               ch == U'.' || ch == kSigma || ch == U'[' || ch == U']';
    };
    const NoteKind kind = kindOf(c);
    std::size_t j = i + 1;
    while (j < end && !special(text_[j]) && kindOf(text_[j]) == kind)
        ++j;
    tokens.push_back({TokenKind::Stop, i, j});
    // Blanks that end the formula, a term's body or a bracket end no reading that would go on.
    if (kind == NoteKind::Blank && (j == end || text_[j] == U')')) return j;
    // The characters of a summation term outside one: the first says it, the rest is not read.
    const bool termCharacter = std::u32string_view(U"{}<>:=").find(c) != npos;
    if (termCharacter && termCharacterSeen_) return j;
    termCharacterSeen_ = termCharacterSeen_ || termCharacter;
    FormulaNote& n = note(kind, i, j);
    n.stopsReading = true;
    if (kind == NoteKind::LookAlike) {
        std::u32string meant;
        for (std::size_t k = i; k < j; ++k)
            meant += lookAlikeOf(text_[k]);
        // A comma between digits, full-width ones too, is a decimal comma.
        for (std::size_t k = 1; k + 1 < meant.size(); ++k) {
            if (meant[k] == U',' && isDigit(meant[k - 1]) && isDigit(meant[k + 1])) meant[k] = U'.';
        }
        n.suggestion = toUtf8(meant);
        n.fixable = true;
    }
    n.fullWidth = std::all_of(text_.begin() + static_cast<std::ptrdiff_t>(i),
                              text_.begin() + static_cast<std::ptrdiff_t>(j), [](char32_t ch) {
                                  return isFullWidthForm(ch) || ch == kIdeographicSpace;
                              });
    return j;
}

// As the group stage pairs them: each ")" closes the latest "(" still open. A ")" with none
// open stops the reading; a "(" left open is a lone one.
void NoteReader::pairBrackets(std::vector<Token>& tokens, std::size_t segmentEnd) {
    std::vector<std::size_t> open;
    for (std::size_t k = 0; k < tokens.size(); ++k) {
        Token& t = tokens[k];
        if (t.kind == TokenKind::Open) {
            open.push_back(k);
        } else if (t.kind == TokenKind::Close) {
            if (open.empty()) {
                t.kind = TokenKind::Stop;
                note(NoteKind::UnpairedBracket, t.begin, t.end).stopsReading = true;
            } else {
                tokens[open.back()].index = k;
                t.index = open.back();
                open.pop_back();
            }
        }
    }
    for (const std::size_t k : open) {
        FormulaNote& n = note(NoteKind::LoneBracket, tokens[k].begin, tokens[k].end);
        n.detail = utf8(tokens[k].end, segmentEnd);
    }
}

// The operands and operators of one reduction, tokens from..to: a bracket is one operand, and a
// function name with the bracket behind it another.
std::vector<Item> NoteReader::itemsOf(const std::vector<Token>& tokens, std::size_t from,
                                      std::size_t to) {
    std::vector<Item> items;
    for (std::size_t k = from; k < to;) {
        const Token& t = tokens[k];
        switch (t.kind) {
            case TokenKind::Open: {
                const std::size_t close = t.index == npos ? k : t.index;
                const ItemKind kind = t.index == npos ? ItemKind::Lone : ItemKind::Group;
                items.push_back({kind, t.begin, tokens[close].end, 0, k, close});
                if (close == k + 1) note(NoteKind::EmptyBrackets, t.begin, tokens[close].end);
                k = close + 1;
                break;
            }
            case TokenKind::Function: {
                const Token* next = k + 1 < to ? &tokens[k + 1] : nullptr;
                std::size_t last = k;
                if (next != nullptr && next->kind == TokenKind::Open) {
                    last = next->index == npos ? k + 1 : next->index;
                    if (last == k + 2) note(NoteKind::EmptyBrackets, next->begin, tokens[last].end);
                } else if (next != nullptr && next->kind == TokenKind::Term) {
                    last = k + 1;
                } else if (next == nullptr || next->kind != TokenKind::Atom) {
                    FormulaNote& n = note(NoteKind::FunctionWithoutBracket, t.begin, t.end);
                    const std::u32string_view name = kFunctionNames[t.index];
                    const bool log = name == U"log" || name == U"ln";
                    if (log && next != nullptr && next->kind == TokenKind::Number &&
                        next->begin == t.end) {
                        // log10(x), log2(x): the language's log is the natural one.
                        n.end = next->end;
                        n.text = utf8(n.begin, n.end);
                        n.suggestion = "ln(\u2026)/ln(" + utf8(next->begin, next->end) + ")";
                    } else {
                        n.suggestion = toUtf8(name) + "(\u2026)";
                    }
                }
                items.push_back(
                    {ItemKind::Application, t.begin, tokens[last].end, 0, k, last, t.realFunction});
                k = last + 1;
                break;
            }
            default:
                items.push_back({itemKindOf(t.kind), t.begin, t.end, t.c, k, k});
                ++k;
        }
    }
    return items;
}

void NoteReader::checkReduction(const std::vector<Item>& items, const std::vector<Token>& tokens,
                                std::size_t term) {
    // The scan reads up to its first character it does not know; a "^" after no operand is one.
    std::size_t read = items.size();
    for (std::size_t k = 0; k < items.size(); ++k) {
        const bool caretAlone = items[k].isOperator(U'^') && (k == 0 || !items[k - 1].operand());
        if (items[k].kind == ItemKind::Stop || caretAlone) {
            read = k;
            if (caretAlone) {
                missingOperand(items[k], "before").stopsReading = true;
            }
            break;
        }
    }
    bool secondStar = false;
    for (std::size_t k = 0; k < read; ++k) {
        const Item& item = items[k];
        const Item* prev = k > 0 ? &items[k - 1] : nullptr;
        switch (item.kind) {
            case ItemKind::Number: {
                const std::u32string_view number =
                    std::u32string_view(text_).substr(item.begin, item.end - item.begin);
                const auto points = std::count(number.begin(), number.end(), U'.');
                if (points > 1 || number == U".") {
                    note(NoteKind::MalformedNumber, item.begin, item.end);
                }
                [[fallthrough]];
            }
            case ItemKind::Atom:
                // A literal right after another: the scan overwrites the first with the second.
                if (prev != nullptr &&
                    (prev->kind == ItemKind::Number || prev->kind == ItemKind::Atom)) {
                    const std::size_t first = lostStretch(items, k - 1);
                    FormulaNote& n = note(NoteKind::LostOperand, items[first].begin, prev->end);
                    n.detail = n.text;
                }
                break;
            case ItemKind::Operator:
                if (item.productOperator()) {
                    // "**" has its note from the characters; its second "*" lacks no operand.
                    const bool pair = item.isOperator(U'*') && k + 1 < read &&
                                      items[k + 1].isOperator(U'*') && !secondStar &&
                                      doubleStarAt(item.begin);
                    checkProductOperator(items, k, read, secondStar);
                    secondStar = pair;
                    continue;
                }
                if (item.isOperator(U'^')) {
                    checkPower(items, k, read, tokens, term);
                } else {
                    checkSigns(items, k, read);
                }
                break;
            default:
                break;
        }
        secondStar = false;
    }
}

// "*" or "/": an operand before it and after it; a sign right after it ends the product.
void NoteReader::checkProductOperator(const std::vector<Item>& items, std::size_t k,
                                      std::size_t read, bool secondStar) {
    const Item& item = items[k];
    if (!secondStar && (k == 0 || !items[k - 1].operand())) {
        missingOperand(item, "before");
    }
    if (k + 1 < read && items[k + 1].sign()) {
        std::size_t last = k + 1;
        while (last + 1 < read && items[last + 1].sign())
            ++last;
        FormulaNote& n = note(NoteKind::SignAfterProduct, item.begin, items[last].end);
        n.detail = utf8(item.begin, item.end) + utf8(items[k + 1].begin, items[k + 1].end);
        if (last + 1 == items.size()) missingOperand(items[last], "after");
    } else if (k + 1 == items.size()) {
        missingOperand(item, "after");
    }
}

// "^" after an operand: its exponent, the base a chain drops, the operand a power overwrites, a
// negative base with a fractional exponent.
void NoteReader::checkPower(const std::vector<Item>& items, std::size_t k, std::size_t read,
                            const std::vector<Token>& tokens, std::size_t term) {
    const Item& caret = items[k];
    const std::size_t base = k - 1;
    // A chain: this base is the exponent of a "^" before it, whose own base is dropped.
    std::size_t earlier = npos;
    if (base >= 1 && items[base - 1].isOperator(U'^')) earlier = base - 1;
    if (base >= 2 && items[base - 1].isOperator(U'-') && items[base - 2].isOperator(U'^')) {
        earlier = base - 2;
    }
    if (earlier != npos && earlier >= 1 && items[earlier - 1].operand()) {
        const Item& dropped = items[earlier - 1];
        FormulaNote& n = note(NoteKind::PowerChain, dropped.begin, dropped.end);
        n.detail = n.text;
    }

    std::size_t e = k + 1;
    const bool sign = e < read && items[e].isOperator(U'-');
    if (sign) ++e;
    if (k + 1 < read && items[k + 1].isOperator(U'+')) {
        note(NoteKind::SignAfterPower, caret.begin, items[k + 1].end);
        return;
    }
    if (e >= read) {
        // No exponent is read: the "^" stays pending and takes the first term as its exponent.
        missingOperand(caret, "after");
        return;
    }
    const Item& exponent = items[e];
    if (sign && exponent.sign()) {
        std::size_t last = e;
        while (last + 1 < read && items[last + 1].sign())
            ++last;
        note(NoteKind::SignAfterPower, caret.begin, items[last].end);
        return;
    }
    if (!exponent.operand()) {
        missingOperand(caret, "after");
        return;
    }
    if (sign && exponent.kind != ItemKind::Number) {
        note(NoteKind::SignAfterPower, caret.begin, items[k + 1].end);
    }
    // '2x^2': a literal before a name or function value raised to a power is overwritten.
    const bool powered = items[base].kind == ItemKind::Name ||
                         (items[base].kind == ItemKind::Application && items[base].realFunction);
    if (powered && base >= 1 &&
        (items[base - 1].kind == ItemKind::Number || items[base - 1].kind == ItemKind::Atom)) {
        const std::size_t first = lostStretch(items, base - 1);
        FormulaNote& n = note(NoteKind::LostOperand, items[first].begin, items[base - 1].end);
        n.detail = n.text;
    }
    const bool chained = e + 1 < read && items[e + 1].isOperator(U'^');
    if (earlier == npos && !chained) {
        checkNegativeBase(items[base], exponent, sign && exponent.kind == ItemKind::Number, tokens,
                          term);
    }
}

// A run of signs: it reads as its last sign, where mathematics reads it by the count of "-".
void NoteReader::checkSigns(const std::vector<Item>& items, std::size_t k, std::size_t read) {
    if (k > 0 &&
        (items[k - 1].sign() || items[k - 1].productOperator() || items[k - 1].isOperator(U'^'))) {
        return;  // not the run's first sign, or one that "*", "/" or "^" answers for
    }
    std::size_t last = k;
    std::size_t minus = items[k].isOperator(U'-') ? 1 : 0;
    while (last + 1 < read && items[last + 1].sign()) {
        ++last;
        if (items[last].isOperator(U'-')) ++minus;
    }
    if (last > k && (minus % 2 == 1) != items[last].isOperator(U'-')) {
        note(NoteKind::ExtraSign, items[k].begin, items[last].end);
    }
    if (last + 1 == items.size()) missingOperand(items[last], "after");
}

// From a literal back to the start of the product it ends: what a power after it overwrites.
std::size_t NoteReader::lostStretch(const std::vector<Item>& items, std::size_t last) const {
    std::size_t first = last;
    while (first > 0) {
        const Item& before = items[first - 1];
        const bool exponentSign =
            before.isOperator(U'-') && first >= 2 && items[first - 2].isOperator(U'^');
        if (!before.operand() && !before.productOperator() && !before.isOperator(U'^') &&
            !exponentSign)
            break;
        --first;
    }
    return first;
}

void NoteReader::checkNegativeBase(const Item& base, const Item& exponent, bool exponentSign,
                                   const std::vector<Token>& tokens, std::size_t term) {
    if (base.kind == ItemKind::Number) return;  // a literal has no sign
    bool baseCounter = false;
    bool exponentCounter = false;
    if (!known(base, tokens, term, baseCounter) || !known(exponent, tokens, term, exponentCounter))
        return;
    // Where an operand depends on n, every index of the term (the first ones) is tried.
    std::int64_t first = 0;
    std::int64_t last = 0;
    if ((baseCounter || exponentCounter) && term == npos) {
        first = last = *outsideCounter_;
    } else if (baseCounter || exponentCounter) {
        first = terms_[term].lower;
        last = std::min<std::int64_t>(terms_[term].upper, first + kMaxEvaluations - 1);
    }
    for (std::int64_t n = first; n <= last; ++n) {
        Fixed4 b;
        Fixed4 e;
        const auto index = static_cast<std::int32_t>(n);
        if (!evaluate(base, tokens, term, index, b) ||
            !evaluate(exponent, tokens, term, index, e)) {
            return;
        }
        if (exponentSign) e = Fixed4::fromUnits(-e.units());
        if (b.units() < 0 && e.units() % Fixed4::kUnitsPerOne != 0) {
            note(NoteKind::NegativeBaseFraction, base.begin, exponent.end).detail =
                toText(b) + "^" + toText(e);
            return;
        }
    }
}

// Whether the value of an operand can be known before the formula runs: it holds no summation
// term, and only names whose texts are known (the constants when texts are given, the values
// only when they are fixed, n inside a term with whole bounds).
bool NoteReader::known(const Item& item, const std::vector<Token>& tokens, std::size_t term,
                       bool& usesCounter) const {
    if (item.end - item.begin > kMaxEvaluatedText) return false;
    usesCounter = false;
    for (std::size_t k = item.firstToken; k <= item.lastToken; ++k) {
        const Token& t = tokens[k];
        if (t.kind == TokenKind::Stop) return false;
        if (t.kind == TokenKind::Term && !termKnown(t.index)) return false;
        if (t.kind != TokenKind::Name) continue;
        if (t.index == npos) return false;  // a word read as several names
        switch (kNames[t.index].source) {
            case NameSource::Value:
                if (options_.texts == nullptr || !options_.valuesFixed) return false;
                break;
            case NameSource::Constant:
                if (options_.texts == nullptr) return false;
                break;
            case NameSource::Counter:
                if (term == npos) {
                    if (!outsideCounter_) return false;
                    usesCounter = true;
                    break;
                }
                if (!terms_[term].boundsKnown || terms_[term].lower > terms_[term].upper)
                    return false;
                usesCounter = true;
                break;
            case NameSource::Pi:
                break;
        }
    }
    return true;
}

// A summation term whose value can be known: every name its text may hold is known, and it and
// every term inside it have whole bounds and few indices.
bool NoteReader::termKnown(std::size_t index) const {
    constexpr std::int64_t kMaxIndices = 1000;
    if (options_.texts == nullptr || !options_.valuesFixed) return false;
    for (std::size_t k = index; k < terms_.size() && terms_[k].sigma < terms_[index].end; ++k) {
        const SummationTermSpan& term = terms_[k];
        if (!term.boundsKnown ||
            std::int64_t{term.upper} - std::int64_t{term.lower} >= kMaxIndices) {
            return false;
        }
    }
    return true;
}

// The operand's value as the engine will see it, evaluated on its own (for the index n where it
// uses n). False where it fails: it is then not known.
bool NoteReader::evaluate(const Item& item, const std::vector<Token>& tokens, std::size_t term,
                          std::int32_t n, Fixed4& value) {
    if (evaluations_ >= kMaxEvaluations) return false;
    ++evaluations_;
    bool usesCounter = false;
    known(item, tokens, term, usesCounter);
    std::string formula = utf8(item.begin, item.end);
    if (usesCounter) {
        const std::string index = integerText(n);
        formula = "\u03A3{n=" + index + "<>" + index + ":" + formula + "}";
    }
    const FormulaTexts none;
    try {
        value = EvaluateFormula(formula, options_.texts != nullptr ? *options_.texts : none);
        return true;
    } catch (const Failure&) {
        // An operand that fails makes the formula fail: no note is needed about its sign.
        return false;
    }
}

}  // namespace

std::vector<FormulaNote> formulaNotes(std::string_view formula, const NoteOptions& options) {
    return NoteReader(formula, options).read();
}

std::string applyFixes(std::string_view formula, const std::vector<FormulaNote>& notes) {
    const std::u32string text = toUtf32(formula);
    std::u32string fixed;
    std::size_t from = 0;
    for (const FormulaNote& n : notes) {
        if (!n.fixable || n.begin < from || n.end > text.size()) continue;
        fixed.append(text, from, n.begin - from);
        fixed += toUtf32(n.suggestion);
        from = n.end;
    }
    fixed.append(text, from, npos);
    return toUtf8(fixed);
}

std::optional<Quirk> quirkOf(NoteKind kind) noexcept {
    switch (kind) {
        case NoteKind::LostOperand:
            return Quirk::LostOperand;
        case NoteKind::SignAfterProduct:
            return Quirk::SignAfterProduct;
        case NoteKind::PowerChain:
            return Quirk::PowerChain;
        case NoteKind::LoneBracket:
            return Quirk::LoneBracket;
        case NoteKind::NegativeBaseFraction:
            return Quirk::NegativeBaseFraction;
        default:
            return std::nullopt;
    }
}

std::optional<ValueProblem> valueTextProblem(std::string_view text, char32_t separator) {
    if (text.empty()) return ValueProblem::Empty;
    std::u32string value = toUtf32(text);
    Fixed4 parsed;
    if (tryParseFixed4(value, separator, parsed)) return std::nullopt;
    bool foreign = false;
    for (char32_t& c : value) {
        if ((c == U'.' || c == U',') && c != separator) {
            c = separator;
            foreign = true;
        }
    }
    if (foreign && tryParseFixed4(value, separator, parsed)) return ValueProblem::ForeignSeparator;
    return ValueProblem::NotANumber;
}

}  // namespace kurvilo
