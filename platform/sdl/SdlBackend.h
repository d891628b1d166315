#pragma once
#include "platform/Clock.h"
#include "platform/Fonts.h"
#include "platform/InstanceLock.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/sdl/SdlInput.h"
#include "platform/sdl/SdlAudio.h"
#include "platform/sdl/SdlMessageBoxes.h"
#include "platform/sdl/SdlPictureWindow.h"
#include "platform/sdl/SdlSystemInfo.h"
#include "platform/sdl/SdlVideo.h"
#include "platform/sdl/SdlWindow.h"

#include <memory>

namespace platform {

// The real services: SDL window, audio and input, the system clock, a process-wide
// instance lock.
class SdlBackend final : public Backend {
public:
    SdlBackend();
    ~SdlBackend() override;

    SystemClock clock;
    SdlWindow window;
    SdlMessageBoxes messageBoxes;
    SdlInput input{window};
    SdlAudio audio;
    std::unique_ptr<InstanceLock> instanceLock;
    Fonts fonts;
    SdlVideo video{window};
    SdlPictureWindow pictureWindow;
    std::unique_ptr<Shell> shell;
    SdlSystemInfo systemInfo{video};
};

std::unique_ptr<Backend> createSdlBackend();

} // namespace platform
