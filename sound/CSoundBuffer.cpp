#include "sound/CSoundBuffer.h"

#include "platform/Audio.h"
#include "platform/DebugOutput.h"
#include "platform/Files.h"
#include "sound/SoundVolume.h"

#include <algorithm>
#include <cstring>

namespace {
// Interface sounds are short; anything larger is not one of them.
constexpr size_t kMaxWavBytes = 64u << 20;
} // namespace

CSoundBuffer::CSoundBuffer() = default;
CSoundBuffer::~CSoundBuffer() = default;

bool CSoundBuffer::load(std::string_view name)
{
    stop();
    data_.clear();
    data_.shrink_to_fit();
    buffer_.reset();
    loaded_ = false;
    playing_ = false;
    if (!device_)
        return false;

    std::string path = "SOUND\\SE\\";
    path.append(name);
    std::vector<uint8_t> file;
    if (!platform::files::readFile(platform::files::programPath(path), file, kMaxWavBytes) || file.empty())
        return false;

    std::string why;
    if (!parseWav(file.data(), file.size(), format_, data_, why)) {
        platform::debugOutput("ADV_SYSTEM: CSoundBuffer::load " + path + " : " + why);
        data_.clear();
        return false;
    }
    file.clear();
    file.shrink_to_fit();

    format_.forcePcm();
    platform::PcmFormat pcm;
    pcm.channels = format_.channels;
    pcm.sampleRate = format_.samplesPerSec;
    pcm.bitsPerSample = format_.bitsPerSample;
    // The buffer holds whole frames; a torn last frame is dropped.
    const uint32_t align = pcm.blockAlign();
    const uint32_t bytes = align ? uint32_t(data_.size() / align * align) : 0;
    buffer_ = bytes ? device_->createBuffer(pcm, bytes) : nullptr;
    if (!buffer_) {
        platform::debugOutput("ADV_SYSTEM: CSoundBuffer::load " + path + " : unplayable format");
        loaded_ = false;
        return false;
    }
    platform::AudioBuffer::Region region;
    if (buffer_->lock(0, bytes, region) != platform::AudioBuffer::Status::Ok) {
        buffer_.reset();
        return false;
    }
    std::memcpy(region.p1, data_.data(), region.n1);
    buffer_->unlock(region);
    loaded_ = true;
    name_.assign(name);
    attenuation_ = attenuationForVolume(volume_);
    return true;
}

bool CSoundBuffer::play(bool loop)
{
    if (!loaded_)
        return false;
    stop();
    attenuation_ = attenuationForVolume(volume_);
    buffer_->setVolume(int32_t(attenuation_));
    buffer_->setCurrentPosition(0);
    if (buffer_->play(loop) == platform::AudioBuffer::Status::Lost) {
        // Software buffers come back with their contents; write them again all the same.
        buffer_->restore();
        platform::AudioBuffer::Region region;
        if (buffer_->lock(0, buffer_->size(), region) == platform::AudioBuffer::Status::Ok) {
            std::memcpy(region.p1, data_.data(), std::min<size_t>(region.n1, data_.size()));
            buffer_->unlock(region);
        }
        if (buffer_->play(loop) != platform::AudioBuffer::Status::Ok)
            return false;
    }
    looping_ = loop;
    playing_ = true;
    return true;
}

bool CSoundBuffer::stop()
{
    if (!loaded_)
        return false;
    if (playing_) {
        buffer_->stop();
        playing_ = false;
    }
    return true;
}

void CSoundBuffer::setVolume(int level)
{
    volume_ = float(std::clamp(level, 0, 99) + 1);
    if (loaded_ && playing_) {
        attenuation_ = attenuationForVolume(volume_);
        buffer_->setVolume(int32_t(attenuation_));
    }
}

void CSoundBuffer::release()
{
    stop();
    buffer_.reset();
    data_.clear();
    data_.shrink_to_fit();
    loaded_ = false;
}
