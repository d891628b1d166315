#include "script/Interpreter.h"

#include "app/CDirectX.h"
#include "script/CommandTable.h"
#include "script/SaveGame.h"

void runScript(CDirectX& dx)
{
    ScriptState& st = dx.scriptState;
    for (;;) {
        // A copy: a command may replace the script and with it the token list.
        const std::string token = dx.script.nextToken();
        if (token == "EOF")
            return;

        // Inside a hot-spot section auto mode would page on by itself while the player is
        // meant to be exploring.
        if (st.clickableActive && token != "]")
            dx.messageWindow.autoMode = 0;

        const CommandRow* row = findCommand(token);
        if (row == nullptr || row->handler == nullptr)
            continue;
        if (row->kind == CommandKind::YieldInHotspotBlock && !st.clickableActive)
            continue;

        // Every text command refreshes the live save record, so a save resumes at this text.
        if (token.find("@text,") != std::string::npos) {
            TakeSnapshot(dx, dx.script.cursorIndex() - 1);
            dx.messageHistory.pushHistorySnapshot(dx.saveRecord);
        }

        st.argumentErrorRaised = false;
        row->handler(dx, token);
        ++st.commandsRun;

        switch (row->kind) {
        case CommandKind::Continue:
            continue;
        case CommandKind::ContinueUnlessError:
            if (st.argumentErrorRaised)
                return;
            continue;
        case CommandKind::Yield:
        case CommandKind::YieldInHotspotBlock:
            return;
        }
    }
}
