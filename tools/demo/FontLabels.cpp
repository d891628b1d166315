#include "tools/demo/FontLabels.h"

#include "platform/Fonts.h"
#include "platform/Text.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

namespace demo {

LabelPainter fontLabelPainter(platform::Fonts& fonts)
{
    auto cache = std::make_shared<std::map<int, std::shared_ptr<platform::Font>>>();
    return [&fonts, cache](Image& img, const char* utf8, float x, float y, float w, float h, const Color& colour,
                           int pixelSize) {
        const std::string sjis = platform::utf8ToSjis(utf8);
        const int bw = int(std::ceil(w)), bh = int(std::ceil(h));
        auto fontOf = [&](int size) {
            auto& f = (*cache)[size];
            if (!f) {
                platform::FontSpec spec;
                spec.height = size;
                spec.weight = 700;
                spec.charset = platform::kShiftJisCharset;
                spec.face = platform::utf8ToSjis("ＭＳ ゴシック");
                f = fonts.createFont(spec);
            }
            return f;
        };
        // The largest size up to pixelSize whose text fits the box, keeping a pixel of margin.
        int size = std::max(8, pixelSize);
        std::shared_ptr<platform::Font> font;
        for (; size >= 8; --size) {
            font = fontOf(size);
            if (!font)
                return;
            platform::TextRect need{0, 0, 4096, 4096};
            fonts.drawText(*font, platform::Canvas32{}, sjis, need, platform::kDtSingleLine | platform::kDtCalcRect, {});
            if (need.right - need.left <= bw - 2 && need.bottom - need.top <= bh)
                break;
        }
        if (!font)
            return;
        // White text on black: each pixel's level is the text's coverage there.
        std::vector<uint8_t> px(size_t(bw) * size_t(bh) * 4, 0);
        platform::Canvas32 canvas{px.data(), bw, bh, bw * 4, false};
        platform::TextRect rect{0, 0, bw, bh};
        platform::TextStyle style;
        style.colour = platform::rgb(255, 255, 255);
        fonts.drawText(*font, canvas, sjis, rect, platform::kDtCenter | platform::kDtVCenter | platform::kDtSingleLine, style);
        const Color shadow = hex(0x000010, 0.75f);
        for (int pass = 0; pass < 2; ++pass) {
            const int off = pass == 0 ? 1 : 0;
            for (int yy = 0; yy < bh; ++yy)
                for (int xx = 0; xx < bw; ++xx) {
                    const float cov = float(px[(size_t(yy) * size_t(bw) + size_t(xx)) * 4 + 1]) / 255.0f;
                    if (cov > 0)
                        img.plot(int(x) + xx + off, int(y) + yy + off, pass == 0 ? shadow : colour, cov);
                }
        }
    };
}

} // namespace demo
