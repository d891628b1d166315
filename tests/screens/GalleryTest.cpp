// The CG gallery and the album played like a player: thumbnails of unlocked entries, the
// white frame under the pointer, replays on the game screen and the way back.
#include "GalleryFixture.h"

#include "../ReferencePicture.h"

using L = GalleryLayout;

namespace {
int cgCentreX(int k)
{
    return L::cgX(k) + 64;
}
int cgCentreY(int k)
{
    return L::cgY(k) + 48;
}
} // namespace

TEST_F(GalleryTest, WithNothingUnlockedEveryEntryShowsThumbnailZeroAndClicksDoNothing)
{
    startGallery({});
    openFromTitle(TitleItem::CgGallery);
    ASSERT_EQ(dx->screenState, ScreenState::CgGallery);
    for (int k = 1; k <= 18; ++k) {
        EXPECT_EQ(pixel(cgCentreX(k), cgCentreY(k)), thumbColour(0)) << k;
        clickAt(cgCentreX(k), cgCentreY(k));
        EXPECT_EQ(dx->screenState, ScreenState::CgGallery) << k;
        EXPECT_EQ(dx->gallery.GalleryCursor, GalleryState::kNoEntry) << k;
        // No white frame around a locked entry.
        EXPECT_EQ(whitePixels(L::cgX(k) - 4, L::cgY(k) - 4, 136, 4), 0) << k;
    }
    tap(DIK_RETURN);
    frame();
    EXPECT_EQ(dx->screenState, ScreenState::CgGallery);
    EXPECT_FALSE(logged("Load Script"));
}

TEST_F(GalleryTest, UnlockedEntriesShowTheirThumbnailAndTheHoveredOneItsWhiteFrame)
{
    startGallery({.unlocks = record({0, 4, 17})});
    openFromTitle(TitleItem::CgGallery);
    for (int k = 1; k <= 18; ++k) {
        const bool open = k == 1 || k == 5 || k == 18;
        EXPECT_EQ(pixel(cgCentreX(k), cgCentreY(k)), thumbColour(open ? k : 0)) << k;
    }
    // The pointer's 8 x 8 square counts: it touches entry 5 from 7 pixels left of it.
    pointer(L::cgX(5) - 7, L::cgY(5) + 10);
    frame();
    EXPECT_EQ(dx->gallery.GalleryCursor, 5);
    EXPECT_EQ(whitePixels(L::cgX(5) - 4, L::cgY(5) - 4, 136, 4), 136 * 4);
    EXPECT_EQ(whitePixels(L::cgX(1) - 4, L::cgY(1) - 4, 136, 4), 0);
    pointer(L::cgX(5) - 8, L::cgY(5) + 10);
    frame();
    EXPECT_EQ(dx->gallery.GalleryCursor, GalleryState::kNoEntry);
    EXPECT_TRUE(testsupport::matchesReference("screens/references/cg-gallery.png",
                                              testsupport::surfaceRgb(*backend.video.backBuffer())));
}

TEST_F(GalleryTest, AReplayPlaysOnTheGameScreenAndCgQuitComesBackToTheGallery)
{
    startGallery({.unlocks = record({0, 2})});
    openFromTitle(TitleItem::CgGallery);
    dx->messageWindow.lines[0] = "left over";
    clickAt(cgCentreX(3), cgCentreY(3));
    ASSERT_EQ(dx->screenState, ScreenState::Game);
    EXPECT_TRUE(logged("Load Script [CG_SCP\\3.scp]"));
    EXPECT_EQ(dx->messageWindow.lines[0], "");
    // The replay starts from black, not from the title picture.
    frames(3);
    EXPECT_EQ(pixel(20, 20), 0x000000u);
    frames(20);
    EXPECT_EQ(pixel(20, 20), kCgColour);

    EXPECT_LT(runWhile(ScreenState::Game, 100), 100);
    EXPECT_EQ(dx->screenState, ScreenState::CgGallery);
    EXPECT_EQ(dx->scene.bg.name[0], "title.png");
    frame();
    // The gallery again, over the dimmed title picture, entry 3 still under the pointer.
    EXPECT_EQ(dx->gallery.GalleryCursor, 3);
    EXPECT_EQ(pixel(cgCentreX(3), cgCentreY(3)), thumbColour(3));
    EXPECT_NE(pixel(700, 40), kCgColour);
    // A second replay of the same entry plays its picture again.
    clickAt(cgCentreX(3), cgCentreY(3));
    ASSERT_EQ(dx->screenState, ScreenState::Game);
    frames(23);
    EXPECT_EQ(pixel(20, 20), kCgColour);
}

