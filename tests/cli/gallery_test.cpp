// SPDX-License-Identifier: MIT
// The commands of docs/gallery.md, as printed, under a German locale (whose decimal point is
// ","), run the run files beside the page and make the pictures committed there byte for byte;
// each picture carries the run file it was made from.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "locale_support.h"
#include "runfile/run_file.h"

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
    ASSERT_EQ(runShell("mkdir -p " + shellQuote(dir.file("docs/gallery")) + " && cp " +
                       KURVILO_SOURCE_DIR "/docs/gallery/*.kurvilo " +
                       shellQuote(dir.file("docs/gallery")))
                  .status,
              0);
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        ASSERT_EQ(command.rfind("kurvilo-cli run docs/gallery/", 0), 0u);
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
        if (entry.path().extension() == ".kurvilo") continue;
        SCOPED_TRACE(name);
        EXPECT_EQ(readFile(dir.file("docs/gallery/" + name)), readFile(entry.path().string()));
        ++pictures;
    }
    EXPECT_EQ(pictures, 22u);
}

// One run file per motion, each run by a command of the page and linked from it; its formulas
// are the ones the page's table shows, and its picture carries it, ticks and all.
TEST(Gallery, EachRunFileIsRunLinkedAndCarriedByItsPicture) {
    const std::vector<std::string> commands = galleryCommands();
    const std::string page = readFile(KURVILO_SOURCE_DIR "/docs/gallery.md");
    std::size_t files = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(KURVILO_SOURCE_DIR "/docs/gallery")) {
        if (entry.path().extension() != ".kurvilo") continue;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        ++files;
        const RunFileRead read = loadRunFile(entry.path().string());
        ASSERT_TRUE(read.file) << read.error.message();
        EXPECT_FALSE(read.file->title.empty());
        ASSERT_TRUE(read.file->ticks);
        std::size_t runs = 0;
        for (const std::string& command : commands)
            runs += command.rfind("kurvilo-cli run docs/gallery/" + name + ".kurvilo ", 0) == 0;
        EXPECT_EQ(runs, 1u);
        EXPECT_NE(page.find("(gallery/" + name + ".kurvilo)"), std::string::npos);
        for (const std::string* formula :
             {&read.file->settings.firstFormula, &read.file->settings.secondFormula}) {
            if (!formula->empty()) {
                EXPECT_NE(page.find("`" + *formula + "`"), std::string::npos) << *formula;
            }
        }
        const RunFileRead carried =
            loadRunFile(KURVILO_SOURCE_DIR "/docs/gallery/" + name + ".png");
        ASSERT_TRUE(carried.file) << carried.error.message();
        EXPECT_EQ(*carried.file, *read.file);
    }
    EXPECT_EQ(files, 11u);
}

}  // namespace
}  // namespace kurvilo::testing
