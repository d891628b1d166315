#include "platform/sdl/SdlWindow.h"

#include "platform/DebugOutput.h"
#include "platform/Text.h"

#include <SDL.h>
#include <algorithm>

namespace platform {

SdlWindow::SdlWindow()
{
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0)
        videoReady_ = true;
    else
        debugOutput(std::string("ADV_SYSTEM: SDL video: ") + SDL_GetError());
}

SdlWindow::~SdlWindow()
{
    destroy();
    if (videoReady_)
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

bool SdlWindow::create(const std::string& titleSjis, int x, int y, int width, int height, bool fullscreen)
{
    if (!videoReady_ || window_)
        return false;
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
    if (fullscreen)
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    std::string title = sjisToUtf8(titleSjis);
    window_ = SDL_CreateWindow(title.c_str(), x, y, width, height, flags);
    if (!window_) {
        debugOutput(std::string("ADV_SYSTEM: SDL_CreateWindow: ") + SDL_GetError());
        return false;
    }
    fullscreen_ = fullscreen;
    return true;
}

void SdlWindow::destroy()
{
    if (window_)
        SDL_DestroyWindow(window_);
    window_ = nullptr;
}

void SdlWindow::show(ShowCommand cmd)
{
    if (!window_)
        return;
    switch (cmd) {
    case ShowCommand::Hide:
        SDL_HideWindow(window_);
        break;
    case ShowCommand::Show:
        SDL_ShowWindow(window_);
        break;
    case ShowCommand::ShowNormal:
        SDL_ShowWindow(window_);
        SDL_RestoreWindow(window_);
        break;
    case ShowCommand::Minimize:
        SDL_MinimizeWindow(window_);
        break;
    }
}

void SdlWindow::raise()
{
    if (window_) {
        SDL_ShowWindow(window_);
        SDL_RaiseWindow(window_);
    }
}

void SdlWindow::setFullscreen(bool fullscreen)
{
    if (!window_ || fullscreen == fullscreen_)
        return;
    if (fullscreen) {
        // Without a window manager the full-screen request reaches no one and the window
        // keeps its size while SDL draws for the whole display. Covering the display first,
        // borderless, makes both cases look the same; the framed geometry comes back after.
        SDL_GetWindowPosition(window_, &framedX_, &framedY_);
        SDL_GetWindowSize(window_, &framedW_, &framedH_);
        SDL_Rect bounds{0, 0, 800, 600};
        SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &bounds);
        SDL_SetWindowBordered(window_, SDL_FALSE);
        SDL_SetWindowPosition(window_, bounds.x, bounds.y);
        SDL_SetWindowSize(window_, bounds.w, bounds.h);
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(window_, 0);
        SDL_SetWindowBordered(window_, SDL_TRUE);
        if (framedW_ > 0 && framedH_ > 0) {
            SDL_SetWindowSize(window_, framedW_, framedH_);
            SDL_SetWindowPosition(window_, framedX_, framedY_);
        }
    }
    fullscreen_ = fullscreen;
}

void SdlWindow::setPosition(int x, int y)
{
    if (window_)
        SDL_SetWindowPosition(window_, x, y);
}

bool SdlWindow::pollMessage(WindowEvent& ev)
{
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        for (auto& l : listeners_)
            l(e);
        switch (e.type) {
        case SDL_QUIT:
            // Only signals reach here (quit-on-last-window is off): ask like a close does.
            ev = WindowEvent{WindowMessage::Close, 0};
            return true;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
            case SDL_WINDOWEVENT_CLOSE:
                ev = WindowEvent{WindowMessage::Close, 0};
                return true;
            // Re-creating the presentation can re-create the X window, which loses and
            // regains the focus on its own; only a change that still holds by now is the
            // user's, so stale ones are passed over.
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                if (!hasInputFocus())
                    break;
                ev = WindowEvent{WindowMessage::Activate, 0};
                return true;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                if (hasInputFocus())
                    break;
                ev = WindowEvent{WindowMessage::Deactivate, 0};
                return true;
            case SDL_WINDOWEVENT_EXPOSED:
                ev = WindowEvent{WindowMessage::Paint, 0};
                return true;
            default:
                break;
            }
            break;
        case SDL_DISPLAYEVENT:
            ev = WindowEvent{WindowMessage::DisplayChange, desktopBitsPerPixel()};
            return true;
        default:
            break;
        }
    }
    return false;
}

