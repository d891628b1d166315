// The engine's sound operations: start-up and teardown of the sound objects, the script
// sound commands and voice playback.
#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "script/CommandArgs.h"

#include <vector>

namespace {
// The effect channels are 0..7, written as a whole number; anything else is refused.
bool parseChannel(std::string_view field, int& channel)
{
    int32_t v = 0;
    if (!wholeNumber(field, v) || v < 0 || v >= SoundSystem::kStreams)
        return false;
    channel = v;
    return true;
}

// The program folder as the game writes paths below it, ending with a backslash.
std::string programFolder()
{
    return platform::utf8ToSjis(platform::files::programDir()) + "\\";
}
} // namespace

int soundGroupPercent(uint8_t on, int32_t level)
{
    return on ? volumePercentForLevel(level) : 0;
}

bool CDirectX::startSound()
{
    sound.device.setService(sys.audio);
    if (!sound.device.create(sys.window))
        return false;
    platform::Audio* device = sound.device.device();
    const int bgmPercent = soundGroupPercent(config.bgmOn, config.bgmLevel);
    const int sePercent = soundGroupPercent(config.seOn, config.seLevel);
    const int voicePercent = soundGroupPercent(config.voiceOn, config.voiceLevel);
    sound.bgm.attach(device);
    sound.bgm.setVolume(bgmPercent);
    for (auto& s : sound.se) {
        s.attach(device);
        s.setVolume(sePercent);
    }
    for (auto& b : sound.systemSounds) {
        b.attach(device);
        b.setVolume(sePercent);
    }
    for (auto& v : sound.voice) {
        v.attach(device);
        v.setVolume(voicePercent);
    }
    return true;
}

void CDirectX::stopSound()
{
    sound.bgm.stop();
    for (auto& s : sound.se)
        s.stop();
    for (auto& v : sound.voice)
        v.stop();
    for (auto& b : sound.systemSounds)
        b.stop();
}

void CDirectX::releaseSound()
{
    // Stopping a stream that no longer plays closes its file and frees its buffer.
    sound.bgm.stop();
    for (auto& s : sound.se)
        s.stop();
    for (auto& v : sound.voice)
        v.stop();
    for (auto& b : sound.systemSounds)
        b.release();
    sound.device.release();
}

void CDirectX::loadSystemSounds()
{
    static const char* const kNames[4] = {"SYSTEM\\ok.wav", "SYSTEM\\cancel.wav", "SYSTEM\\logo.wav",
                                          "SYSTEM\\test.wav"};
    for (size_t i = 0; i < sound.systemSounds.size(); ++i)
        sound.systemSounds[i].load(kNames[i]);
}

bool CDirectX::playSystemSound(int slot)
{
    if (slot < 1 || slot > int(sound.systemSounds.size()))
        return false;
    return sound.systemSounds[size_t(slot - 1)].play(false);
}

CommandResult CDirectX::bgmLoadCommand(std::string_view name)
{
    const uint32_t t0 = sys.clock->now();
    sound.bgm.stop();
    std::string path = programFolder() + "SOUND\\BGM\\";
    path.append(name);
    const int result = sound.bgm.load(path);
    runLog().appendf(1, "BGM loaded.. [%.*s](DISK %dms)", int(name.size()), name.data(), int(sys.clock->now() - t0));
    return result == 0 ? CommandResult::Done : CommandResult::Failed;
}

CommandResult CDirectX::bgmCommand(std::string_view word)
{
    if (word == "play" || word == "noloop") {
        const bool loop = word == "play";
        const bool ok = sound.bgm.play(loop);
        sound.bgmPlaying = true;
        sound.bgmLooping = loop;
        return ok ? CommandResult::Done : CommandResult::Failed;
    }
    if (word == "stop") {
        sound.bgm.stop();
        sound.bgmPlaying = false;
        sound.bgmLooping = false;
    }
    return CommandResult::Done;
}

