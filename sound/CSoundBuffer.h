#pragma once
#include "sound/WavReader.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class Audio;
class AudioBuffer;
} // namespace platform

// A short interface sound: a whole WAV file held in one static buffer.
class CSoundBuffer {
public:
    CSoundBuffer();
    ~CSoundBuffer();

    // Set once after the sound device exists; without it nothing loads or plays.
    void attach(platform::Audio* device) { device_ = device; }

    // Loads "SOUND\\SE\\" + name below the program folder.
    bool load(std::string_view name);
    bool play(bool loop);
    bool stop();
    // Stops and frees the sound and its device buffer (the window is going away).
    void release();
    // level 0..99 (clamped) is stored as volume level + 1.
    void setVolume(int level);
    bool isPlaying() const { return playing_; }
    bool isLoaded() const { return loaded_; }
    bool isLooping() const { return looping_; }
    float volume() const { return volume_; }
    float attenuation() const { return attenuation_; }
    const std::string& name() const { return name_; }
    const WaveFormat& format() const { return format_; }
    // The device buffer, for tests that look at what was handed to the mixer.
    platform::AudioBuffer* deviceBuffer() const { return buffer_.get(); }

private:
    platform::Audio* device_ = nullptr;
    std::shared_ptr<platform::AudioBuffer> buffer_;
    WaveFormat format_;
    std::vector<uint8_t> data_;
    std::string name_;
    bool loaded_ = false;
    bool playing_ = false;
    bool looping_ = false;
    float volume_ = 100.0f;
    float attenuation_ = 0.0f;
};
