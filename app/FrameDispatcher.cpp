// One pass of the engine: input, logic, timing, drawing, presenting, pacing, requests.
#include "app/CDirectX.h"
#include "core/ScreenSize.h"
#include "screens/ConfirmBox.h"
#include "platform/Clock.h"
#include "platform/Video.h"
#include "platform/Window.h"

namespace {

bool pointerInsidePicture(int x, int y)
{
    return x >= 0 && x < kScreenWidth && y >= 0 && y < kScreenHeight;
}

} // namespace

int CDirectX::runFrame()
{
    platform::Clock& clock = *sys.clock;
    platform::Window& window = *sys.window;

    // Input. Alt+Enter asks for the display-mode toggle; it is looked at right after the
    // poll so that the Enter of the combination is dropped before any screen reads it.
    input.pollMouse();
    input.pollKeyboard();
    if ((input.keyHeld(DIK_LMENU) || input.keyHeld(DIK_RMENU)) && input.keyHeld(DIK_RETURN)) {
        displayModeToggleRequested = true;
        inputIgnoreActive = true;
        input.setIgnore(true);
    }
    input.pollJoysticks();

    // Pointer. In a window the system cursor shows only outside the picture.
    int32_t mouseX = frameInput.mouseX(), mouseY = frameInput.mouseY();
    window.cursorPos(mouseX, mouseY);
    bool inside = true;
    if (!display.windowed()) {
        inside = true;
    } else if (!pointerInsidePicture(mouseX, mouseY)) {
        if (display.deviceReady()) {
            while (window.showCursor(true) < 1) {
            }
            window.showCursor(false);
        }
        inside = false;
    } else {
        if (display.deviceReady()) {
            while (window.showCursor(false) >= 0) {
            }
        }
        inside = true;
    }
    frameInput.setPointer(mouseX, mouseY, inside);

    // Clicks: button-press edges count only while the window is active.
    if (windowActive) {
        const bool left = input.takeMousePress(0);
        const bool right = input.takeMousePress(1);
        frameInput.setClicks(left, right);
    } else {
        frameInput.dropClicks();
    }

    if (!display.deviceReady()) {
        clock.sleep(1);
        frameInput.dropClicks();
        return -1;
    }

    // Skip mode ends at Escape or any click, on every screen and wherever the pointer is.
    messageWindow.cancelSkipOnInput(frameInput.leftClicked() || frameInput.rightClicked() ||
                                    input.keyPressPending(DIK_ESCAPE));

    // Logic phase of the current screen. The open confirmation box pauses the game and has
    // the keyboard and the mouse to itself.
    if (!updateHoldActive && !confirmOpen) {
        auto& phases = screens[size_t(screenState) < screens.size() ? size_t(screenState) : 0];
        if (phases.logic)
            phases.logic(*this);
    }

    // Timing: nothing is drawn sooner than 1 ms after the last frame, and a long gap
    // (a minimise, a blocking load) counts as one 16 ms step.
    thisFrameTime = clock.now();
    frameDelta = int32_t(thisFrameTime - lastFrameTime);
    if (frameDelta < 1) {
        clock.sleep(1);
        return 0;
    }
    if (frameDelta > 1000)
        frameDelta = 16;

    beginFrameScene();

    // Draw phase of the current screen.
    {
        auto& phases = screens[size_t(screenState) < screens.size() ? size_t(screenState) : 0];
        if (phases.draw)
            phases.draw(*this);
    }

    if (updateHoldActive) {
        if (updateHoldFrames > 0)
            --updateHoldFrames;
        else
            updateHoldActive = false;
    }

    if (confirmOpen) {
        quitRequested = false;
        ConfirmFrame(*this);
    }

    pointer.setHoverShape(hotSpots.hoverCursor);
    if (frameInput.cursorInside() && display.directDraw())
        pointer.draw(*display.directDraw(), frameInput.mouseX(), frameInput.mouseY(), gameState == GameState::Hotspots, thisFrameTime);
    endFrameScene();
    Present();

    ++framesDrawn;
    lastFrameTime = thisFrameTime;
    frameInput.dropClicks();

    // Pacing: a window frame that came within 6 ms waits out the rest; every frame sleeps 1 ms.
    if (display.windowed() && frameDelta < 6)
        clock.sleep(uint32_t(6 - frameDelta));
    clock.sleep(1);
    // A frame that showed nothing new waits for the player's next move or the display's next
    // refresh, whichever comes first: the animations' next step is never further away, and a
    // click or key is taken at once.
    if (display.directDraw() && display.directDraw()->lastPresentUnchanged())
        window.waitForMessage(display.directDraw()->takeIdleWait());

    if (displayModeToggleRequested) {
        input.clearKeys();
        frameSuspended = true;
        toggleDisplayMode();
        frameSuspended = false;
        displayModeToggleRequested = false;
        modeToggleCooldown = 5;
    }

    if (inputIgnoreActive) {
        if (modeToggleCooldown < 0) {
            inputIgnoreActive = false;
            input.setIgnore(false);
        } else
            --modeToggleCooldown;
    }

    if (quitRequested) {
        frameSuspended = true;
        destroyMainWindow();
        return 0;
    }
    return 0;
}
