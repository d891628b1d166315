// Background and cut-in commands on the headless clock: loads and their cache, cross-fades,
// scrolls, cut-in slides, effect speed and the skip key, argument errors.
#include "SceneFixture.h"

#include "platform/Text.h"

TEST_F(SceneTest, LoadGoesToTheHiddenChannelAndTheChangeShowsIt)
{
    script("@bg_load red.png\n@bg_change 0\n@bg_load blue.png\n@bg_change 0\n");
    frame();
    EXPECT_EQ(dx->scene.bg.name[1], "red.png");
    EXPECT_TRUE(runLog().contains("@bg_load. channel1 : red.png (DISK "));
    EXPECT_EQ(logCount("@bg_load SystemSurface Update : "), 1u);
    EXPECT_EQ(dx->scene.bg.current, 0); // not shown by the load
    EXPECT_EQ(measureBusy(), 0);        // time 0: switched at the next frame
    EXPECT_EQ(dx->scene.bg.current, 1);
    frame();
    EXPECT_EQ(pixel(400, 300), 0xFF0000u);
    EXPECT_EQ(pixel(799, 599), 0xFF0000u);

    measureBusy(2);
    EXPECT_EQ(dx->scene.bg.name[0], "blue.png");
    EXPECT_EQ(logCount("@bg_load VramSurface Update : "), 1u);
    EXPECT_EQ(dx->scene.bg.current, 0);
    frame();
    EXPECT_EQ(pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(pixel(799, 599), 0x0000FFu);
}

TEST_F(SceneTest, CacheSkipsTheSecondDecodeOnlyOnTheGameScreen)
{
    ASSERT_TRUE(loadBackground(*dx, 1, "red.png"));
    ASSERT_TRUE(loadBackground(*dx, 1, "red.png"));
    EXPECT_EQ(logCount("@bg_load PNG load : "), 1u);
    EXPECT_EQ(logCount("@bg_load PNG load cache."), 1u);
    dx->screenState = ScreenState::CgGallery;
    ASSERT_TRUE(loadBackground(*dx, 1, "red.png"));
    EXPECT_EQ(logCount("@bg_load PNG load : "), 2u);
    // The character cache holds on every screen.
    ASSERT_TRUE(loadCharacter(*dx, 0, 1, "green.png"));
    ASSERT_TRUE(loadCharacter(*dx, 0, 1, "green.png"));
    EXPECT_EQ(logCount("@chr_load PNG load : "), 1u);
    EXPECT_EQ(logCount("@chr_load PNG load cache."), 1u);
    EXPECT_FALSE(loadBackground(*dx, 2, "red.png"));
    EXPECT_FALSE(loadCharacter(*dx, 3, 0, "green.png"));
}

TEST_F(SceneTest, FailedLoadKeepsThePictureAndStillUnlocksTheCg)
{
    ASSERT_TRUE(loadBackground(*dx, 1, "red.png"));
    runLog().clear();
    script("@bg_load 03-01A.png\n@bg_load broken.png\n");
    frame();
    EXPECT_TRUE(runLog().contains("PNG Load failed. -> 03-01A.png\n"));
    EXPECT_TRUE(runLog().contains("@bg_load failed. channel1 : 03-01A.png\n"));
    EXPECT_EQ(dx->scene.bg.name[1], "red.png");
    EXPECT_TRUE(dx->unlocks.cgSeen(UnlockRecord::FindCg("03-01a")));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "data.dat"));
    frames(7);
    EXPECT_TRUE(runLog().contains("@bg_load failed. channel1 : broken.png\n"));
    EXPECT_EQ(dx->scene.bg.name[1], "red.png");
}

TEST_F(SceneTest, LoadHoldsTheScriptForFiveFrames)
{
    script("@bg_load red.png\n@exit\n");
    frame();
    int held = 0;
    while (!runLog().contains("Starting QUIZ MODE\n") && held < 20) {
        frame();
        ++held;
    }
    EXPECT_EQ(held, 6); // five held frames, then the frame that runs the next command
}

