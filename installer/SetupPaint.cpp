#include "installer/SetupProgram.h"

#include "platform/Fonts.h"
#include "platform/Services.h"
#include "platform/Text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

uint32_t argbOf(uint32_t colorref)
{
    return 0xFF000000u | ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
}

} // namespace

void SetupProgram::drawBackground()
{
    std::fill(canvas_.begin(), canvas_.end(), 0xFF000000u);
    drawPicture(background_, 0, 0, kSetupWidth, kSetupHeight);
}

void SetupProgram::drawPicture(const CImage& img, int x, int y, int w, int h)
{
    w = std::min({w, img.width, kSetupWidth - x});
    h = std::min({h, img.height, kSetupHeight - y});
    if (x < 0 || y < 0 || w <= 0 || h <= 0)
        return;
    for (int row = 0; row < h; ++row) {
        uint32_t* dst = canvas_.data() + size_t(y + row) * kSetupWidth + size_t(x);
        std::memcpy(dst, img.row(row), size_t(w) * 4);
        for (int i = 0; i < w; ++i)
            dst[i] |= 0xFF000000u;
    }
}

void SetupProgram::drawButtons()
{
    for (const SetupButton& b : setupButtons()) {
        if (b.page != page_ || !active(b))
            continue;
        const size_t i = size_t(b.picture);
        drawPicture(hovered_ == b.id ? hover_[i] : normal_[i], b.x, b.y, b.width, b.height);
    }
}

void SetupProgram::fillRect(int left, int top, int right, int bottom, uint32_t colorref)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, kSetupWidth);
    bottom = std::min(bottom, kSetupHeight);
    const uint32_t argb = argbOf(colorref);
    for (int y = top; y < bottom; ++y)
        std::fill_n(canvas_.data() + size_t(y) * kSetupWidth + size_t(left), std::max(right - left, 0), argb);
}

void SetupProgram::drawText(const std::string& sjis, int left, int top, int right, int bottom, uint32_t format,
                            uint32_t colour)
{
    if (!font_)
        return;
    platform::Canvas32 canvas{reinterpret_cast<uint8_t*>(canvas_.data()), kSetupWidth, kSetupHeight, kSetupWidth * 4,
                              false};
    platform::TextRect r{left, top, right, bottom};
    platform::TextStyle style;
    style.colour = colour;
    style.transparent = true;
    sys_.fonts->drawText(*font_, canvas, sjis, r, format, style);
}

int SetupProgram::textHeight(const std::string& sjis, int width, uint32_t format)
{
    if (!font_)
        return 0;
    platform::Canvas32 canvas{reinterpret_cast<uint8_t*>(canvas_.data()), kSetupWidth, kSetupHeight, kSetupWidth * 4,
                              false};
    platform::TextRect r{0, 0, width, kSetupHeight};
    sys_.fonts->drawText(*font_, canvas, sjis, r, format | platform::kDtCalcRect, platform::TextStyle{});
    return r.bottom - r.top;
}

void SetupProgram::drawProgress()
{
    const size_t count = lists_.lines.size();
    const int percent = count ? int(std::min(step_, count) * 100 / count) : 0;
    fillRect(78, 198, 402, 234, platform::rgb(255, 255, 255));
    fillRect(80, 200, 400, 232, platform::rgb(0, 0, 0));
    fillRect(80, 200, 80 + int(percent * 3.2), 232, platform::rgb(64, 96, 255));
    char text[16];
    std::snprintf(text, sizeof text, "%d %%", percent);
    drawText(text, 80, 200, 400, 232, platform::kDtCenter | platform::kDtVCenter | platform::kDtSingleLine,
             platform::rgb(255, 255, 255));
}

void SetupProgram::drawPathEntry()
{
    // The folder asked for in the window itself when the desktop offers no chooser.
    fillRect(24, 120, 456, 236, platform::rgb(255, 255, 255));
    fillRect(26, 122, 454, 234, platform::rgb(24, 32, 64));
    drawText(SJ("インストール先ディレクトリを指定してください"), 36, 130, 444, 150, platform::kDtSingleLine,
             platform::rgb(255, 255, 255));
    fillRect(36, 160, 444, 186, platform::rgb(255, 255, 255));
    drawText(platform::utf8ToSjis(entry_.text) + "_", 40, 164, 440, 184,
             platform::kDtSingleLine | platform::kDtRight, platform::rgb(0, 0, 0));
    drawText(SJ("Enter: 決定　Esc: 取消"), 36, 200, 444, 224, platform::kDtSingleLine | platform::kDtRight,
             platform::rgb(255, 255, 255));
}
