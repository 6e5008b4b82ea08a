// SPDX-License-Identifier: MIT
#include "picture/png.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace kurvilo {

namespace {

struct WriteState {
    ByteSink* sink;
    char message[200];
};

void writeBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* state = static_cast<WriteState*>(png_get_io_ptr(png));
    state->sink->write(std::string_view(reinterpret_cast<const char*>(data), length));
}

void flushNothing(png_structp) {}

[[noreturn]] void onError(png_structp png, png_const_charp message) {
    auto* state = static_cast<WriteState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "%s", message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

bool isAscii(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// Everything libpng touches lives in plain data, so that its longjmp on an error skips no
// destructor.
bool encode(const ImageView& picture, WriteState& state, std::uint8_t* row, png_text* chunks,
            int chunkCount, const PixelDensity& density) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, onError, onWarning);
    if (png == nullptr) {
        std::snprintf(state.message, sizeof state.message, "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        if (info == nullptr) std::snprintf(state.message, sizeof state.message, "out of memory");
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &state, writeBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width),
                 static_cast<png_uint_32>(picture.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(png, info, static_cast<png_uint_32>(density.dotsPerMeterX),
                 static_cast<png_uint_32>(density.dotsPerMeterY), PNG_RESOLUTION_METER);
    if (chunkCount > 0) png_set_text(png, info, chunks, chunkCount);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y) {
        const std::uint32_t* pixels = picture.row(y);
        std::uint8_t* byte = row;
        for (int x = 0; x < picture.width; ++x) {
            *byte++ = static_cast<std::uint8_t>(pixels[x] >> 16);
            *byte++ = static_cast<std::uint8_t>(pixels[x] >> 8);
            *byte++ = static_cast<std::uint8_t>(pixels[x]);
        }
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::string pngTextProblem(const PngText& text) {
    const std::string& key = text.key;
    if (key.empty() || key.size() > 79) return "a PNG text key has 1 to 79 characters";
    for (std::size_t i = 0; i < key.size(); ++i) {
        const auto c = static_cast<unsigned char>(key[i]);
        const bool printable = (c >= 0x20 && c <= 0x7E) || c >= 0xA1;
        const bool badBlank = c == ' ' && (i == 0 || i + 1 == key.size() || key[i - 1] == ' ');
        if (!printable || badBlank) return "the PNG text key '" + key + "' is not one PNG allows";
    }
    if (text.value.find('\0') != std::string::npos) {
        return "the PNG text '" + key + "' holds a NUL";
    }
    return {};
}

bool writePng(const ImageView& picture, ByteSink& sink, std::string& error,
              std::span<const PngText> texts, const PixelDensity& density) {
    std::vector<png_text> chunks(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (std::string problem = pngTextProblem(texts[i]); !problem.empty()) {
            error = std::move(problem);
            return false;
        }
        png_text& chunk = chunks[i];
        chunk.key = const_cast<char*>(texts[i].key.c_str());
        chunk.text = const_cast<char*>(texts[i].value.c_str());
        if (isAscii(texts[i].value)) {
            chunk.compression = PNG_TEXT_COMPRESSION_NONE;
            chunk.text_length = texts[i].value.size();
        } else {
            chunk.compression = PNG_ITXT_COMPRESSION_NONE;
            chunk.itxt_length = texts[i].value.size();
            chunk.lang = nullptr;
            chunk.lang_key = nullptr;
        }
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width) * 3);
    WriteState state{&sink, {}};
    if (!encode(picture, state, row.data(), chunks.data(), static_cast<int>(chunks.size()),
                density)) {
        error = state.message;
        return false;
    }
    return !sink.failed();
}

}  // namespace kurvilo
