// SPDX-License-Identifier: MIT
// docs/run-files.md as it stands: its example is a run file as the program writes it, and its
// table names every key a written file holds.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "runfile/run_file.h"

namespace kurvilo {
namespace {

std::string readPage() {
    std::ifstream in(KURVILO_SOURCE_DIR "/docs/run-files.md", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string exampleOf(const std::string& page) {
    const std::string open = "```toml\n";
    const std::size_t begin = page.find(open);
    if (begin == std::string::npos) return {};
    const std::size_t end = page.find("```", begin + open.size());
    return page.substr(begin + open.size(), end - begin - open.size());
}

TEST(RunFilePage, TheExampleReadsAndIsWrittenTheSameAgain) {
    const std::string page = readPage();
    ASSERT_FALSE(page.empty()) << "docs/run-files.md not found";
    const std::string example = exampleOf(page);
    const RunFileRead read = parseRunFile(example, "docs/run-files.md");
    ASSERT_TRUE(read.file) << read.error.message();
    EXPECT_FALSE(read.file->title.empty());
    EXPECT_TRUE(read.file->ticks);
    EXPECT_EQ(formatRunFile(*read.file), example);
}

TEST(RunFilePage, TheTableNamesEveryKeyOfAWrittenFile) {
    const std::string page = readPage();
    RunFile file;
    file.title = "t";
    file.note = "n";
    file.ticks = 1;
    std::istringstream written(formatRunFile(file));
    int keys = 0;
    for (std::string line; std::getline(written, line);) {
        const std::size_t equals = line.find(" = ");
        if (line.empty() || line[0] == '#' || line[0] == '[' || equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals);
        ++keys;
        EXPECT_NE(page.find("`" + key + "`"), std::string::npos) << key;
    }
    EXPECT_GT(keys, 0) << "no key read from the written file";
}

}  // namespace
}  // namespace kurvilo
