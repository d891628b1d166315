#include "sound/COggStream.h"

#include "platform/DebugOutput.h"
#include "platform/Files.h"
#include "sound/SoundVolume.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>
#include <system_error>

namespace {
constexpr uint32_t kHandOverWaitMs = 2000;
constexpr int kDecodeStep = 4096;
// Marks a posted fade command; the type sits above the clock value in the low 32 bits.
constexpr uint64_t kFadePosted = uint64_t(1) << 63;
} // namespace

COggStream::COggStream() = default;

COggStream::~COggStream()
{
    stop();
    if (thread_.joinable())
        thread_.join();
    closeFile();
    releaseBuffer();
}

void COggStream::closeFile()
{
    if (vorbis_) {
        // ov_clear closes the file it was opened on.
        ov_clear(vorbis_.get());
        vorbis_.reset();
        file_ = nullptr;
    }
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

void COggStream::releaseBuffer()
{
    if (!buffer_)
        return;
    // The mixer may hold the buffer a little longer than we do; once it is stopped with no
    // notifications left, it can no longer reach this stream's events.
    buffer_->stop();
    buffer_->setNotificationPositions({});
    buffer_.reset();
}

void COggStream::joinEndedWorker()
{
    if (thread_.joinable() && !playing_.load())
        thread_.join();
}

int COggStream::load(std::string_view sjisPath)
{
    if (playing_.load())
        return -1;
    joinEndedWorker();
    closeFile();
    releaseBuffer();
    path_.assign(sjisPath);
    std::FILE* f = platform::files::open(platform::files::hostPath(sjisPath), "rb");
    if (!f)
        return -1;
    auto vf = std::make_unique<OggVorbis_File>();
    if (ov_open(f, vf.get(), nullptr, 0) != 0) {
        std::fclose(f);
        return -1;
    }
    file_ = f;
    vorbis_ = std::move(vf);
    size_t slash = path_.find_last_of('\\');
    displayName_ = slash == std::string::npos ? path_ : path_.substr(slash + 1);

    if (setupBuffer() != 1) {
        // A stream with a file and no buffer could never play; give the file back now.
        closeFile();
        releaseBuffer();
        return -2;
    }
    return 0;
}

int COggStream::setupBuffer()
{
    format_ = platform::PcmFormat{};
    format_.channels = 2;
    format_.sampleRate = 32000;
    if (vorbis_) {
        if (vorbis_info* info = ov_info(vorbis_.get(), -1)) {
            format_.channels = uint16_t(std::clamp(info->channels, 0, 0xFFFF));
            format_.sampleRate = uint32_t(std::max<long>(info->rate, 0));
        }
    }
    format_.bitsPerSample = 16;
    bufferBytes_ = 2 * format_.sampleRate * format_.blockAlign();
    if (!device_ || bufferBytes_ == 0 || bufferBytes_ % (2 * format_.blockAlign()) != 0)
        return -2;
    buffer_ = device_->createBuffer(format_, bufferBytes_);
    if (!buffer_)
        return -2;
    reachedStart_.reset();
    reachedHalf_.reset();
    if (!buffer_->setNotificationPositions({{0, &reachedStart_}, {bufferBytes_ / 2, &reachedHalf_}}))
        return -4;
    using Status = platform::AudioBuffer::Status;
    platform::AudioBuffer::Region region;
    Status st = buffer_->lock(0, bufferBytes_, region);
    if (st == Status::Lost) {
        buffer_->restore();
        st = buffer_->lock(0, bufferBytes_, region);
    }
    if (st != Status::Ok)
        return -5;
    std::memset(region.p1, 0, region.n1);
    st = buffer_->unlock(region);
    if (st == Status::Lost) {
        buffer_->restore();
        st = buffer_->unlock(region);
    }
    if (st != Status::Ok)
        return -6;
    return 1;
}

void COggStream::zeroBuffer()
{
    platform::AudioBuffer::Region region;
    if (buffer_->lock(0, bufferBytes_, region) == platform::AudioBuffer::Status::Lost) {
        buffer_->restore();
        buffer_->lock(0, bufferBytes_, region);
    }
    if (region.p1) {
        std::memset(region.p1, 0, region.n1);
        buffer_->unlock(region);
    }
}

bool COggStream::play(bool loop)
{
    if (playing_.load())
        return false;
    joinEndedWorker();
    if (thread_.joinable())
        return false;
    if (!vorbis_ || !buffer_ || !device_)
        return false;
    // No worker runs now: the play and fade state is the main thread's to set up.
    attenuation_.store(0.0f);
    fading_ = false;
    fadeSetVolume_ = false;
    fadeProgress_ = 0.0f;
    stopAsked_.store(false);
    fadeCommand_.store(0);
    fadeAsked_ = false;
    loop_.store(loop);
    zeroBuffer();
    buffer_->setCurrentPosition(0);
    reachedStart_.reset();
    reachedHalf_.reset();
    staging_.clear();
    endReached_ = false;
    endHalf_ = -1;
    playing_.store(true);
    finished_.reset();
    try {
        thread_ = std::thread(&COggStream::worker, this);
    } catch (const std::system_error&) {
        playing_.store(false);
        platform::debugOutput("Create Thread failed.\n");
        return true;
    }
    if (!started_.wait(kHandOverWaitMs))
        platform::debugOutput("Create Thread timeout.\n");
    started_.reset();
    return true;
}

float COggStream::fadedAttenuation() const
{
    const double factor = volume_.load() / 100.0 * (100.0 - fadeProgress_) / 100.0;
    return attenuationForVolume(factor * 100.0);
}

void COggStream::worker()
{
    platform::Audio* device = device_;
    device->workerStarted();
    staging_.reserve(bufferBytes_ / 2 + kDecodeStep);
    started_.set();

    fillHalf(0);
    float applied = volume_.load();
    buffer_->setVolume(int32_t(attenuationForVolume(applied)));
    buffer_->play(true);

    for (;;) {
        const uint32_t now = device->now();
        now_.store(now);
        if (stopAsked_.load()) {
            finishWorker(true);
            return;
        }
        if (!fading_) {
            const uint64_t fade = fadeCommand_.load();
            if (fade & kFadePosted)
                startFade(fade);
        }
        int played = -1; // the half that has just finished playing
        if (reachedStart_.wait(0))
            played = 1;
        else if (reachedHalf_.wait(0))
            played = 0;
        if (played >= 0) {
            if (endReached_ && endHalf_ == played) {
                finishWorker(false);
                return;
            }
            fillHalf(played);
            device->sleep(1);
            continue;
        }
        if (fading_ && int32_t(now - lastTick_) > fadeInterval_) {
            fadeTick(now);
            if (fadeProgress_ > 99.0f) {
                finishWorker(true);
                return;
            }
        }
        const float v = volume_.load();
        if (v != applied) {
            applied = v;
            buffer_->setVolume(int32_t(fadeSetVolume_ ? fadedAttenuation() : attenuationForVolume(v)));
        }
        device->sleep(8);
    }
}

void COggStream::startFade(uint64_t command)
{
    int32_t step = 5, interval = 33;
    switch (int((command >> 32) & 0xFF)) {
    case 1: step = 2; break;
    case 2: step = 1; break;
    case 3: step = 15; interval = 6; break;
    default: break;
    }
    fadeStep_ = step;
    fadeInterval_ = interval;
    fadeProgress_ = 0.0f;
    // The fade counts from when it was asked for, as the main thread last saw the clock.
    lastTick_ = uint32_t(command);
    fading_ = true;
}

void COggStream::fadeTick(uint32_t now)
{
    const float att = fadedAttenuation();
    attenuation_.store(att);
    fadeSetVolume_ = true;
    fadeProgress_ += float(fadeStep_);
    buffer_->setVolume(int32_t(att));
    // Keep the fade's own cadence: stepping from the last due time rather than from when the
    // worker woke keeps its sleeps from stretching the fade.
    const uint32_t dueAt = lastTick_ + uint32_t(fadeInterval_);
    lastTick_ = int32_t(now - dueAt) > fadeInterval_ ? now : dueAt;
}

void COggStream::fillHalf(int half)
{
    using Status = platform::AudioBuffer::Status;
    const uint32_t halfBytes = bufferBytes_ / 2;
    platform::AudioBuffer::Region region;
    Status st = buffer_->lock(uint32_t(half) * halfBytes, halfBytes, region);
    if (st == Status::Lost) {
        buffer_->restore();
        buffer_->play(true);
        st = buffer_->lock(uint32_t(half) * halfBytes, halfBytes, region);
    }
    if (st != Status::Ok)
        return;

    bool seekedWithoutSound = false;
    // A stop asked for meanwhile ends the decoding: the worker closes the stream next.
    while (!endReached_ && !stopAsked_.load() && staging_.size() < halfBytes) {
        const size_t held = staging_.size();
        staging_.resize(held + kDecodeStep);
        int bitstream = 0;
        long n = ov_read(vorbis_.get(), reinterpret_cast<char*>(staging_.data() + held), kDecodeStep, 0, 2, 1,
                         &bitstream);
        staging_.resize(held + size_t(std::max<long>(n, 0)));
        if (n > 0) {
            seekedWithoutSound = false;
            continue;
        }
        if (n == OV_HOLE)
            continue;
        // The end (or a stream that cannot be read on): rewind a looping sound, unless a
        // rewind just gave nothing, which would spin for ever on an empty stream.
        if (n == 0 && loop_.load() && !seekedWithoutSound && ov_time_seek(vorbis_.get(), 0.0) == 0) {
            seekedWithoutSound = true;
            continue;
        }
        endReached_ = true;
        endHalf_ = half;
    }

    const size_t take = std::min<size_t>(staging_.size(), halfBytes);
    const size_t first = std::min<size_t>(take, region.n1);
    std::memcpy(region.p1, staging_.data(), first);
    std::memset(region.p1 + first, 0, region.n1 - first);
    if (region.p2) {
        const size_t second = take - first;
        std::memcpy(region.p2, staging_.data() + first, second);
        std::memset(region.p2 + second, 0, region.n2 - second);
    }
    staging_.erase(staging_.begin(), staging_.begin() + std::ptrdiff_t(take));
    buffer_->unlock(region);
}

void COggStream::finishWorker(bool fadeEnded)
{
    platform::Audio* device = device_;
    releaseBuffer();
    staging_.clear();
    staging_.shrink_to_fit();
    closeFile();
    if (fadeEnded)
        attenuation_.store(float(kSilentAttenuation));
    fading_ = false;
    playing_.store(false);
    finished_.set();
    device->workerEnded();
}

void COggStream::stop()
{
    if (playing_.load()) {
        stopAsked_.store(true);
        if (!finished_.wait(kHandOverWaitMs))
            platform::debugOutput("Stop failed.\n");
        // The command stays posted and the worker looks at it after every step, so it ends
        // even when it was slower than the wait: never leave it running on a stopped stream.
        if (thread_.joinable())
            thread_.join();
        finished_.reset();
        fadeAsked_ = false;
        return;
    }
    joinEndedWorker();
    if (vorbis_ || file_) {
        closeFile();
        attenuation_.store(float(kSilentAttenuation));
        releaseBuffer();
    }
}

void COggStream::fadeOut(int type)
{
    // Only a playing stream fades: a fade posted to a silent stream would refuse every later
    // play. One fade per play; the worker takes it at its next look.
    if (fadeAsked_ || !playing_.load())
        return;
    fadeAsked_ = true;
    const uint64_t kind = uint64_t(type >= 0 && type <= 3 ? type : 0);
    fadeCommand_.store(kFadePosted | kind << 32 | now_.load());
}

void COggStream::setVolume(int level)
{
    if (level < 0)
        volume_.store(1.0f);
    else if (level < 100)
        volume_.store(float(level + 1));
    else
        volume_.store(100.0f);
}
