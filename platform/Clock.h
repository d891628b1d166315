#pragma once
#include <cstdint>

namespace platform {

// Milliseconds since start as a wrapping 32-bit value, and sleep.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t now() = 0;
    virtual void sleep(uint32_t ms) = 0;
};

// The real clock: a monotonic clock read in milliseconds.
class SystemClock final : public Clock {
public:
    SystemClock();
    uint32_t now() override;
    void sleep(uint32_t ms) override;

private:
    int64_t originNs_;
};

// A clock the caller moves. Sleeping moves it too, so code that waits on the clock
// finishes; nothing ever really sleeps.
class HeadlessClock final : public Clock {
public:
    uint32_t now() override { return now_; }
    void sleep(uint32_t ms) override
    {
        now_ += ms;
        slept_ += ms;
        ++sleepCalls_;
    }
    void advance(uint32_t ms) { now_ += ms; }
    void set(uint32_t ms) { now_ = ms; }
    uint64_t totalSlept() const { return slept_; }
    uint64_t sleepCalls() const { return sleepCalls_; }
    void resetSleepStats()
    {
        slept_ = 0;
        sleepCalls_ = 0;
    }

private:
    uint32_t now_ = 0;
    uint64_t slept_ = 0;
    uint64_t sleepCalls_ = 0;
};

} // namespace platform
