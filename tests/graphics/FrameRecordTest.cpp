// The display device draws a frame only where it differs from the last one. Whatever it
// leaves out, the back buffer must hold the pixels that drawing everything at once gives:
// random frames that change a little, a lot or not at all, with textures rewritten between
// draws and pixels written by hand, against the rasteriser drawing straight into a surface.
#include "platform/FrameRecord.h"
#include "platform/Rasteriser.h"
#include "platform/headless/HeadlessVideo.h"
#include "platform/headless/HeadlessWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

using namespace platform;

namespace {

constexpr int kW = Video::kWidth, kH = Video::kHeight;
constexpr int kTextures = 3;

enum class OpKind { Strip, Fill, Blit, Retexture, HandWrite };

struct Op {
    OpKind kind = OpKind::Strip;
    Vertex v[4];
    RenderStates st;
    int texture = -1;
    Rect r, src;
    uint32_t value = 0;
};

void paint(Surface& s, uint32_t seed)
{
    std::mt19937 rng(seed);
    int pitch = 0;
    uint8_t* p = s.lock(pitch);
    ASSERT_NE(p, nullptr);
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const uint32_t a = (x / 8 + y / 8) % 3 == 0 ? 0 : (x + y) % 5 == 0 ? 128 : 255;
            fromArgb(s.format(), a << 24 | (rng() & 0xFFFFFF), p + size_t(y) * size_t(pitch) + size_t(x) * size_t(bytesPerPixel(s.format())));
        }
    s.unlock();
}

Op cover()
{
    Op o;
    o.st.alphaBlend = true;
    o.st.srcBlend = BlendFactor::SrcAlpha;
    o.st.dstBlend = BlendFactor::InvSrcAlpha;
    const float xs[4] = {-0.5f, kW - 0.5f, -0.5f, kW - 0.5f}, ys[4] = {-0.5f, -0.5f, kH - 0.5f, kH - 0.5f};
    for (int i = 0; i < 4; ++i) {
        o.v[i].x = xs[i];
        o.v[i].y = ys[i];
        o.v[i].diffuse = 0xFF000000u;
    }
    return o;
}

Op randomOp(std::mt19937& rng)
{
    std::uniform_int_distribution<int> pick(0, 99);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    Op o;
    const int k = pick(rng);
    if (k < 8) {
        o.kind = OpKind::Fill;
        const int x = pick(rng) * 8 - 40, y = pick(rng) * 6 - 30;
        o.r = Rect{x, y, x + 1 + pick(rng) * 2, y + 1 + pick(rng)};
        o.value = rng() & 0xFFFFFF;
        return o;
    }
    if (k < 14) {
        o.kind = OpKind::Blit;
        const int x = pick(rng) * 8 - 40, y = pick(rng) * 6 - 30;
        o.r = Rect{x, y, x + 20 + pick(rng), y + 10 + pick(rng) / 2}; // stretched from 64x32
        o.src = Rect{pick(rng) % 8, pick(rng) % 8, 0, 0};
        o.src.right = o.src.left + 64;
        o.src.bottom = o.src.top + 32;
        return o;
    }
    o.kind = OpKind::Strip;
    o.texture = pick(rng) < 15 ? -1 : pick(rng) % kTextures;
    o.st.alphaBlend = true;
    o.st.textureBlend = TextureBlend::ModulateAlpha;
    static const BlendFactor pairs[][2] = {{BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha},
                                           {BlendFactor::Zero, BlendFactor::InvSrcAlpha},
                                           {BlendFactor::SrcAlpha, BlendFactor::One}};
    const auto& pair = pairs[pick(rng) % 3];
    o.st.srcBlend = pair[0];
    o.st.dstBlend = pair[1];
    // Whole pixels, half pixels (the centre offset) and arbitrary fractions; some rotated.
    const int place = pick(rng) % 3;
    float x = float(pick(rng) * 9 - 60), y = float(pick(rng) * 7 - 50);
    if (place == 1) {
        x -= 0.5f;
        y -= 0.5f;
    } else if (place == 2) {
        x += unit(rng);
        y += unit(rng);
    }
    const float w = float(1 + pick(rng) * 2), h = float(1 + pick(rng));
    const float angle = pick(rng) < 15 ? unit(rng) * 6.28f : 0.0f;
    const float us[4] = {0, 1, 0, 1}, vs[4] = {0, 0, 1, 1};
    const float ox[4] = {0, w, 0, w}, oy[4] = {0, 0, h, h};
    const uint32_t diffuse = (pick(rng) < 50 ? 0xFF000000u : uint32_t(pick(rng) * 2) << 24) | (rng() & 0xFFFFFF);
    const float u1 = pick(rng) < 50 ? 1.0f : unit(rng) * 2;
    for (int i = 0; i < 4; ++i) {
        const float c = std::cos(angle), s = std::sin(angle);
        o.v[i].x = x + ox[i] * c - oy[i] * s;
        o.v[i].y = y + ox[i] * s + oy[i] * c;
        o.v[i].u = us[i] * u1;
        o.v[i].v = vs[i];
        o.v[i].diffuse = diffuse;
    }
    return o;
}

