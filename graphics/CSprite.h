#pragma once
#include "graphics/Textures.h"
#include "platform/Video.h"

#include <array>
#include <cstdint>

// The framebuffer blend a sprite is drawn with.
enum class SpriteBlend : int {
    Normal = 0, // source x source-alpha + destination x (1 - source-alpha)
    Darken = 1, // destination x (1 - source-alpha): darkens what is behind by its alpha
    Add = 2,    // source x source-alpha + destination
};

// One textured, screen-aligned quad with per-corner alpha and colour. Corners are
// top-left, top-right, bottom-left, bottom-right. Every screen draws with it.
class CSprite {
public:
    std::array<int, 4> alpha{255, 255, 255, 255};
    std::array<uint32_t, 4> colour{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    float left = 0.0f, top = 0.0f, right = 1.0f, bottom = 1.0f;
    const TextureHandle* texture = nullptr; // the texture's handle, so a restored texture is seen at once
    SpriteBlend blend = SpriteBlend::Normal;
    std::array<platform::Vertex, 4> vertices{};

    void SetAlpha(int a);
    // Adds d to every corner (each clamped); returns the first corner's new alpha.
    int AddAlpha(int d);
    void SetCornerAlpha(int corner, int a);
    void SetColour(uint32_t rgb);
    void SetBlend(SpriteBlend b) { blend = b; }
    // The texture and the texel rectangle (x, y, w, h) of it the quad shows; a texture
    // without a size yet takes the rectangle as texture coordinates already.
    template <class Texture>
    void Set(const Texture& tex, float tx, float ty, float tw, float th)
    {
        texture = &tex.handle;
        float sw = tex.width > 0 ? float(tex.width) : 1.0f, sh = tex.height > 0 ? float(tex.height) : 1.0f;
        left = tx / sw;
        top = ty / sh;
        right = (tx + tw) / sw;
        bottom = (ty + th) / sh;
    }
    // No texture: an untextured quad in the corner colours.
    void SetNoTexture() { texture = nullptr; }

    // Draws at (x, y) with size (w, h).
    void Draw(platform::Video& device, float x, float y, float w, float h);
    // Draws rotated by angle degrees about the centre of (x, y, w, h).
    void DrawRotated(platform::Video& device, float x, float y, float w, float h, float angle);

private:
    void submit(platform::Video& device);
    uint32_t diffuse(int corner) const { return uint32_t(alpha[corner]) << 24 | (colour[corner] & 0xFFFFFF); }
};
