// The music room (screen state 14): the seven tracks, one after another, with a play clock.
#include "screens/MusicRoom.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "screens/GalleryDraw.h"
#include "screens/GalleryState.h"
#include "screens/TitleScreen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr uint32_t kPanelTint = 0x66CCAA;   // red 102, green 204, blue 170
constexpr uint32_t kButtonLit = 0xFFB060;   // orange (255, 176, 96)
constexpr uint32_t kPlayingTint = 0xCCFF99; // (204, 255, 153)
constexpr uint32_t kBackLit = 0xFF6060;     // (255, 96, 96)

struct Button {
    int32_t cursor;
    int left, right; // hit columns; the next button's starts four pixels into its picture
    int drawX;
    SpriteId sprite;
};
constexpr Button kButtons[4] = {
    {GalleryState::kMusicPrevious, 288, 320, 288, SpriteId::MusicPrevious},
    {GalleryState::kMusicStop, 352, 384, 352, SpriteId::MusicStop},
    {GalleryState::kMusicPlay, 416, 448, 416, SpriteId::MusicPlay},
    {GalleryState::kMusicNext, 484, 512, 480, SpriteId::MusicNext},
};

SpriteId digit(int d)
{
    return SpriteId(int(SpriteId::Digit0) + (d < 0 ? 0 : d > 9 ? 9 : d));
}

std::string trackPath(int index)
{
    char name[48];
    std::snprintf(name, sizeof name, "SOUND\\BGM\\sorafune_bgm%02d.ogg", index + 1);
    return platform::utf8ToSjis(platform::files::programDir()) + "\\" + name;
}

// Starts TrackIndex once from its beginning; a track that cannot be opened or played leaves
// the room stopped.
void startTrack(CDirectX& dx)
{
    GalleryState& g = dx.gallery;
    COggStream& bgm = dx.sound.bgm;
    bgm.stop();
    g.PlayMs = 0;
    g.PlaySeconds = 0;
    const std::string path = trackPath(g.TrackIndex);
    if (bgm.load(path) != 0 || !bgm.play(false)) {
        runLog().appendf(2, "music room: cannot play %s", path.c_str());
        bgm.stop();
        g.TrackPlaying = false;
        return;
    }
    runLog().appendf(1, "Music room: track %d", g.TrackIndex + 1);
    g.TrackPlaying = true;
}

void stopTrack(CDirectX& dx)
{
    dx.sound.bgm.stop();
    dx.gallery.TrackPlaying = false;
}

void press(CDirectX& dx, int32_t button)
{
    GalleryState& g = dx.gallery;
    switch (button) {
    case GalleryState::kMusicPlay:
        if (!g.TrackPlaying)
            startTrack(dx);
        break;
    case GalleryState::kMusicStop:
        if (g.TrackPlaying)
            stopTrack(dx);
        break;
    case GalleryState::kMusicNext:
        if (g.TrackPlaying && g.TrackIndex <= GalleryState::kTracks - 2) {
            ++g.TrackIndex;
            startTrack(dx);
        }
        break;
    case GalleryState::kMusicPrevious:
        if (g.TrackPlaying && g.TrackIndex >= 1) {
            --g.TrackIndex;
            startTrack(dx);
        }
        break;
    default:
        break;
    }
}

void openMusicRoom(CDirectX& dx)
{
    GalleryState& g = dx.gallery;
    g.GalleryCursor = GalleryState::kNoEntry;
    g.TrackPlaying = false;
    g.PlayMs = 0;
    g.PlaySeconds = 0;
    dx.screenState = ScreenState::MusicRoom;
}

void musicRoomUpdate(CDirectX& dx)
{
    GalleryState& g = dx.gallery;
    g.GalleryCursor = dx.frameInput.cursorInside() ? musicRoomButtonAt(dx.frameInput.mouseX(), dx.frameInput.mouseY())
                                                   : GalleryState::kNoEntry;
    const GalleryInput in = readGalleryInput(dx, g.GalleryCursor != GalleryState::kNoEntry);
    if (in.back || (in.activate && g.GalleryCursor == GalleryState::kMusicBack)) {
        stopTrack(dx);
        returnToTitleMenu(dx);
        return;
    }
    if (in.activate)
        press(dx, g.GalleryCursor);

    // A track that ended by itself hands over to the next; after the last the room stops.
    if (g.TrackPlaying && !dx.sound.bgm.isPlaying()) {
        if (g.TrackIndex < GalleryState::kTracks - 1) {
            ++g.TrackIndex;
            startTrack(dx);
        } else {
            stopTrack(dx);
            g.TrackIndex = 0;
        }
    }

    if (g.TrackPlaying) {
        g.PlayMs += dx.frameDelta;
        if (g.PlayMs > 1000) {
            g.PlaySeconds += g.PlayMs / 1000;
            g.PlayMs %= 1000;
        }
    }
}

void musicRoomDraw(CDirectX& dx)
{
    GalleryState& g = dx.gallery;
    drawGalleryFrame(dx, SpriteId::HeadingMusic);
    drawGalleryBox(dx, 286, 250, 228, 100, 0xFFFFFF);
    drawGalleryBox(dx, 288, 252, 224, 96, kPanelTint);

    g.PlayPulse = (g.PlayPulse + std::max(dx.frameDelta, 0)) % 3600;
    for (const Button& b : kButtons) {
        uint32_t tint = g.GalleryCursor == b.cursor ? kButtonLit : 0xFFFFFF;
        int alpha = 255;
        if (b.cursor == GalleryState::kMusicPlay && g.TrackPlaying) {
            tint = kPlayingTint;
            alpha = std::min(255, int(std::lround(192.0f + 64.0f * dx.sinTable[size_t(g.PlayPulse)])));
        }
        drawGallerySprite(dx, b.sprite, b.drawX, GalleryLayout::kButtonTop, tint, alpha);
    }

    drawGallerySprite(dx, SpriteId::MusicTrackLabel, 288, 252);
    drawGallerySprite(dx, digit(g.TrackIndex + 1), 368, 252);
    drawGallerySprite(dx, SpriteId::MusicTimeLabel, 288, 284);
    const PlayClock c = playClock(g.PlaySeconds);
    // Minutes a whole digit apart, as the seconds are.
    drawGallerySprite(dx, digit(c.minutes / 10), 360, 284);
    drawGallerySprite(dx, digit(c.minutes % 10), 376, 284);
    drawGallerySprite(dx, SpriteId::DigitColon, 392, 284);
    drawGallerySprite(dx, digit(c.seconds / 10), 416, 284);
    drawGallerySprite(dx, digit(c.seconds % 10), 432, 284);

    drawGalleryBack(dx, g.GalleryCursor == GalleryState::kMusicBack, kBackLit);
}

} // namespace

int32_t musicRoomButtonAt(int px, int py)
{
    using L = GalleryLayout;
    for (const Button& b : kButtons)
        if (pointerOver(px, py, b.left, L::kButtonTop, b.right - b.left, L::kButtonBottom - L::kButtonTop))
            return b.cursor;
    if (pointerOver(px, py, L::kBackX, L::kBackY, L::kBackW, L::kBackH))
        return GalleryState::kMusicBack;
    return GalleryState::kNoEntry;
}

void registerMusicRoom(CDirectX& dx)
{
    dx.registerScreen(ScreenState::MusicRoom, musicRoomUpdate, musicRoomDraw);
    setTitleMenuEntry(dx, TitleItem::MusicRoom, openMusicRoom);
}
