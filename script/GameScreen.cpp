#include "script/GameScreen.h"

#include "app/CDirectX.h"
#include "core/ScreenSize.h"
#include "graphics/CSprite.h"
#include "input/KeyCodes.h"
#include "scene/SceneCommands.h"
#include "script/FlowCommands.h"
#include "script/Interpreter.h"
#include "text/TextScreen.h"

#include <algorithm>

void gameUpdate(CDirectX& dx)
{
    ScriptState& st = dx.scriptState;

    // In ending mode the player leaves with Escape or a right click inside the picture.
    if (st.endingMode && dx.gameState != GameState::EndingFade && dx.windowActive) {
        if (dx.input.keyPressed(DIK_ESCAPE) || (dx.rightClicked && dx.cursorInside)) {
            dx.gameState = GameState::EndingFade;
            st.endingFade = 0;
        }
    }

    messageWindowLogic(dx);

    if (dx.gameState == GameState::Ready && !st.waitActive && scenePermitsScript(dx))
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

    if (dx.gameState == GameState::EndingFade) {
        st.endingFade += 4 * dx.frameDelta;
        if (dx.directDraw) {
            CSprite black;
            black.SetNoTexture();
            black.SetColour(0);
            black.SetAlpha(std::min(st.endingFade, 255));
            black.Draw(*dx.directDraw, 0, 0, kScreenWidth, kScreenHeight);
        }
        if (st.endingFade > 300)
            returnToStartScreen(dx);
    }
}

void registerGameScreen(CDirectX& dx)
{
    dx.registerScreen(ScreenState::Game, gameUpdate, gameDraw);
}

void returnToStartScreen(CDirectX& dx)
{
    ScriptState& st = dx.scriptState;
    st.endingMode = 0;
    st.endingFade = 0;
    st.waitActive = 0;
    st.clickableActive = 0;
    dx.readText.saveReadText();
    dx.gameState = GameState::Ready;
    const auto& title = dx.screens[size_t(ScreenState::Title)];
    if (title.logic || title.draw) {
        dx.screenState = ScreenState::Title;
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
    dx.screenState = ScreenState::Game;
    dx.gameState = GameState::Ready;
    return loadScenario(dx, name);
}
