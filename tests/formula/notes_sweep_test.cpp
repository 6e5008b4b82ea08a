// SPDX-License-Identifier: MIT
// The notes against the engine on seeded formulas: collecting them changes no value and no
// failure, and the quirks they find are the ones the engine meets and tells its observer of.
#include <set>
#include <string>
#include <vector>

#include "formula/notes.h"
#include "formula/observer.h"
#include "formula_generator.h"
#include "formula_test_support.h"
#include "numbers/utf8.h"

namespace kurvilo {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kScale = 20;  // the sanitizer build is about twenty times slower
#else
constexpr int kScale = 1;
#endif

// Grammatical formulas, arbitrary characters and hostile texts, in the proportions the reference
// comparison uses, with the value texts varied as it varies them.
struct Sample {
    std::string formula;
    FormulaInputs inputs;
};

std::vector<Sample> samples(std::uint64_t seed, int count) {
    FormulaGenerator generator(seed);
    FormulaInputs inputs = sampleInputs();
    std::vector<Sample> out;
    for (int i = 0; i < count; ++i) {
        if (i % 97 == 0) inputs.values[std::size_t(i / 97 % 5)] = generator.valueText();
        if (i % 89 == 0) inputs.constants[std::size_t(i / 89 % 4)] = generator.valueText();
        const int kind = i % 10;
        const std::string formula = kind < 6   ? generator.grammatical(3)
                                    : kind < 9 ? generator.noise(1 + std::size_t(i % 30))
                                               : generator.hostile();
        out.push_back({formula, inputs});
    }
    return out;
}

TEST(FormulaNotesSweep, CollectingNotesChangesNoValueAndNoFailure) {
    const std::vector<Sample> formulas = samples(21, 100000 / kScale);
    std::vector<std::string> unnoted;
    for (const Sample& s : formulas)
        unnoted.push_back(evaluateOutcome(s.formula, s.inputs));

    // Notes read the formula and evaluate its operands, with the engine of this thread.
    std::size_t noted = 0;
    for (std::size_t i = 0; i < formulas.size(); ++i) {
        const Sample& s = formulas[i];
        const FormulaTexts texts = s.inputs;
        const std::vector<FormulaNote> notes = formulaNotes(s.formula, {&texts, true});
        noted += notes.empty() ? 0 : 1;
        const std::string outcome = evaluateOutcome(s.formula, s.inputs);
        if (outcome != unnoted[i]) {
            FAIL() << "formula '" << s.formula << "': " << outcome << " with notes, " << unnoted[i]
                   << " without";
        }
    }
    // The sample holds clean formulas and noted ones alike.
    EXPECT_GT(noted, formulas.size() / 10);
    EXPECT_LT(noted, formulas.size());
}

TEST(FormulaNotesSweep, EveryNoteCoversCharactersOfItsFormula) {
    for (const Sample& s : samples(22, 20000 / kScale)) {
        const std::u32string text = toUtf32(s.formula);
        for (const FormulaNote& n : formulaNotes(s.formula)) {
            ASSERT_LT(n.begin, n.end) << s.formula;
            ASSERT_LE(n.end, text.size()) << s.formula;
            ASSERT_EQ(n.text, toUtf8(std::u32string_view(text).substr(n.begin, n.end - n.begin)))
                << s.formula;
        }
    }
}

// The quirks the engine tells its observer of. A reading that stops at blanks only (at the end of
// the formula, of a bracket or of a term's body) loses nothing and has no note.
class QuirkRecorder : public EvaluationObserver {
  public:
    std::set<Quirk> quirks;
    void quirk(Quirk kind, std::u32string_view detail) override {
        const bool blanks = detail.find_first_not_of(U" \t\u3000") == std::u32string_view::npos;
        if (kind != Quirk::StoppedReading || !blanks) quirks.insert(kind);
    }
};

// The quirks of the notes; a note where the reading stops stands for StoppedReading.
std::set<Quirk> quirksOf(const std::vector<FormulaNote>& notes) {
    std::set<Quirk> quirks;
    for (const FormulaNote& n : notes) {
        if (const std::optional<Quirk> quirk = quirkOf(n.kind)) quirks.insert(*quirk);
        if (n.stopsReading) quirks.insert(Quirk::StoppedReading);
    }
    return quirks;
}

bool holds(const std::vector<FormulaNote>& notes, std::initializer_list<NoteKind> kinds) {
    for (const FormulaNote& n : notes) {
        for (const NoteKind kind : kinds) {
            if (n.kind == kind) return true;
        }
    }
    return false;
}

std::string names(const std::set<Quirk>& quirks) {
    static const char* const kNames[] = {"LostOperand", "SignAfterProduct",
                                         "PowerChain",  "StoppedReading",
                                         "LoneBracket", "NegativeBaseFraction"};
    std::string out;
    for (const Quirk q : quirks)
        out += std::string(kNames[static_cast<int>(q)]) + " ";
    return out;
}

TEST(FormulaNotesSweep, TheNotesFindTheQuirksTheEngineMeets) {
    int compared = 0;
    for (Sample& s : samples(23, 160000 / kScale)) {
        // Numbers for every name: a text that names other names is a formula of its own.
        s.inputs = sampleInputs();
        QuirkRecorder recorder;
        EvaluationOptions options;
        options.observer = &recorder;
        const std::string result =
            outcome([&] { return EvaluateFormula(s.formula, s.inputs, options); });
        const FormulaTexts texts = s.inputs;
        const std::vector<FormulaNote> notes = formulaNotes(s.formula, {&texts, true});
        const std::set<Quirk> noted = quirksOf(notes);

        // Where an operator lacks an operand, or a chain or a sign after "^" leaves a power
        // pending, the engine meets more than a note can place; the formula has its note then.
        const bool broken =
            holds(notes, {NoteKind::MissingOperand, NoteKind::SignAfterPower, NoteKind::DoubleStar,
                          NoteKind::SquareBracket, NoteKind::PowerChain});
        if (!broken) {
            for (const Quirk q : recorder.quirks) {
                ASSERT_TRUE(noted.count(q))
                    << "formula '" << s.formula << "': the engine meets " << names(recorder.quirks)
                    << "; the notes hold " << names(noted);
            }
        }
        // A note the engine does not meet: only where it never reads that far (a failure, a
        // negative base that ends the scan, a summation term it does not expand).
        const bool readToTheEnd = result.rfind("ok:", 0) == 0 &&
                                  !recorder.quirks.count(Quirk::NegativeBaseFraction) &&
                                  !holds(notes, {NoteKind::Summation});
        if (!broken && readToTheEnd) {
            ++compared;
            ASSERT_EQ(names(noted), names(recorder.quirks)) << "formula '" << s.formula << "'";
        }
    }
    EXPECT_GT(compared, 40000 / kScale);
}

}  // namespace
}  // namespace kurvilo