TEST_F(GalleryTest, EscapeARightClickAndTheBackButtonReturnToTheTitleMenu)
{
    startGallery({.unlocks = record({0}, {0})});
    const auto backWays = std::vector<std::function<void()>>{
        [&] { tap(DIK_ESCAPE); },
        [&] { backend.input.buttonDown(1), backend.input.buttonUp(1); },
        [&] { click(L::kBackX + 10, L::kBackY + 30); },
        [&] {
            pointer(L::kBackX + 10, L::kBackY + 30);
            frame();
            tap(DIK_SPACE);
        },
    };
    for (TitleItem item : {TitleItem::CgGallery, TitleItem::Album}) {
        for (size_t way = 0; way < backWays.size(); ++way) {
            openFromTitle(item);
            ASSERT_NE(dx->screenState, ScreenState::Title);
            dx->sound.systemSounds[1].stop();
            pointer(10, 590);
            frame();
            backWays[way]();
            frame();
            EXPECT_EQ(dx->screenState, ScreenState::Title) << way;
            EXPECT_EQ(dx->titleScreen.TitlePhase, TitleState::Menu) << way;
            EXPECT_TRUE(cancelSoundPlayed()) << way;
        }
    }
}

TEST_F(GalleryTest, TheBackButtonLightsUnderThePointer)
{
    startGallery({});
    openFromTitle(TitleItem::CgGallery);
    const uint32_t unlit = pixel(L::kBackX, L::kBackY + 63);
    pointer(L::kBackX + 10, L::kBackY + 30);
    frames(2);
    EXPECT_EQ(dx->gallery.GalleryCursor, GalleryState::kBack);
    EXPECT_NE(pixel(L::kBackX, L::kBackY + 63), unlit);
}

TEST_F(GalleryTest, AlbumEntriesFollowTheMemoryFlagsAndReplayUntilAlbumQuit)
{
    startGallery({.unlocks = record({}, {0, 2})});
    openFromTitle(TitleItem::Album);
    ASSERT_EQ(dx->screenState, ScreenState::Album);
    const int thumbs[6] = {2, 5, 7, 9, 12, 14};
    for (int i = 0; i < 6; ++i) {
        const bool open = i == 0 || i == 2;
        EXPECT_EQ(pixel(L::albumX(i) + 64, L::albumY(i) + 48), thumbColour(open ? thumbs[i] : 0)) << i;
    }
    clickAt(L::albumX(1) + 64, L::albumY(1) + 48);
    EXPECT_EQ(dx->screenState, ScreenState::Album);
    clickAt(L::albumX(2) + 64, L::albumY(2) + 48);
    ASSERT_EQ(dx->screenState, ScreenState::Game);
    EXPECT_TRUE(logged("Load Script [CG_SCP\\album3.scp]"));
    EXPECT_LT(runWhile(ScreenState::Game, 100), 100);
    EXPECT_EQ(dx->screenState, ScreenState::Album);
}

