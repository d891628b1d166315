#include "platform/headless/HeadlessBackend.h"

namespace platform {

HeadlessBackend::HeadlessBackend() : instanceLock(createInProcessInstanceLock())
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
    services.shell = &shell;
    services.systemInfo = &systemInfo;
}

HeadlessBackend::~HeadlessBackend() = default;

void HeadlessBackend::feedInput(const HeadlessInputEvent& ev)
{
    if (ev.kind == HeadlessInputEvent::Kind::MouseMove) {
        window.pointerX = ev.x;
        window.pointerY = ev.y;
        return;
    }
    switch (ev.kind) {
    case HeadlessInputEvent::Kind::KeyDown:
        input.keyDown(uint8_t(ev.code));
        break;
    case HeadlessInputEvent::Kind::KeyUp:
        input.keyUp(uint8_t(ev.code));
        break;
    case HeadlessInputEvent::Kind::ButtonDown:
        input.buttonDown(ev.code);
        break;
    case HeadlessInputEvent::Kind::ButtonUp:
        input.buttonUp(ev.code);
        break;
    case HeadlessInputEvent::Kind::Wheel:
        input.wheelMotion(ev.code);
        break;
    case HeadlessInputEvent::Kind::MouseMove:
        break;
    }
}

} // namespace platform
