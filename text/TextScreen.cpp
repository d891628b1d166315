#include "text/TextScreen.h"

#include "app/CDirectX.h"
#include "input/KeyCodes.h"
#include "platform/Video.h"

#include <algorithm>

namespace {

// Alpha steps per millisecond of the player's hide/show and of "@textwindow": a quarter
// second from shown to hidden.
int fadeStep(int32_t frameDelta)
{
    return std::max(1, frameDelta);
}

bool inRect(const CDirectX& dx, int x, int y, int w, int h)
{
    return dx.frameInput.mouseX() >= x && dx.frameInput.mouseX() < x + w && dx.frameInput.mouseY() >= y && dx.frameInput.mouseY() < y + h;
}

// Moves on from a click wait: after a pause character typing goes on, after a complete page
// the interpreter runs again.
void moveOn(CDirectX& dx, bool byCtrl)
{
    MessageWindow& w = dx.messageWindow;
    w.showClickMark(false);
    w.skipMode = 0;
    w.autoElapsed = 0;
    dx.gameState = dx.gameState == GameState::PauseClickWait ? GameState::Typing : GameState::Ready;
    if (!byCtrl)
        w.voiceQueue.pending = true;
}

// One frame of the message window's states: typing, the click waits, the player's hide and
// show, and the window commands' fades and effects.
void stepMessageWindow(CDirectX& dx, bool left, bool right, bool hideKey)
{
    MessageWindow& w = dx.messageWindow;
    const GameState state = dx.gameState;
    const bool typingStates =
        state == GameState::Typing || state == GameState::PauseClickWait || state == GameState::PageClickWait;

    // The player's hide and show. While typing, a left click completes the page and leaves
    // the window as it is; only at a click wait does it bring a hidden window back.
    if (typingStates) {
        const bool hideInput = right || hideKey;
        if (!w.windowHidden && hideInput) {
            w.skipMode = 0;
            w.returnState = state;
            w.windowAlpha = 255;
            dx.gameState = GameState::WindowHiding;
            return;
        }
        if (w.windowHidden && (hideInput || (left && state != GameState::Typing))) {
            w.skipMode = 0;
            w.returnState = state;
            w.windowHidden = 0;
            w.windowAlpha = 0;
            dx.gameState = GameState::WindowShowing;
            return;
        }
    }

    switch (state) {
    case GameState::Typing: {
        if (w.voiceQueue.pending)
            dx.sound.playQueuedVoice(w.voiceQueue, w.ctrlSkip != 0, dx.config.voiceOn, dx.config.voiceLevel);
        AdvanceResult r = AdvanceResult::Typing;
        const bool skipping = w.skipMode && (dx.readText.isRead(dx.script.scriptName(), dx.script.cursorIndex()) ||
                                             dx.config.skipAll);
        if (w.skipMode && !skipping)
            w.skipMode = 0; // skipping stops at the first unread message
        if (skipping) {
            while ((r = w.advance(true)) == AdvanceResult::Paused) {}
            w.showClickMark(false);
            dx.gameState = GameState::Ready;
            break;
        }
        if (left || w.ctrlSkip || dx.config.textSpeed >= 7) {
            r = w.advance(true);
        } else {
            // One character per expiry, and the timer starts afresh: a frame longer than the
            // delay still types one character, which is the pace players know.
            w.charTimer -= dx.frameDelta;
            if (w.charTimer < 0) {
                r = w.advance(false);
                w.charTimer = w.textDelay;
            }
        }
        if (r == AdvanceResult::PageComplete) {
            w.showClickMark(!w.noWait);
            w.autoElapsed = 0;
            dx.gameState = GameState::PageClickWait;
        } else if (r == AdvanceResult::Paused) {
            w.showClickMark(true);
            w.autoElapsed = 0;
            dx.gameState = GameState::PauseClickWait;
        }
        break;
    }
    case GameState::PauseClickWait:
    case GameState::PageClickWait: {
        if (w.noWait && state == GameState::PageClickWait) {
            w.showClickMark(false);
            dx.gameState = GameState::Ready;
            break;
        }
        if (w.skipMode) {
            // Skip mode switched on at a click wait carries on from here when it may: the
            // player is at a click wait nearly all the time, and the click that would move on
            // also ends skip mode.
            if (dx.readText.isRead(dx.script.scriptName(), dx.script.cursorIndex()) || dx.config.skipAll) {
                w.showClickMark(false);
                dx.gameState = state == GameState::PauseClickWait ? GameState::Typing : GameState::Ready;
                break;
            }
            w.skipMode = 0;
        }
        bool go = left || w.ctrlSkip;
        if (w.autoMode) {
            w.autoElapsed += dx.frameDelta;
            if (w.autoElapsed > 1000 * (std::clamp(dx.config.autoWait, 0, 7) + 1))
                go = true;
        }
        if (go)
            moveOn(dx, w.ctrlSkip && !left);
        break;
    }
    case GameState::WindowHiding:
        w.windowAlpha -= fadeStep(dx.frameDelta);
        if (w.windowAlpha <= 0) {
            w.windowAlpha = 0;
            w.windowHidden = 1;
            dx.gameState = w.returnState;
        }
        break;
    case GameState::WindowShowing:
        w.windowAlpha += fadeStep(dx.frameDelta);
        if (w.windowAlpha >= 255) {
            w.windowAlpha = 255;
            dx.gameState = w.returnState;
        }
        break;
    case GameState::WindowEffectHide:
    case GameState::WindowEffectShow:
        if (!w.isWindowEffectRunning()) {
            if (state == GameState::WindowEffectHide) {
                w.windowHidden = 1;
                w.windowAlpha = 0;
            } else {
                w.windowAlpha = 255;
            }
            dx.gameState = GameState::Ready;
        }
        break;
    case GameState::WindowFadeOut:
        w.windowAlpha -= fadeStep(dx.frameDelta);
        if (w.windowAlpha <= 0) {
            w.windowAlpha = 0;
            w.windowHidden = 1;
            dx.gameState = GameState::Ready;
        }
        break;
    case GameState::WindowFadeIn:
        w.windowAlpha += fadeStep(dx.frameDelta);
        if (w.windowAlpha >= 255) {
            w.windowAlpha = 255;
            dx.gameState = GameState::Ready;
        }
        break;
    default:
        break;
    }
}

} // namespace

