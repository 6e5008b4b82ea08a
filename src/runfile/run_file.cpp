// SPDX-License-Identifier: MIT
#include "runfile/run_file.h"

#include <sys/stat.h>
#include <toml++/toml.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <sstream>
#include <vector>

#include "numbers/utf8.h"
#include "picture/png.h"

namespace kurvilo {

namespace {

// A refusal found while checking the parsed file; caught once, in parseRunFile.
struct Refusal {
    std::size_t line;
    std::string what;
};

// toml++'s words may quote the text that is wrong: control characters there would break the line.
std::string oneLine(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

// "a, b or c".
std::string listed(const std::vector<std::string>& items, std::string_view last = " or ") {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += i + 1 == items.size() ? std::string(last) : ", ";
        text += items[i];
    }
    return text;
}

std::string quotedName(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

bool isUtf8(std::string_view text) {
    // The decoder keeps each byte of invalid UTF-8 as a lone surrogate, which valid text never
    // decodes to.
    for (const char32_t c : toUtf32(text)) {
        if (c >= 0xD800 && c <= 0xDFFF) return false;
    }
    return true;
}

// The line where the text nests tables, arrays or dotted keys deeper than kMaxRunFileNesting,
// or 0. TOML builds a table for every dotted part of a key, and destroys them one inside the
// other: a key of 10⁵ parts would overflow the stack, so such a text is never handed to the
// parser. This knows just enough of TOML to skip strings and comments; it counts every "[" and
// "{" still open and every "." on the line outside them.
std::size_t deepNestingLine(std::string_view text) {
    enum class In { Code, Comment, Basic, Literal, MultiBasic, MultiLiteral };
    In in = In::Code;
    std::size_t line = 1;
    int brackets = 0;
    int dots = 0;
    const auto quotesAt = [&](std::size_t i, char quote) {
        std::size_t n = 0;
        while (i + n < text.size() && text[i + n] == quote)
            ++n;
        return n;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            dots = 0;
            if (in == In::Comment || in == In::Basic || in == In::Literal) in = In::Code;
            continue;
        }
        switch (in) {
            case In::Code:
                if (c == '#') {
                    in = In::Comment;
                } else if (c == '"' || c == '\'') {
                    const bool multi = quotesAt(i, c) >= 3;
                    in = c == '"' ? (multi ? In::MultiBasic : In::Basic)
                                  : (multi ? In::MultiLiteral : In::Literal);
                    if (multi) i += 2;
                } else if (c == '[' || c == '{') {
                    ++brackets;
                } else if ((c == ']' || c == '}') && brackets > 0) {
                    --brackets;
                } else if (c == '.') {
                    ++dots;
                }
                if (brackets + dots > kMaxRunFileNesting) return line;
                break;
            case In::Comment:
                break;
            case In::Basic:
            case In::MultiBasic:
                if (c == '\\' && i + 1 < text.size()) {
                    if (text[i + 1] == '\n') {
                        ++line;
                        dots = 0;
                    }
                    ++i;
                } else if (c == '"') {
                    if (in == In::Basic) {
                        in = In::Code;
                    } else if (const std::size_t n = quotesAt(i, '"'); n >= 3) {
                        // Up to two quotes before the closing three belong to the text.
                        i += (n < 5 ? n : 5) - 1;
                        in = In::Code;
                    }
                }
                break;
            case In::Literal:
                if (c == '\'') in = In::Code;
                break;
            case In::MultiLiteral:
                if (const std::size_t n = c == '\'' ? quotesAt(i, '\'') : 0; n >= 3) {
                    i += (n < 5 ? n : 5) - 1;
                    in = In::Code;
                }
                break;
        }
    }
    return 0;
}

std::size_t lineOf(const toml::node& node) {
    return node.source().begin.line;
}

std::size_t lineOf(const toml::key& key) {
    return key.source().begin.line;
}

// Reads the values of one table: each key it knows once, every other key refused.
class TableReader {
  public:
    // `path`: how messages name the table ("" for the top, "formulas", "zoom.x").
    TableReader(const toml::table& table, std::string path, std::size_t line,
                std::initializer_list<std::string_view> keys)
        : table_(table), path_(std::move(path)), line_(line), keys_(keys) {
        for (const auto& [key, value] : table) {
            bool known = false;
            for (const std::string_view name : keys_)
                known = known || key.str() == name;
            if (known) continue;
            std::vector<std::string> names(keys_.begin(), keys_.end());
            throw Refusal{lineOf(key), "unknown key '" + oneLine(key.str()) + "'" +
                                           (path_.empty() ? " at the top" : " in [" + path_ + "]") +
                                           " (the keys there are " + listed(names, " and ") + ")"};
        }
    }

