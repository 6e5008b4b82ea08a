// SPDX-License-Identifier: MIT
// The manual page kurvilo-cli(1) against the tool: each command's options in the page are the
// options its --help lists, every example of the page runs as printed, under the C locale and
// under a German one, giving the output the page shows, and each common mistake it lists gets
// the warning the page shows, one for every kind of note.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "formula/notes.h"
#include "locale_support.h"
#include "numbers/utf8.h"

namespace kurvilo::testing {
namespace {

std::string manualPage() {
    return readFile(KURVILO_SOURCE_DIR "/man/kurvilo-cli.1");
}

// The text of a line of the page as it reads: escapes turned into their characters, fonts and
// quotes of the macros dropped.
std::string plain(std::string line) {
    static const std::pair<const char*, const char*> kEscapes[] = {
        {"\\-", "-"},         {"\\(aq", "'"},       {"\\(ha", "^"},       {"\\(mu", "\u00D7"},
        {"\\[*h]", "\u03B8"}, {"\\[*p]", "\u03C0"}, {"\\[*S]", "\u03A3"}, {"\\fB", ""},
        {"\\fI", ""},         {"\\fP", ""},         {"\\fR", ""},         {"\\&", ""},
        {"\\|", ""},          {"\\(lq", "\""},      {"\\(rq", "\""},      {"\\ ", " "},
        {"\\e", "\\"},
    };
    for (const auto& [escape, text] : kEscapes) {
        for (std::size_t at = line.find(escape); at != std::string::npos;
             at = line.find(escape, at + std::string(text).size()))
            line.replace(at, std::string(escape).size(), text);
    }
    // Any other character by its code: "\[uFF0D]".
    for (std::size_t at = line.find("\\[u"); at != std::string::npos; at = line.find("\\[u", at)) {
        const std::size_t close = line.find(']', at);
        if (close == std::string::npos) break;
        std::string character;
        appendUtf8(character, static_cast<char32_t>(
                                  std::stoul(line.substr(at + 3, close - at - 3), nullptr, 16)));
        line.replace(at, close + 1 - at, character);
    }
    return line;
}

// The option names ("--mode", "-q") of the tag lines of .TP/.TQ paragraphs between the heading
// `from` (".SS run") and the next heading.
std::set<std::string> manualOptions(const std::string& from) {
    const std::vector<std::string> lines = linesOf(manualPage());
    std::set<std::string> names;
    bool inside = false;
    static const std::regex kName("(^|[^\\w-])(--?[a-z][a-z0-9-]*)");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind(".SH", 0) == 0 || line.rfind(".SS", 0) == 0) {
            inside = line == from;
            continue;
        }
        if (!inside || (line != ".TP" && line != ".TQ") || i + 1 == lines.size()) continue;
        const std::string tag = plain(lines[i + 1]);
        for (std::sregex_iterator it(tag.begin(), tag.end(), kName), end; it != end; ++it)
            names.insert((*it)[2]);
    }
    return names;
}

// The option names of the rows of a help text: "  -q, --quiet", "  --vx, --vtheta T".
std::set<std::string> helpOptions(const std::string& help) {
    std::set<std::string> names;
    static const std::regex kName("(^|[ ,])(--?[a-z][a-z0-9-]*)");
    for (const std::string& line : linesOf(help)) {
        if (line.rfind("  -", 0) != 0) continue;
        const std::string column = line.substr(0, line.find("  ", 2));
        for (std::sregex_iterator it(column.begin(), column.end(), kName), end; it != end; ++it)
            names.insert((*it)[2]);
    }
    return names;
}

TEST(Manual, EachCommandsOptionsAreTheOnesItsHelpLists) {
    const std::set<std::string> common = manualOptions(".SH OPTIONS");
    EXPECT_EQ(common, (std::set<std::string>{"--version", "-h", "--help"}));
    for (const char* command : {"eval", "run", "completion"}) {
        SCOPED_TRACE(command);
        const CliResult help = runCli({command, "--help"});
        ASSERT_EQ(help.status, 0);
        std::set<std::string> inManual = manualOptions(std::string(".SS ") + command);
        inManual.insert(common.begin(), common.end());
        inManual.erase("--");  // the end of options, no option
        const std::set<std::string> inHelp = helpOptions(help.out);
        EXPECT_GT(inHelp.size(), 2u);
        EXPECT_EQ(inManual, inHelp);
    }
}

struct Example {
    int line = 0;  // of its first line in the page
    std::string command;
    std::string output;
};

