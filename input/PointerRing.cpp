#include "input/PointerRing.h"

#include <cmath>

std::array<PointerRingDot, kPointerRingDots> pointerRing(float cx, float cy, uint32_t ms)
{
    // In tenths of a degree, 3.6 degrees a millisecond is 36 tenths; the remainder keeps the
    // angle exact however long the program has run.
    uint32_t lead = uint32_t((uint64_t(ms) * 36u) % 3600u);
    std::array<PointerRingDot, kPointerRingDots> dots{};
    for (int i = 0; i < kPointerRingDots; ++i) {
        // Dot i trails the leading dot by i eighths of the circle.
        uint32_t tenths = (lead + 3600u - uint32_t(i) * (3600u / kPointerRingDots)) % 3600u;
        double rad = double(tenths) / 10.0 * 3.14159265358979323846 / 180.0;
        dots[size_t(i)] = PointerRingDot{cx + kPointerRingRadius * float(std::cos(rad)),
                                         cy + kPointerRingRadius * float(std::sin(rad)),
                                         255 * (kPointerRingDots - i) / kPointerRingDots};
    }
    return dots;
}
