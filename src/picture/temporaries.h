// SPDX-License-Identifier: MIT
// The temporary files of whole-or-nothing writes under way, known to the whole process so that a
// program ended by a signal can remove them first: removeTemporaries may be called from a signal
// handler.
#pragma once

namespace kurvilo {

// Notes a temporary file's path; the characters must stay in place until forgetTemporary. Returns
// the note's number, or -1 when too many are under way (the file is then not known).
int noteTemporary(const char* path) noexcept;
void forgetTemporary(int note) noexcept;
// Removes every noted file. Async-signal-safe.
void removeTemporaries() noexcept;

}  // namespace kurvilo