CommandResult CDirectX::bgmFadeCommand(std::string_view args, bool stopAtOnce)
{
    const std::vector<std::string> f = splitArguments(args);
    if (f[0] != "out")
        return CommandResult::Done;
    if (stopAtOnce)
        sound.bgm.stop();
    else
        sound.bgm.fadeOut(f.size() > 1 ? argumentNumber(f[1]) : 0);
    sound.bgmPlaying = false;
    sound.bgmLooping = false;
    return CommandResult::Done;
}

CommandResult CDirectX::seLoadCommand(std::string_view args)
{
    const std::vector<std::string> f = splitArguments(args);
    int ch = 0;
    if (f.size() < 2 || !parseChannel(f[0], ch))
        return CommandResult::ArgumentError;
    // The name is everything after the first comma.
    std::string_view name = args.substr(f[0].size() + 1);
    const uint32_t t0 = sys.clock->now();
    std::string path = programFolder() + "SOUND\\SE\\";
    path.append(name);
    if (sound.se[size_t(ch)].load(path) != 0) {
        runLog().appendf(2, "@se_load failed. %.*s", int(name.size()), name.data());
        return CommandResult::Failed;
    }
    runLog().appendf(1, "SE loaded.. [%.*s](DISK %dms)", int(args.size()), args.data(), int(sys.clock->now() - t0));
    return CommandResult::Done;
}

CommandResult CDirectX::seCommand(std::string_view args)
{
    const std::vector<std::string> f = splitArguments(args);
    int ch = 0;
    if (f.size() < 2 || !parseChannel(f[0], ch))
        return CommandResult::ArgumentError;
    const size_t i = size_t(ch);
    if (f[1] == "play") {
        const bool loop = f.size() > 2 && f[2] == "loop";
        if (!sound.se[i].play(loop)) {
            runLog().appendf(2, "@se failed. %.*s", int(args.size()), args.data());
            return CommandResult::Failed;
        }
        sound.sePlaying[i] = true;
        sound.seLooping[i] = loop;
        return CommandResult::Done;
    }
    sound.se[i].stop();
    sound.sePlaying[i] = false;
    sound.seLooping[i] = false;
    return CommandResult::Done;
}

CommandResult CDirectX::seFadeCommand(std::string_view args, bool stopAtOnce)
{
    const std::vector<std::string> f = splitArguments(args);
    int ch = 0;
    if (f.size() < 2 || !parseChannel(f[0], ch))
        return CommandResult::ArgumentError;
    if (f[1] != "out")
        return CommandResult::Done;
    const size_t i = size_t(ch);
    if (stopAtOnce)
        sound.se[i].stop();
    else
        sound.se[i].fadeOut(f.size() > 2 ? argumentNumber(f[2]) : 0);
    sound.sePlaying[i] = false;
    sound.seLooping[i] = false;
    return CommandResult::Done;
}

void CDirectX::playQueuedVoice(VoiceQueue& queue, bool ctrlHeld)
{
    const int read = ((queue.readIndex % int(VoiceQueue::kSlots)) + int(VoiceQueue::kSlots)) % int(VoiceQueue::kSlots);
    const std::string& name = queue.names[size_t(read)];
    if (!name.empty() && config.voiceOn) {
        int& w = sound.voiceWriteIndex;
        sound.voice[size_t((w + SoundSystem::kStreams - 1) % SoundSystem::kStreams)].fadeOut(3);
        if (!ctrlHeld) {
            COggStream& stream = sound.voice[size_t(w)];
            stream.stop();
            const std::string path = programFolder() + "SOUND\\VOICE\\" + name + ".ogg";
            if (stream.load(path) != 0) {
                runLog().appendf(2, "voice play failed. (HDD): %s", path.c_str());
            } else {
                runLog().appendf(1, "voice play : %s", path.c_str());
                stream.setVolume(volumePercentForLevel(config.voiceLevel));
                stream.play(false);
            }
        }
        w = (w + 1) % SoundSystem::kStreams;
        queue.pending = false;
    }
    queue.readIndex = (read + 1) % int(VoiceQueue::kSlots);
}
