// kurvilo-cli eval: formulas evaluated exactly as a tick evaluates them, one output line each.
#include <clocale>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "formula/evaluate.h"
#include "numbers/failures.h"
#include "numbers/separator.h"
#include "numbers/utf8.h"

namespace kurvilo::cli {

namespace {

constexpr const char* kEvalUsage =
    "usage: kurvilo-cli eval [--separator C] [--vx T] [--x T] [--vy T] [--y T] [--t T]\n"
    "                        [--a T] [--b T] [--c T] [--d T] [--] FORMULA...\n"
    "       kurvilo-cli eval [--separator C] [value options] --tsv < cases.tsv\n"
    "\n"
    "Evaluates each FORMULA on its own and prints one line per formula: the value in its text\n"
    "form (four decimals at most, no trailing zeros), or\n"
    "    error: <Kind>: <message>\n"
    "where Kind is EConvertError, EZeroDivide, EInvalidOp or EOverflow.\n"
    "\n"
    "Values substituted for the names (texts, passed unchanged; the engine parses them):\n"
    "  --vx T   (--vtheta T)  slot 0: vx or v\xCE\xB8        --a T  constant a\n"
    "  --x T    (--theta T)   slot 1: x or \xCE\xB8          --b T  constant b\n"
    "  --vy T   (--vr T)      slot 2: vy or vr         --c T  constant c\n"
    "  --y T    (--r T)       slot 3: y or r           --d T  constant d\n"
    "  --t T                  slot 4: t\n"
    "Every value defaults to \"0\". Options may also be written --name=T.\n"
    "\n"
    "  --separator C  the decimal separator, one character (default: the locale's decimal\n"
    "                 point, or \".\" when it has none or a longer one). Value texts use it;\n"
    "                 number literals inside a formula are always written with \".\".\n"
    "  --tsv          read cases from standard input, one per line, TAB-separated:\n"
    "                 formula, vx, x, vy, y, t, a, b, c, d. Missing trailing fields take\n"
    "                 the values given by the options above (default \"0\").\n"
    "  --             everything after it is a formula, even when it starts with \"--\".\n"
    "\n"
    "Exit status: 0 when every formula was evaluated (a failing formula is a result),\n"
    "2 on bad arguments.\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "kurvilo-cli eval: %s\n\n%s", message.c_str(), kEvalUsage);
    return 2;
}

void appendOutcome(std::string& out, std::string_view formula, const FormulaInputs& inputs) {
    try {
        appendText(out, EvaluateFormula(formula, inputs));
    } catch (const Failure& failure) {
        out += "error: ";
        out += failure.kind();
        out += ": ";
        out += failure.what();
    }
    out += '\n';
}

// Slot or constant an option names; -1 when it names neither.
struct ValueOption {
    const char* name;
    bool constant;
    int index;
};

constexpr ValueOption kValueOptions[] = {
    {"vx", false, 0}, {"vtheta", false, 0}, {"x", false, 1}, {"theta", false, 1}, {"vy", false, 2},
    {"vr", false, 2}, {"y", false, 3},      {"r", false, 3}, {"t", false, 4},     {"a", true, 0},
    {"b", true, 1},   {"c", true, 2},       {"d", true, 3},
};

int evaluateTsv(const FormulaInputs& defaults) {
    std::ios::sync_with_stdio(false);
    std::string line;
    std::string out;
    out.reserve(1 << 16);
    FormulaInputs inputs;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        inputs = defaults;
        std::string_view rest(line);
        std::size_t tab = rest.find('\t');
        const std::string_view formula = rest.substr(0, tab);
        for (int field = 0; field < 9 && tab != std::string_view::npos; ++field) {
            rest.remove_prefix(tab + 1);
            tab = rest.find('\t');
            const std::string_view value = rest.substr(0, tab);
            if (field < 5) {
                inputs.values[static_cast<std::size_t>(field)].assign(value);
            } else {
                inputs.constants[static_cast<std::size_t>(field - 5)].assign(value);
            }
        }
        appendOutcome(out, formula, inputs);
        if (out.size() >= (1 << 16)) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return 0;
}

}  // namespace

void separatorFromLocale() {
    const std::lconv* conventions = std::localeconv();
    const char* point = conventions != nullptr ? conventions->decimal_point : nullptr;
    setDecimalSeparator(separatorFromLocaleSymbol(point != nullptr ? point : ""));
}

bool setSeparatorOption(const std::string& value) {
    const std::u32string characters = toUtf32(value);
    if (characters.size() != 1) return false;
    try {
        setDecimalSeparator(characters[0]);
    } catch (const std::invalid_argument&) {
        return false;
    }
    return true;
}

int runEval(const std::vector<std::string>& args) {
    separatorFromLocale();
    FormulaInputs inputs;
    bool tsv = false;
    std::vector<std::string> formulas;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            formulas.insert(formulas.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                            args.end());
            break;
        }
        LongOption option;
        if (!splitLongOption(arg, option)) {
            formulas.push_back(arg);
            continue;
        }
        const std::string& name = option.name;
        std::string& value = option.value;
        const bool hasValue = option.hasValue;
        if (name == "help") {
            std::fputs(kEvalUsage, stdout);
            return 0;
        }
        if (name == "tsv") {
            if (hasValue) return usageError("--tsv takes no value");
            tsv = true;
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) return usageError("--" + name + " needs a value");
            value = args[++i];
        }
        if (name == "separator") {
            if (!setSeparatorOption(value)) {
                return usageError(
                    "--separator needs exactly one character that is not a digit, "
                    "blank, sign or exponent letter");
            }
            continue;
        }
        bool known = false;
        for (const ValueOption& valueOption : kValueOptions) {
            if (name != valueOption.name) continue;
            auto& target = valueOption.constant
                               ? inputs.constants[static_cast<std::size_t>(valueOption.index)]
                               : inputs.values[static_cast<std::size_t>(valueOption.index)];
            target = value;
            known = true;
            break;
        }
        if (!known) return usageError("unknown option '" + arg + "'");
    }

    if (tsv) {
        if (!formulas.empty()) return usageError("--tsv reads formulas from standard input only");
        return evaluateTsv(inputs);
    }
    if (formulas.empty()) return usageError("no formula given");
    std::string out;
    for (const std::string& formula : formulas)
        appendOutcome(out, formula, inputs);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

}  // namespace kurvilo::cli
