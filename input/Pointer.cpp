#include "input/Pointer.h"

#include "graphics/DisplayDevice.h"
#include "input/PointerRing.h"

#include <cmath>
#include <vector>

namespace {

constexpr int kDotTexels = 16;

// A soft round dot, white with alpha falling from the centre, in the texture's top-left
// 16x16 texels.
std::vector<uint8_t> glowDotPixels(int textureSize)
{
    std::vector<uint8_t> px(size_t(textureSize) * size_t(textureSize) * 4, 0);
    const float c = (kDotTexels - 1) / 2.0f;
    for (int y = 0; y < kDotTexels; ++y)
        for (int x = 0; x < kDotTexels; ++x) {
            float d = std::hypot(float(x) - c, float(y) - c) / (kDotTexels / 2.0f);
            float a = d >= 1.0f ? 0.0f : (1.0f - d) * (1.0f - d);
            uint8_t* p = &px[(size_t(y) * size_t(textureSize) + size_t(x)) * 4];
            p[0] = p[1] = p[2] = 255;
            p[3] = uint8_t(std::lround(a * 255.0f));
        }
    return px;
}

} // namespace

void Pointer::setShapes(const CSprite& arrow, float width, float height, std::vector<CSprite> hotspotShapes)
{
    arrow_ = arrow;
    width_ = width;
    height_ = height;
    hotspotShapes_ = std::move(hotspotShapes);
}

void Pointer::draw(platform::Video& video, int x, int y, bool hotspotsActive, uint32_t frameTime)
{
    const bool hotspot = hotspotsActive && hoverShape_ >= 0 && size_t(hoverShape_) < hotspotShapes_.size() &&
                         hotspotShapes_[size_t(hoverShape_)].texture;
    if (hotspot) {
        CSprite& s = hotspotShapes_[size_t(hoverShape_)];
        s.Draw(video, float(x - 16), float(y - 16), 32.0f, 32.0f);
    } else if (arrow_.texture) {
        arrow_.SetBlend(SpriteBlend::Normal);
        arrow_.Draw(video, float(x - 4), float(y), width_, height_);
    }

    // In the software fallback the pointer carries a turning ring, so a slow picture still
    // shows the game is alive.
    if (displayProcess().hardware)
        return;
    if (!ringTexture_.hasContent) {
        const int size = 256;
        if (!ringTexture_.Create(&video, size, size, false))
            return;
        std::vector<uint8_t> px = glowDotPixels(size);
        ringTexture_.Update(px.data());
        ringTexture_.AcquireHandle(&video);
    }
    CSprite dot;
    dot.Set(ringTexture_, 0, 0, kDotTexels, kDotTexels);
    dot.SetBlend(SpriteBlend::Add);
    const float half = kPointerRingDotSize / 2.0f;
    for (const PointerRingDot& d : pointerRing(float(x), float(y), frameTime)) {
        dot.SetAlpha(d.alpha);
        dot.Draw(video, d.x - half, d.y - half, kPointerRingDotSize, kPointerRingDotSize);
    }
}
