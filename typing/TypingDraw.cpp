// What the typing screen shows: the line with its romaji, the display panel, the banners.
#include "typing/TypingDraw.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "graphics/AtlasTexture.h"
#include "graphics/GlyphCell.h"
#include "platform/Fonts.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kCell = glyphcell::kSide;
constexpr int kCellPixels = kCell * kCell;
constexpr int kAsciiFirst = 0x20, kAsciiCount = 0x7F - 0x20;

// Colours of the frame boxes around the line and the romaji.
constexpr uint32_t kLineBoxColour = 231u << 16 | 44u << 8 | 130u;
constexpr uint32_t kRomajiBoxColour = 53u << 16 | 175u << 8 | 64u;

void createStrip(GlyphStrip& strip, platform::Video* video)
{
    if (strip.texture.Create(video, 256, 256, false))
        strip.texture.AcquireHandle(video);
    strip.texture.handleWanted = true;
    for (int i = 0; i < GlyphStrip::kCells; ++i)
        strip.sprites[size_t(i)].Set(strip.texture, float(kCell * (i % 8)), float(kCell * (i / 8)), float(kCell),
                                     float(kCell));
    strip.count = 0;
}

void putCell(GlyphStrip& strip, int i, const uint16_t* cell)
{
    strip.texture.UpdateRect(reinterpret_cast<const uint8_t*>(cell), kCell * (i % 8), kCell * (i / 8), kCell, kCell);
}

// Draws a Shift-JIS text into the strip's cells in one colour; a space leaves its cell clear.
void renderText(CDirectX& dx, GlyphStrip& strip, std::string_view text, uint16_t colour)
{
    TypingMode& t = dx.typing;
    uint16_t cell[kCellPixels];
    int n = 0;
    for (size_t at = 0; at < text.size() && n < GlyphStrip::kCells; ++n) {
        size_t len = 1;
        const uint32_t code = glyphcell::codeAt(text, at, len);
        at += len;
        if (code == ' ')
            std::fill(std::begin(cell), std::end(cell), uint16_t(colour & 0x0FFF));
        else
            glyphcell::rasterise(t.font.get(), &dx.fontSheet, code, uint16_t(colour & 0x0FFF), cell);
        putCell(strip, n, cell);
    }
    strip.count = n;
}

platform::Video* device(CDirectX& dx)
{
    return dx.display.directDraw();
}

void fill(platform::Video& video, float x, float y, float w, float h, uint32_t rgb, int alpha)
{
    if (w <= 0 || h <= 0)
        return;
    CSprite s;
    s.SetNoTexture();
    s.SetColour(rgb);
    s.SetAlpha(alpha);
    s.Draw(video, x, y, w, h);
}

// A text of width w at (x, y) in its box: black and colour at half alpha, and a three-pixel
// border in the colour four pixels outside the text.
void frameBox(platform::Video& video, float x, float y, float w, uint32_t rgb)
{
    fill(video, x - 1, y - 1, w + 2, 34, 0, 128);
    fill(video, x - 1, y - 1, w + 2, 34, rgb, 128);
    fill(video, x - 4, y - 4, w + 8, 3, rgb, 255);
    fill(video, x - 4, y + kCell + 1, w + 8, 3, rgb, 255);
    fill(video, x - 4, y - 1, 3, kCell + 2, rgb, 255);
    fill(video, x + w + 1, y - 1, 3, kCell + 2, rgb, 255);
}

void drawStrip(platform::Video& video, GlyphStrip& strip, int count, float x, float y, float advance)
{
    for (int i = 0; i < std::min(count, strip.count); ++i)
        strip.sprites[size_t(i)].Draw(video, x + advance * float(i), y, float(kCell), float(kCell));
}

void drawAtlasSprite(CDirectX& dx, SpriteId id, float x, float y, float w, float h)
{
    TypingMode& t = dx.typing;
    if (!t.typeTexture.hasContent || !dx.display.directDraw())
        return;
    t.sprite(id).Draw(*dx.display.directDraw(), x, y, w, h);
}

