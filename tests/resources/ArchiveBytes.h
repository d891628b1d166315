#pragma once
// Archives built byte by byte from the format's own rules, independent of the pkd writer,
// so a reader and writer that agree on a wrong scrambling still fail.
#include "resources/PackFormat.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace archivebytes {

inline uint8_t stored(uint8_t plain)
{
    return uint8_t(((plain ^ pack::kScrambleKey) + 128) & 0xFF);
}

inline void putLe(std::vector<uint8_t>& v, size_t at, int32_t x)
{
    for (int i = 0; i < 4; ++i)
        v[at + size_t(i)] = uint8_t(uint32_t(x) >> (8 * i));
}

struct RawRecord {
    std::string name; // up to 128 bytes; 128 leaves no NUL
    int32_t size;
    int32_t offset;
};

inline std::vector<uint8_t> header(int32_t count)
{
    std::vector<uint8_t> v = {'P', 'A', 'C', 'K', 0, 0, 0, 0};
    putLe(v, 4, count);
    return v;
}

inline void appendRecord(std::vector<uint8_t>& v, const RawRecord& r)
{
    std::vector<uint8_t> rec(136, 0);
    std::memcpy(rec.data(), r.name.data(), std::min<size_t>(r.name.size(), 128));
    putLe(rec, 128, r.size);
    putLe(rec, 132, r.offset);
    for (uint8_t b : rec)
        v.push_back(stored(b));
}

// Header, the records for the given entries and their data right after the directory.
inline std::vector<uint8_t> archive(const std::vector<std::pair<std::string, std::string>>& entries)
{
    std::vector<uint8_t> v = header(int32_t(entries.size()));
    int32_t pos = int32_t(8 + 136 * entries.size());
    for (const auto& [name, data] : entries) {
        appendRecord(v, RawRecord{name, int32_t(data.size()), pos});
        pos += int32_t(data.size());
    }
    for (const auto& e : entries)
        for (char c : e.second)
            v.push_back(stored(uint8_t(c)));
    return v;
}

} // namespace archivebytes
