#pragma once
#include "core/ScreenSize.h"
#include "platform/Video.h"
#include "platform/Window.h"

#include <cstdint>
#include <string>

// Values of the display device that hold for the whole process, through every reset.
struct DisplayProcessState {
    // Accelerated presentation; once the user accepts the software one it stays.
    bool hardware = true;
    // 1, 2, 3, 4 for a desktop of 8, 16, 24, 32 bits per pixel.
    int desktopDepthIndex = 4;
    // Added to every sprite corner; 0 on devices that need no half-pixel shift.
    float pixelCentreOffset = -0.5f;
};
DisplayProcessState& displayProcess();

// The viewport record the device is set up with (the whole 800x600 target).
struct D3DViewport2 {
    uint32_t dwSize = 44;
    uint32_t dwX = 0, dwY = 0, dwWidth = kScreenWidth, dwHeight = kScreenHeight;
    float dvClipX = -1.0f, dvClipY = 0.75f, dvClipWidth = 2.0f, dvClipHeight = 1.5f;
    float dvMinZ = 0.0f, dvMaxZ = 1.0f;
};

// The display device's state: the video device while it is up and the mode it runs in.
// Everyone reads it; only the device operations change it, each through a named step: the
// settings file and the mode toggle choose the mode, Create records its request, attaches
// the opened device and marks it ready, Destroy detaches it.
class DisplayDevice {
public:
    bool deviceReady() const { return ready_; }
    // The mode the player chose (the settings file's byte 0).
    bool windowed() const { return windowed_; }
    // True during a display-mode switch, whose window messages are not the player's.
    bool modeSwitching() const { return modeSwitching_; }
    platform::Video* directDraw() const { return video_; }
    const D3DViewport2& viewport() const { return viewport_; }
    // The window and mode given to the last Create.
    platform::Window* deviceWindow() const { return window_; }
    bool deviceWindowed() const { return deviceWindowed_; }
    int desktopBits() const { return desktopBits_; }
    uint32_t frameTimerOrigin() const { return frameTimerOrigin_; }

    void setWindowed(bool windowed) { windowed_ = windowed; }
    void setModeSwitching(bool on) { modeSwitching_ = on; }
    void recordRequest(platform::Window* window, bool windowedMode)
    {
        window_ = window;
        deviceWindowed_ = windowedMode;
    }
    void setDesktopBits(int bits) { desktopBits_ = bits; }
    // Full screen failed for good: the game runs in a window from now on.
    void fallBackToWindow()
    {
        windowed_ = true;
        deviceWindowed_ = true;
    }
    void attach(platform::Video* video) { video_ = video; }
    // The device is complete: a fresh viewport, and the frame timer counts from now.
    void markReady(uint32_t now)
    {
        viewport_ = D3DViewport2{};
        frameTimerOrigin_ = now;
        ready_ = true;
    }
    void detach()
    {
        video_ = nullptr;
        ready_ = false;
    }

private:
    bool ready_ = false;
    bool windowed_ = true;
    bool modeSwitching_ = false;
    platform::Video* video_ = nullptr;
    D3DViewport2 viewport_;
    platform::Window* window_ = nullptr;
    bool deviceWindowed_ = true;
    int desktopBits_ = 32;
    uint32_t frameTimerOrigin_ = 0;
};

// A pixel-format description as the system report prints it.
struct DDPixelFormat {
    static constexpr uint32_t kAlphaPixels = 0x1, kAlpha = 0x2, kPaletteIndexed4 = 0x8, kPaletteIndexedTo8 = 0x10,
                              kPaletteIndexed8 = 0x20, kRgb = 0x40;
    uint32_t flags = 0;
    uint32_t bitCount = 0;
    uint32_t redMask = 0, greenMask = 0, blueMask = 0, alphaMask = 0;
};
const char* pixelFormatName(const DDPixelFormat& pf);
DDPixelFormat describePixelFormat(platform::PixelFormat f);

// Desktop depth index for a bits-per-pixel value; 0 for a depth the table does not know.
int depthIndexForBits(int bits);
