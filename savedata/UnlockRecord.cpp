#include "savedata/UnlockRecord.h"

#include "core/RunLog.h"
#include "platform/Files.h"

#include <cctype>
#include <vector>

namespace {
const char kFileName[] = "data.dat";
}

const std::array<const char*, UnlockRecord::kCgCount> UnlockRecord::CgNameList = {
    "00-01", "00-02", "00-03", "01-01", "01-02a", "01-03a", "02-01", "02-02", "03-01a",
    "03-02a", "03-03", "04-01a", "04-02a", "04-03", "04-04a", "04-05a", "04-06", "04-07",
};

bool UnlockRecord::LoadUnlocks()
{
    std::vector<uint8_t> bytes;
    if (!platform::files::readFile(platform::files::programPath(kFileName), bytes, kSize + 1))
        return false;
    takeBytes(bytes.data(), bytes.size());
    return true;
}

void UnlockRecord::takeBytes(const uint8_t* data, size_t size)
{
    flags.fill(0);
    for (size_t i = 0; i < size && i < kSize; ++i)
        flags[i] = data[i];
    if (size != kSize)
        runLog().appendf(2, "data.dat: %zu bytes instead of %zu; missing flags stay locked", size, kSize);
}

bool UnlockRecord::SaveUnlocks() const
{
    return platform::files::writeFileAtomic(platform::files::programPath(kFileName), flags.data(), flags.size());
}

int UnlockRecord::FindCg(std::string_view name)
{
    for (int k = 0; k < kCgCount; ++k) {
        std::string_view entry = CgNameList[size_t(k)];
        if (entry.size() != name.size())
            continue;
        bool same = true;
        for (size_t i = 0; i < entry.size() && same; ++i)
            same = std::toupper(uint8_t(entry[i])) == std::toupper(uint8_t(name[i]));
        if (same)
            return k;
    }
    return -1;
}

void UnlockRecord::MarkCgSeen(std::string_view name)
{
    int k = FindCg(name);
    if (k < 0)
        return;
    flags[size_t(k)] = 1;
    SaveUnlocks();
}

bool UnlockRecord::setMemoryFlag(int n)
{
    if (n < 0 || n >= kMemoryFlags)
        return false;
    flags[kCgFlags + size_t(n)] = 1;
    SaveUnlocks();
    return true;
}
