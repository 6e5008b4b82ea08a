// SPDX-License-Identifier: MIT
// kurvilo-cli eval: formulas evaluated exactly as a tick evaluates them, one output line each,
// or with --explain every rewriting step of each evaluation.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/escape.h"
#include "cli/explain.h"
#include "cli/formula_warnings.h"
#include "cli/options.h"
#include "formula/evaluate.h"
#include "numbers/failures.h"
#include "picture/output_file.h"

namespace kurvilo::cli {

namespace {

enum EvalOptionId {
    kSeparator,
    kTsv,
    kExplain,
    kQuiet,
    kStrict,
    kSlot0,
    kSlot4 = kSlot0 + 4,
    kConstantA
};

using enum ValueKind;

constexpr OptionDef kEvalOptions[] = {
    {"", kHeading, None, "",
     "Values substituted for the names (texts, passed unchanged, parsed by the engine; each "
     "defaults to 0):"},
    {"vx", kSlot0, Text, "T", "slot 0: vx, or v\u03B8 in the polar modes"},
    {"vtheta", kSlot0, Text, "T", ""},
    {"x", kSlot0 + 1, Text, "T", "slot 1: x, or \u03B8"},
    {"theta", kSlot0 + 1, Text, "T", ""},
    {"vy", kSlot0 + 2, Text, "T", "slot 2: vy, or vr"},
    {"vr", kSlot0 + 2, Text, "T", ""},
    {"y", kSlot0 + 3, Text, "T", "slot 3: y, or r"},
    {"r", kSlot0 + 3, Text, "T", ""},
    {"t", kSlot4, Text, "T", "slot 4: the time t"},
    {"a", kConstantA, Text, "T", "the keypad's constants a, b, c and d"},
    {"b", kConstantA + 1, Text, "T", ""},
    {"c", kConstantA + 2, Text, "T", ""},
    {"d", kConstantA + 3, Text, "T", ""},
    {"", kHeading, None, "", "Options:"},
    {"explain", kExplain, None, "",
     "print every step of each evaluation: the summation terms expanded, each group and its "
     "value, each function applied, each name substituted, the term list of the products and "
     "the sum, each beside the working text after it; each quirk of the formula language met, "
     "with how to write around it; then the result. Cases are parted by an empty line; a long "
     "text is shown around what changed"},
    {"separator", kSeparator, Separator, "C",
     "the decimal separator of the value texts and the results: one character, or 'locale' for "
     "the locale's decimal point; default '.'. Number literals inside a formula are always "
     "written with '.'"},
    {"tsv", kTsv, None, "",
     "read cases from standard input, one a line, fields parted by tabs: formula, vx, x, vy, "
     "y, t, a, b, c, d; missing trailing fields take the values of the options above"},
    {"quiet", kQuiet, None, "", "write no warnings", 'q'},
    {"strict", kStrict, None, "",
     "make a formula with a note a failure: every formula is still answered, then one line "
     "on standard error counts them and the exit status is 3"},
    {"help", kHelpOption, None, "", "show this help", 'h'},
    {"version", kVersionOption, None, "", "show the version"},
};

constexpr std::string_view kEvalUsage =
    "usage: kurvilo-cli eval [options] [--] FORMULA...\n"
    "       kurvilo-cli eval [options] [-]           (formulas from standard input)\n"
    "       kurvilo-cli eval [options] --tsv < cases.tsv\n"
    "\n"
    "Evaluates each FORMULA on its own and prints one line per formula: the value in\n"
    "its text form (four decimals at most, no trailing zeros), or\n"
    "    error: <Kind>: <message>\n"
    "where Kind is EConvertError, EZeroDivide, EInvalidOp, EOverflow, EFormulaTooLong\n"
    "or EOutOfMemory. A FORMULA '-', or none at all, reads formulas from standard\n"
    "input, one a line, each answered as soon as it is read. A newline, carriage\n"
    "return, tab or NUL in a message is written \\n, \\r, \\t or \\0. Everything after\n"
    "'--' is a formula, even when it starts with '-'.\n"
    "\n"
    "A formula that is read differently from how it looks ('x + 1' is x, 'pi' is 0,\n"
    "'2**3' is 6) gets a warning on standard error for each of its notes, before its\n"
    "answer:\n"
    "    kurvilo-cli eval: warning: 'x + 1' column 2: a blank ends the reading ...\n"
    "A formula from standard input is named by its line ('line 3'); columns count\n"
    "characters from 1.\n";

constexpr std::string_view kEvalEpilogue =
    "Options may also be written --name=VALUE.\n"
    "Exit status: 0 when every formula was evaluated (a failing formula is a result),\n"
    "1 when the output or the input failed, 2 on bad arguments, 3 when --strict was\n"
    "given and a formula has a note.\n";

int evalMain(std::span<const std::string> args);

}  // namespace

const CommandDef& evalCommand() {
    static const CommandDef command{
        "eval",        "evaluate formulas the way a tick does, or explain their steps",
        kEvalUsage,    kEvalOptions,
        kEvalEpilogue, evalMain};
    return command;
}

namespace {

struct EvalSettings {
    FormulaInputs inputs;
    bool tsv = false;
    bool explain = false;
    bool quiet = false;
    bool strict = false;
    // In order; "-" stands for the lines of standard input. None: standard input alone.
    std::vector<std::string> formulas;
};

EvalSettings readEvalOptions(const CommandLine& line) {
    EvalSettings settings;
    for (const GivenOption& option : line.options) {
        if (option.id == kSeparator) {
            if (const std::string problem = setSeparatorOption(option.value); !problem.empty()) {
                throw UsageError(problem);
            }
        } else if (option.id == kTsv) {
            settings.tsv = true;
        } else if (option.id == kExplain) {
            settings.explain = true;
        } else if (option.id == kQuiet) {
            settings.quiet = true;
        } else if (option.id == kStrict) {
            settings.strict = true;
        } else if (option.id >= kConstantA) {
            settings.inputs.constants[static_cast<std::size_t>(option.id - kConstantA)] =
                option.value;
        } else {
            settings.inputs.values[static_cast<std::size_t>(option.id - kSlot0)] = option.value;
        }
    }
    settings.formulas = line.operands;
    std::size_t dashes = 0;
    for (const std::string& formula : settings.formulas)
        dashes += formula == "-";
    if (dashes > 1) throw UsageError("standard input ('-') can be read only once");
    if (settings.tsv && settings.formulas.size() > dashes) {
        throw UsageError("--tsv reads formulas from standard input only");
    }
    if (settings.formulas.empty()) settings.formulas.emplace_back("-");
    return settings;
}

// A case that memory ran out for before it could be read or explained.
void writeOutOfMemory(OutputFile& out, bool explain) {
    const EOutOfMemory failure;
    const std::string text = std::string("error: EOutOfMemory: ") + std::string(failure.message());
    out.write(explain ? Explainer::resultLine(text) : text + "\n");
}

// One case: its value or failure as one line, or its explanation, written as it comes.
void writeCase(OutputFile& out, std::string& text, std::string_view formula,
               const FormulaInputs& inputs, bool explain) {
    text.clear();
    if (explain) {
        try {
            Explainer explainer(out);
            explainer.formula(formula);
            EvaluationOptions options;
            options.observer = &explainer;
            try {
                explainer.result(EvaluateFormula(formula, inputs, options));
            } catch (const Failure& failure) {
                explainer.failure(failure.kind(), failure.message());
            }
        } catch (const std::bad_alloc&) {
            // The explanation itself ran out of memory: the case ends as the engine's would.
            writeOutOfMemory(out, true);
        }
        return;
    }
    try {
        appendText(text, EvaluateFormula(formula, inputs));
    } catch (const Failure& failure) {
        text += "error: ";
        text += failure.kind();
        text += ": ";
        appendEscaped(text, failure.message());
    }
    text += '\n';
    out.write(text);
}

// Lines of standard input, NULs and all; a line's "\r\n" ending counts as "\n". Before it waits
// for more input it flushes the output, so that whoever feeds it a line at a time gets each
// answer before sending the next, while a file or a fast pipe is still written in large pieces.
class LineReader {
  public:
    explicit LineReader(OutputFile& out) : out_(out) {}

