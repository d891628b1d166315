#include "input/CInput.h"

#include <cstring>

using platform::InputDevice;

namespace {
bool validKey(int code)
{
    return code >= 0 && code < 256;
}
bool validButton(int button)
{
    return button >= 0 && button < 3;
}
} // namespace

bool CInput::create(platform::InputSource* source)
{
    source_ = nullptr;
    if (!source || !source->create())
        return false;
    source_ = source;

    // The window may not have the focus yet; then the devices are acquired on activation.
    source_->acquire(InputDevice::Keyboard);
    if (!source_->readMouse(mouseState_))
        source_->acquire(InputDevice::Mouse);

    joystickCount_ = source_->joystickCount() > 0 ? 1 : 0;
    // A zeroed record with the three main axes at rest.
    joystick_[0] = platform::JoystickState{};
    joystick_[0].rx = joystick_[0].ry = joystick_[0].rz = 0;
    for (uint32_t& pov : joystick_[0].pov)
        pov = 0;
    if (joystickCount_ > 0)
        source_->acquire(InputDevice::Joystick);
    return true;
}

void CInput::acquire()
{
    if (!source_)
        return;
    source_->acquire(InputDevice::Keyboard);
    source_->acquire(InputDevice::Mouse);
    if (joystickCount_ > 0)
        source_->acquire(InputDevice::Joystick);
}

void CInput::unacquire()
{
    if (!source_)
        return;
    source_->unacquire(InputDevice::Keyboard);
    source_->unacquire(InputDevice::Mouse);
    if (joystickCount_ > 0)
        source_->unacquire(InputDevice::Joystick);
}

void CInput::pollMouse()
{
    if (wheelLockout_ > 0)
        --wheelLockout_;
    if (!source_)
        return;
    platform::MouseState st;
    if (!source_->readMouse(st)) {
        source_->acquire(InputDevice::Mouse);
        return;
    }
    mouseState_ = st;

    if (ignoreMouse_) {
        if (!(st.buttons[0] & 0x80) && !ignoreRequested_)
            ignoreMouse_ = false;
        // Buttons held through the ignore count as already down afterwards.
        for (int b = 0; b < 3; ++b) {
            mouseDown_[b] = (st.buttons[b] & 0x80) ? 128 : 0;
            mousePressed_[b] = 0;
            mouseReleased_[b] = 0;
        }
        return;
    }

    for (int b = 0; b < 3; ++b) {
        bool down = (st.buttons[b] & 0x80) != 0;
        if (!down && mouseDown_[b]) {
            mouseReleased_[b] = 1;
            mousePressed_[b] = 0;
            mouseDown_[b] = 0;
        } else if (down && !mouseDown_[b]) {
            mouseDown_[b] = 128;
            mousePressed_[b] = 1;
            mouseReleased_[b] = 0;
        }
    }

    if (st.z > kWheelThreshold && wheelLockout_ == 0) {
        wheelUp_ = true;
        wheelDown_ = false;
    } else if (st.z < -kWheelThreshold && wheelLockout_ == 0) {
        wheelDown_ = true;
        wheelUp_ = false;
    }
}

void CInput::pollKeyboard()
{
    if (!source_)
        return;
    uint8_t st[256];
    if (!source_->readKeyboard(st)) {
        source_->acquire(InputDevice::Keyboard);
        return;
    }
    if (ignoreKeyboard_) {
        std::memset(keyState_, 0, sizeof keyState_);
        std::memset(keyPressed_, 0, sizeof keyPressed_);
        std::memset(keyReleased_, 0, sizeof keyReleased_);
        // Keys held through the ignored frames count as already down, so letting go of
        // the ignore does not turn them into fresh presses.
        for (int i = 0; i < 256; ++i)
            keyDown_[i] = (st[i] & 0x80) ? 128 : 0;
        return;
    }
    std::memcpy(keyState_, st, sizeof keyState_);
    for (int i = 0; i < 256; ++i) {
        bool down = (st[i] & 0x80) != 0;
        if (!down && keyDown_[i]) {
            keyReleased_[i] = 1;
            keyPressed_[i] = 0;
            keyDown_[i] = 0;
        } else if (down && !keyDown_[i]) {
            keyDown_[i] = 128;
            keyPressed_[i] = 1;
            keyReleased_[i] = 0;
        }
    }
}

