#pragma once
#include "platform/Window.h"

#include <cstdint>
#include <string>

namespace platform {

// What the installer's window procedure receives.
enum class PictureEventKind {
    Paint,        // the client area must be drawn again
    MouseMove,    // x, y in client pixels
    LeftButtonUp, // x, y in client pixels
    Close,        // the user asked to close the window
    Text,         // typed characters (UTF-8 in text), for the in-window path entry
    Backspace,
    Enter,
    Escape,
};

struct PictureEvent {
    PictureEventKind kind = PictureEventKind::Paint;
    int x = 0, y = 0;
    std::string text;
};

enum class PointerShape { Arrow, Hand };

// A small fixed-size window that shows a 32-bit picture the program paints itself, and
// reports the pointer, clicks, typing and closing. The installer's window; the game's own
// window is Window + Video.
class PictureWindow {
public:
    virtual ~PictureWindow() = default;

    // Creates and shows a window whose client area is width x height at (x, y) on the desktop.
    virtual bool create(const std::string& captionSjis, int x, int y, int width, int height) = 0;
    virtual void destroy() = 0;
    // The part of the desktop not taken by panels.
    virtual Rect workArea() = 0;

    // Takes the next event. wait: block until one comes. False when none is waiting (and,
    // with wait, when none can come any more).
    virtual bool nextEvent(PictureEvent& ev, bool wait) = 0;

    // Shows a picture of 0xAARRGGBB words (alpha ignored), width per row.
    virtual void present(const uint32_t* argb, int width, int height) = 0;
    virtual void setPointer(PointerShape shape) = 0;
    // Typed characters arrive as Text events only while this is on.
    virtual void setTextInput(bool on) = 0;
};

} // namespace platform
