// SPDX-License-Identifier: MIT
// The whole-or-nothing writer: an old file stays until the new one is complete, a file never
// completed leaves no trace, a failure is kept with its cause, a device is written in place, and
// the temporary file of a write under way is known for a signal handler to remove.
#include "picture/output_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "picture/pictures.h"
#include "picture/temporaries.h"

namespace kurvilo {
namespace {

using testing::fileBytes;

class Folder {
  public:
    Folder() {
        char name[] = "/tmp/kurvilo-picture-test-XXXXXX";
        if (::mkdtemp(name) != nullptr) path_ = name;
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    std::vector<std::string> names() const {
        std::vector<std::string> all;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            all.push_back(entry.path().filename().string());
        std::sort(all.begin(), all.end());
        return all;
    }

  private:
    std::string path_;
};

void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(OutputFile, OldFileStaysUntilTheNewOneIsComplete) {
    Folder folder;
    const std::string path = folder.file("p.png");
    put(path, "old");
    OutputFile file;
    ASSERT_TRUE(file.openFile(path)) << file.error();
    file.write("new bytes");
    ASSERT_TRUE(file.flush());
    EXPECT_EQ(fileBytes(path), "old");
    EXPECT_EQ(folder.names().size(), 2u) << "the temporary beside it";
    ASSERT_TRUE(file.close()) << file.error();
    EXPECT_EQ(fileBytes(path), "new bytes");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"p.png"});
}

TEST(OutputFile, FileNeverClosedOrFailedLeavesTheOldOneAndNoTemporary) {
    Folder folder;
    const std::string path = folder.file("p.bmp");
    put(path, "old");
    {
        OutputFile file;
        ASSERT_TRUE(file.openFile(path));
        file.write("half");
    }
    EXPECT_EQ(fileBytes(path), "old");
    {
        OutputFile file;
        ASSERT_TRUE(file.openFile(path));
        file.write("half");
        file.fail("the encoder gave up");
        EXPECT_FALSE(file.close());
        EXPECT_EQ(file.error(), "the encoder gave up");
        EXPECT_EQ(file.errorCode(), -1);
    }
    EXPECT_EQ(fileBytes(path), "old");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"p.bmp"});
}

TEST(OutputFile, ANewFileGetsWhatTheUmaskLeavesAndAnOldOneKeepsItsMode) {
    Folder folder;
    const std::string old = folder.file("old.tsv");
    put(old, "old");
    ASSERT_EQ(::chmod(old.c_str(), 0640), 0);
    for (const std::string& path : {old, folder.file("new.tsv")}) {
        OutputFile file;
        ASSERT_TRUE(file.openFile(path));
        file.write("x");
        ASSERT_TRUE(file.close());
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat info {};
    ASSERT_EQ(::stat(old.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    ASSERT_EQ(::stat(folder.file("new.tsv").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0666u & ~mask);
}

TEST(OutputFile, UnopenablePathsNameTheirCause) {
    Folder folder;
    put(folder.file("regular"), "x");
    std::filesystem::create_directory(folder.file("folder"));
    const struct {
        std::string path;
        int code;
    } cases[] = {
        {folder.file("regular/p.png"), ENOTDIR},
        {folder.file("missing/p.png"), ENOENT},
        {folder.file("folder"), EISDIR},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        OutputFile file;
        EXPECT_FALSE(file.openFile(c.path));
        EXPECT_EQ(file.errorCode(), c.code);
        EXPECT_EQ(file.error(), std::strerror(c.code));
        EXPECT_EQ(file.path(), c.path);
    }
}

TEST(OutputFile, DeviceIsWrittenInPlaceAndItsFailureNamed) {
    OutputFile file;
    ASSERT_TRUE(file.openFile("/dev/full")) << file.error();
    file.write(std::string(100000, 'x'));  // more than the buffer: written at once
    EXPECT_TRUE(file.failed());
    EXPECT_FALSE(file.close());
    EXPECT_EQ(file.errorCode(), ENOSPC);
    EXPECT_FALSE(file.readerGone());
}

TEST(OutputFile, AFailureFoundOnlyAtTheEndIsKept) {
    OutputFile file;
    ASSERT_TRUE(file.openFile("/dev/full"));
    file.write("a few bytes, held in the buffer");
    EXPECT_FALSE(file.failed());
    EXPECT_FALSE(file.close());
    EXPECT_EQ(file.error(), "No space left on device");
}

TEST(Temporaries, AWriteUnderWayIsKnownUntilItIsInPlace) {
    Folder folder;
    const std::string path = folder.file("t.tsv");
    OutputFile file;
    ASSERT_TRUE(file.openFile(path));
    file.write("rows");
    ASSERT_TRUE(file.flush());
    ASSERT_EQ(folder.names().size(), 1u);
    // What a signal handler does before the program ends.
    removeTemporaries();
    EXPECT_TRUE(folder.names().empty()) << "the temporary is gone";
    EXPECT_FALSE(file.close()) << "its rename then fails";
    EXPECT_FALSE(std::filesystem::exists(path));

    OutputFile done;
    ASSERT_TRUE(done.openFile(path));
    done.write("rows");
    ASSERT_TRUE(done.close());
    removeTemporaries();  // nothing of it is noted any more
    EXPECT_EQ(fileBytes(path), "rows");
}

TEST(Temporaries, ManyAtOnceAreAllKnown) {
    Folder folder;
    std::vector<std::unique_ptr<OutputFile>> files;
    for (int i = 0; i < 20; ++i) {
        files.push_back(std::make_unique<OutputFile>());
        ASSERT_TRUE(files.back()->openFile(folder.file("f" + std::to_string(i))));
    }
    ASSERT_EQ(folder.names().size(), 20u);
    removeTemporaries();
    EXPECT_TRUE(folder.names().empty());
}

}  // namespace
}  // namespace kurvilo
