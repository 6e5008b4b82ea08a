// SPDX-License-Identifier: MIT
#include "cli/options.h"

#include <clocale>
#include <cstdio>
#include <stdexcept>

#include "cli/escape.h"
#include "numbers/separator.h"
#include "numbers/utf8.h"

namespace kurvilo::cli {

namespace {

const OptionDef* find(std::span<const OptionDef> table, std::string_view name) {
    for (const OptionDef& option : table) {
        if (option.name == name) return &option;
    }
    return nullptr;
}

}  // namespace

CommandLine parseCommandLine(std::span<const OptionDef> table, std::span<const std::string> args,
                             bool operandsAllowed) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            for (++i; i < args.size(); ++i) {
                if (!operandsAllowed) throw UsageError("unexpected argument '" + args[i] + "'");
                line.operands.push_back(args[i]);
            }
            break;
        }
        if (arg == "-h" || arg == "--help") {
            line.help = true;
            return line;
        }
        if (arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            if (!operandsAllowed) throw UsageError("unexpected argument '" + arg + "'");
            line.operands.push_back(arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(2, equals == std::string::npos ? equals : equals - 2);
        const OptionDef* option = find(table, name);
        if (option == nullptr) throw UsageError("unknown option '--" + name + "'");
        GivenOption given{option->id, name, {}};
        if (equals != std::string::npos) {
            if (!option->takesValue) throw UsageError("--" + name + " takes no value");
            given.value = arg.substr(equals + 1);
        } else if (option->takesValue) {
            if (i + 1 >= args.size()) throw UsageError("--" + name + " needs a value");
            given.value = args[++i];
        }
        line.options.push_back(std::move(given));
    }
    return line;
}

int reportUsageError(std::string_view command, std::string_view message) {
    const std::string program =
        command.empty() ? "kurvilo-cli" : "kurvilo-cli " + std::string(command);
    const std::string text =
        program + ": " + escaped(message) + "\nTry '" + program + " --help'.\n";
    std::fputs(text.c_str(), stderr);
    return kExitUsage;
}

void separatorFromLocale() {
    const std::lconv* conventions = std::localeconv();
    const char* point = conventions != nullptr ? conventions->decimal_point : nullptr;
    setDecimalSeparator(separatorFromLocaleSymbol(point != nullptr ? point : ""));
}

std::string setSeparatorOption(std::string_view value) {
    const std::u32string characters = toUtf32(value);
    if (characters.size() != 1) return "--separator needs exactly one character";
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
