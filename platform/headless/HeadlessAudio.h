#pragma once
#include "platform/Audio.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {

// A sound card the test pulls: nothing plays by itself. Each pull mixes a block, moves the
// sound threads' clock by the block's length and waits until every sound thread has run
// up to that time, so streaming, notifications and fades follow the pulled audio exactly.
class HeadlessAudio final : public Audio {
public:
    explicit HeadlessAudio(uint32_t outRate = 44100, uint32_t outChannels = 2) : Audio(outRate, outChannels) {}

    // False makes open() fail, as on a machine without a sound device.
    bool deviceAvailable = true;

    bool open() override;
    void close() override { open_.store(false); }

    // Mixes frames output frames (interleaved, mixer().outChannels() per frame).
    std::vector<int16_t> pull(size_t frames);
    void pull(int16_t* out, size_t frames);

    uint32_t now() override;
    void sleep(uint32_t ms) override;
    void workerStarted() override;
    void workerEnded() override;

private:
    bool settled() const;

    std::mutex m_;
    std::condition_variable cv_;
    uint32_t nowMs_ = 0;
    int workers_ = 0;
    std::map<std::thread::id, uint32_t> sleepers_; // thread -> clock value it waits for
};

} // namespace platform
