#pragma once
// The typing game's side of the engine object: the screen's state, the line being typed,
// lives and the display, and the pictures it draws with.
#include "graphics/InterfaceSprites.h"
#include "graphics/Textures.h"
#include "graphics/CSprite.h"
#include "typing/TypingEngine.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class Font;
}

enum class TypingState : int32_t {
    RunningScript = 0,
    KeyWait = 1,
    BackgroundWait = 2,
    Typing = 3,
    GameOver = 4,
    FadeOut = 5,
};

// Glyphs drawn into the cells of one 256 x 256 texture, eight to a row.
struct GlyphStrip {
    static constexpr int kCells = 64;
    CTEXTURE_A4R4G4B4 texture;
    std::array<CSprite, kCells> sprites;
    int count = 0;
};

inline constexpr int32_t kTypingLives = 5;
inline constexpr size_t kTypingSprites = size_t(SpriteId::TypeGameOverBanner) - size_t(SpriteId::TypeDigit0) + 1;

class TypingMode {
public:
    std::string TypingScriptName;
    TypingState state = TypingState::RunningScript;
    int32_t Lives = kTypingLives;
    int32_t Accuracy = 100;
    bool HudShown = false;
    FixedText<64> MessageText;
    uint16_t messageColour = 0xFFF;
    bool WaitActive = false;
    int32_t WaitElapsed = 0;
    int32_t WaitDuration = 0;
    // "EOF" was met as a command: the script has halted.
    bool halted = false;
    // The black overlay of the fade to the game-over script.
    int32_t fadeAlpha = 0;
    TypingLine line;

    // ---- pictures, made at the first start and kept ----
    bool resourcesReady = false;
    CTEXTURE typeTexture; // "SYSTEM\\typetex.png"
    std::array<CSprite, kTypingSprites> sprites;
    GlyphStrip display, romaji, message;
    std::shared_ptr<platform::Font> font;
    // Every printable ASCII character in the typed and the guide colour, so that the romaji
    // line is redrawn from memory while the player types.
    std::vector<uint16_t> asciiGlyphs;

    CSprite& sprite(SpriteId id) { return sprites[size_t(id) - size_t(SpriteId::TypeDigit0)]; }
};
