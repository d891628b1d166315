#pragma once
#include "input/KeyCodes.h"
#include "platform/Input.h"

#include <cstdint>

// The game's input object: keyboard, mouse and the first joystick, polled once a frame by
// the frame dispatcher. Keys and mouse buttons are read as held states and as press and
// release edges; an edge is taken by its first reader.
class CInput {
public:
    // Opens the devices and acquires the keyboard and the mouse. False when there is no
    // input system; start-up cannot go on then.
    bool create(platform::InputSource* source);
    bool created() const { return source_ != nullptr; }

    // Follows the window's activation.
    void acquire();
    void unacquire();

    void pollMouse();
    void pollKeyboard();
    void pollJoysticks();

    // Held states are plain reads. The take* reads consume: an edge is reported once, to its
    // first reader, so read one only where the game acts on it.
    bool keyHeld(int code) const;
    bool takeKeyPress(int code);
    bool takeKeyRelease(int code);
    bool mouseHeld(int button) const;
    bool takeMousePress(int button);
    bool takeMouseRelease(int button);
    // +1 wheel up, -1 wheel down, 0 nothing. A reported notch starts a lock-out of
    // kWheelLockoutPolls mouse polls during which further movement is ignored.
    int takeWheel();
    void clearWheel();

    int joystickCount() const { return joystickCount_; }
    bool joystickButton(int joystick, int button) const;
    bool joystickAxes(int joystick, int32_t& x, int32_t& y, int32_t& z) const;

    // While ignoring, keys read as up and give no edges, and mouse buttons give no edges.
    // The keyboard takes input again when the ignore is lifted; the mouse only once button
    // 0 is up as well, so a press held through a display change never lands as a click.
    void setIgnore(bool ignore);
    bool keyboardIgnored() const { return ignoreKeyboard_; }
    bool mouseIgnored() const { return ignoreMouse_; }
    // Forgets every key state and edge (before the display mode changes under the keys).
    void clearKeys();
    // Forgets the press and release edges not yet taken (keys and mouse buttons), keeping
    // what is held, so a held key gives no new press.
    void dropPresses();
    // A key press edge not yet taken, left for its reader.
    bool keyPressPending(int code) const;

    static constexpr int kWheelThreshold = 15;
    static constexpr int kWheelLockoutPolls = 5;

    // The last state read from each device.
    const uint8_t* keyboardState() const { return keyState_; }
    const platform::MouseState& mouseState() const { return mouseState_; }

private:
    platform::InputSource* source_ = nullptr;

    uint8_t keyState_[256] = {};
    uint8_t keyDown_[256] = {};
    uint8_t keyPressed_[256] = {};
    uint8_t keyReleased_[256] = {};

    platform::MouseState mouseState_;
    uint8_t mouseDown_[3] = {};
    uint8_t mousePressed_[3] = {};
    uint8_t mouseReleased_[3] = {};

    bool wheelUp_ = false, wheelDown_ = false;
    int wheelLockout_ = 0;

    int joystickCount_ = 0;
    platform::JoystickState joystick_[1];

    bool ignoreMouse_ = false, ignoreKeyboard_ = false;
    bool ignoreRequested_ = false;
};
