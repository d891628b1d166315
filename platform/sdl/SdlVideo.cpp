#include "platform/sdl/SdlVideo.h"

#include "platform/DebugOutput.h"
#include "platform/sdl/SdlWindow.h"

#include <SDL.h>
#include <algorithm>
#include <cstring>
#include <thread>

namespace platform {

namespace {

// A GL renderer that is itself a rasteriser running on the processor (a machine without a
// GPU, or Xvfb): it spends two threads drawing one picture the window surface shows for the
// price of a copy.
bool glDrawsInSoftware(SDL_Renderer* renderer)
{
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || !info.name || std::strncmp(info.name, "opengl", 6) != 0)
        return false;
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (!getString)
        return false;
    constexpr unsigned kGlRenderer = 0x1F01;
    const char* name = reinterpret_cast<const char*>(getString(kGlRenderer));
    if (!name)
        return false;
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "swrast"})
        if (std::strstr(name, software))
            return true;
    return false;
}

} // namespace

SdlVideo::SdlVideo(SdlWindow& window) : window_(window)
{
    // Anything that may have spoiled the window's contents makes the next frame go out in full.
    window_.addEventListener([this](const SDL_Event& e) {
        if (e.type == SDL_WINDOWEVENT || e.type == SDL_RENDER_TARGETS_RESET || e.type == SDL_RENDER_DEVICE_RESET)
            showAllUntil_ = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    });
}

SdlVideo::~SdlVideo()
{
    close();
}

VideoOpenResult SdlVideo::openPresentation(Window& window, bool fullscreen, bool accelerated)
{
    if (&window != &window_ || !window_.sdlWindow())
        return VideoOpenResult::NoVideo;
    window_.setFullscreen(fullscreen);
    if (fullscreen && !window_.isFullscreen())
        return VideoOpenResult::NoFullscreen;
    Uint32 flags = accelerated ? (SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC) : SDL_RENDERER_SOFTWARE;
    renderer_ = SDL_CreateRenderer(window_.sdlWindow(), -1, flags);
    if (renderer_ && accelerated && glDrawsInSoftware(renderer_)) {
        // Same picture, same pacing: the frame cap stands in for the vertical sync.
        debugOutput("ADV_SYSTEM: the GL renderer draws in software; presenting through the window surface\n");
        SDL_DestroyRenderer(renderer_);
        // Left to itself SDL backs the window surface with a GL texture again.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        renderer_ = SDL_CreateRenderer(window_.sdlWindow(), -1, SDL_RENDERER_SOFTWARE);
    }
    if (!renderer_) {
        debugOutput(std::string("ADV_SYSTEM: SDL_CreateRenderer: ") + SDL_GetError());
        return VideoOpenResult::NoRenderer;
    }
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight);
    if (!texture_) {
        debugOutput(std::string("ADV_SYSTEM: SDL_CreateTexture: ") + SDL_GetError());
        SDL_DestroyRenderer(renderer_);
        renderer_ = nullptr;
        return VideoOpenResult::NoBackBuffer;
    }
    SDL_RendererInfo info{};
    // The software renderer reports the flag without ever waiting for the display.
    vsync_ = accelerated && SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0 &&
             (info.flags & SDL_RENDERER_SOFTWARE) == 0;
    if (!accelerated)
        SDL_GetRendererInfo(renderer_, &info);
    rendererName_ = info.name ? info.name : "";
    SDL_DisplayMode mode{};
    int display = std::max(0, SDL_GetWindowDisplayIndex(window_.sdlWindow()));
    int hz = (SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0) ? mode.refresh_rate : 60;
    period_ = std::chrono::nanoseconds(1000000000LL / hz);
    nextPresent_ = std::chrono::steady_clock::now();
    showAllUntil_ = nextPresent_ + std::chrono::seconds(1);
    return VideoOpenResult::Ok;
}

