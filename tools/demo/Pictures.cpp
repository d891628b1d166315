#include "tools/demo/Pictures.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <optional>

namespace demo {

namespace {

constexpr int W = 800, H = 600;

Paint solid(uint32_t rgb, float a = 1.0f) { return Paint::solid(hex(rgb, a)); }

struct Palette {
    std::vector<std::pair<float, Color>> sky;
    uint32_t hillFar, hillMid, hillNear, haze;
};

Palette paletteFor(Sky sky)
{
    switch (sky) {
    case Sky::Day:
        return {{{0.0f, hex(0x2F6FCF)}, {0.45f, hex(0x7DB8F2)}, {0.75f, hex(0xD8ECFF)}, {1.0f, hex(0xEAF6FF)}},
                0x8FB8A0, 0x5E9E5A, 0x3F7F3A, 0xDDEEFF};
    case Sky::Sunset:
        return {{{0.0f, hex(0x262A66)}, {0.3f, hex(0x7A4C98)}, {0.55f, hex(0xE97B5E)}, {0.72f, hex(0xFFCB7A)}, {1.0f, hex(0xFFE2A8)}},
                0x9A6A8A, 0x6A4A70, 0x3E2F4E, 0xFFB890};
    case Sky::Night:
        return {{{0.0f, hex(0x03061A)}, {0.45f, hex(0x0E1A42)}, {0.75f, hex(0x223468)}, {1.0f, hex(0x2C3F74)}},
                0x2A3A66, 0x1C2A50, 0x10193A, 0x3A4F88};
    case Sky::Dawn:
        return {{{0.0f, hex(0x3A4F9A)}, {0.4f, hex(0x9A9AD0)}, {0.65f, hex(0xF7C6C0)}, {1.0f, hex(0xFFE9D0)}},
                0xA8A8C8, 0x7888A8, 0x4A5A7A, 0xFFE0D8};
    }
    return {};
}

float hillCurve(float x, float base, float amp, float phase, float freq)
{
    return base - amp * (0.6f * std::sin(x * freq + phase) + 0.3f * std::sin(x * freq * 2.3f + phase * 1.7f) +
                         0.1f * std::sin(x * freq * 5.1f + phase * 0.3f));
}

void clouds(Image& img, uint64_t seed, Color c)
{
    Rng rng(seed);
    for (int i = 0; i < 5; ++i) {
        const float cx = rng.range(40, 760), cy = rng.range(60, 240), s = rng.range(0.6f, 1.3f);
        for (int k = 0; k < 6; ++k) {
            const float ox = (float(k) - 2.5f) * 28 * s, oy = -std::fabs(float(k) - 2.5f) * -4 * s - (k % 2) * 12 * s;
            img.ellipse(cx + ox, cy + oy, 34 * s, 20 * s, Paint::linear(c, {0, cy - 30 * s}, mix(c, hex(0xB8C8E0, c.a), 0.5f), {0, cy + 20 * s}), 6);
        }
    }
}

void meteorsOver(Image& img, uint64_t seed, int count)
{
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        const float x = rng.range(100, 780), y = rng.range(20, 260), len = rng.range(60, 180);
        const float dx = -len * 0.8f, dy = len * 0.45f;
        img.line(x, y, x + dx, y + dy, 2.2f, Paint::linear(hex(0xFFFFFF, 0.95f), {x, y}, hex(0xA0C0FF, 0.0f), {x + dx, y + dy}), 1.2f,
                 Blend::Add);
        img.glow(x, y, 10, hex(0xFFFFFF), 0.9f);
    }
}

// The bell tower on the hill: stone body, roof, arched opening with the bell.
void bellTower(Image& img, float x, float ground, float scale, Color body, Color roof, bool lit)
{
    const float w = 44 * scale, h = 110 * scale;
    img.rect(x - w / 2, ground - h, w, h + 8, Paint::solid(body), 2);
    img.polygon({{x - w / 2 - 10 * scale, ground - h}, {x, ground - h - 50 * scale}, {x + w / 2 + 10 * scale, ground - h}},
                Paint::solid(roof));
    const float ay = ground - h + 18 * scale;
    img.rect(x - 12 * scale, ay, 24 * scale, 34 * scale, Paint::solid(lit ? hex(0xFFD88A) : hex(0x1A1A2A)), 11 * scale);
    img.ellipse(x, ay + 22 * scale, 9 * scale, 10 * scale, Paint::solid(lit ? hex(0xC88A2A) : hex(0x8A6A3A)));
    if (lit)
        img.glow(x, ay + 18 * scale, 60 * scale, hex(0xFFC870), 0.55f);
}

} // namespace

