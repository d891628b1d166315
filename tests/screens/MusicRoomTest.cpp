// The music room played like a player: previous, stop, play and next by clicks, the tracks
// handing over when one ends by itself, the play clock.
#include "GalleryFixture.h"

#include "../ReferencePicture.h"

namespace {
// Centres of the buttons' hit areas.
constexpr int kPrevious = 300, kStop = 364, kPlay = 428, kNext = 494, kButtonY = 330;
} // namespace

class MusicRoomTest : public GalleryTest {
public:
    void openRoom(const Content& c = {})
    {
        startGallery(c);
        openFromTitle(TitleItem::MusicRoom);
        ASSERT_EQ(dx->screenState, ScreenState::MusicRoom);
    }
    // The file the music stream plays, "" when it plays nothing.
    std::string playing() const
    {
        const COggStream& bgm = dx->sound.bgm;
        if (!bgm.isPlaying())
            return "";
        const std::string& p = bgm.path();
        return p.substr(p.size() - std::min<size_t>(p.size(), 18));
    }
    int streamsPlaying() const
    {
        int n = dx->sound.bgm.isPlaying() ? 1 : 0;
        for (const auto& s : dx->sound.se)
            n += s.isPlaying();
        for (const auto& v : dx->sound.voice)
            n += v.isPlaying();
        return n;
    }
    // Pulls the sound card until the music ends by itself (at most five seconds of sound).
    void playToTheEnd()
    {
        for (int i = 0; i < 500 && dx->sound.bgm.isPlaying(); ++i)
            backend.audio.pull(441);
        ASSERT_FALSE(dx->sound.bgm.isPlaying());
    }
};

TEST_F(MusicRoomTest, NextWhileStoppedDoesNothingAndPlayAfterStopRestartsTheSameTrack)
{
    openRoom();
    const GalleryState& g = dx->gallery;
    clickAt(kNext, kButtonY);
    clickAt(kPrevious, kButtonY);
    EXPECT_EQ(g.TrackIndex, 0);
    EXPECT_FALSE(g.TrackPlaying);
    EXPECT_EQ(playing(), "");

    struct Step {
        int button;
        const char* track; // "" none
        int index;
    };
    const Step steps[] = {
        {kPlay, "sorafune_bgm01.ogg", 0}, {kNext, "sorafune_bgm02.ogg", 1}, {kNext, "sorafune_bgm03.ogg", 2},
        {kPrevious, "sorafune_bgm02.ogg", 1}, {kStop, "", 1}, {kNext, "", 1},
        {kPlay, "sorafune_bgm02.ogg", 1}, {kPrevious, "sorafune_bgm01.ogg", 0}, {kPrevious, "sorafune_bgm01.ogg", 0},
    };
    for (const Step& s : steps) {
        clickAt(s.button, kButtonY);
        EXPECT_EQ(playing(), s.track) << s.button;
        EXPECT_EQ(g.TrackIndex, s.index) << s.button;
        EXPECT_EQ(g.TrackPlaying, *s.track != '\0') << s.button;
    }
    // Started again from the start: the clock counts from zero.
    EXPECT_LE(g.PlaySeconds, 0);
}

TEST_F(MusicRoomTest, ManyPressesInOneFrameLeaveExactlyOneStream)
{
    openRoom();
    clickAt(kPlay, kButtonY);
    const size_t buffers = backend.audio.mixer().liveBuffers();
    // Click, Space, Enter and keypad Enter in the same frame count once, frame after frame.
    auto pressAll = [&](int button) {
        pointer(button, kButtonY);
        for (uint8_t k : {DIK_SPACE, DIK_RETURN, DIK_NUMPADENTER})
            backend.input.keyDown(k);
        backend.input.buttonDown(0);
        frame();
        for (uint8_t k : {DIK_SPACE, DIK_RETURN, DIK_NUMPADENTER})
            backend.input.keyUp(k);
        backend.input.buttonUp(0);
    };
    for (int i = 0; i < 10; ++i) {
        pressAll(kNext);
        EXPECT_EQ(dx->gallery.TrackIndex, std::min(i + 1, 6)) << i;
        frame();
        EXPECT_EQ(streamsPlaying(), 1) << i;
    }
    EXPECT_EQ(playing(), "sorafune_bgm07.ogg");
    EXPECT_EQ(backend.audio.mixer().liveBuffers(), buffers);
    for (int i = 0; i < 10; ++i) {
        pressAll(kPlay);
        frame();
    }
    EXPECT_EQ(playing(), "sorafune_bgm07.ogg");
    EXPECT_EQ(backend.audio.mixer().liveBuffers(), buffers);
}

