// SPDX-License-Identifier: MIT
// The commands of docs/gallery.md, as printed, under a German locale (whose decimal point is
// ","), make the pictures committed beside the page byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "locale_support.h"

namespace kurvilo::testing {
namespace {

// The page's sh blocks, one command per element, continuation lines joined.
std::vector<std::string> galleryCommands() {
    std::istringstream in(readFile(KURVILO_SOURCE_DIR "/docs/gallery.md"));
    std::vector<std::string> commands;
    bool inside = false;
    std::string pending;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("```", 0) == 0) {
            inside = line == "```sh";
            continue;
        }
        if (!inside) continue;
        if (!line.empty() && line.back() == '\\') {
            pending += line.substr(0, line.size() - 1);
            continue;
        }
        commands.push_back(pending + line);
        pending.clear();
    }
    return commands;
}

TEST(Gallery, CommandsMakeTheCommittedPicturesUnderAGermanLocale) {
    KURVILO_GERMAN_LOCALE_OR_SKIP(german);
    const std::vector<std::string> commands = galleryCommands();
    ASSERT_GE(commands.size(), 10u);
    TempDir dir;
    ASSERT_EQ(runShell("mkdir -p " + shellQuote(dir.file("docs/gallery"))).status, 0);
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        ASSERT_EQ(command.rfind("kurvilo-cli run ", 0), 0u);
        const CliResult r = runShell("cd " + shellQuote(dir.path()) + " && export " + german +
                                     "PATH=" + shellQuote(cliFolder()) + ":\"$PATH\" && " +
                                     command + " </dev/null");
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
    }
    std::size_t pictures = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(KURVILO_SOURCE_DIR "/docs/gallery")) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        EXPECT_EQ(readFile(dir.file("docs/gallery/" + name)), readFile(entry.path().string()));
        ++pictures;
    }
    EXPECT_EQ(pictures, 22u);
}

}  // namespace
}  // namespace kurvilo::testing
