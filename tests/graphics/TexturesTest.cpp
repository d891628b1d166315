// Textures and system surfaces on their own: sizes, uploads, bad calls.
#include "../app/EngineFixture.h"

#include "graphics/Textures.h"
#include "platform/DebugOutput.h"
#include "platform/Text.h"

#include <cstring>

namespace {

class TextureTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ASSERT_TRUE(backend.window.create(dx->title, 0, 0, 800, 600, false));
        ASSERT_TRUE(dx->Create(&backend.window, true));
        v = &backend.video;
        platform::setDebugOutputSink([this](std::string_view s) { debug.emplace_back(s); });
    }
    void TearDown() override
    {
        platform::setDebugOutputSink(nullptr);
        EngineTest::TearDown();
    }
    uint32_t backPixel(int x, int y)
    {
        const platform::Surface* bb = v->backBuffer();
        uint32_t c;
        std::memcpy(&c, bb->data() + size_t(y) * bb->pitch() + size_t(x) * 4, 4);
        return c;
    }
    platform::Video* v = nullptr;
    std::vector<std::string> debug;
};

} // namespace

TEST_F(TextureTest, SizesTheDeviceCannotSampleAreRefusedWithTheClassMessage)
{
    CTEXTURE t;
    EXPECT_FALSE(t.Create(v, 200, 256, false));
    EXPECT_FALSE(t.Create(v, 0, 256, false));
    EXPECT_FALSE(t.Create(v, 4096, 4096, false));
    EXPECT_FALSE(t.Create(nullptr, 256, 256, false));
    CTEXTURE_A4R4G4B4 t16;
    EXPECT_FALSE(t16.Create(v, -8, 8, false));
    ASSERT_FALSE(debug.empty());
    EXPECT_EQ(debug.front(), "ADV_SYSTEM:(CTEXTURE) CreateSurface Failed\n");
    EXPECT_EQ(debug.back(), "ADV_SYSTEM:(CTEXTURE_A4R4G4B4) CreateSurface Failed\n");
    EXPECT_FALSE(t.hasContent);
    EXPECT_FALSE(t.Update(std::vector<uint8_t>(256 * 256 * 4).data())); // never created
}

TEST_F(TextureTest, CreateAllocatesAZeroedShadowUnlessItIsKept)
{
    CTEXTURE_R5G6B5 t;
    ASSERT_TRUE(t.Create(v, 16, 8, false));
    EXPECT_TRUE(t.hasContent);
    EXPECT_EQ(t.width, 16);
    EXPECT_EQ(t.shadowSize, 16u * 8u * 2u);
    // The surface is its own copy: the picture is held once.
    EXPECT_EQ(t.shadow, t.surface);
    EXPECT_EQ(t.shadowRow(7)[31], 0);
    std::vector<uint8_t> pic(t.shadowSize, 0x5A);
    ASSERT_TRUE(t.Update(pic.data()));
    const auto old = t.surface;
    ASSERT_TRUE(t.Create(v, 16, 8, true)); // a new surface, the old shadow's picture
    EXPECT_NE(t.surface, old);
    EXPECT_EQ(t.shadow, t.surface);
    EXPECT_EQ(t.shadowRow(0)[0], 0x5A);
    EXPECT_EQ(t.shadowRow(7)[31], 0x5A);
}

TEST_F(TextureTest, UploadsToAReleasedTextureFailButTheShadowKeepsThePicture)
{
    CTEXTURE t;
    ASSERT_TRUE(t.Create(v, 8, 8, false));
    t.Release();
    EXPECT_FALSE(t.hasContent);
    std::vector<uint8_t> pic(8 * 8 * 4, 0x77);
    EXPECT_FALSE(t.Update(pic.data()));
    ASSERT_TRUE(t.Restore(v, v));
    int pitch = 0;
    uint8_t* p = t.surface->lock(pitch);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[0], 0x77);
    t.surface->unlock();
    EXPECT_TRUE(t.handle);
}

TEST_F(TextureTest, RectUploadStaysInsideTheTexture)
{
    CTEXTURE_A4R4G4B4 t;
    ASSERT_TRUE(t.Create(v, 16, 16, false));
    std::vector<uint8_t> block(4 * 4 * 2, 0xAB);
    EXPECT_TRUE(t.UpdateRect(block.data(), 12, 12, 4, 4));
    EXPECT_FALSE(t.UpdateRect(block.data(), 13, 12, 4, 4));
    EXPECT_FALSE(t.UpdateRect(block.data(), -1, 0, 4, 4));
    EXPECT_FALSE(t.UpdateRect(block.data(), 0, 0, 0, 4));
    EXPECT_EQ(t.shadowRow(12)[12 * 2], 0xAB);
    EXPECT_EQ(t.shadowRow(12)[11 * 2], 0x00);
    EXPECT_EQ(t.shadowRow(15)[15 * 2 + 1], 0xAB);
    t.Release();
    EXPECT_FALSE(t.UpdateRect(block.data(), 0, 0, 4, 4));
}

