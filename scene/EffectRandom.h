#pragma once
#include <cstdint>

// The special effects' random numbers: one generator of our own with a fixed seed, so a run
// of the runner or a test plays the same sparks and rain every time. It is the classic
// linear congruential rand() (0..32767), so "random 0-b" is next() % (b + 1).
class EffectRandom {
public:
    explicit EffectRandom(uint32_t seed = 1) : state_(seed) {}
    void seed(uint32_t s) { state_ = s; }
    int next()
    {
        state_ = state_ * 214013u + 2531011u;
        return int((state_ >> 16) & 0x7FFF);
    }
    // Random 0..b; b below 1 gives 0.
    int upTo(int b) { return b < 1 ? 0 : next() % (b + 1); }

private:
    uint32_t state_;
};
