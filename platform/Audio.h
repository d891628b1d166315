#pragma once
#include "platform/Event.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

// Integer PCM as the sound files carry it: 8 or 16 bits, 1 or 2 channels, any rate.
struct PcmFormat {
    uint16_t channels = 2;
    uint32_t sampleRate = 44100;
    uint16_t bitsPerSample = 16;
    uint32_t blockAlign() const { return uint32_t(channels) * (bitsPerSample / 8u); }
};

// One secondary sound buffer: a ring of PCM bytes that the mixer plays from while its owner
// writes into the part not being played (lock, write, unlock). Volumes are hundredths of a
// decibel, 0 full level, -10000 silence.
class AudioBuffer {
public:
    static constexpr int32_t kSilence = -10000;

    enum class Status { Ok, Lost, Invalid };
    struct Region {
        uint8_t* p1 = nullptr;
        uint32_t n1 = 0;
        uint8_t* p2 = nullptr; // the part that wrapped to the start of the buffer
        uint32_t n2 = 0;
    };
    // The mixer sets the event under the buffer's lock, so an owner that stops the buffer and
    // clears its notifications knows no mixer can touch the event any more.
    struct Notification {
        uint32_t offset; // byte offset the play cursor reaches
        Event* event;    // set when it does; registered until the list is replaced
    };

    AudioBuffer(const PcmFormat& format, uint32_t bytes);
    AudioBuffer(const AudioBuffer&) = delete;
    AudioBuffer& operator=(const AudioBuffer&) = delete;

    const PcmFormat& format() const { return format_; }
    uint32_t size() const { return uint32_t(data_.size()); }

    // Pointers to bytes [offset, offset + bytes) of the ring; a region running past the end
    // continues at the start in the second pointer. Until unlock the region belongs to the
    // writer alone: the mixer plays silence for frames in it (a cursor that reaches a half
    // still being refilled has run out of sound) and never reads them, not even as the next
    // frame it interpolates towards. One region at a time: a second lock is refused.
    Status lock(uint32_t offset, uint32_t bytes, Region& region);
    Status unlock(const Region& region);

    Status play(bool looping);
    void stop();
    bool isPlaying() const { return playing_.load(); }
    bool isLooping() const { return looping_.load(); }

    void setVolume(int32_t hundredthsOfDb);
    int32_t volume() const { return volume_.load(); }

    // Byte offset of the play cursor (whole frames).
    uint32_t currentPosition() const;
    void setCurrentPosition(uint32_t byteOffset);

    // Replaces the notification list; refused while playing. An empty list unregisters the
    // events before their owner lets them go.
    bool setNotificationPositions(const std::vector<Notification>& positions);

    // A lost buffer refuses lock and play until restored; its contents must be written again.
    bool isLost() const { return lost_.load(); }
    void markLost();
    bool restore();

    // Adds this buffer's sound for the next frames of output into acc (interleaved, outChannels
    // per frame), resampled to outRate. Called by the mixer only.
    void mixInto(int32_t* acc, size_t frames, uint32_t outChannels, uint32_t outRate);

private:
    int32_t sampleAt(uint64_t frame, uint32_t channel) const;
    bool heldByWriter(uint64_t frame) const;

    const PcmFormat format_;
    std::vector<uint8_t> data_;
    const uint64_t frames_;
    std::atomic<bool> playing_{false};
    std::atomic<bool> looping_{false};
    std::atomic<int32_t> volume_{0};
    std::atomic<bool> lost_{false};
    // Cursor and notifications are shared by the owner and the mixer thread.
    mutable std::mutex control_;
    uint64_t positionFixed_ = 0; // frames in the high 32 bits, fraction in the low 32
    std::vector<Notification> notifications_;
    // The frames a lock has handed to the writer: lockedFrames_ frames from lockedFirst_,
    // wrapping round the ring; 0 when nothing is locked.
    uint64_t lockedFirst_ = 0;
    uint64_t lockedFrames_ = 0;
};

// The software mixer standing in for the sound card: it keeps every live buffer and fills
// output blocks of signed 16-bit interleaved frames from the playing ones.
class Mixer {
public:
    explicit Mixer(uint32_t outRate = 44100, uint32_t outChannels = 2);

    // nullptr for a format the mixer cannot play or a size that is not whole frames.
    std::shared_ptr<AudioBuffer> createBuffer(const PcmFormat& format, uint32_t bytes);

    // The one entry point: fills frames output frames. One thread at a time (the audio
    // callback or a headless pull); buffers stay alive for the call even if their owner lets go.
    void mix(int16_t* out, size_t frames);

    uint32_t outRate() const { return outRate_; }
    uint32_t outChannels() const { return outChannels_; }
    uint64_t framesMixed() const { return framesMixed_.load(); }
    size_t liveBuffers();
    void markAllLost();

private:
    const uint32_t outRate_;
    const uint32_t outChannels_;
    std::mutex listMutex_;
    std::vector<std::weak_ptr<AudioBuffer>> buffers_;
    std::vector<int32_t> acc_;
    std::atomic<uint64_t> framesMixed_{0};
};

// The sound device service. open() is the device creation: false means there is no sound
// device and the program runs mute. now() and sleep() are the clock of the sound threads:
// real time on a sound card, the amount of audio pulled so far in headless runs, so streams
// advance exactly as fast as the test pulls their sound.
class Audio {
public:
    virtual ~Audio() = default;

    virtual bool open() = 0;
    virtual void close() = 0;
    bool isOpen() const { return open_.load(); }

    // nullptr when the device is not open or the format cannot be played.
    std::shared_ptr<AudioBuffer> createBuffer(const PcmFormat& format, uint32_t bytes);

    virtual uint32_t now() = 0;
    virtual void sleep(uint32_t ms) = 0;
    // A sound thread announces itself for its lifetime, so a headless pull can wait until
    // every such thread has caught up with the audio it pulled.
    virtual void workerStarted() {}
    virtual void workerEnded() {}

    Mixer& mixer() { return *mixer_; }

protected:
    explicit Audio(uint32_t outRate = 44100, uint32_t outChannels = 2)
        : mixer_(std::make_unique<Mixer>(outRate, outChannels))
    {
    }
    std::unique_ptr<Mixer> mixer_;
    std::atomic<bool> open_{false};
};

} // namespace platform