    const toml::node* find(std::string_view key) const { return table_.get(key); }

    // The key's full name, for messages: "zoom.x.centre".
    std::string name(std::string_view key) const {
        return "'" + (path_.empty() ? std::string(key) : path_ + "." + std::string(key)) + "'";
    }

    void text(std::string_view key, std::string& out) const {
        if (const toml::node* node = find(key)) {
            const auto* value = node->as_string();
            if (value == nullptr)
                throw Refusal{lineOf(*node), name(key) + " must be a text in quotes"};
            out = value->get();
        }
    }

    // A whole number within [minimum, maximum]; `range` says which in words.
    template <typename Int>
    void integer(std::string_view key, Int& out, std::int64_t minimum, std::int64_t maximum,
                 const std::string& range) const {
        if (const toml::node* node = find(key)) {
            const auto* value = node->as_integer();
            if (value == nullptr)
                throw Refusal{lineOf(*node), name(key) + " must be a whole number"};
            const std::int64_t n = value->get();
            if (n < minimum || n > maximum) {
                throw Refusal{lineOf(*node),
                              name(key) + " must be " + range + ", not " + std::to_string(n)};
            }
            out = static_cast<Int>(n);
        }
    }

    void boolean(std::string_view key, bool& out) const {
        if (const toml::node* node = find(key)) {
            const auto* value = node->as_boolean();
            if (value == nullptr)
                throw Refusal{lineOf(*node), name(key) + " must be true or false"};
            out = value->get();
        }
    }

    // A sub-table, or none when the key is absent.
    const toml::table* table(std::string_view key) const {
        const toml::node* node = find(key);
        if (node == nullptr) return nullptr;
        const toml::table* value = node->as_table();
        if (value == nullptr) throw Refusal{lineOf(*node), name(key) + " must be a table"};
        return value;
    }

    std::string subPath(std::string_view key) const {
        return path_.empty() ? std::string(key) : path_ + "." + std::string(key);
    }

    std::size_t line() const { return line_; }

