// SPDX-License-Identifier: MIT
// kurvilo-cli on a real terminal (a pseudo-terminal): the progress of a run on standard error
// whenever that is a terminal, but not between the data on the same terminal; -q and --progress;
// a picture's bytes are not poured onto a terminal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child_process.h"
#include "cli_runner.h"

namespace kurvilo::testing {
namespace {

const std::vector<std::string> kRun = {"run", "--mode", "0", "--f1",  "-y", "--f2",
                                       "-x",  "--x0",   "5", "--vy0", "5"};

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

struct Seen {
    std::string terminal;
    int status = -1;
};

Seen onTerminal(const std::vector<std::string>& args, const ChildProcess::Setup& setup) {
    ChildProcess child(args, setup);
    Seen seen;
    if (!child.started()) return seen;
    seen.terminal = child.readTerminal();
    seen.status = child.wait();
    return seen;
}

TEST(Progress, ShowsOnATerminalEvenForAShortRun) {
    TempDir dir;
    ChildProcess::Setup setup;
    setup.err = Stream::terminal();
    setup.out = Stream::file(dir.file("out"));
    const struct {
        const char* what;
        std::vector<std::string> args;
        const char* line;
    } cases[] = {
        {"a short run", with(kRun, {"--ticks", "700", "--picture", dir.file("p.png")}),
         "kurvilo-cli run: tick 700 of 700"},
        {"a long run", with(kRun, {"--ticks", "40000"}), "kurvilo-cli run: tick 40000 of 40000"},
        {"a trace to standard output, which is no terminal",
         with(kRun, {"--ticks", "50", "--trace", "-"}), "kurvilo-cli run: tick 50 of 50"},
        {"a run that ends on a failed tick",
         {"run", "--mode", "0", "--f1", "1/(t-0.05)", "--ticks", "100"},
         "kurvilo-cli run: tick 5 of 100\r\nkurvilo-cli run: tick 6 failed: EZeroDivide"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Seen seen = onTerminal(c.args, setup);
        EXPECT_NE(seen.terminal.find(c.line), std::string::npos) << seen.terminal;
    }
}

TEST(Progress, StaysOffTheTerminalTheDataGoesTo) {
    ChildProcess::Setup setup;
    setup.err = Stream::terminal();
    setup.out = Stream::terminal();
    const Seen traced = onTerminal(with(kRun, {"--ticks", "3000", "--trace", "-"}), setup);
    EXPECT_EQ(traced.status, 0);
    EXPECT_NE(traced.terminal.find("3000\t"), std::string::npos) << "the trace itself is there";
    EXPECT_EQ(traced.terminal.find("kurvilo-cli run: tick"), std::string::npos)
        << "no progress between the rows";

    // The same terminal, but no data on it: the progress is all there is to see.
    TempDir dir;
    const Seen pictured =
        onTerminal(with(kRun, {"--ticks", "300", "--picture", dir.file("p.png")}), setup);
    EXPECT_EQ(pictured.status, 0);
    EXPECT_NE(pictured.terminal.find("kurvilo-cli run: tick 300 of 300"), std::string::npos)
        << pictured.terminal;
}

TEST(Progress, QuietSilencesItAndTheLastOptionCounts) {
    ChildProcess::Setup setup;
    setup.err = Stream::terminal();
    for (const std::vector<std::string>& extra :
         {std::vector<std::string>{"-q"}, {"--quiet"}, {"--progress", "-q"}}) {
        SCOPED_TRACE(joined(extra));
        const Seen seen = onTerminal(with(with(kRun, {"--ticks", "500"}), extra), setup);
        EXPECT_EQ(seen.status, 0);
        EXPECT_EQ(seen.terminal, "");
    }
    const Seen both = onTerminal(with(kRun, {"--ticks", "500", "-q", "--progress"}), setup);
    EXPECT_NE(both.terminal.find("kurvilo-cli run: tick 500 of 500"), std::string::npos);
}

TEST(Progress, ProgressOptionWritesLinesWhereNoTerminalIs) {
    const CliResult r = runCli(with(kRun, {"--ticks", "800", "--progress"}));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err.find('\r'), std::string::npos) << "whole lines, no redrawing";
    EXPECT_GE(r.err.size(), 2u);
    EXPECT_EQ(r.err.substr(r.err.rfind('\n', r.err.size() - 2) + 1),
              "kurvilo-cli run: tick 800 of 800\n");
    // Without it, nothing.
    EXPECT_EQ(runCli(with(kRun, {"--ticks", "800"})).err, "");
}

TEST(StandardOutput, APictureIsNotWrittenToATerminal) {
    ChildProcess::Setup setup;
    setup.out = Stream::terminal();
    setup.err = Stream::terminal();
    for (const char* output : {"--picture", "--bmp", "--gif"}) {
        SCOPED_TRACE(output);
        const Seen seen = onTerminal(with(kRun, {"--ticks", "10", output, "-"}), setup);
        EXPECT_EQ(WEXITSTATUS(seen.status), 1) << describeStatus(seen.status);
        EXPECT_NE(seen.terminal.find("to standard output: it is a terminal"), std::string::npos)
            << seen.terminal;
        EXPECT_EQ(seen.terminal.find("PNG"), std::string::npos);
        EXPECT_EQ(seen.terminal.find("GIF89a"), std::string::npos);
    }
}

}  // namespace
}  // namespace kurvilo::testing
