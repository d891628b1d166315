#include "platform/sdl/SdlBackend.h"

namespace platform {

SdlBackend::SdlBackend() : instanceLock(createProcessInstanceLock())
{
    services.clock = &clock;
    services.window = &window;
    services.messageBoxes = &messageBoxes;
    services.audio = &audio;
    services.instanceLock = instanceLock.get();
}

SdlBackend::~SdlBackend() = default;

std::unique_ptr<Backend> createSdlBackend()
{
    return std::make_unique<SdlBackend>();
}

} // namespace platform
