// The software rasteriser against the equations it stands for.
#include "platform/Rasteriser.h"
#include "platform/headless/HeadlessVideo.h"
#include "platform/headless/HeadlessWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace platform;

namespace {

class RasterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window.create("t", 0, 0, 800, 600, false));
        ASSERT_EQ(video.open(window, false, true), VideoOpenResult::Ok);
        bb = video.backBuffer();
        video.colorFill(*bb, nullptr, 0xFF000000u);
        RenderStates& st = video.renderStates();
        st.alphaBlend = true;
        st.textureBlend = TextureBlend::ModulateAlpha;
        normal();
    }
    void normal() { setBlend(BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha); }
    void setBlend(BlendFactor s, BlendFactor d)
    {
        video.renderStates().srcBlend = s;
        video.renderStates().dstBlend = d;
    }
    uint32_t px(int x, int y) const
    {
        uint32_t v;
        std::memcpy(&v, bb->data() + size_t(y) * bb->pitch() + size_t(x) * 4, 4);
        return v;
    }
    void setPx(int x, int y, uint32_t v) { std::memcpy(bb->data() + size_t(y) * bb->pitch() + size_t(x) * 4, &v, 4); }
    // An upright quad with the usual -0.5 shift, texture coordinates u0..u1, v0..v1.
    void quad(float x, float y, float w, float h, uint32_t diffuse, float u0 = 0, float v0 = 0, float u1 = 1,
              float v1 = 1, float bias = -0.5f)
    {
        Vertex v[4];
        const float xs[4] = {x, x + w, x, x + w}, ys[4] = {y, y, y + h, y + h};
        const float us[4] = {u0, u1, u0, u1}, vs[4] = {v0, v0, v1, v1};
        for (int i = 0; i < 4; ++i) {
            v[i].x = xs[i] + bias;
            v[i].y = ys[i] + bias;
            v[i].diffuse = diffuse;
            v[i].u = us[i];
            v[i].v = vs[i];
        }
        video.drawStrip(v, 4);
    }
    std::shared_ptr<Surface> texture32(int w, int h, uint32_t (*pattern)(int, int))
    {
        auto t = video.createSurface(w, h, PixelFormat::A8R8G8B8);
        int pitch = 0;
        uint8_t* p = t->lock(pitch);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint32_t c = pattern(x, y);
                std::memcpy(p + size_t(y) * pitch + size_t(x) * 4, &c, 4);
            }
        t->unlock();
        return t;
    }

    HeadlessWindow window;
    HeadlessVideo video;
    Surface* bb = nullptr;
};

uint32_t expectedChannelBlend(uint32_t s, uint32_t d, double fs, double fd)
{
    uint32_t out = 0;
    for (int sh = 0; sh < 32; sh += 8) {
        double c = ((s >> sh) & 255) * fs + ((d >> sh) & 255) * fd;
        out |= uint32_t(std::min(255.0, std::floor(c + 0.5))) << sh;
    }
    return out;
}

} // namespace

TEST(Div255, IsRoundedDivisionOverTheWholeProductRange)
{
    for (uint32_t x = 0; x <= 65025; ++x)
        ASSERT_EQ(raster::div255(x), uint32_t(std::floor(x / 255.0 + 0.5))) << x;
}

TEST_F(RasterTest, BlendEquationsOfTheThreeSpriteModes)
{
    const uint32_t dst = 0xFF4080C0u;
    for (uint32_t a : {0u, 1u, 77u, 128u, 170u, 254u, 255u}) {
        const uint32_t src = (a << 24) | 0x00C86432u;
        const double fa = a / 255.0;
        setPx(100, 100, dst);
        setPx(101, 100, dst);
        setPx(102, 100, dst);
        normal();
        quad(100, 100, 1, 1, src);
        setBlend(BlendFactor::Zero, BlendFactor::InvSrcAlpha);
        quad(101, 100, 1, 1, src);
        setBlend(BlendFactor::SrcAlpha, BlendFactor::One);
        quad(102, 100, 1, 1, src);
        // Colour channels only: the back buffer's fourth byte is not part of the picture.
        EXPECT_EQ(px(100, 100) & 0xFFFFFF, expectedChannelBlend(src, dst, fa, 1 - fa) & 0xFFFFFF) << "normal a=" << a;
        EXPECT_EQ(px(101, 100) & 0xFFFFFF, expectedChannelBlend(src, dst, 0, 1 - fa) & 0xFFFFFF) << "darken a=" << a;
        EXPECT_EQ(px(102, 100) & 0xFFFFFF, expectedChannelBlend(src, dst, fa, 1) & 0xFFFFFF) << "add a=" << a;
    }
}

