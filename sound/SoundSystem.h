#pragma once
#include "script/CommandArgs.h"
#include "sound/COggStream.h"
#include "sound/CSoundBuffer.h"
#include "sound/CSoundDevice.h"
#include "sound/VoiceQueue.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {
class Audio;
class Clock;
class Window;
} // namespace platform

// Every sound object of the game, owned by the engine object for the whole run, and the
// operations of the script's sound commands on them.
class SoundSystem {
public:
    static constexpr int kStreams = 8;

    explicit SoundSystem(platform::Clock* clock) : clock_(clock) {}

    CSoundDevice device;
    // Interface sounds, slots 1..4 at index 0..3: "SYSTEM\\ok.wav", "SYSTEM\\cancel.wav",
    // "SYSTEM\\logo.wav", "SYSTEM\\test.wav".
    std::array<CSoundBuffer, 4> systemSounds;
    COggStream bgm;
    std::array<COggStream, kStreams> se;
    std::array<COggStream, kStreams> voice;

    // Creates the sound device and attaches every stream and interface sound with the given
    // volumes (percent); without a device the game runs mute and false is returned.
    bool start(platform::Audio* audio, platform::Window* window, int bgmPercent, int sePercent, int voicePercent);
    void stopAll();
    // Stops the music and the effect channels and forgets what they were playing (a new game
    // or the title starts with silence).
    void stopMusicAndEffects();
    // Stops everything, frees the interface sounds and closes the device.
    void release();

    // The script's sound commands, given their argument token. stopAtOnce: auto mode or Ctrl.
    CommandResult bgmLoadCommand(std::string_view name);
    CommandResult bgmCommand(std::string_view word);
    CommandResult bgmFadeCommand(std::string_view args, bool stopAtOnce);
    CommandResult seLoadCommand(std::string_view args);
    CommandResult seCommand(std::string_view args);
    CommandResult seFadeCommand(std::string_view args, bool stopAtOnce);

    // The four interface sounds (slots 1..4) that the title and new-game screens load.
    void loadSystemSounds();
    bool playSystemSound(int slot);

    // The options screen's volume changes, in percent (0 for a group switched off): the music;
    // the eight effect channels with the four interface sounds; the eight voice channels.
    void setMusicVolume(int percent);
    void setEffectVolume(int percent);
    void setVoiceVolume(int percent);
    // The voice test: the voice file name ("SOUND\\VOICE\\" + name + ".ogg" below the program
    // folder) played once at percent on the voice channel used last. False when it cannot play.
    bool playVoiceTest(std::string_view name, int percent);

    // Plays the next queued voice of the message being typed (when voices are on, at
    // voiceLevel); a held Ctrl only fades the last one and moves the queue on.
    void playQueuedVoice(VoiceQueue& queue, bool ctrlHeld, bool voiceOn, int32_t voiceLevel);

    // Kept in saved games.
    bool bgmPlaying() const { return bgmPlaying_; }
    bool bgmLooping() const { return bgmLooping_; }
    const std::array<bool, kStreams>& sePlaying() const { return sePlaying_; }
    const std::array<bool, kStreams>& seLooping() const { return seLooping_; }
    // The names the script loaded (as "@bgm_load" and "@se_load" gave them); empty when none.
    const std::string& bgmName() const { return bgmName_; }
    const std::string& seName(int channel) const { return seNames_[size_t(channel) % kStreams]; }
    // The voice stream the next voice plays on.
    int voiceWriteIndex() const { return voiceWriteIndex_; }

private:
    void stopStreams();
    platform::Clock* clock_;
    int voiceWriteIndex_ = 0;
    bool bgmPlaying_ = false;
    bool bgmLooping_ = false;
    std::array<bool, kStreams> sePlaying_{};
    std::array<bool, kStreams> seLooping_{};
    std::string bgmName_;
    std::array<std::string, kStreams> seNames_;
};

// The percentage a sound group gets from its switch and level: the level table, or 0 off.
int soundGroupPercent(uint8_t on, int32_t level);
