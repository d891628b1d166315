#include "platform/sdl/SdlBackend.h"

namespace platform {

SdlBackend::SdlBackend() : instanceLock(createProcessInstanceLock()), shell(createSystemShell())
{
    services.clock = &clock;
    services.window = &window;
    services.messageBoxes = &messageBoxes;
    services.input = &input;
    services.audio = &audio;
    services.instanceLock = instanceLock.get();
    services.fonts = &fonts;
    services.video = &video;
    services.pictureWindow = &pictureWindow;
    services.shell = shell.get();
    services.systemInfo = &systemInfo;
}

SdlBackend::~SdlBackend() = default;

std::unique_ptr<Backend> createSdlBackend()
{
    return std::make_unique<SdlBackend>();
}

} // namespace platform
