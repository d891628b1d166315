// The title screen played like a player: the pointer and the arrow keys move the highlight,
// a click or Enter picks an item, new game fades into "startup.scp".
#include "ScreensFixture.h"

#include "screens/TitleScreen.h"

using L = TitleLayout;

TEST_F(ScreensTest, StartUpOpensOnTheTitleWithItsPictureAndSevenStrips)
{
    start();
    frame();
    EXPECT_EQ(dx->screenState, ScreenState::Title);
    EXPECT_EQ(dx->titleScreen.TitlePhase, TitleState::Menu);
    EXPECT_EQ(pixel(20, 20), 0x141EC8u); // the title picture
    // Each strip shows over the picture, item 0 lit, the others tinted and half transparent.
    for (int k = 0; k < 7; ++k)
        EXPECT_NE(brightness(L::kItemX, L::kItemY + L::kPitch * k, L::kStripW, L::kStripH), brightness(20, 20, 256, 32))
            << k;
    EXPECT_GT(brightness(L::kItemX, L::kItemY, L::kStripW, L::kStripH),
              brightness(L::kItemX, L::kItemY + L::kPitch, L::kStripW, L::kStripH));
}

TEST_F(ScreensTest, ThePointerHighlightsTheItemWhoseBandItIsIn)
{
    start();
    struct Case {
        int x, y, item;
    };
    // Bands are 64 high and 36 apart: the later item wins where they overlap.
    const Case cases[] = {
        {400, 310, 1}, {400, 300, 0}, {400, 268, 0}, {400, 303, 0}, {400, 304, 1}, {300, 484, 6},
        {543, 547, 6}, {288, 339, 1}, {400, 440, 4},
    };
    for (const Case& c : cases) {
        pointer(c.x, c.y);
        frame();
        EXPECT_EQ(dx->titleScreen.TitleSelection, c.item) << c.x << "," << c.y;
    }
    // Outside every band the highlight stays where it was.
    for (auto [x, y] : {std::pair{400, 267}, {400, 548}, {287, 300}, {544, 300}}) {
        pointer(400, 440);
        frame();
        pointer(x, y);
        frame();
        EXPECT_EQ(dx->titleScreen.TitleSelection, 4) << x << "," << y;
    }
    // The lit strip follows: item 1 is brighter than item 0 now.
    pointer(400, 310);
    frame();
    EXPECT_GT(brightness(L::kItemX, L::kItemY + L::kPitch, L::kStripW, L::kStripH),
              brightness(L::kItemX, L::kItemY, L::kStripW, L::kStripH));
}

TEST_F(ScreensTest, ArrowKeysWrapAtBothEndsAndWorkWhileThePointerRestsOnTheMenu)
{
    start();
    tap(DIK_UP);
    frame();
    EXPECT_EQ(dx->titleScreen.TitleSelection, 6);
    tap(DIK_DOWN);
    frame();
    EXPECT_EQ(dx->titleScreen.TitleSelection, 0);

    pointer(400, 310);
    frame();
    ASSERT_EQ(dx->titleScreen.TitleSelection, 1);
    tap(DIK_DOWN);
    frames(3);
    EXPECT_EQ(dx->titleScreen.TitleSelection, 2); // the resting pointer does not take it back
}

TEST_F(ScreensTest, ANewHighlightStartsFourGlowsThatRunDownWithTheFrames)
{
    start();
    tap(DIK_DOWN);
    frame();
    const auto& glow = dx->titleScreen.TitleGlow[1];
    EXPECT_EQ(glow, (std::array<int32_t, 4>{255 - 16, 305 - 16, 355 - 16, 405 - 16}));
    frames(9);
    const double lit = brightness(L::kItemX - 16, L::kItemY + L::kPitch - 8, 16, 48);
    frames(21);
    EXPECT_EQ(glow, (std::array<int32_t, 4>{0, 0, 0, 0}));
    // The growing glow reached past the strip's left end; once it is over, that is gone.
    EXPECT_GT(lit, brightness(L::kItemX - 16, L::kItemY + L::kPitch - 8, 16, 48));
    EXPECT_FLOAT_EQ(titleGlowGrowth(255), 0.0f);
    EXPECT_FLOAT_EQ(titleGlowGrowth(0), 1.0f);
}

TEST_F(ScreensTest, NewGameFadesForAboutHalfASecondThenRunsTheStartScript)
{
    start();
    tap(DIK_RETURN);
    frame();
    EXPECT_EQ(dx->titleScreen.TitlePhase, TitleState::NewGameFade);
    EXPECT_TRUE(confirmSoundPlayed());
    int frameCount = 1;
    while (dx->screenState == ScreenState::Title && frameCount < 100) {
        frame();
        ++frameCount;
    }
    // The frame that picks, then 0.512 per millisecond passes 256 after 500 ms: in the 32nd
    // fade frame of 16 ms.
    EXPECT_EQ(frameCount, 1 + 32);
    EXPECT_EQ(dx->screenState, ScreenState::Game);
    EXPECT_TRUE(logged("LOAD SCRIPT [startup.scp]"));
    EXPECT_EQ(dx->scriptState.testTitle, "");
    frames(8);
    EXPECT_EQ(dx->scriptState.testTitle, "started");
    EXPECT_EQ(dx->messageWindow.windowAlpha, 255);
}

