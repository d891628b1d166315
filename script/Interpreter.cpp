#include "script/Interpreter.h"

#include "app/CDirectX.h"
#include "script/CommandTable.h"

void runScript(CDirectX& dx)
{
    ScriptState& st = dx.scriptState;
    for (;;) {
        // A copy: a command may replace the script and with it the token list.
        const std::string token = dx.script.nextToken();
        if (token == "EOF")
            return;

        // While a hot-spot block is open, every token but "]" clears the text window's
        // auto mode (arrives with the message window).

        const CommandRow* row = findCommand(token);
        if (row == nullptr || row->handler == nullptr)
            continue;
        if (row->kind == CommandKind::YieldInHotspotBlock && !st.clickableActive)
            continue;

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
