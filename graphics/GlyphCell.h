#pragma once
#include <cstdint>
#include <memory>
#include <string_view>

namespace platform {
class Font;
class Fonts;
} // namespace platform
class FontSheet;

// One character drawn into a 32 x 32 cell of A4R4G4B4 pixels, as the glyph label and the
// message window cache their glyphs.
namespace glyphcell {

constexpr int32_t kSide = 32;

// The character code of the character at s[i] (a byte, or lead byte * 256 + trail byte) and
// its length in bytes. A lead byte at the very end stands alone.
uint32_t codeAt(std::string_view s, size_t i, size_t& length);

// True for the sixteen circled numbers the font sheet provides (0x8740..0x874F).
inline bool isSheetGlyph(uint32_t code)
{
    return code >= 0x8740 && code <= 0x874F;
}

// Fills the cell with baseColour (its alpha bits 0) and draws the character over it: the
// circled numbers from the sheet when one is loaded, the ideographic space as nothing, and
// everything else from the font's GGO_GRAY4 bitmap placed at (origin x, ascent - origin y).
// A covered pixel gets baseColour + alpha * 0x1000 with the sheet's value or the grey level
// capped at 15. Glyphs the face lacks leave the fill; nothing is drawn outside the cell.
void rasterise(platform::Font* font, const FontSheet* sheet, uint32_t code, uint16_t baseColour,
               uint16_t (&cell)[kSide * kSide]);

} // namespace glyphcell

// The game's text font: "ＭＳ ゴシック", height 24, weight 500, Shift-JIS. Labels and the
// message window both draw with it; a substituted face is noted in the run log.
std::shared_ptr<platform::Font> createGameTextFont(platform::Fonts& fonts);
