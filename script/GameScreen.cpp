#include "script/GameScreen.h"

#include "app/CDirectX.h"
#include "input/KeyCodes.h"
#include "scene/CSprite.h"
#include "script/FlowCommands.h"
#include "scene/EffectCommands.h"
#include "scene/SceneCommands.h"
#include "script/Interpreter.h"
#include "text/TextScreen.h"

#include <algorithm>

void gameUpdate(CDirectX& dx)
{
    ScriptState& st = dx.scriptState;

    stepAnimation(dx);

    // In ending mode the player leaves with Escape or a right click inside the picture.
    if (st.endingMode && dx.gameState != kGameStateEndingFade && dx.windowActive) {
        if (dx.input.keyPressed(DIK_ESCAPE) || (dx.rightClicked && dx.cursorInside)) {
            dx.gameState = kGameStateEndingFade;
            st.endingFade = 0;
        }
    }

    messageWindowLogic(dx);

    if (dx.gameState == 0 && !st.waitActive && scenePermitsScript(dx))
        runScript(dx);
}

void gameDraw(CDirectX& dx)
{
    ScriptState& st = dx.scriptState;

    // The benchmark rate counts the frames of the current script only.
    if (st.benchLoadSerial != dx.script.loadSerial()) {
        st.benchLoadSerial = dx.script.loadSerial();
        st.benchFrames = 0;
        st.benchElapsedMs = 0;
    }
    ++st.benchFrames;
    st.benchElapsedMs += uint64_t(std::max(dx.frameDelta, 0));

    composeGameScreen(dx);

    if (st.waitActive) {
        st.waitElapsed += dx.frameDelta;
        // Ctrl skips waits, but not in the ending, where the timing is the scene.
        const bool skip = !st.endingMode && (dx.input.keyHeld(DIK_LCONTROL) || dx.input.keyHeld(DIK_RCONTROL));
        if (skip || st.waitElapsed >= st.waitDuration)
            st.waitActive = 0;
    }

    drawMessageWindow(dx);
    drawGameOverlays(dx);

    if (dx.gameState == kGameStateEndingFade) {
        st.endingFade += 4 * dx.frameDelta;
        if (dx.directDraw) {
            CSprite black;
            black.SetNoTexture();
            black.SetColour(0);
            black.SetAlpha(std::min(st.endingFade, 255));
            black.Draw(*dx.directDraw, 0, 0, 800, 600);
        }
        if (st.endingFade > 300)
            returnToStartScreen(dx);
    }
}

void registerGameScreen(CDirectX& dx)
{
    dx.registerScreen(kScreenGame, gameUpdate, gameDraw);
}

void returnToStartScreen(CDirectX& dx)
{
    ScriptState& st = dx.scriptState;
    st.endingMode = 0;
    st.endingFade = 0;
    st.waitActive = 0;
    st.clickableActive = 0;
    dx.readText.saveReadText();
    dx.gameState = 0;
    if (dx.screens[kScreenTitle].logic || dx.screens[kScreenTitle].draw) {
        dx.screenState = kScreenTitle;
        return;
    }
    // No title screen in this build: the game starts over from its first script.
    loadScenario(dx, st.startScript);
    dx.holdUpdates(5);
}

bool startGameScreen(CDirectX& dx, const std::string& name)
{
    dx.scriptState = ScriptState{};
    dx.scriptState.startScript = name;
    resetScreenEffects(dx.scene);
    resetAnimation(dx.scene);
    dx.screenState = kScreenGame;
    dx.gameState = 0;
    return loadScenario(dx, name);
}
