#include "platform/sdl/SdlPictureWindow.h"

#include "platform/DebugOutput.h"
#include "platform/Text.h"

#include <SDL.h>

namespace platform {

SdlPictureWindow::~SdlPictureWindow()
{
    destroy();
    if (sdlInit_)
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

bool SdlPictureWindow::videoReady()
{
    if (!sdlInit_) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            debugOutput(std::string("ADV_SYSTEM: SDL video: ") + SDL_GetError());
            return false;
        }
        sdlInit_ = true;
    }
    return true;
}

bool SdlPictureWindow::create(const std::string& captionSjis, int x, int y, int width, int height)
{
    if (window_ || !videoReady())
        return false;
    const std::string caption = sjisToUtf8(captionSjis);
    window_ = SDL_CreateWindow(caption.c_str(), x, y, width, height, SDL_WINDOW_SHOWN);
    if (!window_) {
        debugOutput(std::string("ADV_SYSTEM: SDL_CreateWindow: ") + SDL_GetError());
        return false;
    }
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_)
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!renderer_ || !texture_) {
        debugOutput(std::string("ADV_SYSTEM: SDL renderer: ") + SDL_GetError());
        destroy();
        return false;
    }
    width_ = width;
    height_ = height;
    arrow_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    hand_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);
    SDL_StopTextInput();
    return true;
}

void SdlPictureWindow::destroy()
{
    if (texture_)
        SDL_DestroyTexture(texture_);
    if (renderer_)
        SDL_DestroyRenderer(renderer_);
    if (window_)
        SDL_DestroyWindow(window_);
    if (arrow_)
        SDL_FreeCursor(arrow_);
    if (hand_)
        SDL_FreeCursor(hand_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    arrow_ = hand_ = nullptr;
}

Rect SdlPictureWindow::workArea()
{
    SDL_Rect r{0, 0, 800, 600};
    if (videoReady() && SDL_GetDisplayUsableBounds(0, &r) != 0)
        SDL_GetDisplayBounds(0, &r);
    return Rect{r.x, r.y, r.x + r.w, r.y + r.h};
}

bool SdlPictureWindow::nextEvent(PictureEvent& out, bool wait)
{
    if (!window_)
        return false;
    SDL_Event e;
    for (;;) {
        int got = wait ? SDL_WaitEventTimeout(&e, 250) : SDL_PollEvent(&e);
        if (!got) {
            if (wait)
                continue;
            return false;
        }
        out = PictureEvent{};
        switch (e.type) {
        case SDL_QUIT:
            out.kind = PictureEventKind::Close;
            return true;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                out.kind = PictureEventKind::Close;
                return true;
            }
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_SHOWN) {
                out.kind = PictureEventKind::Paint;
                return true;
            }
            break;
        case SDL_MOUSEMOTION:
            out.kind = PictureEventKind::MouseMove;
            out.x = e.motion.x;
            out.y = e.motion.y;
            return true;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT) {
                out.kind = PictureEventKind::LeftButtonUp;
                out.x = e.button.x;
                out.y = e.button.y;
                return true;
            }
            break;
        case SDL_TEXTINPUT:
            out.kind = PictureEventKind::Text;
            out.text = e.text.text;
            return true;
        case SDL_KEYDOWN:
            switch (e.key.keysym.sym) {
            case SDLK_BACKSPACE:
                out.kind = PictureEventKind::Backspace;
                return true;
            case SDLK_RETURN:
            case SDLK_KP_ENTER:
                out.kind = PictureEventKind::Enter;
                return true;
            case SDLK_ESCAPE:
                out.kind = PictureEventKind::Escape;
                return true;
            default:
                break;
            }
            break;
        default:
            break;
        }
        if (!wait && !SDL_PollEvent(nullptr))
            return false;
    }
}

void SdlPictureWindow::present(const uint32_t* argb, int width, int height)
{
    if (!texture_ || width != width_ || height != height_)
        return;
    SDL_UpdateTexture(texture_, nullptr, argb, width * 4);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

void SdlPictureWindow::setPointer(PointerShape shape)
{
    if (shape == shape_)
        return;
    shape_ = shape;
    SDL_Cursor* c = shape == PointerShape::Hand ? hand_ : arrow_;
    if (c)
        SDL_SetCursor(c);
}

void SdlPictureWindow::setTextInput(bool on)
{
    if (on)
        SDL_StartTextInput();
    else
        SDL_StopTextInput();
}

} // namespace platform
