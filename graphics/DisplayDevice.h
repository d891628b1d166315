#pragma once
#include "core/ScreenSize.h"
#include "platform/Video.h"

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
