// SPDX-License-Identifier: MIT
// The shell completion that kurvilo-cli writes, run in the shells themselves: bash with
// bash-completion's functions, zsh interactively on a pseudo-terminal (zpty) with a real TAB.
// Both offer the commands, the options, the closed value sets and file names by suffix.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_runner.h"

namespace kurvilo::testing {
namespace {

struct Case {
    std::vector<std::string> words;  // the last is the word being completed
    std::string offered;             // one a line, sorted
};

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {{""}, "completion\neval\nhelp\nrun\n"},
        {{"r"}, "run\n"},
        {{"run", "--mode", ""}, "cartesian-curve\ncartesian-motion\npolar-curve\npolar-motion\n"},
        {{"run", "--mode", "po"}, "polar-curve\npolar-motion\n"},
        {{"run", "--st"}, "--step\n--strict\n"},
        {{"run", "--str"}, "--strict\n"},
        {{"run", "--step", ""}, "1/10\n1/100\n1/1000\n"},
        {{"run", "--speed", "1/1"}, "1/100s\n1/10s\n1/1s\n"},
        {{"run", "--range-y", ""}, "2\n20\n200\n"},
        {{"run", "--separator", ""}, ",\n.\nlocale\n"},
        {{"run", "--pic"}, "--picture\n"},
        {{"run", "--ove"}, "--overwrite\n"},
        {{"run", "--picture", ""}, "a.png\nb.bmp\nsub\n"},
        {{"run", "--bmp", ""}, "b.bmp\nsub\n"},
        {{"run", "--gif", ""}, "c.gif\nsub\n"},
        {{"run", "--frames", ""}, "sub\n"},
        {{"run", ""}, "a.png\ne.kurvilo\nsub\n"},
        {{"run", "--mode", "0", ""}, "a.png\ne.kurvilo\nsub\n"},
        {{"run", "--save-run", ""}, "e.kurvilo\nsub\n"},
        {{"run", "--ticks", ""}, ""},
        {{"eval", "--ex"}, "--explain\n"},
        {{"eval", "--s"}, "--separator\n--strict\n"},
        {{"eval", "--q"}, "--quiet\n"},
        {{"eval", "--separator", "l"}, "locale\n"},
        {{"help", ""}, "completion\neval\nrun\n"},
        {{"completion", ""}, "bash\nzsh\n"},
    };
    return all;
}

// A folder of a few files to complete, and beside it the tool's completion for the shell.
class CompletionFolder {
  public:
    explicit CompletionFolder(const std::string& shell, const std::string& name) {
        for (const char* file : {"a.png", "b.bmp", "c.gif", "d.txt", "e.kurvilo"})
            writeFile(dir_.file(file), "");
        runShell("mkdir " + shellQuote(dir_.file("sub")));
        script_ = functions_.file(name);
        const CliResult r = runCli({"completion", shell});
        EXPECT_EQ(r.status, 0) << r.err;
        writeFile(script_, r.out);
    }
    const std::string& path() const { return dir_.path(); }
    const std::string& script() const { return script_; }
    const std::string& functions() const { return functions_.path(); }

  private:
    TempDir dir_;
    TempDir functions_;
    std::string script_;
};

std::string helper(const char* name) {
    return KURVILO_SOURCE_DIR "/tests/cli/" + std::string(name);
}

TEST(Completion, BashOffersCommandsOptionsValuesAndFiles) {
    if (runShell("test -r /usr/share/bash-completion/bash_completion").status != 0)
        GTEST_SKIP() << "bash-completion is not installed";
    const CompletionFolder folder("bash", "kurvilo-cli");
    for (const Case& c : cases()) {
        std::string line = "kurvilo-cli";
        for (const std::string& word : c.words)
            line += " " + word;
        std::string command = "cd " + shellQuote(folder.path()) + " && bash " +
                              shellQuote(helper("bash_complete.bash")) + " " +
                              shellQuote(folder.script()) + " " + shellQuote(line) + " kurvilo-cli";
        for (const std::string& word : c.words) {
            command += " " + shellQuote(word);
        }
        SCOPED_TRACE("kurvilo-cli " + joined(c.words));
        const CliResult r = runShell(command);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, c.offered);
    }
}

TEST(Completion, BashSplitsAnOptionWrittenWithItsValue) {
    if (runShell("test -r /usr/share/bash-completion/bash_completion").status != 0)
        GTEST_SKIP() << "bash-completion is not installed";
    const CompletionFolder folder("bash", "kurvilo-cli");
    // Readline makes "--mode=po" three words.
    const CliResult r = runShell("bash " + shellQuote(helper("bash_complete.bash")) + " " +
                                 shellQuote(folder.script()) +
                                 " 'kurvilo-cli run --mode=po' kurvilo-cli run --mode = po");
    EXPECT_EQ(r.out, "polar-curve\npolar-motion\n");
}

TEST(Completion, ZshOffersCommandsOptionsValuesAndFilesOnATab) {
    if (runShell("command -v zsh").status != 0) GTEST_SKIP() << "zsh is not installed";
    const CompletionFolder folder("zsh", "_kurvilo-cli");
    std::vector<Case> all = cases();
    all.push_back({{"run", "--mode=po"}, "polar-curve\npolar-motion\n"});
    // All lines in one shell: its completion system starts once.
    std::string command = "cd " + shellQuote(folder.path()) + " && zsh -f " +
                          shellQuote(helper("zsh_complete.zsh")) + " " +
                          shellQuote(folder.functions());
    std::string expected;
    for (const Case& c : all) {
        std::string line = "kurvilo-cli";
        for (const std::string& word : c.words)
            line += " " + word;
        command += ' ';  // appended piece by piece: GCC 12 at -O3 warns falsely on " " + ...
        command += shellQuote(line);
        expected += "kurvilo-cli ";
        expected += joined(c.words);
        expected += '\n';
        expected += c.offered;
        expected += "--\n";
    }
    const CliResult r = runShell(command);
    EXPECT_EQ(r.status, 0) << r.err;
    // Each block named by its line, for a readable difference.
    std::string got;
    std::size_t next = 0;
    for (const Case& c : all) {
        const std::size_t end = r.out.find("--\n", next);
        got += "kurvilo-cli ";
        got += joined(c.words);
        got += '\n';
        got += r.out.substr(next, end == std::string::npos ? std::string::npos : end - next);
        got += "--\n";
        if (end == std::string::npos) break;
        next = end + 3;
    }
    EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace kurvilo::testing
