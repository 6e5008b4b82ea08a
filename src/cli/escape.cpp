// SPDX-License-Identifier: MIT
#include "cli/escape.h"

#include <unordered_set>

#include "numbers/separator.h"
#include "numbers/utf8.h"

namespace kurvilo::cli {

void appendEscaped(std::string& out, std::string_view text, std::string_view standIn) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!standIn.empty() && text.compare(i, standIn.size(), standIn) == 0) {
            out += "\\0";
            i += standIn.size() - 1;
            continue;
        }
        switch (const char c = text[i]) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\0':
                out += "\\0";
                break;
            default:
                out += c;
        }
    }
}

std::string escaped(std::string_view text, std::string_view standIn) {
    std::string out;
    out.reserve(text.size());
    appendEscaped(out, text, standIn);
    return out;
}

namespace {

// The private-use planes: no formula, value atom or separator the program writes uses them.
constexpr char32_t kPrivateUse[][2] = {{0xE000, 0xF8FF}, {0xF0000, 0xFFFFD}, {0x100000, 0x10FFFD}};

bool isPrivateUse(char32_t c) {
    for (const auto& range : kPrivateUse) {
        if (c >= range[0] && c <= range[1]) return true;
    }
    return false;
}

}  // namespace

NulStandIn::NulStandIn(std::initializer_list<std::string_view> texts) {
    bool anyNul = false;
    for (const std::string_view text : texts)
        anyNul = anyNul || text.find('\0') != std::string_view::npos;
    if (!anyNul) return;
    std::unordered_set<char32_t> used;
    for (const std::string_view text : texts) {
        for (const char32_t c : toUtf32(text)) {
            if (isPrivateUse(c)) used.insert(c);
        }
    }
    used.insert(decimalSeparator());
    for (const auto& range : kPrivateUse) {
        for (char32_t c = range[0]; c <= range[1]; ++c) {
            if (used.count(c) == 0) {
                appendUtf8(utf8_, c);
                return;
            }
        }
    }
    // Every private-use character is taken: the NULs stay, and a message may end at one.
}

std::string NulStandIn::apply(std::string_view text) const {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\0' && active()) {
            out += utf8_;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace kurvilo::cli
