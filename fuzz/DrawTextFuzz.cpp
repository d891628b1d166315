// DrawTextA-style layout and drawing on arbitrary Shift-JIS bytes, rectangles and flags:
// nothing may be written outside the canvas, whatever the text or the rectangle.
#include "platform/Fonts.h"
#include "platform/Text.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static platform::Fonts fonts;
    static std::shared_ptr<platform::Font> font = [] {
        platform::FontSpec spec;
        spec.height = 16;
        spec.weight = 400;
        spec.charset = platform::kShiftJisCharset;
        spec.face = platform::utf8ToSjis("ＭＳ ゴシック");
        return fonts.createFont(spec);
    }();
    if (!font || size < 10)
        return 0;
    const int32_t scale = (data[9] & 0x20) ? 65536 : 1;
    auto s16 = [&](size_t at) { return int32_t(int16_t(uint16_t(data[at] | data[at + 1] << 8))) / 64 * scale; };
    platform::TextRect r{s16(0), s16(2), s16(4), s16(6)};
    const uint32_t flags = uint32_t(data[8]) | uint32_t(data[9] & 0x05) << 8;
    std::vector<uint8_t> pixels(40 * 30 * 4 + 64, 0xAA);
    platform::Canvas32 canvas{pixels.data() + 32, 40, 30, 40 * 4, (data[9] & 0x80) != 0};
    std::string_view text(reinterpret_cast<const char*>(data + 10), size - 10);
    platform::TextStyle style;
    style.transparent = (data[9] & 0x40) == 0;
    fonts.drawText(*font, canvas, text, r, flags, style);
    // Guard bytes either side of the canvas stay untouched.
    for (size_t i = 0; i < 32; ++i)
        if (pixels[i] != 0xAA || pixels[pixels.size() - 1 - i] != 0xAA)
            __builtin_trap();
    return 0;
}
