#pragma once
#include "core/ScreenState.h"

#include <array>
#include <cstdint>
#include <string>

class CDirectX;

// The backlog's buttons; the two arrows count as buttons while the pointer is over them.
enum class BacklogButton : int32_t { JumpBack = 1, Return = 2, Up = 3, Down = 4 };

// Where the backlog's parts sit.
struct BacklogLayout {
    static constexpr float kJumpStartX = 800.0f, kReturnStartX = 1056.0f;
    static constexpr float kJumpRestX = 576.0f, kReturnRestX = 704.0f;
    static constexpr float kSlideSpeed = 0.896f; // pixels per millisecond
    static constexpr int kButtonY = 572;
    static constexpr int kJumpW = 128, kReturnW = 64, kButtonH = 16;
    // Where the pointer picks a button (inclusive).
    static constexpr int kPickTop = 557, kPickBottom = 603;
    static constexpr int kJumpLeft = 577, kJumpRight = 703, kReturnLeft = 705, kReturnRight = 767;
    static constexpr int kArrowX = 760, kArrowSize = 16, kUpY = 446, kDownY = 533;
    // The scroll track, and where holding the left button on it picks an entry (inclusive).
    static constexpr int kTrackX = 760, kTrackY = 464, kTrackW = 16, kTrackH = 67, kTrackAlpha = 64;
    static constexpr int kTrackLeft = 761, kTrackRight = 775, kTrackTop = 465, kTrackBottom = 530;
    // The pointer's row on the track maps to an entry over this span from this row.
    static constexpr int kPickSpan = 63, kPickOrigin = 468;
    static constexpr int kThumbTop = 462, kThumbTravel = 55, kThumbSize = 16;
};

// The backlog screen (screen state 7): the message window pages back through the history.
class BacklogState {
public:
    int32_t historyIndex = 0; // the entry shown
    ScreenState previousScreen = ScreenState::Game;
    BacklogButton selectedButton = BacklogButton::Return;
    // The button the keys last chose, which the selection returns to when the pointer leaves
    // an arrow.
    BacklogButton restingButton = BacklogButton::Return;
    bool sliding = false;
    std::array<float, 2> buttonX{BacklogLayout::kJumpStartX, BacklogLayout::kReturnStartX};
    // The pointer of the previous frame: it takes the highlight only when it moves.
    int32_t lastMouseX = -1, lastMouseY = -1;

    // The message window as the game left it, put back when the backlog closes.
    struct WindowPage {
        std::array<std::string, 3> lines;
        std::string speakerName;
        uint16_t nameColour = 0xFFFF;
        uint8_t nameWindowVisible = 0;
        int32_t typeLine = -1;
        size_t typeByte = 0;
        uint8_t clickMarkVisible = 0;
        uint8_t windowHidden = 0;
        int32_t windowAlpha = 255;
    } page;
};

// The entry of the scroll track under pointer row y, for count messages (more than two).
int32_t backlogEntryAt(int y, int count);
// The top of the thumb for entry index of count messages (more than two).
int32_t backlogThumbY(int index, int count);

// From the game screen (Page Up, keypad 9, the wheel turned up): true when the backlog opened.
// It opens with more than one message kept, while no transition, window effect or menu runs.
bool openBacklog(CDirectX& dx);
// The draw-and-input routine of screen state 7.
void runBacklog(CDirectX& dx);

void registerBacklogScreen(CDirectX& dx);