Image skyWithHills(Sky sky, uint64_t seed, bool tower, bool meteors)
{
    const Palette p = paletteFor(sky);
    Image img(W, H);
    img.verticalGradient(p.sky);
    if (sky == Sky::Night) {
        img.stars(seed, 420, 0, 420, 1.0f);
        // Crescent moon: a disc with a second disc carved out of it.
        img.glow(640, 110, 140, hex(0x8FA8FF), 0.35f);
        img.fillSdf(590, 60, 690, 160,
                    [](float x, float y) {
                        const float a = std::hypot(x - 640, y - 110) - 44;
                        const float b = std::hypot(x - 660, y - 98) - 40;
                        return std::max(a, -b);
                    },
                    Paint::linear(hex(0xFFF6D8), {600, 70}, hex(0xF0D890), {680, 150}), 1.2f);
        if (meteors)
            meteorsOver(img, seed ^ 0xABC, 7);
    } else if (sky == Sky::Sunset || sky == Sky::Dawn) {
        img.glow(sky == Sky::Sunset ? 220.0f : 560.0f, 400, 320, hex(0xFFB060), 0.6f);
        img.circle(sky == Sky::Sunset ? 220.0f : 560.0f, 395, 46, Paint::solid(hex(0xFFE9B0)), 2);
        clouds(img, seed, hex(sky == Sky::Sunset ? 0xF6A0A0 : 0xFFFFFF, 0.55f));
        if (sky == Sky::Dawn)
            img.stars(seed, 60, 0, 160, 0.5f);
    } else {
        img.glow(120, 80, 260, hex(0xFFFFF0), 0.35f);
        clouds(img, seed, hex(0xFFFFFF, 0.85f));
    }
    const float ph = float(seed % 97) * 0.1f;
    img.fillBelow([&](float x) { return hillCurve(x, 420, 40, ph, 0.006f); },
                  Paint::linear(mix(hex(p.hillFar), hex(p.haze), 0.3f), {0, 360}, hex(p.hillFar), {0, 600}));
    img.fillBelow([&](float x) { return hillCurve(x, 470, 35, ph + 2.0f, 0.009f); },
                  Paint::linear(hex(p.hillMid), {0, 420}, mix(hex(p.hillMid), hex(0x000000), 0.3f), {0, 600}));
    auto near = [&](float x) { return 520.0f - 90.0f * std::exp(-std::pow((x - 560) / 220.0f, 2.0f)) + 6 * std::sin(x * 0.02f); };
    if (tower)
        bellTower(img, 560, near(560) + 4, 1.0f, mix(hex(p.hillNear), hex(0xC0B8A8), sky == Sky::Night ? 0.15f : 0.55f),
                  mix(hex(p.hillNear), hex(0x8A3A3A), sky == Sky::Night ? 0.2f : 0.7f), sky == Sky::Night);
    img.fillBelow(near, Paint::linear(hex(p.hillNear), {0, 430}, mix(hex(p.hillNear), hex(0x000000), 0.4f), {0, 600}));
    // Grass tufts along the near ridge.
    Rng rng(seed + 17);
    const Color grass = mix(hex(p.hillNear), hex(0x000000), 0.15f);
    for (int i = 0; i < 90; ++i) {
        const float x = rng.range(0, 800), y = near(x) + rng.range(2, 60);
        img.line(x, y, x + rng.range(-4, 4), y - rng.range(6, 14), 1.6f, Paint::solid(grass));
    }
    if (sky == Sky::Night) {
        // Fireflies of light in the grass.
        for (int i = 0; i < 14; ++i)
            img.glow(rng.range(0, 800), rng.range(470, 590), 8, hex(0xD8FF90), 0.8f);
    }
    return img;
}

