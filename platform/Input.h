#pragma once
#include <array>
#include <bitset>
#include <cstdint>
#include <deque>

namespace platform {

// The records a DirectInput device hands back, byte for byte, so the game's input object
// reads them as it always did.
struct MouseState {
    int32_t x = 0, y = 0; // motion since the previous read
    int32_t z = 0;        // wheel since the previous read; one notch is kWheelNotch
    uint8_t buttons[4] = {};
};
static_assert(sizeof(MouseState) == 16);

struct JoystickState {
    int32_t x = 0x7fff, y = 0x7fff, z = 0x7fff; // 0..0xffff, centre 0x7fff
    int32_t rx = 0x7fff, ry = 0x7fff, rz = 0x7fff;
    int32_t sliders[2] = {};
    uint32_t pov[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}; // hundredths of a degree; all ones = centred
    uint8_t buttons[32] = {};
};
static_assert(sizeof(JoystickState) == 80);

constexpr int kWheelNotch = 120;

enum class InputDevice { Keyboard, Mouse, Joystick };

// A signed 16-bit stick position on the 0..0xffff scale with the centre at 0x7fff.
int32_t joystickAxisFromSigned16(int value);

// The keyboard, the mouse and the first joystick, as the window sees them. Devices follow
// the foreground rule: they can be acquired only while the window has the focus, losing the
// focus takes them away, and a read of a device that is not acquired fails (the reader
// acquires again). The backend (or a test, or the runner) feeds events in; the game reads
// states out once a frame.
//
// A key or button that changes twice between two reads (down and up again) shows the first
// change to one read and the second to the next, so a quick tap (a runner's click, a
// synthetic key) is never lost.
class InputSource {
public:
    virtual ~InputSource() = default;

    // ---- the device side ----
    // Opens the input system; false when there is none. The keyboard and the mouse always
    // exist once it is open.
    virtual bool create();
    bool created() const { return created_; }
    int joystickCount() const { return created_ && joystickAttached_ ? 1 : 0; }

    bool acquire(InputDevice device);
    void unacquire(InputDevice device);
    bool isAcquired(InputDevice device) const;

    // False (and nothing written) when the device is not acquired.
    bool readKeyboard(uint8_t (&state)[256]);
    bool readMouse(MouseState& state);
    bool readJoystick(int index, JoystickState& state);

    // ---- the event side ----
    void keyDown(uint8_t code) { push(Event{Event::KeyDown, code, 0}); }
    void keyUp(uint8_t code) { push(Event{Event::KeyUp, code, 0}); }
    void buttonDown(int button);
    void buttonUp(int button);
    void mouseMotion(int dx, int dy);
    // In DirectInput units: positive away from the user, kWheelNotch per notch.
    void wheelMotion(int delta);
    void setFocus(bool focused);
    bool hasFocus() const { return focused_; }

    void attachJoystick();
    void detachJoystick();
    // axis 0..5: x, y, z, rx, ry, rz on the 0..0xffff scale.
    void joystickAxis(int axis, int32_t value);
    void joystickButton(int button, bool down);
    void joystickPov(int hat, uint32_t hundredthsOfDegree);

    // Events still waiting for a read (tests and the runner check that nothing piles up).
    size_t pendingEvents() const { return keyQueue_.size() + mouseQueue_.size(); }

private:
    struct Event {
        enum Kind : uint8_t { KeyDown, KeyUp, ButtonDown, ButtonUp, Motion, Wheel } kind;
        int a;
        int b;
    };
    void push(const Event& e);
    void apply(const Event& e);
    void releaseEverything();

    bool created_ = false;
    bool focused_ = true;
    bool keyboardAcquired_ = false, mouseAcquired_ = false, joystickAcquired_ = false;
    std::deque<Event> keyQueue_, mouseQueue_;
    std::bitset<256> keys_;
    uint8_t buttons_[4] = {};
    int32_t motionX_ = 0, motionY_ = 0, wheel_ = 0;
    bool joystickAttached_ = false;
    JoystickState joystick_;
};

// DirectInput keyboard code for an SDL scancode (the USB usage numbering SDL uses), or 0
// for keys DirectInput has no code for. Position based: a key reports the same code
// whatever the layout prints on it.
uint8_t dikFromSdlScancode(int scancode);

} // namespace platform
