#pragma once

// The alpha of the outline copies of a glyph at the given window alpha (153 when opaque).
int outlineAlpha(int windowAlpha);
// The x of name glyph i of a name of nameChars characters: the name is centred on the plate.
int nameGlyphX(int nameChars, int i);