Image room(bool night)
{
    Image img(W, H);
    img.verticalGradient({{0.0f, hex(0xF2E4CC)}, {0.7f, hex(0xE6D2B4)}, {1.0f, hex(0xD8C2A0)}});
    // Window with the sky outside.
    Image outside = skyWithHills(night ? Sky::Night : Sky::Day, night ? 41 : 42, true, false);
    img.rect(96, 76, 288, 228, solid(0xFFFFFF), 4);
    img.draw(outside.resized(264, 198).crop(0, 0, 264, 198), 108, 88);
    img.rect(236, 88, 8, 198, solid(0xFFFFFF));
    img.rect(108, 183, 264, 8, solid(0xFFFFFF));
    // Curtains.
    for (int side = 0; side < 2; ++side) {
        const float x = side == 0 ? 70.0f : 350.0f;
        img.polygon({{x, 60}, {x + 60, 60}, {x + 44 + (side ? 10.0f : -10.0f), 330}, {x + 6, 340}},
                    Paint::linear(hex(0x7FA7D8), {x, 0}, hex(0x5A7FB8), {x + 60, 0}), 1.2f);
    }
    img.rect(60, 54, 360, 10, solid(0x8A6A4A), 4);
    // Floor with planks.
    img.rect(0, 430, 800, 170, Paint::linear(hex(0xB98A5A), {0, 430}, hex(0x8A5E36), {0, 600}));
    for (int i = 0; i < 8; ++i)
        img.line(0, 440.0f + float(i * i) * 2.6f + float(i) * 4, 800, 440.0f + float(i * i) * 2.6f + float(i) * 4, 1.5f,
                 solid(0x7A5030, 0.5f));
    img.rect(0, 424, 800, 10, solid(0xF8F0E0));
    // Bed between the shelf and the door.
    img.rect(420, 330, 270, 140, solid(0x9A6A44), 10);
    img.rect(428, 300, 258, 80, Paint::linear(hex(0xFFFFFF), {0, 300}, hex(0xDCE6F2), {0, 380}), 18);
    img.rect(436, 286, 84, 40, solid(0xFFF8F0), 16);
    img.rect(530, 320, 156, 70, Paint::linear(hex(0xF3A9B8), {530, 0}, hex(0xE07E98), {686, 0}), 16);
    // Desk and lamp on the left.
    img.rect(40, 360, 200, 18, solid(0x8A5E36), 4);
    img.rect(50, 376, 14, 90, solid(0x7A4E2A));
    img.rect(216, 376, 14, 90, solid(0x7A4E2A));
    img.rect(120, 330, 8, 32, solid(0x606070));
    img.polygon({{104, 330}, {144, 330}, {136, 304}, {112, 304}}, solid(night ? 0xFFE0A0 : 0xF0E6C8));
    // Shelf with books.
    img.rect(430, 110, 200, 12, solid(0x8A5E36), 3);
    const uint32_t bookColours[] = {0xC85050, 0x4A78C0, 0xE0B040, 0x50A070, 0x8A60B0, 0xD07A40, 0x4090A0};
    for (int i = 0; i < 9; ++i)
        img.rect(440.0f + float(i) * 20, 62.0f + float(i % 3) * 6, 16, 48.0f - float(i % 3) * 6, solid(bookColours[i % 7]), 2);
    // Door at the far right edge.
    img.rect(700, 120, 90, 310, Paint::linear(hex(0xC8A070), {700, 0}, hex(0xA07A50), {790, 0}), 4);
    img.circle(712, 280, 6, solid(0xE8C860));
    if (night) {
        img.tint(hex(0x5060A0), 0.55f);
        img.glow(124, 318, 220, hex(0xFFC878), 0.7f);
    }
    return img;
}

