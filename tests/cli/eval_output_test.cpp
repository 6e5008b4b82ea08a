// SPDX-License-Identifier: MIT
// kurvilo-cli eval's standard output: a write that fails (a full device) is reported with its
// cause and exit 1, whichever way the formulas came; a reader that goes away ends it quietly.
#include <gtest/gtest.h>

#include <string>

#include "cli_runner.h"

namespace kurvilo::testing {
namespace {

TEST(EvalOutput, FullDeviceIsReportedWithItsCauseAndStatusOne) {
    TempDir dir;
    const std::string many = [] {
        std::string lines;
        for (int i = 0; i < 20000; ++i)
            lines += "x+" + std::to_string(i) + "\n";
        return lines;
    }();
    writeFile(dir.file("formulas"), many);
    const struct {
        const char* what;
        std::string command;
    } cases[] = {
        {"one formula, written only at the close", cliCommand({"eval", "1+1"})},
        {"formulas from standard input, more than a buffer",
         cliCommand({"eval"}) + " < " + shellQuote(dir.file("formulas"))},
        {"explained formulas", cliCommand({"eval", "--explain", "2(x+1)^2"})},
        {"the help text", cliCommand({"eval", "--help"})},
        {"the version", cliCommand({"--version"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CliResult r = runShell(c.command + " > /dev/full");
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("cannot write standard output: No space left on device\n"),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    }
}

TEST(EvalOutput, ReaderThatGoesAwayEndsItQuietly) {
    // `yes` never ends: only the closed pipe can stop the evaluation.
    const std::string pipeline = "yes 'x+1' | timeout 120 " + cliCommand({"eval"}) +
                                 " | head -n 2; echo \"eval ${PIPESTATUS[1]}\"";
    const CliResult r = runShell("bash -c " + shellQuote(pipeline));
    EXPECT_EQ(r.out, "1\n1\neval 0\n");
    EXPECT_EQ(r.err, "");
}

}  // namespace
}  // namespace kurvilo::testing
