#include "text/TextDraw.h"

#include "app/CDirectX.h"
#include "graphics/InterfaceSprites.h"
#include "platform/Video.h"
#include "text/TextScreen.h"

#include <algorithm>

namespace {

// The background tile of row r, column c of the window, as the interface atlas places it.
void backgroundTexel(int r, int c, int& picture, int& x, int& y)
{
    const WindowTileCell cell = windowTileCell(r * 25 + c);
    picture = cell.atlas == SpriteAtlas::TextboxBg1 ? 0 : 1;
    x = cell.x;
    y = cell.y;
}

// The blend the last draw left in force, for the effect tiles that keep it.
SpriteBlend blendInForce(platform::Video& video)
{
    const platform::RenderStates& st = video.renderStates();
    if (st.srcBlend == platform::BlendFactor::Zero)
        return SpriteBlend::Darken;
    if (st.dstBlend == platform::BlendFactor::One)
        return SpriteBlend::Add;
    return SpriteBlend::Normal;
}

void setEffectTileTexture(MessageWindow& w, CSprite& s, int r, int c)
{
    int pic = 0, x = 0, y = 0;
    backgroundTexel(r / 2, c / 2, pic, x, y);
    if (w.windowPictureLoaded[pic])
        s.Set(w.windowPictures[pic], float(x + 16 * (c % 2)), float(y + 16 * (r % 2)), 16, 16);
    else
        s.SetNoTexture();
}

void drawEffect(MessageWindow& w, platform::Video& video, int32_t a)
{
    WindowEffect& e = w.effect;
    const int windowA = (w.windowAlpha / 3) * 2;
    const bool hide = e.effectMode == WindowEffectMode::HideFx1 || e.effectMode == WindowEffectMode::HideFx2;
    const bool fx1 = e.effectMode == WindowEffectMode::HideFx1 || e.effectMode == WindowEffectMode::ShowFx1;
    int drawn = 0, finished = 0;
    for (int r = 0; r < WindowEffect::kRows; ++r) {
        for (int c = 0; c < WindowEffect::kColumns; ++c) {
            const size_t t = size_t(r * WindowEffect::kColumns + c);
            CSprite& s = e.sprites[t];
            setEffectTileTexture(w, s, r, c);
            s.SetColour(0xFFFFFF);
            const float x = float(16 * c), y = float(MessageWindow::kWindowY + 16 * r);
            auto whole = [&] {
                s.SetAlpha(windowA);
                s.SetBlend(SpriteBlend::Normal);
                s.Draw(video, x, y, 16, 16);
            };
            auto transformed = [&](int32_t v) {
                s.SetCornerAlpha(0, 127 - (255 - v) / 2);
                s.SetCornerAlpha(1, 127 - (255 - v) / 2);
                s.SetCornerAlpha(2, windowA);
                s.SetCornerAlpha(3, windowA);
                s.SetBlend(blendInForce(video));
                const float d = float(v - 255) * 0.0625f;
                if (fx1)
                    s.Draw(video, x - d * 0.5f, y + 2 * d, 16 + d, 16 - 4 * d);
                else
                    s.Draw(video, x - 2 * d, y - d, 16 + 2 * d, 16 + 2 * d);
            };
            if (hide) {
                if (e.delay[t] >= 0) {
                    whole();
                    e.delay[t] -= a;
                    ++drawn;
                } else if (e.value[t] > 0) {
                    transformed(e.value[t]);
                    e.value[t] -= 2 * a;
                    ++drawn;
                }
            } else {
                if (e.delay[t] >= 0) {
                    e.delay[t] -= a;
                } else if (e.value[t] > 254) {
                    whole();
                    ++finished;
                } else {
                    transformed(e.value[t]);
                    e.value[t] += 2 * a;
                }
            }
        }
    }
    if (hide ? drawn == 0 : finished == WindowEffect::kTiles)
        e.effectRunning = false;
}

} // namespace

int outlineAlpha(int windowAlpha)
{
    return std::clamp((windowAlpha * 6 - 1530) / 10 + 153, 0, 255);
}

int nameGlyphX(int nameChars, int i)
{
    return (7 - nameChars) * 24 / 2 + 28 * i + 16;
}

