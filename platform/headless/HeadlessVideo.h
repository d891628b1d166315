#pragma once
#include "platform/Video.h"

namespace platform {

// The display device without a screen: the back buffer is drawn exactly as on screen and
// stays readable; presenting only counts. Tests switch the presentations off to walk the
// fallback paths.
class HeadlessVideo final : public Video {
public:
    bool acceleratedAvailable = true;
    bool softwareAvailable = true;
    bool fullscreenAvailable = true;
    int openAttempts = 0;
    int blankPaints = 0;

    void paintBlank() override { ++blankPaints; }

protected:
    VideoOpenResult openPresentation(Window& window, bool fullscreen, bool accelerated) override
    {
        ++openAttempts;
        if (!window.exists())
            return VideoOpenResult::NoVideo;
        if (fullscreen && !fullscreenAvailable)
            return VideoOpenResult::NoFullscreen;
        if (!(accelerated ? acceleratedAvailable : softwareAvailable))
            return VideoOpenResult::NoRenderer;
        window.setFullscreen(fullscreen);
        return VideoOpenResult::Ok;
    }
    void closePresentation() override {}
    PresentResult presentFrame(const Surface&) override { return PresentResult::Ok; }
};

} // namespace platform
