// The typing screen: entered by "@type_start", left into the scenario by its two exits.
#include "typing/TypingScreen.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "input/KeyCodes.h"
#include "scene/SceneCommands.h"
#include "script/CommandTable.h"
#include "typing/TypingDraw.h"

#include <algorithm>

namespace {

constexpr int32_t kGameOverHoldMs = 3000;
constexpr int32_t kFadeOutMs = 1000;

void loadTypingSounds(CDirectX& dx)
{
    static const char* const kNames[4] = {"beep01.wav", "beep02.wav", "MsgType.wav", "beep04.wav"};
    for (size_t i = 0; i < dx.sound.systemSounds.size(); ++i)
        dx.sound.systemSounds[i].load(kNames[i]);
}

// The window is active and no confirmation box is open.
bool inputOpen(const CDirectX& dx)
{
    return dx.windowActive && !dx.confirmOpen;
}

// Alt+Enter belongs to the display-mode toggle.
bool altEnterHeld(CDirectX& dx)
{
    return (dx.input.keyHeld(DIK_LMENU) || dx.input.keyHeld(DIK_RMENU)) && dx.input.keyHeld(DIK_RETURN);
}

bool advancePressed(CDirectX& dx)
{
    // Every edge is read so that none is left over for a later frame.
    const bool space = dx.input.takeKeyPress(DIK_SPACE);
    const bool enter = dx.input.takeKeyPress(DIK_RETURN);
    const bool padEnter = dx.input.takeKeyPress(DIK_NUMPADENTER);
    return dx.frameInput.leftClicked() || space || enter || padEnter;
}

void typeKeys(CDirectX& dx)
{
    TypingMode& t = dx.typing;
    uint32_t pressed = 0;
    for (size_t k = 0; k < TypingKeyTable.size(); ++k)
        if (dx.input.takeKeyPress(TypingKeyTable[k].scanCode))
            pressed |= 1u << k;
    if (pressed == 0)
        return;
    const TypingKeyResult r = ProcessTypingKeys(t.line, pressed);
    if (r.romajiChanged)
        RenderRomajiLine(t);
    if (r.acceptSound)
        dx.sound.playSystemSound(3);
    if (r.rejectSound)
        dx.sound.playSystemSound(2);
    if (t.line.KeystrokeCount > 0)
        t.Accuracy = typingAccuracy(t.line);
}

// Back to the scenario on the named script, with the scenario's interface sounds.
void leaveTyping(CDirectX& dx, const std::string& scriptName)
{
    TypingMode& t = dx.typing;
    if (dx.script.load(dx.archive, scriptName)) {
        dx.gameState = GameState::Ready;
        runLog().appendf(1, "Load Script [%s]", scriptName.c_str());
    } else {
        runLog().appendf(2, "ERROR: Load fail [%s]", scriptName.c_str());
    }
    dx.screenState = ScreenState::Game;
    dx.sound.loadSystemSounds();
    t.state = TypingState::RunningScript;
    t.line = TypingLine{};
    t.HudShown = false;
    t.WaitActive = false;
    t.fadeAlpha = 0;
    t.display.count = t.romaji.count = 0;
}

} // namespace

void registerTypingGame(CDirectX& dx)
{
    dx.registerScreen(ScreenState::Typing, TypingUpdate, TypingDraw);
    setCommandHandler("@type_start", cmdTypeStart);
}

void cmdTypeStart(CDirectX& dx, const std::string&)
{
    TypingMode& t = dx.typing;
    t.TypingScriptName = dx.script.nextToken();
    const std::string full = "TYPE\\" + t.TypingScriptName;
    if (dx.script.loadFrom(dx.archive, "TYPE\\", t.TypingScriptName))
        runLog().appendf(1, "Load Script [%s]", full.c_str());
    else
        runLog().appendf(2, "ERROR: Load fail [%s]", full.c_str());
    startTypingMode(dx);
}

