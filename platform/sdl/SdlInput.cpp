#include "platform/sdl/SdlInput.h"

#include "platform/DebugOutput.h"
#include "platform/sdl/SdlWindow.h"

#include <SDL.h>
#include <cmath>

namespace platform {

// The key table is written in SDL's scancode numbers; these keep it honest.
static_assert(SDL_SCANCODE_A == 4 && SDL_SCANCODE_RETURN == 40 && SDL_SCANCODE_KP_ENTER == 88);
static_assert(SDL_SCANCODE_PAGEUP == 75 && SDL_SCANCODE_UP == 82 && SDL_SCANCODE_NONUSBACKSLASH == 100);
static_assert(SDL_SCANCODE_INTERNATIONAL1 == 135 && SDL_SCANCODE_LANG5 == 148);
static_assert(SDL_SCANCODE_LCTRL == 224 && SDL_SCANCODE_RGUI == 231 && SDL_SCANCODE_MODE == 257);
static_assert(SDL_SCANCODE_AC_BOOKMARKS == 274 && SDL_SCANCODE_SLEEP == 282);

namespace {

int mouseButtonIndex(uint8_t sdlButton)
{
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return 0;
    case SDL_BUTTON_RIGHT:
        return 1;
    case SDL_BUTTON_MIDDLE:
        return 2;
    case SDL_BUTTON_X1:
        return 3;
    default:
        return -1;
    }
}

uint32_t povFromHat(uint8_t hat)
{
    switch (hat) {
    case SDL_HAT_UP:
        return 0;
    case SDL_HAT_RIGHTUP:
        return 4500;
    case SDL_HAT_RIGHT:
        return 9000;
    case SDL_HAT_RIGHTDOWN:
        return 13500;
    case SDL_HAT_DOWN:
        return 18000;
    case SDL_HAT_LEFTDOWN:
        return 22500;
    case SDL_HAT_LEFT:
        return 27000;
    case SDL_HAT_LEFTUP:
        return 31500;
    default:
        return 0xFFFFFFFFu;
    }
}

} // namespace

SdlInput::SdlInput(SdlWindow& window) : window_(window)
{
    // Until the window exists and gains the focus, nothing is ours to hear.
    setFocus(false);
    window_.addEventListener([this](const SDL_Event& e) { onEvent(e); });
}

SdlInput::~SdlInput()
{
    if (joystick_)
        SDL_JoystickClose(joystick_);
    if (joystickSubsystem_)
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

bool SdlInput::create()
{
    if (!(SDL_WasInit(SDL_INIT_EVENTS) & SDL_INIT_EVENTS)) {
        debugOutput("ADV_SYSTEM: SDL input: the event system is not running");
        return false;
    }
    if (!InputSource::create())
        return false;
    if (window_.sdlWindow() && (SDL_GetWindowFlags(window_.sdlWindow()) & SDL_WINDOW_INPUT_FOCUS))
        setFocus(true);

    // A missing joystick system only means no joystick.
    if (!joystickSubsystem_ && SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0)
        joystickSubsystem_ = true;
    if (joystickSubsystem_) {
        // The first joystick that opens is the one; the rest are not looked at.
        for (int i = 0; i < SDL_NumJoysticks() && !joystick_; ++i) {
            joystick_ = SDL_JoystickOpen(i);
            if (joystick_) {
                joystickId_ = SDL_JoystickInstanceID(joystick_);
                attachJoystick();
                int axes = SDL_JoystickNumAxes(joystick_);
                for (int a = 0; a < axes && a < 6; ++a)
                    joystickAxis(a, joystickAxisFromSigned16(SDL_JoystickGetAxis(joystick_, a)));
            }
        }
    }
    return true;
}

void SdlInput::onEvent(const SDL_Event& e)
{
    switch (e.type) {
    case SDL_WINDOWEVENT:
        // The window's present focus decides, not the event: re-creating the window's
        // presentation can leave focus events behind that no longer hold.
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED || e.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
            setFocus(window_.sdlWindow() && (SDL_GetWindowFlags(window_.sdlWindow()) & SDL_WINDOW_INPUT_FOCUS));
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        // DirectInput reports a key's state, not the typematic repeats.
        if (e.key.repeat)
            break;
        uint8_t code = dikFromSdlScancode(e.key.keysym.scancode);
        if (code == 0)
            break;
        if (e.type == SDL_KEYDOWN)
            keyDown(code);
        else
            keyUp(code);
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        if (e.button.which == SDL_TOUCH_MOUSEID)
            break;
        int b = mouseButtonIndex(e.button.button);
        if (b < 0)
            break;
        if (e.type == SDL_MOUSEBUTTONDOWN)
            buttonDown(b);
        else
            buttonUp(b);
        break;
    }
    case SDL_MOUSEMOTION:
        if (e.motion.which != SDL_TOUCH_MOUSEID)
            mouseMotion(e.motion.xrel, e.motion.yrel);
        break;
    case SDL_MOUSEWHEEL: {
        float y = e.wheel.preciseY;
        if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            y = -y;
        wheelMotion(int(std::lround(double(y) * kWheelNotch)));
        break;
    }
    case SDL_JOYAXISMOTION:
        if (joystick_ && e.jaxis.which == joystickId_)
            joystickAxis(e.jaxis.axis, joystickAxisFromSigned16(e.jaxis.value));
        break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        if (joystick_ && e.jbutton.which == joystickId_)
            joystickButton(e.jbutton.button, e.type == SDL_JOYBUTTONDOWN);
        break;
    case SDL_JOYHATMOTION:
        if (joystick_ && e.jhat.which == joystickId_)
            joystickPov(e.jhat.hat, povFromHat(e.jhat.value));
        break;
    case SDL_JOYDEVICEREMOVED:
        if (joystick_ && e.jdevice.which == joystickId_) {
            detachJoystick();
            SDL_JoystickClose(joystick_);
            joystick_ = nullptr;
            joystickId_ = -1;
        }
        break;
    default:
        break;
    }
}

} // namespace platform