void drawDigit(CDirectX& dx, int digit, float x, float y, uint32_t tint = 0xFFFFFF)
{
    CSprite& s = dx.typing.sprite(SpriteId(int(SpriteId::TypeDigit0) + digit));
    s.SetColour(tint);
    drawAtlasSprite(dx, SpriteId(int(SpriteId::TypeDigit0) + digit), x, y, 32, 32);
    s.SetColour(0xFFFFFF);
}

} // namespace

void prepareTypingPictures(CDirectX& dx)
{
    TypingMode& t = dx.typing;
    platform::Video* video = dx.display.directDraw() ? dx.display.directDraw() : dx.sys.video;
    if (!t.resourcesReady) {
        if (dx.sys.fonts)
            t.font = createGameTextFont(*dx.sys.fonts);
        createStrip(t.display, video);
        createStrip(t.romaji, video);
        createStrip(t.message, video);
        const uint16_t colours[2] = {kTypedColour, kGuideColour};
        t.asciiGlyphs.assign(size_t(2 * kAsciiCount * kCellPixels), 0);
        for (int c = 0; c < 2; ++c)
            for (int ch = 0; ch < kAsciiCount; ++ch) {
                uint16_t(&cell)[kCellPixels] =
                    *reinterpret_cast<uint16_t(*)[kCellPixels]>(&t.asciiGlyphs[size_t((c * kAsciiCount + ch) * kCellPixels)]);
                if (ch + kAsciiFirst == ' ')
                    std::fill(std::begin(cell), std::end(cell), colours[c]);
                else
                    glyphcell::rasterise(t.font.get(), &dx.fontSheet, uint32_t(ch + kAsciiFirst), colours[c], cell);
            }
        t.resourcesReady = true;
    }
    t.typeTexture.hasContent = false;
    loadAtlasTexture(t.typeTexture, video, dx.archive, "SYSTEM\\typetex.png");
    for (size_t i = 0; i < t.sprites.size(); ++i)
        cutAtlasSprite(t.sprites[i], t.typeTexture, SpriteId(size_t(SpriteId::TypeDigit0) + i));
    t.sprite(SpriteId::TypeGauge).SetBlend(SpriteBlend::Add);
}

void renderDisplayText(CDirectX& dx)
{
    renderText(dx, dx.typing.display, dx.typing.line.DisplayText.view(), 0xFFF);
}

void renderMessage(CDirectX& dx)
{
    renderText(dx, dx.typing.message, dx.typing.MessageText.view(), dx.typing.messageColour);
}

void RenderRomajiLine(TypingMode& t)
{
    if (t.asciiGlyphs.empty())
        return;
    static const uint16_t blank[kCellPixels] = {};
    const TypingText* parts[2] = {&t.line.TypedHistory, &t.line.GuideText};
    int n = 0;
    for (int p = 0; p < 2; ++p)
        for (size_t i = 0; i < parts[p]->size() && n < GlyphStrip::kCells; ++i, ++n) {
            const int ch = uint8_t((*parts[p])[i]) - kAsciiFirst;
            const uint16_t* cell = ch >= 0 && ch < kAsciiCount
                                       ? &t.asciiGlyphs[size_t((p * kAsciiCount + ch) * kCellPixels)]
                                       : blank;
            putCell(t.romaji, n, cell);
        }
    t.romaji.count = n;
}