TEST_F(SceneTest, CrossFadeTimesFollowEffectSpeedSkipAndEndingMode)
{
    struct Case {
        int effectSpeed;
        bool ctrl, ending;
        int expected;
    } cases[] = {{0, false, false, 1000}, {1, false, false, 500}, {2, false, false, 0},
                 {0, true, false, 0},     {0, true, true, 1000},  {1, true, true, 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.effectSpeed << c.ctrl << c.ending);
        dx->config.effectSpeed = c.effectSpeed;
        dx->scriptState.endingMode = c.ending;
        if (c.ctrl)
            holdCtrl();
        else
            backend.input.keyUp(DIK_LCONTROL);
        script("@bg_change 1000\n");
        EXPECT_NEAR(measureBusy(), c.expected, 16);
        EXPECT_EQ(dx->gameState, GameState::Ready);
    }
}

TEST_F(SceneTest, CrossFadeMixesTheTwoPicturesHalfway)
{
    ASSERT_TRUE(loadBackground(*dx, 1, "red.png"));
    ASSERT_TRUE(loadBackground(*dx, 0, "blue.png"));
    script("@bg_change 1600\n");
    frames(50); // 800 ms: the blue tiles are half gone over the red blocks
    const uint32_t p = pixel(300, 300);
    EXPECT_NEAR(int(p >> 16), 128, 12);
    EXPECT_NEAR(int(p & 0xFF), 128, 12);
    EXPECT_EQ((p >> 8) & 0xFF, 0u);
    untilIdle();
    frame();
    EXPECT_EQ(pixel(300, 300), 0xFF0000u);
}

TEST_F(SceneTest, ScrollPushesTheOldPictureOut)
{
    ASSERT_TRUE(loadBackground(*dx, 1, "red.png"));
    ASSERT_TRUE(loadBackground(*dx, 0, "blue.png"));
    script("@bg_scroll left,800\n");
    frame();
    EXPECT_TRUE(dx->scene.presentationBusy);
    frames(24); // 400 ms: half a screen
    const int p = int(dx->scene.scroll.position);
    EXPECT_NEAR(p, 400, 16);
    EXPECT_EQ(pixel(0, 300), 0x0000FFu);   // the old picture still on the left
    EXPECT_EQ(pixel(799, 300), 0xFF0000u); // the new one coming in from the right
    EXPECT_NEAR(untilIdle(), 400, 16);
    EXPECT_EQ(dx->scene.bg.current, 1);
}

TEST_F(SceneTest, NosyncScrollLetsTheScriptRunAndSyncWaitsWithoutSkipping)
{
    ASSERT_TRUE(loadBackground(*dx, 1, "red.png"));
    script("@bg_scroll3_nosync up,1000\n@wait 100\n@bg_sync\n@exit\n");
    frame();
    EXPECT_TRUE(dx->scene.scroll.active);
    EXPECT_FALSE(dx->scene.presentationBusy);
    EXPECT_EQ(dx->scene.scroll.distance, 1200.0f);
    frame();
    EXPECT_TRUE(dx->scriptState.waitActive); // the script went on
    holdCtrl();                              // Ctrl ends the wait, never this scroll
    int n = 0;
    while (!runLog().contains("Starting QUIZ MODE\n") && n < 200) {
        frame();
        ++n;
    }
    EXPECT_FALSE(dx->scene.scroll.active);
    EXPECT_NEAR(int(now_ - 1016), 1000, 40);
}

TEST_F(SceneTest, UnknownDirectionKeepsTheLastScroll)
{
    script("@bg_scroll down,600\n@bg_scroll sideways,50\n");
    measureBusy();
    script("@bg_scroll sideways,50\n");
    EXPECT_NEAR(measureBusy(), 600, 16); // the speed of the last scroll, not 50 ms
    EXPECT_EQ(dx->scene.scroll.direction, SceneDirection::Down);
}

TEST_F(SceneTest, CutinSlidesStartOffScreenAndEndCentred)
{
    script("@cutin_load 2,cut.png\n@cutin_slide_in 2,up,320\n@wait 50\n@cutin_slide_out 2,down,0\n@cutin_slide_in 2,down,0\n");
    frame();
    EXPECT_TRUE(runLog().contains("@cutin_load. no(2) : cut.png\n"));
    EXPECT_FALSE(dx->scene.cutinVisible);
    frames(6);
    EXPECT_TRUE(dx->scene.cutinSlide.active);
    EXPECT_EQ(dx->scene.cutinX, 300);
    EXPECT_EQ(dx->scene.cutinY, -100); // bottom edge at the top of the screen
    // Neither Ctrl nor double speed touch a cut-in slide.
    holdCtrl();
    dx->config.effectSpeed = 1;
    EXPECT_NEAR(untilIdle(), 320, 16);
    EXPECT_EQ(dx->scene.cutinY, 250);
    frame();
    EXPECT_EQ(pixel(400, 300), 0xFFFF00u);
    EXPECT_TRUE(dx->scene.cutinVisible);
    // After the wait, a slide-out of time 0 hides it in its own frame.
    for (int i = 0; i < 10 && dx->scene.cutinVisible; ++i)
        frame();
    EXPECT_FALSE(dx->scene.cutinVisible);
    EXPECT_NE(pixel(400, 300), 0xFFFF00u);
    frame();
    EXPECT_EQ(dx->scene.cutinSlide.startY, 600); // from "down": top edge at the bottom
}