TEST_F(ScreensTest, TheFadeDarkensThePictureOnTheWay)
{
    start();
    frame();
    const double before = brightness(0, 0, 200, 200);
    tap(DIK_SPACE);
    frames(16);
    const double half = brightness(0, 0, 200, 200);
    EXPECT_LT(half, before * 0.6);
    EXPECT_GT(half, before * 0.3);
}

TEST_F(ScreensTest, AClickPicksTheItemUnderThePointer)
{
    start();
    click(400, 500); // item 6: quit
    frame();
    EXPECT_TRUE(dx->confirmOpen);
    EXPECT_FALSE(dx->confirm.ConfirmToTitle);
    EXPECT_EQ(dx->confirm.ConfirmChoice, ConfirmState::kNo);
    EXPECT_TRUE(confirmSoundPlayed());
}

TEST_F(ScreensTest, ItemsWithoutTheirScreenPlayTheSoundAndStayOnTheMenu)
{
    start();
    // Item 1 (load) has its screen: the save/load list.
    for (int item = 2; item <= 5; ++item) {
        dx->sound.systemSounds[0].stop();
        pointer(400, L::kBandTop + L::kPitch * item + 10);
        frame();
        ASSERT_EQ(dx->titleScreen.TitleSelection, item);
        tap(DIK_RETURN);
        frames(2);
        EXPECT_TRUE(confirmSoundPlayed()) << item;
        EXPECT_EQ(dx->screenState, ScreenState::Title) << item;
        EXPECT_EQ(dx->titleScreen.TitlePhase, TitleState::Menu) << item;
        EXPECT_FALSE(dx->confirmOpen) << item;
    }
}

TEST_F(ScreensTest, ARegisteredScreenEntryOpensFromItsItemWithTheTitleToReturnTo)
{
    start();
    int opened = 0;
    setTitleMenuEntry(*dx, TitleItem::Options, [&](CDirectX& d) {
        ++opened;
        d.screenState = ScreenState::Options;
    });
    setTitleMenuEntry(*dx, TitleItem::Quit, [&](CDirectX&) { opened += 100; }); // the title's own
    dx->titleScreen.ReturnScreen = ScreenState::None;
    pointer(400, L::kBandTop + L::kPitch * 5 + 10);
    frame();
    tap(DIK_RETURN);
    frame();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(dx->screenState, ScreenState::Options);
    EXPECT_EQ(dx->titleScreen.ReturnScreen, ScreenState::Title);
}

TEST_F(ScreensTest, AltEnterTogglesTheDisplayAndPicksNothing)
{
    start();
    altEnter();
    frames(8);
    EXPECT_FALSE(dx->display.windowed());
    EXPECT_EQ(dx->titleScreen.TitlePhase, TitleState::Menu);
    EXPECT_FALSE(confirmSoundPlayed());
    // The rebuilt device shows the picture and the lit strip again.
    EXPECT_EQ(pixel(20, 20), 0x141EC8u);
    EXPECT_NE(brightness(L::kItemX, L::kItemY, L::kStripW, L::kStripH), brightness(20, 20, 256, 32));
    EXPECT_GT(brightness(L::kItemX, L::kItemY, L::kStripW, L::kStripH),
              brightness(L::kItemX, L::kItemY + L::kPitch, L::kStripW, L::kStripH));
}

TEST_F(ScreensTest, MissingTitlePicturesAndSoundsAreLoggedAndTheMenuStillWorks)
{
    ScreensGame g;
    g.title = false;
    g.logo = false;
    g.sounds = false;
    g.startScript.clear();
    start(g);
    frames(3);
    EXPECT_TRUE(logged("PNG Load failed. -> title.png"));
    EXPECT_TRUE(logged("PNG Load failed. -> SYSTEM\\logotex5.png"));
    EXPECT_TRUE(logged("system sound load failed. -> SYSTEM\\ok.wav"));
    EXPECT_EQ(brightness(0, 0, 600, 560), 0.0); // black and no strips
    tap(DIK_DOWN);
    frame();
    EXPECT_EQ(dx->titleScreen.TitleSelection, 1);
    tap(DIK_UP);
    tap(DIK_RETURN);
    frames(40);
    EXPECT_EQ(dx->screenState, ScreenState::Game);
    EXPECT_TRUE(logged("ERROR: Load fail [startup.scp]"));
}
