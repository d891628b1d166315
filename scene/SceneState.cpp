#include "scene/SceneState.h"

#include "core/ScreenSize.h"
#include "resources/Image.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kSide = 256;

// Copies the w x h region of picture at (sx, sy) into a 256x256 block, clipped to the
// picture; everything else in the block stays clear.
void cutBlock(const CImage& picture, int sx, int sy, int w, int h, uint8_t* block, int dy = 0)
{
    if (sx >= picture.width || sy >= picture.height || picture.pixels.empty())
        return;
    w = std::min(w, picture.width - sx);
    h = std::min(h, picture.height - sy);
    for (int y = 0; y < h; ++y)
        std::memcpy(block + (size_t(y + dy) * kSide) * 4, picture.row(sy + y) + size_t(sx) * 4, size_t(w) * 4);
}

} // namespace

SceneState::SceneState()
{
    whiteOverlay.SetColour(0xFFFFFF);
    blackOverlay.SetColour(0x000000);
    whiteOverlay.SetAlpha(0);
    blackOverlay.SetAlpha(0);
}

bool SceneState::create(platform::Video* device)
{
    bool ok = true;
    for (CTEXTURE& t : bg.textures) {
        ok = t.Create(device, kSide, kSide, false) && ok;
        t.AcquireHandle(device);
    }
    for (int r = 0; r < kTileRows; ++r) {
        for (int c = 0; c < kTileColumns; ++c) {
            CSprite& s = bg.tiles[size_t(r * kTileColumns + c)];
            s.Set(bg.textures[size_t((r / 8) * 4 + c / 8)], float((c % 8) * 32), float((r % 8) * 32), 32, 32);
        }
    }
    for (CSystemSurface_R8G8B8& s : bg.surfaces)
        ok = s.Create(device, kSide, kSide, false) && ok;
    for (CSystemSurface_R8G8B8& s : optionBg.surfaces)
        ok = s.Create(device, kSide, kSide, false) && ok;
    for (CharacterGroup& g : groups) {
        for (int ch = 0; ch < 2; ++ch) {
            auto& tex = g.textures[size_t(ch)];
            for (CTEXTURE& t : tex) {
                ok = t.Create(device, kSide, kSide, false) && ok;
                t.AcquireHandle(device);
            }
            for (int i = 0; i < 4; ++i) {
                g.sprites[size_t(ch)][size_t(i)].Set(tex[size_t(i)], 0, 0, kSide, kSide);
                g.shadows[size_t(ch)][size_t(i)].Set(tex[size_t(i)], 0, 0, kSide, kSide);
            }
            for (int i = 0; i < 2; ++i) {
                g.sprites[size_t(ch)][size_t(4 + i)].Set(tex[4], 0, float(96 * i), kSide, 96);
                g.shadows[size_t(ch)][size_t(4 + i)].Set(tex[4], 0, float(96 * i), kSide, 96);
            }
            // The shadow shows none of the picture's colour: it darkens what is behind it.
            for (CSprite& s : g.shadows[size_t(ch)]) {
                s.SetColour(0);
                s.SetBlend(SpriteBlend::Darken);
            }
            setGroupAlpha(int(&g - groups.data()), ch, 255);
        }
    }
    fillDefaultOptionBackground();
    created = ok;
    return ok;
}

void SceneState::setTileAlpha(int a)
{
    for (CSprite& s : bg.tiles)
        s.SetAlpha(a);
}

void SceneState::setGroupAlpha(int group, int channel, int a)
{
    if (group < 0 || group > 2 || channel < 0 || channel > 1)
        return;
    a = std::clamp(a, 0, 255);
    CharacterGroup& g = groups[size_t(group)];
    for (CSprite& s : g.sprites[size_t(channel)])
        s.SetAlpha(a);
    for (CSprite& s : g.shadows[size_t(channel)])
        s.SetAlpha(a / 2);
}

void SceneState::resetCharacterGroup(int group)
{
    if (group < 0 || group > 2)
        return;
    CharacterGroup& g = groups[size_t(group)];
    g.visible = false;
    g.shadow = true;
    g.position = 0;
    g.turnProgress = 0.0f;
    g.turnRate = 0.0f;
    g.turnDuration = 0;
    g.turnPending = false;
    if (group == 0) {
        slide.active = false;
        change.active = false;
        fade.active = false;
        turnActive = false;
    }
}

bool SceneState::uploadBackgroundTextures(const CImage& picture)
{
    std::vector<uint8_t> block(size_t(kSide) * kSide * 4);
    bool ok = true;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            std::fill(block.begin(), block.end(), 0);
            cutBlock(picture, c * kSide, r * kSide, bgBlockWidth(c), bgBlockHeight(r), block.data());
            ok = bg.textures[size_t(r * 4 + c)].Update(block.data()) && ok;
        }
    }
    for (int r = 0; r < kTileRows; ++r)
        for (int c = 0; c < kTileColumns; ++c)
            bg.tiles[size_t(r * kTileColumns + c)].Set(bg.textures[size_t((r / 8) * 4 + c / 8)], float((c % 8) * 32),
                                                       float((r % 8) * 32), 32, 32);
    return ok;
}

bool SceneState::uploadBackgroundSurfaces(std::array<CSystemSurface_R8G8B8, kBgBlocks>& surfaces,
                                          const CImage& picture)
{
    std::vector<uint8_t> block(size_t(kSide) * kSide * 4);
    bool ok = true;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            std::fill(block.begin(), block.end(), 0);
            cutBlock(picture, c * kSide, r * kSide, bgBlockWidth(c), bgBlockHeight(r), block.data());
            ok = surfaces[size_t(r * 4 + c)].UpdateTexture(block.data()) && ok;
        }
    }
    return ok;
}

bool SceneState::uploadCharacter(int group, int channel, const CImage& picture)
{
    if (group < 0 || group > 2 || channel < 0 || channel > 1)
        return false;
    auto& tex = groups[size_t(group)].textures[size_t(channel)];
    std::vector<uint8_t> block(size_t(kSide) * kSide * 4);
    bool ok = true;
    for (int i = 0; i < 4; ++i) {
        std::fill(block.begin(), block.end(), 0);
        cutBlock(picture, (i % 2) * kSide, (i / 2) * kSide, kSide, kSide, block.data());
        ok = tex[size_t(i)].Update(block.data()) && ok;
    }
    std::fill(block.begin(), block.end(), 0);
    cutBlock(picture, 0, 512, kSide, 96, block.data(), 0);
    cutBlock(picture, kSide, 512, kSide, 96, block.data(), 96);
    ok = tex[4].Update(block.data()) && ok;
    return ok;
}

void SceneState::fillDefaultOptionBackground()
{
    // A plain dark slate: the options screen stays readable over it.
    CImage picture;
    if (!picture.Create(kScreenWidth, kScreenHeight))
        return;
    picture.Fill(0xFF202830);
    uploadBackgroundSurfaces(optionBg.surfaces, picture);
}
