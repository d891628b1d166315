#pragma once
// Interface atlases: a 256 x 256 picture of the archive in a texture, and sprites cut from it
// by their rows in the interface sprite table.
#include "graphics/InterfaceSprites.h"
#include "graphics/Textures.h"
#include "graphics/CSprite.h"

class CPackArchive;

// Loads entry into texture (made 256 x 256 if it is not yet). A smaller picture sits in the
// top-left corner and a larger one is cut there. False, with a log line, when the picture
// cannot be read.
bool loadAtlasTexture(CTEXTURE& texture, platform::Video* video, const CPackArchive& archive, const char* entry);

// Points sprite at the rectangle of id in atlas.
void cutAtlasSprite(CSprite& sprite, const CTEXTURE& atlas, SpriteId id);

// Draws the sprite of id from atlas at (x, y) in its own size, tinted and faded; nothing
// without a device or while the atlas has no surface.
void drawInterfaceSprite(platform::Video* video, const CTEXTURE& atlas, SpriteId id, float x, float y,
                         uint32_t colour = 0xFFFFFF, int alpha = 255);
