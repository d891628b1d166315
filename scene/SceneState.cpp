#include "scene/SceneState.h"

#include "core/ScreenSize.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kSide = kBlockSide;

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

void SceneState::resetLayers()
{
    for (int g = 0; g < 3; ++g)
        resetCharacterGroup(g);
    cutinVisible = false;
    cutinShown = 0;
    cutinSlide = CutinSlide{};
    crossFade = CrossFade{};
    scroll = BackgroundScroll{};
    shakeX = 0;
    shakeY = 0;
    presentationBusy = false;
    whiteOverlay.SetAlpha(0);
    blackOverlay.SetAlpha(0);
    bg.current = 0;
    setTileAlpha(255);
}

int SceneState::loadBackgroundBlocks(int channel, std::string_view entry, const CPackArchive& archive)
{
    if (channel == 1)
        return loadBlocks(bg.surfaces, backgroundCuts(), entry, archive, bg.source[1]);
    const int r = loadBlocks(bg.textures, backgroundCuts(), entry, archive, bg.source[0]);
    for (int row = 0; row < kTileRows; ++row)
        for (int c = 0; c < kTileColumns; ++c)
            bg.tiles[size_t(row * kTileColumns + c)].Set(bg.textures[size_t((row / 8) * 4 + c / 8)], float((c % 8) * 32),
                                                         float((row % 8) * 32), 32, 32);
    return r;
}

int SceneState::loadOptionBackgroundBlocks(std::string_view entry, const CPackArchive& archive)
{
    return loadBlocks(optionBg.surfaces, backgroundCuts(), entry, archive, optionBg.source);
}

int SceneState::loadCharacterBlocks(int group, int channel, std::string_view entry, const CPackArchive& archive)
{
    if (group < 0 || group > 2 || channel < 0 || channel > 1)
        return -1;
    CharacterGroup& g = groups[size_t(group)];
    return loadBlocks(g.textures[size_t(channel)], characterCuts(), entry, archive, g.source[size_t(channel)]);
}

void SceneState::fillBackgroundChannels(uint32_t argb)
{
    fillBlocks(bg.textures, backgroundCuts(), kScreenWidth, kScreenHeight, argb, bg.source[0]);
    fillBlocks(bg.surfaces, backgroundCuts(), kScreenWidth, kScreenHeight, argb, bg.source[1]);
}

void SceneState::fillDefaultOptionBackground()
{
    // A plain dark slate: the options screen stays readable over it.
    fillBlocks(optionBg.surfaces, backgroundCuts(), kScreenWidth, kScreenHeight, 0xFF202830u, optionBg.source);
}
