#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>

// The volume model every sound shares. A configuration level 0..7 gives a percentage
// (30..100, 0 when the group is switched off); a sound keeps a volume of 1..100, which
// DirectSound-style attenuation turns into hundredths of a decibel.

constexpr int32_t kSilentAttenuation = -10000;

// Volume in percent for a group level 0..7.
inline int volumePercentForLevel(int32_t level)
{
    static constexpr int kTable[8] = {30, 40, 50, 60, 70, 80, 90, 100};
    return kTable[std::clamp<int32_t>(level, 0, 7)];
}

// Volume 1..100 from a percentage: p + 1 below 100, so the quietest level is 31 and a
// switched-off group still has 1 (about -92 dB), not complete silence.
inline float soundVolumeFromPercent(int percent)
{
    if (percent < 0)
        return 1.0f;
    if (percent < 100)
        return float(percent + 1);
    return 100.0f;
}

// 2000 x ln(v / 100); a factor of zero or less is silence rather than minus infinity.
inline float attenuationForVolume(double volumePercent)
{
    if (!(volumePercent > 0.0))
        return float(kSilentAttenuation);
    double att = 2000.0 * std::log(volumePercent / 100.0);
    if (att < kSilentAttenuation)
        return float(kSilentAttenuation);
    if (att > 0.0)
        return 0.0f;
    return float(att);
}