void SdlWindow::waitForMessage(uint32_t ms)
{
    // Without an event to fill in, the wait leaves the event where it is for pollMessage.
    if (ms > 0)
        SDL_WaitEventTimeout(nullptr, int(ms));
}

bool SdlWindow::hasInputFocus() const
{
    return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

Rect SdlWindow::pictureRect() const
{
    int w = 800, h = 600;
    if (window_)
        SDL_GetWindowSize(window_, &w, &h);
    if (w <= 0 || h <= 0)
        return Rect{0, 0, 800, 600};
    // Largest 4:3 rectangle that fits, centred.
    int pw = w, ph = w * 600 / 800;
    if (ph > h) {
        ph = h;
        pw = h * 800 / 600;
    }
    int left = (w - pw) / 2, top = (h - ph) / 2;
    return Rect{left, top, left + pw, top + ph};
}

void SdlWindow::cursorPos(int& x, int& y)
{
    // Like GetCursorPos and ScreenToClient the pointer is wanted also when it is outside
    // the window. Over the window SDL's own position is exact; away from it the desktop
    // position is used, but X servers may hand back a stale one, and a pointer SDL knows to
    // be elsewhere is never reported inside the window.
    int wx = 0, wy = 0;
    if (!window_ || SDL_GetMouseFocus() == window_) {
        SDL_GetMouseState(&wx, &wy);
    } else {
        int gx = 0, gy = 0, ox = 0, oy = 0, ww = 0, wh = 0;
        SDL_GetGlobalMouseState(&gx, &gy);
        SDL_GetWindowPosition(window_, &ox, &oy);
        SDL_GetWindowSize(window_, &ww, &wh);
        wx = gx - ox;
        wy = gy - oy;
        if (wx >= 0 && wy >= 0 && wx < ww && wy < wh)
            wx = wy = -1;
    }
    if (!fullscreen_) {
        x = wx;
        y = wy;
        return;
    }
    Rect r = pictureRect();
    int pw = std::max(1, r.width()), ph = std::max(1, r.height());
    // Map back into the picture; floor division keeps points left of the picture negative.
    long dx = long(wx - r.left) * 800, dy = long(wy - r.top) * 600;
    x = int(dx >= 0 ? dx / pw : -((-dx + pw - 1) / pw));
    y = int(dy >= 0 ? dy / ph : -((-dy + ph - 1) / ph));
}

void SdlWindow::setCursorPos(int x, int y)
{
    if (!window_)
        return;
    if (!fullscreen_) {
        SDL_WarpMouseInWindow(window_, x, y);
        return;
    }
    // The inverse of cursorPos: from the picture into the letterboxed display.
    Rect r = pictureRect();
    SDL_WarpMouseInWindow(window_, r.left + int(long(x) * r.width() / 800), r.top + int(long(y) * r.height() / 600));
}

Rect SdlWindow::workArea()
{
    SDL_Rect r{0, 0, 1024, 768};
    int display = window_ ? std::max(0, SDL_GetWindowDisplayIndex(window_)) : 0;
    if (SDL_GetDisplayUsableBounds(display, &r) != 0)
        SDL_GetDisplayBounds(display, &r);
    return Rect{r.x, r.y, r.x + r.w, r.y + r.h};
}

void SdlWindow::desktopSize(int& width, int& height)
{
    SDL_DisplayMode mode{};
    int display = window_ ? std::max(0, SDL_GetWindowDisplayIndex(window_)) : 0;
    if (SDL_GetDesktopDisplayMode(display, &mode) == 0) {
        width = mode.w;
        height = mode.h;
    } else {
        width = 800;
        height = 600;
    }
}

int SdlWindow::desktopBitsPerPixel()
{
    SDL_DisplayMode mode{};
    int display = window_ ? std::max(0, SDL_GetWindowDisplayIndex(window_)) : 0;
    if (SDL_GetDesktopDisplayMode(display, &mode) != 0)
        return 32;
    int bpp = SDL_BITSPERPIXEL(mode.format);
    // X servers report depth 24 for 32-bit visuals.
    return bpp == 24 ? 32 : bpp;
}

void SdlWindow::addEventListener(std::function<void(const SDL_Event&)> listener)
{
    listeners_.push_back(std::move(listener));
}

void SdlWindow::applyCursorVisible(bool visible)
{
    if (videoReady_)
        SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

} // namespace platform
