#pragma once
// A game folder for the CG gallery, the album and the music room: solid-colour thumbnails, a
// CG picture, replay scripts, the unlock record and short music tracks.
#include "ScreensFixture.h"

#include "screens/GalleryState.h"
#include "screens/TitleScreen.h"

#include <set>

class GalleryTest : public ScreensTest {
public:
    // Thumbnail t is filled with this colour, so a look at the screen tells which one shows.
    static uint32_t thumbColour(int t) { return uint32_t(40 + 10 * t) << 16 | uint32_t(200 - 5 * t) << 8 | 90; }

    struct Content {
        std::set<int> thumbs = all(19);        // thumbnails in the archive
        std::set<int> cgScripts = all(18, 1);  // "CG_SCP\\k.scp" in the archive
        std::set<int> albumScripts = all(6, 1);
        std::vector<uint8_t> unlocks{};        // "data.dat"; none written when empty
        std::set<int> tracks = all(7, 1);      // "SOUND\\BGM\\sorafune_bgm%02d.ogg"
        double trackSeconds = 0.3;
        std::string replayBody = "@bg_load 00-01.png\r\n@bg_change 100\r\n@wait 300\r\n";
    };

    static std::set<int> all(int n, int first = 0)
    {
        std::set<int> s;
        for (int i = first; i < first + n; ++i)
            s.insert(i);
        return s;
    }
    static std::vector<uint8_t> solidPng(int w, int h, uint32_t colour)
    {
        std::vector<uint8_t> rgb(size_t(w) * size_t(h) * 3);
        for (size_t i = 0; i < rgb.size(); i += 3) {
            rgb[i] = uint8_t(colour >> 16);
            rgb[i + 1] = uint8_t(colour >> 8);
            rgb[i + 2] = uint8_t(colour);
        }
        return demo::encodePngRgb(w, h, rgb);
    }
    static std::vector<uint8_t> bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }
    // The record with these CG flags (0..17) and memory flags (0..15) set.
    static std::vector<uint8_t> record(std::initializer_list<int> cgs, std::initializer_list<int> memories = {})
    {
        std::vector<uint8_t> r(48, 0);
        for (int k : cgs)
            r[size_t(k)] = 1;
        for (int m : memories)
            r[32 + size_t(m)] = 1;
        return r;
    }

    void startGallery(const Content& c)
    {
        ScreensGame g;
        g.galleryAtlas = true;
        for (int t : c.thumbs)
            g.entries.push_back({"SYSTEM\\thumb\\" + std::to_string(t) + ".png", solidPng(128, 96, thumbColour(t))});
        g.entries.push_back({"BG\\00-01.png", solidPng(800, 600, kCgColour)});
        for (int k : c.cgScripts)
            g.entries.push_back({"SCP\\CG_SCP\\" + std::to_string(k) + ".scp", bytes(c.replayBody + "#cg_quit\r\n")});
        for (int k : c.albumScripts)
            g.entries.push_back(
                {"SCP\\CG_SCP\\album" + std::to_string(k) + ".scp", bytes(c.replayBody + "#album_quit\r\n")});
        if (!c.unlocks.empty())
            testsupport::writeAll(dir.file("data.dat"), c.unlocks);
        std::filesystem::create_directories(dir.path() / "SOUND" / "BGM");
        for (int t : c.tracks) {
            char name[40];
            std::snprintf(name, sizeof name, "sorafune_bgm%02d.ogg", t);
            ASSERT_TRUE(soundtest::writeOgg((dir.path() / "SOUND" / "BGM" / name).string(),
                                            soundtest::sine(size_t(c.trackSeconds * 22050), 1), 1, 22050));
        }
        start(g);
        frame();
    }

    // Picks the title item with the pointer and Enter, as a player does.
    void openFromTitle(TitleItem item)
    {
        pointer(400, TitleLayout::kBandTop + TitleLayout::kPitch * int(item) + 10);
        frame();
        tap(DIK_RETURN);
        frame(); // the title picks in its draw phase: the screen shows from the next frame
        frame();
    }
    // A left click at (x, y): the frame that sees the press, then the one that sees the release.
    void clickAt(int x, int y)
    {
        click(x, y);
        frame();
        frame();
    }
    // Frames until the screen leaves state, at most n; the frames run.
    int runWhile(ScreenState state, int n)
    {
        int i = 0;
        while (dx->screenState == state && i < n && frame())
            ++i;
        return i;
    }
    bool cancelSoundPlayed() const { return dx->sound.systemSounds[1].isPlaying(); }

    static constexpr uint32_t kCgColour = 0x30A050;
};
