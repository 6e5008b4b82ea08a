// SPDX-License-Identifier: MIT
#include "cli/text_width.h"

#include "numbers/utf8.h"

namespace kurvilo::cli {

namespace {

bool isWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6);
}

}  // namespace

std::size_t displayWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (const char32_t c : toUtf32(utf8))
        width += isWide(c) ? 2 : 1;
    return width;
}

}  // namespace kurvilo::cli
