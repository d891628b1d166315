#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What CreateFontA receives. The face name is Shift-JIS ("ＭＳ ゴシック").
struct FontSpec {
    int32_t height = 0; // > 0: cell height (ascent + descent); < 0: em height; 0: 12
    int32_t width = 0;  // average character width; 0 keeps the face's own proportions
    int32_t weight = 400;
    bool italic = false;
    uint8_t charset = 0;
    std::string face;
};

constexpr uint8_t kAnsiCharset = 0;
constexpr uint8_t kShiftJisCharset = 128;
constexpr uint32_t kGgoGray4Bitmap = 5;
// GetGlyphOutlineA's failure value.
constexpr uint32_t kGdiError = 0xFFFFFFFFu;

// TEXTMETRIC's size fields, in pixels.
struct TextMetrics {
    int32_t height = 0;
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t internalLeading = 0;
    int32_t externalLeading = 0;
    int32_t aveCharWidth = 0;
    int32_t maxCharWidth = 0;
    int32_t weight = 0;
};

// GLYPHMETRICS. The origin is the top-left of the black box relative to the pen position
// on the baseline, y growing upwards.
struct GlyphMetrics {
    uint32_t blackBoxX = 0;
    uint32_t blackBoxY = 0;
    int32_t originX = 0;
    int32_t originY = 0;
    int16_t cellIncX = 0;
    int16_t cellIncY = 0;
};

// A 32-bit canvas the text is drawn into: bytes B, G, R and a fourth byte text drawing sets
// to 0. Rows are stride bytes apart; bottomUp says row 0 in memory is the bottom row (a
// DIB section's order).
struct Canvas32 {
    uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
    bool bottomUp = false;
};

struct TextRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// DrawTextA format flags that are honoured.
enum DrawTextFlags : uint32_t {
    kDtLeft = 0x0,
    kDtCenter = 0x1,
    kDtRight = 0x2,
    kDtVCenter = 0x4, // with kDtSingleLine only, as GDI
    kDtBottom = 0x8,  // with kDtSingleLine only, as GDI
    kDtWordBreak = 0x10,
    kDtSingleLine = 0x20,
    kDtNoClip = 0x100,
    kDtCalcRect = 0x400,
};

// COLORREF: 0x00BBGGRR.
constexpr uint32_t rgb(uint8_t r, uint8_t g, uint8_t b)
{
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}

struct TextStyle {
    uint32_t colour = 0;           // COLORREF of the text
    bool transparent = true;       // SetBkMode(TRANSPARENT)
    uint32_t backgroundColour = 0; // COLORREF filling each line's box when not transparent
};

class FontLibrary;

// A font made by Fonts::createFont: one face at one size, with its own glyph cache.
class Font {
public:
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // GetGlyphOutlineA with GGO_GRAY4_BITMAP and the identity matrix for one character code
    // (a byte, or lead byte * 256 + trail byte of Shift-JIS). With no buffer (or size 0)
    // it returns the bytes needed; otherwise it fills the buffer with grey levels 0..16,
    // one byte a pixel, rows padded to 4 bytes, top row first, and returns the bytes
    // written. A code the face has no glyph for, or an undefined code, gives 0 bytes and a
    // 1 x 1 black box, so it draws nothing. A buffer too small gives kGdiError.
    uint32_t glyphOutline(uint32_t code, GlyphMetrics& metrics, uint8_t* buffer, uint32_t bufferSize);

    const TextMetrics& metrics() const { return metrics_; }

    // The face actually used (UTF-8 family name and file), and, when it is not the one
    // the name asked for, a Shift-JIS line saying which face stands in; the caller logs it.
    const std::string& family() const { return family_; }
    const std::string& file() const { return file_; }
    const std::string& note() const { return note_; }
    bool coversJapanese() const { return coversJapanese_; }

    // Glyph cache statistics and reset (the cold path of the benchmark).
    size_t cachedGlyphs() const;
    void clearGlyphCache();

    // The 8-bit coverage of one glyph with its metrics, from the cache (internal to the
    // service; DrawText uses it).
    struct Glyph {
        GlyphMetrics gm;
        std::vector<uint8_t> coverage; // blackBoxX * blackBoxY, 0..255, top row first
        bool present = false;
    };
    const Glyph& glyph(uint32_t code);

private:
    friend class Fonts;
    Font();
    struct Impl;
    std::unique_ptr<Impl> impl_;
    TextMetrics metrics_;
    std::string family_, file_, note_;
    bool coversJapanese_ = false;
};

// The font service (GDI's CreateFontA, GetGlyphOutlineA, DrawTextA) on FreeType and
// fontconfig. The same in every backend.
class Fonts {
public:
    Fonts();
    ~Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    // CreateFontA. Windows face names go through the service's own alias table (fontconfig
    // alone sends them to a face without Japanese); a Shift-JIS font whose face lacks
    // Japanese falls back to fontconfig's best face for Japanese. nullptr only when no
    // usable face exists at all.
    std::shared_ptr<Font> createFont(const FontSpec& spec);

    // DrawTextA into a canvas: Shift-JIS text, "\n" (or "\r\n") starts a line unless
    // kDtSingleLine; kDtWordBreak wraps at spaces and between double-byte characters.
    // Output is clipped to the rectangle (unless kDtNoClip) and always to the canvas.
    // Returns the height of the text as DrawTextA does; with kDtCalcRect nothing is drawn
    // and rect gets the size the text needs.
    int32_t drawText(Font& font, const Canvas32& canvas, std::string_view sjis, TextRect& rect, uint32_t format,
                     const TextStyle& style);

    // The Unicode code point of one Shift-JIS character code, 0 when undefined.
    static uint32_t codePointOf(uint32_t code);

private:
    std::shared_ptr<FontLibrary> lib_;
};

} // namespace platform
