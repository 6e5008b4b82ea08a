// SPDX-License-Identifier: MIT
// The warnings of eval and run: each note of a formula (formula/notes.h) as one line on standard
// error, naming where the formula came from and the column where the note starts, counted in
// characters from 1:
//
//   kurvilo-cli eval: warning: 'x + 1' column 2: a blank ends the reading here: ...
//   kurvilo-cli eval: warning: line 3 column 2: ...
//   kurvilo-cli run: warning: --ay 'x + 1' column 2: ...
//   kurvilo-cli run: warning: lesson.kurvilo: formulas.first 'x + 1' column 2: ...
//
// The wording after the column is noteText's, the one the window's marker says in its own way.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "formula/notes.h"

namespace kurvilo {
class OutputFile;
}

namespace kurvilo::cli {

// A formula as a warning names it: quoted, with the characters that would break the line
// escaped, and cut after 40 characters ("'Σ{n=1<>3:n}+…'").
std::string quotedFormula(std::string_view formula);

// "is read differently from how it looks", or for more than one formula "are ... they look".
std::string_view readDifferently(std::size_t formulas) noexcept;

// The warning lines of one formula's notes, each ending in a newline.
std::string warningLines(std::string_view command, std::string_view where,
                         const std::vector<FormulaNote>& notes);

class FormulaWarnings {
  public:
    // command: "eval" or "run". quiet: the notes are not written; unless strict asks for them
    // to be counted, they are not even read (a quiet eval of many lines pays nothing for them).
    FormulaWarnings(std::string_view command, bool quiet, bool strict);

    // The output the command writes its answers to. When it is standard output and shares its
    // file with standard error (a terminal, "2>&1"), it is flushed before each warning, so that
    // the warnings of a formula stand right before its answer and after the answers before it.
    void answersGoTo(OutputFile& out);

    // Writes the notes of formula, said to come from where() (asked only when there are notes
    // to write), in one piece; true when it has any. Never throws: a formula too large for the
    // memory its notes need gets none.
    bool check(std::string_view formula, const std::function<std::string()>& where,
               const NoteOptions& options);

    std::size_t formulas() const noexcept { return formulas_; }
    std::size_t formulasWithNotes() const noexcept { return formulasWithNotes_; }

  private:
    std::string command_;
    bool quiet_;
    bool reading_;
    OutputFile* sharedOutput_ = nullptr;
    std::size_t formulas_ = 0;
    std::size_t formulasWithNotes_ = 0;
};

}  // namespace kurvilo::cli