TEST_F(RasterTest, FastAndGeneralPathsBlendAlike)
{
    // A one-degree tilt sends the quad down the triangle path; its inner pixels must match
    // what the upright path gives for the same colours.
    auto tex = texture32(16, 16, [](int x, int y) { return uint32_t((x * 16) << 24 | (y * 15) << 16 | 0x3377); });
    video.setTexture(tex);
    video.colorFill(*bb, nullptr, 0xFF808080u);
    quad(0, 0, 16, 16, 0xB0FFFFFF);
    Vertex v[4];
    const float xs[4] = {100, 116, 100, 116}, ys[4] = {0, 0, 16, 16};
    for (int i = 0; i < 4; ++i) {
        v[i].x = xs[i] - 0.5f;
        v[i].y = ys[i] - 0.5f;
        v[i].diffuse = 0xB0FFFFFF;
        v[i].u = (i & 1) ? 1.0f : 0.0f;
        v[i].v = (i & 2) ? 1.0f : 0.0f;
    }
    v[3].diffuse = 0xB1FFFFFF; // not all equal: the general path
    v[3].x += 0.0f;
    video.drawStrip(v, 4);
    int compared = 0;
    for (int y = 1; y < 8; ++y)
        for (int x = 1; x < 8; ++x) {
            // The upper-left triangle holds only the first three corners' colour.
            if (x + y >= 14)
                continue;
            EXPECT_EQ(px(100 + x, y), px(x, y)) << x << "," << y;
            ++compared;
        }
    EXPECT_GT(compared, 40);
}

TEST_F(RasterTest, ShiftedQuadCoversItsPixelsExactlyAndSamplesTexelCentres)
{
    auto tex = texture32(4, 4, [](int x, int y) { return 0xFF000000u | uint32_t(x * 60) << 16 | uint32_t(y * 60) << 8; });
    video.setTexture(tex);
    quad(10, 20, 4, 4, 0xFFFFFFFF);
    for (int y = 18; y < 26; ++y)
        for (int x = 8; x < 16; ++x) {
            bool inside = x >= 10 && x < 14 && y >= 20 && y < 24;
            uint32_t want = inside ? (0xFF000000u | uint32_t((x - 10) * 60) << 16 | uint32_t((y - 20) * 60) << 8)
                                   : 0xFF000000u;
            EXPECT_EQ(px(x, y), want) << x << "," << y;
        }
}

TEST_F(RasterTest, EighthCellOfATextureFillsA32PixelTile)
{
    // Every 32x32 cell of a 256 texture in its own colour.
    auto tex = texture32(256, 256, [](int x, int y) { return 0xFF000000u | uint32_t(x / 32) << 16 | uint32_t(y / 32) << 8 | 0x40; });
    video.setTexture(tex);
    for (int cy = 0; cy < 8; cy += 3)
        for (int cx = 0; cx < 8; cx += 2) {
            float sx = 64.0f + cx * 32, sy = 64.0f + cy * 32;
            quad(sx, sy, 32, 32, 0xFFFFFFFF, cx / 8.0f, cy / 8.0f, (cx + 1) / 8.0f, (cy + 1) / 8.0f);
            const uint32_t want = 0xFF000000u | uint32_t(cx) << 16 | uint32_t(cy) << 8 | 0x40;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    ASSERT_EQ(px(int(sx) + x, int(sy) + y), want) << cx << "," << cy << " at " << x << "," << y;
        }
}

