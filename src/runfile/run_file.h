// SPDX-License-Identifier: MIT
// The run file, "*.kurvilo": the settings of a run as a TOML text a teacher can read and edit,
// with comments, for the window (open, save) and kurvilo-cli run. Every formula and value is a
// text kept exactly as typed: the engine parses it, the file never does. TOML is read and written
// with toml++. A file is checked whole before anything is taken from it: a bad one is refused
// with one line that names the file, the line and what is wrong.
//
//   kurvilo = 1                      the format version; a file without it is no run file
//   title = "…", note = "…"          optional
//   mode = "cartesian-motion"        a graph mode's name
//   ticks = 700                      optional: how many ticks kurvilo-cli runs
//   separator = "."                  the decimal separator the texts are written with
//   [formulas] first, second         Edit1 and Edit2
//   [initial] vx, x, vy, y           the initial values (vtheta, theta, vr, r in the polar modes)
//   [constants] a, b, c, d
//   [drawing] speed, step, range-y, range-x
//   [zoom] x, y = { on, centre, half-width }
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sim/run_settings.h"

namespace kurvilo {

inline constexpr std::int64_t kRunFileVersion = 1;
// Larger files are refused before they are read: no run needs more, and nothing can make the
// reader spend long on a file.
inline constexpr std::size_t kMaxRunFileBytes = std::size_t{4} << 20;
// Deeper nesting of tables, arrays and dotted keys is refused before the TOML is parsed (the
// format itself nests two levels).
inline constexpr int kMaxRunFileNesting = 8;
inline constexpr std::string_view kRunFileSuffix = "kurvilo";
// The key of the PNG text chunk that carries a picture's run file.
inline constexpr std::string_view kPngRunFileKey = "Kurvilo run";

struct RunFile {
    RunSettings settings;
    std::optional<std::uint64_t> ticks;  // how many ticks a run of the file has; none: not said
    std::string title;                   // empty: none
    std::string note;

    friend bool operator==(const RunFile&, const RunFile&) = default;
};

// Why a file was refused.
struct RunFileError {
    std::string name;      // the file as the user named it
    std::size_t line = 0;  // 0: the file as a whole
    std::string what;

    // "lesson.kurvilo:12: unknown key 'fisrt' in [formulas] (its keys are first and second)".
    std::string message() const;
};

// A read run file, or why there is none.
struct RunFileRead {
    std::optional<RunFile> file;
    RunFileError error;
};

// The run file in `text`, which came from the file `name`.
RunFileRead parseRunFile(std::string_view text, std::string_view name);

// Reads the run file at `path`: a run file, or a PNG picture that carries one in its text chunk
// kPngRunFileKey; "-" reads standard input. `name` is how messages name it (the path when empty).
RunFileRead loadRunFile(const std::string& path, std::string_view name = {});

// Why `file` cannot be written as a run file (a text that is not UTF-8), or empty.
std::string runFileProblem(const RunFile& file);

// The text of the run file: every key, its comments naming the window's labels. Requires that
// runFileProblem(file) is empty.
std::string formatRunFile(const RunFile& file);

}  // namespace kurvilo
