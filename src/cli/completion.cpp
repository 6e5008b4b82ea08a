// SPDX-License-Identifier: MIT
// kurvilo-cli completion bash|zsh: the shell completion, written from the commands' own option
// tables, so that it offers exactly the commands, the options and the closed value sets (graph
// modes, steps, ranges, speeds) the tool takes, and the files by their suffixes.
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/options.h"

namespace kurvilo::cli {

namespace {

constexpr OptionDef kCompletionOptions[] = {
    {"help", kHelpOption, ValueKind::None, "", "show this help", 'h'},
    {"version", kVersionOption, ValueKind::None, "", "show the version"},
};

constexpr std::string_view kCompletionUsage =
    "usage: kurvilo-cli completion bash|zsh\n"
    "\n"
    "Prints the completion of kurvilo-cli for the shell: its commands, options, the\n"
    "values of --mode, --step, --range-x, --range-y and --speed, and file names by\n"
    "their suffixes.\n"
    "The package installs both; to try one in a shell of your own:\n"
    "    source <(kurvilo-cli completion bash)\n";

int completionMain(std::span<const std::string> args);

}  // namespace

const CommandDef& completionCommand() {
    static const CommandDef command{"completion",
                                    "print the bash or zsh completion script",
                                    kCompletionUsage,
                                    kCompletionOptions,
                                    "",
                                    completionMain};
    return command;
}

namespace {

std::string joined(const std::vector<std::string_view>& words) {
    std::string text;
    for (const std::string_view word : words) {
        if (!text.empty()) text += ' ';
        text += word;
    }
    return text;
}

std::vector<std::string_view> commandNames() {
    std::vector<std::string_view> names;
    for (const CommandDef* command : commands())
        names.push_back(command->name);
    return names;
}

// The separator's useful values: the locale's, and the two decimal points people write.
constexpr std::string_view kSeparators = "locale . ,";

// Files by suffix, as bash-completion's _filedir takes them.
std::string_view bashFiles(ValueKind kind) {
    switch (kind) {
        case ValueKind::File:
            return "_filedir";
        case ValueKind::PictureFile:
            return "_filedir '@(png|bmp)'";
        case ValueKind::BmpFile:
            return "_filedir bmp";
        case ValueKind::GifFile:
            return "_filedir gif";
        case ValueKind::RunFileName:
            return "_filedir kurvilo";
        case ValueKind::Folder:
            return "_filedir -d";
        default:
            return {};
    }
}

std::string bashCommand(const CommandDef& command) {
    std::string script = "        " + std::string(command.name) + ")\n";
    script += "            case $prev in\n";
    std::vector<std::string> freeValues;
    for (const OptionDef& option : command.options) {
        if (option.id == kHeading || option.value == ValueKind::None) continue;
        const std::string name = "--" + std::string(option.name);
        std::string action;
        if (const std::vector<std::string_view> values = closedValues(option.value);
            !values.empty()) {
            action = "COMPREPLY=($(compgen -W '" + joined(values) + "' -- \"$cur\"))";
        } else if (option.value == ValueKind::Separator) {
            action = "COMPREPLY=($(compgen -W '" + std::string(kSeparators) + "' -- \"$cur\"))";
        } else if (const std::string_view files = bashFiles(option.value); !files.empty()) {
            action = files;
        } else {
            freeValues.push_back(name);
            continue;
        }
        script += "                " + name + ")\n                    " + action +
                  "\n                    return ;;\n";
    }
    if (!freeValues.empty()) {
        std::string names;
        for (const std::string& name : freeValues)
            names += (names.empty() ? "" : "|") + name;
        script += "                " + names + ")\n                    return ;;\n";
    }
    script += "            esac\n";
    script += "            $split && return\n";
    std::string words;
    for (const OptionDef& option : command.options) {
        if (option.id == kHeading) continue;
        words += (words.empty() ? "--" : " --") + std::string(option.name);
    }
    script +=
        "            [[ $cur == -* ]] && COMPREPLY=($(compgen -W '" + words + "' -- \"$cur\"))\n";
    // run's operand: a run file, or a picture that carries one.
    if (command.name == "run")
        script += "            [[ $cur == -* ]] || _filedir '@(kurvilo|png)'\n";
    script += "            return ;;\n";
    return script;
}

std::string bashScript() {
    std::string script =
        "# bash completion for kurvilo-cli, made by 'kurvilo-cli completion bash'.\n"
        "_kurvilo_cli() {\n"
        "    local cur prev words cword split\n"
        "    _init_completion -s || return\n"
        "    if ((cword == 1)); then\n"
        "        if [[ $cur == -* ]]; then\n"
        "            COMPREPLY=($(compgen -W '--help --version' -- \"$cur\"))\n"
        "        else\n"
        "            COMPREPLY=($(compgen -W '" +
        joined(commandNames()) +
        " help' -- \"$cur\"))\n"
        "        fi\n"
        "        return\n"
        "    fi\n"
        "    case ${words[1]} in\n"
        "        help)\n"
        "            ((cword == 2)) && COMPREPLY=($(compgen -W '" +
        joined(commandNames()) +
        "' -- \"$cur\"))\n"
        "            return ;;\n";
    for (const CommandDef* command : commands()) {
        if (command->name == "completion") {
            script +=
                "        completion)\n"
                "            ((cword == 2)) && COMPREPLY=($(compgen -W 'bash zsh' -- \"$cur\"))\n"
                "            return ;;\n";
        } else {
            script += bashCommand(*command);
        }
    }
    script +=
        "    esac\n"
        "} &&\n"
        "    complete -F _kurvilo_cli kurvilo-cli\n";
    return script;
}

// A description for zsh: the help's first clause, with what _arguments reads as syntax escaped.
std::string zshDescription(std::string_view help) {
    const std::size_t end = help.find_first_of(";:.(");
    std::string_view clause = help.substr(0, end);
    while (!clause.empty() && clause.back() == ' ')
        clause.remove_suffix(1);
    std::string out;
    for (const char c : clause) {
        if (c == '[' || c == ']' || c == ':' || c == '\\') out += '\\';
        if (c == '\'') {
            out += "'\\''";
            continue;
        }
        out += c;
    }
    return out;
}

std::string zshAction(const OptionDef& option) {
    const std::string name(option.valueName.empty() ? "value" : option.valueName);
    if (const std::vector<std::string_view> values = closedValues(option.value); !values.empty()) {
        return ":" + name + ":(" + joined(values) + ")";
    }
    switch (option.value) {
        case ValueKind::Separator:
            return ":" + name + ":(" + std::string(kSeparators) + ")";
        case ValueKind::File:
            return ":" + name + ":_files";
        case ValueKind::PictureFile:
            return ":" + name + ":_files -g \"*.(png|bmp|PNG|BMP)(-.)\"";
        case ValueKind::BmpFile:
            return ":" + name + ":_files -g \"*.(bmp|BMP)(-.)\"";
        case ValueKind::GifFile:
            return ":" + name + ":_files -g \"*.(gif|GIF)(-.)\"";
        case ValueKind::RunFileName:
            return ":" + name + ":_files -g \"*.kurvilo(-.)\"";
        case ValueKind::Folder:
            return ":" + name + ":_files -/";
        default:
            return ":" + name + ": ";
    }
}

std::string zshCommand(const CommandDef& command) {
    std::string script = "_kurvilo_cli_" + std::string(command.name) + "() {\n";
    script += "    _arguments -S";
    std::string_view description;
    for (const OptionDef& option : command.options) {
        if (option.id == kHeading) continue;
        if (!option.help.empty()) description = option.help;
        std::string entry = " \\\n        '";
        if (option.shortName != 0) {
            entry += "(-";
            entry += option.shortName;
            entry += " --" + std::string(option.name) + ")'{-";
            entry += option.shortName;
            entry += ",--" + std::string(option.name) + "}'";
        } else {
            entry += "--" + std::string(option.name);
            if (option.value != ValueKind::None) entry += '=';
        }
        entry += "[" + zshDescription(description) + "]";
        if (option.value != ValueKind::None) entry += zshAction(option);
        entry += "'";
        script += entry;
    }
    if (command.name == "eval") {
        script += " \\\n        '*:formula: '";
    } else if (command.name == "run") {
        script += " \\\n        '1:run file:_files -g \"*.(kurvilo|png|PNG)(-.)\"'";
    } else if (command.name == "completion") {
        script += " \\\n        '1:shell:(bash zsh)'";
    }
    script += "\n}\n\n";
    return script;
}

std::string zshScript() {
    std::string script =
        "#compdef kurvilo-cli\n"
        "# zsh completion for kurvilo-cli, made by 'kurvilo-cli completion zsh'.\n\n";
    for (const CommandDef* command : commands())
        script += zshCommand(*command);
    script +=
        "_kurvilo_cli() {\n"
        "    local -a commands\n"
        "    commands=(\n";
    for (const CommandDef* command : commands()) {
        script += "        '" + std::string(command->name) + ":" +
                  zshDescription(command->summary) + "'\n";
    }
    script +=
        "        'help:show the help of a command'\n"
        "    )\n"
        "    if ((CURRENT == 2)); then\n"
        "        _describe -t commands 'kurvilo-cli command' commands\n"
        "        return\n"
        "    fi\n"
        "    local command=$words[2]\n"
        "    shift words\n"
        "    ((CURRENT--))\n"
        "    case $command in\n"
        "        help) _arguments '1:command:(" +
        joined(commandNames()) + ")' ;;\n";
    for (const CommandDef* command : commands()) {
        script += "        " + std::string(command->name) + ") _kurvilo_cli_" +
                  std::string(command->name) + " ;;\n";
    }
    script +=
        "    esac\n"
        "}\n\n"
        "_kurvilo_cli \"$@\"\n";
    return script;
}

int completionMain(std::span<const std::string> args) {
    try {
        const CommandLine line = parseCommandLine(kCompletionOptions, args, true);
        if (const int answered = answerHelpOrVersion(completionCommand(), line); answered >= 0) {
            return answered;
        }
        if (line.operands.size() != 1) throw UsageError("completion needs one shell: bash or zsh");
        const std::string& shell = line.operands[0];
        if (shell == "bash") return writeStandardOutput("completion", bashScript());
        if (shell == "zsh") return writeStandardOutput("completion", zshScript());
        const std::vector<std::string_view> shells = {"bash", "zsh"};
        std::string message = "no completion for the shell '" + shell + "': bash or zsh";
        if (const std::string nearest = nearestName(shell, shells); !nearest.empty()) {
            message += " (did you mean '" + nearest + "'?)";
        }
        throw UsageError(message);
    } catch (const UsageError& error) {
        return reportUsageError("completion", error.what());
    }
}

}  // namespace

}  // namespace kurvilo::cli
