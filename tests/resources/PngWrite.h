#pragma once
// Encodes test pictures with libpng's writer, into memory.
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <vector>

namespace testpng {

struct Options {
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    int compression = 6;
};

// raw holds the rows top first, packed as the PNG stores them (big-endian 16-bit samples).
inline std::vector<uint8_t> encode(uint32_t width, uint32_t height, const std::vector<uint8_t>& raw,
                                   const Options& o = {})
{
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows(height);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, size_t n) {
            auto* v = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
            v->insert(v->end(), data, data + n);
        },
        nullptr);
    png_set_compression_level(png, o.compression);
    png_set_IHDR(png, info, width, height, o.bitDepth, o.colourType,
                 o.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    if (o.colourType == PNG_COLOR_TYPE_PALETTE) {
        for (int i = 0; i < 256; ++i)
            palette[i] = png_color{png_byte(i), png_byte(255 - i), png_byte(i / 2)};
        png_set_PLTE(png, info, palette, 1 << o.bitDepth);
    }
    png_write_info(png, info);
    size_t rowBytes = png_get_rowbytes(png, info);
    for (uint32_t y = 0; y < height; ++y)
        rows[y] = const_cast<png_bytep>(raw.data() + y * rowBytes);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace testpng
