#include "graphics/CTextLabel.h"

#include "core/RunLog.h"
#include "graphics/FontSheet.h"
#include "graphics/GlyphCell.h"
#include "platform/Fonts.h"
#include "platform/Text.h"

CTextLabel::CTextLabel(platform::Fonts* fonts)
{
    if (fonts) {
        font = createGameTextFont(*fonts);
    }
}

CTextLabel::~CTextLabel() = default;

bool CTextLabel::Init(platform::Video* dd, platform::Video* dev)
{
    directDraw = dd;
    device = dev;
    if (texture.Create(dd, 256, 256, false))
        texture.AcquireHandle(dev);
    // Sprite r * 4 + c shows the cell at (32c, 32r); the texel rectangle needs the texture's
    // size, known once it is created.
    for (int32_t i = 0; i < kMaxChars; ++i) {
        const int32_t c = i % 4, r = i / 4;
        sprites[size_t(i)].Set(texture, float(32 * c), float(32 * r), 32.0f, 32.0f);
    }
    baseColor = 0x0FFF;
    return true;
}

int CTextLabel::SetText(std::string_view sjis)
{
    const size_t n = platform::countSjisChars(sjis);
    if (n > size_t(kMaxChars)) {
        count = -1;
        return -1;
    }
    text.assign(sjis);
    count = int32_t(n);
    return 0;
}

int CTextLabel::Render()
{
    column = 0;
    row = 0;
    if (count <= 0)
        return 0;
    size_t at = 0;
    bool stopped = false;
    for (int32_t i = 0; i < count; ++i) {
        // A control byte ends the text; the cells after it are cleared so the sprites that
        // still draw them show nothing of an earlier text.
        stopped = stopped || at >= text.size() || uint8_t(text[at]) < 0x14;
        size_t len = 1;
        const uint32_t code = stopped ? ' ' : glyphcell::codeAt(text, at, len);
        at += len;
        if (code == ' ') {
            // A space shows nothing; its cell is cleared so no glyph of an earlier text
            // shows through.
            std::fill(std::begin(cell), std::end(cell), baseColor);
        } else {
            glyphcell::rasterise(font.get(), fontSheet, code, baseColor, cell);
        }
        texture.UpdateRect(reinterpret_cast<const uint8_t*>(cell), 32 * column, 32 * row, 32, 32);
        if (++column > 3) {
            ++row;
            column = 0;
        }
    }
    return 0;
}

void CTextLabel::Draw()
{
    if (!device)
        return;
    for (int32_t i = 0; i < count; ++i) {
        CSprite& s = sprites[size_t(i)];
        s.SetAlpha(drawAlpha);
        s.SetColour(drawTint);
        s.Draw(*device, x + float(kAdvance * i), y, 32.0f, 32.0f);
    }
}

void CTextLabel::Restore(platform::Video* dd, platform::Video* dev)
{
    directDraw = dd;
    device = dev;
    texture.Restore(dd, dev);
    texture.AcquireHandle(dev);
}