    // False at the end of the input or on a read error (error() then is not 0). A line too long
    // for the memory there is comes back empty with outOfMemory() set; the rest of it is skipped.
    bool next(std::string& line) {
        outOfMemory_ = false;
        try {
            return read(line);
        } catch (const std::bad_alloc&) {
            line = std::string();
            outOfMemory_ = true;
            // The rest of this line goes; what follows it stays.
            const std::size_t newline = buffer_.find('\n', start_);
            if (newline != std::string::npos) {
                start_ = newline + 1;
            } else {
                buffer_ = std::string();
                start_ = 0;
                skipLine();
            }
            return true;
        }
    }
    bool outOfMemory() const noexcept { return outOfMemory_; }
    int error() const noexcept { return error_; }

  private:
    bool read(std::string& line) {
        line.clear();
        for (;;) {
            const std::size_t newline = buffer_.find('\n', start_);
            if (newline != std::string::npos) {
                line.assign(buffer_, start_, newline - start_);
                start_ = newline + 1;
                break;
            }
            if (end_) {
                if (start_ >= buffer_.size()) return false;
                line.assign(buffer_, start_);
                start_ = buffer_.size();
                break;
            }
            buffer_.erase(0, start_);
            start_ = 0;
            out_.flush();
            char chunk[1 << 16];
            const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
            if (n < 0) {
                if (errno == EINTR) continue;
                error_ = errno;
                return false;
            }
            if (n == 0) end_ = true;
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return true;
    }

    // Reads on to the end of the line, keeping what follows it.
    void skipLine() {
        char chunk[1 << 16];
        for (;;) {
            const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                if (n < 0) error_ = errno;
                end_ = true;
                return;
            }
            const std::string_view got(chunk, static_cast<std::size_t>(n));
            const std::size_t newline = got.find('\n');
            if (newline != std::string_view::npos) {
                buffer_.assign(got.substr(newline + 1));
                return;
            }
        }
    }

