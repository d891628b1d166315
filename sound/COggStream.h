#pragma once
#include "platform/Audio.h"
#include "platform/Event.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

struct OggVorbis_File;

// One streamed Ogg Vorbis sound (music, a script effect or a voice): a two-second buffer in
// two halves that a worker thread refills from the decoder whenever the play cursor moves
// into the other half. The main thread loads, plays, stops, fades and sets the volume; the
// fields both threads touch are atomics, and the hand-overs go through the started and
// finished events.
class COggStream {
public:
    COggStream();
    ~COggStream();
    COggStream(const COggStream&) = delete;
    COggStream& operator=(const COggStream&) = delete;

    // Set at start-up; none means the stream stays silent.
    void attach(platform::Audio* device) { device_ = device; }

    // sjisPath as the game writes it (program folder + "SOUND\\BGM\\" + name). 0 on success,
    // -1 when the file cannot be opened, is not Ogg Vorbis or the stream is busy, -2 when
    // the buffer cannot be set up (the file is then closed again).
    int load(std::string_view sjisPath);
    // False when fading, already playing or nothing is loaded.
    bool play(bool loop);
    void stop();
    // 0, 1, 2: about 0.7, 1.7 and 3.3 s; 3: about 50 ms. The stream is closed at the end.
    void fadeOut(int type);
    // Below 0 gives 1, below 100 level + 1, else 100.
    void setVolume(int level);

    bool isPlaying() const { return playing_.load(); }
    bool isFading() const { return fading_.load(); }
    bool isLooping() const { return loop_.load(); }
    bool hasFile() const { return !playing_.load() && file_ != nullptr; }
    float volume() const { return volume_.load(); }
    float attenuation() const { return attenuation_.load(); }
    const std::string& path() const { return path_; }
    const std::string& displayName() const { return displayName_; }
    const platform::PcmFormat& format() const { return format_; }
    uint32_t bufferBytes() const { return bufferBytes_; }

    // Setting up the device buffer; 1 on success, else -2 .. -6 for the step that failed.
    int setupBuffer();

private:
    void worker();
    void fillHalf(int half);
    void finishWorker(bool fadeEnded);
    void closeFile();
    void zeroBuffer();
    void joinEndedWorker();
    float fadedAttenuation() const;

    platform::Audio* device_ = nullptr;
    platform::PcmFormat format_;
    uint32_t bufferBytes_ = 0;
    std::shared_ptr<platform::AudioBuffer> buffer_;
    platform::Event events_[3];
    std::FILE* file_ = nullptr;
    std::unique_ptr<OggVorbis_File> vorbis_;
    std::string path_;
    std::string displayName_;

    std::atomic<bool> playing_{false};
    std::atomic<bool> loop_{false};
    std::atomic<float> volume_{99.0f};
    std::atomic<float> attenuation_{0.0f};
    std::atomic<bool> fading_{false};
    std::atomic<float> fadeProgress_{0.0f};
    std::atomic<int32_t> fadeStep_{0};
    std::atomic<int32_t> fadeInterval_{0};
    std::atomic<uint32_t> now_{0};
    std::atomic<uint32_t> lastTick_{0};
    std::atomic<bool> tickNow_{false};
    platform::Event started_{true};
    platform::Event finished_{true};
    std::thread thread_;

    // Worker-only state.
    std::vector<uint8_t> staging_;
    bool endReached_ = false;
    int endHalf_ = -1;
};
