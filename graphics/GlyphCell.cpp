#include "graphics/GlyphCell.h"

#include "core/RunLog.h"
#include "graphics/FontSheet.h"
#include "platform/Fonts.h"
#include "platform/Text.h"

#include <algorithm>
#include <vector>

namespace glyphcell {

uint32_t codeAt(std::string_view s, size_t i, size_t& length)
{
    const uint8_t b = uint8_t(s[i]);
    // Only a real lead byte takes the next byte with it: a half-width katakana or a byte
    // 0x7E/0x7F is one character, and the byte after it belongs to the next one.
    if (platform::isSjisLead(b) && i + 1 < s.size()) {
        length = 2;
        return uint32_t(b) << 8 | uint8_t(s[i + 1]);
    }
    length = 1;
    return b;
}

void rasterise(platform::Font* font, const FontSheet* sheet, uint32_t code, uint16_t baseColour,
               uint16_t (&cell)[kSide * kSide])
{
    baseColour &= 0x0FFF;
    std::fill(std::begin(cell), std::end(cell), baseColour);

    if (isSheetGlyph(code) && sheet && sheet->loaded()) {
        const int32_t k = int32_t(code - 0x8740);
        for (int32_t y = 0; y < kSide; ++y)
            for (int32_t x = 0; x < kSide; ++x)
                if (uint8_t v = sheet->alpha(k, x, y))
                    cell[y * kSide + x] = uint16_t(baseColour + v * 0x1000);
        return;
    }
    if (code == 0x8140 || !font)
        return;

    platform::GlyphMetrics gm;
    const uint32_t size = font->glyphOutline(code, gm, nullptr, 0);
    if (size == 0 || size == platform::kGdiError)
        return;
    std::vector<uint8_t> bits(size_t(size) + 1);
    if (font->glyphOutline(code, gm, bits.data(), size + 1) != size)
        return;
    const uint32_t rowBytes = (gm.blackBoxX + 3u) & ~3u;
    const int32_t top = font->metrics().ascent - gm.originY;
    for (uint32_t j = 0; j < gm.blackBoxY; ++j) {
        const int32_t y = top + int32_t(j);
        if (y < 0 || y >= kSide)
            continue;
        for (uint32_t k = 0; k < gm.blackBoxX; ++k) {
            const int32_t x = gm.originX + int32_t(k);
            if (x < 0 || x >= kSide)
                continue;
            const uint8_t g = bits[size_t(j) * rowBytes + k];
            if (g > 0)
                cell[y * kSide + x] = uint16_t(baseColour + std::min<uint32_t>(g, 15) * 0x1000);
        }
    }
}

} // namespace glyphcell

std::shared_ptr<platform::Font> createGameTextFont(platform::Fonts& fonts)
{
    platform::FontSpec spec;
    spec.height = 24;
    spec.width = 0;
    spec.weight = 500;
    spec.italic = false;
    spec.charset = platform::kShiftJisCharset;
    spec.face = SJ("ＭＳ ゴシック");
    std::shared_ptr<platform::Font> font = fonts.createFont(spec);
    if (font && !font->note().empty())
        runLog().append(1, font->note());
    return font;
}
