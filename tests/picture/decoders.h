// SPDX-License-Identifier: MIT
// Pictures read back for the tests with the libraries' decoders: a PNG with libpng's (pixels and
// text chunks), a GIF with giflib's, each frame composed onto the canvas as the file says
// (transparency, "do not dispose"), and a gzipped reference file with zlib.
#pragma once

#include <gif_lib.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "picture/image.h"
#include "picture/pictures.h"

namespace kurvilo::testing {

// A gzip file's content; empty when it cannot be read.
inline std::string gunzip(const std::string& path) {
    std::string out;
    gzFile file = gzopen(path.c_str(), "rb");
    if (file == nullptr) return out;
    char buffer[1 << 16];
    int n = 0;
    while ((n = gzread(file, buffer, sizeof buffer)) > 0)
        out.append(buffer, static_cast<std::size_t>(n));
    gzclose(file);
    return out;
}

struct DecodedPng {
    bool ok = false;
    Image image;  // 0xFFRRGGBB
    int bitDepth = 0;
    int colourType = -1;
    std::map<std::string, std::string> texts;  // tEXt, zTXt and iTXt alike
    std::map<std::string, int> textKinds;      // their compression field: which chunk held each
    std::uint32_t dotsPerMeterX = 0;
    std::uint32_t dotsPerMeterY = 0;
};

inline DecodedPng decodePng(const std::string& bytes) {
    DecodedPng decoded;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return decoded;
    image.format = PNG_FORMAT_BGRA;  // 0xAARRGGBB words on a little-endian machine
    decoded.image = Image(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, decoded.image.row(0), 0, nullptr)) return decoded;

    // The chunks themselves, through the ordinary reader.
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    struct Source {
        const std::string* bytes;
        std::size_t at;
    } source{&bytes, 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return decoded;
    }
    png_set_read_fn(png, &source, [](png_structp p, png_bytep out, png_size_t n) {
        auto* s = static_cast<Source*>(png_get_io_ptr(p));
        if (s->at + n > s->bytes->size()) png_error(p, "short file");
        std::copy_n(s->bytes->data() + s->at, n, out);
        s->at += n;
    });
    png_read_info(png, info);
    decoded.bitDepth = png_get_bit_depth(png, info);
    decoded.colourType = png_get_color_type(png, info);
    png_uint_32 x = 0;
    png_uint_32 y = 0;
    int unit = 0;
    if (png_get_pHYs(png, info, &x, &y, &unit) != 0 && unit == PNG_RESOLUTION_METER) {
        decoded.dotsPerMeterX = x;
        decoded.dotsPerMeterY = y;
    }
    png_textp texts = nullptr;
    int count = 0;
    png_get_text(png, info, &texts, &count);
    for (int i = 0; i < count; ++i) {
        const std::size_t length =
            texts[i].compression > 0 ? texts[i].itxt_length : texts[i].text_length;
        decoded.texts[texts[i].key] = std::string(texts[i].text, length);
        decoded.textKinds[texts[i].key] = texts[i].compression;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    decoded.ok = true;
    return decoded;
}

struct DecodedGif {
    bool ok = false;
    std::string version;  // "GIF89a"
    int width = 0;
    int height = 0;
    int loopCount = -1;                     // from the NETSCAPE2.0 block; -1 when there is none
    bool globalTable = false;               // whether the file has a global colour table
    std::vector<Image> frames;              // the whole canvas after each frame
    std::vector<std::array<int, 4>> rects;  // each frame's own rectangle: left, top, w, h
    std::vector<int> delays;                // 1/100 s
    std::vector<int> disposals;
    std::vector<int> tableSizes;  // each frame's colour table
};

inline int readGifBytes(GifFileType* gif, GifByteType* out, int n) {
    auto* source = static_cast<std::pair<const std::string*, std::size_t>*>(gif->UserData);
    const std::size_t left = source->first->size() - source->second;
    const std::size_t take = std::min(left, static_cast<std::size_t>(n));
    std::copy_n(source->first->data() + source->second, take, out);
    source->second += take;
    return static_cast<int>(take);
}

inline DecodedGif decodeGif(const std::string& bytes) {
    DecodedGif decoded;
    int error = 0;
    std::pair<const std::string*, std::size_t> source{&bytes, 0};
    GifFileType* gif = DGifOpen(&source, readGifBytes, &error);
    if (gif == nullptr) return decoded;
    if (DGifSlurp(gif) != GIF_OK) {
        DGifCloseFile(gif, &error);
        return decoded;
    }
    decoded.version = EGifGetGifVersion(gif);
    decoded.width = gif->SWidth;
    decoded.height = gif->SHeight;
    decoded.globalTable = gif->SColorMap != nullptr;
    Image canvas(gif->SWidth, gif->SHeight, 0xFF000000);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        for (int b = 0; b + 1 < image.ExtensionBlockCount; ++b) {
            const ExtensionBlock& block = image.ExtensionBlocks[b];
            if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                std::string(reinterpret_cast<const char*>(block.Bytes), 11) == "NETSCAPE2.0") {
                const ExtensionBlock& data = image.ExtensionBlocks[b + 1];
                if (data.ByteCount == 3 && data.Bytes[0] == 1)
                    decoded.loopCount = data.Bytes[1] | data.Bytes[2] << 8;
            }
        }
        GraphicsControlBlock control{};
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, i, &control);
        const GifImageDesc& desc = image.ImageDesc;
        const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
        if (map == nullptr) {
            DGifCloseFile(gif, &error);
            return decoded;
        }
        for (int y = 0; y < desc.Height; ++y) {
            for (int x = 0; x < desc.Width; ++x) {
                const int index = image.RasterBits[y * desc.Width + x];
                if (index == control.TransparentColor || index >= map->ColorCount) continue;
                const GifColorType c = map->Colors[index];
                canvas.row(desc.Top + y)[desc.Left + x] =
                    0xFF000000u | std::uint32_t{c.Red} << 16 | std::uint32_t{c.Green} << 8 | c.Blue;
            }
        }
        decoded.frames.push_back(canvas);
        decoded.rects.push_back({desc.Left, desc.Top, desc.Width, desc.Height});
        decoded.delays.push_back(control.DelayTime);
        decoded.disposals.push_back(control.DisposalMode);
        decoded.tableSizes.push_back(map->ColorCount);
    }
    decoded.ok = true;
    DGifCloseFile(gif, &error);
    return decoded;
}

}  // namespace kurvilo::testing
