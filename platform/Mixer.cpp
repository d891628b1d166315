#include "platform/Audio.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {

namespace {
constexpr uint64_t kOne = uint64_t(1) << 32;

bool playableFormat(const PcmFormat& f)
{
    return (f.channels == 1 || f.channels == 2) && (f.bitsPerSample == 8 || f.bitsPerSample == 16) &&
           f.sampleRate >= 100 && f.sampleRate <= 384000;
}
} // namespace

AudioBuffer::AudioBuffer(const PcmFormat& format, uint32_t bytes)
    : format_(format), data_(bytes, format.bitsPerSample == 8 ? 0x80 : 0), frames_(bytes / format.blockAlign())
{
}

AudioBuffer::Status AudioBuffer::lock(uint32_t offset, uint32_t bytes, Region& region)
{
    region = Region{};
    if (lost_.load())
        return Status::Lost;
    const uint32_t total = size();
    if (offset >= total || bytes == 0 || bytes > total)
        return Status::Invalid;
    std::lock_guard<std::mutex> lock(control_);
    if (lockedFrames_ != 0)
        return Status::Invalid;
    region.p1 = data_.data() + offset;
    region.n1 = std::min(bytes, total - offset);
    if (region.n1 < bytes) {
        region.p2 = data_.data();
        region.n2 = bytes - region.n1;
    }
    // Every frame the region touches, even in part.
    const uint32_t align = format_.blockAlign();
    lockedFirst_ = offset / align;
    lockedFrames_ = std::min<uint64_t>((uint64_t(offset) + bytes + align - 1) / align - lockedFirst_, frames_);
    return Status::Ok;
}

AudioBuffer::Status AudioBuffer::unlock(const Region& region)
{
    // Taking the control lock publishes what was written to the mixer thread, and hands the
    // frames back to it.
    std::lock_guard<std::mutex> lock(control_);
    if (region.p1 && (region.p1 < data_.data() || region.p1 + region.n1 > data_.data() + data_.size()))
        return Status::Invalid;
    lockedFrames_ = 0;
    if (lost_.load())
        return Status::Lost;
    return Status::Ok;
}

bool AudioBuffer::heldByWriter(uint64_t frame) const
{
    return lockedFrames_ != 0 && (frame + frames_ - lockedFirst_) % frames_ < lockedFrames_;
}

AudioBuffer::Status AudioBuffer::play(bool looping)
{
    if (lost_.load())
        return Status::Lost;
    if (frames_ == 0)
        return Status::Invalid;
    std::lock_guard<std::mutex> lock(control_);
    looping_.store(looping);
    // Starting on a notification position reaches it, as a sound card's cursor does: a
    // stream that starts at 0 is told at once to fill its second half.
    if (!playing_.exchange(true)) {
        const uint64_t at = positionFixed_ >> 32;
        for (const Notification& n : notifications_)
            if (n.offset / format_.blockAlign() == at)
                n.event->set();
    }
    return Status::Ok;
}

void AudioBuffer::stop()
{
    std::lock_guard<std::mutex> lock(control_);
    playing_.store(false);
}

void AudioBuffer::setVolume(int32_t hundredthsOfDb)
{
    volume_.store(std::clamp(hundredthsOfDb, kSilence, 0));
}

uint32_t AudioBuffer::currentPosition() const
{
    std::lock_guard<std::mutex> lock(control_);
    return uint32_t(positionFixed_ >> 32) * format_.blockAlign();
}

void AudioBuffer::setCurrentPosition(uint32_t byteOffset)
{
    std::lock_guard<std::mutex> lock(control_);
    uint64_t frame = byteOffset / format_.blockAlign();
    if (frame >= frames_)
        frame = 0;
    positionFixed_ = frame << 32;
}

bool AudioBuffer::setNotificationPositions(const std::vector<Notification>& positions)
{
    std::lock_guard<std::mutex> lock(control_);
    if (playing_.load())
        return false;
    for (const Notification& n : positions) {
        if (n.offset >= size() || !n.event)
            return false;
    }
    notifications_ = positions;
    return true;
}

void AudioBuffer::markLost()
{
    std::lock_guard<std::mutex> lock(control_);
    lost_.store(true);
    playing_.store(false);
}

bool AudioBuffer::restore()
{
    lost_.store(false);
    return true;
}

int32_t AudioBuffer::sampleAt(uint64_t frame, uint32_t channel) const
{
    if (format_.bitsPerSample == 8)
        return (int32_t(data_[size_t(frame) * format_.channels + channel]) - 128) * 256;
    const uint8_t* p = data_.data() + (size_t(frame) * format_.channels + channel) * 2;
    return int16_t(uint16_t(p[0] | (p[1] << 8)));
}