// One device under test and the same drawing done at once, side by side.
struct Pair {
    HeadlessWindow window;
    HeadlessVideo video;
    std::vector<std::shared_ptr<Surface>> textures;
    std::shared_ptr<Surface> block;
    Surface reference{kW, kH, PixelFormat::X8R8G8B8};
    std::vector<std::unique_ptr<Surface>> refTextures;
    std::unique_ptr<Surface> refBlock;

    Pair()
    {
        window.create("t", 0, 0, kW, kH, false);
        EXPECT_EQ(video.open(window, false, true), VideoOpenResult::Ok);
        for (int t = 0; t < kTextures; ++t) {
            textures.push_back(video.createSurface(64, 64, t == 2 ? PixelFormat::A4R4G4B4 : PixelFormat::A8R8G8B8));
            refTextures.push_back(std::make_unique<Surface>(64, 64, textures.back()->format()));
            paint(*textures.back(), uint32_t(t));
            paint(*refTextures.back(), uint32_t(t));
        }
        block = video.createSurface(80, 48, PixelFormat::X8R8G8B8);
        refBlock = std::make_unique<Surface>(80, 48, PixelFormat::X8R8G8B8);
        paint(*block, 99);
        paint(*refBlock, 99);
    }

    void run(const std::vector<Op>& ops)
    {
        ASSERT_TRUE(video.beginScene());
        for (const Op& o : ops) {
            switch (o.kind) {
            case OpKind::Strip:
                video.renderStates() = o.st;
                video.setTexture(o.texture < 0 ? nullptr : textures[size_t(o.texture)]);
                video.drawStrip(o.v, 4);
                raster::drawStrip(reference, o.texture < 0 ? nullptr : refTextures[size_t(o.texture)].get(), o.st, o.v, 4);
                break;
            case OpKind::Fill:
                video.colorFill(*video.backBuffer(), &o.r, o.value);
                raster::fill(reference, o.r, o.value);
                break;
            case OpKind::Blit:
                video.blit(*video.backBuffer(), o.r, *block, o.src);
                raster::blit(reference, o.r, *refBlock, o.src);
                break;
            case OpKind::Retexture:
                paint(*textures[size_t(o.texture)], o.value);
                paint(*refTextures[size_t(o.texture)], o.value);
                break;
            case OpKind::HandWrite:
                for (Surface* s : {video.backBuffer(), &reference}) {
                    uint8_t* p = s->data();
                    for (int x = 0; x < 40; ++x)
                        std::memcpy(p + size_t(o.r.top) * size_t(s->pitch()) + size_t(o.r.left + x) * 4, &o.value, 4);
                    s->touch();
                }
                break;
            }
        }
        video.endScene();
        video.present();
    }

