#pragma once
// Runs arbitrary bytes as a scenario script through the tokeniser, the interpreter and the game
// screen's timing, as frames would. Shared by the fuzz target and the test that replays the
// inputs that once failed.
#include "app/CDirectX.h"
#include "script/ChoiceCommands.h"
#include "script/ChoiceScreen.h"
#include "script/GameScreen.h"
#include "script/Interpreter.h"

#include <cstddef>
#include <cstdint>
#include <iterator>

inline void runScriptBytes(CDirectX& dx, const uint8_t* data, size_t size)
{
    dx.gameState = GameState::Ready;
    dx.scriptState = ScriptState{};
    dx.unlocks.flags.fill(0);
    // Some CG flags set, so that "#if" both runs and skips blocks.
    for (size_t i = 0; i < 18; i += 3)
        dx.unlocks.flags[i] = 1;
    dx.frameDelta = 16;
    dx.script.loadFromBytes("fuzz.scp", data, size);

    clearBranchSets(dx);
    // Points on and around the fuzz archive's 8 x 8 click map.
    static const int32_t kPoints[][2] = {{1, 1}, {3, 0}, {5, 2}, {7, 5}, {2, 6}, {0, 4}, {6, 7}, {4, 3}, {100, 5}, {-1, 2}};
    int hotSpotClicks = 0;

    // Each call consumes at least one token until "EOF"; the bound only guards the test.
    for (int calls = 0; calls < 200000 && dx.script.cursorIndex() <= dx.script.lastIndex; ++calls) {
        // The driver stands in for the frame dispatcher: the pointer over the picture, a left click.
        dx.frameInput.setPointer(dx.frameInput.mouseX(), dx.frameInput.mouseY(), true);
        dx.frameInput.setClicks(true, dx.frameInput.rightClicked());
        if (dx.gameState == GameState::Choice && dx.choices.choiceCount > 0) {
            // A click on the row the call count points at.
            const int32_t row = calls % dx.choices.choiceCount;
            dx.frameInput.movePointer(ChoiceSet::kRowX + 10, ChoiceSet::rowTop(dx.choices.choiceCount, row) + 5);
            choiceLogic(dx);
        } else if (dx.gameState == GameState::Hotspots && hotSpotClicks < 64) {
            const auto& p = kPoints[size_t(hotSpotClicks++) % std::size(kPoints)];
            dx.frameInput.movePointer(p[0], p[1]);
            hotSpotLogic(dx);
        }
        dx.frameInput.setClicks(false, dx.frameInput.rightClicked());
        // Whatever else the last command waits for ends at once; clicks on regions that start
        // nothing give up after a while.
        if (dx.gameState == GameState::Hotspots && hotSpotClicks < 64)
            continue;
        dx.gameState = GameState::Ready;
        dx.scriptState.waitActive = 0;
        runScript(dx);
        gameDraw(dx);
    }
    runScript(dx);
    clearBranchSets(dx);
}
