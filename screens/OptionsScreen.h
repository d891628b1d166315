#pragma once
#include "core/ScreenState.h"

#include <cstdint>
#include <memory>
#include <string>

class CDirectX;
namespace platform {
class Font;
}

// The options screen's state (screen state 6): 33 controls in rows and the close button.
class OptionsState {
public:
    static constexpr int32_t kClose = -1;
    static constexpr int32_t kControls = 33;

    // The control under the pointer or the keyboard highlight, 0-32, or kClose.
    int32_t OptionsCursor = 0;
    // Title or game: where closing goes.
    ScreenState OptionsReturnScreen = ScreenState::Title;

    // The pointer position of the previous frame: the pointer takes the highlight only when
    // it moves, so the arrow keys work while it rests over a control.
    int32_t lastMouseX = -1, lastMouseY = -1;
    std::shared_ptr<platform::Font> font; // the help line's
};

// Opens the options over the screen returnTo (title or game); closing goes back there.
void openOptions(CDirectX& dx, ScreenState returnTo);
// The screen's frame (its draw phase reads its own input).
void OptionsFrame(CDirectX& dx);
// Registers the screen for state 6 and as the title menu's options item.
void registerOptionsScreen(CDirectX& dx);

// ---- layout ----

struct OptionsRect {
    int32_t x, y, w, h;
};

struct OptionsLayout {
    static constexpr OptionsRect kClose{720, 520, 32, 64};
    // The help line is wrapped and centred in this rectangle, clear of the close button.
    static constexpr OptionsRect kHelp{48, 528, 656, 56};
};

// The y of row 0-9.
int32_t optionsRowY(int32_t row);
// Control c's rectangle (c = -1 the close button).
OptionsRect optionsControlRect(int32_t control);
// The control whose rectangle holds the point; the close button is -1; -2 none.
int32_t optionsControlAt(int32_t x, int32_t y);
// Shift-JIS help line for the control (entry control + 1 of the table).
const std::string& optionsHelpLine(int32_t control);

enum class OptionsDirection { Up, Down, Left, Right };
// The control an arrow key moves the highlight to from control: Left and Right go to the
// nearest control of the same row on that side; Up and Down go to the nearest row above or
// below, to its control whose centre is horizontally nearest (the left one on a tie). Where
// there is none the highlight stays.
int32_t optionsMove(int32_t control, OptionsDirection direction);
