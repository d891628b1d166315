#pragma once
#include "script/CommandArgs.h"
#include "sound/COggStream.h"
#include "sound/CSoundBuffer.h"
#include "sound/CSoundDevice.h"
#include "sound/VoiceQueue.h"

#include <array>
#include <cstdint>

// Every sound object of the game, owned by the engine object for the whole run.
struct SoundSystem {
    static constexpr int kStreams = 8;

    CSoundDevice device;
    // Interface sounds, slots 1..4 at index 0..3: "SYSTEM\\ok.wav", "SYSTEM\\cancel.wav",
    // "SYSTEM\\logo.wav", "SYSTEM\\test.wav".
    std::array<CSoundBuffer, 4> systemSounds;
    COggStream bgm;
    std::array<COggStream, kStreams> se;
    std::array<COggStream, kStreams> voice;
    int voiceWriteIndex = 0;

    // Kept in saved games.
    bool bgmPlaying = false;
    bool bgmLooping = false;
    std::array<bool, kStreams> sePlaying{};
    std::array<bool, kStreams> seLooping{};
};

// The percentage a sound group gets from its switch and level: the level table, or 0 off.
int soundGroupPercent(uint8_t on, int32_t level);
