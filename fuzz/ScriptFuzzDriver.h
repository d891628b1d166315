#pragma once
// Runs arbitrary bytes as a scenario script through the tokeniser, the interpreter and the game
// screen's timing, as frames would. Shared by the fuzz target and the test that replays the
// inputs that once failed.
#include "app/CDirectX.h"
#include "script/GameScreen.h"
#include "script/Interpreter.h"

#include <cstddef>
#include <cstdint>

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

    // Each call consumes at least one token until "EOF"; the bound only guards the test.
    for (int calls = 0; calls < 200000 && dx.script.cursorIndex() <= dx.script.lastIndex; ++calls) {
        // Whatever the last command waits for ends at once.
        dx.gameState = GameState::Ready;
        dx.scriptState.waitActive = 0;
        runScript(dx);
        gameDraw(dx);
    }
    runScript(dx);
}
