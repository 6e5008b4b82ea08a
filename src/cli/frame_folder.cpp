// SPDX-License-Identifier: MIT
#include "cli/frame_folder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "picture/output_file.h"
#include "picture/png.h"

namespace kurvilo::cli {

namespace {

// The frames a folder holds, by name; false (errno set) when it cannot be read.
bool framesIn(const std::string& folder, std::vector<std::string>& names) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return false;
    errno = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (FrameFolder::isFrameName(entry->d_name)) names.emplace_back(entry->d_name);
    }
    std::sort(names.begin(), names.end());
    return errno == 0;
}

}  // namespace

bool FrameFolder::isFrameName(const std::string& name) {
    constexpr std::string_view kStart = "frame-";
    constexpr std::string_view kEnd = ".png";
    if (name.size() <= kStart.size() + kEnd.size() || name.compare(0, kStart.size(), kStart) != 0 ||
        name.compare(name.size() - kEnd.size(), kEnd.size(), kEnd) != 0) {
        return false;
    }
    for (std::size_t i = kStart.size(); i < name.size() - kEnd.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return false;
    }
    return true;
}

bool FrameFolder::open(const std::string& folder, bool overwrite) {
    folder_ = folder;
    path_ = folder;
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        error_ = std::strerror(errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        error_ = std::strerror(ENOTDIR);
        return false;
    }
    // Only making a file shows that one can be made (root passes every permission check).
    std::string probe = folder + "/.kurvilo-cli-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        error_ = std::strerror(errno);
        return false;
    }
    ::close(fd);
    ::unlink(probe.c_str());

    std::vector<std::string> frames;
    if (!framesIn(folder, frames)) {
        error_ = std::strerror(errno);
        return false;
    }
    if (frames.empty()) return true;
    if (!overwrite) {
        error_ = "it already holds frames (" + frames.front() + (frames.size() > 1 ? ", ..." : "") +
                 "); --overwrite removes them first";
        return false;
    }
    for (const std::string& name : frames) {
        const std::string path = folder + "/" + name;
        if (::unlink(path.c_str()) != 0) {
            path_ = path;
            error_ = std::string("cannot remove it: ") + std::strerror(errno);
            return false;
        }
    }
    return true;
}

bool FrameFolder::write(const ImageView& frame) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%06llu.png",
                  static_cast<unsigned long long>(written_ + 1));
    path_ = folder_ + name;
    OutputFile file;
    std::string cause;
    if (!file.openFile(path_)) {
        error_ = file.error();
        return false;
    }
    if (!writePng(frame, file, cause) && !file.failed()) file.fail(cause);
    if (!file.close()) {
        error_ = file.error();
        return false;
    }
    ++written_;
    return true;
}

}  // namespace kurvilo::cli
