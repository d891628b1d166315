#pragma once
// The typing line and the keystroke engine: which keys are read, how each one moves the
// reading position, the guide and the score. Plain data and functions; the screen polls the
// keys, plays the sounds and draws.
#include "typing/FixedText.h"
#include "typing/KanaMatch.h"

#include <array>
#include <cstdint>

// The keys the engine reads, in the order they are handled when several come in one frame.
struct TypingKey {
    uint8_t scanCode; // keyboard scan code of the key
    char character;   // what it types
};

inline constexpr std::array<TypingKey, 28> TypingKeyTable{{
    {0x1E, 'A'}, {0x30, 'B'}, {0x2E, 'C'}, {0x20, 'D'}, {0x12, 'E'}, {0x21, 'F'}, {0x22, 'G'},
    {0x23, 'H'}, {0x17, 'I'}, {0x24, 'J'}, {0x25, 'K'}, {0x26, 'L'}, {0x32, 'M'}, {0x31, 'N'},
    {0x18, 'O'}, {0x19, 'P'}, {0x10, 'Q'}, {0x13, 'R'}, {0x1F, 'S'}, {0x14, 'T'}, {0x16, 'U'},
    {0x2F, 'V'}, {0x11, 'W'}, {0x2D, 'X'}, {0x15, 'Y'}, {0x2C, 'Z'}, {0x0C, '-'}, {0x33, ','},
}};

// 12-bit colours of the romaji line: what was typed, and the guide still to type.
inline constexpr uint16_t kTypedColour = 0xF70;
inline constexpr uint16_t kGuideColour = 0xFFF;

inline constexpr int32_t kLineTimeMs = 20000;
inline constexpr int32_t kResultMs = 1000;
inline constexpr int32_t kPointsPerKey = 300;
inline constexpr int32_t kCleanLineBonus = 50000;
inline constexpr int32_t kMaxClearStreak = 99;
inline constexpr int32_t kCleanLineMistypes = 3; // a line with fewer mistypes is clean

using TypingText = FixedText<128>;

struct TypingLine {
    TypingText DisplayText;
    int32_t DisplayLength = 0;
    TypingText KanaText;
    TypingText GuideText;
    TypingText TypedHistory;
    TypingText KeyBuffer;
    int32_t KanaPos = 0;
    int32_t KeystrokeCount = 0;
    int32_t MistypeCount = 0;
    bool LineDone = true;
    int32_t TimeLeft = 0;
    int32_t TimeAtEnd = 0;
    int32_t ResultTimer = 0;
    bool ShowClear = false;
    // Across lines, for one visit of the typing game.
    int32_t ClearStreak = 0;
    int32_t Score = 0;
};

// What a frame's keys asked of the screen.
struct TypingKeyResult {
    bool acceptSound = false;   // slot 3
    bool rejectSound = false;   // slot 2
    bool romajiChanged = false; // RenderRomajiLine
    bool finished = false;      // the line was completed this frame
};

// A new line: reading position 0, nothing typed, 20000 ms. The texts are set by the caller.
void StartTypingLine(TypingLine& line);

// The two-byte kana at byte index pos of the reading (0 past its end).
KanaCode kanaAt(const TypingText& kana, int32_t pos);

// Handles the keys newly pressed this frame; bit k of pressed is TypingKeyTable[k]. Keys
// after the one that finishes the line are ignored.
TypingKeyResult ProcessTypingKeys(TypingLine& line, uint32_t pressed);

// Counts the line's time down by delta; true when it ran out just now (the line ends).
bool TickTypingLine(TypingLine& line, int32_t delta);

// 100 - mistypes per keystroke in percent; 100 before the first key.
int32_t typingAccuracy(const TypingLine& line);
