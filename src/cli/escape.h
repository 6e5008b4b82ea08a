// SPDX-License-Identifier: MIT
// Keeping output one line per case: the characters that would break a line or a TSV field, or
// end a C string, are written as "\n", "\r", "\t" and "\0". And since a failure's message is a C
// string (what() ends at the first NUL), NULs from standard input travel through an evaluation
// as a stand-in character that every stage treats exactly like a NUL, and are written back as
// "\0".
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kurvilo::cli {

// Appends text (UTF-8) with "\n", "\r", "\t" and "\0" escaped, and every occurrence of
// standIn (UTF-8 of the NUL stand-in, or empty) written as "\0".
void appendEscaped(std::string& out, std::string_view text, std::string_view standIn = {});
std::string escaped(std::string_view text, std::string_view standIn = {});

// A character outside the formula language, the value texts and the decimal separator that
// occurs in none of a case's texts: an unknown character to the scan and a rejected one to the
// parse, like a NUL, so the case gives the same result with every NUL replaced by it.
class NulStandIn {
  public:
    // Picks a private-use character that none of the texts contains (or none at all when no
    // text holds a NUL).
    explicit NulStandIn(std::initializer_list<std::string_view> texts);

    bool active() const noexcept { return !utf8_.empty(); }
    // The stand-in's UTF-8 bytes; empty when not active.
    std::string_view utf8() const noexcept { return utf8_; }
    // text with every NUL replaced by the stand-in.
    std::string apply(std::string_view text) const;

  private:
    std::string utf8_;
};

}  // namespace kurvilo::cli
