#pragma once
#include <array>
#include <cstdint>

// The ring of eight glowing dots the pointer carries while the display runs in software:
// it turns at 3.6 degrees per millisecond around the pointer's hot spot, the leading dot
// brightest and the others fading behind it like a tail.
struct PointerRingDot {
    float x, y; // centre of the dot
    int alpha;
};

constexpr int kPointerRingDots = 8;
constexpr float kPointerRingRadius = 14.0f;
constexpr float kPointerRingDotSize = 8.0f;

// The dots around (cx, cy) at time ms (any millisecond clock).
std::array<PointerRingDot, kPointerRingDots> pointerRing(float cx, float cy, uint32_t ms);
