#include "platform/Input.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace platform {

namespace {
// Beyond this many unread events (a long stall, a flood of synthetic input) the oldest are
// folded into the state at once instead of being kept for later reads.
constexpr size_t kMaxQueued = 1024;

int32_t saturatingAdd(int32_t a, int b)
{
    int64_t s = int64_t(a) + b;
    return int32_t(std::clamp<int64_t>(s, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}
} // namespace

int32_t joystickAxisFromSigned16(int value)
{
    value = std::clamp(value, -32768, 32767);
    // Both halves are scaled so the ends reach 0 and 0xffff and rest stays at 0x7fff.
    if (value >= 0)
        return 0x7fff + int32_t((int64_t(value) * 0x8000) / 32767);
    return 0x7fff + int32_t((int64_t(value) * 0x7fff) / 32768);
}

bool InputSource::create()
{
    created_ = true;
    return true;
}

bool InputSource::acquire(InputDevice device)
{
    if (!created_ || !focused_)
        return false;
    switch (device) {
    case InputDevice::Keyboard:
        keyboardAcquired_ = true;
        break;
    case InputDevice::Mouse:
        mouseAcquired_ = true;
        break;
    case InputDevice::Joystick:
        if (!joystickAttached_)
            return false;
        joystickAcquired_ = true;
        break;
    }
    return true;
}

void InputSource::unacquire(InputDevice device)
{
    switch (device) {
    case InputDevice::Keyboard:
        keyboardAcquired_ = false;
        break;
    case InputDevice::Mouse:
        mouseAcquired_ = false;
        break;
    case InputDevice::Joystick:
        joystickAcquired_ = false;
        break;
    }
}

bool InputSource::isAcquired(InputDevice device) const
{
    switch (device) {
    case InputDevice::Keyboard:
        return keyboardAcquired_;
    case InputDevice::Mouse:
        return mouseAcquired_;
    case InputDevice::Joystick:
        return joystickAcquired_;
    }
    return false;
}

void InputSource::buttonDown(int button)
{
    if (button >= 0 && button < 4)
        push(Event{Event::ButtonDown, button, 0});
}

void InputSource::buttonUp(int button)
{
    if (button >= 0 && button < 4)
        push(Event{Event::ButtonUp, button, 0});
}

void InputSource::mouseMotion(int dx, int dy)
{
    if (dx != 0 || dy != 0)
        push(Event{Event::Motion, dx, dy});
}

void InputSource::wheelMotion(int delta)
{
    if (delta != 0)
        push(Event{Event::Wheel, delta, 0});
}

void InputSource::push(const Event& e)
{
    // A device in the background hears nothing, like a foreground DirectInput device.
    if (!focused_)
        return;
    bool keyboard = e.kind == Event::KeyDown || e.kind == Event::KeyUp;
    auto& q = keyboard ? keyQueue_ : mouseQueue_;
    if (!q.empty() && q.back().kind == e.kind && (e.kind == Event::Motion || e.kind == Event::Wheel)) {
        q.back().a = int(saturatingAdd(q.back().a, e.a));
        q.back().b = int(saturatingAdd(q.back().b, e.b));
        return;
    }
    q.push_back(e);
    while (q.size() > kMaxQueued) {
        apply(q.front());
        q.pop_front();
    }
}

void InputSource::apply(const Event& e)
{
    switch (e.kind) {
    case Event::KeyDown:
        keys_.set(size_t(e.a & 0xFF));
        break;
    case Event::KeyUp:
        keys_.reset(size_t(e.a & 0xFF));
        break;
    case Event::ButtonDown:
        buttons_[e.a] = 0x80;
        break;
    case Event::ButtonUp:
        buttons_[e.a] = 0;
        break;
    case Event::Motion:
        motionX_ = saturatingAdd(motionX_, e.a);
        motionY_ = saturatingAdd(motionY_, e.b);
        break;
    case Event::Wheel:
        wheel_ = saturatingAdd(wheel_, e.a);
        break;
    }
}

bool InputSource::readKeyboard(uint8_t (&state)[256])
{
    if (!keyboardAcquired_)
        return false;
    // Take events in order, but stop before a key changes a second time: that change
    // belongs to the next read, so every press and every release is seen by some read.
    std::bitset<256> changed;
    while (!keyQueue_.empty()) {
        const Event& e = keyQueue_.front();
        size_t code = size_t(e.a & 0xFF);
        if (changed.test(code))
            break;
        changed.set(code);
        apply(e);
        keyQueue_.pop_front();
    }
    for (size_t i = 0; i < 256; ++i)
        state[i] = keys_.test(i) ? 0x80 : 0;
    return true;
}

bool InputSource::readMouse(MouseState& state)
{
    if (!mouseAcquired_)
        return false;
    bool changed[4] = {};
    while (!mouseQueue_.empty()) {
        const Event& e = mouseQueue_.front();
        bool button = e.kind == Event::ButtonDown || e.kind == Event::ButtonUp;
        if (button) {
            if (changed[e.a])
                break;
            changed[e.a] = true;
        }
        apply(e);
        mouseQueue_.pop_front();
    }
    state.x = motionX_;
    state.y = motionY_;
    state.z = wheel_;
    std::memcpy(state.buttons, buttons_, sizeof buttons_);
    motionX_ = motionY_ = wheel_ = 0;
    return true;
}

bool InputSource::readJoystick(int index, JoystickState& state)
{
    if (index != 0 || !joystickAttached_ || !joystickAcquired_)
        return false;
    state = joystick_;
    return true;
}

void InputSource::releaseEverything()
{
    keyQueue_.clear();
    mouseQueue_.clear();
    keys_.reset();
    std::memset(buttons_, 0, sizeof buttons_);
    motionX_ = motionY_ = wheel_ = 0;
    JoystickState centred;
    std::memcpy(joystick_.buttons, centred.buttons, sizeof centred.buttons);
}

void InputSource::setFocus(bool focused)
{
    if (focused == focused_)
        return;
    focused_ = focused;
    if (!focused) {
        // Whatever was held when the focus went is released: the keys now belong to
        // another window, and their releases will never reach this one.
        keyboardAcquired_ = mouseAcquired_ = joystickAcquired_ = false;
        releaseEverything();
    }
}

void InputSource::attachJoystick()
{
    joystickAttached_ = true;
    joystick_ = JoystickState{};
}

void InputSource::detachJoystick()
{
    joystickAttached_ = false;
    joystickAcquired_ = false;
}

void InputSource::joystickAxis(int axis, int32_t value)
{
    if (!focused_)
        return;
    value = std::clamp<int32_t>(value, 0, 0xffff);
    int32_t* axes[6] = {&joystick_.x, &joystick_.y, &joystick_.z, &joystick_.rx, &joystick_.ry, &joystick_.rz};
    if (axis >= 0 && axis < 6)
        *axes[axis] = value;
}

void InputSource::joystickButton(int button, bool down)
{
    if (focused_ && button >= 0 && button < 32)
        joystick_.buttons[button] = down ? 0x80 : 0;
}

void InputSource::joystickPov(int hat, uint32_t hundredthsOfDegree)
{
    if (focused_ && hat >= 0 && hat < 4)
        joystick_.pov[hat] = hundredthsOfDegree;
}

} // namespace platform
