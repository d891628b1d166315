#pragma once

namespace platform {

// One input event fed to the headless backend by the runner or a test. code is a
// DirectInput key code for keys, the button number (0 left, 1 right, 2 middle) for buttons,
// and the wheel delta (120 per notch, positive away from the user) for the wheel.
struct HeadlessInputEvent {
    enum class Kind { KeyDown, KeyUp, MouseMove, ButtonDown, ButtonUp, Wheel };
    Kind kind = Kind::KeyDown;
    int code = 0;
    int x = 0, y = 0; // MouseMove: pointer in client coordinates
};

} // namespace platform