TEST_F(GalleryTest, AMissingReplayScriptIsLoggedAndTheGalleryStays)
{
    startGallery({.cgScripts = {1}, .albumScripts = {}, .unlocks = record({0, 6}, {4})});
    openFromTitle(TitleItem::CgGallery);
    clickAt(cgCentreX(7), cgCentreY(7));
    EXPECT_EQ(dx->screenState, ScreenState::CgGallery);
    EXPECT_TRUE(logged("ERROR: Load fail [CG_SCP\\7.scp]"));
    tap(DIK_ESCAPE);
    frame();
    openFromTitle(TitleItem::Album);
    clickAt(L::albumX(4) + 64, L::albumY(4) + 48);
    EXPECT_EQ(dx->screenState, ScreenState::Album);
    EXPECT_TRUE(logged("ERROR: Load fail [CG_SCP\\album5.scp]"));
}

TEST_F(GalleryTest, MissingThumbnailsAreLoggedAndFallBackToThumbnailZeroThenADarkBox)
{
    startGallery({.thumbs = {0, 1, 2}, .unlocks = record({0, 9})});
    EXPECT_TRUE(logged("PNG Load failed. -> SYSTEM\\thumb\\10.png"));
    openFromTitle(TitleItem::CgGallery);
    EXPECT_EQ(pixel(cgCentreX(1), cgCentreY(1)), thumbColour(1));
    EXPECT_EQ(pixel(cgCentreX(10), cgCentreY(10)), thumbColour(0));
    // Still unlocked: the replay plays.
    clickAt(cgCentreX(10), cgCentreY(10));
    EXPECT_EQ(dx->screenState, ScreenState::Game);
}

TEST_F(GalleryTest, WithoutAnyThumbnailEntriesAreDarkBoxes)
{
    startGallery({.thumbs = {}, .unlocks = record({0})});
    openFromTitle(TitleItem::CgGallery);
    EXPECT_EQ(pixel(cgCentreX(1), cgCentreY(1)), 0x202830u);
    EXPECT_EQ(pixel(cgCentreX(2), cgCentreY(2)), 0x202830u);
}

struct RecordCase {
    size_t size;
    uint8_t fill;
};
class GalleryRecordTest : public GalleryTest, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(GalleryRecordTest, AnUnlockRecordOfAnyLengthOrContentOpensOnlyWhatItHolds)
{
    const RecordCase c = GetParam();
    // Every third byte set: CG entries k with (k - 1) % 3 == 0, memories with (32 + i) % 3 == 0.
    std::vector<uint8_t> rec(c.size, 0);
    for (size_t i = 0; i < rec.size(); i += 3)
        rec[i] = c.fill;
    testsupport::writeAll(dir.file("data.dat"), rec);
    startGallery({});
    openFromTitle(TitleItem::CgGallery);
    for (int k = 1; k <= 18; ++k) {
        const bool open = size_t(k - 1) < c.size && (k - 1) % 3 == 0;
        EXPECT_EQ(pixel(cgCentreX(k), cgCentreY(k)), thumbColour(open ? k : 0)) << k;
    }
    tap(DIK_ESCAPE);
    frame();
    openFromTitle(TitleItem::Album);
    for (int i = 0; i < 6; ++i) {
        const bool open = size_t(32 + i) < c.size && (32 + i) % 3 == 0;
        EXPECT_EQ(pixel(L::albumX(i) + 64, L::albumY(i) + 48), thumbColour(open ? albumThumbnail(i) : 0)) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, GalleryRecordTest,
                         ::testing::Values(RecordCase{0, 1}, RecordCase{5, 0xFF}, RecordCase{34, 2}, RecordCase{48, 1},
                                           RecordCase{5000, 0x80}));

TEST_F(GalleryTest, NothingHappensWhileTheConfirmationBoxIsOpen)
{
    startGallery({.unlocks = record({0})});
    openFromTitle(TitleItem::CgGallery);
    closeWindow();
    frame();
    ASSERT_TRUE(dx->confirmOpen);
    clickAt(cgCentreX(1), cgCentreY(1));
    tap(DIK_ESCAPE);
    frame();
    EXPECT_EQ(dx->screenState, ScreenState::CgGallery);
}