void AudioBuffer::mixInto(int32_t* acc, size_t frames, uint32_t outChannels, uint32_t outRate)
{
    // Events are set at the end of the block, as a sound card reports positions, but before
    // the lock is let go: once the owner has stopped the buffer and cleared its notifications,
    // no mixer is left holding one of its events.
    Event* fired[8];
    size_t firedCount = 0;
    std::lock_guard<std::mutex> lock(control_);
    if (!playing_.load() || lost_.load() || frames_ == 0)
        return;
    const int32_t att = volume_.load();
    // Amplitude factor in 16.16 fixed point: -2000 hundredths of a dB is one tenth.
    const int64_t gain = att <= kSilence ? 0 : int64_t(std::lround(std::pow(10.0, att / 2000.0) * 65536.0));
    const uint64_t step = (uint64_t(format_.sampleRate) << 32) / outRate;
    const bool looping = looping_.load();
    const uint32_t srcChannels = format_.channels;
    const uint32_t align = format_.blockAlign();
    uint64_t pos = positionFixed_;
    for (size_t f = 0; f < frames; ++f) {
        uint64_t i = pos >> 32;
        if (i >= frames_) {
            // A one-shot buffer has played its last frame.
            playing_.store(false);
            pos = 0;
            break;
        }
        uint64_t next = i + 1;
        if (next >= frames_)
            next = looping ? 0 : i;
        // Frames the writer holds are not there yet: silence, and no step towards them.
        if (heldByWriter(next))
            next = i;
        const int64_t frac = int64_t((pos & (kOne - 1)) >> 16);
        if (gain != 0 && !heldByWriter(i)) {
            for (uint32_t c = 0; c < outChannels; ++c) {
                const uint32_t sc = c < srcChannels ? c : srcChannels - 1;
                const int64_t a = sampleAt(i, sc);
                const int64_t b = sampleAt(next, sc);
                const int64_t s = a + (((b - a) * frac) >> 16);
                acc[f * outChannels + c] += int32_t((s * gain) >> 16);
            }
        }
        pos += step;
        const uint64_t reached = pos >> 32;
        for (const Notification& n : notifications_) {
            const uint64_t target = n.offset / align;
            const bool crossed = (target > i && target <= reached) ||
                                 (target + frames_ > i && target + frames_ <= reached);
            if (crossed && firedCount < 8 && std::find(fired, fired + firedCount, n.event) == fired + firedCount)
                fired[firedCount++] = n.event;
        }
        if (looping && reached >= frames_)
            pos -= frames_ << 32;
    }
    positionFixed_ = pos;
    for (size_t k = 0; k < firedCount; ++k)
        fired[k]->set();
}

Mixer::Mixer(uint32_t outRate, uint32_t outChannels)
    : outRate_(outRate ? outRate : 44100), outChannels_(std::clamp<uint32_t>(outChannels, 1, 8))
{
}

std::shared_ptr<AudioBuffer> Mixer::createBuffer(const PcmFormat& format, uint32_t bytes)
{
    if (!playableFormat(format) || bytes == 0 || bytes % format.blockAlign() != 0 || bytes > (64u << 20))
        return nullptr;
    auto buffer = std::make_shared<AudioBuffer>(format, bytes);
    std::lock_guard<std::mutex> lock(listMutex_);
    buffers_.push_back(buffer);
    return buffer;
}

void Mixer::mix(int16_t* out, size_t frames)
{
    std::vector<std::shared_ptr<AudioBuffer>> live;
    {
        std::lock_guard<std::mutex> lock(listMutex_);
        auto dead = std::remove_if(buffers_.begin(), buffers_.end(), [&](const std::weak_ptr<AudioBuffer>& w) {
            auto b = w.lock();
            if (!b)
                return true;
            live.push_back(std::move(b));
            return false;
        });
        buffers_.erase(dead, buffers_.end());
    }
    acc_.assign(frames * outChannels_, 0);
    for (auto& b : live)
        b->mixInto(acc_.data(), frames, outChannels_, outRate_);
    for (size_t k = 0; k < acc_.size(); ++k)
        out[k] = int16_t(std::clamp<int32_t>(acc_[k], -32768, 32767));
    framesMixed_.fetch_add(frames);
}

size_t Mixer::liveBuffers()
{
    std::lock_guard<std::mutex> lock(listMutex_);
    size_t n = 0;
    for (auto& w : buffers_)
        n += w.expired() ? 0 : 1;
    return n;
}

void Mixer::markAllLost()
{
    std::vector<std::shared_ptr<AudioBuffer>> live;
    {
        std::lock_guard<std::mutex> lock(listMutex_);
        for (auto& w : buffers_)
            if (auto b = w.lock())
                live.push_back(std::move(b));
    }
    for (auto& b : live)
        b->markLost();
}

std::shared_ptr<AudioBuffer> Audio::createBuffer(const PcmFormat& format, uint32_t bytes)
{
    if (!isOpen())
        return nullptr;
    return mixer_->createBuffer(format, bytes);
}

} // namespace platform
