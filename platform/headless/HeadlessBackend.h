#pragma once
#include "platform/Clock.h"
#include "platform/InstanceLock.h"
#include "platform/Services.h"
#include "platform/headless/HeadlessAudio.h"
#include "platform/headless/HeadlessMessageBoxes.h"
#include "platform/headless/HeadlessWindow.h"

#include <memory>

namespace platform {

// Every service without a screen, a sound card or a keyboard: used by the tests and the
// headless runner. Its members are public so a test can drive and inspect them.
class HeadlessBackend final : public Backend {
public:
    HeadlessBackend();
    ~HeadlessBackend() override;

    HeadlessClock clock;
    HeadlessWindow window;
    HeadlessMessageBoxes messageBoxes;
    HeadlessAudio audio;
    std::unique_ptr<InstanceLock> instanceLock;
};

} // namespace platform
