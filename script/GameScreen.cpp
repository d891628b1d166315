#include "script/GameScreen.h"

#include "app/CDirectX.h"
#include "core/ScreenSize.h"
#include "graphics/CSprite.h"
#include "input/KeyCodes.h"
#include "script/ChoiceCommands.h"
#include "script/ChoiceScreen.h"
#include "scene/EffectCommands.h"
#include "scene/SceneCommands.h"
#include "script/FlowCommands.h"
#include "script/Interpreter.h"
#include "text/TextScreen.h"

#include <algorithm>

void gameUpdate(CDirectX& dx)
{
    ScriptState& st = dx.scriptState;

    stepAnimation(dx);

    // In ending mode the player leaves with Escape or a right click inside the picture.
    if (st.endingMode && dx.gameState != GameState::EndingFade && dx.windowActive) {
        if (dx.input.takeKeyPress(DIK_ESCAPE) || (dx.frameInput.rightClicked() && dx.frameInput.cursorInside())) {
            dx.gameState = GameState::EndingFade;
            st.endingFade = 0;
        }
    }

    messageWindowLogic(dx);
    if (dx.gameState == GameState::Choice)
        choiceLogic(dx);
    else if (dx.gameState == GameState::Hotspots)
        hotSpotLogic(dx);

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

    // The confirmation box and the in-game menu pause the game: a wait does not run out behind them.
    if (st.waitActive && !dx.confirmOpen && !dx.gameMenu.open) {
        st.waitElapsed += dx.frameDelta;
        // Ctrl skips waits, but not in the ending, where the timing is the scene.
        const bool skip = !st.endingMode && (dx.input.keyHeld(DIK_LCONTROL) || dx.input.keyHeld(DIK_RCONTROL));
        if (skip || st.waitElapsed >= st.waitDuration)
            st.waitActive = 0;
    }

    drawMessageWindow(dx);
    drawChoices(dx);
    drawGameOverlays(dx);

    if (dx.gameState == GameState::EndingFade) {
        st.endingFade += 4 * dx.frameDelta;
        if (dx.display.directDraw()) {
            CSprite black;
            black.SetNoTexture();
            black.SetColour(0);
            black.SetAlpha(std::min(st.endingFade, 255));
            black.Draw(*dx.display.directDraw(), 0, 0, kScreenWidth, kScreenHeight);
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
    clearBranchSets(dx);
    if (dx.titleReturn)
        dx.titleReturn(dx);
}

bool startGameScreen(CDirectX& dx, const std::string& name)
{
    dx.scriptState = ScriptState{};
    dx.saveRecord.clear();
    dx.messageHistory.empty();
    // In place of the title's new game: a story game that can be saved.
    dx.gameMenu.storyGame = true;
    clearBranchSets(dx);
    resetScreenEffects(dx.scene);
    resetAnimation(dx.scene);
    dx.screenState = ScreenState::Game;
    dx.gameState = GameState::Ready;
    return loadScenario(dx, name);
}
