#include "app/SystemConfig.h"

#include <algorithm>

namespace {

int32_t readI32(const uint8_t* p)
{
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

void writeI32(uint8_t* p, int32_t v)
{
    uint32_t u = uint32_t(v);
    p[0] = uint8_t(u);
    p[1] = uint8_t(u >> 8);
    p[2] = uint8_t(u >> 16);
    p[3] = uint8_t(u >> 24);
}

template <typename T> bool clampField(T& v, T lo, T hi)
{
    T c = std::clamp(v, lo, hi);
    bool changed = c != v;
    v = c;
    return changed;
}

} // namespace

void SystemConfig::fromBytes(const uint8_t* data, size_t n)
{
    n = std::min(n, kSize);
    std::copy(data, data + n, raw.begin());
    auto u8 = [&](size_t off, uint8_t& field) {
        if (off + 1 <= n)
            field = data[off];
    };
    auto i32 = [&](size_t off, int32_t& field) {
        if (off + 4 <= n)
            field = readI32(data + off);
    };
    u8(0, windowed);
    i32(4, textSpeed);
    i32(12, autoWait);
    i32(16, textDecoration);
    u8(20, skipAll);
    i32(24, effectSpeed);
    u8(28, autoAfterChoice);
    u8(29, skipAfterChoice);
    u8(30, bgmOn);
    i32(32, bgmLevel);
    u8(36, seOn);
    i32(40, seLevel);
    u8(44, voiceOn);
    i32(48, voiceLevel);
    for (size_t i = 0; i < characterVoiceOn.size(); ++i)
        u8(52 + i, characterVoiceOn[i]);
    for (size_t i = 0; i < characterVoiceLevel.size(); ++i)
        i32(68 + 4 * i, characterVoiceLevel[i]);
}

std::array<uint8_t, SystemConfig::kSize> SystemConfig::toBytes() const
{
    std::array<uint8_t, kSize> b = raw;
    b[0] = windowed;
    writeI32(&b[4], textSpeed);
    writeI32(&b[12], autoWait);
    writeI32(&b[16], textDecoration);
    b[20] = skipAll;
    writeI32(&b[24], effectSpeed);
    b[28] = autoAfterChoice;
    b[29] = skipAfterChoice;
    b[30] = bgmOn;
    writeI32(&b[32], bgmLevel);
    b[36] = seOn;
    writeI32(&b[40], seLevel);
    b[44] = voiceOn;
    writeI32(&b[48], voiceLevel);
    for (size_t i = 0; i < characterVoiceOn.size(); ++i)
        b[52 + i] = characterVoiceOn[i];
    for (size_t i = 0; i < characterVoiceLevel.size(); ++i)
        writeI32(&b[68 + 4 * i], characterVoiceLevel[i]);
    return b;
}

void SystemConfig::applyDefaults()
{
    textSpeed = 5;
    autoWait = 3;
    textDecoration = 2;
    effectSpeed = 0;
    bgmOn = 1;
    bgmLevel = 7;
    seOn = 1;
    seLevel = 7;
    voiceOn = 1;
    voiceLevel = 7;
    characterVoiceOn.fill(1);
    characterVoiceLevel = {5, 6, 7, 6, 7, 5, 5, 5};
}

bool SystemConfig::clampToRanges()
{
    bool changed = false;
    changed |= clampField<uint8_t>(windowed, 0, 1);
    changed |= clampField<int32_t>(textSpeed, 0, 7);
    changed |= clampField<int32_t>(autoWait, 0, 7);
    changed |= clampField<int32_t>(textDecoration, 0, 2);
    changed |= clampField<uint8_t>(skipAll, 0, 1);
    changed |= clampField<int32_t>(effectSpeed, 0, 2);
    changed |= clampField<uint8_t>(autoAfterChoice, 0, 1);
    changed |= clampField<uint8_t>(skipAfterChoice, 0, 1);
    changed |= clampField<uint8_t>(bgmOn, 0, 1);
    changed |= clampField<int32_t>(bgmLevel, 0, 7);
    changed |= clampField<uint8_t>(seOn, 0, 1);
    changed |= clampField<int32_t>(seLevel, 0, 7);
    changed |= clampField<uint8_t>(voiceOn, 0, 1);
    changed |= clampField<int32_t>(voiceLevel, 0, 7);
    for (uint8_t& v : characterVoiceOn)
        changed |= clampField<uint8_t>(v, 0, 1);
    for (int32_t& v : characterVoiceLevel)
        changed |= clampField<int32_t>(v, 0, 7);
    return changed;
}
