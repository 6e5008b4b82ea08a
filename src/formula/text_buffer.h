// SPDX-License-Identifier: MIT
// The engine's working texts: a growable run of UTF-32 characters that does std::u32string's job
// with every operation of the hot path inline (appends, pushes, truncation, searches), growing
// out of line only when its room runs out. Searches return npos when they find nothing; where a
// character is asked for before the start or past the end of a text, it is kNoCharacter.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

#include "formula/inputs.h"

namespace kurvilo::detail {

inline constexpr std::size_t npos = std::u32string_view::npos;

// No character: before the start or past the end of a text, or an empty operator stack. Outside
// Unicode, so that no character of a text (not even NUL) is mistaken for it.
inline constexpr char32_t kNoCharacter = 0xFFFFFFFF;

// The character at position i of a text, or kNoCharacter past its end.
inline char32_t charAt(std::u32string_view text, std::size_t i) noexcept {
    return i < text.size() ? text[i] : kNoCharacter;
}

// The first c at or after from.
inline std::size_t findChar(std::u32string_view text, char32_t c, std::size_t from = 0) noexcept {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == c) return i;
    }
    return npos;
}

// The first occurrence of a short needle (a name, a function name) at or after from.
inline std::size_t findText(std::u32string_view text, std::u32string_view needle,
                            std::size_t from = 0) noexcept {
    const std::size_t m = needle.size();
    if (m == 0 || text.size() < m) return m == 0 && from <= text.size() ? from : npos;
    const char32_t first = needle[0];
    for (std::size_t i = from; i + m <= text.size(); ++i) {
        if (text[i] != first) continue;
        std::size_t k = 1;
        while (k < m && text[i + k] == needle[k])
            ++k;
        if (k == m) return i;
    }
    return npos;
}

class TextBuffer {
  public:
    TextBuffer() = default;
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    std::size_t capacity() const noexcept { return capacity_; }
    char32_t* data() noexcept { return data_.get(); }
    const char32_t* data() const noexcept { return data_.get(); }
    char32_t operator[](std::size_t i) const noexcept { return data_[i]; }
    char32_t back() const noexcept { return data_[size_ - 1]; }
    std::u32string_view view() const noexcept { return {data_.get(), size_}; }
    operator std::u32string_view() const noexcept { return view(); }

    void clear() noexcept { size_ = 0; }
    // Keeps the first n characters (n at most the size).
    void truncate(std::size_t n) noexcept { size_ = n; }
    void reserve(std::size_t n) {
        if (n > capacity_) grow(n);
    }
    void push_back(char32_t c) {
        if (size_ == capacity_) grow(size_ + 1);
        data_[size_++] = c;
    }
    // Room for n more characters, uninitialised, counted in the size: the caller writes them
    // (and may truncate what it did not need).
    char32_t* extend(std::size_t n) {
        reserve(size_ + n);
        char32_t* start = data_.get() + size_;
        size_ += n;
        return start;
    }
    void append(std::u32string_view text) {
        const std::size_t n = text.size();
        char32_t* out = extend(n);
        if (n > 16) {
            std::memcpy(out, text.data(), n * 4);
        } else {
            for (std::size_t i = 0; i < n; ++i)
                out[i] = text[i];
        }
    }
    void assign(std::u32string_view text) {
        clear();
        append(text);
    }
    void swap(TextBuffer& other) noexcept {
        data_.swap(other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
    }
    // Gives its memory back.
    void release() noexcept {
        data_.reset();
        size_ = capacity_ = 0;
    }

  private:
    void grow(std::size_t needed) {
        // Doubling, but never far beyond the largest working text: a text near the cap must not
        // take twice its room in every buffer it passes through.
        constexpr std::size_t kRoomEnough = kMaxWorkingText + 64;
        std::size_t capacity = capacity_ < 32 ? 32 : capacity_;
        while (capacity < needed)
            capacity *= 2;
        if (capacity > kRoomEnough && needed <= kRoomEnough) capacity = kRoomEnough;
        auto data = std::make_unique_for_overwrite<char32_t[]>(capacity);
        if (size_ != 0) std::memcpy(data.get(), data_.get(), size_ * 4);
        data_ = std::move(data);
        capacity_ = capacity;
    }

    std::unique_ptr<char32_t[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace kurvilo::detail
