#include "sound/WavReader.h"

#include <algorithm>
#include <cstring>

namespace {
uint32_t le32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t le16(const uint8_t* p)
{
    return uint16_t(p[0] | p[1] << 8);
}

// Offset of the first tag at or after from whose 8-byte chunk header fits in the file.
size_t findTag(const uint8_t* bytes, size_t size, size_t from, const char* tag)
{
    for (size_t i = from; i + 8 <= size; ++i) {
        if (std::memcmp(bytes + i, tag, 4) == 0)
            return i;
    }
    return size;
}
} // namespace

void WaveFormat::forcePcm()
{
    formatTag = 1;
    if (bitsPerSample == 0)
        bitsPerSample = 16;
    blockAlign = uint16_t(bitsPerSample / 8 * channels);
    avgBytesPerSec = uint32_t(blockAlign) * samplesPerSec;
    extraSize = 18;
}

bool parseWav(const uint8_t* bytes, size_t size, WaveFormat& format, std::vector<uint8_t>& data, std::string& why)
{
    format = WaveFormat{};
    data.clear();
    if (!bytes || size == 0) {
        why = "empty file";
        return false;
    }
    const size_t fmt = findTag(bytes, size, 0, "fmt ");
    if (fmt == size) {
        why = "no fmt chunk";
        return false;
    }
    const uint32_t fmtLength = le32(bytes + fmt + 4);
    if (fmtLength > size - fmt - 8) {
        why = "fmt chunk runs past the end of the file";
        return false;
    }
    uint8_t raw[18] = {};
    std::memcpy(raw, bytes + fmt + 8, std::min<size_t>(fmtLength, sizeof raw));
    format.formatTag = le16(raw);
    format.channels = le16(raw + 2);
    format.samplesPerSec = le32(raw + 4);
    format.avgBytesPerSec = le32(raw + 8);
    format.blockAlign = le16(raw + 12);
    format.bitsPerSample = le16(raw + 14);
    format.extraSize = le16(raw + 16);

    const size_t dataAt = findTag(bytes, size, fmt + 8, "data");
    if (dataAt == size) {
        why = "no data chunk";
        return false;
    }
    const uint32_t dataLength = le32(bytes + dataAt + 4);
    if (dataLength > size - dataAt - 8) {
        why = "data chunk runs past the end of the file";
        return false;
    }
    if (dataLength == 0) {
        why = "empty data chunk";
        return false;
    }
    data.assign(bytes + dataAt + 8, bytes + dataAt + 8 + dataLength);
    return true;
}