    OutputFile& out_;
    std::string buffer_;
    std::size_t start_ = 0;
    bool end_ = false;
    bool outOfMemory_ = false;
    int error_ = 0;
};

// A TSV case: formula, then up to nine value fields over the defaults.
std::string_view splitTsvCase(std::string_view line, const FormulaInputs& defaults,
                              FormulaInputs& inputs) {
    inputs = defaults;
    std::size_t tab = line.find('\t');
    const std::string_view formula = line.substr(0, tab);
    for (int field = 0; field < 9 && tab != std::string_view::npos; ++field) {
        line.remove_prefix(tab + 1);
        tab = line.find('\t');
        const std::string_view value = line.substr(0, tab);
        if (field < 5) {
            inputs.values[static_cast<std::size_t>(field)].assign(value);
        } else {
            inputs.constants[static_cast<std::size_t>(field - 5)].assign(value);
        }
    }
    return formula;
}

// The notes of a formula that is about to be evaluated with these values: they are known.
void warn(FormulaWarnings& warnings, std::string_view formula,
          const std::function<std::string()>& where, const FormulaInputs& inputs) {
    const FormulaTexts texts = inputs;
    NoteOptions options;
    options.texts = &texts;
    options.valuesFixed = true;
    warnings.check(formula, where, options);
}

// --strict: the one line that says why the exit status is not 0.
void reportStrict(const FormulaWarnings& warnings) {
    const std::size_t noted = warnings.formulasWithNotes();
    const std::string_view verb = readDifferently(noted);
    std::fprintf(stderr, "kurvilo-cli eval: --strict: %zu of %zu formula%s %.*s\n", noted,
                 warnings.formulas(), warnings.formulas() == 1 ? "" : "s", int(verb.size()),
                 verb.data());
}

int evaluate(const EvalSettings& settings) {
    OutputFile out;
    out.openStandardOutput();
    FormulaWarnings warnings("eval", settings.quiet, settings.strict);
    warnings.answersGoTo(out);
    LineReader input(out);
    std::string line;
    std::string text;
    FormulaInputs inputs;
    std::size_t lineNumber = 0;
    bool first = true;
    // Cases of an explanation are parted by an empty line.
    auto startCase = [&] {
        if (settings.explain && !first) out.write("\n");
        first = false;
    };
    for (const std::string& formula : settings.formulas) {
        if (formula != "-") {
            startCase();
            warn(
                warnings, formula, [&] { return quotedFormula(formula); }, settings.inputs);
            writeCase(out, text, formula, settings.inputs, settings.explain);
            continue;
        }
        while (!out.failed() && input.next(line)) {
            startCase();
            ++lineNumber;
            const auto where = [&] { return "line " + std::to_string(lineNumber); };
            if (input.outOfMemory()) {
                writeOutOfMemory(out, settings.explain);
            } else if (settings.tsv) {
                const std::string_view tsvFormula = splitTsvCase(line, settings.inputs, inputs);
                warn(warnings, tsvFormula, where, inputs);
                writeCase(out, text, tsvFormula, inputs, settings.explain);
            } else {
                warn(warnings, line, where, settings.inputs);
                writeCase(out, text, line, settings.inputs, settings.explain);
            }
        }
        if (out.failed()) break;
    }
    if (!out.close() && !out.readerGone()) {
        std::fprintf(stderr, "kurvilo-cli eval: cannot write standard output: %s\n",
                     out.error().c_str());
        return 1;
    }
    if (input.error() != 0 && !out.readerGone()) {
        std::fprintf(stderr, "kurvilo-cli eval: cannot read standard input: %s\n",
                     std::strerror(input.error()));
        return 1;
    }
    if (settings.strict && warnings.formulasWithNotes() > 0) {
        reportStrict(warnings);
        return kExitNotes;
    }
    return 0;
}

int evalMain(std::span<const std::string> args) {
    try {
        const CommandLine line = parseCommandLine(kEvalOptions, args, true);
        if (const int answered = answerHelpOrVersion(evalCommand(), line); answered >= 0) {
            return answered;
        }
        return evaluate(readEvalOptions(line));
    } catch (const UsageError& error) {
        return reportUsageError("eval", error.what());
    }
}

}  // namespace

}  // namespace kurvilo::cli
