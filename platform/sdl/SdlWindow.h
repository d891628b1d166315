#pragma once
#include "platform/Window.h"

#include <functional>
#include <vector>

union SDL_Event;
struct SDL_Window;

namespace platform {

// The main window on SDL. It owns the SDL event pump: window events become window
// messages, every other event goes to the listeners (input, video) registered here.
class SdlWindow final : public Window {
public:
    SdlWindow();
    ~SdlWindow() override;

    bool create(const std::string& titleSjis, int x, int y, int width, int height, bool fullscreen) override;
    void destroy() override;
    bool exists() const override { return window_ != nullptr; }
    void show(ShowCommand cmd) override;
    void raise() override;
    void setFullscreen(bool fullscreen) override;
    void setPosition(int x, int y) override;
    bool pollMessage(WindowEvent& ev) override;
    void waitForMessage(uint32_t ms) override;
    void cursorPos(int& x, int& y) override;
    void setCursorPos(int x, int y) override;
    Rect workArea() override;
    void desktopSize(int& width, int& height) override;
    int desktopBitsPerPixel() override;

    SDL_Window* sdlWindow() const { return window_; }
    bool isFullscreen() const { return fullscreen_; }
    void addEventListener(std::function<void(const SDL_Event&)> listener);

    // Where the 800x600 picture lies inside the window's drawable area (letterboxed in
    // full screen). Shared with the presentation so pointer and picture agree.
    Rect pictureRect() const;

protected:
    void applyCursorVisible(bool visible) override;

private:
    bool hasInputFocus() const;

    bool videoReady_ = false;
    SDL_Window* window_ = nullptr;
    bool fullscreen_ = false;
    // The framed geometry to come back to; a game started in full screen comes back at 800x600.
    int framedX_ = 0, framedY_ = 0, framedW_ = 800, framedH_ = 600;
    std::vector<std::function<void(const SDL_Event&)>> listeners_;
};

} // namespace platform