void drawTypingLine(CDirectX& dx)
{
    platform::Video* video = device(dx);
    if (!video)
        return;
    TypingMode& t = dx.typing;
    TypingLine& line = t.line;

    // The time bar runs from red on the left to yellow-red on the right as time goes.
    const int32_t timeLeft = std::max(line.TimeLeft, 0);
    const float length = float(timeLeft) * 0.0368f;
    if (length > 0) {
        CSprite bar;
        bar.SetNoTexture();
        bar.SetAlpha(192);
        const int green = std::clamp(255 - (30000 - timeLeft) * 255 / 30000, 0, 255);
        bar.colour = {0xFF0000, 0xFF0000u | uint32_t(green) << 8, 0xFF0000, 0xFF0000u | uint32_t(green) << 8};
        bar.Draw(*video, 31.5f, 37.5f, length, 10.0f);
    }

    const float textWidth = float(line.DisplayLength * kCell);
    const float textX = 400.0f - textWidth / 2;
    frameBox(*video, textX, 280, textWidth, kLineBoxColour);
    drawStrip(*video, t.display, line.DisplayLength, textX, 280, float(kCell));

    const float romajiWidth = float(t.romaji.count * 16);
    const float romajiX = 400.0f - romajiWidth / 2;
    frameBox(*video, romajiX, 330, romajiWidth, kRomajiBoxColour);
    drawStrip(*video, t.romaji, t.romaji.count, romajiX, 330, 16.0f);
}

void drawTypingHud(CDirectX& dx)
{
    platform::Video* video = device(dx);
    if (!video)
        return;
    TypingMode& t = dx.typing;
    for (int i = 0; i < 8; ++i)
        fill(*video, 0, float(516 + i), 800, 1, 0, 16 * i);
    fill(*video, 0, 524, 800, 76, 0, 128);

    drawAtlasSprite(dx, SpriteId::TypeLabelLife, 30, 570, 64, 32);
    drawAtlasSprite(dx, SpriteId::TypeLabelStreak, 300, 570, 64, 32);
    drawAtlasSprite(dx, SpriteId::TypeLabelCombo, 372, 572, 64, 32);
    drawAtlasSprite(dx, SpriteId::TypeLabelAccuracy, 500, 570, 128, 32);
    drawAtlasSprite(dx, SpriteId::TypeLabelScore, 672, 570, 128, 32);
    for (int i = 0; i < std::min(t.Lives, kTypingLives); ++i)
        drawAtlasSprite(dx, SpriteId::TypeLife, float(96 + 28 * i), 570, 32, 32);

    const int streak = std::clamp(t.line.ClearStreak, 0, 99);
    drawDigit(dx, streak / 10, 424, 571);
    drawDigit(dx, streak % 10, 442, 571);

    const float accuracy = float(std::clamp(t.Accuracy, 0, 100));
    const float side = 24.0f + accuracy * 0.24f;
    drawAtlasSprite(dx, SpriteId::TypeGauge, 596.0f - accuracy * 0.12f, 574.0f - accuracy * 0.24f, side, side);

    // Seven digits; a larger score shows 9999999.
    char digits[16];
    std::snprintf(digits, sizeof digits, "%07d", std::clamp(t.line.Score, 0, 9999999));
    for (int k = 0; k < 7; ++k) {
        drawDigit(dx, digits[k] - '0', float(385 + 18 * k), 13, 0x000000);
        drawDigit(dx, digits[k] - '0', float(384 + 18 * k), 12);
    }

    const float messageX = 400.0f - float(t.message.count * kCell) / 2;
    drawStrip(*video, t.message, t.message.count, messageX, 528, float(kCell));
    if (t.state == TypingState::KeyWait)
        drawAtlasSprite(dx, SpriteId::TypeKeyWait, messageX + float(t.message.count * kCell), 528, 32, 32);
}

void drawClearBanner(CDirectX& dx)
{
    drawAtlasSprite(dx, SpriteId::TypeClearBanner, 240, 200, 320, 64);
}

void drawGameOverBanner(CDirectX& dx)
{
    drawAtlasSprite(dx, SpriteId::TypeGameOverBanner, 80, 236, 640, 128);
}

void drawFadeOverlay(CDirectX& dx)
{
    if (platform::Video* video = device(dx))
        fill(*video, 0, 0, 800, 600, 0, std::clamp(dx.typing.fadeAlpha, 0, 255));
}
