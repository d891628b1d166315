#pragma once
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace platform {

// A signalled/unsignalled flag threads wait on, the way the sound workers and the main
// thread hand streams over. An auto-reset event is consumed by the wait that sees it; a
// manual-reset one stays set until reset.
class Event {
public:
    explicit Event(bool manualReset = false) : manual_(manualReset) {}
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void set();
    void reset();
    // True when the event was (or became) signalled within timeoutMs; 0 polls.
    bool wait(uint32_t timeoutMs);
    bool isSet() const;

private:
    const bool manual_;
    mutable std::mutex m_;
    std::condition_variable cv_;
    bool signalled_ = false;
};

} // namespace platform
