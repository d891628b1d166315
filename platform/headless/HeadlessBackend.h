#pragma once
#include "platform/Clock.h"
#include "platform/Fonts.h"
#include "platform/InstanceLock.h"
#include "platform/Services.h"
#include "platform/headless/HeadlessInputEvent.h"
#include "platform/headless/HeadlessInput.h"
#include "platform/headless/HeadlessAudio.h"
#include "platform/headless/HeadlessMessageBoxes.h"
#include "platform/headless/HeadlessPictureWindow.h"
#include "platform/headless/HeadlessShell.h"
#include "platform/headless/HeadlessSystemInfo.h"
#include "platform/headless/HeadlessVideo.h"
#include "platform/headless/HeadlessWindow.h"

#include <deque>
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
    HeadlessInput input;
    HeadlessAudio audio;
    std::unique_ptr<InstanceLock> instanceLock;
    Fonts fonts;
    HeadlessVideo video;
    HeadlessPictureWindow pictureWindow;
    HeadlessShell shell;
    HeadlessSystemInfo systemInfo;

    // Input from the runner or a test: pointer moves go to the window at once; keys,
    // buttons and the wheel go to the input service, which the next poll reads.
    void feedInput(const HeadlessInputEvent& ev);
};

} // namespace platform