Image townEvening(bool meteors)
{
    Image img = skyWithHills(Sky::Sunset, 77, false, false);
    if (meteors) {
        img.verticalGradient(paletteFor(Sky::Night).sky);
        img.stars(78, 380, 0, 400, 1.0f);
        meteorsOver(img, 79, 12);
    }
    Rng rng(80);
    float x = -20;
    while (x < 820) {
        const float w = rng.range(70, 130), h = rng.range(90, 190), base = 560;
        const Color wall = mix(hex(0x2A2440), hex(0x4A3A5A), rng.uniform());
        img.rect(x, base - h, w, h + 60, Paint::solid(wall));
        img.polygon({{x - 8, base - h}, {x + w / 2, base - h - rng.range(20, 50)}, {x + w + 8, base - h}},
                    Paint::solid(mix(wall, hex(0x000000), 0.3f)));
        for (float wy = base - h + 18; wy < base - 30; wy += 34)
            for (float wx = x + 12; wx < x + w - 20; wx += 30)
                if (rng.uniform() < 0.6f) {
                    img.rect(wx, wy, 14, 18, solid(0xFFD27A), 1);
                    img.glow(wx + 7, wy + 9, 22, hex(0xFFB050), 0.25f);
                }
        x += w + rng.range(4, 20);
    }
    img.rect(0, 560, 800, 40, Paint::linear(hex(0x3A3050), {0, 560}, hex(0x1A1428), {0, 600}));
    // Street lamps.
    for (float lx : {140.0f, 420.0f, 700.0f}) {
        img.rect(lx - 3, 470, 6, 110, solid(0x202030));
        img.circle(lx, 466, 9, solid(0xFFF0C0));
        img.glow(lx, 466, 70, hex(0xFFD080), 0.6f);
    }
    return img;
}

Image titlePicture(const LabelPainter& label)
{
    Image img = skyWithHills(Sky::Night, 2005, true, true);
    // A soft band of the galaxy across the sky.
    for (int i = 0; i < 12; ++i)
        img.glow(60.0f + float(i) * 64, 60.0f + float(i) * 18, 120, hex(0x6A7AD0), 0.12f);
    img.stars(2006, 300, 0, 300, 0.8f);
    if (label) {
        // The title with a warm glow: the lettering drawn in gold around itself, then white.
        Image logo(800, 140);
        label(logo, "星降る丘の鐘", 0, 0, 800, 140, hex(0xFFFFFF), 76);
        Image halo = logo;
        halo.tint(hex(0xFFC060), 1.0f);
        for (int i = 0; i < 12; ++i) {
            const float a = float(i) * 3.14159265f / 6.0f;
            img.draw(halo, int(std::lround(4 * std::cos(a))), 70 + int(std::lround(4 * std::sin(a))), 0.12f);
        }
        img.draw(logo, 0, 70);
        Image sub(800, 40);
        label(sub, "― Demo ―", 0, 0, 800, 40, hex(0xD8E4FF), 22);
        img.draw(sub, 0, 200);
    }
    return img;
}

