// SPDX-License-Identifier: MIT
// Value atoms, the one way the engine writes a value into a working text: "[" + the value's text
// + "]", with the "*"s implied multiplication asks for before and after it. A name's atom holds
// the name's text unchanged; every other atom holds the text form of a Fixed4.
#pragma once

#include <cstddef>
#include <string_view>

#include "formula/implied_multiplication.h"
#include "formula/text_buffer.h"
#include "numbers/fixed4.h"

namespace kurvilo::detail {

// Appends "*"? "[" content "]" "*"?, the content written in place by write(char32_t* out), which
// writes at most maxContent characters and returns how many it wrote.
template <class WriteContent>
inline void appendAtom(TextBuffer& out, std::size_t maxContent, Stars stars, WriteContent write) {
    const std::size_t start = out.size();
    char32_t* const first = out.extend(maxContent + 4);
    char32_t* p = first;
    if (stars.before) *p++ = U'*';
    *p++ = U'[';
    p += write(p);
    *p++ = U']';
    if (stars.after) *p++ = U'*';
    out.truncate(start + static_cast<std::size_t>(p - first));
}

// The atom of a text, as the substitution stage writes a name's.
inline void appendAtom(TextBuffer& out, std::u32string_view content, Stars stars) {
    appendAtom(out, content.size(), stars, [content](char32_t* p) {
        for (const char32_t c : content)
            *p++ = c;
        return content.size();
    });
}

// The atom of a value, in its text form with the given separator.
inline void appendAtom(TextBuffer& out, Fixed4 value, char32_t separator, Stars stars) {
    appendAtom(out, kMaxFixed4Chars, stars,
               [value, separator](char32_t* p) { return formatTo(p, value, separator); });
}

}  // namespace kurvilo::detail
