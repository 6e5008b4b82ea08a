// SPDX-License-Identifier: MIT
#include "numbers/utf8.h"

#include <algorithm>

namespace kurvilo {

std::size_t decodeUtf8(std::string_view s, char32_t* out, std::size_t capacity,
                       std::size_t& consumed) noexcept {
    const auto n = s.size();
    std::size_t i = 0;
    std::size_t written = 0;
    while (i < n && written < capacity) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        if (b0 < 0x80) {
            // A run of ASCII bytes, as far as the room allows.
            const std::size_t stop = std::min(n, i + (capacity - written));
            out[written++] = b0;
            ++i;
            while (i < stop && static_cast<unsigned char>(s[i]) < 0x80)
                out[written++] = static_cast<unsigned char>(s[i++]);
            continue;
        }
        // A byte that starts no valid sequence is kept as a lone low surrogate (U+DC80 + byte)
        // and written back as the same byte, so every text survives the round trip unchanged.
        const char32_t kept = 0xDC00 + b0;
        int extra = 0;
        char32_t c = 0;
        char32_t minimum = 0;
        if ((b0 & 0xE0) == 0xC0) {
            extra = 1, c = b0 & 0x1F, minimum = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            extra = 2, c = b0 & 0x0F, minimum = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            extra = 3, c = b0 & 0x07, minimum = 0x10000;
        } else {
            out[written++] = kept;
            ++i;
            continue;
        }
        if (i + static_cast<std::size_t>(extra) >= n) {
            out[written++] = kept;
            ++i;
            continue;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            c = (c << 6) | (b & 0x3F);
        }
        if (!ok || c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            out[written++] = kept;
            ++i;
            continue;
        }
        out[written++] = c;
        i += static_cast<std::size_t>(extra) + 1;
    }
    consumed = i;
    return written;
}

bool appendUtf32(std::u32string& out, std::string_view utf8, std::size_t limit) {
    // Never more characters than bytes.
    const std::size_t start = out.size();
    const std::size_t room = limit > start ? std::min(utf8.size(), limit - start) : 0;
    out.resize(start + room);
    std::size_t consumed = 0;
    const std::size_t written = decodeUtf8(utf8, out.data() + start, room, consumed);
    out.resize(start + written);
    return consumed == utf8.size();
}

void appendUtf32(std::u32string& out, std::string_view utf8) {
    appendUtf32(out, utf8, std::u32string::npos);
}

std::u32string toUtf32(std::string_view utf8) {
    std::u32string out;
    appendUtf32(out, utf8);
    return out;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c >= 0xDC80 && c <= 0xDCFF) {
        out.push_back(static_cast<char>(c - 0xDC00));  // a byte kept from malformed input
    } else if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

void appendUtf8(std::string& out, std::u32string_view text) {
    for (char32_t c : text)
        appendUtf8(out, c);
}

std::string toUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    appendUtf8(out, text);
    return out;
}

}  // namespace kurvilo
