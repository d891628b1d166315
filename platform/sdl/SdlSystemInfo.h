#pragma once
#include "platform/SystemInfo.h"

namespace platform {

class SdlVideo;

// The machine as the host and SDL report it. The processor clock is measured once, when
// the service is made at start-up.
class SdlSystemInfo final : public SystemInfo {
public:
    explicit SdlSystemInfo(SdlVideo& video);
    SystemFacts facts() override;
    LocalDate today() override { return hostToday(); }

private:
    SdlVideo& video_;
    CpuFacts cpu_;
    std::string os_;
};

} // namespace platform
