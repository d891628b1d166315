// The typing script: a small dialect of its own, one token a frame, read from the
// scenario's script object.
#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "scene/SceneCommands.h"
#include "script/CommandArgs.h"
#include "typing/TypingDraw.h"
#include "typing/TypingScreen.h"

#include <array>
#include <string_view>

namespace {

struct TypingCommand {
    std::string_view name;
    // The interpreter goes straight on to the next token after it.
    bool continues;
    void (*handler)(CDirectX& dx, const std::string& token);
};

// A token cut to fit its buffer is logged with what was kept.
template <size_t N>
void assignLogged(FixedText<N>& field, const std::string& text, const char* command)
{
    if (field.assign(text))
        runLog().appendf(2, "%s : text longer than %d bytes cut : %s", command, int(N - 1), field.c_str());
}

// The next token that is not a line end; false at "EOF". The empty token that ends every
// script counts as its end too.
bool blockToken(CDirectX& dx, std::string& out)
{
    for (;;) {
        const std::string& token = dx.script.nextToken();
        if (token == "EOF" || token.empty())
            return false;
        if (token == "\n")
            continue;
        out = token;
        return true;
    }
}

void typingType(CDirectX& dx, const std::string& token)
{
    if (!dx.script.seekToken("{")) {
        runLog().append(2, "not found { in @type");
        return;
    }
    std::string display, kana, guide;
    if (!blockToken(dx, display) || !blockToken(dx, kana) || !blockToken(dx, guide)) {
        runLog().append(2, "nor found } in @text");
        return;
    }
    TypingMode& t = dx.typing;
    TypingLine& line = t.line;
    assignLogged(line.DisplayText, display, token.c_str());
    assignLogged(line.KanaText, kana, token.c_str());
    assignLogged(line.GuideText, guide, token.c_str());
    line.DisplayLength = int32_t(line.DisplayText.size() / 2);
    StartTypingLine(line);
    renderDisplayText(dx);
    RenderRomajiLine(t);
    t.Accuracy = 100;
    t.state = TypingState::Typing;
}

void message(CDirectX& dx, const std::string& token, uint16_t colour)
{
    TypingMode& t = dx.typing;
    assignLogged(t.MessageText, dx.script.nextToken(), token.c_str());
    t.messageColour = colour;
    renderMessage(dx);
}

void typingMesChr(CDirectX& dx, const std::string& token)
{
    message(dx, token, 0xDFD);
}

void typingMesDab(CDirectX& dx, const std::string& token)
{
    message(dx, token, 0xCC6);
}

void typingMesSys(CDirectX& dx, const std::string& token)
{
    message(dx, token, 0xF66);
}

void typingKeywait(CDirectX& dx, const std::string&)
{
    dx.typing.state = TypingState::KeyWait;
}

void typingWait(CDirectX& dx, const std::string&)
{
    TypingMode& t = dx.typing;
    t.WaitActive = true;
    t.WaitElapsed = 0;
    t.WaitDuration = argumentNumber(dx.script.nextToken());
    t.state = TypingState::RunningScript;
}

void typingWindow(CDirectX& dx, const std::string&)
{
    const std::string& word = dx.script.nextToken();
    if (word == "show")
        dx.typing.HudShown = true;
    else if (word == "hide")
        dx.typing.HudShown = false;
}

void typingBgLoad(CDirectX& dx, const std::string&)
{
    const std::string name = dx.script.nextToken();
    const int channel = 1 - dx.scene.bg.current;
    if (loadBackground(dx, channel, name, "TYPE\\"))
        runLog().appendf(1, "@bg_load. channel%d : %s", channel, name.c_str());
    else
        runLog().appendf(2, "@bg_load failed. channel%d : %s", channel, name.c_str());
    dx.unlocks.MarkCgSeen(std::string_view(name).substr(0, name.find('.')));
}

void typingBgChange(CDirectX& dx, const std::string&)
{
    startBackgroundCrossFade(dx, argumentNumber(dx.script.nextToken()));
    dx.typing.state = TypingState::BackgroundWait;
}

void typingSeLoad(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    if (dx.sound.seLoadCommand(arg) == CommandResult::ArgumentError)
        reportArgumentError(dx, ArgumentError::Invalid, token, arg);
}

void typingSe(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    if (dx.sound.seCommand(arg) == CommandResult::ArgumentError)
        reportArgumentError(dx, ArgumentError::Invalid, token, arg);
}

void typingBgmLoad(CDirectX& dx, const std::string&)
{
    const std::string name = dx.script.nextToken();
    if (dx.sound.bgmLoadCommand(name) != CommandResult::Done)
        runLog().appendf(2, "BGM load failed. [%s]", name.c_str());
}

void typingBgm(CDirectX& dx, const std::string&)
{
    const std::string word = dx.script.nextToken();
    // Music switched off in the options is never started here.
    if ((word == "play" || word == "noloop") && !dx.config.bgmOn)
        return;
    dx.sound.bgmCommand(word);
}

void typingBgmFade(CDirectX& dx, const std::string&)
{
    dx.sound.bgmFadeCommand(dx.script.nextToken(), false);
}

void typingLoad(CDirectX& dx, const std::string&)
{
    const std::string name = dx.script.nextToken();
    if (dx.script.load(dx.archive, name))
        runLog().appendf(1, "Load Script [%s]", name.c_str());
    else
        runLog().appendf(2, "ERROR: Load fail [%s]", name.c_str());
}

void typingFinish(CDirectX& dx, const std::string&)
{
    leaveTypingCleared(dx);
}

// In the order tokens are compared.
constexpr std::array<TypingCommand, 17> kTypingCommands{{
    {"@type", false, typingType},
    {"@mes_chr", false, typingMesChr},
    {"@mes_dab", false, typingMesDab},
    {"@mes_sys", false, typingMesSys},
    {"@keywait", false, typingKeywait},
    {"@wait", false, typingWait},
    {"@window", true, typingWindow},
    {"@bg_load", true, typingBgLoad},
    {"@bg_change", false, typingBgChange},
    {"@se_load", false, typingSeLoad},
    {"@se", false, typingSe},
    {"@bgm_load", false, typingBgmLoad},
    {"@bgm", false, typingBgm},
    {"@bgm_fade", false, typingBgmFade},
    {"@load", false, typingLoad},
    {"@finish", false, typingFinish},
    {"@QUIT_TO_OP", false, typingFinish},
}};

} // namespace

void runTypingScript(CDirectX& dx)
{
    TypingMode& t = dx.typing;
    while (!t.halted) {
        // A copy: "@load" replaces the token list.
        const std::string token = dx.script.nextToken();
        if (token == "EOF") {
            runLog().append(2, "SCRIPT : Find Script EOF. Script HALT.");
            t.halted = true;
            return;
        }
        const TypingCommand* command = nullptr;
        for (const TypingCommand& c : kTypingCommands)
            if (token == c.name) {
                command = &c;
                break;
            }
        if (!command)
            return;
        command->handler(dx, token);
        if (!command->continues || dx.screenState != ScreenState::Typing)
            return;
    }
}
