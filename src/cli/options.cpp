// SPDX-License-Identifier: MIT
#include "cli/options.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <stdexcept>

#include "cli/escape.h"
#include "cli/text_width.h"
#include "numbers/separator.h"
#include "numbers/utf8.h"
#include "sim/settings.h"

namespace kurvilo::cli {

namespace {

constexpr std::size_t kHelpWidth = 80;
constexpr std::size_t kHelpTextColumn = 24;

const OptionDef* find(std::span<const OptionDef> table, std::string_view name) {
    for (const OptionDef& option : table) {
        if (option.id != kHeading && option.name == name) return &option;
    }
    return nullptr;
}

const OptionDef* findShort(std::span<const OptionDef> table, char name) {
    for (const OptionDef& option : table) {
        if (option.id != kHeading && option.shortName != 0 && option.shortName == name)
            return &option;
    }
    return nullptr;
}

std::string unknownOption(std::span<const OptionDef> table, std::string_view name) {
    std::vector<std::string_view> names;
    for (const OptionDef& option : table) {
        if (option.id != kHeading) names.push_back(option.name);
    }
    std::string message = "unknown option '--" + std::string(name) + "'";
    if (const std::string nearest = nearestName(name, names); !nearest.empty()) {
        message += " (did you mean '--" + nearest + "'?)";
    }
    return message;
}

// Damerau-Levenshtein distance in its restricted form: insertions, deletions, changes and swaps
// of two neighbours, each 1.
std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

// "a, b or c".
std::string listed(const std::vector<std::string_view>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += i + 1 == items.size() ? " or " : ", ";
        text += items[i];
    }
    return text;
}

// The names column of an option row: "-q, --quiet", "--vx0, --vtheta0 T".
std::string namesOf(std::span<const OptionDef> table, std::size_t row) {
    const OptionDef& option = table[row];
    std::string names = "  ";
    if (option.shortName != 0) {
        names += '-';
        names += option.shortName;
        names += ", ";
    }
    names += "--";
    names += option.name;
    for (std::size_t i = row + 1; i < table.size() && table[i].help.empty(); ++i) {
        names += ", --";
        names += table[i].name;
    }
    if (!option.valueName.empty()) {
        names += ' ';
        names += option.valueName;
    }
    return names;
}

// text with its "{values}" replaced by the closed set of kind.
std::string helpText(std::string_view text, ValueKind kind) {
    std::string out(text);
    const std::size_t at = out.find("{values}");
    if (at == std::string::npos) return out;
    std::string values = listed(closedValues(kind));
    if (kind == ValueKind::ModeName) values += " (or 0 to 3)";
    out.replace(at, 8, values);
    return out;
}

// Appends text wrapped at word boundaries to fit the help's width, every line after the first
// starting at indent (the first continues the line already in out).
void appendWrapped(std::string& out, std::string_view text, std::size_t indent) {
    std::size_t column = displayWidth(out.substr(out.rfind('\n') + 1));
    bool lineStart = true;
    while (!text.empty()) {
        const std::size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        const std::size_t width = displayWidth(word);
        if (!lineStart && column + 1 + width > kHelpWidth) {
            out += '\n';
            out.append(indent, ' ');
            column = indent;
            lineStart = true;
        }
        if (!lineStart) {
            out += ' ';
            ++column;
        }
        out += word;
        column += width;
        lineStart = false;
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
    }
    out += '\n';
}

}  // namespace

CommandLine parseCommandLine(std::span<const OptionDef> table, std::span<const std::string> args,
                             bool operandsAllowed) {
    CommandLine line;
    auto operand = [&](const std::string& arg) {
        if (!operandsAllowed) throw UsageError("unexpected argument '" + arg + "'");
        line.operands.push_back(arg);
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            for (++i; i < args.size(); ++i)
                operand(args[i]);
            break;
        }
        const OptionDef* option = nullptr;
        std::string name;
        std::size_t equals = std::string::npos;
        if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            equals = arg.find('=');
            name = arg.substr(2, equals == std::string::npos ? equals : equals - 2);
            option = find(table, name);
            if (option == nullptr) throw UsageError(unknownOption(table, name));
            name = "--" + name;
        } else if (arg.size() == 2 && arg[0] == '-' && findShort(table, arg[1]) != nullptr) {
            option = findShort(table, arg[1]);
            name = arg;
        } else {
            operand(arg);  // "-" too, and "-x", a formula
            continue;
        }
        if (option->id == kHelpOption || option->id == kVersionOption) {
            if (equals != std::string::npos) throw UsageError(name + " takes no value");
            (option->id == kHelpOption ? line.help : line.version) = true;
            return line;
        }
        GivenOption given{option->id, name, {}};
        if (equals != std::string::npos) {
            if (option->value == ValueKind::None) throw UsageError(name + " takes no value");
            given.value = arg.substr(equals + 1);
        } else if (option->value != ValueKind::None) {
            if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
            given.value = args[++i];
        }
        line.options.push_back(std::move(given));
    }
    return line;
}