TEST_F(RasterTest, CornersFollowTheStripOrder)
{
    // Top-left red, top-right green, bottom-left blue, bottom-right white.
    const uint32_t corner[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
    Vertex v[4];
    const float xs[4] = {0, 64, 0, 64}, ys[4] = {0, 0, 64, 64};
    for (int i = 0; i < 4; ++i) {
        v[i].x = xs[i] - 0.5f;
        v[i].y = ys[i] - 0.5f;
        v[i].diffuse = corner[i];
    }
    video.setTexture(nullptr);
    video.drawStrip(v, 4);
    auto near = [](uint32_t got, uint32_t want) {
        for (int sh = 0; sh < 24; sh += 8)
            if (std::abs(int((got >> sh) & 255) - int((want >> sh) & 255)) > 12)
                return false;
        return true;
    };
    EXPECT_TRUE(near(px(0, 0), corner[0])) << std::hex << px(0, 0);
    EXPECT_TRUE(near(px(63, 0), corner[1])) << std::hex << px(63, 0);
    EXPECT_TRUE(near(px(0, 63), corner[2])) << std::hex << px(0, 63);
    EXPECT_TRUE(near(px(63, 63), corner[3])) << std::hex << px(63, 63);

    // Textured: the texture's top-left quadrant lands at the quad's top-left.
    auto tex = texture32(2, 2, [](int x, int y) { return 0xFF000000u | uint32_t(x) << 16 | uint32_t(y) << 8 | 1; });
    video.setTexture(tex);
    quad(200, 200, 2, 2, 0xFFFFFFFF);
    EXPECT_EQ(px(200, 200), 0xFF000001u);
    EXPECT_EQ(px(201, 200), 0xFF010001u);
    EXPECT_EQ(px(200, 201), 0xFF000101u);
    EXPECT_EQ(px(201, 201), 0xFF010101u);
}

TEST(PixelFormats, SixteenBitFormatsExpandAndPackExactly)
{
    uint8_t p[4];
    auto put16 = [&](uint16_t v) {
        p[0] = uint8_t(v);
        p[1] = uint8_t(v >> 8);
    };
    put16(0xF84C);
    EXPECT_EQ(toArgb(PixelFormat::A4R4G4B4, p), 0xFF8844CCu);
    put16(0xF800);
    EXPECT_EQ(toArgb(PixelFormat::R5G6B5, p), 0xFFFF0000u);
    put16(0x07E0);
    EXPECT_EQ(toArgb(PixelFormat::R5G6B5, p), 0xFF00FF00u);
    put16(0x001F);
    EXPECT_EQ(toArgb(PixelFormat::R5G6B5, p), 0xFF0000FFu);
    put16(0x8410); // the middle grey of each field
    EXPECT_EQ(toArgb(PixelFormat::R5G6B5, p), 0xFF848284u);

    fromArgb(PixelFormat::R5G6B5, 0xFF123456u, p);
    EXPECT_EQ(p[0] | p[1] << 8, (0x12 >> 3) << 11 | (0x34 >> 2) << 5 | (0x56 >> 3));
    fromArgb(PixelFormat::A4R4G4B4, 0x8FC0A05Fu, p);
    EXPECT_EQ(p[0] | p[1] << 8, 0x8CA5);
    fromArgb(PixelFormat::A8R8G8B8, 0x80112233u, p);
    EXPECT_EQ(p[0], 0x33);
    EXPECT_EQ(p[3], 0x80); // bytes B, G, R, A
    for (uint32_t v = 0; v < 65536; v += 7) {
        put16(uint16_t(v));
        uint8_t q[2];
        fromArgb(PixelFormat::A4R4G4B4, toArgb(PixelFormat::A4R4G4B4, p), q);
        ASSERT_EQ(q[0] | q[1] << 8, int(v));
        fromArgb(PixelFormat::R5G6B5, toArgb(PixelFormat::R5G6B5, p), q);
        ASSERT_EQ(q[0] | q[1] << 8, int(v));
    }
}

TEST_F(RasterTest, SixteenBitTextureIsSeenThroughItsExpansionAndItsChanges)
{
    auto tex = video.createSurface(2, 2, PixelFormat::A4R4G4B4);
    int pitch = 0;
    uint8_t* p = tex->lock(pitch);
    for (int i = 0; i < 2; ++i) {
        p[i * 2] = 0x4C;
        p[i * 2 + 1] = 0xF8; // 0xF84C
        p[pitch + i * 2] = 0x00;
        p[pitch + i * 2 + 1] = 0x0F; // red, alpha 0: shows nothing
    }
    tex->unlock();
    video.setTexture(tex);
    setPx(50, 51, 0xFF102030u);
    quad(50, 50, 2, 2, 0xFFFFFFFF);
    EXPECT_EQ(px(50, 50), 0xFF8844CCu);
    EXPECT_EQ(px(50, 51), 0xFF102030u);
    // A later write to the texture shows in the next draw.
    p = tex->lock(pitch);
    p[0] = 0x00;
    p[1] = 0xF0; // opaque black
    tex->unlock();
    quad(50, 50, 2, 2, 0xFFFFFFFF);
    EXPECT_EQ(px(50, 50), 0xFF000000u);
}

TEST_F(RasterTest, AddSaturatesInsteadOfWrapping)
{
    video.colorFill(*bb, nullptr, 0xFFF0F0F0u);
    setBlend(BlendFactor::SrcAlpha, BlendFactor::One);
    quad(0, 0, 4, 4, 0xFFFFFFFF);
    quad(0, 0, 4, 4, 0xFFFFFFFF);
    EXPECT_EQ(px(1, 1) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(RasterTest, DiffuseModulatesTheTexture)
{
    auto tex = texture32(1, 1, [](int, int) { return 0xFF8040FFu; });
    video.setTexture(tex);
    video.colorFill(*bb, nullptr, 0xFF000000u);
    quad(5, 5, 1, 1, 0xFF808080u);
    // (0x80 * 0x80 / 255, 0x40 * 0x80 / 255, 0xFF * 0x80 / 255) = 0x40, 0x20, 0x80
    EXPECT_EQ(px(5, 5) & 0xFFFFFF, 0x402080u);
}

TEST_F(RasterTest, RotatedQuadCoversTheTurnedRectangle)
{
    // 40x20 turned by 90 degrees about its centre (120, 110) stands 20 wide and 40 high.
    Vertex v[4];
    const float ox[4] = {-20, 20, -20, 20}, oy[4] = {-10, -10, 10, 10};
    for (int i = 0; i < 4; ++i) {
        v[i].x = 120 - oy[i] - 0.5f;
        v[i].y = 110 + ox[i] - 0.5f;
        v[i].diffuse = 0xFFFFFFFF;
    }
    video.setTexture(nullptr);
    video.drawStrip(v, 4);
    int covered = 0;
    for (int y = 80; y < 140; ++y)
        for (int x = 90; x < 150; ++x)
            if (px(x, y) == 0xFFFFFFFFu) {
                ++covered;
                EXPECT_TRUE(x >= 110 && x < 130 && y >= 90 && y < 130) << x << "," << y;
            }
    EXPECT_EQ(covered, 800); // shared edges drawn once, nothing missing
}

TEST_F(RasterTest, BlitClipsStretchesAndConverts)
{
    auto s = video.createSurface(8, 8, PixelFormat::R5G6B5);
    video.colorFill(*s, nullptr, 0xFFFF); // white
    Rect sr{0, 0, 8, 8};
    video.colorFill(*bb, nullptr, 0);
    ASSERT_TRUE(video.blit(*bb, Rect{-4, -4, 4, 4}, *s, sr));
    EXPECT_EQ(px(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(px(3, 3), 0x00FFFFFFu);
    EXPECT_EQ(px(4, 4), 0u);
    ASSERT_TRUE(video.blit(*bb, Rect{796, 596, 812, 612}, *s, sr)); // stretched and clipped
    EXPECT_EQ(px(799, 599), 0x00FFFFFFu);

    // A 16-bit surface keeps 5-6-5 bits.
    auto x32 = video.createSurface(1, 1, PixelFormat::X8R8G8B8);
    int pitch = 0;
    uint8_t* p = x32->lock(pitch);
    uint32_t c = 0x00123456u;
    std::memcpy(p, &c, 4);
    x32->unlock();
    auto s16 = video.createSurface(1, 1, PixelFormat::R5G6B5);
    ASSERT_TRUE(video.blit(*s16, Rect{0, 0, 1, 1}, *x32, Rect{0, 0, 1, 1}));
    ASSERT_TRUE(video.blit(*bb, Rect{10, 10, 11, 11}, *s16, Rect{0, 0, 1, 1}));
    EXPECT_EQ(px(10, 10), 0x00103452u);
}

TEST_F(RasterTest, LostAndLockedSurfacesRefuseWork)
{
    auto t = video.createSurface(4, 4, PixelFormat::A8R8G8B8);
    int pitch = 0;
    ASSERT_NE(t->lock(pitch), nullptr);
    EXPECT_EQ(t->lock(pitch), nullptr); // already locked
    EXPECT_FALSE(video.colorFill(*t, nullptr, 0));
    t->unlock();
    video.loseDevice();
    EXPECT_TRUE(t->lost());
    EXPECT_EQ(t->lock(pitch), nullptr);
    EXPECT_FALSE(video.blit(*bb, Rect{0, 0, 4, 4}, *t, Rect{0, 0, 4, 4}));
    EXPECT_EQ(video.present(), PresentResult::SurfaceLost);
    quad(0, 0, 10, 10, 0xFFFFFFFF); // into a lost back buffer: nothing, no crash

    video.close();
    EXPECT_EQ(video.present(), PresentResult::NotReady);
    EXPECT_EQ(video.backBuffer(), nullptr);
    EXPECT_EQ(video.createSurface(4, 4, PixelFormat::A8R8G8B8), nullptr);
}

TEST_F(RasterTest, AbsurdSurfaceSizesAreRefused)
{
    EXPECT_EQ(video.createSurface(0, 4, PixelFormat::A8R8G8B8), nullptr);
    EXPECT_EQ(video.createSurface(4, -1, PixelFormat::A8R8G8B8), nullptr);
    EXPECT_EQ(video.createSurface(100000, 100000, PixelFormat::A8R8G8B8), nullptr);
    EXPECT_NE(video.createSurface(3, 5, PixelFormat::R5G6B5), nullptr);
}

// Every row starts a cache line, so a 32-pixel row spans two lines rather than three, and the
// 32-bit view of a 16-bit texture starts on one. The memory comes cleared.
TEST_F(RasterTest, SurfaceRowsStartOnCacheLines)
{
    const PixelFormat formats[] = {PixelFormat::A8R8G8B8, PixelFormat::X8R8G8B8, PixelFormat::A4R4G4B4,
                                   PixelFormat::R5G6B5};
    for (PixelFormat f : formats)
        for (int w : {1, 33, 256, 800}) {
            auto s = video.createSurface(w, 3, f);
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(reinterpret_cast<uintptr_t>(s->data()) % 64, 0u);
            EXPECT_EQ(s->pitch() % 64, 0);
            int stride = 0;
            const uint32_t* texels = s->argbTexels(stride);
            EXPECT_EQ(reinterpret_cast<uintptr_t>(texels) % 64, 0u);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(texels[size_t(y) * size_t(stride) + size_t(x)] & 0x00FFFFFFu, 0u);
        }
}

TEST_F(RasterTest, DegenerateAndOffscreenStripsDrawNothing)
{
    video.colorFill(*bb, nullptr, 0x11111111u);
    Vertex v[4];
    for (auto& x : v)
        x.diffuse = 0xFFFFFFFF;
    video.drawStrip(v, 4); // all corners on one point
    video.drawStrip(v, 2);
    video.drawStrip(nullptr, 4);
    quad(-100, -100, 50, 50, 0xFFFFFFFF);
    quad(900, 700, 50, 50, 0xFFFFFFFF);
    v[1].x = NAN;
    video.drawStrip(v, 4);
    for (int y = 0; y < 600; y += 7)
        for (int x = 0; x < 800; x += 7)
            ASSERT_EQ(px(x, y), 0x11111111u);
}
