#include "PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

namespace {
void pngError(png_structp png, png_const_charp msg)
{
    auto* error = static_cast<std::string*>(png_get_error_ptr(png));
    if (error)
        *error = msg ? msg : "libpng error";
    std::longjmp(png_jmpbuf(png), 1);
}
void pngWarning(png_structp, png_const_charp) {}

// Apart from writeRowsPng so that its counter lives in no frame that setjmp returns to.
[[gnu::noinline]] void writeRows(png_structp png, png_bytep rgb, int h, const std::function<void(int, uint8_t*)>& row)
{
    for (int y = 0; y < h; ++y) {
        row(y, rgb);
        png_write_row(png, rgb);
    }
}
} // namespace

bool writeRowsPng(int w, int h, const std::function<void(int, uint8_t*)>& row, const std::string& hostPath,
                  std::string& error)
{
    // Made before libpng starts, so nothing with a destructor begins life across its longjmp.
    std::vector<png_byte> rgb(size_t(w) * 3);
    std::FILE* f = std::fopen(hostPath.c_str(), "wb");
    if (!f) {
        error = "cannot open " + hostPath + " for writing";
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, pngError, pngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(png ? &png : nullptr, nullptr);
        std::fclose(f);
        error = "libpng could not start";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    writeRows(png, rgb.data(), h, row);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(f) != 0) {
        error = "cannot finish " + hostPath;
        return false;
    }
    return true;
}

bool writeSurfacePng(const platform::Surface& surface, const std::string& hostPath, std::string& error)
{
    const int bpp = platform::bytesPerPixel(surface.format());
    return writeRowsPng(
        surface.width(), surface.height(),
        [&surface, bpp](int y, uint8_t* out) {
            const uint8_t* row = surface.data() + size_t(y) * size_t(surface.pitch());
            for (int x = 0; x < surface.width(); ++x) {
                uint32_t c = platform::toArgb(surface.format(), row + size_t(x) * size_t(bpp));
                out[x * 3 + 0] = png_byte(c >> 16);
                out[x * 3 + 1] = png_byte(c >> 8);
                out[x * 3 + 2] = png_byte(c);
            }
        },
        hostPath, error);
}
