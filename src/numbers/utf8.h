// SPDX-License-Identifier: MIT
// UTF-8 <-> UTF-32 conversion. Texts enter and leave the program as UTF-8; code that needs one
// unit per character ("π", "θ", "Σ", a decimal separator outside ASCII) works on UTF-32.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kurvilo {

// A byte that continues a UTF-8 character rather than starting one.
inline bool isUtf8Continuation(char byte) noexcept {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The bytes of the first UTF-8 character of text (0 for an empty text).
inline std::size_t firstCharacterLength(std::string_view text) noexcept {
    std::size_t n = text.empty() ? 0 : 1;
    while (n < text.size() && isUtf8Continuation(text[n]))
        ++n;
    return n;
}

// A byte that is not part of valid UTF-8 decodes to U+DC80 + byte (a lone surrogate, which
// valid input never holds) and encodes back to the same byte: no text is rejected or altered.
void appendUtf32(std::u32string& out, std::string_view utf8);
// The decoder itself: writes at most capacity characters to out and returns how many; consumed
// tells how many bytes they took. A text needs at most as many characters as it has bytes.
std::size_t decodeUtf8(std::string_view utf8, char32_t* out, std::size_t capacity,
                       std::size_t& consumed) noexcept;
// The same, with a leading run of ASCII copied right here.
inline std::size_t decodeUtf8Inline(std::string_view utf8, char32_t* out, std::size_t capacity,
                                    std::size_t& consumed) noexcept {
    const std::size_t n = utf8.size() < capacity ? utf8.size() : capacity;
    std::size_t i = 0;
    while (i < n && static_cast<unsigned char>(utf8[i]) < 0x80) {
        out[i] = static_cast<unsigned char>(utf8[i]);
        ++i;
    }
    if (i == n) {
        consumed = i;
        return i;
    }
    const std::size_t written = decodeUtf8(utf8.substr(i), out + i, capacity - i, consumed);
    consumed += i;
    return written + i;
}
// The same, but gives up (false, out then holds a part) once out would grow beyond limit units.
bool appendUtf32(std::u32string& out, std::string_view utf8, std::size_t limit);
std::u32string toUtf32(std::string_view utf8);

void appendUtf8(std::string& out, char32_t c);
void appendUtf8(std::string& out, std::u32string_view text);
std::string toUtf8(std::u32string_view text);

}  // namespace kurvilo
