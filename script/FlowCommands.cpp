#include "script/FlowCommands.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "script/CommandArgs.h"

#include <algorithm>

void cmdEndingStart(CDirectX& dx, const std::string&)
{
    dx.scriptState.endingMode = 1;
}

void cmdFpsCapture(CDirectX& dx, const std::string&)
{
    ScriptState& st = dx.scriptState;
    // Before the first drawn millisecond there is no rate to measure: 0, never a division by 0.
    if (st.benchElapsedMs == 0) {
        st.fpsResult = 0;
        return;
    }
    uint64_t fps = st.benchFrames * 1000 / st.benchElapsedMs;
    st.fpsResult = int32_t(std::min<uint64_t>(fps, INT32_MAX));
}

void cmdTestTitle(CDirectX& dx, const std::string&)
{
    dx.scriptState.testTitle = dx.script.nextToken();
}

void cmdIf(CDirectX& dx, const std::string&)
{
    const std::string name = dx.script.nextToken();
    int k = UnlockRecord::FindCg(name);
    if (k < 0) {
        // An unknown flag never hides the block.
        runLog().appendf(2, "unknown such flag-name : %s", name.c_str());
        return;
    }
    if (dx.unlocks.cgSeen(k))
        return;
    // Blocks do not nest: the first "#endif" ends the skip.
    dx.script.seekToken("#endif");
}

void cmdEndif(CDirectX&, const std::string&) {}

void cmdOmoideFlagSet(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    // Only memory flags 0..15 exist in the record; any other number would write elsewhere.
    if (!dx.unlocks.setMemoryFlag(argumentNumber(arg)))
        reportArgumentError(dx, ArgumentError::BadNumber, token, arg);
}

void cmdExit(CDirectX&, const std::string&)
{
    runLog().append(1, "Starting QUIZ MODE");
}

void cmdWait(CDirectX& dx, const std::string&)
{
    ScriptState& st = dx.scriptState;
    st.waitActive = 1;
    st.waitElapsed = 0;
    st.waitDuration = argumentNumber(dx.script.nextToken());
}

bool loadScenario(CDirectX& dx, const std::string& name)
{
    if (!dx.script.scriptName().empty())
        dx.readText.recordReadPosition(dx.script.scriptName(), dx.script.cursorIndex());
    if (dx.script.load(dx.archive, name)) {
        dx.gameState = GameState::Ready;
        runLog().appendf(1, "Load Script [%s]", name.c_str());
        return true;
    }
    runLog().appendf(2, "ERROR: Load fail [%s]", name.c_str());
    return false;
}

void cmdLoad(CDirectX& dx, const std::string&)
{
    const std::string name = dx.script.nextToken();
    loadScenario(dx, name);
    dx.scriptState.clickableActive = 0;
    dx.holdUpdates(5);
}
