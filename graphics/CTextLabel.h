#pragma once
#include "graphics/Textures.h"
#include "graphics/CSprite.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {
class Font;
class Fonts;
class Video;
} // namespace platform
class FontSheet;

// A short caption (at most 16 Shift-JIS characters) rendered into one 256 x 256 A4R4G4B4
// texture, one character per 32 x 32 cell in a 4 x 4 block, and drawn as 16 sprites whose
// characters stand 28 pixels apart. Choice buttons and other captions use it.
class CTextLabel {
public:
    static constexpr int32_t kMaxChars = 16;
    static constexpr int32_t kAdvance = 28;

    // The font of the captions: height 24, weight 500, Shift-JIS, "ＭＳ ゴシック".
    explicit CTextLabel(platform::Fonts* fonts);
    ~CTextLabel();
    CTextLabel(const CTextLabel&) = delete;
    CTextLabel& operator=(const CTextLabel&) = delete;

    bool Init(platform::Video* directDraw, platform::Video* device);
    // 0 when the text (16 characters or fewer) is taken; -1 for a longer one, which leaves
    // the label blank until the next text.
    int SetText(std::string_view sjis);
    // An A4R4G4B4 colour; its alpha bits are ignored. Takes effect at the next Render.
    void SetBaseColor(uint16_t colour) { baseColor = uint16_t(colour & 0x0FFF); }
    void SetAlpha(int a) { drawAlpha = a; }
    void SetTint(uint32_t rgb) { drawTint = rgb & 0xFFFFFF; }
    void SetPosition(float px, float py)
    {
        x = px;
        y = py;
    }
    // Draws the text's characters into the texture's cells.
    int Render();
    // Draws one sprite per character at (x + 28 i, y).
    void Draw();
    int32_t Width() const { return count > 0 ? count * kAdvance : 0; }
    // After a device reset: the texture comes back from its shadow.
    void Restore(platform::Video* directDraw, platform::Video* device);
    // The engine's font sheet for the circled numbers; null or an unloaded sheet sends them to
    // the face.
    void SetFontSheet(const FontSheet* sheet) { fontSheet = sheet; }

    float x = 0.0f, y = 0.0f;
    std::array<CSprite, kMaxChars> sprites;
    CTEXTURE_A4R4G4B4 texture;
    uint16_t cell[32 * 32] = {};
    platform::Video* directDraw = nullptr;
    platform::Video* device = nullptr;
    std::string text;
    int32_t count = 0;
    uint16_t baseColor = 0x0FFF;
    std::shared_ptr<platform::Font> font;
    const FontSheet* fontSheet = nullptr;
    int drawAlpha = 255;
    uint32_t drawTint = 0xFFFFFF;
    int32_t column = 0, row = 0;
};
