#pragma once
#include <array>
#include <cstdint>
#include <functional>

class CDirectX;

// The buttons of the in-game menu; Close is the round button at (752, 412).
enum class GameMenuItem : int32_t { Save, Load, Options, ReturnToTitle, Close, Count };

// The row of buttons that slides in over the game screen.
class GameMenuState {
public:
    static constexpr int kButtons = 4;
    static constexpr int kItems = int(GameMenuItem::Count);

    bool open = false;    // shown (sliding in, resting or sliding out)
    bool closing = false; // sliding out
    std::array<float, kButtons> buttonX{};
    int32_t selection = 0; // a GameMenuItem
    float closeAngle = 0.0f;
    bool closeHovered = false;
    // The message window was shown when the menu opened; it is shown again when it closes.
    bool windowWasShown = false;
    // A new game or a game loaded from the title: save and load are offered. A gallery's
    // scene has only options and the way back to the title.
    bool storyGame = false;
    // The pointer of the previous frame: it takes the highlight only when it moves.
    int32_t lastMouseX = -1, lastMouseY = -1;

    // What an item opens, for the items of other screens (options). An item without an entry
    // plays the decision sound and the menu stays.
    std::array<std::function<void(CDirectX&)>, kItems> entries;
};

struct GameMenuLayout {
    static constexpr int kButtonW = 128, kButtonH = 32, kY = 412;
    static constexpr int kRestX = 240;     // button i rests at 240 + 128 i
    static constexpr int kStartX = 800;    // button i starts at 800 + 600 i
    static constexpr int kStartPitch = 600;
    static constexpr float kInSpeed = 5.12f;  // pixels per millisecond
    static constexpr float kOutSpeed = 2.56f;
    static constexpr float kTurnSpeed = 0.36f; // degrees per millisecond
    static constexpr int kCloseX = 752, kCloseY = 412, kCloseSize = 32;
    static int restX(int i) { return kRestX + kButtonW * i; }
};

// What a screen reached from the menu calls when it registers (the options screen).
void setGameMenuEntry(CDirectX& dx, GameMenuItem item, std::function<void(CDirectX&)> open);

// Slides the menu in (from the game screen: Backspace or the round button).
void openGameMenu(CDirectX& dx);
// Takes the menu away without a slide, the window as it is (a load puts its own window back).
void closeGameMenuAtOnce(CDirectX& dx);
// The item of the menu under (x, y), or -1.
int gameMenuItemAt(const CDirectX& dx, int x, int y);

void gameMenuLogic(CDirectX& dx);
void drawGameMenu(CDirectX& dx);

// Wraps the game screen's phases: keys 1 and 2 open the save and load screens, Backspace and
// the round button open the menu, Page Up, keypad 9 and the wheel turned up open the backlog,
// and while the menu is shown it has the input.
void registerGameMenu(CDirectX& dx);
