// SPDX-License-Identifier: MIT
#include "picture/temporaries.h"

#include <unistd.h>

#include <array>
#include <atomic>

namespace kurvilo {

namespace {

// A handful at a time: the trace, a picture or two, a frame, the GIF.
std::array<std::atomic<const char*>, 32> notes{};
static_assert(std::atomic<const char*>::is_always_lock_free, "used from signal handlers");

}  // namespace

int noteTemporary(const char* path) noexcept {
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const char* empty = nullptr;
        if (notes[i].compare_exchange_strong(empty, path)) return static_cast<int>(i);
    }
    return -1;
}

void forgetTemporary(int note) noexcept {
    if (note >= 0 && static_cast<std::size_t>(note) < notes.size()) {
        notes[static_cast<std::size_t>(note)].store(nullptr);
    }
}

void removeTemporaries() noexcept {
    for (std::atomic<const char*>& note : notes) {
        if (const char* path = note.load(); path != nullptr) ::unlink(path);
    }
}

}  // namespace kurvilo
