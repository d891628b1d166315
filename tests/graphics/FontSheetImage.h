#pragma once
// A 4-bit font-sheet BMP made in memory, as the content generator writes it.
#include <cstdint>
#include <functional>
#include <vector>

namespace testsupport {

// value(x, y) gives the 0..15 value of sheet pixel (x, y), y from the top.
inline std::vector<uint8_t> makeFontSheetBmp(const std::function<uint8_t(int, int)>& value, int32_t height = 128,
                                             uint16_t bits = 4)
{
    std::vector<uint8_t> f(118 + 8192, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            f[at + size_t(i)] = uint8_t(v >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, uint32_t(f.size()));
    put32(10, 118);
    put32(14, 40);
    put32(18, 128);
    put32(22, uint32_t(height));
    f[26] = 1;
    f[28] = uint8_t(bits);
    for (int i = 0; i < 16; ++i)
        f[54 + size_t(i) * 4] = f[55 + size_t(i) * 4] = f[56 + size_t(i) * 4] = uint8_t(i * 17);
    for (int y = 0; y < 128; ++y) {
        int fileRow = height > 0 ? 127 - y : y;
        for (int x = 0; x < 128; ++x) {
            uint8_t& b = f[118 + size_t(fileRow) * 64 + size_t(x / 2)];
            b = uint8_t(x & 1 ? (b & 0xF0) | (value(x, y) & 15) : (b & 0x0F) | (value(x, y) & 15) << 4);
        }
    }
    return f;
}

} // namespace testsupport
