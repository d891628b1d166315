#pragma once
#include "core/GameState.h"
#include "graphics/Textures.h"
#include "graphics/CSprite.h"
#include "sound/VoiceQueue.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {
class Font;
class Fonts;
class Video;
} // namespace platform
class CPackArchive;
class FontSheet;

// One speaker of "@def_text": 22 bytes in the game's own layout.
struct CharacterName {
    char name[18] = {};       // zero-terminated
    uint16_t colour = 0xFFFF; // A4R4G4B4 base colour of the name glyphs (alpha bits ignored)
    uint8_t window = 0;       // the name plate is shown for this speaker
    uint8_t reserved = 0;
};
static_assert(sizeof(CharacterName) == 22);

// Which tile effect runs and in which direction.
enum class WindowEffectMode : int32_t {
    HideFx1 = 0, // "@textwindow_fx1 hide"
    ShowFx1 = 1, // "@textwindow_fx1 show"
    HideFx2 = 2, // "@textwindow_fx2 hide"
    ShowFx2 = 3, // "@textwindow_fx2 show"
};

// What one call of MessageWindow::advance reached; the game screen turns it into its state.
enum class AdvanceResult : int {
    Typing = 0,       // characters remain before the next stop
    PageComplete = 1, // the page is complete: GameState::PageClickWait
    Paused = 2,       // stopped at a pause character: GameState::PauseClickWait
};

// The tile effect of "@textwindow_fx1" / "@textwindow_fx2": the window area as 8 x 50 tiles
// of 16 x 16 that shrink away row by row (hide) or grow back (show).
struct WindowEffect {
    static constexpr int kRows = 8, kColumns = 50, kTiles = kRows * kColumns;
    bool effectRunning = false;
    WindowEffectMode effectMode = WindowEffectMode::HideFx1;
    std::array<int32_t, kTiles> delay{};
    std::array<int32_t, kTiles> value{};
    std::array<CSprite, kTiles> sprites;
};

// The message window: three typed-out lines, the speaker's name plate, the click-wait mark,
// and the state of auto and skip modes. The game screen drives it (text/TextScreen.cpp), the
// text commands fill it (text/TextCommands.cpp).
class MessageWindow {
public:
    static constexpr int kLines = 3;
    static constexpr int kMaxLineChars = 30;
    static constexpr int kMaxNameChars = 7;
    static constexpr int kCells = 96;
    static constexpr int kCharacterNames = 128;
    static constexpr int kTextOriginX = 28, kTextOriginY = 456;
    static constexpr int kWindowY = 444;
    static constexpr int kNameRow = 160; // y of the name cells in the second glyph texture

    MessageWindow();
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    // ---- page ----
    void clearPage();
    // 0, or -1 for an index outside 0..2. A line over 30 characters shows the fixed notice.
    int setLine(int index, std::string_view text);
    // The same without the limit, for text the window itself produced from a checked line.
    int setLineUnchecked(int index, std::string_view text);
    void setSpeaker(std::string_view name);
    void setNameColour(uint16_t colour) { nameColour = colour; }
    void showNameWindow(bool on) { nameWindowVisible = on ? 1 : 0; }
    // Types one character, or with all every character up to the next pause character or the
    // end.
    AdvanceResult advance(bool all);
    void showClickMark(bool on) { clickMarkVisible = on ? 1 : 0; }
    bool pageComplete() const { return typeLine < 0; }

    std::array<std::string, kLines> lines;
    std::array<int32_t, kLines> lineChars{};
    std::string speakerName;
    int32_t nameChars = 0;
    uint16_t nameColour = 0xFFFF;
    uint8_t nameWindowVisible = 0;

    // Typing cursor: line (-1 once the page is complete), byte offset and characters shown
    // on that line.
    int32_t typeLine = -1;
    size_t typeByte = 0;
    int32_t typeChar = 0;
    int32_t pauseCount = 0;