Image character(int who, int expression)
{
    Image img(kCharacterWidth, kCharacterHeight);
    const bool girl = who == 0;
    const Color hair = girl ? hex(0x2B3A67) : hex(0x6B4A2E);
    const Color hairLight = girl ? hex(0x4A64A8) : hex(0x9A7048);
    const Color skin = hex(0xFCE3D2);
    const Color skinShade = hex(0xF2C8B0);
    const Color outfit = girl ? hex(0xF4F6FA) : hex(0x3F7F7A);
    const Color outfitShade = girl ? hex(0xCCD4E4) : hex(0x2A5A56);
    const float soft = 1.6f;   // soft alpha edge on every outline
    const float cx = 256;

    // Long hair behind the body.
    if (girl) {
        const Paint back = Paint::linear(hair, {0, 180}, hairLight, {0, 560});
        img.ellipse(cx, 214, 110, 118, back, soft);
        img.polygon({{146, 232}, {366, 232}, {392, 520}, {330, 560}, {182, 560}, {120, 520}}, back, soft);
    }
    // Body: one outline with sloping, rounded shoulders; the arms are marked by folds.
    const Paint outfitPaint = Paint::linear(outfit, {0, 330}, outfitShade, {0, 608});
    std::vector<Vec2> body;
    for (const Vec2& v : Image::bezier({232, 338}, {180, 352}, {150, 378}, 8))
        body.push_back(v);
    for (const Vec2& v : Image::bezier({150, 378}, {112, 404}, {116, 470}, 8))
        body.push_back(v);
    body.push_back({108, 608});
    body.push_back({404, 608});
    for (const Vec2& v : Image::bezier({396, 470}, {400, 404}, {362, 378}, 8))
        body.push_back(v);
    for (const Vec2& v : Image::bezier({362, 378}, {332, 352}, {280, 338}, 8))
        body.push_back(v);
    img.polygon(body, outfitPaint, soft);
    img.stroke(Image::bezier({166, 430}, {160, 520}, {164, 608}, 10), 3, Paint::solid(outfitShade), 1.5f);
    img.stroke(Image::bezier({346, 430}, {352, 520}, {348, 608}, 10), 3, Paint::solid(outfitShade), 1.5f);
    // Neck.
    img.rect(238, 280, 36, 76, Paint::linear(skinShade, {0, 290}, skin, {0, 356}), 12, soft);
    if (girl) {
        // Sailor collar and ribbon.
        img.polygon({{176, 356}, {336, 356}, {256, 452}}, Paint::solid(hex(0x2B3A67)), soft);
        img.polygon({{206, 356}, {306, 356}, {256, 420}}, Paint::solid(skin), soft);
        img.line(184, 366, 256, 452, 3, Paint::solid(hex(0xFFFFFF)), 1);
        img.line(328, 366, 256, 452, 3, Paint::solid(hex(0xFFFFFF)), 1);
        img.polygon({{256, 440}, {214, 420}, {220, 470}}, Paint::solid(hex(0xD94A5A)), soft);
        img.polygon({{256, 440}, {298, 420}, {292, 470}}, Paint::solid(hex(0xD94A5A)), soft);
        img.circle(256, 442, 10, Paint::solid(hex(0xB8384A)), soft);
    } else {
        // Open jacket over a white shirt.
        img.polygon({{222, 356}, {290, 356}, {272, 608}, {240, 608}}, Paint::solid(hex(0xF4F4F4)), soft);
        img.polygon({{216, 350}, {256, 420}, {236, 430}, {200, 366}}, Paint::solid(hex(0x2A5A56)), soft);
        img.polygon({{296, 350}, {256, 420}, {276, 430}, {312, 366}}, Paint::solid(hex(0x2A5A56)), soft);
        for (int i = 0; i < 3; ++i)
            img.circle(256, 460.0f + float(i) * 40, 4, Paint::solid(hex(0xB0B0B0)), 1);
    }
    // Head and ears.
    img.ellipse(cx - 86, 222, 14, 20, Paint::solid(skinShade), soft);
    img.ellipse(cx + 86, 222, 14, 20, Paint::solid(skinShade), soft);
    // Face: round at the brow, narrowing to a soft chin.
    std::vector<Vec2> face;
    for (int i = 0; i < 64; ++i) {
        const float a = float(i) / 64.0f * 2.0f * 3.14159265f;
        const float down = std::max(0.0f, std::cos(a));   // 1 at the chin
        const float narrow = 1.0f - 0.28f * down * down * down;
        face.push_back({cx + 88.0f * std::sin(a) * narrow, 200.0f + (std::cos(a) > 0 ? 106.0f : 96.0f) * std::cos(a)});
    }
    img.polygon(face, Paint::radial(skin, {cx - 20, 190}, skinShade, 150), soft);

    // Eyes.
    const Color iris = girl ? hex(0x3C6FD1) : hex(0xA0642A);
    const Color irisDark = girl ? hex(0x1D2F6F) : hex(0x50301A);
    for (int side = -1; side <= 1; side += 2) {
        const float ex = cx + float(side) * 36, ey = 226;
        if (expression == 1) {
            // Happy closed eyes: arches.
            img.stroke(Image::bezier({ex - 16, ey + 6}, {ex, ey - 14}, {ex + 16, ey + 6}), 5, Paint::solid(irisDark), 1.2f);
        } else {
            const float open = expression == 2 ? 0.85f : 1.0f;
            img.ellipse(ex, ey, 16, 21 * open, Paint::solid(hex(0xFFFFFF)), 1.2f);
            img.ellipse(ex, ey + 2, 12, 17 * open, Paint::linear(irisDark, {0, ey - 16}, iris, {0, ey + 16}), 1.2f);
            img.ellipse(ex, ey + 3, 5.5f, 8 * open, Paint::solid(hex(0x101020)), 1.2f);
            img.circle(ex - 5, ey - 6, 4, Paint::solid(hex(0xFFFFFF)), 1.0f);
            img.circle(ex + 4, ey + 8, 2, Paint::solid(hex(0xFFFFFF, 0.8f)), 1.0f);
            // Upper lash line.
            img.stroke(Image::bezier({ex - 18, ey - 12 * open}, {ex, ey - 26 * open}, {ex + 18, ey - 14 * open}), 4.5f,
                       Paint::solid(hex(0x20202C)), 1.2f);
        }
        // Brows: raised at the middle when sad.
        const float inner = expression == 2 ? -10.0f : 0.0f;
        img.line(ex - float(side) * 14, ey - 38 + inner, ex + float(side) * 16, ey - 36, 4, Paint::solid(mix(hair, hex(0x000000), 0.2f)), 1.2f);
    }
    // Nose and mouth.
    img.line(cx + 2, 252, cx - 1, 262, 2, Paint::solid(skinShade), 1);
    switch (expression) {
    case 0:
        img.stroke(Image::bezier({cx - 14, 282}, {cx, 290}, {cx + 14, 282}), 3, Paint::solid(hex(0xB05A5A)), 1.2f);
        break;
    case 1:
        img.fillSdf(cx - 24, 274, cx + 24, 306,
                    [&](float x, float y) {
                        const float d = std::hypot((x - cx) / 22.0f, (y - 277) / 24.0f) - 1.0f;
                        return std::max(d * 20.0f, 277 - y);
                    },
                    Paint::solid(hex(0xB04050)), 1.2f);
        img.ellipse(cx, 296, 11, 6, Paint::solid(hex(0xF08090)), 1.2f);
        img.ellipse(cx - 56, 262, 20, 10, Paint::solid(hex(0xFF8FA0, 0.45f)), 10);
        img.ellipse(cx + 56, 262, 20, 10, Paint::solid(hex(0xFF8FA0, 0.45f)), 10);
        break;
    default:
        img.stroke(Image::bezier({cx - 12, 290}, {cx, 280}, {cx + 12, 290}), 3, Paint::solid(hex(0xB05A5A)), 1.2f);
        if (girl)
            img.ellipse(cx + 42, 262, 5, 9, Paint::solid(hex(0xA8D8FF, 0.8f)), 2);
        break;
    }
    // Front hair.
    const Paint hairPaint = Paint::linear(hairLight, {cx - 60, 100}, hair, {cx + 40, 260});
    if (girl) {
        img.fillSdf(150, 90, 362, 200,
                    [&](float x, float y) {
                        const float cap = std::hypot((x - cx) / 104.0f, (y - 196) / 104.0f) - 1.0f;
                        const float edge = 158.0f + 30.0f * std::pow(std::fabs(x - cx) / 100.0f, 2.0f);
                        return std::max(cap * 100.0f, y - edge);
                    },
                    hairPaint, soft);
        img.polygon({{158, 170}, {204, 156}, {186, 236}}, hairPaint, soft);
        img.polygon({{196, 150}, {252, 148}, {228, 206}}, hairPaint, soft);
        img.polygon({{240, 148}, {300, 150}, {270, 214}}, hairPaint, soft);
        img.polygon({{290, 152}, {352, 168}, {330, 232}}, hairPaint, soft);
        // Side locks framing the face.
        img.polygon({{150, 170}, {180, 176}, {172, 260}, {160, 350}, {138, 320}}, hairPaint, soft);
        img.polygon({{332, 176}, {362, 170}, {374, 320}, {352, 350}, {340, 260}}, hairPaint, soft);
        img.stroke(Image::bezier({cx - 62, 128}, {cx - 10, 104}, {cx + 40, 118}), 5, Paint::solid(hex(0xFFFFFF, 0.35f)), 3);
    } else {
        img.fillSdf(156, 90, 356, 200,
                    [&](float x, float y) {
                        const float cap = std::hypot((x - cx) / 98.0f, (y - 192) / 98.0f) - 1.0f;
                        const float edge = 150.0f + 36.0f * std::pow(std::fabs(x - cx) / 100.0f, 2.0f);
                        return std::max(cap * 100.0f, y - edge);
                    },
                    hairPaint, soft);
        for (int i = 0; i < 6; ++i) {
            const float x0 = 164 + float(i) * 30;
            const float top = 150.0f + 30.0f * std::pow(std::fabs(x0 + 20 - cx) / 100.0f, 2.0f) - 8;
            img.polygon({{x0, top}, {x0 + 40, top}, {x0 + 14 + float(i % 2) * 6, top + 44.0f + float((i * 7) % 3) * 8}}, hairPaint, soft);
        }
        img.polygon({{238, 96}, {262, 72}, {270, 104}}, hairPaint, soft);
        img.stroke(Image::bezier({cx - 58, 126}, {cx - 10, 106}, {cx + 36, 120}), 4, Paint::solid(hex(0xFFFFFF, 0.3f)), 3);
    }
    return img;
}