TEST_F(MusicRoomTest, ATrackThatEndsHandsOverToTheNextAndTheSeventhStopsTheRoom)
{
    openRoom();
    const GalleryState& g = dx->gallery;
    clickAt(kPlay, kButtonY);
    playToTheEnd();
    frame();
    EXPECT_EQ(playing(), "sorafune_bgm02.ogg");
    EXPECT_EQ(g.TrackIndex, 1);

    for (int i = 0; i < 5; ++i)
        clickAt(kNext, kButtonY);
    ASSERT_EQ(playing(), "sorafune_bgm07.ogg");
    playToTheEnd();
    frames(2);
    EXPECT_FALSE(g.TrackPlaying);
    EXPECT_EQ(g.TrackIndex, 0);
    EXPECT_EQ(playing(), "");
    clickAt(kPlay, kButtonY);
    EXPECT_EQ(playing(), "sorafune_bgm01.ogg");
}

TEST_F(MusicRoomTest, ThePlayClockReadsOneMinuteFiveAfterSixtyFiveSeconds)
{
    // A long track: the pulled sound never reaches its end here.
    openRoom({.trackSeconds = 3.0});
    pointer(600, 450);
    clickAt(kPlay, kButtonY);
    pointer(600, 450);
    frame();
    // Half-second frames: 130 make 65 s to the millisecond, which the clock passes with the next.
    const int32_t start = dx->gallery.PlaySeconds * 1000 + dx->gallery.PlayMs;
    int n = 0;
    while (dx->gallery.PlaySeconds * 1000 + dx->gallery.PlayMs - start < 65000 && n < 200) {
        frame(500);
        ++n;
    }
    frame(500);
    EXPECT_EQ(dx->gallery.PlaySeconds, 65);
    EXPECT_EQ(playClock(dx->gallery.PlaySeconds).minutes, 1);
    EXPECT_EQ(playClock(dx->gallery.PlaySeconds).seconds, 5);
    EXPECT_TRUE(testsupport::matchesReference("screens/references/music-room.png",
                                              testsupport::surfaceRgb(*backend.video.backBuffer())));
}

TEST(PlayClock, MinutesAreTwoDigitsUpToNinetyNine)
{
    struct Case {
        int32_t seconds;
        int minutes, secs;
    };
    for (const Case& c : {Case{0, 0, 0}, Case{59, 0, 59}, Case{65, 1, 5}, Case{600, 10, 0}, Case{5999, 99, 59},
                          Case{6000, 99, 0}, Case{-3, 0, 0}}) {
        EXPECT_EQ(playClock(c.seconds).minutes, c.minutes) << c.seconds;
        EXPECT_EQ(playClock(c.seconds).seconds, c.secs) << c.seconds;
    }
}

TEST_F(MusicRoomTest, AMissingTrackIsLoggedAndLeavesTheRoomStopped)
{
    openRoom({.tracks = {1, 2, 4}});
    const GalleryState& g = dx->gallery;
    clickAt(kPlay, kButtonY);
    clickAt(kNext, kButtonY);
    ASSERT_EQ(playing(), "sorafune_bgm02.ogg");
    clickAt(kNext, kButtonY);
    EXPECT_TRUE(logged("music room: cannot play"));
    EXPECT_FALSE(g.TrackPlaying);
    EXPECT_EQ(playing(), "");
    EXPECT_EQ(g.TrackIndex, 2);
    // Going back from there needs a playing track, as always; play tries the same one again.
    clickAt(kPlay, kButtonY);
    EXPECT_FALSE(g.TrackPlaying);
}

TEST_F(MusicRoomTest, BackStopsTheMusicAndReturnsToTheTitleMenu)
{
    openRoom();
    clickAt(kPlay, kButtonY);
    ASSERT_NE(playing(), "");
    pointer(730, 540);
    frame();
    EXPECT_EQ(dx->gallery.GalleryCursor, GalleryState::kMusicBack);
    tap(DIK_RETURN);
    frame();
    EXPECT_EQ(dx->screenState, ScreenState::Title);
    EXPECT_EQ(dx->titleScreen.TitlePhase, TitleState::Menu);
    EXPECT_EQ(playing(), "");
    EXPECT_FALSE(dx->gallery.TrackPlaying);
    EXPECT_TRUE(cancelSoundPlayed());
}

TEST_F(MusicRoomTest, ButtonsAreHitWhereTheyAre)
{
    struct Case {
        int x, y;
        int32_t cursor;
    };
    const Case cases[] = {
        {300, 330, GalleryState::kMusicPrevious}, {281, 330, GalleryState::kMusicPrevious},
        {280, 330, GalleryState::kNoEntry},       {364, 330, GalleryState::kMusicStop},
        {428, 309, GalleryState::kMusicPlay},     {428, 308, GalleryState::kNoEntry},
        {428, 347, GalleryState::kMusicPlay},     {428, 348, GalleryState::kNoEntry},
        {477, 330, GalleryState::kMusicNext},     {476, 330, GalleryState::kNoEntry},
        {720, 520, GalleryState::kMusicBack},     {336, 330, GalleryState::kNoEntry},
    };
    for (const Case& c : cases)
        EXPECT_EQ(musicRoomButtonAt(c.x, c.y), c.cursor) << c.x << "," << c.y;
}
