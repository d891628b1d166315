#include "platform/sdl/SdlSystemInfo.h"

#include "platform/sdl/SdlVideo.h"

#include <SDL2/SDL.h>

namespace platform {

SdlSystemInfo::SdlSystemInfo(SdlVideo& video) : video_(video), cpu_(readHostCpu()), os_(readHostOs())
{
    cpu_.mhz = measureCpuMHz(20);
}

SystemFacts SdlSystemInfo::facts()
{
    SystemFacts f;
    f.cpu = cpu_;
    f.os = os_;
    readHostMemory(f.totalMemoryMB, f.freeMemoryMB);
    f.textureBudgetBytes = (f.freeMemoryMB << 20) + video_.surfaceBytes();
    f.accelerated = video_.isOpen() && video_.accelerated();
    f.renderer = video_.isOpen() && !video_.rendererName().empty() ? video_.rendererName() : "software rasteriser";
    if (const char* driver = SDL_GetCurrentVideoDriver())
        f.displayAdapters.push_back(std::string(driver) + " / " + f.renderer);
    int displays = SDL_GetNumVideoDisplays();
    f.monitors = displays > 0 ? displays : 0;
    SDL_DisplayMode mode;
    if (displays > 0 && SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        f.desktopWidth = mode.w;
        f.desktopHeight = mode.h;
        f.desktopBits = int(SDL_BITSPERPIXEL(mode.format));
        // SDL reports 24 for the usual 32-bit desktop formats (8 bits unused).
        if (SDL_BYTESPERPIXEL(mode.format) == 4)
            f.desktopBits = 32;
    }
    if (SDL_WasInit(SDL_INIT_AUDIO) != 0) {
        if (const char* driver = SDL_GetCurrentAudioDriver())
            f.audioDriver = driver;
        int n = SDL_GetNumAudioDevices(0);
        for (int i = 0; i < n; ++i) {
            AudioDeviceFacts d;
            if (const char* name = SDL_GetAudioDeviceName(i, 0))
                d.name = name;
            SDL_AudioSpec spec{};
            if (SDL_GetAudioDeviceSpec(i, 0, &spec) == 0) {
                d.rateHz = spec.freq;
                d.bits = int(SDL_AUDIO_BITSIZE(spec.format));
                d.channels = spec.channels;
            }
            f.audioDevices.push_back(d);
        }
    }
    return f;
}

} // namespace platform
