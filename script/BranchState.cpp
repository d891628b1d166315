#include "script/BranchState.h"

#include "graphics/CTextLabel.h"

ChoiceSet::ChoiceSet() = default;
ChoiceSet::~ChoiceSet() = default;

int32_t ChoiceSet::rowTop(int32_t count, int32_t i)
{
    return 172 + 90 - 30 * (count - 1) + 60 * i;
}

void HotSpotSet::reset()
{
    for (auto& region : hotSpotTable)
        region.fill(HotSpotEntry{});
    sectionCounter.fill(0);
    clickMap.Free();
    clickMapPath.clear();
    hoverCursor = -1;
}

int32_t HotSpotSet::regionAt(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= clickMap.width || y >= clickMap.height)
        return -1;
    const size_t at = (size_t(y) * size_t(clickMap.width) + size_t(x)) * 4;
    if (at + 3 > clickMap.pixels.size())
        return -1;
    const uint8_t* p = clickMap.pixels.data() + at;
    return regionForColour(p[2], p[1], p[0]);
}

HotSpotEntry HotSpotSet::entry(int32_t r, int32_t n) const
{
    if (r < 0 || r >= kRegions || n < 0 || n >= kSections)
        return HotSpotEntry{};
    return hotSpotTable[size_t(r)][size_t(n)];
}

int32_t regionForColour(uint8_t r, uint8_t g, uint8_t b)
{
    const uint32_t rgb = uint32_t(r) << 16 | uint32_t(g) << 8 | b;
    switch (rgb) {
    case 0xFF0000: return 1;
    case 0x00FF00: return 2;
    case 0x0000FF: return 3;
    case 0xFFFF00: return 4;
    case 0x00FFFF: return 5;
    case 0xFF00FF: return 6;
    case 0xFFFFFF: return 7;
    default: return 0;
    }
}
