#pragma once
#include "graphics/Textures.h"

#include <array>
#include <cstdint>

class CDirectX;

// The state the CG gallery (screen state 12), the album (13) and the music room (14) share:
// the thumbnails, the entry under the pointer and the music room's player.
class GalleryState {
public:
    static constexpr int kThumbnails = 19; // 0 is the picture of a locked entry
    static constexpr int kCgEntries = 18;  // entries 1..18 show thumbnails 1..18
    static constexpr int kAlbumEntries = 6;
    static constexpr int kTracks = 7;
    static constexpr int kThumbW = 128, kThumbH = 96;

    // GalleryCursor values besides the entries. The galleries' entries are 1..18 (CG) and
    // 0..5 (album); the music room's buttons are -1..-4 and its back button -99.
    static constexpr int32_t kNoEntry = -100;
    static constexpr int32_t kBack = -1;
    static constexpr int32_t kMusicPrevious = -1, kMusicStop = -2, kMusicPlay = -3, kMusicNext = -4;
    static constexpr int32_t kMusicBack = -99;

    int32_t GalleryCursor = kNoEntry;

    // "SYSTEM\\thumb\\%d.png", 128 x 96 each; an entry whose picture is missing shows
    // thumbnail 0, and without that one a plain dark box.
    std::array<CSystemSurface_R8G8B8, kThumbnails> thumbnails;
    std::array<bool, kThumbnails> thumbnailLoaded{};
    bool thumbnailsTried = false;

    // Music room.
    int32_t TrackIndex = 0; // 0..6
    bool TrackPlaying = false;
    int32_t PlayMs = 0;
    int32_t PlaySeconds = 0;
    int32_t PlayPulse = 0; // phase of the play button's pulse, tenths of a degree
};

// Loads the 19 thumbnails (start-up; the galleries load them on first use when start-up did
// not). A missing or unreadable picture is logged and its entry falls back to thumbnail 0.
void loadGalleryThumbnails(CDirectX& dx);

// Registers the three screens for their states, their title-menu items and the replay ends
// "#cg_quit" and "#album_quit".
void registerGalleryScreens(CDirectX& dx);

// Where the entries and buttons sit.
struct GalleryLayout {
    static constexpr int kBackX = 720, kBackY = 520, kBackW = 32, kBackH = 64;
    static constexpr int kHeadingX = 16, kHeadingY = 16, kRuleY = 32;
    static constexpr int kPointerSquare = 8;

    // CG entry k (1..18): five columns.
    static constexpr int cgX(int k) { return 16 + 160 * ((k - 1) % 5); }
    static constexpr int cgY(int k) { return 76 + 112 * ((k - 1) / 5); }
    // Album entry i (0..5): three columns, two rows.
    static constexpr int albumX(int i) { return 160 + 160 * (i % 3); }
    static constexpr int albumY(int i) { return 132 + 112 * (i / 3); }

    // Music room: buttons are hit between y 316 and 348 (the next button from x 484).
    static constexpr int kButtonTop = 316, kButtonBottom = 348;
};

// Album entry i shows this thumbnail.
constexpr int albumThumbnail(int i)
{
    constexpr int kThumb[GalleryState::kAlbumEntries] = {2, 5, 7, 9, 12, 14};
    return i >= 0 && i < GalleryState::kAlbumEntries ? kThumb[i] : 0;
}

// True when the pointer's 8 x 8 square overlaps the rectangle.
constexpr bool pointerOver(int px, int py, int x, int y, int w, int h)
{
    return px + GalleryLayout::kPointerSquare > x && px < x + w && py + GalleryLayout::kPointerSquare > y && py < y + h;
}

// The entry or button under the pointer (GalleryCursor values), kNoEntry for none. Locked
// entries cannot be chosen, so they are never under the pointer.
int32_t cgGalleryEntryAt(const CDirectX& dx, int px, int py);
int32_t albumEntryAt(const CDirectX& dx, int px, int py);
int32_t musicRoomButtonAt(int px, int py);

// The play clock as the music room shows it: minutes (two digits, at most 99) and seconds.
struct PlayClock {
    int minutes, seconds;
};
constexpr PlayClock playClock(int32_t playSeconds)
{
    const int32_t s = playSeconds < 0 ? 0 : playSeconds;
    return PlayClock{int(s / 60 > 99 ? 99 : s / 60), int(s % 60)};
}
