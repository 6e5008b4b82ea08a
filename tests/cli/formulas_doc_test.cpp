// SPDX-License-Identifier: MIT
// Every example of docs/formulas.md, taken from the Markdown as it stands and run through the
// built kurvilo-cli, under the C locale and under a German one: a command ("$ kurvilo-cli eval
// ...") in a console block, and the lines below it as its exact output as a terminal shows it,
// each formula's warnings right before its answer. An example that drifts from what the tool
// prints, or leaves out a warning it writes, fails here.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "locale_support.h"

namespace kurvilo::testing {
namespace {

struct Example {
    int line = 0;  // of the command in the Markdown
    std::string command;
    std::string output;
};

std::vector<Example> examplesOf(const std::string& markdown) {
    std::vector<Example> examples;
    std::istringstream in(markdown);
    bool console = false;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.rfind("```", 0) == 0) {
            console = !console && line == "```console";
            continue;
        }
        if (!console) continue;
        if (line.rfind("$ ", 0) == 0) {
            examples.push_back({number, line.substr(2), ""});
        } else if (!examples.empty()) {
            examples.back().output += line + "\n";
        }
    }
    return examples;
}

// The lines of an example's output that the tool writes on standard error (its warnings, and
// what --strict says), or the others.
std::string linesWith(const std::string& output, bool warnings) {
    std::istringstream in(output);
    std::string kept;
    for (std::string line; std::getline(in, line);) {
        if ((line.rfind("kurvilo-cli eval: ", 0) == 0) == warnings) kept += line + "\n";
    }
    return kept;
}

TEST(FormulasGuide, EveryExamplePrintsWhatThePageSaysUnderAnyLocale) {
    KURVILO_GERMAN_LOCALE_OR_SKIP(german);
    const std::string markdown = readFile(KURVILO_SOURCE_DIR "/docs/formulas.md");
    ASSERT_FALSE(markdown.empty()) << "docs/formulas.md not found";
    const std::vector<Example> examples = examplesOf(markdown);
    // The page has many examples; a broken extraction must not pass as "none failed".
    ASSERT_GE(examples.size(), 20u);
    const std::string folder = cliFolder();
    for (const std::string& locale : {std::string("LC_ALL=C "), german}) {
        for (const Example& example : examples) {
            SCOPED_TRACE(locale + "docs/formulas.md:" + std::to_string(example.line) + ": " +
                         example.command);
            ASSERT_EQ(example.command.rfind("kurvilo-cli eval ", 0), 0u)
                << "the page's examples are evaluations";
            const std::string environment =
                "export " + locale + "PATH=" + shellQuote(folder) + ":\"$PATH\"; ";
            // Both streams into one pipe, as on a terminal.
            const CliResult shown =
                runShell(environment + "{ " + example.command + "; } </dev/null 2>&1");
            EXPECT_EQ(shown.status, 0) << shown.err;
            EXPECT_EQ(shown.out, example.output);
            // Apart: the warnings alone on standard error, the answers alone on standard output.
            const CliResult apart =
                runShell(environment + "{ " + example.command + "; } </dev/null");
            EXPECT_EQ(apart.status, 0);
            EXPECT_EQ(apart.out, linesWith(example.output, false));
            EXPECT_EQ(apart.err, linesWith(example.output, true));
        }
    }
}

}  // namespace
}  // namespace kurvilo::testing
