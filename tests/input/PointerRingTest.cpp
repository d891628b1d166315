#include "input/PointerRing.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {
float angleOf(const PointerRingDot& d, float cx, float cy)
{
    float a = std::atan2(d.y - cy, d.x - cx) * 180.0f / 3.14159265f;
    return a < 0 ? a + 360.0f : a;
}
} // namespace

TEST(PointerRing, TurnsThreePointSixDegreesAMillisecondClockwiseOnScreen)
{
    auto at0 = pointerRing(100, 100, 0);
    auto at25 = pointerRing(100, 100, 25);
    auto at100 = pointerRing(100, 100, 100);
    EXPECT_NEAR(angleOf(at0[0], 100, 100), 0.0f, 0.01f);
    EXPECT_NEAR(angleOf(at25[0], 100, 100), 90.0f, 0.01f); // y grows downwards: clockwise
    EXPECT_GT(at25[0].y, 100.0f);
    EXPECT_NEAR(angleOf(at100[0], 100, 100), 0.0f, 0.01f); // one turn every 100 ms
}

TEST(PointerRing, EightDotsEvenlySpacedOnACircleWithAFadingTail)
{
    auto dots = pointerRing(400, 300, 1234);
    int prevAlpha = 256;
    for (int i = 0; i < kPointerRingDots; ++i) {
        const auto& d = dots[size_t(i)];
        EXPECT_NEAR(std::hypot(d.x - 400, d.y - 300), kPointerRingRadius, 0.01f);
        float gap = angleOf(dots[0], 400, 300) - angleOf(d, 400, 300);
        gap = std::fmod(gap + 720.0f, 360.0f);
        EXPECT_NEAR(gap, 45.0f * float(i), 0.05f);
        EXPECT_LT(d.alpha, prevAlpha);
        EXPECT_GT(d.alpha, 0);
        prevAlpha = d.alpha;
    }
    EXPECT_EQ(dots[0].alpha, 255);
}

TEST(PointerRing, AngleStaysExactWhenTheClockWraps)
{
    // 0xFFFFFFFF ms: 36 x that, modulo 3600, computed without overflow.
    auto dots = pointerRing(0, 0, 0xFFFFFFFFu);
    uint32_t tenths = uint32_t((uint64_t(0xFFFFFFFFu) * 36u) % 3600u);
    float expect = float(tenths) / 10.0f;
    EXPECT_NEAR(angleOf(dots[0], 0, 0), expect, 0.05f);
}