void CInput::pollJoysticks()
{
    if (!source_)
        return;
    for (int j = 0; j < joystickCount_; ++j) {
        platform::JoystickState st;
        if (!source_->readJoystick(j, st))
            source_->acquire(InputDevice::Joystick);
        else
            joystick_[j] = st;
    }
}

bool CInput::keyHeld(int code) const
{
    return validKey(code) && (keyState_[code] & 0x80) != 0;
}

bool CInput::takeKeyPress(int code)
{
    if (!validKey(code) || !keyPressed_[code])
        return false;
    keyPressed_[code] = 0;
    return true;
}

bool CInput::takeKeyRelease(int code)
{
    if (!validKey(code) || !keyReleased_[code])
        return false;
    keyReleased_[code] = 0;
    return true;
}

bool CInput::mouseHeld(int button) const
{
    return validButton(button) && mouseDown_[button] != 0;
}

bool CInput::takeMousePress(int button)
{
    if (!validButton(button) || !mousePressed_[button])
        return false;
    mousePressed_[button] = 0;
    return true;
}

bool CInput::takeMouseRelease(int button)
{
    if (!validButton(button) || !mouseReleased_[button])
        return false;
    mouseReleased_[button] = 0;
    return true;
}

int CInput::takeWheel()
{
    int result = wheelUp_ ? 1 : wheelDown_ ? -1 : 0;
    wheelUp_ = wheelDown_ = false;
    // Only a reported notch starts the lock-out: a screen that asks every frame must still
    // see the wheel.
    if (result != 0)
        wheelLockout_ = kWheelLockoutPolls;
    return result;
}

void CInput::clearWheel()
{
    wheelUp_ = wheelDown_ = false;
}

bool CInput::joystickButton(int joystick, int button) const
{
    if (joystick < 0 || joystick >= joystickCount_ || button < 0 || button >= 32)
        return false;
    return (joystick_[joystick].buttons[button] & 0x80) != 0;
}

bool CInput::joystickAxes(int joystick, int32_t& x, int32_t& y, int32_t& z) const
{
    if (joystick < 0 || joystick >= joystickCount_)
        return false;
    x = joystick_[joystick].x;
    y = joystick_[joystick].y;
    z = joystick_[joystick].z;
    return true;
}

void CInput::setIgnore(bool ignore)
{
    ignoreRequested_ = ignore;
    if (ignore) {
        ignoreMouse_ = true;
        ignoreKeyboard_ = true;
        // Whatever was seen in this frame is dropped too.
        std::memset(keyState_, 0, sizeof keyState_);
        std::memset(keyPressed_, 0, sizeof keyPressed_);
        std::memset(keyReleased_, 0, sizeof keyReleased_);
        std::memset(mousePressed_, 0, sizeof mousePressed_);
        std::memset(mouseReleased_, 0, sizeof mouseReleased_);
    } else {
        ignoreKeyboard_ = false;
    }
}

void CInput::dropPresses()
{
    std::memset(keyPressed_, 0, sizeof keyPressed_);
    std::memset(keyReleased_, 0, sizeof keyReleased_);
    std::memset(mousePressed_, 0, sizeof mousePressed_);
    std::memset(mouseReleased_, 0, sizeof mouseReleased_);
}

bool CInput::keyPressPending(int code) const
{
    return validKey(code) && keyPressed_[code] != 0;
}

void CInput::clearKeys()
{
    std::memset(keyState_, 0, sizeof keyState_);
    std::memset(keyDown_, 0, sizeof keyDown_);
    std::memset(keyPressed_, 0, sizeof keyPressed_);
    std::memset(keyReleased_, 0, sizeof keyReleased_);
}
