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
// into the other half. The main thread loads and starts a stream; while it plays, the worker
// alone changes its play and fade state, and the main thread only posts commands (stop, fade,
// volume) that the worker applies at its next look. The started and finished events hand the
// stream over at the start and the end of a play. Every operation below belongs to the one
// thread that owns the stream (the game's main thread).
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
    // Returns once the worker has ended. A worker that takes longer than two seconds gets
    // "Stop failed." on the debugger output and is still waited for.
    void stop();
    // 0, 1, 2: about 0.7, 1.7 and 3.3 s; 3: about 50 ms. The stream is closed at the end.
    void fadeOut(int type);
    // Below 0 gives 1, below 100 level + 1, else 100.
    void setVolume(int level);

    bool isPlaying() const { return playing_.load(); }
    // A fade was asked of this play and the sound has not ended yet.
    bool isFading() const { return fadeAsked_ && playing_.load(); }
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
    void startFade(uint64_t command);
    void fadeTick(uint32_t now);
    void closeFile();
    void releaseBuffer();
    void zeroBuffer();
    void joinEndedWorker();
    float fadedAttenuation() const;

    platform::Audio* device_ = nullptr;
    platform::PcmFormat format_;
    uint32_t bufferBytes_ = 0;
    std::shared_ptr<platform::AudioBuffer> buffer_;
    // Set by the mixer when the cursor reaches the start and the middle of the buffer.
    platform::Event reachedStart_;
    platform::Event reachedHalf_;
    std::FILE* file_ = nullptr;
    std::unique_ptr<OggVorbis_File> vorbis_;
    std::string path_;
    std::string displayName_;

    // Set by the main thread before a worker starts, cleared by the worker when it ends.
    std::atomic<bool> playing_{false};
    std::atomic<bool> loop_{false};
    // Written by the main thread only, applied by the worker.
    std::atomic<float> volume_{99.0f};
    std::atomic<bool> stopAsked_{false};
    std::atomic<uint64_t> fadeCommand_{0}; // 0 none, else kFadePosted | type << 32 | clock
    bool fadeAsked_ = false;                     // main thread's own record of the posted fade
    // Written by the worker (by the main thread only while no worker runs), read by both.
    std::atomic<float> attenuation_{0.0f};
    std::atomic<uint32_t> now_{0};
    platform::Event started_{true};
    platform::Event finished_{true};
    std::thread thread_;

    // Worker-only state.
    std::vector<uint8_t> staging_;
    bool endReached_ = false;
    int endHalf_ = -1;
    bool fading_ = false;
    bool fadeSetVolume_ = false; // a fade tick has set the attenuation
    float fadeProgress_ = 0.0f;
    int32_t fadeStep_ = 0;
    int32_t fadeInterval_ = 0;
    uint32_t lastTick_ = 0;
};
