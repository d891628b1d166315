#include "graphics/FontSheet.h"

#include "resources/PackArchive.h"


#include <cstring>
#include <vector>

namespace {

uint32_t get16(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

uint32_t get32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

} // namespace

bool FontSheet::decode(const uint8_t* data, size_t size)
{
    // The file header, the info header and the 16-entry palette come first; the sheet is
    // only ever 128 x 128, so a header claiming more rows cannot steer the copy outside it.
    if (!data || size < 54 || data[0] != 'B' || data[1] != 'M')
        return false;
    if (get16(data + 28) != 4)
        return false;
    const int32_t width = int32_t(get32(data + 18));
    const int32_t height = int32_t(get32(data + 22));
    const uint32_t compression = get32(data + 30);
    if (width != kSide || (height != kSide && height != -kSide) || compression != 0)
        return false;
    const uint64_t offset = get32(data + 10);
    if (offset < 54 || offset + kBytes > size)
        return false;
    std::memcpy(bytes_.data(), data + offset, kBytes);
    // A positive height means the file stores the bottom row first.
    if (height > 0) {
        uint8_t tmp[kRowBytes];
        for (int32_t i = 0; i < kSide / 2; ++i) {
            uint8_t* a = bytes_.data() + size_t(i) * kRowBytes;
            uint8_t* b = bytes_.data() + size_t(kSide - 1 - i) * kRowBytes;
            std::memcpy(tmp, a, kRowBytes);
            std::memcpy(a, b, kRowBytes);
            std::memcpy(b, tmp, kRowBytes);
        }
    }
    loaded_ = true;
    return true;
}

bool LoadFontSheet(const CPackArchive& archive, std::string_view name, FontSheet& sheet)
{
    const int32_t size = archive.GetSize(name);
    // A real sheet is 8,310 bytes; anything past a megabyte is not one.
    if (size <= 0 || size > (1 << 20))
        return false;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (archive.Read(name, bytes.data()) != size)
        return false;
    return sheet.decode(bytes.data(), bytes.size());
}
