#pragma once
#include <cstdint>

// What the frame dispatcher read for this frame before any screen runs: the pointer in picture
// coordinates, whether it is over the picture, and this frame's click edges. Screens only read
// it; the dispatcher writes it once a frame and clears the clicks when the frame is drawn.
class FrameInput {
public:
    int32_t mouseX() const { return mouseX_; }
    int32_t mouseY() const { return mouseY_; }
    bool cursorInside() const { return cursorInside_; }
    bool leftClicked() const { return leftClicked_; }
    bool rightClicked() const { return rightClicked_; }

    // The dispatcher, after reading the window's pointer.
    void setPointer(int32_t x, int32_t y, bool inside)
    {
        mouseX_ = x;
        mouseY_ = y;
        cursorInside_ = inside;
    }
    // The arrow keys walked the pointer (the choice rows): the window's pointer moved with it.
    void movePointer(int32_t x, int32_t y)
    {
        mouseX_ = x;
        mouseY_ = y;
    }
    // The dispatcher, after taking the frame's button-press edges.
    void setClicks(bool left, bool right)
    {
        leftClicked_ = left;
        rightClicked_ = right;
    }
    // The frame was drawn, or a click on its way must not reach what follows.
    void dropClicks() { setClicks(false, false); }

private:
    int32_t mouseX_ = 0, mouseY_ = 0;
    bool cursorInside_ = false;
    bool leftClicked_ = false, rightClicked_ = false;
};
