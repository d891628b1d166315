#include "tools/demo/AnimationPictures.h"

#include "tools/demo/Pictures.h"

#include <algorithm>
#include <cmath>

namespace demo {

Image bellSwing(int frame)
{
    static const float kAngles[kBellSwingFrames] = {-20.0f, -7.0f, 7.0f, 20.0f};
    const float angle = kAngles[std::clamp(frame, 0, kBellSwingFrames - 1)] * 3.14159265f / 180.0f;
    const float c = std::cos(angle), s = std::sin(angle);
    const Vec2 pivot{256, 96};
    // Picture point to the bell's own upright frame around the pivot.
    auto upright = [=](float x, float y) {
        const float dx = x - pivot.x, dy = y - pivot.y;
        return Vec2{pivot.x + dx * c + dy * s, pivot.y - dx * s + dy * c};
    };
    auto placed = [=](float x, float y) {
        const float dx = x - pivot.x, dy = y - pivot.y;
        return Vec2{pivot.x + dx * c - dy * s, pivot.y + dx * s + dy * c};
    };

    Image img(kCharacterWidth, kCharacterHeight);
    // The beam and its two posts stand still.
    const Paint wood = Paint::linear(hex(0x7A5232), {0, 60}, hex(0x4A3020), {0, 110});
    img.rect(72, 70, 368, 26, wood, 4, 1.5f);
    img.rect(84, 90, 22, 518, Paint::solid(hex(0x5A3C26)), 3, 1.5f);
    img.rect(406, 90, 22, 518, Paint::solid(hex(0x5A3C26)), 3, 1.5f);

    // The bell: a flared body below the yoke, its lip and the clapper, swung about the pivot.
    img.fillSdf(96, 80, 416, 420,
                [=](float x, float y) {
                    const Vec2 p = upright(x, y);
                    const float t = std::clamp((p.y - 130) / 190.0f, 0.0f, 1.0f);
                    const float half = 44 + 66 * t * t;
                    return std::max({std::fabs(p.x - 256) - half, 124 - p.y, p.y - 320});
                },
                Paint::linear(hex(0xF4CC6A), {150, 130}, hex(0x94621E), {360, 330}), 1.5f);
    img.fillSdf(96, 80, 416, 420,
                [=](float x, float y) {
                    const Vec2 p = upright(x, y);
                    return std::max(std::fabs(p.x - 256) - 14, std::max(96 - p.y, p.y - 132));
                },
                Paint::solid(hex(0x4E3624)), 1.5f);
    const Vec2 lip = placed(256, 320);
    img.ellipse(lip.x, lip.y, 112, 13, Paint::solid(hex(0xC8943E)), 1.5f, angle);
    // The clapper lags the swing a little.
    const Vec2 clapper = placed(256 - 18 * s, 338);
    img.circle(clapper.x, clapper.y, 15, Paint::solid(hex(0x6A4418)), 1.5f);
    const Vec2 shine0 = placed(212, 170), shine1 = placed(200, 290);
    img.line(shine0.x, shine0.y, shine1.x, shine1.y, 7, Paint::solid(hex(0xFFF2C8, 0.55f)), 3);
    // At the ends of the swing the bell rings: a soft glow round the lip.
    if (frame == 0 || frame == kBellSwingFrames - 1)
        img.glow(lip.x, lip.y, 150, hex(0xFFD890), 0.45f);
    return img;
}

} // namespace demo
