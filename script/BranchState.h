#pragma once
#include "resources/Image.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class CTextLabel;

// The rows "@select" offers. Rows beyond choiceCount keep whatever an earlier choice left.
class ChoiceSet {
public:
    static constexpr int32_t kMaxRows = 4;
    static constexpr int32_t kRowX = 144;
    static constexpr int32_t kRowWidth = 512;
    static constexpr int32_t kRowHeight = 28;

    ChoiceSet();
    ~ChoiceSet();
    ChoiceSet(const ChoiceSet&) = delete;
    ChoiceSet& operator=(const ChoiceSet&) = delete;

    // Top edge of row i when count rows are shown: the rows sit centred around y 262.
    static int32_t rowTop(int32_t count, int32_t i);

    int32_t choiceCount = 0;
    int32_t choiceSelected = 0;
    std::array<std::string, kMaxRows> choiceText;
    std::array<std::string, kMaxRows> choiceTarget;
    // Two bytes per row that the parser sets to 0 and 1.
    std::array<std::array<uint8_t, 2>, kMaxRows> choiceMarks{};
    // The rows' text images; made on the first "@select" that has a display device.
    std::array<std::unique_ptr<CTextLabel>, kMaxRows> labels;
};

// One definition of a hot-spot region's section: the pointer shape shown while the section
// is next (or, for a loop entry, the section that comes after it).
struct HotSpotEntry {
    int32_t target = -1;
    uint8_t loop = 0;
};

// The regions of "@clickable": a colour-coded map and the numbered sections per region.
class HotSpotSet {
public:
    static constexpr int32_t kRegions = 7;   // A..G
    static constexpr int32_t kSections = 32; // 0..31 per region

    // Forgets the definitions and the section counters, and the map.
    void reset();
    // The region at a point of the picture: 1..7 for A..G, 0 for a colour of no region,
    // -1 outside the map (or with no map at all).
    int32_t regionAt(int32_t x, int32_t y) const;
    // The entry of region index r (0 = A) and section n; an undefined entry outside the table.
    HotSpotEntry entry(int32_t r, int32_t n) const;

    CImage clickMap;
    std::string clickMapPath;
    std::array<std::array<HotSpotEntry, kSections>, kRegions> hotSpotTable{};
    std::array<int32_t, kRegions> sectionCounter{};
    int32_t scriptStart = 0;
    int32_t activeRegion = -1; // region index (0 = A) whose section runs, -1 before the first
    int32_t hoverCursor = -1;  // pointer shape over a region; -1 the normal pointer
};

// The region a map pixel names, from its red, green and blue bytes (the alpha byte plays no
// part): 1..7 for A..G, 0 for any other colour.
int32_t regionForColour(uint8_t r, uint8_t g, uint8_t b);
