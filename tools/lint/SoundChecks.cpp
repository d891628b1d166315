// Music and sound-effect commands: their channel numbers, words and the files they open.
#include "script/CommandArgs.h"
#include "sound/SoundSystem.h"
#include "tools/lint/ScriptCheck.h"

namespace {

bool channel(ScriptCheck& c, const std::string& field, const std::string& token)
{
    int32_t v = 0;
    if (wholeNumber(field, v) && v >= 0 && v < SoundSystem::kStreams)
        return true;
    c.error(token + ": the channel " + quoted(field) + " is not a number of 0.." + std::to_string(SoundSystem::kStreams - 1) +
            " (the command is refused)");
    return false;
}

void bgmLoad(ScriptCheck& c, const std::string& token)
{
    c.sound("SOUND\\BGM\\", c.next(), token);
}

void bgm(ScriptCheck& c, const std::string& token)
{
    wordField(c, c.next(), {"play", "noloop", "stop"}, token, "the command does nothing");
}

void bgmFade(ScriptCheck& c, const std::string& token)
{
    const std::vector<std::string> f = splitArguments(c.next());
    if (!wordField(c, f[0], {"out"}, token, "the command does nothing"))
        return;
    if (f.size() > 1)
        numberField(c, f[1], token);
}

void seLoad(ScriptCheck& c, const std::string& token)
{
    const std::string arg = c.next();
    std::vector<std::string> f;
    if (!fields(c, arg, 2, token, f) || !channel(c, f[0], token))
        return;
    // The name is everything after the first comma.
    c.sound("SOUND\\SE\\", arg.substr(f[0].size() + 1), token);
}

void se(ScriptCheck& c, const std::string& token)
{
    std::vector<std::string> f;
    if (!fields(c, c.next(), 2, token, f) || !channel(c, f[0], token))
        return;
    if (!wordField(c, f[1], {"play", "stop"}, token, "any word but play stops the channel"))
        return;
    if (f.size() > 2 && f[1] == "play")
        wordField(c, f[2], {"loop"}, token, "the sound plays once");
}

void seFade(ScriptCheck& c, const std::string& token)
{
    std::vector<std::string> f;
    if (!fields(c, c.next(), 2, token, f) || !channel(c, f[0], token))
        return;
    if (!wordField(c, f[1], {"out"}, token, "the command does nothing"))
        return;
    if (f.size() > 2)
        numberField(c, f[2], token);
}

} // namespace

std::vector<CommandCheck> soundChecks()
{
    return {
        {"@se_load", seLoad}, {"@se", se}, {"@se_fade", seFade}, {"@bgm_load", bgmLoad}, {"@bgm", bgm}, {"@bgm_fade", bgmFade},
    };
}
