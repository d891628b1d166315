#pragma once
// Interface pictures: the atlases drawn from the shared sprite table, the text window's
// 16-bit pictures, the circled-number font sheet and the gallery thumbnails.
#include "graphics/InterfaceSprites.h"
#include "tools/demo/Raster.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace demo {

// Draws a UTF-8 caption centred in the box (x, y, w, h) with the given colour and pixel
// size. The generator passes the project's font service here; without one, captions are
// left out and only the shapes are drawn.
using LabelPainter = std::function<void(Image&, const char* utf8, float x, float y, float w, float h,
                                        const Color& colour, int pixelSize)>;

// One RGBA atlas (Systex1-3, Logotex5, Typetex) with every sprite of the table that
// belongs to it.
Image drawAtlas(SpriteAtlas atlas, const LabelPainter& label);

// 16-bit A4R4G4B4 pictures of the text window, 256 x 256 each.
std::vector<uint16_t> textWindowPicture(SpriteAtlas atlas);   // TextboxBg1, TextboxBg2, TextTable1
std::vector<uint16_t> toA4R4G4B4(const Image& img);

// The 128 x 128 sheet of the circled numbers 1-16, 4 x 4 cells of 32 x 32, as alpha levels
// 0..15 (top row first).
std::vector<uint8_t> circledNumberSheet();

// The 800 x 128 message window and the 224 x 48 name plate as drawn before they are cut
// into the window pictures; one 32 x 32 frame (0-13) of the click-wait mark.
Image windowPanel();
Image namePlate();
Image waitMarkFrame(int frame);

// A digit (or ':') drawn with strokes into the box; used where no font is needed.
void strokeDigit(Image& img, char digit, float x, float y, float w, float h, float width, const Paint& paint);

} // namespace demo