  private:
    const toml::table& table_;
    std::string path_;
    std::size_t line_;
    std::vector<std::string_view> keys_;
};

// A text that must name a row of a table: `names` lists them for the message.
template <typename Find>
int rowNamed(const TableReader& reader, std::string_view key, int current, Find find,
             const std::vector<std::string>& names) {
    std::string text;
    const toml::node* node = reader.find(key);
    if (node == nullptr) return current;
    reader.text(key, text);
    if (const std::optional<int> row = find(text)) return *row;
    throw Refusal{lineOf(*node), reader.name(key) + " must be " + listed(names) + ", not " +
                                     quotedName(oneLine(text))};
}

template <typename Table, typename Name>
std::vector<std::string> namesOf(const Table& table, Name name) {
    std::vector<std::string> names;
    for (const auto& row : table)
        names.push_back(name(row));
    return names;
}

void readVersion(const toml::table& root) {
    const toml::node* node = root.get("kurvilo");
    if (node == nullptr) {
        throw Refusal{0, "not a Kurvilo run file: it has no line 'kurvilo = " +
                             std::to_string(kRunFileVersion) + "'"};
    }
    const auto* version = node->as_integer();
    if (version == nullptr) throw Refusal{lineOf(*node), "'kurvilo' must be a whole number"};
    if (version->get() > kRunFileVersion) {
        throw Refusal{lineOf(*node), "format version " + std::to_string(version->get()) +
                                         " is newer than this Kurvilo reads (" +
                                         std::to_string(kRunFileVersion) + ")"};
    }
    if (version->get() < kRunFileVersion) {
        throw Refusal{lineOf(*node), "'kurvilo' must be " + std::to_string(kRunFileVersion) +
                                         ", not " + std::to_string(version->get())};
    }
}

void readTop(const TableReader& top, RunFile& file) {
    RunSettings& s = file.settings;
    top.text("title", file.title);
    top.text("note", file.note);
    s.graphMode = rowNamed(
        top, "mode", s.graphMode, graphModeNamed,
        namesOf(kGraphModes, [](const GraphModeSetting& row) { return std::string(row.name); }));
    if (top.find("ticks") != nullptr) {
        std::uint64_t ticks = 0;
        top.integer("ticks", ticks, 0, INT64_MAX, "0 or more");
        file.ticks = ticks;
    }
    if (const toml::node* node = top.find("separator")) {
        std::string text;
        top.text("separator", text);
        if (const std::string problem = separatorProblem(text); !problem.empty()) {
            throw Refusal{lineOf(*node), "'separator' " + problem};
        }
        s.separator = toUtf32(text)[0];
    }
}

void readFormulas(const TableReader& top, RunSettings& s) {
    const toml::table* table = top.table("formulas");
    if (table == nullptr) return;
    const TableReader formulas(*table, "formulas", lineOf(*table), {"first", "second"});
    formulas.text("first", s.firstFormula);
    formulas.text("second", s.secondFormula);
}

// Each initial value may be named as in any mode ("x" or "theta"), but only once.
void readInitial(const TableReader& top, RunSettings& s) {
    const toml::table* table = top.table("initial");
    if (table == nullptr) return;
    const GraphModeSetting& cartesian = kGraphModes[0];
    const GraphModeSetting& polar = kGraphModes[1];
    const TableReader initial(
        *table, "initial", lineOf(*table),
        {cartesian.initialNames[0], cartesian.initialNames[1], cartesian.initialNames[2],
         cartesian.initialNames[3], polar.initialNames[0], polar.initialNames[1],
         polar.initialNames[2], polar.initialNames[3]});
    for (std::size_t slot = 0; slot < kInitialValues; ++slot) {
        const std::string_view names[] = {cartesian.initialNames[slot], polar.initialNames[slot]};
        if (initial.find(names[0]) != nullptr && initial.find(names[1]) != nullptr) {
            const toml::node& second = *initial.find(names[1]);
            throw Refusal{lineOf(second), initial.name(names[0]) + " and " +
                                              initial.name(names[1]) +
                                              " are the same initial value (" +
                                              std::string(cartesian.initialLabels[slot]) + ", " +
                                              std::string(polar.initialLabels[slot]) + ")"};
        }
        for (const std::string_view name : names)
            initial.text(name, s.initialValues[slot]);
    }
}

void readConstants(const TableReader& top, RunSettings& s) {
    const toml::table* table = top.table("constants");
    if (table == nullptr) return;
    const TableReader constants(*table, "constants", lineOf(*table), {"a", "b", "c", "d"});
    constexpr std::string_view kNames[] = {"a", "b", "c", "d"};
    for (std::size_t i = 0; i < s.constants.size(); ++i)
        constants.text(kNames[i], s.constants[i]);
}

int viewRange(const TableReader& drawing, std::string_view key, int current) {
    const toml::node* node = drawing.find(key);
    if (node == nullptr) return current;
    std::vector<std::string> names;
    for (const ViewRange& row : kViewRanges)
        names.emplace_back(row.value);
    std::int64_t value = 0;
    drawing.integer(key, value, INT64_MIN, INT64_MAX, "");
    if (const std::optional<int> row = viewRangeNamed(std::to_string(value))) return *row;
    throw Refusal{lineOf(*node), drawing.name(key) + " must be " + listed(names) + ", not " +
                                     std::to_string(value)};
}

void readDrawing(const TableReader& top, RunSettings& s) {
    const toml::table* table = top.table("drawing");
    if (table == nullptr) return;
    const TableReader drawing(*table, "drawing", lineOf(*table),
                              {"speed", "step", "range-y", "range-x"});
    s.drawingSpeed = rowNamed(
        drawing, "speed", s.drawingSpeed, drawingSpeedNamed,
        namesOf(kDrawingSpeeds, [](const DrawingSpeed& row) { return quotedName(row.caption); }));
    s.timeStep = rowNamed(
        drawing, "step", s.timeStep, timeStepNamed,
        namesOf(kTimeSteps, [](const TimeStepSetting& row) { return quotedName(row.caption); }));
    s.viewRangeY = viewRange(drawing, "range-y", s.viewRangeY);
    s.viewRangeX = viewRange(drawing, "range-x", s.viewRangeX);
}

std::string bounds(const SpinLimits& limits) {
    return std::to_string(limits.minimum) + " to " + std::to_string(limits.maximum);
}

void readZoomAxis(const TableReader& zoom, std::string_view axis, ZoomSetting& out) {
    const toml::table* table = zoom.table(axis);
    if (table == nullptr) return;
    const TableReader reader(*table, zoom.subPath(axis), lineOf(*table),
                             {"on", "centre", "half-width"});
    reader.boolean("on", out.on);
    reader.integer("centre", out.centre, kZoomCentre.minimum, kZoomCentre.maximum,
                   bounds(kZoomCentre));
    reader.integer("half-width", out.halfWidth, kZoomHalfWidth.minimum, kZoomHalfWidth.maximum,
                   bounds(kZoomHalfWidth));
}

void readZoom(const TableReader& top, RunSettings& s) {
    const toml::table* table = top.table("zoom");
    if (table == nullptr) return;
    const TableReader zoom(*table, "zoom", lineOf(*table), {"x", "y"});
    readZoomAxis(zoom, "x", s.zoomX);
    readZoomAxis(zoom, "y", s.zoomY);
}

RunFile readRoot(const toml::table& root) {
    readVersion(root);
    const TableReader top(root, "", 1,
                          {"kurvilo", "title", "note", "mode", "ticks", "separator", "formulas",
                           "initial", "constants", "drawing", "zoom"});
    RunFile file;
    readTop(top, file);
    readFormulas(top, file.settings);
    readInitial(top, file.settings);
    readConstants(top, file.settings);
    readDrawing(top, file.settings);
    readZoom(top, file.settings);
    return file;
}

RunFileRead refused(std::string_view name, std::size_t line, std::string what) {
    RunFileRead read;
    read.error = {std::string(name), line, std::move(what)};
    return read;
}

// The text between quotes, as TOML writes it, on one line and with every character that needs
// no escape left as it is.
std::string tomlText(std::string_view text) {
    std::ostringstream out;
    out << toml::toml_formatter{toml::value<std::string>(std::string(text)),
                                toml::format_flags::allow_unicode_strings};
    return out.str();
}

void appendLine(std::string& out, std::string_view key, const std::string& value,
                std::string_view comment = {}) {
    out += key;
    out += " = ";
    out += value;
    if (!comment.empty()) {
        out += "  # ";
        out += comment;
    }
    out += '\n';
}

std::string zoomLine(const ZoomSetting& zoom) {
    return "{ on = " + std::string(zoom.on ? "true" : "false") +
           ", centre = " + std::to_string(zoom.centre) +
           ", half-width = " + std::to_string(zoom.halfWidth) + " }";
}

std::string errnoText(int code) {
    return std::strerror(code);
}

}  // namespace

std::string RunFileError::message() const {
    std::string text = name;
    if (line > 0) text += ":" + std::to_string(line);
    return text + ": " + what;
}

RunFileRead parseRunFile(std::string_view text, std::string_view name) {
    if (text.size() > kMaxRunFileBytes) {
        return refused(
            name, 0,
            "larger than a run file can be (" + std::to_string(kMaxRunFileBytes) + " bytes)");
    }
    if (const std::size_t line = deepNestingLine(text); line != 0) {
        return refused(name, line,
                       "nested deeper than " + std::to_string(kMaxRunFileNesting) + " levels");
    }
    try {
        const toml::table root = toml::parse(text, name);
        RunFileRead read;
        read.file = readRoot(root);
        return read;
    } catch (const toml::parse_error& error) {
        return refused(name, error.source().begin.line, oneLine(error.description()));
    } catch (const Refusal& refusal) {
        return refused(name, refusal.line, refusal.what);
    }
}

RunFileRead loadRunFile(const std::string& path, std::string_view name) {
    const std::string shown = name.empty() ? path : std::string(name);
    const bool standardInput = path == "-";
    std::FILE* file = standardInput ? stdin : std::fopen(path.c_str(), "rb");
    if (file == nullptr) return refused(shown, 0, "cannot open it: " + errnoText(errno));
    struct stat status {};
    if (::fstat(::fileno(file), &status) == 0 && S_ISDIR(status.st_mode)) {
        if (!standardInput) std::fclose(file);
        return refused(shown, 0, "is a folder, not a run file");
    }
    std::string text;
    text.resize(kPngSignature.size());
    const std::size_t start = std::fread(text.data(), 1, text.size(), file);
    text.resize(start);
    RunFileRead read;
    if (start == kPngSignature.size() && text == kPngSignature) {
        const PngTextRead png = readPngText(file, start, kPngRunFileKey, kMaxRunFileBytes);
        if (!png.error.empty()) {
            read = refused(shown, 0, "not a readable PNG picture: " + oneLine(png.error));
        } else if (!png.found) {
            read = refused(shown, 0, "a PNG picture that carries no run file");
        } else {
            read = parseRunFile(png.value, shown);
        }
    } else {
        // One byte more than a run file may have tells a file that is too large.
        char buffer[65536];
        while (text.size() <= kMaxRunFileBytes) {
            const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
            if (got == 0) break;
            text.append(buffer, got);
        }
        if (std::ferror(file)) {
            read = refused(shown, 0, "cannot read it: " + errnoText(errno));
        } else {
            read = parseRunFile(text, shown);
        }
    }
    if (!standardInput) std::fclose(file);
    return read;
}

std::string runFileProblem(const RunFile& file) {
    const RunSettings& s = file.settings;
    const GraphModeSetting& mode = kGraphModes[static_cast<std::size_t>(s.graphMode)];
    std::vector<std::pair<std::string, const std::string*>> texts = {
        {"the title", &file.title},
        {"the note", &file.note},
        {"the first formula", &s.firstFormula},
        {"the second formula", &s.secondFormula},
    };
    for (std::size_t i = 0; i < kInitialValues; ++i)
        texts.emplace_back("the initial value " + std::string(mode.initialLabels[i]),
                           &s.initialValues[i]);
    constexpr const char* kConstants[] = {"a", "b", "c", "d"};
    for (std::size_t i = 0; i < s.constants.size(); ++i)
        texts.emplace_back(std::string("the constant ") + kConstants[i], &s.constants[i]);
    for (const auto& [what, text] : texts) {
        if (!isUtf8(*text)) return what + " is not UTF-8, which a run file cannot hold";
    }
    return {};
}

std::string formatRunFile(const RunFile& file) {
    const RunSettings& s = file.settings;
    const GraphModeSetting& mode = kGraphModes[static_cast<std::size_t>(s.graphMode)];
    std::string out =
        "# A Kurvilo run file: the settings of a run, for the window (Ctrl+O opens it) and for\n"
        "# kurvilo-cli run. Each text is used exactly as it stands between its quotes.\n";
    appendLine(out, "kurvilo", std::to_string(kRunFileVersion), "the format version");
    if (!file.title.empty()) appendLine(out, "title", tomlText(file.title));
    if (!file.note.empty()) appendLine(out, "note", tomlText(file.note));
    appendLine(out, "mode", tomlText(mode.name), mode.caption);
    if (file.ticks) appendLine(out, "ticks", std::to_string(*file.ticks));
    std::string separator;
    appendUtf8(separator, s.separator);
    appendLine(out, "separator", tomlText(separator));

    out += "\n[formulas]\n";
    appendLine(out, "first", tomlText(s.firstFormula), mode.firstFormula);
    appendLine(out, "second", tomlText(s.secondFormula), mode.secondFormula);

    out += "\n[initial]\n";
    for (std::size_t i = 0; i < kInitialValues; ++i)
        appendLine(out, mode.initialNames[i], tomlText(s.initialValues[i]), mode.initialLabels[i]);

    out += "\n[constants]\n";
    constexpr std::string_view kConstants[] = {"a", "b", "c", "d"};
    for (std::size_t i = 0; i < s.constants.size(); ++i)
        appendLine(out, kConstants[i], tomlText(s.constants[i]));

    out += "\n[drawing]\n";
    appendLine(out, "speed",
               tomlText(kDrawingSpeeds[static_cast<std::size_t>(s.drawingSpeed)].caption));
    appendLine(out, "step", tomlText(kTimeSteps[static_cast<std::size_t>(s.timeStep)].caption));
    const ViewRange& rangeY = kViewRanges[static_cast<std::size_t>(s.viewRangeY)];
    const ViewRange& rangeX = kViewRanges[static_cast<std::size_t>(s.viewRangeX)];
    appendLine(out, "range-y", std::string(rangeY.value), rangeY.captionY);
    appendLine(out, "range-x", std::string(rangeX.value), rangeX.captionX);

    out += "\n[zoom]\n";
    appendLine(out, "x", zoomLine(s.zoomX));
    appendLine(out, "y", zoomLine(s.zoomY));
    return out;
}

}  // namespace kurvilo
