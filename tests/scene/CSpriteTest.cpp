// The sprite's own rules: clamping, corner order, the bias, blend pairs, texture binding.
#include "graphics/DisplayDevice.h"
#include "graphics/Textures.h"
#include "platform/headless/HeadlessVideo.h"
#include "platform/headless/HeadlessWindow.h"
#include "graphics/CSprite.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

class SpriteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        displayProcess() = DisplayProcessState{};
        ASSERT_TRUE(window.create("t", 0, 0, 800, 600, false));
        ASSERT_EQ(video.open(window, false, true), platform::VideoOpenResult::Ok);
    }
    void TearDown() override { displayProcess() = DisplayProcessState{}; }
    platform::HeadlessWindow window;
    platform::HeadlessVideo video;
};

} // namespace

TEST(SpriteAlpha, EverySetterClamps)
{
    CSprite s;
    s.SetAlpha(300);
    EXPECT_EQ(s.alpha, (std::array<int, 4>{255, 255, 255, 255}));
    s.SetAlpha(-5);
    EXPECT_EQ(s.alpha[3], 0);
    s.SetCornerAlpha(2, 1000);
    EXPECT_EQ(s.alpha, (std::array<int, 4>{0, 0, 255, 0}));
    s.SetCornerAlpha(4, 10); // no such corner
    s.SetCornerAlpha(-1, 10);
    EXPECT_EQ(s.alpha, (std::array<int, 4>{0, 0, 255, 0}));
    EXPECT_EQ(s.AddAlpha(200), 200);
    EXPECT_EQ(s.alpha[2], 255);
    EXPECT_EQ(s.AddAlpha(-250), 0);
    EXPECT_EQ(s.AddAlpha(INT_MAX), 255);
    EXPECT_EQ(s.AddAlpha(INT_MIN), 0);
}

TEST_F(SpriteTest, VerticesRunTopLeftTopRightBottomLeftBottomRightWithTheBias)
{
    CSprite s;
    s.left = 0.25f;
    s.top = 0.5f;
    s.right = 0.75f;
    s.bottom = 1.0f;
    s.SetAlpha(128);
    s.SetCornerAlpha(3, 7);
    s.SetColour(0x12345678); // only the colour bytes count
    s.Draw(video, 10, 20, 30, 40);
    const auto& v = s.vertices;
    EXPECT_FLOAT_EQ(v[0].x, 9.5f);
    EXPECT_FLOAT_EQ(v[0].y, 19.5f);
    EXPECT_FLOAT_EQ(v[1].x, 39.5f);
    EXPECT_FLOAT_EQ(v[1].y, 19.5f);
    EXPECT_FLOAT_EQ(v[2].x, 9.5f);
    EXPECT_FLOAT_EQ(v[2].y, 59.5f);
    EXPECT_FLOAT_EQ(v[3].x, 39.5f);
    EXPECT_FLOAT_EQ(v[3].y, 59.5f);
    EXPECT_FLOAT_EQ(v[0].u, 0.25f);
    EXPECT_FLOAT_EQ(v[1].u, 0.75f);
    EXPECT_FLOAT_EQ(v[2].v, 1.0f);
    EXPECT_FLOAT_EQ(v[1].v, 0.5f);
    EXPECT_EQ(v[0].diffuse, 0x80345678u);
    EXPECT_EQ(v[3].diffuse, 0x07345678u);
    EXPECT_FLOAT_EQ(v[0].rhw, 1.0f);
    EXPECT_FLOAT_EQ(v[0].z, 0.0f);

    displayProcess().pixelCentreOffset = 0.0f;
    s.Draw(video, 10, 20, 30, 40);
    EXPECT_FLOAT_EQ(s.vertices[0].x, 10.0f);
}

TEST_F(SpriteTest, RotationTurnsTheCornersAboutTheCentre)
{
    CSprite s;
    s.DrawRotated(video, 100, 100, 40, 20, 90.0f);
    // Top-left (-20, -10) from the centre (120, 110) turns to (10, -20).
    EXPECT_NEAR(s.vertices[0].x, 130.0f - 0.5f, 1e-3);
    EXPECT_NEAR(s.vertices[0].y, 90.0f - 0.5f, 1e-3);
    EXPECT_NEAR(s.vertices[3].x, 110.0f - 0.5f, 1e-3);
    EXPECT_NEAR(s.vertices[3].y, 130.0f - 0.5f, 1e-3);
    s.DrawRotated(video, 100, 100, 40, 20, 0.0f);
    EXPECT_NEAR(s.vertices[0].x, 99.5f, 1e-4);
    EXPECT_NEAR(s.vertices[3].y, 119.5f, 1e-4);
}

TEST_F(SpriteTest, BlendModesSetTheirFactorPairs)
{
    CSprite s;
    auto& st = video.renderStates();
    s.SetBlend(SpriteBlend::Darken);
    s.Draw(video, 0, 0, 1, 1);
    EXPECT_EQ(st.srcBlend, platform::BlendFactor::Zero);
    EXPECT_EQ(st.dstBlend, platform::BlendFactor::InvSrcAlpha);
    s.SetBlend(SpriteBlend::Add);
    s.Draw(video, 0, 0, 1, 1);
    EXPECT_EQ(st.srcBlend, platform::BlendFactor::SrcAlpha);
    EXPECT_EQ(st.dstBlend, platform::BlendFactor::One);
    s.SetBlend(SpriteBlend::Normal);
    s.Draw(video, 0, 0, 1, 1);
    EXPECT_EQ(st.srcBlend, platform::BlendFactor::SrcAlpha);
    EXPECT_EQ(st.dstBlend, platform::BlendFactor::InvSrcAlpha);
}

TEST_F(SpriteTest, TheTextureIsBoundOnlyWhenItChangesAndARestoredOneIsSeen)
{
    CTEXTURE a, b;
    ASSERT_TRUE(a.Create(&video, 256, 256, false));
    ASSERT_TRUE(b.Create(&video, 256, 256, false));
    a.AcquireHandle(&video);
    b.AcquireHandle(&video);
    CSprite sa, sb;
    sa.Set(a, 32, 64, 32, 32);
    EXPECT_FLOAT_EQ(sa.left, 0.125f);
    EXPECT_FLOAT_EQ(sa.top, 0.25f);
    EXPECT_FLOAT_EQ(sa.right, 0.25f);
    EXPECT_FLOAT_EQ(sa.bottom, 0.375f);
    sb.Set(b, 0, 0, 256, 256);
    uint64_t before = video.textureChanges();
    sa.Draw(video, 0, 0, 32, 32);
    sa.Draw(video, 32, 0, 32, 32);
    sa.Draw(video, 64, 0, 32, 32);
    EXPECT_EQ(video.textureChanges(), before + 1);
    sb.Draw(video, 0, 0, 32, 32);
    EXPECT_EQ(video.textureChanges(), before + 2);
    EXPECT_EQ(video.texture(), b.handle.get());

    // After a release and restore the sprite draws with the texture's new surface.
    a.Release();
    ASSERT_TRUE(a.Restore(&video, &video));
    sa.Draw(video, 0, 0, 32, 32);
    EXPECT_EQ(video.texture(), a.handle.get());
    sa.SetNoTexture();
    sa.Draw(video, 0, 0, 32, 32);
    EXPECT_EQ(video.texture(), nullptr);
}
