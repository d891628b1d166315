#include "platform/headless/HeadlessBackend.h"

namespace platform {

HeadlessBackend::HeadlessBackend() : instanceLock(createInProcessInstanceLock())
{
    services.clock = &clock;
    services.window = &window;
    services.messageBoxes = &messageBoxes;
    services.audio = &audio;
    services.instanceLock = instanceLock.get();
}

HeadlessBackend::~HeadlessBackend() = default;

} // namespace platform
