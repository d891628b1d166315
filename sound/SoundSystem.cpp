// The sound objects' start-up and teardown, the script sound commands and voice playback.
#include "sound/SoundSystem.h"

#include "core/RunLog.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "script/CommandArgs.h"
#include "sound/SoundVolume.h"

#include <vector>

namespace {
// The effect channels are 0..7, written as a whole number; anything else is refused.
bool parseChannel(std::string_view field, int& channel)
{
    // Read as scripts write numbers everywhere (leading digits, none is 0); only the range
    // decides, since a channel outside the eight streams has nothing to act on.
    const int32_t v = argumentNumber(field);
    if (v < 0 || v >= SoundSystem::kStreams)
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

bool SoundSystem::start(platform::Audio* audio, platform::Window* window, int bgmPercent, int sePercent,
                        int voicePercent)
{
    device.setService(audio);
    if (!device.create(window))
        return false;
    platform::Audio* out = device.device();
    bgm.attach(out);
    bgm.setVolume(bgmPercent);
    for (auto& s : se) {
        s.attach(out);
        s.setVolume(sePercent);
    }
    for (auto& b : systemSounds) {
        b.attach(out);
        b.setVolume(sePercent);
    }
    for (auto& v : voice) {
        v.attach(out);
        v.setVolume(voicePercent);
    }
    return true;
}

void SoundSystem::stopStreams()
{
    // Stopping a stream that no longer plays closes its file and frees its buffer.
    bgm.stop();
    for (auto& s : se)
        s.stop();
    for (auto& v : voice)
        v.stop();
}

void SoundSystem::stopAll()
{
    stopStreams();
    for (auto& b : systemSounds)
        b.stop();
}

void SoundSystem::stopMusicAndEffects()
{
    bgm.stop();
    bgmPlaying_ = false;
    bgmLooping_ = false;
    bgmName_.clear();
    for (size_t i = 0; i < se.size(); ++i) {
        se[i].stop();
        sePlaying_[i] = false;
        seLooping_[i] = false;
        seNames_[i].clear();
    }
}

void SoundSystem::release()
{
    stopStreams();
    for (auto& b : systemSounds)
        b.release();
    device.release();
}

void SoundSystem::loadSystemSounds()
{
    static const char* const kNames[4] = {"SYSTEM\\ok.wav", "SYSTEM\\cancel.wav", "SYSTEM\\logo.wav",
                                          "SYSTEM\\test.wav"};
    // Without a sound device nothing loads and nothing is missing.
    for (size_t i = 0; i < systemSounds.size(); ++i)
        if (!systemSounds[i].load(kNames[i]) && device.ready())
            runLog().appendf(2, "system sound load failed. -> %s", kNames[i]);
}

bool SoundSystem::playSystemSound(int slot)
{
    if (slot < 1 || slot > int(systemSounds.size()))
        return false;
    return systemSounds[size_t(slot - 1)].play(false);
}

void SoundSystem::setMusicVolume(int percent)
{
    bgm.setVolume(percent);
}

void SoundSystem::setEffectVolume(int percent)
{
    for (auto& s : se)
        s.setVolume(percent);
    for (auto& b : systemSounds)
        b.setVolume(percent);
}

void SoundSystem::setVoiceVolume(int percent)
{
    for (auto& v : voice)
        v.setVolume(percent);
}

bool SoundSystem::playVoiceTest(std::string_view name, int percent)
{
    // The channel before the next one of the ring: the voice heard last, which the test cuts.
    COggStream& stream = voice[size_t((voiceWriteIndex_ + kStreams - 1) % kStreams)];
    stream.stop();
    std::string path = programFolder() + "SOUND\\VOICE\\";
    path.append(name);
    path += ".ogg";
    if (stream.load(path) != 0) {
        runLog().appendf(2, "voice play failed. (HDD): %s", path.c_str());
        return false;
    }
    stream.setVolume(percent);
    return stream.play(false);
}

CommandResult SoundSystem::bgmLoadCommand(std::string_view name)
{
    const uint32_t t0 = clock_->now();
    bgm.stop();
    std::string path = programFolder() + "SOUND\\BGM\\";
    path.append(name);
    const int result = bgm.load(path);
    bgmName_ = result == 0 ? std::string(name) : std::string();
    runLog().appendf(1, "BGM loaded.. [%.*s](DISK %dms)", int(name.size()), name.data(), int(clock_->now() - t0));
    return result == 0 ? CommandResult::Done : CommandResult::Failed;
}

CommandResult SoundSystem::bgmCommand(std::string_view word)
{
    if (word == "play" || word == "noloop") {
        const bool loop = word == "play";
        const bool ok = bgm.play(loop);
        bgmPlaying_ = true;
        bgmLooping_ = loop;
        return ok ? CommandResult::Done : CommandResult::Failed;
    }
    if (word == "stop") {
        bgm.stop();
        bgmPlaying_ = false;
        bgmLooping_ = false;
    }
    return CommandResult::Done;
}

CommandResult SoundSystem::bgmFadeCommand(std::string_view args, bool stopAtOnce)
{
    const std::vector<std::string> f = splitArguments(args);
    if (f.size() < 2)
        return CommandResult::ArgumentError;
    if (f[0] != "out")
        return CommandResult::Done;
    if (stopAtOnce)
        bgm.stop();
    else
        bgm.fadeOut(argumentNumber(f[1]));
    bgmPlaying_ = false;
    bgmLooping_ = false;
    return CommandResult::Done;
}

CommandResult SoundSystem::seLoadCommand(std::string_view args)
{
    const std::vector<std::string> f = splitArguments(args);
    int ch = 0;
    if (f.size() < 2 || !parseChannel(f[0], ch))
        return CommandResult::ArgumentError;
    // The name is everything after the first comma.
    std::string_view name = args.substr(f[0].size() + 1);
    const uint32_t t0 = clock_->now();
    std::string path = programFolder() + "SOUND\\SE\\";
    path.append(name);
    if (se[size_t(ch)].load(path) != 0) {
        seNames_[size_t(ch)].clear();
        runLog().appendf(2, "@se_load failed. %.*s", int(name.size()), name.data());
        return CommandResult::Failed;
    }
    seNames_[size_t(ch)].assign(name);
    runLog().appendf(1, "SE loaded.. [%.*s](DISK %dms)", int(args.size()), args.data(), int(clock_->now() - t0));
    return CommandResult::Done;
}

CommandResult SoundSystem::seCommand(std::string_view args)
{
    const std::vector<std::string> f = splitArguments(args);
    int ch = 0;
    if (f.size() < 2 || !parseChannel(f[0], ch))
        return CommandResult::ArgumentError;
    const size_t i = size_t(ch);
    if (f[1] == "play") {
        const bool loop = f.size() > 2 && f[2] == "loop";
        if (!se[i].play(loop)) {
            runLog().appendf(2, "@se failed. %.*s", int(args.size()), args.data());
            return CommandResult::Failed;
        }
        sePlaying_[i] = true;
        seLooping_[i] = loop;
        return CommandResult::Done;
    }
    se[i].stop();
    sePlaying_[i] = false;
    seLooping_[i] = false;
    return CommandResult::Done;
}

CommandResult SoundSystem::seFadeCommand(std::string_view args, bool stopAtOnce)
{
    const std::vector<std::string> f = splitArguments(args);
    int ch = 0;
    if (f.size() < 3 || !parseChannel(f[0], ch))
        return CommandResult::ArgumentError;
    if (f[1] != "out")
        return CommandResult::Done;
    const size_t i = size_t(ch);
    if (stopAtOnce)
        se[i].stop();
    else
        se[i].fadeOut(argumentNumber(f[2]));
    sePlaying_[i] = false;
    seLooping_[i] = false;
    return CommandResult::Done;
}

void SoundSystem::playQueuedVoice(VoiceQueue& queue, bool ctrlHeld, bool voiceOn, int32_t voiceLevel)
{
    const int read = ((queue.readIndex % int(VoiceQueue::kSlots)) + int(VoiceQueue::kSlots)) % int(VoiceQueue::kSlots);
    const std::string& name = queue.names[size_t(read)];
    if (!name.empty() && voiceOn) {
        int& w = voiceWriteIndex_;
        voice[size_t((w + SoundSystem::kStreams - 1) % SoundSystem::kStreams)].fadeOut(3);
        if (!ctrlHeld) {
            COggStream& stream = voice[size_t(w)];
            stream.stop();
            const std::string path = programFolder() + "SOUND\\VOICE\\" + name + ".ogg";
            if (stream.load(path) != 0) {
                runLog().appendf(2, "voice play failed. (HDD): %s", path.c_str());
            } else {
                runLog().appendf(1, "voice play : %s", path.c_str());
                stream.setVolume(volumePercentForLevel(voiceLevel));
                stream.play(false);
            }
        }
        w = (w + 1) % SoundSystem::kStreams;
    }
    // Each text segment takes one entry, even an empty one: a segment without a voice must not
    // hand its turn to the next frame, or the next name would play part way into this segment.
    queue.pending = false;
    queue.readIndex = (read + 1) % int(VoiceQueue::kSlots);
}