    // One typed character that has a glyph: where it stands and which cell holds it.
    struct Cell {
        int16_t line = 0;
        int16_t column = 0;
        bool sheetGlyph = false; // a circled number: drawn 8 pixels higher
    };
    std::array<Cell, kCells> cells{};
    int32_t cellsUsed = 0;

    // Click-wait mark position (screen pixels).
    int32_t markX = 40, markY = kTextOriginY + 10;
    uint8_t clickMarkVisible = 0;
    int32_t markFrame = 0;
    int32_t markTimer = 33;

    // ---- timing and modes ----
    int32_t textDelay = 0;
    int32_t charTimer = 0;
    int32_t autoElapsed = 0;
    uint8_t autoMode = 0, skipMode = 0, skipModeArmed = 0, ctrlSkip = 0;
    // Set in the frame in which Escape or a click ended skip mode, so that a click on the skip
    // button turns skip off instead of back on.
    uint8_t skipCancelledByInput = 0;
    // The frame dispatcher's own step, every frame before any screen's logic: Escape or a
    // mouse press ends skip mode, except in the frame that switched it on.
    void cancelSkipOnInput(bool escapeOrClick)
    {
        skipCancelledByInput = skipMode && !skipModeArmed && escapeOrClick;
        if (skipCancelledByInput)
            skipMode = 0;
        skipModeArmed = 0;
    }
    uint8_t noWait = 0;
    uint32_t messageCount = 0;
    int32_t decoration = 0; // 0 none, 1 shadow, 2 outline

    // ---- visibility ----
    uint8_t windowHidden = 0;
    int32_t windowAlpha = 255;
    GameState returnState = GameState::Ready; // the typing state a player's hide or show goes back to

    std::array<CharacterName, kCharacterNames> characterNames{};
    void resetCharacterNames() { characterNames.fill(CharacterName{}); }

    VoiceQueue voiceQueue;

    WindowEffect effect;
    // Starts an fx1/fx2 effect; random delays come from seed so that runs can be repeated.
    void startWindowEffect(WindowEffectMode mode);
    bool isWindowEffectRunning() const { return effect.effectRunning; }
    uint32_t effectSeed = 0x2545F491u;

    // ---- glyphs and pictures ----
    // Creates the two glyph textures and the window's font, loads the window pictures and the
    // mark; a missing picture is logged and drawn without. Safe to call again.
    void initResources(platform::Video* video, platform::Fonts* fonts, const CPackArchive& archive,
                       const FontSheet* sheet);
    bool resourcesReady() const { return glyphTextures[0].hasSurface(); }

    std::array<CTEXTURE_A4R4G4B4, 2> glyphTextures;
    std::shared_ptr<platform::Font> font;
    const FontSheet* fontSheet = nullptr;
    // The window pictures and the mark hold A4R4G4B4 texels (16-bit grey PNGs).
    CTEXTURE_A4R4G4B4 windowPictures[2];
    bool windowPictureLoaded[2] = {false, false};
    CTEXTURE_A4R4G4B4 markPicture;
    bool markLoaded = false;

    // Texture and texel rectangle of glyph cell i (0..95).
    static void cellTexel(int i, int& texture, int& x, int& y)
    {
        texture = i < 64 ? 0 : 1;
        const int k = i < 64 ? i : i - 64;
        x = 32 * (k % 8);
        y = 32 * (k / 8);
    }

    // Glyphs rasterised since start (for the measurements).
    uint64_t glyphsRendered = 0;

private:
    void renderGlyph(int cell, uint32_t code, uint16_t baseColour, int texture, int x, int y);
    void renderName();
    void typedCharacter(uint32_t code, size_t length);
};

// The fixed notices that replace an over-long line or name.
std::string_view lineTooLongNotice();
std::string_view nameTooLongNotice();
// Shift-JIS characters in s (a lead byte and its trail byte count once).
int32_t countSjisChars(std::string_view s);
// The bytes of s that fit a field of fieldSize bytes with its terminator, never half of a
// double-byte character.
size_t sjisBytesThatFit(std::string_view s, size_t fieldSize);