TEST_F(SceneTest, CutinNumbersOutsideTheFourSlotsAreRejected)
{
    script("@cutin_load 4,cut.png\n@cutin_slide_in -1,up,100\n@cutin_load 1\n@cutin_load 0,nothing.png\n");
    frames(4);
    const std::string bad = SJ("(test.scp.SCP)1行目 : error : '@cutin_load 4,cut.png' :　コマンド引数に問題があります。\n");
    EXPECT_TRUE(runLog().contains(bad));
    EXPECT_TRUE(runLog().contains(SJ("'@cutin_slide_in -1,up,100' :　コマンド引数に問題があります。")));
    EXPECT_TRUE(runLog().contains(SJ("'@cutin_load 1' :　コマンド引数に問題があります。")));
    EXPECT_FALSE(dx->scene.presentationBusy);
    EXPECT_FALSE(dx->scene.cutinVisible);
    for (const CutinSlot& s : dx->scene.cutins)
        EXPECT_FALSE(s.surface);
    frames(6);
    EXPECT_TRUE(runLog().contains("@cutin_load failed. no(0) : nothing.png\n"));
}

TEST_F(SceneTest, OptionBackgroundLoadsExpiresAndReportsFailure)
{
    script("@bg_load_ext blue.png\n@bg_ext_expire\n@bg_load_ext none.png\n");
    frame();
    EXPECT_TRUE(dx->scene.optionBg.active);
    EXPECT_EQ(dx->scene.optionBg.name, "blue.png");
    EXPECT_TRUE(runLog().contains("@bg_load_ext. channel3(option_bg) : blue.png(DISK "));
    frames(6);
    EXPECT_FALSE(dx->scene.optionBg.active);
    frames(6);
    EXPECT_TRUE(runLog().contains("@bg_load_ext failed. channel3(option_bg) : none.png\n"));
}

TEST_F(SceneTest, PicturesComeBackAfterADeviceLoss)
{
    script("@bg_load red.png\n@bg_change 0\n@chr_load 0,green.png\n@chr_swap_screen 0\n@chr_show 0\n");
    frames(20);
    ASSERT_TRUE(dx->scene.groups[0].visible);
    EXPECT_EQ(pixel(700, 300), 0xFF0000u);
    EXPECT_EQ(pixel(400, 300), 0x00FF00u);
    dx->display.directDraw()->loseDevice();
    frame(); // the present finds the loss and rebuilds
    frame();
    EXPECT_TRUE(runLog().contains("Device Reset"));
    EXPECT_EQ(pixel(700, 300), 0xFF0000u);
    EXPECT_EQ(pixel(400, 300), 0x00FF00u);
}

TEST_F(SceneTest, Scroll3PassesThroughTheOptionBackgroundWhole)
{
    ASSERT_TRUE(loadBackground(*dx, 1, "red.png"));
    ASSERT_TRUE(loadBackground(*dx, 0, "blue.png"));
    script("@bg_scroll3 up,1200\n");
    frame();
    frames(37); // about 600 px: the middle page fills the screen
    EXPECT_NEAR(int(dx->scene.scroll.position), 600, 16);
    EXPECT_EQ(pixel(400, 300), 0x202830u);
    EXPECT_EQ(pixel(10, 300), 0x202830u); // not only its last column
    EXPECT_NEAR(untilIdle(), 600, 16);
    frame();
    EXPECT_EQ(pixel(400, 300), 0xFF0000u);
}

TEST_F(SceneTest, CrossFadeWaitsWhileAConfirmationIsOpen)
{
    script("@bg_change 160\n");
    frame();
    dx->confirmOpen = true;
    frames(30);
    EXPECT_TRUE(dx->scene.crossFade.active);
    dx->confirmOpen = false;
    EXPECT_NEAR(untilIdle(), 144, 16);
}