void startTypingMode(CDirectX& dx)
{
    TypingMode& t = dx.typing;
    loadTypingSounds(dx);
    prepareKanaTables();
    prepareTypingPictures(dx);
    t.state = TypingState::RunningScript;
    t.Lives = kTypingLives;
    t.line = TypingLine{};
    t.Accuracy = 100;
    t.HudShown = false;
    t.halted = false;
    t.fadeAlpha = 0;
    t.display.count = t.romaji.count = 0;
    dx.screenState = ScreenState::Typing;
}

void TypingUpdate(CDirectX& dx)
{
    TypingMode& t = dx.typing;
    switch (t.state) {
    case TypingState::RunningScript:
        if (t.WaitActive) {
            t.WaitElapsed += dx.frameDelta;
            if (t.WaitElapsed >= t.WaitDuration)
                t.WaitActive = false;
        }
        if (!t.WaitActive && !dx.scene.presentationBusy)
            runTypingScript(dx);
        break;
    case TypingState::KeyWait:
        // A confirmation box over the screen takes the keys; the typing screen none.
        if (!inputOpen(dx))
            break;
        if (dx.input.takeKeyPress(DIK_F1)) {
            t.state = TypingState::GameOver;
            break;
        }
        if (!altEnterHeld(dx) && advancePressed(dx))
            t.state = TypingState::RunningScript;
        break;
    case TypingState::Typing:
        if (t.line.LineDone || dx.confirmOpen)
            break;
        if (dx.input.takeKeyPress(DIK_F1)) {
            t.state = TypingState::GameOver;
            break;
        }
        typeKeys(dx);
        break;
    case TypingState::BackgroundWait:
    case TypingState::GameOver:
    case TypingState::FadeOut:
        break;
    }
}

void TypingDraw(CDirectX& dx)
{
    TypingMode& t = dx.typing;
    TypingLine& line = t.line;
    composeBackgroundLayer(dx);
    if (t.HudShown)
        drawTypingHud(dx);

    switch (t.state) {
    case TypingState::BackgroundWait:
        if (!dx.scene.presentationBusy)
            t.state = TypingState::RunningScript;
        break;
    case TypingState::Typing:
        // The clock stands still while a confirmation box is open.
        if (!line.LineDone && !dx.confirmOpen && TickTypingLine(line, dx.frameDelta)) {
            if (t.Lives > 0)
                --t.Lives;
            dx.sound.playSystemSound(4);
        }
        drawTypingLine(dx);
        if (line.LineDone) {
            if (line.ShowClear)
                drawClearBanner(dx);
            line.ResultTimer -= dx.frameDelta;
            if (line.ResultTimer < 0) {
                if (t.Lives > 0) {
                    t.state = TypingState::RunningScript;
                    line.ShowClear = false;
                } else {
                    line.ResultTimer = kGameOverHoldMs;
                    t.state = TypingState::GameOver;
                }
            }
        }
        break;
    case TypingState::GameOver: {
        drawGameOverBanner(dx);
        if (!inputOpen(dx))
            break;
        const bool f1 = dx.input.takeKeyPress(DIK_F1);
        if (f1 || (!altEnterHeld(dx) && advancePressed(dx))) {
            line.ResultTimer = 0;
            t.fadeAlpha = 0;
            t.state = TypingState::FadeOut;
            dx.sound.bgmFadeCommand("out,1", false);
        }
        break;
    }
    case TypingState::FadeOut:
        drawGameOverBanner(dx);
        t.fadeAlpha = std::min(255, t.fadeAlpha + line.ResultTimer / 4 + 10);
        drawFadeOverlay(dx);
        line.ResultTimer += dx.frameDelta;
        if (line.ResultTimer > kFadeOutMs)
            leaveTypingGameOver(dx);
        break;
    case TypingState::RunningScript:
    case TypingState::KeyWait:
        break;
    }
}

void leaveTypingCleared(CDirectX& dx)
{
    leaveTyping(dx, dx.typing.TypingScriptName + "_clear");
}

void leaveTypingGameOver(CDirectX& dx)
{
    const std::string name = dx.typing.TypingScriptName + "_gameover";
    // The scenario takes over on a black picture.
    loadBackground(dx, dx.scene.bg.current, "black.png");
    leaveTyping(dx, name);
}
