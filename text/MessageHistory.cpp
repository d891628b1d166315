#include "text/MessageHistory.h"

#include "text/MessageWindow.h"

#include <algorithm>
#include <cstring>

MessageHistory::MessageHistory(uint32_t& messageCount) : messageCount_(messageCount), ring_(size_t(kEntries)) {}

void MessageHistory::makeRoom()
{
    if (messageCount_ < uint32_t(kEntries))
        return;
    oldest_ = (oldest_ + 1) % size_t(kEntries);
    messageCount_ = kEntries - 1;
    current() = Entry{};
}

MessageHistory::Entry& MessageHistory::current()
{
    return ring_[(oldest_ + std::min<size_t>(messageCount_, kEntries - 1)) % size_t(kEntries)];
}

void MessageHistory::addHistoryName(std::string_view name, bool nameWindow, uint16_t nameColour)
{
    makeRoom();
    Entry& e = current();
    const size_t keep = sjisBytesThatFit(name, kNameField);
    std::memset(e.name, 0, sizeof e.name);
    std::memcpy(e.name, name.data(), keep);
    // The window shows the notice for such a name; the backlog must too, also when the cut
    // left few enough characters to show.
    e.nameTooLong = countSjisChars(name) > MessageWindow::kMaxNameChars;
    e.nameWindow = nameWindow ? 1 : 0;
    e.nameColour = nameColour;
    std::memset(e.lines, 0, sizeof e.lines);
}

void MessageHistory::addHistoryLine(int line, std::string_view text)
{
    if (line < 0 || line >= kLines)
        return;
    if (text.size() >= kLineField - 1)
        text = lineTooLongNotice();
    char* field = current().lines[line];
    std::memset(field, 0, kLineField);
    std::memcpy(field, text.data(), std::min(text.size(), kLineField - 1));
}

void MessageHistory::pushHistorySnapshot(const SaveRecord& live)
{
    makeRoom();
    current().snapshot = live;
}

void MessageHistory::empty()
{
    messageCount_ = 0;
    oldest_ = 0;
}

int MessageHistory::count() const
{
    return int(std::min<uint32_t>(messageCount_, kEntries));
}

const MessageHistory::Entry& MessageHistory::entry(int index) const
{
    const size_t i = size_t(std::clamp(index, 0, kEntries - 1));
    return ring_[(oldest_ + i) % size_t(kEntries)];
}
