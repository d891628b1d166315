#include "platform/headless/HeadlessBackend.h"

namespace platform {

HeadlessBackend::HeadlessBackend() : instanceLock(createInProcessInstanceLock())
{
    services.clock = &clock;
    services.window = &window;
    services.messageBoxes = &messageBoxes;
    services.instanceLock = instanceLock.get();
    services.fonts = &fonts;
    services.video = &video;
}

HeadlessBackend::~HeadlessBackend() = default;

void HeadlessBackend::feedInput(const HeadlessInputEvent& ev)
{
    if (ev.kind == HeadlessInputEvent::Kind::MouseMove) {
        window.pointerX = ev.x;
        window.pointerY = ev.y;
        return;
    }
    pendingInput.push_back(ev);
}

} // namespace platform