    int firstDifferentRow()
    {
        const Surface& bb = *video.backBuffer();
        for (int y = 0; y < kH; ++y)
            if (std::memcmp(bb.data() + size_t(y) * size_t(bb.pitch()), reference.data() + size_t(y) * size_t(reference.pitch()),
                            size_t(kW) * 4) != 0)
                return y;
        return -1;
    }
};

} // namespace

TEST(FrameRecord, FramesDrawnInPartOrNotAtAllLeaveThePixelsOfDrawingEverything)
{
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<int> pick(0, 99);
    Pair p;
    std::vector<Op> ops{cover()};
    for (int i = 0; i < 40; ++i)
        ops.push_back(randomOp(rng));

    for (int frame = 0; frame < 160; ++frame) {
        std::vector<Op> now = ops;
        const int change = pick(rng);
        if (change < 30) {
            // The same frame again.
        } else if (change < 75) {
            // An animation: one shape moves or shows another frame.
            Op& o = ops[size_t(1 + pick(rng) % (int(ops.size()) - 1))];
            if (o.kind == OpKind::Strip) {
                const float dy = float(pick(rng) % 5) - 2.0f + (pick(rng) < 30 ? 0.25f : 0.0f);
                for (Vertex& v : o.v) {
                    v.y += dy;
                    v.u += 0.125f;
                }
            } else {
                o.r.top += 1;
                o.r.bottom += 2;
            }
            now = ops;
        } else if (change < 85) {
            // A shape comes or goes.
            const size_t at = size_t(1 + pick(rng) % (int(ops.size()) - 1));
            if (pick(rng) < 50 || ops.size() < 6)
                ops.insert(ops.begin() + long(at), randomOp(rng));
            else
                ops.erase(ops.begin() + long(at));
            now = ops;
        } else if (change < 95) {
            // A picture is rewritten between two of its draws (text typed into a glyph cell).
            Op re;
            re.kind = OpKind::Retexture;
            re.texture = pick(rng) % kTextures;
            re.value = uint32_t(frame);
            now.insert(now.begin() + long(1 + pick(rng) % (int(now.size()) - 1)), re);
        } else {
            // Text written straight into the picture.
            Op hand;
            hand.kind = OpKind::HandWrite;
            hand.r = Rect{pick(rng) * 7, pick(rng) * 5, 0, 0};
            hand.value = 0x00FFFFFFu;
            now.insert(now.begin() + long(1 + pick(rng) % (int(now.size()) - 1)), hand);
        }
        p.run(now);
        ASSERT_EQ(p.firstDifferentRow(), -1) << "frame " << frame << ", change " << change;
    }
    // All three ways were taken.
    EXPECT_GT(p.video.unchangedPresents(), 20u);
    EXPECT_GT(p.video.partialFrames(), 20u);
    EXPECT_GT(p.video.fullFrames(), 5u);
}

TEST(FrameRecord, AFrameThatDoesNotPaintEveryPixelFirstIsAlwaysDrawn)
{
    Pair p;
    // A translucent quad over whatever was there: drawing it again changes the picture.
    Op o = cover();
    for (Vertex& v : o.v)
        v.diffuse = 0x40FFFFFFu;
    for (int i = 0; i < 3; ++i) {
        p.run({o});
        ASSERT_EQ(p.firstDifferentRow(), -1) << "frame " << i;
    }
    EXPECT_EQ(p.video.unchangedPresents(), 0u);
    EXPECT_EQ(p.video.presentCount(), 3u);
}

TEST(FrameRecord, ASpoiledWindowGetsTheSamePictureAgain)
{
    Pair p;
    p.run({cover()});
    p.run({cover()});
    EXPECT_EQ(p.video.presentCount(), 1u);
    EXPECT_TRUE(p.video.lastPresentUnchanged());
    p.video.repaint();
    p.run({cover()});
    EXPECT_EQ(p.video.presentCount(), 2u);
    EXPECT_FALSE(p.video.lastPresentUnchanged());
}
