// SPDX-License-Identifier: MIT
// The notes of formulas: which note, over which characters, for each way a formula is read
// differently from how it looks; none for a clean formula; the fixes, the wording, and why a
// value text does not parse.
#include "formula/notes.h"

#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "formula_test_support.h"
#include "numbers/utf8.h"

namespace kurvilo {

void PrintTo(NoteKind kind, std::ostream* os) {
    static const char* const kNames[] = {"Blank",
                                         "LookAlike",
                                         "DecimalComma",
                                         "UnknownCharacter",
                                         "UnknownName",
                                         "DoubleStar",
                                         "SignAfterPower",
                                         "ExtraSign",
                                         "MissingOperand",
                                         "LostOperand",
                                         "SignAfterProduct",
                                         "PowerChain",
                                         "LoneBracket",
                                         "NegativeBaseFraction",
                                         "UnpairedBracket",
                                         "EmptyBrackets",
                                         "SquareBracket",
                                         "FunctionWithoutBracket",
                                         "MalformedNumber",
                                         "Summation"};
    *os << kNames[static_cast<int>(kind)];
}

namespace {

struct Expected {
    NoteKind kind;
    std::size_t begin;
    std::size_t end;
};

bool operator==(const Expected& e, const FormulaNote& n) {
    return e.kind == n.kind && e.begin == n.begin && e.end == n.end;
}

std::ostream& operator<<(std::ostream& os, const Expected& e) {
    PrintTo(e.kind, &os);
    return os << " " << e.begin << ".." << e.end;
}

std::string describe(const std::vector<FormulaNote>& notes) {
    std::string out;
    for (const FormulaNote& n : notes) {
        std::ostringstream one;
        PrintTo(n.kind, &one);
        out += one.str() + " " + std::to_string(n.begin) + ".." + std::to_string(n.end) + " '" +
               n.text + "'; ";
    }
    return out.empty() ? "none" : out;
}

struct NoteCase {
    const char* formula;
    std::vector<Expected> notes;
};

void expectNotes(const std::vector<NoteCase>& cases, const NoteOptions& options = {}) {
    for (const NoteCase& c : cases) {
        SCOPED_TRACE(c.formula);
        const std::vector<FormulaNote> notes = formulaNotes(c.formula, options);
        bool same = notes.size() == c.notes.size();
        for (std::size_t k = 0; same && k < notes.size(); ++k)
            same = c.notes[k] == notes[k];
        std::ostringstream expected;
        for (const Expected& e : c.notes)
            expected << e << "; ";
        EXPECT_TRUE(same) << "notes: " << describe(notes) << "\nexpected: " << expected.str();
    }
}

using K = NoteKind;

TEST(FormulaNotes, ReadingStopsAtBlanksLookAlikesCommasAndUnknownCharacters) {
    expectNotes({
        {"1 + 1", {{K::Blank, 1, 2}, {K::Blank, 3, 4}}},
        {" x", {{K::Blank, 0, 1}}},
        {"x\ty", {{K::Blank, 1, 2}}},
        {"x\u3000y", {{K::Blank, 1, 2}}},           // the ideographic space
        {"\uFF0D\uFF59", {{K::LookAlike, 0, 2}}},   // －ｙ: one run of full-width characters
        {"x\uFF0B\uFF11", {{K::LookAlike, 1, 3}}},  // ＋１
        {"2\uFF0Ax", {{K::LookAlike, 1, 2}}},       // ＊
        {"\uFF08x+1)", {{K::LookAlike, 0, 1}, {K::UnpairedBracket, 4, 5}}},  // （
        {"\uFF15x", {{K::LookAlike, 0, 1}}},                                 // ５
        {"2\uFF58", {{K::LookAlike, 1, 2}}},                                 // ｘ
        {"2\u00D73", {{K::LookAlike, 1, 2}}},                                // ×
        {"6\u00F73", {{K::LookAlike, 1, 2}}},                                // ÷
        {"\u22121", {{K::LookAlike, 0, 1}}},                                 // − (minus sign)
        {"x\u30FC1", {{K::LookAlike, 1, 2}}},  // ー from an input method
        {"\u2211{n=1<>3:n}", {{K::LookAlike, 0, 1}, {K::UnknownCharacter, 1, 2}}},  // ∑
        {"-0,5*y", {{K::DecimalComma, 1, 4}}},
        {"1,000,000", {{K::DecimalComma, 0, 9}}},
        {"x%", {{K::UnknownCharacter, 1, 2}}},
        {"y=2x", {{K::UnknownCharacter, 1, 2}}},
        {"x,y", {{K::UnknownCharacter, 1, 2}}},
    });
}

TEST(FormulaNotes, BlanksThatEndNothingReadAreClean) {
    expectNotes({{"x+1 ", {}}, {"(x )*2", {}}, {"\u03A3{n=1<>3:n }", {}}, {"x  ", {}}});
}

TEST(FormulaNotes, UnknownNamesWithTheNearestThingTheLanguageHas) {
    expectNotes({
        {"sqrt(2)", {{K::UnknownName, 0, 4}}},
        {"pi", {{K::UnknownName, 0, 2}}},
        {"2pix", {{K::UnknownName, 1, 3}}},
        {"Sin(1)", {{K::UnknownName, 0, 3}}},
        {"COS(1)", {{K::UnknownName, 0, 3}}},
        {"sum{n=1<>3:n}", {{K::UnknownName, 0, 3}, {K::UnknownCharacter, 3, 4}}},
        {"abs(x)", {{K::UnknownName, 0, 3}}},
        {"e^x", {{K::UnknownName, 0, 1}}},
        {"1e3", {{K::UnknownName, 1, 2}}},
        {"theta", {{K::UnknownName, 0, 5}}},
        {"X+1", {{K::UnknownName, 0, 1}}},
        {"x z", {{K::Blank, 1, 2}, {K::UnknownName, 2, 3}}},
        {"hello", {{K::UnknownName, 0, 5}}},
        {"arcsin(x)", {{K::UnknownName, 0, 6}}},
    });
}

TEST(FormulaNotes, SuggestionsAndWhichOfThemFixTheFormula) {
    const struct {
        const char* formula;
        const char* suggestion;
        bool fixable;
    } cases[] = {
        {"sqrt(2)", "^0.5", false},
        {"pi", "\u03C0", true},
        {"Pi", "\u03C0", true},
        {"Sin(1)", "sin", true},
        {"sum{n=1<>3:n}", "\u03A3{n=\u2026<>\u2026:\u2026}", false},
        {"e", "exp(\u2026)", false},
        {"1e3", "*10^", false},
        {"X", "x", false},
        {"abs(x)", "((\u2026)^2)^0.5", false},
        {"arcsin(x)", "", false},
        {"\uFF0D\uFF59", "-y", true},
        {"\uFF10\uFF0C\uFF15", "0.5", true},  // ０，５: a full-width decimal comma
        {"-0,5*y", "0.5", true},
        {"1,000,000", "1.000.000", false},
        {"2**3", "^", true},
        {"sinx", "sin(\u2026)", false},
        {"log10(x)", "ln(\u2026)/ln(10)", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        const std::vector<FormulaNote> notes = formulaNotes(c.formula);
        ASSERT_FALSE(notes.empty());
        EXPECT_EQ(notes.front().suggestion, c.suggestion);
        EXPECT_EQ(notes.front().fixable, c.fixable);
    }
}

TEST(FormulaNotes, OperatorsReadDifferentlyFromHowTheyLook) {
    expectNotes({
        {"2**3", {{K::DoubleStar, 1, 3}}},
        {"2**-3", {{K::DoubleStar, 1, 3}, {K::SignAfterProduct, 2, 4}}},
        {"2^-x", {{K::SignAfterPower, 1, 3}}},
        {"2^-(1)", {{K::SignAfterPower, 1, 3}}},
        {"2^+3", {{K::SignAfterPower, 1, 3}}},
        {"2^--1", {{K::SignAfterPower, 1, 4}}},
        {"--x", {{K::ExtraSign, 0, 2}}},
        {"2-+3", {{K::ExtraSign, 1, 3}}},
        {"*2", {{K::MissingOperand, 0, 1}}},
        {"2*/3", {{K::MissingOperand, 2, 3}}},
        {"2^", {{K::MissingOperand, 1, 2}}},
        {"x-", {{K::MissingOperand, 1, 2}}},
        {"^2", {{K::MissingOperand, 0, 1}}},
        {"(^2)", {{K::MissingOperand, 1, 2}}},
    });
}

TEST(FormulaNotes, TheQuirksTheEngineReportsToItsObserver) {
    expectNotes({
        {"2x^2", {{K::LostOperand, 0, 1}}},
        {"2\u03C0^2", {{K::LostOperand, 0, 1}}},
        {"2sin(t)^2", {{K::LostOperand, 0, 1}}},
        {"3*2x^2", {{K::LostOperand, 0, 3}}},
        {"2^3x^2", {{K::LostOperand, 0, 3}}},
        {"2*-3", {{K::SignAfterProduct, 1, 3}}},
        {"6/+3", {{K::SignAfterProduct, 1, 3}}},
        {"3^2^2", {{K::PowerChain, 0, 1}}},
        {"2*(3", {{K::LoneBracket, 2, 3}}},
        {"sin(x", {{K::LoneBracket, 3, 4}}},
        {"(-8)^(1/3)", {{K::NegativeBaseFraction, 0, 10}}},
        {"1-(-2)^0.5", {{K::NegativeBaseFraction, 2, 10}}},
    });
}

TEST(FormulaNotes, QuirkDetailsAreWordedAsTheObserverWordsThem) {
    const struct {
        const char* formula;
        Quirk quirk;
        const char* detail;
    } cases[] = {
        {"2x^2", Quirk::LostOperand, "2"},
        {"2*-3", Quirk::SignAfterProduct, "*-"},
        {"6/+3", Quirk::SignAfterProduct, "/+"},
        {"3^2^2", Quirk::PowerChain, "3"},
        {"2*(3", Quirk::LoneBracket, "3"},
        {"(-8)^(1/3)", Quirk::NegativeBaseFraction, "-8^0.3333"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        const std::vector<FormulaNote> notes = formulaNotes(c.formula);
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_EQ(quirkOf(notes[0].kind), c.quirk);
        EXPECT_EQ(notes[0].detail, c.detail);
    }
}

TEST(FormulaNotes, BracketsFunctionsAndNumbers) {
    expectNotes({
        {"x)", {{K::UnpairedBracket, 1, 2}}},
        {"(x))+1", {{K::UnpairedBracket, 3, 4}}},
        {"((x)", {{K::LoneBracket, 0, 1}}},
        {"sin()", {{K::EmptyBrackets, 3, 5}}},
        {"2()", {{K::EmptyBrackets, 1, 3}}},
        {"[2]x", {{K::SquareBracket, 0, 3}}},
        {"x]", {{K::SquareBracket, 1, 2}}},
        {"sinx", {{K::FunctionWithoutBracket, 0, 3}}},
        {"2sin", {{K::FunctionWithoutBracket, 1, 4}}},
        {"log10(x)", {{K::FunctionWithoutBracket, 0, 5}}},
        {"1.2.3", {{K::MalformedNumber, 0, 5}}},
        {"x*.", {{K::MalformedNumber, 2, 3}}},
    });
}

TEST(FormulaNotes, SummationTermsWhoseSyntaxDoesNotHold) {
    const struct {
        const char* formula;
        SummationProblem problem;
        std::size_t begin;
        std::size_t end;
        const char* detail;
    } cases[] = {
        {"\u03A3{n=1<>x:n}", SummationProblem::UpperBound, 7, 8, "x"},
        {"\u03A3{n=y<>3:n}", SummationProblem::LowerBound, 4, 5, "y"},
        {"\u03A3{n=<>3:n}", SummationProblem::LowerBound, 0, 6, ""},
        {"\u03A3{n=1.5<>3:n}", SummationProblem::LowerBound, 4, 7, "1.5"},
        {"\u03A3{n=1<>3}", SummationProblem::Colon, 0, 8, ""},
        {"\u03A3{n=1:3}", SummationProblem::Range, 0, 7, ""},
        {"\u03A3{n=1<>3:n", SummationProblem::Close, 0, 10, ""},
        {"\u03A3{k=1<>3:1}", SummationProblem::Index, 2, 3, "k"},
        {"\u03A3(n=1<>3:n}", SummationProblem::Opening, 0, 4, "(n="},
        {"\u03A3{n=3<>1:n}", SummationProblem::EmptyRange, 4, 8, "3<>1"},
        {"\u03A3{n=1<>3:}", SummationProblem::EmptyBody, 8, 10, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        const std::vector<FormulaNote> notes = formulaNotes(c.formula);
        ASSERT_EQ(notes.size(), 1u) << describe(notes);
        EXPECT_EQ(notes[0].kind, NoteKind::Summation);
        EXPECT_EQ(notes[0].problem, c.problem);
        EXPECT_EQ(notes[0].begin, c.begin);
        EXPECT_EQ(notes[0].end, c.end);
        EXPECT_EQ(notes[0].detail, c.detail);
    }
    // The template as the keypad inserts it: both bounds are missing.
    expectNotes({{"\u03A3{n=<>:}", {{K::Summation, 0, 6}, {K::Summation, 4, 7}}},
                 {"\u03A3{k=1<>3:k}", {{K::Summation, 2, 3}, {K::UnknownName, 9, 10}}}});
}

TEST(FormulaNotes, CleanFormulasHaveNone) {
    // The language's own examples, quirks written around.
    for (const char* formula : {"",
                                "2(x+1)^2-sin(t)x",
                                "-x",
                                "2x",
                                "x2",
                                "x.5",
                                "x(1+x)",
                                "(1+x)(2+x)",
                                "2(3)",
                                "(2)3",
                                "2*3+4*5-6/4",
                                "3-2-1",
                                "8/2/2",
                                "10/3",
                                "1/3*3",
                                "-2^2",
                                "2*3^2",
                                "2^3*2",
                                "2^-1",
                                "x^0.5",
                                "0^0",
                                "0^-1",
                                "2*(-3)",
                                "(-2)^3",
                                "(-2)^-1",
                                "x+-1",
                                "-(-x)",
                                "vx^2",
                                "v\u03B8^2",
                                "vy*vx^2",
                                "2*x^2",
                                "2(x)^2",
                                "ax^2",
                                "(2)x^2",
                                "2sin(t)",
                                "2*sin(t)^2",
                                "a*b-c+d",
                                "\u03C0",
                                "2\u03C0",
                                "sin(\u03C0)",
                                "cos(\u03C0/2)",
                                "ln(exp(1))",
                                "log(2)",
                                "tan(1)",
                                "exp(-x)",
                                "xsin(t)",
                                "sin(t)x",
                                "n",
                                "xy",
                                "ab",
                                "2^(-x)",
                                "(3^2)^2",
                                "3^(2^2)",
                                "-(8^(1/3))",
                                "(-2)^2",
                                "6/(+3)",
                                "r^2\u03B8",
                                "\u03A3{n=1<>10:n}",
                                "\u03A3{n=-2<>2:n^2}",
                                "2\u03A3{n=1<>3:n^2}",
                                "(\u03A3{n=1<>3:n})^2",
                                "\u03A3{n=1<>3:n}\u03A3{n=1<>2:n}",
                                "\u03A3{n=1<>3:\u03A3{n=1<>2:n}}",
                                "\u03A3{n=1<>3:n}+n",
                                "\u03A3{n=1<>4:(-1)^n}",
                                "\u03A3{n=1<>1:n}",
                                "sin(\u03A3{n=1<>3:n})"}) {
        SCOPED_TRACE(formula);
        EXPECT_EQ(describe(formulaNotes(formula)), "none");
    }
}

TEST(FormulaNotes, ANegativeBaseIsSeenWhereTheNamesTextsAreKnown) {
    FormulaInputs inputs = sampleInputs();  // vy = -2, d = -1
    const FormulaTexts texts = inputs;
    // Without the texts only the formula's own numbers are known.
    expectNotes({{"vy^0.5", {}}, {"d^0.5", {}}, {"(-2)^0.5", {{K::NegativeBaseFraction, 0, 8}}}});
    // The constants stay what they are for a whole run; the values change at every step.
    expectNotes({{"vy^0.5", {}}, {"d^0.5", {{K::NegativeBaseFraction, 0, 5}}}}, {&texts, false});
    expectNotes({{"vy^0.5", {{K::NegativeBaseFraction, 0, 6}}},
                 {"vy^2", {}},
                 {"y^0.5", {}},
                 {"x^vy", {}},
                 {"vy^x", {{K::NegativeBaseFraction, 0, 4}}}},
                {&texts, true});
    // n inside a term takes each index: (-1)^(1/2) at n = 1.
    expectNotes({{"\u03A3{n=1<>3:(-1)^(n/2)}", {{K::NegativeBaseFraction, 9, 19}}},
                 {"\u03A3{n=1<>3:(-1)^(2n)}", {}}});
}

TEST(FormulaNotes, RangesCountCharactersAndQuoteThem) {
    const std::string formula = "\u03B8+\u03C0 + pi";
    const std::vector<FormulaNote> notes = formulaNotes(formula);
    ASSERT_EQ(notes.size(), 3u) << describe(notes);
    const std::u32string text = toUtf32(formula);
    for (const FormulaNote& n : notes) {
        EXPECT_LT(n.begin, n.end);
        EXPECT_LE(n.end, text.size());
        EXPECT_EQ(n.text, toUtf8(std::u32string_view(text).substr(n.begin, n.end - n.begin)));
    }
    EXPECT_EQ(notes[2].text, "pi");
    EXPECT_EQ(notes[2].begin, 6u);
}

TEST(FormulaNotes, FixesReplaceOnlyWhatIsUnambiguous) {
    const struct {
        const char* formula;
        const char* fixed;
    } cases[] = {
        {"\uFF0D\uFF59", "-y"},
        {"\uFF58\uFF0Bpi", "x+\u03C0"},
        {"2**3", "2^3"},
        {"pi*x^2", "\u03C0*x^2"},
        {"-0,5*y", "-0.5*y"},
        {"\uFF10\uFF0C\uFF15x", "0.5x"},
        {"Sin(1)+COS(2)", "sin(1)+cos(2)"},
        {"2\u00D73\u00F74", "2*3/4"},
        {"x\u00B2", "x^2"},
        {"\u2211{n=1<>3:n}", "\u03A3{n=1<>3:n}"},
        {"2x^2", "2x^2"},            // a quirk has no fix: only the writer knows what was meant
        {"sqrt(2)", "sqrt(2)"},      // nothing to replace it with in place
        {"1 + 1", "1 + 1"},          // 'x y' may have meant x*y or x+y
        {"1,000,000", "1,000,000"},  // a thousands separator or a mistyped point?
        {"X", "X"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        const std::string fixed = applyFixes(c.formula, formulaNotes(c.formula));
        EXPECT_EQ(fixed, c.fixed);
    }
}

TEST(FormulaNotes, AFixedFormulaHasNoteLeftOfWhatWasFixed) {
    for (const char* formula : {"\uFF0D\uFF59", "2**3", "pi", "-0,5*y", "Sin(1)", "\u00D7"}) {
        SCOPED_TRACE(formula);
        const std::string fixed = applyFixes(formula, formulaNotes(formula));
        for (const FormulaNote& n : formulaNotes(fixed))
            EXPECT_FALSE(n.fixable) << n.text;
    }
}

TEST(FormulaNotes, TheQuirksAreWordedOnceForTheExplanationAndTheNotes) {
    // kurvilo-cli eval --explain writes these after "quirk: ".
    const struct {
        Quirk quirk;
        const char* detail;
        const char* text;
    } cases[] = {
        {Quirk::LostOperand, "2",
         "2 is lost: an operand right before a name, function or value raised to a power is "
         "overwritten by it ('2x^2' is x^2); write '*' after 2 ('2*x^2')"},
        {Quirk::SignAfterProduct, "*-",
         "'*-' does not give the factor a sign: the '-' ends the product and adds or subtracts "
         "('2*-3' is 2-2*3 = -4); bracket the signed factor ('2*(-3)')"},
        {Quirk::PowerChain, "3",
         "the base 3 is dropped: powers do not chain, a chain keeps its last base ('3^2^2' is "
         "16); bracket the powers ('(3^2)^2' or '3^(2^2)')"},
        {Quirk::StoppedReading, "\u03C0 z",
         "reading stopped at '\u03C0', and '\u03C0 z' was ignored: the formula language has no "
         "such character there; remove it or write the operator meant"},
        {Quirk::LoneBracket, "3",
         "a '(' with no ')' after it is read as 0, before '3'; close the bracket"},
        {Quirk::NegativeBaseFraction, "-8^0.3333",
         "-8^0.3333 has a negative base and a fractional exponent, which makes its whole group "
         "(or the formula) 0; use a whole exponent, or take the power of the positive base and "
         "negate it ('-(8^(1/3))')"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.detail);
        EXPECT_EQ(quirkText(c.quirk, c.detail), c.text);
    }
    // A note of a quirk is worded as the quirk.
    for (const char* formula : {"2x^2", "2*-3", "3^2^2", "2*(3", "(-8)^(1/3)"}) {
        SCOPED_TRACE(formula);
        const FormulaNote n = formulaNotes(formula).at(0);
        EXPECT_EQ(noteText(n), quirkText(*quirkOf(n.kind), n.detail));
    }
}

TEST(FormulaNotes, EachNoteIsWordedQuotingItsCharacters) {
    const struct {
        const char* formula;
        std::vector<const char*> fragments;
    } cases[] = {
        {"1 + 1", {"a blank", "white space"}},
        {"x\u3000y", {"a full-width blank"}},
        {"\uFF0D\uFF59", {"'\uFF0D\uFF59' is full-width", "'-y'"}},
        {"2\u00D73", {"'\u00D7' only looks like '*'"}},
        {"-0,5*y", {"'0,5'", "'0.5'"}},
        {"x%", {"'%' is no character"}},
        {"y=x", {"write only what follows '='"}},
        {"sqrt(2)", {"'sqrt' is no name", "'^0.5'"}},
        {"pi", {"'pi'", "write '\u03C0'"}},
        {"1e3", {"'e' is no exponent", "'1*10^3'"}},
        {"arcsin(x)", {"read as a product"}},
        {"2**3", {"'**' is read as '*'"}},
        {"2^-x", {"'^-'", "'2^(-x)'"}},
        {"--x", {"'--' reads as its last sign"}},
        {"*2", {"'*' has no operand before it"}},
        {"2*", {"'*' has no operand after it"}},
        {"2^", {"'^' has no exponent"}},
        {"^2", {"'^' follows no operand"}},
        {"x)", {"')' closes no '('"}},
        {"sin()", {"'()' is empty"}},
        {"[2]", {"'[2]'", "not brackets"}},
        {"sinx", {"'sin' needs its argument in brackets, 'sin(\u2026)'"}},
        {"log10(x)", {"'log10' is no function", "'ln(\u2026)/ln(10)'"}},
        {"1.2.3", {"'1.2.3' has more than one point"}},
        {"\u03A3{n=1<>x:n}", {"the upper bound 'x' is not a whole number"}},
        {"\u03A3{n=3<>1:n}", {"the range '3<>1' is empty"}},
        {"\u03A3{n=1<>3:n", {"no '}'"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.formula);
        const std::vector<FormulaNote> notes = formulaNotes(c.formula);
        ASSERT_FALSE(notes.empty());
        const std::string text = noteText(notes.front());
        for (const char* fragment : c.fragments)
            EXPECT_NE(text.find(fragment), std::string::npos) << text;
    }
}

TEST(ValueTexts, WhyAValueTextDoesNotParse) {
    const struct {
        const char* text;
        char32_t separator;
        std::optional<ValueProblem> problem;
    } cases[] = {
        {"0.5", U'.', std::nullopt},
        {" 7 ", U'.', std::nullopt},
        {"-1e3", U'.', std::nullopt},
        {"0,5", U',', std::nullopt},
        {"0.5", U',', ValueProblem::ForeignSeparator},
        {"-2.25", U',', ValueProblem::ForeignSeparator},
        {"0,5", U'.', ValueProblem::ForeignSeparator},
        {"", U'.', ValueProblem::Empty},
        {"abc", U'.', ValueProblem::NotANumber},
        {"x", U',', ValueProblem::NotANumber},
        {"1.000,5", U',', ValueProblem::NotANumber},
        {"\t1", U'.', ValueProblem::NotANumber},
        {"\uFF15", U'.', ValueProblem::NotANumber},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(valueTextProblem(c.text, c.separator), c.problem);
    }
}

}  // namespace
}  // namespace kurvilo
