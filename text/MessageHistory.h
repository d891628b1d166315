#pragma once
#include "savedata/SaveRecord.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The last 50 messages with the scene each began in, for the backlog screen. Index 0 is the
// oldest. The count is the message window's messageCount: the entry being filled is the one
// at the count, which the text command raises once the message is complete.
//
// The entries live in a ring: dropping the oldest message moves where the ring starts
// instead of copying fifty 6336-byte snapshots down at every message.
class MessageHistory {
public:
    static constexpr int kEntries = 50;
    static constexpr size_t kNameField = 16; // zero-terminated
    static constexpr size_t kLineField = 62; // zero-terminated
    static constexpr int kLines = 3;

    struct Entry {
        char name[kNameField] = {};
        // The speaker's name did not fit its field; the window showed the long-name notice.
        bool nameTooLong = false;
        uint8_t nameWindow = 0;
        uint16_t nameColour = 0xFFFF;
        char lines[kLines][kLineField] = {};
        SaveRecord snapshot;
    };

    // messageCount is the message window's count, which this history shares.
    explicit MessageHistory(uint32_t& messageCount);
    MessageHistory(const MessageHistory&) = delete;
    MessageHistory& operator=(const MessageHistory&) = delete;

    // At the start of each message: with the history full the oldest entry goes; then the
    // speaker, cut to whole characters of the 16-byte field, starts the entry.
    void addHistoryName(std::string_view name, bool nameWindow, uint16_t nameColour);
    // Line 0..2 of the entry being filled (others are ignored); a line of 61 bytes or more is
    // kept as the overflow notice.
    void addHistoryLine(int line, std::string_view text);
    // After the live record was refreshed at a text command: it becomes the entry's snapshot.
    void pushHistorySnapshot(const SaveRecord& live);

    // Nothing kept (a new game, a load, a jump back, a gallery replay).
    void empty();

    // Messages kept: the count, never more than the ring holds.
    int count() const;
    // Entry index (0 the oldest); index must be below the ring size.
    const Entry& entry(int index) const;

private:
    // With 50 kept, the oldest goes and the last entry is cleared for the new message.
    void makeRoom();
    Entry& current();

    uint32_t& messageCount_;
    std::vector<Entry> ring_;
    size_t oldest_ = 0; // ring slot of entry 0
};
