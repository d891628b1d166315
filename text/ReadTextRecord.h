#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// The furthest token position at which each script has shown a message, so skip mode knows
// what the player has read. Kept in "text.dat" in the current directory as 36-byte
// scrambled records in byte-wise name order.
class ReadTextRecord {
public:
    static constexpr size_t kRecordSize = 36;
    static constexpr size_t kNameField = 32;
    static constexpr uint8_t kKey = 0x5A;

    // Raises the recorded position of a script; never lowers it.
    void recordReadPosition(std::string_view scriptName, int32_t position);
    // True when the script has been read beyond position (an unknown script counts as 0).
    bool isRead(std::string_view scriptName, int32_t position) const;

    // Sets the map entries of every whole record in "text.dat" (a later record of the same
    // name wins); false, with the "lost" message, when the file cannot be opened.
    bool loadReadText();
    // The records part of loadReadText: every whole 36-byte record of bytes.
    void mergeRecords(const uint8_t* bytes, size_t size);
    // Writes every entry; a name that does not fit the 32-byte field with its terminator
    // is left out of the file (with a log line) rather than cut to a name that may belong
    // to another script.
    bool saveReadText() const;
    // The bytes saveReadText writes.
    std::vector<uint8_t> encodeRecords() const;

    static uint8_t scramble(uint8_t b) { return uint8_t(uint8_t(b - 128) ^ kKey); }
    static uint8_t unscramble(uint8_t b) { return uint8_t(uint8_t(b ^ kKey) - 128); }

    const std::map<std::string, int32_t, std::less<>>& entries() const { return positions_; }
    void clear() { positions_.clear(); }

private:
    std::map<std::string, int32_t, std::less<>> positions_;
};
