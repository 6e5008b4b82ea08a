// SPDX-License-Identifier: MIT
// The PNG of a picture through libpng: 8-bit RGB, not interlaced, with its resolution and any
// number of text chunks (key and value; a value that is plain ASCII goes in a tEXt chunk, any
// other UTF-8 text in an iTXt chunk). Nothing in the file depends on the time or the machine, so
// the same picture always gives the same bytes.
#pragma once

#include <cstddef>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "picture/bmp.h"
#include "picture/image.h"
#include "picture/output_file.h"

namespace kurvilo {

struct PngText {
    std::string key;    // 1 to 79 printable Latin-1 characters, no leading, trailing or double
                        // blanks (what PNG allows)
    std::string value;  // UTF-8, without NUL
};

// Writes the whole file to sink. False when the text chunks cannot be written as given or the
// encoder fails (error says why) or the sink failed.
bool writePng(const ImageView& picture, ByteSink& sink, std::string& error,
              std::span<const PngText> texts = {}, const PixelDensity& density = {});

// Why a key or value cannot be written; empty when it can.
std::string pngTextProblem(const PngText& text);

// The eight bytes every PNG file starts with.
inline constexpr std::string_view kPngSignature{"\x89PNG\r\n\x1A\n", 8};

struct PngTextRead {
    bool found = false;
    std::string value;
    std::string error;  // why the file could not be read; empty when it could
};

// The text of the first chunk named `key` (tEXt, zTXt or iTXt, before or after the pixels) of
// the PNG read from `file`, whose first `signatureBytes` bytes were read already (and were the
// start of the signature). A text longer than maxBytes, a picture wider or higher than 16384
// pixels and a damaged file are errors; the pixels are decoded, one row at a time, only when the
// text is not found before them.
PngTextRead readPngText(std::FILE* file, std::size_t signatureBytes, std::string_view key,
                        std::size_t maxBytes);

}  // namespace kurvilo
