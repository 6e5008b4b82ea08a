// SPDX-License-Identifier: MIT
// The progress of a run on standard error: on a terminal one line redrawn in place about ten
// times a second, elsewhere (when asked for) a line every second; always the last state at the
// end. Whether to show it at all is the caller's choice (progressWanted).
#pragma once

#include <chrono>
#include <cstdint>

namespace kurvilo::cli {

// Progress belongs on a terminal, and not on the one the data go to: standard error is a
// terminal, and no output goes to standard output while that is the same terminal.
bool progressWanted(bool dataToStandardOutput);

class Progress {
  public:
    Progress(std::uint64_t total, bool shown);
    // After each tick; redraws when it is time.
    void update(std::uint64_t done) {
        if (shown_ && std::chrono::steady_clock::now() >= due_) draw(done, false);
    }
    // The last state, and the end of the line, so that a message can follow; once.
    void finish(std::uint64_t done);

  private:
    void draw(std::uint64_t done, bool last);

    std::uint64_t total_;
    bool shown_;
    bool terminal_;
    std::chrono::steady_clock::time_point due_;
};

}  // namespace kurvilo::cli
