#pragma once
#include "graphics/Textures.h"
#include "core/ScreenState.h"
#include "graphics/CSprite.h"

#include <array>
#include <cstdint>
#include <functional>

class CDirectX;

// The seven items of the title menu, in their order on screen.
enum class TitleItem : int32_t { NewGame, Load, Album, CgGallery, MusicRoom, Options, Quit, Count };

// The title screen's state (screen state 9).
class TitleState {
public:
    static constexpr int kItems = int(TitleItem::Count);
    static constexpr int kGlows = 4;

    enum Phase : int32_t { Entering = -1, Menu = 21, NewGameFade = 22 };

    int32_t TitlePhase = Entering;
    int32_t TitleCounter = 0;
    int32_t TitleSelection = 0;
    int32_t TitleLastSelection = -1;
    std::array<std::array<int32_t, kGlows>, kItems> TitleGlow{};
    float TitleFade = 0.0f;
    // The screen the load and options screens go back to when they close.
    ScreenState ReturnScreen = ScreenState::Title;

    // "SYSTEM\\logotex5.png" and the strips cut from it; a missing picture leaves them unset
    // and the menu is drawn without them.
    CTEXTURE logoTexture;
    std::array<CSprite, 8> strips;
    bool logoLoaded = false; // the texture's own content flag drops at every device reset
    bool backgroundLoaded = false;

    // The pointer position of the previous menu frame: the pointer only takes the highlight
    // when it moves, so the arrow keys work while it rests over the menu.
    int32_t lastMouseX = -1, lastMouseY = -1;

    // How each item opens its screen. Load, album, CG gallery, music room and options are
    // filled by those screens when they register; an empty entry plays the confirm sound and
    // the menu stays. New game and quit are the title's own.
    std::array<std::function<void(CDirectX&)>, kItems> menuEntries;
};

// Start-up: stops the music and the effects, loads the menu strips, "title.png" into
// background channel 0 and the four interface sounds, and enters the menu.
void EnterTitle(CDirectX& dx);
// From the return-to-title question, the ending and "@QUIT_TO_OP": the sound stops, the
// read-text record is written, the scene layers are reset and the title is entered.
void ReturnToTitle(CDirectX& dx);
// Loads the menu strips "SYSTEM\\logotex5.png" and "title.png" into background channel 0
// (again: the galleries come back to them after a replay).
void loadTitlePictures(CDirectX& dx);
// The message window and the interpreter's state as a scenario starts with them: empty page,
// no speaker, window shown, auto and skip off, no wait.
void resetScenarioScreen(CDirectX& dx);
// The title's frame (its draw phase reads its own input).
void TitleFrame(CDirectX& dx);

// Registers the title for screen state 9 and as the engine's way back to the title.
void registerTitleScreen(CDirectX& dx);
// What a screen opened from the title menu calls when it registers: item's entry.
void setTitleMenuEntry(CDirectX& dx, TitleItem item, std::function<void(CDirectX&)> open);

// Where the title menu's items and bands sit.
struct TitleLayout {
    static constexpr int kBandLeft = 288, kBandRight = 544; // x of the hover band, right exclusive
    static constexpr int kBandTop = 268, kBandHeight = 64, kPitch = 36;
    static constexpr int kItemX = 272, kItemY = 268;
    static constexpr int kShadowX = 274, kShadowY = 270;
    static constexpr int kStripW = 256, kStripH = 32;
};

// The item whose band holds the point, the later item winning where bands overlap; -1 none.
int titleItemAt(int x, int y);
// How much a glow copy has grown (0 at 255 ms left, 1 when it runs out).
float titleGlowGrowth(int32_t countdown);