const Image& characterShared(int who, int expression)
{
    // The event pictures reuse the six figures; painting each once keeps generation quick.
    static std::mutex lock;
    static std::optional<Image> cache[2][3];
    std::lock_guard<std::mutex> hold(lock);
    std::optional<Image>& slot = cache[std::clamp(who, 0, 1)][std::clamp(expression, 0, 2)];
    if (!slot)
        slot = character(who, expression);
    return *slot;
}

Image cutinBell()
{
    Image pic = skyWithHills(Sky::Night, 501, false, false).resized(400, 300).crop(0, 20, 400, 240);
    pic.glow(200, 120, 150, hex(0xFFC870), 0.5f);
    // A large bell.
    pic.fillSdf(130, 50, 270, 200,
                [](float x, float y) {
                    const float t = std::clamp((y - 60) / 120.0f, 0.0f, 1.0f);
                    const float half = 30 + 45 * t * t;
                    return std::max({std::fabs(x - 200) - half, 60 - y, y - 180});
                },
                Paint::linear(hex(0xF0C060), {150, 60}, hex(0x9A6A20), {250, 180}), 1.5f);
    pic.ellipse(200, 180, 76, 10, Paint::solid(hex(0xC89040)), 1.5f);
    pic.circle(200, 190, 12, Paint::solid(hex(0x7A5018)), 1.5f);
    pic.rect(192, 36, 16, 28, Paint::solid(hex(0x5A4030)), 3);
    pic.stroke(Image::bezier({160, 80}, {175, 130}, {166, 170}), 6, Paint::solid(hex(0xFFF0C0, 0.5f)), 3);
    Image framed(400, 240, hex(0xFFFFFF));
    framed.draw(pic.crop(4, 4, 392, 232), 4, 4);
    return framed;
}

