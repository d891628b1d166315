#pragma once
#include "graphics/Textures.h"
#include "graphics/CSprite.h"
#include "scene/EffectsState.h"
#include "scene/PictureBlocks.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CPackArchive;

// Directions of scrolls and slides; a word that is none of these keeps the previous one.
enum class SceneDirection { Up, Down, Left, Right, LeftTop, LeftBottom, RightTop, RightBottom };

// The x of the five character positions: 144 centres a 512-wide picture, 288 puts it
// against the right edge.
inline constexpr std::array<int, 5> ChrPositionTable = {-86, 0, 144, 288, 376};

// An 800x600 picture cut into 4 x 3 blocks of 256; column 3 keeps 32 columns, row 2 keeps
// 88 rows.
inline constexpr int kBgBlocks = 12;
inline constexpr int kTileColumns = 25, kTileRows = 19, kTiles = kTileColumns * kTileRows;
constexpr int bgBlockWidth(int column) { return column == 3 ? 32 : 256; }
constexpr int bgBlockHeight(int row) { return row == 2 ? 88 : 256; }

struct BackgroundChannels {
    // Channel 0: textures drawn as alpha-controlled 32x32 tiles, so fades need no per-pixel work.
    std::array<CTEXTURE, kBgBlocks> textures;
    std::array<CSprite, kTiles> tiles;
    // Channel 1: surfaces drawn by plain copies.
    std::array<CSystemSurface_R8G8B8, kBgBlocks> surfaces;
    std::array<std::string, 2> name; // last name loaded into each channel
    std::array<BlockSource, 2> source;
    int current = 0;
};

struct OptionBackground {
    std::array<CSystemSurface_R8G8B8, kBgBlocks> surfaces;
    bool active = false;
    std::string name;
    BlockSource source;
};

struct CharacterGroup {
    // Per channel: four 256 quarters of the top 512x512 and one texture holding the bottom
    // 512x96 strip as two 256x96 halves stacked.
    std::array<std::array<CTEXTURE, 5>, 2> textures;
    std::array<std::array<CSprite, 6>, 2> sprites;
    std::array<std::array<CSprite, 6>, 2> shadows;
    std::array<std::string, 2> name;
    std::array<BlockSource, 2> source;
    int current = 0;
    bool visible = false;
    bool shadow = true;
    int position = 0;
    // Turn: progress runs to duration; a group with a zero-time turn flips at once.
    float turnProgress = 0.0f;
    float turnRate = 0.0f;
    int32_t turnDuration = 0;
    bool turnPending = false;
};

struct CutinSlot {
    std::unique_ptr<CSystemSurface_R8G8B8> surface; // made at the picture's size
    int width = 0, height = 0;
    std::string name;
};

struct CrossFade {
    bool active = false;
    float remaining = 0.0f;
    float rate = 0.0f;
};

struct BackgroundScroll {
    bool active = false;
    bool sync = false;      // the interpreter waits for it
    bool skippable = false; // Ctrl and "off" end it; never for the nosync form
    int pages = 2;
    SceneDirection direction = SceneDirection::Up;
    float speed = 0.0f;
    float position = 0.0f;
    float distance = 0.0f;
};

struct CharacterSlide {
    bool active = false;
    bool out = false;
    SceneDirection direction = SceneDirection::Left;
    int startX = 0, startY = 0, targetX = 0, targetY = 0;
    int x = 0, y = 0;
    uint32_t startTime = 0;
    int32_t time = 0;
};

struct CharacterChange {
    bool active = false;
    float remaining1 = 0.0f, rate1 = 0.0f;
    float remaining2 = 0.0f, rate2 = 0.0f;
    float oldAlpha = 255.0f;
};

struct CharacterFade {
    bool active = false;
    bool in = true;
    float elapsed = 0.0f, remaining = 0.0f, rate = 0.0f;
    int32_t time = 0;
};

struct CutinSlide {
    bool active = false;
    bool out = false;
    SceneDirection direction = SceneDirection::Up;
    int startX = 0, startY = 0, targetX = 0, targetY = 0;
    uint32_t startTime = 0;
    int32_t time = 0;
};

// Everything the game screen shows under the message window. Created once with the display
// device; the textures and surfaces are in the device's registry, so a device loss rebuilds
// them from their shadows.
class SceneState {
public:
    SceneState();

    BackgroundChannels bg;
    OptionBackground optionBg;
    std::array<CharacterGroup, 3> groups;
    std::array<CutinSlot, 4> cutins;
    int cutinShown = 0;
    bool cutinVisible = false;
    int cutinX = 0, cutinY = 0;

    // Full-screen white and black quads for the colour fades.
    CSprite whiteOverlay, blackOverlay;

    // Shared timers.
    CrossFade crossFade;
    BackgroundScroll scroll;
    CharacterSlide slide;
    CharacterChange change;
    bool turnActive = false;
    CharacterFade fade;
    CutinSlide cutinSlide;
    // Offsets the shake adds to background and character draws.
    int shakeX = 0, shakeY = 0;
    ShakeEffect shake;
    ColourOverlay overlay;
    SpecialEffects effects;
    AnimationState animation;
    bool presentationBusy = false;

    // Times of the last background or character load, for the log lines of the commands.
    int32_t lastDiskMs = 0, lastVramMs = 0;

    bool created = false;

    // Makes every texture and surface on the device. False when one could not be made.
    bool create(platform::Video* device);

    // Tile alpha of the tiled channel (clamped).
    void setTileAlpha(int a);
    // Main sprites get a, shadow sprites a / 2.
    void setGroupAlpha(int group, int channel, int a);
    // Hidden, shadow on, position 0, no turn.
    void resetCharacterGroup(int group);
    // The layers as a new game or the title finds them: every character group reset, no
    // cut-in, no transition, shake or colour overlay running, channel 0 current and opaque.
    // The pictures stay loaded.
    void resetLayers();

    // A picture of the archive straight into a channel's blocks (clipped to the picture; the
    // rest cleared); the result is LoadPNG's. A load that fails half-way puts the channel's
    // last picture back.
    int loadBackgroundBlocks(int channel, std::string_view entry, const CPackArchive& archive);
    int loadOptionBackgroundBlocks(std::string_view entry, const CPackArchive& archive);
    int loadCharacterBlocks(int group, int channel, std::string_view entry, const CPackArchive& archive);
    // Both background channels one colour.
    void fillBackgroundChannels(uint32_t argb);
    // The picture the option background shows when no script gave one.
    void fillDefaultOptionBackground();

    // True while the interpreter must not run for a scroll with its sync flag.
    bool scrollHoldsScript() const { return scroll.active && scroll.sync; }
};
