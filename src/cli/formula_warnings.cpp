// SPDX-License-Identifier: MIT
#include "cli/formula_warnings.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <new>

#include "cli/escape.h"
#include "numbers/utf8.h"
#include "picture/output_file.h"

namespace kurvilo::cli {

namespace {

constexpr std::size_t kShownCharacters = 40;

// Standard output and standard error are one file that someone reads in order: a terminal, a
// pipe, a file. Not a device like /dev/null, where the order is lost anyway.
bool outputsShareAFile() {
    struct stat out {};
    struct stat err {};
    if (::fstat(STDOUT_FILENO, &out) != 0 || ::fstat(STDERR_FILENO, &err) != 0) return false;
    if (out.st_dev != err.st_dev || out.st_ino != err.st_ino) return false;
    return !S_ISCHR(out.st_mode) || ::isatty(STDOUT_FILENO) == 1;
}

}  // namespace

std::string quotedFormula(std::string_view formula) {
    std::size_t characters = 0;
    std::size_t end = 0;
    while (end < formula.size()) {
        if (!isUtf8Continuation(formula[end]) && ++characters > kShownCharacters) break;
        ++end;
    }
    std::string out = "'";
    appendEscaped(out, formula.substr(0, end));
    if (end < formula.size()) out += "\u2026";
    out += '\'';
    return out;
}

std::string_view readDifferently(std::size_t formulas) noexcept {
    return formulas == 1 ? "is read differently from how it looks"
                         : "are read differently from how they look";
}

std::string warningLines(std::string_view command, std::string_view where,
                         const std::vector<FormulaNote>& notes) {
    std::string lines;
    for (const FormulaNote& note : notes) {
        lines += "kurvilo-cli ";
        lines += command;
        lines += ": warning: ";
        lines += where;
        lines += " column ";
        lines += std::to_string(note.begin + 1);
        lines += ": ";
        appendEscaped(lines, noteText(note));
        lines += '\n';
    }
    return lines;
}

FormulaWarnings::FormulaWarnings(std::string_view command, bool quiet, bool strict)
    : command_(command), quiet_(quiet), reading_(!quiet || strict) {}

void FormulaWarnings::answersGoTo(OutputFile& out) {
    sharedOutput_ = out.isStandardOutput() && outputsShareAFile() ? &out : nullptr;
}

bool FormulaWarnings::check(std::string_view formula, const std::function<std::string()>& where,
                            const NoteOptions& options) {
    ++formulas_;
    if (!reading_) return false;
    std::vector<FormulaNote> notes;
    try {
        notes = formulaNotes(formula, options);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (notes.empty()) return false;
    ++formulasWithNotes_;
    if (quiet_) return true;
    try {
        const std::string lines = warningLines(command_, where(), notes);
        if (sharedOutput_ != nullptr) sharedOutput_->flush();
        // Standard error is unbuffered: the lines go out in one write, now.
        std::fwrite(lines.data(), 1, lines.size(), stderr);
        std::fflush(stderr);
    } catch (const std::bad_alloc&) {
        // The warning is lost; the note still counts.
    }
    return true;
}

}  // namespace kurvilo::cli
