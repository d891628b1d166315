#pragma once
#include "platform/Audio.h"

#include <cstdint>

namespace platform {

// The sound card through SDL: its audio callback asks the mixer for each block.
class SdlAudio final : public Audio {
public:
    SdlAudio() : Audio(44100, 2) {}
    ~SdlAudio() override;

    bool open() override;
    void close() override;

    uint32_t now() override;
    void sleep(uint32_t ms) override;

private:
    uint32_t device_ = 0;
    bool subsystem_ = false;
};

} // namespace platform
