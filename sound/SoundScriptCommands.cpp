#include "sound/SoundScriptCommands.h"

#include "app/CDirectX.h"
#include "input/KeyCodes.h"
#include "script/CommandArgs.h"

namespace {
// Loads hold the game screen's logic for five frames while drawing goes on.
constexpr int32_t kLoadHoldFrames = 5;

// A held Ctrl skips: fades become an immediate stop. (Auto mode does the same once the
// message window is part of the engine.)
bool stopAtOnce(CDirectX& dx)
{
    return dx.input.keyHeld(DIK_LCONTROL) || dx.input.keyHeld(DIK_RCONTROL);
}

void reportIfArgumentError(CDirectX& dx, CommandResult result, const std::string& token, const std::string& arg)
{
    if (result == CommandResult::ArgumentError)
        reportArgumentError(dx, ArgumentError::Invalid, token, arg);
}
} // namespace

void cmdBgmLoad(CDirectX& dx, const std::string&)
{
    dx.bgmLoadCommand(dx.script.nextToken());
    dx.holdUpdates(kLoadHoldFrames);
}

void cmdBgm(CDirectX& dx, const std::string&)
{
    dx.bgmCommand(dx.script.nextToken());
}

void cmdBgmFade(CDirectX& dx, const std::string&)
{
    dx.bgmFadeCommand(dx.script.nextToken(), stopAtOnce(dx));
}

void cmdSeLoad(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    const CommandResult result = dx.seLoadCommand(arg);
    if (result == CommandResult::Done)
        dx.holdUpdates(kLoadHoldFrames);
    reportIfArgumentError(dx, result, token, arg);
}

void cmdSe(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    reportIfArgumentError(dx, dx.seCommand(arg), token, arg);
}

void cmdSeFade(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    reportIfArgumentError(dx, dx.seFadeCommand(arg, stopAtOnce(dx)), token, arg);
}
