#include "platform/Event.h"

#include <chrono>

namespace platform {

void Event::set()
{
    {
        std::lock_guard<std::mutex> lock(m_);
        signalled_ = true;
    }
    cv_.notify_all();
}

void Event::reset()
{
    std::lock_guard<std::mutex> lock(m_);
    signalled_ = false;
}

bool Event::wait(uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_);
    if (!cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return signalled_; }))
        return false;
    if (!manual_)
        signalled_ = false;
    return true;
}

bool Event::isSet() const
{
    std::lock_guard<std::mutex> lock(m_);
    return signalled_;
}

} // namespace platform