TEST_F(TextureTest, RestoreOfANeverFilledObjectDoesNothing)
{
    CTEXTURE t;
    CSystemSurface_R8G8B8 s;
    EXPECT_TRUE(t.Restore(v, v));
    EXPECT_TRUE(s.Restore(v));
    EXPECT_FALSE(t.surface);
    EXPECT_FALSE(s.surface);
}

TEST_F(TextureTest, SystemSurfaceIsExactOnA32BitDesktopAndLosesLowBitsOn16)
{
    std::vector<uint8_t> pic(4 * 2 * 4);
    for (size_t i = 0; i < pic.size(); ++i)
        pic[i] = uint8_t(0x13 + i * 9);
    CSystemSurface_R8G8B8 s32;
    ASSERT_TRUE(s32.Create(v, 4, 2, false));
    ASSERT_TRUE(s32.UpdateTexture(pic.data()));
    // On a 32-bit desktop the surface holds the picture exactly and is its own copy.
    EXPECT_TRUE(s32.shadow.empty());
    EXPECT_EQ(s32.shadowSurface, s32.surface);
    EXPECT_EQ(s32.bitmapInfo->biHeight, 2);
    EXPECT_EQ(s32.Draw(v->backBuffer(), 0, 0, 4, 2, 0, 0), 0);
    uint32_t c;
    std::memcpy(&c, pic.data() + 4 * 5, 4);
    EXPECT_EQ(backPixel(1, 1), c & 0xFFFFFF);

    displayProcess().desktopDepthIndex = 2;
    CSystemSurface_R8G8B8 s16;
    ASSERT_TRUE(s16.Create(v, 4, 2, false));
    EXPECT_EQ(s16.surface->format(), platform::PixelFormat::R5G6B5);
    ASSERT_TRUE(s16.UpdateTexture(pic.data()));
    // Its surface cannot hold the picture, so the 32-bit picture stays beside it, bottom-up.
    ASSERT_EQ(s16.shadow.size(), pic.size() + 1);
    EXPECT_EQ(0, std::memcmp(s16.shadow.data(), pic.data() + 16, 16));
    EXPECT_FALSE(s16.shadowSurface);
    s16.Draw(v->backBuffer(), 0, 0, 4, 2, 0, 0);
    uint32_t got = backPixel(1, 1);
    EXPECT_NE(got, c & 0xFFFFFF);
    EXPECT_EQ(got & 0xF8FCF8, c & 0xF8FCF8);
}

TEST_F(TextureTest, SystemSurfaceDrawTruncatesEachEdgeAfterAdding)
{
    CSystemSurface_R8G8B8 s;
    ASSERT_TRUE(s.Create(v, 4, 4, false));
    std::vector<uint8_t> white(4 * 4 * 4, 0xFF);
    ASSERT_TRUE(s.UpdateTexture(white.data()));
    v->colorFill(*v->backBuffer(), nullptr, 0);
    EXPECT_EQ(s.Draw(v->backBuffer(), 10.7f, 5.0f, 0.6f, 1.0f, 0.5f, 0), 0); // edges 10 and 11, source 0 and 1
    EXPECT_EQ(backPixel(9, 5), 0u);
    EXPECT_EQ(backPixel(10, 5), 0xFFFFFFu);
    EXPECT_EQ(backPixel(11, 5), 0u);
    // A source that truncates to nothing is no copy at all.
    EXPECT_EQ(s.Draw(v->backBuffer(), 20.0f, 5.0f, 0.6f, 1.0f, 0, 0), 1);
}

TEST_F(TextureTest, SystemSurfaceWithoutItsSurfaceReportsTheFatalMessage)
{
    CSystemSurface_R8G8B8 s;
    ASSERT_TRUE(s.Create(v, 4, 4, false));
    s.Release();
    std::vector<uint8_t> pic(4 * 4 * 4, 1);
    EXPECT_FALSE(s.UpdateTexture(pic.data()));
    ASSERT_FALSE(runLog().lines().empty());
    std::string line = platform::sjisToUtf8(runLog().lines().back());
    EXPECT_EQ(line.rfind("CSystemSurface_R8G8B8::UpdateTexture : 致命的なエラー : HDCを取得することが出来ませんでした。"
                         "テクスチャサイズ(4x4) DIBイメージアドレス(",
                         0),
              0u)
        << line;
    EXPECT_EQ(s.Draw(v->backBuffer(), 0, 0, 4, 4, 0, 0), 1); // the copy never went through
    // The shadow kept the picture: a restore brings it back.
    ASSERT_TRUE(s.Restore(v));
    int pitch = 0;
    uint8_t* p = s.surface->lock(pitch);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[0], 1);
    s.surface->unlock();
}

TEST_F(TextureTest, TheRegistryFollowsObjectLifetimes)
{
    size_t before = surfaceRegistry().textures32.size();
    {
        CTEXTURE a, b;
        EXPECT_EQ(surfaceRegistry().textures32.size(), before + 2);
    }
    EXPECT_EQ(surfaceRegistry().textures32.size(), before);
}
