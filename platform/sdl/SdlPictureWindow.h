#pragma once
#include "platform/PictureWindow.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;

namespace platform {

// The installer's window on SDL: a software renderer and one streaming texture of the
// client area's size.
class SdlPictureWindow final : public PictureWindow {
public:
    SdlPictureWindow() = default;
    ~SdlPictureWindow() override;

    bool create(const std::string& captionSjis, int x, int y, int width, int height) override;
    void destroy() override;
    Rect workArea() override;
    bool nextEvent(PictureEvent& ev, bool wait) override;
    void present(const uint32_t* argb, int width, int height) override;
    void setPointer(PointerShape shape) override;
    void setTextInput(bool on) override;

    SDL_Window* sdlWindow() const { return window_; }

private:
    bool videoReady();

    bool sdlInit_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    SDL_Cursor* arrow_ = nullptr;
    SDL_Cursor* hand_ = nullptr;
    PointerShape shape_ = PointerShape::Arrow;
    int width_ = 0, height_ = 0;
};

} // namespace platform
