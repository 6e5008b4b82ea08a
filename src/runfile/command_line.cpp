// SPDX-License-Identifier: MIT
#include "runfile/command_line.h"

#include <cstddef>

#include "numbers/utf8.h"

namespace kurvilo {

namespace {

bool plainCharacter(char c, bool first) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    switch (c) {
        case '_':
        case '.':
        case '/':
        case ',':
        case ':':
        case '+':
        case '-':
            return true;
        case '=':  // zsh expands a word that starts with it to a command's path
            return !first;
        default:
            return false;
    }
}

class Command {
  public:
    explicit Command(std::string start) : line_(std::move(start)) {}

    void option(std::string_view name, std::string_view value) {
        const std::optional<std::string> word = shellWord(value);
        if (!word) {
            ok_ = false;
            return;
        }
        line_ += " --";
        line_ += name;
        line_ += ' ';
        line_ += *word;
    }

    // An option whose value kurvilo-cli takes when it is not given is left out.
    void option(std::string_view name, std::string_view value, std::string_view byDefault) {
        if (value != byDefault) option(name, value);
    }

    std::optional<std::string> finish(std::string_view outputs) {
        if (!ok_) return std::nullopt;
        if (!outputs.empty()) {
            line_ += ' ';
            line_ += outputs;
        }
        return line_;
    }

  private:
    std::string line_;
    bool ok_ = true;
};

std::string zoomValue(const ZoomSetting& zoom) {
    return std::to_string(zoom.centre) + "," + std::to_string(zoom.halfWidth);
}

}  // namespace

std::optional<std::string> shellWord(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) return std::nullopt;
    bool plain = !text.empty();
    for (std::size_t i = 0; i < text.size() && plain; ++i)
        plain = plainCharacter(text[i], i == 0);
    if (plain) return std::string(text);
    std::string word = "'";
    for (const char c : text) {
        if (c == '\'') {
            word += "'\\''";  // end the quotes, an escaped quote, quotes again
        } else {
            word += c;
        }
    }
    return word + "'";
}

std::optional<std::string> runCommandLine(const RunFile& file, std::string_view outputs) {
    const RunSettings& s = file.settings;
    const RunSettings defaults;
    const GraphModeSetting& mode = kGraphModes[static_cast<std::size_t>(s.graphMode)];
    Command command("kurvilo-cli run");
    command.option("mode", mode.name);
    command.option(mode.firstFormulaName, s.firstFormula, "");
    command.option(mode.isMotion() ? mode.secondFormulaName : "f2", s.secondFormula, "");
    for (std::size_t i = 0; i < kInitialValues; ++i) {
        command.option(std::string(mode.initialNames[i]) + "0", s.initialValues[i],
                       defaults.initialValues[i]);
    }
    constexpr std::string_view kConstants[] = {"a", "b", "c", "d"};
    for (std::size_t i = 0; i < s.constants.size(); ++i)
        command.option(kConstants[i], s.constants[i], defaults.constants[i]);
    command.option("step", kTimeSteps[static_cast<std::size_t>(s.timeStep)].caption,
                   kTimeSteps[static_cast<std::size_t>(defaults.timeStep)].caption);
    command.option("range-x", kViewRanges[static_cast<std::size_t>(s.viewRangeX)].value,
                   kViewRanges[static_cast<std::size_t>(defaults.viewRangeX)].value);
    command.option("range-y", kViewRanges[static_cast<std::size_t>(s.viewRangeY)].value,
                   kViewRanges[static_cast<std::size_t>(defaults.viewRangeY)].value);
    // A zoom that is off leaves its spin boxes unread (the start action zeroes the centre).
    if (s.zoomX.on) command.option("zoom-x", zoomValue(s.zoomX));
    if (s.zoomY.on) command.option("zoom-y", zoomValue(s.zoomY));
    command.option("speed", kDrawingSpeeds[static_cast<std::size_t>(s.drawingSpeed)].caption,
                   kDrawingSpeeds[static_cast<std::size_t>(defaults.drawingSpeed)].caption);
    std::string separator;
    appendUtf8(separator, s.separator);
    command.option("separator", separator, ".");
    command.option("title", file.title, "");
    command.option("note", file.note, "");
    if (file.ticks) command.option("ticks", std::to_string(*file.ticks));
    return command.finish(outputs);
}

}  // namespace kurvilo