Image cutinStar()
{
    Image pic = skyWithHills(Sky::Night, 777, false, false).resized(400, 300).crop(0, 0, 400, 240);
    pic.line(360, 30, 120, 170, 5, Paint::linear(hex(0xFFFFFF), {360, 30}, hex(0x80A0FF, 0.0f), {120, 170}), 2, Blend::Add);
    pic.glow(360, 30, 50, hex(0xFFFFFF), 1.0f);
    pic.glow(360, 30, 120, hex(0x90B0FF), 0.4f);
    Image framed(400, 240, hex(0xFFFFFF));
    framed.draw(pic.crop(4, 4, 392, 232), 4, 4);
    return framed;
}

const std::vector<CgRecipe>& cgRecipes()
{
    static const std::vector<CgRecipe> list = {
        {"00-01", "meteor shower over the hill"},  {"00-02", "the bell tower at sunset"},
        {"00-03", "the room at night"},            {"01-01", "Hikari on the hill, morning"},
        {"01-02a", "Hikari and Kai at sunset"},    {"01-03a", "Kai in the evening town"},
        {"02-01", "Hikari sad in her room"},       {"02-02", "the two under the stars"},
        {"03-01a", "Hikari under falling stars"},  {"03-02a", "the bell glowing at dusk"},
        {"03-03", "Kai at night by the lamp"},     {"04-01a", "a bright day together"},
        {"04-02a", "stars falling on the town"},   {"04-03", "Hikari alone at sunset"},
        {"04-04a", "Kai beneath the ringing bell"}, {"04-05a", "dawn on the hill"},
        {"04-06", "Hikari and the moon"},          {"04-07", "the last morning"},
    };
    return list;
}

