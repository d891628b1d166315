// The rasteriser's fast paths against its plain per-pixel path: random quads, blends, tints,
// textures and clips, drawn both ways, must leave the same pixels.
#include "platform/Rasteriser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

using namespace platform;
using raster::RasterPath;

namespace {

constexpr int kW = 97, kH = 61; // odd sizes: rows of every length modulo the vector widths

struct PathGuard {
    RasterPath saved = raster::rasterPath();
    ~PathGuard() { raster::useRasterPath(saved); }
};

// Texels with long transparent and opaque runs as well as soft ones, as pictures have.
void fillTexture(Surface& t, std::mt19937& rng)
{
    std::uniform_int_distribution<int> byte(0, 255), kind(0, 5);
    const int bpp = bytesPerPixel(t.format());
    int run = 0, k = 0;
    for (int y = 0; y < t.height(); ++y)
        for (int x = 0; x < t.width(); ++x) {
            if (run-- <= 0) {
                run = byte(rng) % 24;
                k = kind(rng);
            }
            const uint32_t alpha = k < 2 ? 0 : k < 4 ? 255 : uint32_t(byte(rng));
            const uint32_t c = alpha << 24 | uint32_t(byte(rng)) << 16 | uint32_t(byte(rng)) << 8 | uint32_t(byte(rng));
            fromArgb(t.format(), c, t.data() + size_t(y) * size_t(t.pitch()) + size_t(x) * size_t(bpp));
        }
    t.touch();
}

struct RandomQuad {
    Vertex v[4];
    RenderStates st;
    int texture = -1; // index into the textures, -1 untextured
};

RandomQuad randomQuad(std::mt19937& rng, const std::vector<std::unique_ptr<Surface>>& textures)
{
    std::uniform_int_distribution<int> pick(0, 99);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    RandomQuad q;
    q.texture = pick(rng) < 10 ? -1 : pick(rng) % int(textures.size());
    q.st.alphaBlend = pick(rng) < 90;
    q.st.textureBlend = pick(rng) < 85 ? TextureBlend::ModulateAlpha : TextureBlend::Modulate;
    static const BlendFactor pairs[][2] = {
        {BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha}, {BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha},
        {BlendFactor::Zero, BlendFactor::InvSrcAlpha},     {BlendFactor::SrcAlpha, BlendFactor::One},
        {BlendFactor::One, BlendFactor::One},              {BlendFactor::One, BlendFactor::Zero}};
    const auto& pair = pairs[pick(rng) % 6];
    q.st.srcBlend = pair[0];
    q.st.dstBlend = pair[1];

    // Mostly whole-pixel placements (where the copies and unit rows apply), some fractional
    // edges, some hanging over the target's sides.
    const bool aligned = pick(rng) < 70;
    const float w = float(1 + pick(rng) % 70), h = float(1 + pick(rng) % 40);
    float x = float(pick(rng) % (kW + 40) - 30), y = float(pick(rng) % (kH + 30) - 20);
    if (!aligned) {
        x += unit(rng);
        y += unit(rng);
    }
    float u0 = 0, u1 = 1, v0 = 0, v1 = 1;
    if (q.texture >= 0) {
        const Surface& t = *textures[size_t(q.texture)];
        const int mapping = pick(rng) % 4;
        if (mapping <= 1) { // texel for pixel, from a texel inside or, sometimes, across the edge
            const int tx = pick(rng) % t.width() - (mapping == 1 ? 8 : 0), ty = pick(rng) % t.height();
            u0 = float(tx) / float(t.width());
            u1 = float(tx + w) / float(t.width());
            v0 = float(ty) / float(t.height());
            v1 = float(ty + h) / float(t.height());
        } else if (mapping == 2) { // stretched or shrunk
            u0 = unit(rng);
            u1 = u0 + unit(rng) * 2;
            v0 = unit(rng);
            v1 = v0 + unit(rng) * 2;
        } else { // mirrored and wrapping
            u0 = 2 * unit(rng) - 1;
            u1 = 2 * unit(rng) - 1;
            v0 = 2 * unit(rng) - 1;
            v1 = v0 + unit(rng);
        }
    }
    const int tintKind = pick(rng) % 5;
    const uint32_t alpha = tintKind == 0 ? 255 : tintKind == 1 ? 0 : uint32_t(pick(rng) * 255 / 99);
    const uint32_t rgb = tintKind <= 2 ? 0xFFFFFF : uint32_t(rng()) & 0xFFFFFF;
    const uint32_t diffuse = alpha << 24 | rgb;
    const float bias = -0.5f;
    const float xs[4] = {x, x + w, x, x + w}, ys[4] = {y, y, y + h, y + h};
    const float us[4] = {u0, u1, u0, u1}, vs[4] = {v0, v0, v1, v1};
    for (int i = 0; i < 4; ++i) {
        q.v[i].x = xs[i] + bias;
        q.v[i].y = ys[i] + bias;
        q.v[i].u = us[i];
        q.v[i].v = vs[i];
        q.v[i].diffuse = diffuse;
    }
    return q;
}

// The first pixel where two targets differ, or -1.
long firstDifference(const Surface& a, const Surface& b)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            uint32_t pa, pb;
            std::memcpy(&pa, a.data() + size_t(y) * size_t(a.pitch()) + size_t(x) * 4, 4);
            std::memcpy(&pb, b.data() + size_t(y) * size_t(b.pitch()) + size_t(x) * 4, 4);
            if (pa != pb)
                return long(y) * a.width() + x;
        }
    return -1;
}

