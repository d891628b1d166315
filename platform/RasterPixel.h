#pragma once
// Per-pixel blend arithmetic on 0xAARRGGBB words. The functions have internal linkage on
// purpose: the wide-vector translation units include them too, and a copy compiled for a
// wider instruction set must never be the one the rest of the program links to.
#include <cstdint>

namespace platform::raster {

// Rounded division by 255 for 0 <= x <= 65535 + 255, exact.
static inline uint32_t div255(uint32_t x)
{
    x += 128;
    return (x + (x >> 8)) >> 8;
}

// s * a + d * (255 - a) over 255 on every channel; two channels per 32-bit word.
static inline uint32_t lerpPacked(uint32_t s, uint32_t d, uint32_t a)
{
    uint32_t ia = 255 - a;
    uint32_t rb = (s & 0x00FF00FFu) * a + (d & 0x00FF00FFu) * ia + 0x00800080u;
    uint32_t ag = ((s >> 8) & 0x00FF00FFu) * a + ((d >> 8) & 0x00FF00FFu) * ia + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return rb | ag;
}

// d * (255 - a) over 255 on every channel.
static inline uint32_t darkenPacked(uint32_t d, uint32_t a)
{
    uint32_t ia = 255 - a;
    uint32_t rb = (d & 0x00FF00FFu) * ia + 0x00800080u;
    uint32_t ag = ((d >> 8) & 0x00FF00FFu) * ia + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return rb | ag;
}

// s * t over 255 channel by channel.
static inline uint32_t tintPacked(uint32_t s, uint32_t t)
{
    if (t == 0xFFFFFFFFu)
        return s;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= div255(((s >> shift) & 255) * ((t >> shift) & 255)) << shift;
    return out;
}

} // namespace platform::raster