void drawMessageWindow(CDirectX& dx)
{
    if (!dx.display.directDraw())
        return;
    platform::Video& video = *dx.display.directDraw();
    MessageWindow& w = dx.messageWindow;
    const int32_t a = dx.frameDelta;

    if (w.effect.effectRunning) {
        drawEffect(w, video, a);
        return;
    }
    if (w.windowHidden && w.windowAlpha <= 0)
        return;

    const int windowA = (w.windowAlpha / 3) * 2;
    CSprite s;

    // Background.
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 25; ++c) {
            int pic = 0, x = 0, y = 0;
            backgroundTexel(r, c, pic, x, y);
            if (!w.windowPictureLoaded[pic])
                continue;
            s.Set(w.windowPictures[pic], float(x), float(y), 32, 32);
            s.SetColour(0xFFFFFF);
            s.SetAlpha(windowA);
            s.SetBlend(SpriteBlend::Normal);
            s.Draw(video, float(32 * c), float(MessageWindow::kWindowY + 32 * r), 32, 32);
        }
    }

    // Text: with the outline the glyph itself is always opaque.
    for (int i = 0; i < w.cellsUsed; ++i) {
        const MessageWindow::Cell& cell = w.cells[size_t(i)];
        int tex = 0, tx = 0, ty = 0;
        MessageWindow::cellTexel(i, tex, tx, ty);
        s.Set(w.glyphTextures[size_t(tex)], float(tx), float(ty), 32, 32);
        const int x = 24 * cell.column;
        const int y = 32 * cell.line - (cell.sheetGlyph ? 8 : 0);
        s.SetColour(0xFFFFFF);
        s.SetAlpha(w.windowAlpha);
        if (w.decoration == 1) {
            s.SetBlend(SpriteBlend::Darken);
            s.Draw(video, float(x + 30), float(y + 458), 32, 32);
        } else if (w.decoration == 2) {
            s.SetAlpha(outlineAlpha(w.windowAlpha));
            s.SetBlend(SpriteBlend::Darken);
            s.Draw(video, float(x + 27), float(y + 455), 32, 32);
            s.Draw(video, float(x + 29), float(y + 455), 32, 32);
            s.Draw(video, float(x + 27), float(y + 457), 32, 32);
            s.Draw(video, float(x + 29), float(y + 457), 32, 32);
            s.SetAlpha(255);
        }
        s.SetBlend(SpriteBlend::Normal);
        s.Draw(video, float(x + 28), float(y + 456), 32, 32);
    }

    // Name plate.
    if (w.nameWindowVisible) {
        if (w.windowPictureLoaded[1]) {
            s.Set(w.windowPictures[1], float(kNamePlate.x), float(kNamePlate.y), 224, 48);
            s.SetColour(0xFFFFFF);
            s.SetAlpha(windowA);
            s.SetBlend(SpriteBlend::Normal);
            s.Draw(video, 0, 396, 224, 48);
        }
        for (int i = 0; i < w.nameChars; ++i) {
            s.Set(w.glyphTextures[1], float(32 * i), float(MessageWindow::kNameRow), 32, 32);
            const int x = nameGlyphX(w.nameChars, i);
            s.SetColour(0xFFFFFF);
            s.SetAlpha(w.windowAlpha);
            if (w.decoration == 1) {
                s.SetBlend(SpriteBlend::Darken);
                s.Draw(video, float(x + 2), 405, 32, 32);
            } else if (w.decoration == 2) {
                s.SetAlpha(outlineAlpha(w.windowAlpha));
                s.SetBlend(SpriteBlend::Darken);
                s.Draw(video, float(x - 1), 402, 32, 32);
                s.Draw(video, float(x + 1), 402, 32, 32);
                s.Draw(video, float(x - 1), 404, 32, 32);
                s.Draw(video, float(x + 1), 404, 32, 32);
                s.SetAlpha(w.windowAlpha);
            }
            s.SetBlend(SpriteBlend::Normal);
            s.Draw(video, float(x), 403, 32, 32);
        }
    }

    // Click-wait mark: 14 frames at about 30 a second.
    if (w.clickMarkVisible) {
        w.markTimer -= a;
        if (w.markTimer < 1) {
            w.markTimer = 33;
            w.markFrame = (w.markFrame + 1) % 14;
        }
        if (w.markLoaded) {
            const InterfaceSprite& f = interfaceSprite(SpriteId(int(SpriteId::WaitMark0) + w.markFrame));
            s.Set(w.markPicture, float(f.x), float(f.y), 32, 32);
            s.SetColour(0xFFFFFF);
            s.SetAlpha(w.windowAlpha);
            s.SetBlend(SpriteBlend::Normal);
            s.Draw(video, float(w.markX), float(w.markY), 32, 32);
        }
    }
}
