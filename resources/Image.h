#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CPackArchive;

// Takes a PNG's rows as they are decoded, top row first, so that a caller can put each one
// where it belongs while it is still in the cache, without a whole picture in between.
class PngRowSink {
public:
    virtual ~PngRowSink();
    // Before any row: the picture's size. False refuses it (the decode returns -2).
    virtual bool begin(int32_t width, int32_t height) = 0;
    // Row y, final: width pixels of 3 bytes (R, G, B) or 4 (R, G, B, A).
    virtual void row(int32_t y, const uint8_t* pixels, int channels) = 0;
};

// n PNG pixels of 3 or 4 channels as B, G, R, A (alpha 255 for 3 channels), or with the
// alpha byte 0 when zeroAlpha (pixels for a surface whose fourth byte holds nothing).
void pngPixelsToBgra(uint8_t* dst, const uint8_t* src, int channels, int32_t n, bool zeroAlpha = false);

// 8-bit RGB or RGBA PNG rows into a sink. 0; -1 for a missing entry, a PNG of another kind or
// a damaged one; -2 when memory runs out or the sink refuses the size. A damaged PNG may fail
// after some rows went to the sink.
int LoadPNGRows(std::string_view entryName, const CPackArchive& archive, PngRowSink& sink);
// The same from PNG bytes in memory; entryToFree as for CImage::DecodePNG.
int DecodePNGRows(const uint8_t* data, size_t size, PngRowSink& sink, std::vector<uint8_t>* entryToFree = nullptr);

// A decoded picture: 32-bit pixels B, G, R, A (the little-endian value A8R8G8B8), top row
// first.
class CImage {
public:
    CImage() = default;
    virtual ~CImage();

    std::vector<uint8_t> bitmapInfo; // BITMAPINFOHEADER (40 bytes) and one empty colour entry
    std::vector<uint8_t> pixels;     // width * height * 4 bytes and one spare byte
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 32;
    int32_t pixelBytes = 0;
    std::string name; // for the callers' caches

    // 1, or 0 when the size is impossible or memory runs out.
    int Create(int32_t w, int32_t h);
    void Free();
    void Fill(uint32_t argb);
    void SetAlpha(int value);
    void FlipVertical();
    // Copies h rows of w pixels from src at (sx, sy) to (x, y). Does nothing unless both
    // rectangles lie wholly inside their pictures.
    void CopyRect(const CImage& src, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx, int32_t sy);

    // 0; -1 for a missing entry or a PNG that is not 8-bit RGB or RGBA, or that is damaged;
    // -2 when memory runs out. After a failure past the header the picture is empty.
    int LoadPNG(std::string_view entryName, const CPackArchive& archive);
    // The same, from PNG bytes in memory. entryToFree, when given, is the block that holds
    // them: it is released as soon as the rows are decoded.
    int DecodePNG(const uint8_t* data, size_t size, std::vector<uint8_t>* entryToFree = nullptr);

    uint8_t* row(int32_t y) { return pixels.data() + size_t(y) * size_t(width) * 4; }
    const uint8_t* row(int32_t y) const { return pixels.data() + size_t(y) * size_t(width) * 4; }
};

// A picture of 16-bit texels (for example A4R4G4B4), kept as the PNG's grey samples give them.
class CImage16 {
public:
    CImage16() = default;
    virtual ~CImage16();

    std::vector<uint8_t> pixels; // width * height * 2 bytes and one spare byte
    int32_t width = 0;
    int32_t height = 0;
    int32_t bitsPerPixel = 16;
    int32_t pixelBytes = 0;
    std::string name;

    int Create(int32_t w, int32_t h);
    void Free();
    void Fill(uint16_t value);

    // 0; -1 for a missing entry or a PNG that is not 16-bit grey, or that is damaged; -2 when
    // memory runs out. Each grey sample's bytes go into the texel in file order, so the
    // sample's high byte becomes the texel's low byte.
    int LoadPNG16(std::string_view entryName, const CPackArchive& archive);
    int DecodePNG16(const uint8_t* data, size_t size, std::vector<uint8_t>* entryToFree = nullptr);

    uint16_t texel(int32_t x, int32_t y) const
    {
        size_t i = (size_t(y) * size_t(width) + size_t(x)) * 2;
        return uint16_t(pixels[i] | pixels[i + 1] << 8);
    }
};
