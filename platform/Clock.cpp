#include "platform/Clock.h"

#include <cerrno>
#include <ctime>

namespace platform {

static int64_t monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

SystemClock::SystemClock() : originNs_(monotonicNs()) {}

uint32_t SystemClock::now()
{
    return uint32_t(uint64_t(monotonicNs() - originNs_) / 1000000);
}

void SystemClock::sleep(uint32_t ms)
{
    timespec req{time_t(ms / 1000), long(ms % 1000) * 1000000L};
    timespec rem{};
    while (nanosleep(&req, &rem) != 0 && errno == EINTR)
        req = rem;
}

} // namespace platform
