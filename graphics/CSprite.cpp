#include "graphics/CSprite.h"

#include "graphics/DisplayDevice.h"

#include <algorithm>
#include <cmath>

namespace {
int clampAlpha(int a)
{
    return std::clamp(a, 0, 255);
}
} // namespace

void CSprite::SetAlpha(int a)
{
    alpha.fill(clampAlpha(a));
}

int CSprite::AddAlpha(int d)
{
    for (int& a : alpha)
        a = clampAlpha(int(std::clamp<long long>((long long)a + d, -1, 256)));
    return alpha[0];
}

void CSprite::SetCornerAlpha(int corner, int a)
{
    if (corner >= 0 && corner < 4)
        alpha[size_t(corner)] = clampAlpha(a);
}

void CSprite::SetColour(uint32_t rgb)
{
    colour.fill(rgb & 0xFFFFFF);
}

void CSprite::Draw(platform::Video& device, float x, float y, float w, float h)
{
    const float bias = displayProcess().pixelCentreOffset;
    const float xs[4] = {x, x + w, x, x + w};
    const float ys[4] = {y, y, y + h, y + h};
    for (int i = 0; i < 4; ++i) {
        platform::Vertex& v = vertices[size_t(i)];
        v.x = xs[i] + bias;
        v.y = ys[i] + bias;
    }
    submit(device);
}

void CSprite::DrawRotated(platform::Video& device, float x, float y, float w, float h, float angle)
{
    const float bias = displayProcess().pixelCentreOffset;
    const float rad = angle * 0.01745328f;
    const float c = std::cos(rad), s = std::sin(rad);
    const float cx = x + w / 2, cy = y + h / 2;
    const float ox[4] = {-w / 2, w / 2, -w / 2, w / 2};
    const float oy[4] = {-h / 2, -h / 2, h / 2, h / 2};
    for (int i = 0; i < 4; ++i) {
        platform::Vertex& v = vertices[size_t(i)];
        v.x = cx + ox[i] * c - oy[i] * s + bias;
        v.y = cy + ox[i] * s + oy[i] * c + bias;
    }
    submit(device);
}

void CSprite::submit(platform::Video& device)
{
    const float us[4] = {left, right, left, right};
    const float vs[4] = {top, top, bottom, bottom};
    for (int i = 0; i < 4; ++i) {
        platform::Vertex& v = vertices[size_t(i)];
        v.z = 0.0f;
        v.rhw = 1.0f;
        v.diffuse = diffuse(i);
        v.specular = 0;
        v.u = us[i];
        v.v = vs[i];
    }
    static const TextureHandle kNone;
    const TextureHandle& tex = texture ? *texture : kNone;
    if (device.texture() != tex.get())
        device.setTexture(tex);
    platform::RenderStates& st = device.renderStates();
    switch (blend) {
    case SpriteBlend::Normal:
        st.srcBlend = platform::BlendFactor::SrcAlpha;
        st.dstBlend = platform::BlendFactor::InvSrcAlpha;
        break;
    case SpriteBlend::Darken:
        st.srcBlend = platform::BlendFactor::Zero;
        st.dstBlend = platform::BlendFactor::InvSrcAlpha;
        break;
    case SpriteBlend::Add:
        st.srcBlend = platform::BlendFactor::SrcAlpha;
        st.dstBlend = platform::BlendFactor::One;
        break;
    }
    device.drawStrip(vertices.data(), 4);
}