Image cgPicture(int index)
{
    struct Shot {
        int scene;   // 0 hill day, 1 sunset, 2 night, 3 dawn, 4 room day, 5 room night, 6 town, 7 town meteors
        bool meteors;
        int who[2];   // -1 none
        int expr[2];
    };
    static const Shot shots[18] = {
        {2, true, {-1, -1}, {0, 0}}, {1, false, {-1, -1}, {0, 0}}, {5, false, {-1, -1}, {0, 0}},
        {0, false, {0, -1}, {1, 0}}, {1, false, {0, 1}, {0, 0}},   {6, false, {1, -1}, {1, 0}},
        {4, false, {0, -1}, {2, 0}}, {2, false, {0, 1}, {1, 0}},   {2, true, {0, -1}, {1, 0}},
        {1, false, {-1, -1}, {0, 0}}, {5, false, {1, -1}, {2, 0}}, {0, false, {0, 1}, {1, 1}},
        {7, true, {-1, -1}, {0, 0}}, {1, false, {0, -1}, {2, 0}},  {2, false, {1, -1}, {0, 0}},
        {3, false, {0, 1}, {1, 1}},  {2, false, {0, -1}, {0, 0}},  {0, false, {0, 1}, {1, 1}},
    };
    const Shot& s = shots[std::clamp(index, 0, 17)];
    const uint64_t seed = 1000 + uint64_t(index) * 13;
    Image img;
    switch (s.scene) {
    case 0: img = skyWithHills(Sky::Day, seed, true, false); break;
    case 1: img = skyWithHills(Sky::Sunset, seed, true, false); break;
    case 2: img = skyWithHills(Sky::Night, seed, true, s.meteors); break;
    case 3: img = skyWithHills(Sky::Dawn, seed, true, false); break;
    case 4: img = room(false); break;
    case 5: img = room(true); break;
    default: img = townEvening(s.scene == 7); break;
    }
    if (index == 9) {
        // The bell glowing at dusk: a close view of the tower.
        img.glow(560, 300, 260, hex(0xFFC870), 0.5f);
    }
    const int count = (s.who[0] >= 0) + (s.who[1] >= 0);
    for (int i = 0; i < 2; ++i) {
        if (s.who[i] < 0)
            continue;
        Image figure = characterShared(s.who[i], s.expr[i]).resized(384, 456);
        const int x = count == 1 ? (index % 2 ? 60 : 360) : (i == 0 ? 110 : 330);
        if (s.scene == 2 || s.scene == 5 || s.scene == 7)
            figure.tint(hex(0x7080C0), 0.35f);
        else if (s.scene == 1)
            figure.tint(hex(0xFFB890), 0.25f);
        img.draw(figure, x, 600 - 456 + 40);
    }
    return img;
}

Image lockedThumbnail()
{
    Image img(128, 96);
    img.verticalGradient({{0.0f, hex(0x1A2040)}, {1.0f, hex(0x0A0E20)}});
    img.stars(4242, 40, 0, 96, 0.6f);
    img.rect(50, 44, 28, 24, Paint::solid(hex(0x8088A8)), 4);
    img.fillSdf(50, 24, 78, 48,
                [](float x, float y) { return std::max(std::fabs(std::hypot(x - 64, y - 44) - 10) - 3, y - 46); },
                Paint::solid(hex(0x8088A8)), 1.2f);
    img.circle(64, 54, 3.5f, Paint::solid(hex(0x1A2040)));
    return img;
}

} // namespace demo
