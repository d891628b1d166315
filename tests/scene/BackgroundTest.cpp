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

// Rows go from the decoder straight into the blocks, so a picture that breaks off half-way
// has already covered part of them: the channel and the character still show their last
// picture, and a later load is not fooled by the cache.
TEST_F(SceneTest, ALoadThatBreaksOffHalfWayLeavesTheLastPicture)
{
    // Noise costs every row its own bytes, so rows are placed before the damage is read.
    auto noise = [](uint32_t w, uint32_t h, int channels) {
        std::vector<uint8_t> raw(size_t(w) * h * size_t(channels));
        uint32_t seed = 7;
        for (uint8_t& b : raw) {
            seed = seed * 1103515245u + 12345u;
            b = uint8_t(seed >> 24);
        }
        testpng::Options o;
        o.colourType = channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
        return testpng::encode(w, h, raw, o);
    };
    struct Damage {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> apply;
    };
    const std::vector<Damage> damages = {
        {"cut.png", [](std::vector<uint8_t>& b) { b.resize(b.size() * 6 / 10); }},
        {"flipped.png", [](std::vector<uint8_t>& b) { b[b.size() / 2] ^= 0x5A; }},
        {"noend.png", [](std::vector<uint8_t>& b) { b.resize(b.size() - 12); }}, // every row, no IEND
    };
    // The archive reads from the file last opened, so this one holds the good pictures too.
    PackWriter w;
    w.addBytes("BG\\red.png", scenetest::solidPng(800, 600, 0xFF0000));
    w.addBytes("BG\\blue.png", scenetest::solidPng(800, 600, 0x0000FF));
    w.addBytes("CHR\\green.png", scenetest::characterPng(0x00FF00));
    for (const Damage& d : damages) {
        auto bg = noise(800, 600, 3), chr = noise(512, 608, 4);
        d.apply(bg);
        d.apply(chr);
        w.addBytes(std::string("BG\\") + d.name, bg);
        w.addBytes(std::string("CHR\\") + d.name, chr);
    }
    std::string error;
    ASSERT_TRUE(w.write((dir.path() / "damaged.pkd").string(), error)) << error;
    ASSERT_TRUE(dx->archive.Open((dir.path() / "damaged.pkd").string()));

    // Blue in both channels, channel 0 current, the green character standing in front.
    script("@bg_load blue.png\n@bg_change 0\n@chr_load 0,green.png\n@chr_swap_screen 0\n@chr_show 0\n"
           "@bg_load blue.png\n@bg_change 0\n");
    frames(40);
    ASSERT_EQ(dx->scene.bg.current, 0);
    ASSERT_EQ(pixel(700, 300), 0x0000FFu);
    ASSERT_EQ(pixel(300, 300), 0x00FF00u);
    const int shown = dx->scene.groups[0].current;
    for (const Damage& d : damages) {
        for (int channel = 0; channel < 2; ++channel) {
            EXPECT_FALSE(loadBackground(*dx, channel, d.name)) << d.name;
            EXPECT_EQ(dx->scene.bg.name[size_t(channel)], "blue.png");
        }
        EXPECT_FALSE(loadCharacter(*dx, 0, shown, d.name)) << d.name;
        EXPECT_TRUE(runLog().contains(std::string("PNG Load failed. -> ") + d.name));
    }
    frame();
    for (auto [x, y] : {std::pair{700, 300}, {799, 599}, {440, 10}})
        EXPECT_EQ(pixel(x, y), 0x0000FFu) << x << "," << y;
    EXPECT_EQ(pixel(300, 300), 0x00FF00u);
    EXPECT_EQ(pixel(300, 599), 0x00FF00u); // from the character's bottom strip
    script("@bg_change 0\n");
    frames(20);
    ASSERT_EQ(dx->scene.bg.current, 1);
    for (auto [x, y] : {std::pair{700, 300}, {799, 599}, {440, 10}})
        EXPECT_EQ(pixel(x, y), 0x0000FFu) << x << "," << y;
    // The name stayed, so the cache answers for the picture that is really there.
    ASSERT_TRUE(loadBackground(*dx, 1, "red.png"));
    frame();
    EXPECT_EQ(pixel(700, 300), 0xFF0000u);
}
