// The three interface atlases "SYSTEM\\systex1-3.png" and the sprites cut from them.
#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "graphics/AtlasTexture.h"
#include "resources/Image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

// An atlas is a 256 x 256 picture; a smaller one sits in the top-left corner of its texture
// and a larger one is cut there, so a wrong picture never reads or writes past a texture.
bool loadAtlasTexture(CTEXTURE& texture, platform::Video* video, const CPackArchive& archive, const char* entry)
{
    CImage img;
    if (img.LoadPNG(entry, archive) != 0) {
        runLog().appendf(2, "PNG Load failed. -> %s", entry);
        return false;
    }
    std::vector<uint8_t> full(256 * 256 * 4, 0);
    const int32_t w = std::min(img.width, 256), h = std::min(img.height, 256);
    for (int32_t y = 0; y < h; ++y)
        std::memcpy(full.data() + size_t(y) * 1024, img.row(y), size_t(w) * 4);
    if (!texture.hasSurface() && !texture.Create(video, 256, 256, false))
        return false;
    texture.AcquireHandle(video);
    texture.handleWanted = true;
    return texture.Update(full.data());
}

void cutAtlasSprite(CSprite& sprite, const CTEXTURE& atlas, SpriteId id)
{
    const InterfaceSprite& s = interfaceSprite(id);
    sprite.Set(atlas, float(s.x), float(s.y), float(s.w), float(s.h));
}

void drawInterfaceSprite(platform::Video* video, const CTEXTURE& atlas, SpriteId id, float x, float y,
                         uint32_t colour, int alpha)
{
    if (!video || !atlas.hasSurface())
        return;
    const InterfaceSprite& s = interfaceSprite(id);
    CSprite sprite;
    cutAtlasSprite(sprite, atlas, id);
    sprite.SetColour(colour);
    sprite.SetAlpha(alpha);
    sprite.Draw(*video, x, y, float(s.w), float(s.h));
}

void CDirectX::loadSystemAtlases()
{
    platform::Video* video = display.directDraw() ? display.directDraw() : sys.video;
    for (int i = 0; i < int(systemAtlas.size()); ++i) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "SYSTEM\\systex%d.png", i + 1);
        systemAtlas[size_t(i)].hasContent = false;
        loadAtlasTexture(systemAtlas[size_t(i)], video, archive, entry);
    }

    // The pointer shapes live in the first atlas; without it the pointer is simply not drawn.
    const CTEXTURE& first = systemAtlas[0];
    if (!first.hasContent)
        return;
    CSprite arrow;
    cutAtlasSprite(arrow, first, SpriteId::Pointer);
    const InterfaceSprite& arrowRect = interfaceSprite(SpriteId::Pointer);
    std::vector<CSprite> hotspotShapes(8);
    for (int n = 0; n < 8; ++n)
        cutAtlasSprite(hotspotShapes[size_t(n)], first, SpriteId(int(SpriteId::HotPointer0) + n));
    pointer.setShapes(arrow, float(arrowRect.w), float(arrowRect.h), std::move(hotspotShapes));
}
