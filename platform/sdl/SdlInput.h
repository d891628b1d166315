#pragma once
#include "platform/Input.h"

#include <cstdint>

union SDL_Event;
struct _SDL_Joystick;

namespace platform {

class SdlWindow;

// Keyboard, mouse and the first joystick from the SDL events the window pumps.
class SdlInput final : public InputSource {
public:
    explicit SdlInput(SdlWindow& window);
    ~SdlInput() override;

    bool create() override;

private:
    void onEvent(const SDL_Event& e);

    SdlWindow& window_;
    bool joystickSubsystem_ = false;
    _SDL_Joystick* joystick_ = nullptr;
    int32_t joystickId_ = -1;
};

} // namespace platform
