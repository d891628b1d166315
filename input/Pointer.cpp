// The in-game pointer, drawn over everything else at the end of a frame.
#include "app/CDirectX.h"
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

void CDirectX::drawPointer()
{
    if (!cursorInside || !directDraw)
        return;
    platform::Video& video = *directDraw;

    bool hotspot = gameState == GameState::Hotspots && hoverCursor >= 0 && size_t(hoverCursor) < hotspotPointers.size() &&
                   hotspotPointers[size_t(hoverCursor)].texture;
    if (hotspot) {
        CSprite& s = hotspotPointers[size_t(hoverCursor)];
        s.Draw(video, float(mouseX - 16), float(mouseY - 16), 32.0f, 32.0f);
    } else if (pointerSprite.texture) {
        pointerSprite.SetBlend(SpriteBlend::Normal);
        pointerSprite.Draw(video, float(mouseX - 4), float(mouseY), pointerWidth, pointerHeight);
    }

    // In the software fallback the pointer carries a turning ring, so a slow picture still
    // shows the game is alive.
    if (displayProcess().hardware)
        return;
    if (!pointerRingTexture.hasContent) {
        const int size = 256;
        if (!pointerRingTexture.Create(directDraw, size, size, false))
            return;
        std::vector<uint8_t> px = glowDotPixels(size);
        pointerRingTexture.Update(px.data());
        pointerRingTexture.AcquireHandle(directDraw);
    }
    CSprite dot;
    dot.Set(pointerRingTexture, 0, 0, kDotTexels, kDotTexels);
    dot.SetBlend(SpriteBlend::Add);
    const float half = kPointerRingDotSize / 2.0f;
    for (const PointerRingDot& d : pointerRing(float(mouseX), float(mouseY), thisFrameTime)) {
        dot.SetAlpha(d.alpha);
        dot.Draw(video, d.x - half, d.y - half, kPointerRingDotSize, kPointerRingDotSize);
    }
}