std::string nearestName(std::string_view typed, std::span<const std::string_view> candidates) {
    // Close enough: one slip in a short name, two in a longer one, three in a long one.
    const std::size_t allowed = typed.size() <= 3 ? 1 : typed.size() <= 7 ? 2 : 3;
    std::string_view best;
    std::size_t bestDistance = allowed + 1;
    for (const std::string_view candidate : candidates) {
        const std::size_t distance = editDistance(typed, candidate);
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    if (best.empty() && typed.size() >= 2) {
        // The start of a longer name: "--pict" for "--picture".
        for (const std::string_view candidate : candidates) {
            if (candidate.substr(0, typed.size()) == typed) return std::string(candidate);
        }
    }
    return std::string(best);
}

std::vector<std::string_view> closedValues(ValueKind kind) {
    std::vector<std::string_view> values;
    switch (kind) {
        case ValueKind::ModeName:
            for (const GraphModeSetting& row : kGraphModes)
                values.push_back(row.name);
            break;
        case ValueKind::StepName:
            for (const TimeStepSetting& row : kTimeSteps)
                values.push_back(row.caption);
            break;
        case ValueKind::RangeName:
            for (const ViewRange& row : kViewRanges)
                values.push_back(row.value);
            break;
        case ValueKind::SpeedName:
            for (const DrawingSpeed& row : kDrawingSpeeds)
                values.push_back(row.caption);
            break;
        default:
            break;
    }
    return values;
}

std::string optionHelp(std::span<const OptionDef> table) {
    std::string out;
    for (std::size_t row = 0; row < table.size(); ++row) {
        const OptionDef& option = table[row];
        if (option.id == kHeading) {
            if (!out.empty()) out += '\n';
            appendWrapped(out, option.help, 0);
            continue;
        }
        if (option.help.empty()) continue;  // an alias, shown with the row before
        out += namesOf(table, row);
        const std::size_t width = displayWidth(out.substr(out.rfind('\n') + 1));
        if (width + 2 > kHelpTextColumn) {
            out += '\n';
            out.append(kHelpTextColumn, ' ');
        } else {
            out.append(kHelpTextColumn - width, ' ');
        }
        appendWrapped(out, helpText(option.help, option.value), kHelpTextColumn);
    }
    return out;
}

int reportUsageError(std::string_view command, std::string_view message) {
    const std::string program =
        command.empty() ? "kurvilo-cli" : "kurvilo-cli " + std::string(command);
    const std::string text =
        program + ": " + escaped(message) + "\nTry '" + program + " --help'.\n";
    std::fputs(text.c_str(), stderr);
    return kExitUsage;
}

void useDefaultSeparator() {
    setDecimalSeparator(U'.');
}

std::string setSeparatorOption(std::string_view value) {
    if (value == "locale") {
        const std::lconv* conventions = std::localeconv();
        const char* point = conventions != nullptr ? conventions->decimal_point : nullptr;
        setDecimalSeparator(separatorFromLocaleSymbol(point != nullptr ? point : ""));
        return {};
    }
    const std::u32string characters = toUtf32(value);
    if (characters.size() != 1) {
        return "--separator needs exactly one character, or 'locale'";
    }
    const char32_t c = characters[0];
    // The characters of formulas and value atoms: a separator among them would be read as
    // syntax ("--separator ']'" would end every value atom early).
    static constexpr std::u32string_view kSyntax = U"()[]{}*/^:<>=\u03C0\u03B8\u03A3";
    const bool letter = (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
    if (letter || kSyntax.find(c) != std::u32string_view::npos) {
        return "--separator '" + std::string(value) +
               "' is a character of the formula language or its value atoms";
    }
    if (c < 0x20 || c == 0x7F) return "--separator cannot be a control character";
    try {
        setDecimalSeparator(c);
    } catch (const std::invalid_argument&) {
        return "--separator '" + std::string(value) +
               "' cannot separate decimals: numbers use digits, blanks, signs and exponent "
               "letters, and invalid UTF-8 is no character";
    }
    return {};
}

}  // namespace kurvilo::cli
