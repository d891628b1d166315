// Drawing, input and the way back that the CG gallery, the album and the music room share.
#include "screens/GalleryDraw.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "graphics/AtlasTexture.h"
#include "input/KeyCodes.h"
#include "resources/Image.h"
#include "scene/SceneCommands.h"
#include "screens/GalleryState.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
// The title picture stays behind the galleries, dimmed so that the thumbnails read on it.
constexpr int kDimAlpha = 160;
constexpr uint32_t kMissingThumbnail = 0x202830;
} // namespace

void drawGallerySprite(CDirectX& dx, SpriteId id, int x, int y, uint32_t colour, int alpha)
{
    drawInterfaceSprite(dx.display.directDraw(), dx.systemAtlas[1], id, float(x), float(y), colour, alpha);
}

void drawGalleryBox(CDirectX& dx, int x, int y, int w, int h, uint32_t colour, int alpha)
{
    if (!dx.display.directDraw())
        return;
    CSprite box;
    box.SetNoTexture();
    box.SetColour(colour);
    box.SetAlpha(alpha);
    box.Draw(*dx.display.directDraw(), float(x), float(y), float(w), float(h));
}

void drawGalleryFrame(CDirectX& dx, SpriteId heading)
{
    if (!dx.display.directDraw())
        return;
    if (dx.titleScreen.backgroundLoaded && dx.scene.created)
        drawBackgroundChannel(dx, 0, 0, 0);
    drawGalleryBox(dx, 0, 0, 800, 600, 0x000000, kDimAlpha);
    using L = GalleryLayout;
    drawGallerySprite(dx, heading, L::kHeadingX, L::kHeadingY);
    drawGallerySprite(dx, SpriteId::HeadingRule, L::kHeadingX, L::kRuleY);
}

void drawGalleryBack(CDirectX& dx, bool lit, uint32_t litColour)
{
    using L = GalleryLayout;
    if (lit)
        drawGalleryBox(dx, L::kBackX, L::kBackY, L::kBackW, L::kBackH, litColour);
    drawGallerySprite(dx, SpriteId::BackButton, L::kBackX, L::kBackY);
}

void drawThumbnail(CDirectX& dx, int t, int x, int y)
{
    GalleryState& g = dx.gallery;
    platform::Surface* bb = dx.display.directDraw() ? dx.display.directDraw()->backBuffer() : nullptr;
    if (t < 0 || t >= GalleryState::kThumbnails || !g.thumbnailLoaded[size_t(t)])
        t = 0;
    if (!bb || !g.thumbnailLoaded[size_t(t)]) {
        drawGalleryBox(dx, x, y, GalleryState::kThumbW, GalleryState::kThumbH, kMissingThumbnail);
        return;
    }
    g.thumbnails[size_t(t)].Draw(bb, float(x), float(y), float(GalleryState::kThumbW), float(GalleryState::kThumbH),
                                 0, 0);
}

void loadGalleryThumbnails(CDirectX& dx)
{
    GalleryState& g = dx.gallery;
    g.thumbnailsTried = true;
    platform::Video* video = dx.display.directDraw() ? dx.display.directDraw() : dx.sys.video;
    constexpr int w = GalleryState::kThumbW, h = GalleryState::kThumbH;
    std::vector<uint8_t> pixels(size_t(w) * h * 4);
    for (int t = 0; t < GalleryState::kThumbnails; ++t) {
        char name[32];
        std::snprintf(name, sizeof name, "SYSTEM\\thumb\\%d.png", t);
        g.thumbnailLoaded[size_t(t)] = false;
        CImage picture;
        if (picture.LoadPNG(name, dx.archive) != 0) {
            runLog().appendf(2, "PNG Load failed. -> %s", name);
            continue;
        }
        // Another size is cut or padded with black at the top left, as the atlases are.
        if (picture.width != w || picture.height != h)
            runLog().appendf(2, "%s: %dx%d instead of %dx%d", name, picture.width, picture.height, w, h);
        std::fill(pixels.begin(), pixels.end(), 0);
        const int cw = std::min(w, picture.width), ch = std::min(h, picture.height);
        for (int row = 0; row < ch; ++row)
            std::copy_n(picture.pixels.data() + size_t(row) * size_t(picture.width) * 4, size_t(cw) * 4,
                        pixels.data() + size_t(row) * w * 4);
        CSystemSurface_R8G8B8& s = g.thumbnails[size_t(t)];
        if (!s.surface && !s.Create(video, w, h, false)) {
            runLog().appendf(2, "%s: no surface for the thumbnail", name);
            continue;
        }
        g.thumbnailLoaded[size_t(t)] = s.UpdateTexture(pixels.data());
    }
}

GalleryInput readGalleryInput(CDirectX& dx, bool pointerOnEntry)
{
    GalleryInput r;
    CInput& in = dx.input;
    const bool altEnter = (in.keyHeld(DIK_LMENU) || in.keyHeld(DIK_RMENU)) && in.keyHeld(DIK_RETURN);
    if (altEnter || !dx.windowActive || dx.inputIgnoreActive)
        return r;
    const bool space = in.takeKeyPress(DIK_SPACE), enter = in.takeKeyPress(DIK_RETURN),
               padEnter = in.takeKeyPress(DIK_NUMPADENTER);
    r.activate = (dx.frameInput.leftClicked() && pointerOnEntry) || space || enter || padEnter;
    const bool escape = in.takeKeyPress(DIK_ESCAPE);
    r.back = escape || dx.frameInput.rightClicked();
    return r;
}

void returnToTitleMenu(CDirectX& dx)
{
    dx.sound.playSystemSound(2);
    dx.gallery.GalleryCursor = GalleryState::kNoEntry;
    dx.screenState = ScreenState::Title;
    dx.titleScreen.TitlePhase = TitleState::Menu;
}
