#pragma once
#include <cstdint>
#include <memory>

class CDirectX;
namespace platform {
class Font;
}

// The yes/no box over every screen: "タイトルに戻りますか？" or "ゲームを終了しますか？".
// Whether it is open is CDirectX::confirmOpen, which every screen reads as "the game is
// paused"; the frame dispatcher runs no logic phase while it is open.
class ConfirmState {
public:
    static constexpr int32_t kYes = 0, kNo = 1;

    bool ConfirmToTitle = false;
    int32_t ConfirmChoice = kNo;
    // The frame the box was opened in: the key or click that opened it decides nothing.
    uint64_t openedAtFrame = 0;
    // The pointer position of the previous frame (-1 when just opened).
    int32_t lastMouseX = -1, lastMouseY = -1;
    std::shared_ptr<platform::Font> font;
};

// Opens the box unless one is already open; choice is kYes or kNo, the button highlighted.
void openConfirm(CDirectX& dx, bool toTitle, int32_t choice);
// Closing the window asks the quit question with "no" highlighted, as the title's quit does.
void openQuitQuestion(CDirectX& dx);
// Run by the frame dispatcher after the screen is drawn, every frame the box is open.
void ConfirmFrame(CDirectX& dx);

// The buttons: yes (256, 332)-(384, 364), no (416, 332)-(544, 364). Which one the 8 x 8
// square at the pointer touches; -1 neither.
int confirmButtonAt(int x, int y);
