// SPDX-License-Identifier: MIT
// kurvilo-cli eval: formulas evaluated exactly as a tick evaluates them, one output line each,
// or with --explain every rewriting step of each evaluation.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/escape.h"
#include "cli/explain.h"
#include "cli/options.h"
#include "cli/output.h"
#include "formula/evaluate.h"
#include "numbers/failures.h"

namespace kurvilo::cli {

namespace {

constexpr const char* kEvalHelp =
    "usage: kurvilo-cli eval [--explain] [--separator C] [--vx T] [--x T] [--vy T] [--y T]\n"
    "                        [--t T] [--a T] [--b T] [--c T] [--d T] [--] [FORMULA...]\n"
    "       kurvilo-cli eval [--explain] [--separator C] [value options] --tsv < cases.tsv\n"
    "\n"
    "Evaluates each FORMULA on its own and prints one line per formula: the value in its text\n"
    "form (four decimals at most, no trailing zeros), or\n"
    "    error: <Kind>: <message>\n"
    "where Kind is EConvertError, EZeroDivide, EInvalidOp, EOverflow, EFormulaTooLong or\n"
    "EOutOfMemory. Without a FORMULA, reads the formulas from standard input, one a line.\n"
    "A newline, carriage return, tab or NUL in a message is written \\n, \\r, \\t or \\0.\n"
    "\n"
    "Values substituted for the names (texts, passed unchanged; the engine parses them):\n"
    "  --vx T   (--vtheta T)  slot 0: vx or v\xCE\xB8        --a T  constant a\n"
    "  --x T    (--theta T)   slot 1: x or \xCE\xB8          --b T  constant b\n"
    "  --vy T   (--vr T)      slot 2: vy or vr         --c T  constant c\n"
    "  --y T    (--r T)       slot 3: y or r           --d T  constant d\n"
    "  --t T                  slot 4: t\n"
    "Every value defaults to \"0\". Options may also be written --name=T.\n"
    "\n"
    "  --explain      print every step of each evaluation: the summation terms expanded, each\n"
    "                 group and its value, each function applied, each name substituted, the\n"
    "                 term list of the products and the sum, each beside the text after it;\n"
    "                 then each quirk of the formula language met, with how to write around\n"
    "                 it; then the result. Cases are separated by an empty line.\n"
    "  --separator C  the decimal separator, one character (default: the locale's decimal\n"
    "                 point, or \".\" when it has none or a longer one). Value texts use it;\n"
    "                 number literals inside a formula are always written with \".\". It may\n"
    "                 not be a character of numbers, formulas or value atoms.\n"
    "  --tsv          read cases from standard input, one per line, TAB-separated:\n"
    "                 formula, vx, x, vy, y, t, a, b, c, d. Missing trailing fields take\n"
    "                 the values given by the options above (default \"0\").\n"
    "  --             everything after it is a formula, even when it starts with \"-\".\n"
    "  -h, --help     this text\n"
    "\n"
    "Exit status: 0 when every formula was evaluated (a failing formula is a result),\n"
    "1 when the output or the input failed, 2 on bad arguments.\n";

enum EvalOptionId { kSeparator, kTsv, kExplain, kSlot0, kSlot4 = kSlot0 + 4, kConstantA };

constexpr OptionDef kEvalOptions[] = {
    {"separator", kSeparator, true}, {"tsv", kTsv, false},
    {"explain", kExplain, false},    {"vx", kSlot0, true},
    {"vtheta", kSlot0, true},        {"x", kSlot0 + 1, true},
    {"theta", kSlot0 + 1, true},     {"vy", kSlot0 + 2, true},
    {"vr", kSlot0 + 2, true},        {"y", kSlot0 + 3, true},
    {"r", kSlot0 + 3, true},         {"t", kSlot4, true},
    {"a", kConstantA, true},         {"b", kConstantA + 1, true},
    {"c", kConstantA + 2, true},     {"d", kConstantA + 3, true},
};

struct EvalSettings {
    FormulaInputs inputs;
    bool tsv = false;
    bool explain = false;
    std::vector<std::string> formulas;  // none: read standard input
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
        } else if (option.id >= kConstantA) {
            settings.inputs.constants[static_cast<std::size_t>(option.id - kConstantA)] =
                option.value;
        } else {
            settings.inputs.values[static_cast<std::size_t>(option.id - kSlot0)] = option.value;
        }
    }
    settings.formulas = line.operands;
    if (settings.tsv && !settings.formulas.empty()) {
        throw UsageError("--tsv reads formulas from standard input only");
    }
    return settings;
}

// One case: its value or failure as one line, or its explanation.
void appendCase(std::string& out, std::string_view formula, const FormulaInputs& inputs,
                bool explain) {
    if (explain) {
        Explainer explainer;
        explainer.formula(formula);
        EvaluationOptions options;
        options.observer = &explainer;
        try {
            explainer.result(EvaluateFormula(formula, inputs, options));
        } catch (const Failure& failure) {
            explainer.failure(failure.kind(), failure.message());
        }
        out += explainer.text();
        return;
    }
    try {
        appendText(out, EvaluateFormula(formula, inputs));
    } catch (const Failure& failure) {
        out += "error: ";
        out += failure.kind();
        out += ": ";
        appendEscaped(out, failure.message());
    }
    out += '\n';
}

// Lines of standard input, NULs and all; a line's "\r\n" ending counts as "\n".
class LineReader {
  public:
    // False at the end of the input or on a read error (error() then is not 0).
    bool next(std::string& line) {
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
    int error() const noexcept { return error_; }

  private:
    std::string buffer_;
    std::size_t start_ = 0;
    bool end_ = false;
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

int finish(Output& out, const LineReader* input) {
    if (!out.close() && !out.readerGone()) {
        reportOutputFailure("eval", "cannot write", out);
        return 1;
    }
    if (input != nullptr && input->error() != 0 && !out.readerGone()) {
        std::fprintf(stderr, "kurvilo-cli eval: cannot read standard input: %s\n",
                     std::strerror(input->error()));
        return 1;
    }
    return 0;
}

int evaluate(const EvalSettings& settings) {
    Output out;
    out.openStandardOutput();
    if (!settings.formulas.empty()) {
        bool first = true;
        std::string text;
        for (const std::string& formula : settings.formulas) {
            text.clear();
            if (settings.explain && !first) text += '\n';
            appendCase(text, formula, settings.inputs, settings.explain);
            out.write(text);
            first = false;
        }
        return finish(out, nullptr);
    }
    // Someone typing formulas sees each answer at once, as with bc.
    const bool interactive = isatty(STDIN_FILENO) != 0;
    LineReader input;
    std::string line;
    std::string text;
    FormulaInputs inputs;
    bool first = true;
    while (!out.failed() && input.next(line)) {
        text.clear();
        if (settings.explain && !first) text += '\n';
        if (settings.tsv) {
            const std::string_view formula = splitTsvCase(line, settings.inputs, inputs);
            appendCase(text, formula, inputs, settings.explain);
        } else {
            appendCase(text, line, settings.inputs, settings.explain);
        }
        out.write(text);
        if (interactive) out.flush();
        first = false;
    }
    return finish(out, &input);
}

}  // namespace

int runEval(std::span<const std::string> args) {
    separatorFromLocale();
    try {
        const CommandLine line = parseCommandLine(kEvalOptions, args, true);
        if (line.help) return writeStandardOutput("eval", kEvalHelp);
        return evaluate(readEvalOptions(line));
    } catch (const UsageError& error) {
        return reportUsageError("eval", error.what());
    }
}

}  // namespace kurvilo::cli
