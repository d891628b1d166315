#pragma once
#include "platform/Video.h"

#include <chrono>
#include <string>
#include <vector>

struct SDL_Renderer;
struct SDL_Texture;

namespace platform {

class SdlWindow;

// Presentation through an SDL renderer: the accelerated one when asked for, the software
// renderer otherwise. The back buffer goes into a streaming texture that is scaled into the
// window's picture rectangle (letterboxed in full screen). Presents wait for the display's
// vertical sync where the renderer offers it, and are paced to the refresh rate where not.
class SdlVideo final : public Video {
public:
    explicit SdlVideo(SdlWindow& window);
    ~SdlVideo() override;

    bool vsync() const { return vsync_; }
    const std::string& rendererName() const { return rendererName_; }
    // Off: presents never wait (measurements of the present itself).
    void setPacing(bool on) { pacing_ = on; }
    void paintBlank() override;
    uint32_t takeIdleWait() override;

protected:
    VideoOpenResult openPresentation(Window& window, bool fullscreen, bool accelerated) override;
    void closePresentation() override;
    PresentResult presentFrame(const Surface& backBuffer) override;
    bool presentationStale() override;

private:
    void pace();

    SdlWindow& window_;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    bool vsync_ = false;
    std::string rendererName_;
    bool pacing_ = true;
    std::chrono::nanoseconds period_{16666667};
    std::chrono::steady_clock::time_point nextPresent_{};
    // The frame on screen: an unchanged frame is not sent again, only waited for.
    std::vector<uint8_t> shown_;
    // Until then every frame goes out in full: the window system settles a new or resized
    // window in its own time and does not always say when it is done.
    std::chrono::steady_clock::time_point showAllUntil_{};
    std::chrono::steady_clock::time_point lastFull_{};
    uint64_t skipped_ = 0;

public:
    uint64_t unchangedFrames() const { return skipped_; }
};

} // namespace platform
