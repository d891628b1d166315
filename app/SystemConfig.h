#pragma once
#include "sound/SoundVolume.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The settings record, 100 bytes little-endian, kept byte for byte in "system.dat".
struct SystemConfig {
    static constexpr size_t kSize = 100;

    uint8_t windowed = 0;        // byte 0: 1 window, 0 full screen (mirrors the engine flag)
    int32_t textSpeed = 0;       // 4: 0..7
    int32_t autoWait = 0;        // 12: 0..7
    int32_t textDecoration = 0;  // 16: 0 none, 1 shadow, 2 outline
    uint8_t skipAll = 0;         // 20
    int32_t effectSpeed = 0;     // 24: 0 normal, 1 double, 2 not shown
    uint8_t autoAfterChoice = 0; // 28
    uint8_t skipAfterChoice = 0; // 29
    uint8_t bgmOn = 0;           // 30
    int32_t bgmLevel = 0;        // 32: 0..7
    uint8_t seOn = 0;            // 36
    int32_t seLevel = 0;         // 40
    uint8_t voiceOn = 0;         // 44
    int32_t voiceLevel = 0;      // 48
    std::array<uint8_t, 9> characterVoiceOn{};     // 52
    std::array<int32_t, 8> characterVoiceLevel{};  // 68

    // The bytes the record does not name, kept as read so a save writes them back unchanged.
    std::array<uint8_t, kSize> raw{};

    // Takes the fields that lie wholly inside the first n bytes; the rest keep their values.
    void fromBytes(const uint8_t* data, size_t n);
    std::array<uint8_t, kSize> toBytes() const;

    // The defaults of a first start. Leaves windowed, skipAll, the after-choice bytes and
    // the reserved bytes alone.
    void applyDefaults();

    // Brings every field back into its range (levels 0..7, decoration and effect speed
    // 0..2, switches 0 or 1). Returns true when something had to change.
    bool clampToRanges();
};

