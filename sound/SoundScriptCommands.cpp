#include "sound/SoundScriptCommands.h"

#include "app/CDirectX.h"
#include "input/KeyCodes.h"
#include "script/CommandArgs.h"

namespace {
// Loads hold the game screen's logic for five frames while drawing goes on.
constexpr int32_t kLoadHoldFrames = 5;

// Under auto mode or a held Ctrl the player is not waiting for the sound: fades become an
// immediate stop.
bool stopAtOnce(CDirectX& dx)
{
    return dx.messageWindow.autoMode || dx.input.keyHeld(DIK_LCONTROL) || dx.input.keyHeld(DIK_RCONTROL);
}

void reportIfArgumentError(CDirectX& dx, CommandResult result, const std::string& token, const std::string& arg)
{
    if (result == CommandResult::ArgumentError)
        reportArgumentError(dx, ArgumentError::Invalid, token, arg);
}
} // namespace

void cmdBgmLoad(CDirectX& dx, const std::string&)
{
    dx.sound.bgmLoadCommand(dx.script.nextToken());
    dx.holdUpdates(kLoadHoldFrames);
}

void cmdBgm(CDirectX& dx, const std::string&)
{
    dx.sound.bgmCommand(dx.script.nextToken());
}

void cmdBgmFade(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    reportIfArgumentError(dx, dx.sound.bgmFadeCommand(arg, stopAtOnce(dx)), token, arg);
}

void cmdSeLoad(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    const CommandResult result = dx.sound.seLoadCommand(arg);
    if (result == CommandResult::Done)
        dx.holdUpdates(kLoadHoldFrames);
    reportIfArgumentError(dx, result, token, arg);
}

void cmdSe(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    reportIfArgumentError(dx, dx.sound.seCommand(arg), token, arg);
}

void cmdSeFade(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    reportIfArgumentError(dx, dx.sound.seFadeCommand(arg, stopAtOnce(dx)), token, arg);
}
