#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

class CPackArchive;

// The 4-bit bitmap font sheet ("textbox\\default_font.bmp"): 128 x 128 pixels holding 16
// glyphs of 32 x 32 in a 4 x 4 grid, used for the circled numbers. Kept top row first, 64
// bytes a row, the left pixel in the high nibble; a pixel's value 0..15 is its alpha.
class FontSheet {
public:
    static constexpr int32_t kSide = 128;
    static constexpr size_t kRowBytes = 64;
    static constexpr size_t kBytes = kRowBytes * kSide; // 8192
    static constexpr int32_t kGlyphSide = 32;

    // Takes the sheet from a BMP file's bytes: 4 bits a pixel, 128 x 128, the pixels inside
    // the file. Anything else returns false and leaves the sheet as it was.
    bool decode(const uint8_t* data, size_t size);

    bool loaded() const { return loaded_; }
    void clear() { loaded_ = false; bytes_.fill(0); }
    const std::array<uint8_t, kBytes>& bytes() const { return bytes_; }

    // Alpha 0..15 of pixel (x, y) of glyph k (0..15), y counted from the glyph's top.
    uint8_t alpha(int32_t k, int32_t x, int32_t y) const
    {
        const size_t at = size_t(k / 4) * 2048 + size_t(k % 4) * 16 + size_t(y) * kRowBytes + size_t(x / 2);
        return (x & 1) ? bytes_[at] & 0x0F : bytes_[at] >> 4;
    }

private:
    std::array<uint8_t, kBytes> bytes_{};
    bool loaded_ = false;
};

// Reads the sheet from an archive entry ("textbox\\default_font.bmp"). False when the entry is
// missing, unreadable, not 4 bits a pixel or short; the sheet then stays as it was and the
// circled numbers come from the system font.
bool LoadFontSheet(const CPackArchive& archive, std::string_view name, FontSheet& sheet);