TEST(RasterPathTest, FastPathsDrawTheSamePixelsAsThePlainPath)
{
    PathGuard guard;
    std::vector<RasterPath> fast;
    for (RasterPath p : {RasterPath::Sse2, RasterPath::Avx2})
        if (raster::useRasterPath(p))
            fast.push_back(p);
#if defined(__x86_64__)
    ASSERT_FALSE(fast.empty()) << "every x86-64 processor has SSE2";
#endif
    std::mt19937 rng(20240611);
    std::vector<std::unique_ptr<Surface>> textures;
    const PixelFormat formats[] = {PixelFormat::A8R8G8B8, PixelFormat::A4R4G4B4, PixelFormat::X8R8G8B8,
                                   PixelFormat::R5G6B5};
    const int sizes[][2] = {{64, 64}, {32, 16}, {256, 8}, {40, 24}, {7, 5}};
    for (int i = 0; i < 10; ++i) {
        textures.push_back(std::make_unique<Surface>(sizes[i % 5][0], sizes[i % 5][1], formats[i % 4]));
        fillTexture(*textures.back(), rng);
    }
    // One fully opaque texture, so opaque quads take the row copies.
    textures.push_back(std::make_unique<Surface>(64, 32, PixelFormat::A8R8G8B8));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            fromArgb(PixelFormat::A8R8G8B8, 0xFF000000u | uint32_t(rng()), textures.back()->data() + y * textures.back()->pitch() + x * 4);
    textures.back()->touch();

    for (RasterPath path : fast) {
        Surface plain(kW, kH, PixelFormat::X8R8G8B8), quick(kW, kH, PixelFormat::X8R8G8B8);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const uint32_t c = rng();
                std::memcpy(plain.data() + y * plain.pitch() + x * 4, &c, 4);
                std::memcpy(quick.data() + y * quick.pitch() + x * 4, &c, 4);
            }
        std::mt19937 quads(int(path) * 7919);
        for (int i = 0; i < 3000; ++i) {
            const RandomQuad q = randomQuad(quads, textures);
            const Surface* tex = q.texture >= 0 ? textures[size_t(q.texture)].get() : nullptr;
            ASSERT_TRUE(raster::useRasterPath(RasterPath::Plain));
            raster::drawStrip(plain, tex, q.st, q.v, 4);
            ASSERT_TRUE(raster::useRasterPath(path));
            raster::drawStrip(quick, tex, q.st, q.v, 4);
            const long at = firstDifference(plain, quick);
            ASSERT_EQ(at, -1) << "path " << int(path) << ", quad " << i << " at x " << q.v[0].x << " y " << q.v[0].y
                              << " to " << q.v[3].x << "," << q.v[3].y << ", texture " << q.texture << ", diffuse "
                              << std::hex << q.v[0].diffuse << std::dec << ", blend " << int(q.st.srcBlend) << "/"
                              << int(q.st.dstBlend) << (q.st.alphaBlend ? "" : " off") << ", first difference at "
                              << at % kW << "," << at / kW;
        }
    }
}

