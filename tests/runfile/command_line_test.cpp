// SPDX-License-Identifier: MIT
// A run as a kurvilo-cli command: each word comes out of sh, bash and zsh as it went in, and
// the command names every setting that differs from kurvilo-cli's defaults, and nothing else.
#include "runfile/command_line.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace kurvilo {
namespace {

TEST(ShellWord, PlainWordsStayAndOthersAreQuoted) {
    const struct {
        const char* text;
        const char* word;
    } cases[] = {
        {"cartesian-motion", "cartesian-motion"},
        {"-9.8-0.3vy", "-9.8-0.3vy"},
        {"1/100", "1/100"},
        {"3,7", "3,7"},
        {"a=b", "a=b"},
        {"=b", "'=b'"},  // zsh's =command
        {"", "''"},
        {"-x*y", "'-x*y'"},
        {"10cos(3\u03B8)", "'10cos(3\u03B8)'"},
        {"it's", "'it'\\''s'"},
        {"~", "'~'"},
        {"$HOME", "'$HOME'"},
        {"!1", "'!1'"},
        {"a b", "'a b'"},
        {"{1,2}", "'{1,2}'"},
        {"#x", "'#x'"},
        {"^2", "'^2'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(shellWord(c.text), std::optional<std::string>(c.word));
    }
    EXPECT_FALSE(shellWord(std::string("a\0b", 3)));
}

// What a shell makes of `line`: its words, each on a line of its own as printf prints them.
std::string wordsThrough(const char* shell, const std::string& line) {
    const std::string script = "printf '%s\\036' " + line;
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::close(pipeEnds[0]);
        ::execlp(shell, shell, "-c", script.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        out.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? out : "failed: " + out;
}

TEST(ShellWord, EveryShellReadsTheWordsBack) {
    const std::vector<std::string> texts = {
        "plain",
        "-x",
        "it's \"quoted\"",
        "back\\slash",
        "$HOME `date` $(date)",
        "*?[a]",
        "~user",
        "!! !$",
        "=ls",
        "a\tb\nc",
        "{a,b}",
        "%1",
        "#comment",
        "\u03A3{n=1<>3:n}*sin(\u03B8)",
        "'''",
        "\x01\x7F",
        "; rm -rf x",
        "a|b&c>d<e",
        "",
    };
    std::string line;
    std::string expected;
    for (const std::string& text : texts) {
        line += *shellWord(text) + " ";
        expected += text + "\036";
    }
    for (const char* shell : {"sh", "bash", "zsh"}) {
        SCOPED_TRACE(shell);
        if (::system((std::string("command -v ") + shell + " >/dev/null").c_str()) != 0) {
            ADD_FAILURE() << shell << " is not installed (scripts/install-deps --dev)";
            continue;
        }
        EXPECT_EQ(wordsThrough(shell, line), expected);
    }
}

TEST(RunCommandLine, NamesWhatDiffersFromTheDefaults) {
    RunFile file;
    EXPECT_EQ(runCommandLine(file, ""), "kurvilo-cli run --mode cartesian-motion");
    file.ticks = 380;
    file.settings.firstFormula = "-9.8";
    EXPECT_EQ(runCommandLine(file, "--picture p.png"),
              "kurvilo-cli run --mode cartesian-motion --ay -9.8 --ticks 380 --picture p.png");
}

TEST(RunCommandLine, EverySettingOfEachMode) {
    RunFile file;
    RunSettings& s = file.settings;
    s.firstFormula = "first";
    s.secondFormula = "second";
    s.initialValues = {"1", "2", "3", "4"};
    s.constants = {"", "b", "c", "d d"};
    s.drawingSpeed = 0;
    s.timeStep = 2;
    s.viewRangeX = 0;
    s.viewRangeY = 2;
    s.zoomX = {true, -5, 7};
    s.zoomY = {false, 9, 9};  // off: not named
    s.separator = U',';
    file.title = "T";
    file.note = "a note";
    file.ticks = 0;
    const char* expected[] = {
        "kurvilo-cli run --mode cartesian-motion --ay first --ax second --vx0 1 --x0 2 --vy0 3 "
        "--y0 4",
        "kurvilo-cli run --mode polar-motion --ar first --atheta second --vtheta0 1 --theta0 2 "
        "--vr0 3 --r0 4",
        "kurvilo-cli run --mode cartesian-curve --curve first --f2 second --vx0 1 --x0 2 --vy0 3 "
        "--y0 4",
        "kurvilo-cli run --mode polar-curve --curve first --f2 second --vtheta0 1 --theta0 2 "
        "--vr0 3 --r0 4",
    };
    const std::string rest =
        " --a '' --b b --c c --d 'd d' --step 1/1000 --range-x 2 --range-y 200 --zoom-x -5,7 "
        "--speed 1/1s --separator , --title T --note 'a note' --ticks 0";
    for (int mode = 0; mode < 4; ++mode) {
        s.graphMode = mode;
        EXPECT_EQ(runCommandLine(file, ""), expected[mode] + rest) << mode;
    }
    s.constants[1] = std::string("\0", 1);
    EXPECT_FALSE(runCommandLine(file, ""));
}

}  // namespace
}  // namespace kurvilo
