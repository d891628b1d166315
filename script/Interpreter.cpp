#include "script/Interpreter.h"

#include "app/CDirectX.h"
#include "app/RunLog.h"
#include "platform/Text.h"
#include "script/CommandTable.h"

#include <cstdio>

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

void reportArgumentError(CDirectX& dx, ArgumentError kind, std::string_view command, std::string_view argument)
{
    const std::string* format = nullptr;
    switch (kind) {
    case ArgumentError::Invalid:
        format = &SJ("(%s.SCP)%d行目 : error : '%s %s' :　コマンド引数に問題があります。");
        break;
    case ArgumentError::OutOfRange02:
        format = &SJ("(%s.SCP)%d行目 : error : '%s %s' :　引数に指定できる数値は、(0-2)の間です。");
        break;
    case ArgumentError::BadNumber:
        format = &SJ("(%s.SCP)%d行目 : error : '%s %s' :　数値が異常です");
        break;
    }
    ScriptState& st = dx.scriptState;
    const std::string cmd(command);
    const std::string arg(argument);
    // The buffer is bounded: a long token shortens the line rather than overrunning it.
    std::snprintf(st.messageBuffer.data(), st.messageBuffer.size(), format->c_str(), dx.script.scriptName().c_str(),
                  dx.script.sourceLine, cmd.c_str(), arg.c_str());
    runLog().append(2, st.messageBuffer.data());
    st.argumentErrorRaised = true;
}
