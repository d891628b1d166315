#include "platform/headless/HeadlessBackend.h"

namespace platform {

HeadlessBackend::HeadlessBackend() : instanceLock(createInProcessInstanceLock())
{
    services.clock = &clock;
    services.window = &window;
    services.messageBoxes = &messageBoxes;
    services.instanceLock = instanceLock.get();
    services.fonts = &fonts;
}

HeadlessBackend::~HeadlessBackend() = default;

} // namespace platform
