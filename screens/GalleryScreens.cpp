// The CG gallery (screen state 12) and the album (13): unlocked entries replay their scene.
#include "app/CDirectX.h"
#include "screens/GalleryDraw.h"
#include "screens/GalleryReplay.h"
#include "screens/GalleryState.h"
#include "screens/MusicRoom.h"
#include "screens/TitleScreen.h"
#include "script/CommandTable.h"

#include <string>

namespace {

constexpr uint32_t kBackLit = 0x66CCAA; // red 102, green 204, blue 170
constexpr int kFrame = 4;               // the white frame reaches this far around the cursor entry

bool cgUnlocked(const CDirectX& dx, int k)
{
    return dx.unlocks.cgSeen(k - 1);
}

void hover(CDirectX& dx, int32_t (*entryAt)(const CDirectX&, int, int))
{
    dx.gallery.GalleryCursor = dx.frameInput.cursorInside()
                                   ? entryAt(dx, dx.frameInput.mouseX(), dx.frameInput.mouseY())
                                   : GalleryState::kNoEntry;
}

void openCgGallery(CDirectX& dx)
{
    if (!dx.gallery.thumbnailsTried)
        loadGalleryThumbnails(dx);
    dx.gallery.GalleryCursor = GalleryState::kNoEntry;
    dx.screenState = ScreenState::CgGallery;
}

void openAlbum(CDirectX& dx)
{
    if (!dx.gallery.thumbnailsTried)
        loadGalleryThumbnails(dx);
    dx.gallery.GalleryCursor = GalleryState::kNoEntry;
    dx.screenState = ScreenState::Album;
}

void cgGalleryUpdate(CDirectX& dx)
{
    hover(dx, cgGalleryEntryAt);
    const int32_t cursor = dx.gallery.GalleryCursor;
    const GalleryInput in = readGalleryInput(dx, cursor != GalleryState::kNoEntry);
    if (in.back || (in.activate && cursor == GalleryState::kBack)) {
        returnToTitleMenu(dx);
        return;
    }
    if (in.activate && cursor >= 1 && cursor <= GalleryState::kCgEntries)
        startGalleryReplay(dx, std::to_string(cursor) + ".scp", false);
}

void albumUpdate(CDirectX& dx)
{
    hover(dx, albumEntryAt);
    const int32_t cursor = dx.gallery.GalleryCursor;
    const GalleryInput in = readGalleryInput(dx, cursor != GalleryState::kNoEntry);
    if (in.back || (in.activate && cursor == GalleryState::kBack)) {
        returnToTitleMenu(dx);
        return;
    }
    if (in.activate && cursor >= 0 && cursor < GalleryState::kAlbumEntries)
        startGalleryReplay(dx, "album" + std::to_string(cursor + 1) + ".scp", true);
}

void drawEntry(CDirectX& dx, int x, int y, bool cursor, int thumbnail)
{
    if (cursor)
        drawGalleryBox(dx, x - kFrame, y - kFrame, GalleryState::kThumbW + 2 * kFrame,
                       GalleryState::kThumbH + 2 * kFrame, 0xFFFFFF);
    drawThumbnail(dx, thumbnail, x, y);
}

void cgGalleryDraw(CDirectX& dx)
{
    using L = GalleryLayout;
    drawGalleryFrame(dx, SpriteId::HeadingCg);
    const int32_t cursor = dx.gallery.GalleryCursor;
    for (int k = 1; k <= GalleryState::kCgEntries; ++k)
        drawEntry(dx, L::cgX(k), L::cgY(k), cursor == k, cgUnlocked(dx, k) ? k : 0);
    drawGalleryBack(dx, cursor == GalleryState::kBack, kBackLit);
}

void albumDraw(CDirectX& dx)
{
    using L = GalleryLayout;
    drawGalleryFrame(dx, SpriteId::HeadingAlbum);
    const int32_t cursor = dx.gallery.GalleryCursor;
    for (int i = 0; i < GalleryState::kAlbumEntries; ++i)
        drawEntry(dx, L::albumX(i), L::albumY(i), cursor == i, dx.unlocks.memoryFlag(i) ? albumThumbnail(i) : 0);
    drawGalleryBack(dx, cursor == GalleryState::kBack, kBackLit);
}

bool overBack(int px, int py)
{
    using L = GalleryLayout;
    return pointerOver(px, py, L::kBackX, L::kBackY, L::kBackW, L::kBackH);
}

} // namespace

int32_t cgGalleryEntryAt(const CDirectX& dx, int px, int py)
{
    using L = GalleryLayout;
    for (int k = 1; k <= GalleryState::kCgEntries; ++k)
        if (cgUnlocked(dx, k) && pointerOver(px, py, L::cgX(k), L::cgY(k), GalleryState::kThumbW, GalleryState::kThumbH))
            return k;
    return overBack(px, py) ? GalleryState::kBack : GalleryState::kNoEntry;
}

int32_t albumEntryAt(const CDirectX& dx, int px, int py)
{
    using L = GalleryLayout;
    for (int i = 0; i < GalleryState::kAlbumEntries; ++i)
        if (dx.unlocks.memoryFlag(i) &&
            pointerOver(px, py, L::albumX(i), L::albumY(i), GalleryState::kThumbW, GalleryState::kThumbH))
            return i;
    return overBack(px, py) ? GalleryState::kBack : GalleryState::kNoEntry;
}

void registerGalleryScreens(CDirectX& dx)
{
    dx.registerScreen(ScreenState::CgGallery, cgGalleryUpdate, cgGalleryDraw);
    dx.registerScreen(ScreenState::Album, albumUpdate, albumDraw);
    setTitleMenuEntry(dx, TitleItem::CgGallery, openCgGallery);
    setTitleMenuEntry(dx, TitleItem::Album, openAlbum);
    registerMusicRoom(dx);
    setCommandHandler("#cg_quit", cmdCgQuit);
    setCommandHandler("#album_quit", cmdAlbumQuit);
}
