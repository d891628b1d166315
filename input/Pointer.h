#pragma once
#include "graphics/CSprite.h"
#include "graphics/Textures.h"

#include <cstdint>
#include <vector>

namespace platform {
class Video;
}

// The in-game pointer, drawn over everything else at the end of a frame: the arrow, or the
// 32x32 shape of the clickable area under it while hot-spots are active, and in the software
// fallback a turning ring. Its sprites are cut from the first interface atlas by whoever loads
// it; a sprite without a texture is not drawn.
class Pointer {
public:
    // The arrow with its size, and the shapes of the clickable areas.
    void setShapes(const CSprite& arrow, float width, float height, std::vector<CSprite> hotspotShapes);
    CSprite& arrow() { return arrow_; }
    std::vector<CSprite>& hotspotShapes() { return hotspotShapes_; }
    // The shape under the pointer in a clickable area; -1 none.
    void setHoverShape(int32_t shape) { hoverShape_ = shape; }

    // Draws the pointer with its hot spot at (x, y). frameTime turns the software ring.
    void draw(platform::Video& video, int x, int y, bool hotspotsActive, uint32_t frameTime);

private:
    CSprite arrow_;
    float width_ = 32.0f, height_ = 32.0f;
    std::vector<CSprite> hotspotShapes_;
    int32_t hoverShape_ = -1;
    CTEXTURE ringTexture_; // the glowing dot of the software-mode ring
};