// Background tiles: opaque texels one for one across (some rows stretched), at whole and
// fractional positions, hanging over the target's edges and running over the texture's bottom
// edge (wrapping or clamped).
TEST(RasterPathTest, OpaqueTilesCopyTheSamePixelsAsThePlainPath)
{
    PathGuard guard;
    std::mt19937 rng(77);
    std::vector<std::unique_ptr<Surface>> textures;
    textures.push_back(std::make_unique<Surface>(64, 64, PixelFormat::A8R8G8B8));  // wraps
    textures.push_back(std::make_unique<Surface>(40, 24, PixelFormat::A8R8G8B8));  // clamps
    textures.push_back(std::make_unique<Surface>(32, 32, PixelFormat::X8R8G8B8));  // opaque by format
    for (auto& t : textures) {
        for (int y = 0; y < t->height(); ++y)
            for (int x = 0; x < t->width(); ++x)
                fromArgb(t->format(), 0xFF000000u | uint32_t(rng()), t->data() + y * t->pitch() + x * 4);
        t->touch();
    }
    std::uniform_int_distribution<int> pick(0, 999);
    const float fractions[] = {0.0f, 0.0f, 0.0f, 0.5f, 0.25f, 0.75f, 0.125f, 0.3f};
    for (RasterPath path : {RasterPath::Sse2, RasterPath::Avx2}) {
        if (!raster::useRasterPath(path))
            continue;
        Surface plain(kW, kH, PixelFormat::X8R8G8B8), quick(kW, kH, PixelFormat::X8R8G8B8);
        for (int i = 0; i < 4000; ++i) {
            const int ti = pick(rng) % int(textures.size());
            const Surface& t = *textures[size_t(ti)];
            const int sizes[] = {8, 16, 32, 33, 1 + pick(rng) % 70};
            const float w = float(sizes[pick(rng) % 5]), h = float(sizes[pick(rng) % 5]);
            const float x = float(pick(rng) % (kW + 60) - 40) + fractions[pick(rng) % 8];
            const float y = float(pick(rng) % (kH + 60) - 40) + fractions[pick(rng) % 8];
            const int tx = pick(rng) % (t.width() + 1 - std::min(t.width(), int(w)));
            const int ty = pick(rng) % t.height();
            RenderStates st;
            st.alphaBlend = pick(rng) % 2 == 0;
            st.srcBlend = BlendFactor::SrcAlpha;
            st.dstBlend = BlendFactor::InvSrcAlpha;
            const float bias = pick(rng) % 2 ? -0.5f : 0.0f;
            const float xs[4] = {x, x + w, x, x + w}, ys[4] = {y, y, y + h, y + h};
            const float us[4] = {float(tx), float(tx) + w, float(tx), float(tx) + w};
            // Some rows stretched or squeezed: texel rows stepped by other than one.
            const float scales[] = {1, 1, 1, 2, 0.5f, 0.25f, 3};
            const float rowsOfTexels = h * scales[pick(rng) % 7];
            const float vs[4] = {float(ty), float(ty), float(ty) + rowsOfTexels, float(ty) + rowsOfTexels};
            Vertex v[4];
            for (int k = 0; k < 4; ++k) {
                v[k].x = xs[k] + bias;
                v[k].y = ys[k] + bias;
                v[k].u = us[k] / float(t.width());
                v[k].v = vs[k] / float(t.height());
                v[k].diffuse = 0xFFFFFFFFu;
            }
            ASSERT_TRUE(raster::useRasterPath(RasterPath::Plain));
            raster::drawStrip(plain, &t, st, v, 4);
            ASSERT_TRUE(raster::useRasterPath(path));
            raster::drawStrip(quick, &t, st, v, 4);
            const long at = firstDifference(plain, quick);
            ASSERT_EQ(at, -1) << "path " << int(path) << ", tile " << i << " at " << v[0].x << "," << v[0].y << " size "
                              << w << "x" << h << " from texel " << tx << "," << ty << " of texture " << ti
                              << ", first difference at " << at % kW << "," << at / kW;
        }
    }
}

