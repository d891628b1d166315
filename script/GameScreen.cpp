#include "script/GameScreen.h"

#include "app/CDirectX.h"
#include "scene/SceneCommands.h"
#include "script/Interpreter.h"

#include <algorithm>

void gameUpdate(CDirectX& dx)
{
    ScriptState& st = dx.scriptState;

    // In ending mode the player leaves with Escape or a right click inside the picture.
    if (st.endingMode && dx.gameState != kGameStateEndingFade && dx.windowActive) {
        if (dx.rightClicked && dx.cursorInside) {
            dx.gameState = kGameStateEndingFade;
            st.endingFade = 0;
        }
    }

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
        if (st.waitElapsed >= st.waitDuration)
            st.waitActive = 0;
    }

    if (dx.gameState == kGameStateEndingFade) {
        st.endingFade += 4 * dx.frameDelta;
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
    if (dx.screens[kScreenTitle].logic || dx.screens[kScreenTitle].draw) {
        dx.screenState = kScreenTitle;
        return;
    }
}