void messageWindowLogic(CDirectX& dx)
{
    MessageWindow& w = dx.messageWindow;
    CInput& in = dx.input;
    // A click on the auto or skip button is a click in the window as well.
    const bool left = dx.frameInput.leftClicked() && dx.frameInput.cursorInside();
    const bool right = dx.frameInput.rightClicked() && dx.frameInput.cursorInside();
    // Key edges are taken when read, so only the states that use a key read it; skip mode
    // takes Escape too, so that the press that ended it is not left for a later frame.
    const bool typingStates = dx.gameState == GameState::Typing || dx.gameState == GameState::PauseClickWait ||
                              dx.gameState == GameState::PageClickWait;
    const bool escape = (typingStates || w.skipCancelledByInput) && in.takeKeyPress(DIK_ESCAPE);
    bool hideKey = escape;
    if (typingStates) {
        // Every one of them is read, so that none is left pending for a later frame.
        const bool tab = in.takeKeyPress(DIK_TAB);
        const bool lshift = in.takeKeyPress(DIK_LSHIFT);
        const bool rshift = in.takeKeyPress(DIK_RSHIFT);
        hideKey = hideKey || tab || lshift || rshift;
    }

    w.ctrlSkip = (in.keyHeld(DIK_LCONTROL) || in.keyHeld(DIK_RCONTROL)) ? 1 : 0;
    if (w.ctrlSkip) {
        w.skipMode = 0;
        if (dx.scriptState.waitActive && !dx.scriptState.endingMode)
            dx.scriptState.waitActive = 0;
    }

    stepMessageWindow(dx, left, right, hideKey);

    // The toggles come after the text has taken the click, so that a click on the skip button
    // at a click wait both moves on and leaves skip mode on for what follows.
    if ((left && inRect(dx, 688, 428, 64, 16)) || in.takeKeyPress(kKeyAutoToggle)) {
        w.autoMode = w.autoMode ? 0 : 1;
        w.autoElapsed = 0;
    }
    const bool skipButton = left && inRect(dx, 624, 428, 64, 16);
    if (in.takeKeyPress(kKeySkipToggle) || (skipButton && !w.skipCancelledByInput)) {
        w.skipMode = w.skipMode ? 0 : 1;
        w.skipModeArmed = w.skipMode;
    }
}

