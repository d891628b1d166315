#include "platform/headless/HeadlessAudio.h"

#include <chrono>

namespace platform {

namespace {
// How long a pull waits for the sound threads before it gives up on them (real time).
constexpr auto kCatchUpLimit = std::chrono::milliseconds(2000);
// A sleeping sound thread also looks round this often, so a main thread waiting for it
// (a stop) is not held up by a clock that only moves when audio is pulled.
constexpr auto kIdleLook = std::chrono::milliseconds(2);
} // namespace

bool HeadlessAudio::open()
{
    open_.store(deviceAvailable);
    return deviceAvailable;
}

std::vector<int16_t> HeadlessAudio::pull(size_t frames)
{
    std::vector<int16_t> out(frames * mixer_->outChannels());
    pull(out.data(), frames);
    return out;
}

void HeadlessAudio::pull(int16_t* out, size_t frames)
{
    {
        // A stream started since the last pull fills its first half before it is heard.
        std::unique_lock<std::mutex> lock(m_);
        cv_.wait_for(lock, kCatchUpLimit, [this] { return settled(); });
    }
    mixer_->mix(out, frames);
    std::unique_lock<std::mutex> lock(m_);
    nowMs_ = uint32_t(mixer_->framesMixed() * 1000 / mixer_->outRate());
    cv_.notify_all();
    cv_.wait_for(lock, kCatchUpLimit, [this] { return settled(); });
}

bool HeadlessAudio::settled() const
{
    if (int(sleepers_.size()) < workers_)
        return false;
    for (const auto& [id, until] : sleepers_) {
        if (int32_t(until - nowMs_) <= 0)
            return false;
    }
    return true;
}

uint32_t HeadlessAudio::now()
{
    std::lock_guard<std::mutex> lock(m_);
    return nowMs_;
}

void HeadlessAudio::sleep(uint32_t ms)
{
    std::unique_lock<std::mutex> lock(m_);
    const uint32_t until = nowMs_ + (ms ? ms : 1);
    sleepers_[std::this_thread::get_id()] = until;
    cv_.notify_all();
    cv_.wait_for(lock, kIdleLook, [&] { return int32_t(until - nowMs_) <= 0; });
    sleepers_.erase(std::this_thread::get_id());
}

void HeadlessAudio::workerStarted()
{
    std::lock_guard<std::mutex> lock(m_);
    ++workers_;
}

void HeadlessAudio::workerEnded()
{
    {
        std::lock_guard<std::mutex> lock(m_);
        --workers_;
    }
    cv_.notify_all();
}

} // namespace platform
