#pragma once
#include <cstdint>
#include <string>

namespace platform {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// The messages the main window procedure handles.
enum class WindowMessage {
    Activate,      // the window became the active one
    Deactivate,    // the application lost activation
    Close,         // the user asked to close the window
    Paint,         // part of the client area must be redrawn
    DisplayChange, // the desktop's mode changed; bitsPerPixel holds the new depth
};

struct WindowEvent {
    WindowMessage message = WindowMessage::Paint;
    int bitsPerPixel = 0;
};

enum class ShowCommand { Hide, Show, ShowNormal, Minimize };

// The one main window. The client area is the game's 800x600 picture in window mode;
// in full screen the window covers the display and the picture is scaled into it.
class Window {
public:
    virtual ~Window() = default;

    // Creates the window hidden. titleSjis is the caption in Shift-JIS.
    virtual bool create(const std::string& titleSjis, int x, int y, int width, int height, bool fullscreen) = 0;
    virtual void destroy() = 0;
    virtual bool exists() const = 0;
    virtual void show(ShowCommand cmd) = 0;
    // Brings the window to the front and gives it the focus.
    virtual void raise() = 0;
    virtual void setFullscreen(bool fullscreen) = 0;
    virtual void setPosition(int x, int y) = 0;

    // Takes the next waiting message; false when none is waiting. Never blocks.
    virtual bool pollMessage(WindowEvent& ev) = 0;
    // Waits until a message or an input event is waiting, or ms milliseconds have passed;
    // takes nothing.
    virtual void waitForMessage(uint32_t ms) = 0;

    // The pointer in client coordinates of the 800x600 picture (mapped back from a scaled
    // full-screen display).
    virtual void cursorPos(int& x, int& y) = 0;
    // Moves the pointer to a point of the 800x600 picture (mapped into a scaled full-screen
    // display), as keyboard control of the pointer needs.
    virtual void setCursorPos(int x, int y) = 0;

    // The area of the desktop not taken by panels, and the desktop's size and depth.
    virtual Rect workArea() = 0;
    virtual void desktopSize(int& width, int& height) = 0;
    virtual int desktopBitsPerPixel() = 0;

    // The outer size of a framed window whose client area is width x height. The window
    // manager draws frames outside the client area here, so this is the client size.
    virtual Rect adjustWindowRect(int width, int height) { return Rect{0, 0, width, height}; }

    // Show/hide with the display counter of the system cursor: the cursor is visible while
    // the counter is 0 or above. Returns the new counter.
    int showCursor(bool show)
    {
        cursorCount_ += show ? 1 : -1;
        applyCursorVisible(cursorCount_ >= 0);
        return cursorCount_;
    }
    int cursorCount() const { return cursorCount_; }

protected:
    virtual void applyCursorVisible(bool visible) = 0;

private:
    int cursorCount_ = 0;
};

} // namespace platform