// The examples: in the .EX blocks after ".SH EXAMPLES", a line "$ command" (continued while it
// ends in "\"), and the lines after it up to the next command as its output.
std::vector<Example> examples() {
    const std::vector<std::string> lines = linesOf(manualPage());
    std::vector<Example> found;
    bool section = false;
    bool block = false;
    bool continued = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind(".SH", 0) == 0) section = line == ".SH EXAMPLES";
        if (!section) continue;
        if (line == ".EX" || line == ".EE") {
            block = line == ".EX";
            continue;
        }
        if (!block) continue;
        std::string text = plain(line);
        if (continued) {
            found.back().command += text.substr(text.find_first_not_of(' '));
        } else if (text.rfind("$ ", 0) == 0) {
            found.push_back({static_cast<int>(i + 1), text.substr(2), ""});
        } else {
            found.back().output += text + "\n";
            continue;
        }
        continued = !found.back().command.empty() && found.back().command.back() == '\\';
        if (continued) found.back().command.pop_back();
    }
    return found;
}

TEST(Manual, EveryExampleRunsAsPrintedUnderAnyLocale) {
    KURVILO_GERMAN_LOCALE_OR_SKIP(german);
    const std::vector<Example> all = examples();
    ASSERT_GE(all.size(), 8u) << "the examples were not found";
    // German's LOCPATH, when it needs one, serves the example that names the locale itself.
    const std::string path = german.substr(0, german.find("LC_ALL="));
    for (const std::string& locale : {path + "LC_ALL=C.UTF-8 ", german}) {
        TempDir dir;
        for (const Example& example : all) {
            SCOPED_TRACE(locale + "man/kurvilo-cli.1:" + std::to_string(example.line) + ": " +
                         example.command);
            const CliResult r = runShell("cd " + shellQuote(dir.path()) + " && export " + locale +
                                         "PATH=" + shellQuote(cliFolder()) + ":\"$PATH\" && { " +
                                         example.command + "; } </dev/null");
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.err, "");
            if (!example.output.empty()) {
                EXPECT_EQ(r.out, example.output);
            }
        }
    }
}

struct Mistake {
    int line = 0;
    std::string formula;  // the tag of the entry
    std::string warning;  // its paragraph, the lines joined by blanks
};

// The entries of COMMON MISTAKES: a .TP whose tag is ".B formula", the paragraph after it.
std::vector<Mistake> mistakes() {
    const std::vector<std::string> lines = linesOf(manualPage());
    std::vector<Mistake> found;
    bool section = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind(".SH", 0) == 0) section = lines[i] == ".SH COMMON MISTAKES";
        if (!section || lines[i] != ".TP" || i + 1 == lines.size()) continue;
        const std::string tag = lines[i + 1];
        EXPECT_EQ(tag.rfind(".B ", 0), 0u) << "man/kurvilo-cli.1:" << i + 2;
        Mistake mistake{static_cast<int>(i + 2), plain(tag.substr(3)), ""};
        for (i += 2; i < lines.size() && lines[i].rfind('.', 0) != 0; ++i) {
            if (!mistake.warning.empty()) mistake.warning += ' ';
            mistake.warning += plain(lines[i]);
        }
        --i;
        found.push_back(mistake);
    }
    return found;
}

TEST(Manual, EachCommonMistakeGetsTheWarningThePageShows) {
    const std::vector<Mistake> all = mistakes();
    ASSERT_GE(all.size(), 10u) << "the common mistakes were not found";
    for (const Mistake& mistake : all) {
        SCOPED_TRACE("man/kurvilo-cli.1:" + std::to_string(mistake.line) + ": " + mistake.formula);
        const CliResult r = runCli({"eval", "--", mistake.formula});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "kurvilo-cli eval: warning: " + mistake.warning + "\n");
    }
}

TEST(Manual, TheCommonMistakesShowEveryKindOfNote) {
    std::set<NoteKind> shown;
    for (const Mistake& mistake : mistakes()) {
        const FormulaTexts values;
        NoteOptions options;
        options.texts = &values;
        options.valuesFixed = true;
        for (const FormulaNote& note : formulaNotes(mistake.formula, options))
            shown.insert(note.kind);
    }
    for (int kind = 0; kind <= static_cast<int>(kLastNoteKind); ++kind) {
        EXPECT_TRUE(shown.contains(static_cast<NoteKind>(kind)))
            << "no common mistake shows the note kind " << kind;
    }
}

}  // namespace
}  // namespace kurvilo::testing
