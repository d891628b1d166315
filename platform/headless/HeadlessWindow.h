#pragma once
#include "platform/Window.h"

#include <deque>
#include <vector>

namespace platform {

// A window nobody sees: it records what was asked of it, and the test or the runner posts
// the messages and sets the pointer.
class HeadlessWindow final : public Window {
public:
    bool create(const std::string& titleSjis, int x, int y, int width, int height, bool fullscreen) override;
    void destroy() override { exists_ = false; }
    bool exists() const override { return exists_; }
    void show(ShowCommand cmd) override;
    void raise() override { ++raiseCount; }
    void setFullscreen(bool fullscreen) override { this->fullscreen = fullscreen; }
    void setPosition(int x, int y) override
    {
        this->x = x;
        this->y = y;
    }
    bool pollMessage(WindowEvent& ev) override;
    // No time passes here: the test or the runner moves the clock. The waits asked for are
    // kept for them to read.
    void waitForMessage(uint32_t ms) override
    {
        ++waits;
        lastWait = ms;
    }
    uint64_t waits = 0;
    uint32_t lastWait = 0;
    void cursorPos(int& x, int& y) override
    {
        x = pointerX;
        y = pointerY;
    }
    void setCursorPos(int x, int y) override
    {
        pointerX = x;
        pointerY = y;
    }
    Rect workArea() override { return work; }
    void desktopSize(int& width, int& height) override
    {
        width = desktopWidth;
        height = desktopHeight;
    }
    int desktopBitsPerPixel() override { return desktopBpp; }

    void post(WindowMessage m, int bitsPerPixel = 0) { queue_.push_back(WindowEvent{m, bitsPerPixel}); }

    // What the program asked for, for tests to read.
    std::string title;
    int x = 0, y = 0, width = 0, height = 0;
    bool fullscreen = false;
    bool visible = false;
    bool minimized = false;
    int raiseCount = 0;
    bool systemCursorVisible = true;
    std::vector<ShowCommand> showHistory;

    // The desktop the program sees.
    Rect work{0, 0, 1920, 1040};
    int desktopWidth = 1920, desktopHeight = 1080, desktopBpp = 32;
    int pointerX = 0, pointerY = 0;
    bool failCreate = false;

protected:
    void applyCursorVisible(bool visible) override { systemCursorVisible = visible; }

private:
    bool exists_ = false;
    std::deque<WindowEvent> queue_;
};

} // namespace platform