void SdlVideo::closePresentation()
{
    // A new texture starts empty: the first picture after it goes in whole.
    shown_.clear();
    if (texture_)
        SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    if (renderer_)
        SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
}

void SdlVideo::pace()
{
    // Without a vertical sync to wait for, wait for where it would have been, so a still
    // picture does not keep a core busy.
    auto now = std::chrono::steady_clock::now();
    if (now < nextPresent_)
        std::this_thread::sleep_until(nextPresent_);
    nextPresent_ += period_;
    if (nextPresent_ < now)
        nextPresent_ = now + period_;
}

PresentResult SdlVideo::presentFrame(const Surface& backBuffer)
{
    if (!renderer_ || !texture_)
        return PresentResult::NotReady;
    const size_t bytes = size_t(backBuffer.pitch()) * size_t(backBuffer.height());
    const bool stale = presentationStale();
    int top = changedTop(), bottom = changedBottom();
    if (!changesKnown()) {
        // Written by hand, not drawn: compare with what the screen shows.
        if (!stale && shown_.size() == bytes && std::memcmp(shown_.data(), backBuffer.data(), bytes) == 0) {
            ++skipped_;
            if (pacing_)
                pace();
            return PresentResult::Ok;
        }
        top = 0;
        bottom = backBuffer.height();
    }
    if (stale || shown_.size() != bytes) {
        top = 0;
        bottom = backBuffer.height();
    }
    top = std::clamp(top, 0, backBuffer.height());
    bottom = std::clamp(bottom, top, backBuffer.height());
    shown_.resize(bytes);
    const size_t first = size_t(top) * size_t(backBuffer.pitch()), count = size_t(bottom - top) * size_t(backBuffer.pitch());
    std::memcpy(shown_.data() + first, backBuffer.data() + first, count);
    lastFull_ = std::chrono::steady_clock::now();
    // Only the rows that changed go into the texture; the rest of it still holds them.
    if (bottom > top) {
        SDL_Rect rows{0, top, backBuffer.width(), bottom - top};
        SDL_UpdateTexture(texture_, &rows, backBuffer.data() + first, backBuffer.pitch());
    }
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    // The window's picture rectangle is in window coordinates; the renderer may draw at a
    // higher resolution.
    Rect r = window_.pictureRect();
    int ww = 1, wh = 1, ow = 1, oh = 1;
    SDL_GetWindowSize(window_.sdlWindow(), &ww, &wh);
    SDL_GetRendererOutputSize(renderer_, &ow, &oh);
    if (!window_.isFullscreen())
        r = Rect{0, 0, kWidth, kHeight};
    SDL_Rect dst{r.left * ow / std::max(1, ww), r.top * oh / std::max(1, wh), r.width() * ow / std::max(1, ww),
                 r.height() * oh / std::max(1, wh)};
    SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
    if (!vsync_ && pacing_)
        pace();
    SDL_RenderPresent(renderer_);
    if (vsync_)
        nextPresent_ = std::chrono::steady_clock::now() + period_;
    return PresentResult::Ok;
}

uint32_t SdlVideo::takeIdleWait()
{
    // The refreshes go on at the display's pace whether a picture is sent or not.
    const auto now = std::chrono::steady_clock::now();
    const auto wait = nextPresent_ > now ? nextPresent_ - now : std::chrono::steady_clock::duration::zero();
    nextPresent_ += period_;
    if (nextPresent_ < now)
        nextPresent_ = now + period_;
    return uint32_t((std::chrono::duration_cast<std::chrono::microseconds>(wait).count() + 999) / 1000);
}

bool SdlVideo::presentationStale()
{
    // The window system may have spoiled the window without saying so; a still picture is
    // sent again once a second.
    const auto now = std::chrono::steady_clock::now();
    return now < showAllUntil_ || now - lastFull_ >= std::chrono::seconds(1);
}

void SdlVideo::paintBlank()
{
    if (!renderer_)
        return;
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderPresent(renderer_);
}

} // namespace platform
