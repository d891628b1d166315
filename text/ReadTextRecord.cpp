#include "text/ReadTextRecord.h"

#include "core/RunLog.h"
#include "platform/Files.h"
#include "platform/Text.h"

#include <cstring>

namespace {

const char kFileName[] = "text.dat";
// Far beyond any real game (half a million scripts); a bigger file is damaged.
constexpr size_t kMaxFileBytes = 16u << 20;

void logOpenFailure()
{
    runLog().append(2, SJ("text.datのopenに失敗しました。既読データーが失われます。"));
}

} // namespace

void ReadTextRecord::recordReadPosition(std::string_view scriptName, int32_t position)
{
    auto it = positions_.find(scriptName);
    if (it == positions_.end())
        positions_.emplace(std::string(scriptName), position);
    else if (it->second < position)
        it->second = position;
}

bool ReadTextRecord::isRead(std::string_view scriptName, int32_t position) const
{
    auto it = positions_.find(scriptName);
    int32_t furthest = it == positions_.end() ? 0 : it->second;
    return furthest > position;
}

bool ReadTextRecord::loadReadText()
{
    std::vector<uint8_t> bytes;
    if (!platform::files::readFile(platform::files::hostPath(kFileName), bytes, kMaxFileBytes + 1)) {
        logOpenFailure();
        return false;
    }
    if (bytes.size() > kMaxFileBytes) {
        runLog().appendf(2, "text.dat: larger than %zu bytes; only the first records are used", kMaxFileBytes);
        bytes.resize(kMaxFileBytes);
    }
    mergeRecords(bytes.data(), bytes.size());
    return true;
}

void ReadTextRecord::mergeRecords(const uint8_t* bytes, size_t size)
{
    const size_t count = size / kRecordSize;
    for (size_t r = 0; r < count; ++r) {
        uint8_t rec[kRecordSize];
        for (size_t i = 0; i < kRecordSize; ++i)
            rec[i] = unscramble(bytes[r * kRecordSize + i]);
        size_t len = 0;
        while (len < kNameField && rec[len] != 0)
            ++len;
        int32_t value = int32_t(uint32_t(rec[32]) | uint32_t(rec[33]) << 8 | uint32_t(rec[34]) << 16 |
                                uint32_t(rec[35]) << 24);
        positions_[std::string(reinterpret_cast<const char*>(rec), len)] = value;
    }
}

std::vector<uint8_t> ReadTextRecord::encodeRecords() const
{
    std::vector<uint8_t> out;
    out.reserve(positions_.size() * kRecordSize);
    for (const auto& [name, value] : positions_) {
        if (name.size() >= kNameField || name.find('\0') != std::string::npos) {
            runLog().appendf(2, "text.dat: script name too long for its record, not saved [%s]", name.c_str());
            continue;
        }
        uint8_t rec[kRecordSize] = {};
        std::memcpy(rec, name.data(), name.size());
        uint32_t v = uint32_t(value);
        rec[32] = uint8_t(v);
        rec[33] = uint8_t(v >> 8);
        rec[34] = uint8_t(v >> 16);
        rec[35] = uint8_t(v >> 24);
        for (uint8_t b : rec)
            out.push_back(scramble(b));
    }
    return out;
}

bool ReadTextRecord::saveReadText() const
{
    const std::vector<uint8_t> out = encodeRecords();
    if (!platform::files::writeFileAtomic(platform::files::hostPath(kFileName), out.data(), out.size())) {
        logOpenFailure();
        return false;
    }
    return true;
}
