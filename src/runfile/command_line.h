// SPDX-License-Identifier: MIT
// A run as a kurvilo-cli command: "kurvilo-cli run --mode polar-curve --curve '10cos(3θ)' ...",
// each option named as kurvilo-cli names it, those that hold kurvilo-cli's defaults left out, and
// every word quoted for a POSIX shell (sh, bash, zsh) where it needs it, so that the line pasted
// into a shell runs the same run.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "runfile/run_file.h"

namespace kurvilo {

// `text` as one word of a shell command: as it is when it holds only letters, digits and
// "_./,:+-" (and "=" after its first character), else in single quotes. A text holding a NUL
// cannot be a word of any command: none.
std::optional<std::string> shellWord(std::string_view text);

// "kurvilo-cli run" and the options of the file's settings and ticks (the title and the note
// too), then `outputs`, words the caller has quoted already. None when a text holds a NUL.
std::optional<std::string> runCommandLine(const RunFile& file, std::string_view outputs);

}  // namespace kurvilo
