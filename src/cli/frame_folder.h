// SPDX-License-Identifier: MIT
// The numbered PNG frames of a run: DIR/frame-000001.png, DIR/frame-000002.png, ..., each written
// whole or not at all. A folder that already holds frames would mix two runs: it is refused, or
// emptied of its frames first when asked to.
#pragma once

#include <cstdint>
#include <string>

#include "picture/image.h"

namespace kurvilo::cli {

class FrameFolder {
  public:
    // The folder exists, a file can be made in it, and it holds no frames (with overwrite, those
    // it holds are removed). False when not; error() says why.
    bool open(const std::string& folder, bool overwrite);
    bool write(const ImageView& frame);
    // The folder, or the frame that failed.
    const std::string& path() const noexcept { return path_; }
    const std::string& error() const noexcept { return error_; }
    std::uint64_t written() const noexcept { return written_; }

    // Whether a file name is a frame's: "frame-", digits, ".png".
    static bool isFrameName(const std::string& name);

  private:
    std::string folder_;
    std::string path_;
    std::string error_;
    std::uint64_t written_ = 0;
};

}  // namespace kurvilo::cli
