#pragma once
#include <array>
#include <cstdint>
#include <string_view>

// Which event pictures (CGs) and memory scenes the player has unlocked, across all games and
// runs: the 48 bytes of "data.dat" in the program folder, one byte per flag.
class UnlockRecord {
public:
    static constexpr size_t kSize = 48;
    static constexpr size_t kCgFlags = 32;
    static constexpr int kMemoryFlags = 16;
    static constexpr int kCgCount = 18;

    // The picture names that count as CGs; flag k belongs to entry k.
    static const std::array<const char*, kCgCount> CgNameList;

    // Reads "data.dat". False when it cannot be opened (everything stays locked). A file of
    // another length is used as far as it goes and the rest stays locked.
    bool LoadUnlocks();
    // The flags from a file's bytes: the first 48 count, missing ones stay locked.
    void takeBytes(const uint8_t* data, size_t size);
    // Writes all 48 bytes at once; false when the file cannot be written.
    bool SaveUnlocks() const;

    // Index 0..17 of a picture name (without extension) in CgNameList, compared without
    // regard to ASCII case; -1 when it is not a CG.
    static int FindCg(std::string_view name);
    // Unlocks the CG of that picture name and saves; other names change nothing.
    void MarkCgSeen(std::string_view name);

    bool cgSeen(int index) const { return index >= 0 && index < kCgCount && flags[size_t(index)] != 0; }
    // Sets memory flag n (0..15) and saves; false for a number outside the record.
    bool setMemoryFlag(int n);
    bool memoryFlag(int n) const { return n >= 0 && n < kMemoryFlags && flags[kCgFlags + size_t(n)] != 0; }

    std::array<uint8_t, kSize> flags{};
};
