#include "savedata/SaveRecord.h"

#include "core/RunLog.h"
#include "platform/Files.h"
#include "platform/SystemInfo.h"
#include "platform/Text.h"

#include <cstdio>
#include <cstring>
#include <vector>

void SaveRecord::clear()
{
    bytes.fill(0);
    setI32(Version, kVersion);
}

int32_t SaveRecord::i32(size_t offset) const
{
    if (offset + 4 > kSize)
        return 0;
    const uint32_t v = uint32_t(bytes[offset]) | uint32_t(bytes[offset + 1]) << 8 | uint32_t(bytes[offset + 2]) << 16 |
                       uint32_t(bytes[offset + 3]) << 24;
    return int32_t(v);
}

void SaveRecord::setI32(size_t offset, int32_t value)
{
    if (offset + 4 > kSize)
        return;
    const uint32_t v = uint32_t(value);
    for (size_t i = 0; i < 4; ++i)
        bytes[offset + i] = uint8_t(v >> (8 * i));
}

std::string SaveRecord::name(size_t offset) const
{
    if (offset >= kSize)
        return {};
    const size_t room = std::min(kNameField, kSize - offset);
    const char* p = reinterpret_cast<const char*>(bytes.data() + offset);
    return std::string(p, strnlen(p, room));
}

void SaveRecord::setName(size_t offset, std::string_view text)
{
    if (offset + kNameField > kSize)
        return;
    std::memset(bytes.data() + offset, 0, kNameField);
    const size_t n = std::min(text.size(), kNameField - 1);
    std::memcpy(bytes.data() + offset, text.data(), n);
}

int SaveRecord::chapterIndex(std::string_view scriptName)
{
    if (scriptName.empty() || (scriptName[0] != '0' && scriptName[0] != '1'))
        return 19;
    // The first two characters as a decimal number, read the way atoi reads them.
    int value = scriptName[0] - '0';
    if (scriptName.size() > 1 && scriptName[1] >= '0' && scriptName[1] <= '9')
        value = value * 10 + (scriptName[1] - '0');
    return value > 18 ? 19 : value;
}

std::string slotDataPath(int slot)
{
    return "SAVE\\" + std::to_string(slot) + ".dat";
}

std::string slotThumbnailPath(int slot)
{
    return "SAVE\\" + std::to_string(slot) + ".bmp";
}

SlotRead readSlotBytes(const uint8_t* data, size_t size, SaveRecord& record)
{
    if (size < SaveRecord::kSize)
        return SlotRead::Short;
    SaveRecord r;
    std::memcpy(r.bytes.data(), data, SaveRecord::kSize);
    if (r.version() != SaveRecord::kVersion)
        return SlotRead::OtherVersion;
    record = r;
    return SlotRead::Ok;
}

SlotRead readSlotFile(int slot, SaveRecord& record)
{
    if (slot < 0 || slot >= SaveRecord::kSlots)
        return SlotRead::Missing;
    std::vector<uint8_t> data;
    if (!platform::files::readFile(platform::files::programPath(slotDataPath(slot)), data, SaveRecord::kSize))
        return SlotRead::Missing;
    return readSlotBytes(data.data(), data.size(), record);
}

bool writeSlotFile(int slot, const SaveRecord& record)
{
    if (slot < 0 || slot >= SaveRecord::kSlots)
        return false;
    const std::string folder = platform::files::programPath("SAVE");
    if (!platform::files::isDirectory(folder) && !platform::files::makeDirectories(folder)) {
        runLog().appendf(2, "SYSTEM ERROR: can't make the SAVE folder.->%s", folder.c_str());
        return false;
    }
    return platform::files::writeFileAtomic(platform::files::programPath(slotDataPath(slot)), record.bytes.data(),
                                            record.bytes.size());
}

std::string slotDateLabel(int64_t secondsSinceEpoch)
{
    static const char* const kWeekdays[7] = {"日", "月", "火", "水", "木", "金", "土"};
    platform::LocalTime t;
    if (!platform::localTimeOf(secondsSinceEpoch, t) || t.weekday < 0 || t.weekday > 6)
        return {};
    char buf[96];
    std::snprintf(buf, sizeof buf, "20%02d年%02d月%02d日(%s)\n%02d:%02d:%02d", t.year - 2000, t.month, t.day,
                  kWeekdays[t.weekday], t.hour, t.minute, t.second);
    return platform::utf8ToSjis(buf);
}

std::string_view chapterName(int index)
{
    static const std::string kNames[10] = {
        SJ("序章"),    SJ("第１章"), SJ("第２章"),
        SJ("第３章"), SJ("第４章"), SJ("第５章"),
        SJ("第６章"), SJ("第７章"), SJ("第８章"),
        SJ("第９章"),
    };
    if (index >= 0 && index <= 9)
        return kNames[index];
    if (index >= 10 && index <= 18)
        return kNames[1];
    return {};
}