// Pictures copied onto the back buffer, whole or in part, clipped by either surface, and
// rectangles filled with a colour.
TEST(RasterPathTest, BlitsAndFillsGiveTheSamePixelsAsThePlainPath)
{
    PathGuard guard;
    std::mt19937 rng(4242);
    Surface picture(45, 30, PixelFormat::X8R8G8B8);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            fromArgb(picture.format(), uint32_t(rng()), picture.data() + y * picture.pitch() + x * 4);
    std::uniform_int_distribution<int> pick(-50, 120);
    for (RasterPath path : {RasterPath::Sse2, RasterPath::Avx2}) {
        if (!raster::useRasterPath(path))
            continue;
        Surface plain(kW, kH, PixelFormat::X8R8G8B8), quick(kW, kH, PixelFormat::X8R8G8B8);
        for (int i = 0; i < 2000; ++i) {
            const Rect from{pick(rng) / 4, pick(rng) / 4, 0, 0};
            const int w = 1 + std::abs(pick(rng)) % 60, h = 1 + std::abs(pick(rng)) % 40;
            const Rect src{from.left, from.top, from.left + w, from.top + h};
            const Rect dst{pick(rng), pick(rng) / 2, 0, 0};
            const Rect to{dst.left, dst.top, dst.left + w, dst.top + h};
            ASSERT_TRUE(raster::useRasterPath(RasterPath::Plain));
            raster::blit(plain, to, picture, src);
            ASSERT_TRUE(raster::useRasterPath(path));
            raster::blit(quick, to, picture, src);
            if (i % 4 == 0) {
                const Rect fill{pick(rng), pick(rng) / 2, pick(rng), pick(rng)};
                const uint32_t colour = rng();
                ASSERT_TRUE(raster::useRasterPath(RasterPath::Plain));
                raster::fill(plain, fill, colour);
                ASSERT_TRUE(raster::useRasterPath(path));
                raster::fill(quick, fill, colour);
            }
            const long at = firstDifference(plain, quick);
            ASSERT_EQ(at, -1) << "path " << int(path) << ", blit " << i << " of " << src.left << "," << src.top << " "
                              << w << "x" << h << " to " << to.left << "," << to.top;
        }
    }
}

TEST(RasterPathTest, OnlyPathsTheProcessorRunsAreTaken)
{
    PathGuard guard;
    EXPECT_TRUE(raster::useRasterPath(RasterPath::Plain));
    EXPECT_EQ(raster::rasterPath(), RasterPath::Plain);
    EXPECT_TRUE(raster::useRasterPath(raster::fastestRasterPath()));
    EXPECT_EQ(raster::rasterPath(), raster::fastestRasterPath());
    if (!raster::useRasterPath(RasterPath::Avx2)) {
        EXPECT_EQ(raster::rasterPath(), raster::fastestRasterPath()) << "a refused path changes nothing";
    }
}

} // namespace
