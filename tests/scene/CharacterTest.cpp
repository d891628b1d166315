// Character commands on the headless clock: change, turn, slides, moves, fades, the shadow,
// the range checks and the timers' effect-speed rules.
#include "SceneFixture.h"

#include "platform/Text.h"

TEST(SceneAlpha, TilesAndGroupsClampAndShadowsGetHalf)
{
    SceneState sc;
    sc.setTileAlpha(300);
    EXPECT_EQ(sc.bg.tiles[0].alpha[0], 255);
    EXPECT_EQ(sc.bg.tiles[kTiles - 1].alpha[3], 255);
    sc.setTileAlpha(-5);
    EXPECT_EQ(sc.bg.tiles[7].alpha[1], 0);
    sc.setGroupAlpha(0, 1, 255);
    EXPECT_EQ(sc.groups[0].sprites[1][5].alpha[2], 255);
    EXPECT_EQ(sc.groups[0].shadows[1][0].alpha[0], 127);
    sc.setGroupAlpha(1, 0, 999);
    EXPECT_EQ(sc.groups[1].shadows[0][3].alpha[0], 127);
}

TEST_F(SceneTest, ChangeFadesInForItsTimeThenTheOldOneOutForHalf)
{
    script("@chr_setpos 0,2\n@chr_load 0,green.png\n@chr_change 0,1000\n");
    frame();
    EXPECT_TRUE(runLog().contains("@chr_load. no(0) channel(1) : green.png (DISK "));
    EXPECT_EQ(logCount("@chr_load VramSurface Update : "), 1u);
    EXPECT_NEAR(measureBusy(), 1500, 16);
    EXPECT_EQ(dx->scene.groups[0].current, 1);
    EXPECT_TRUE(dx->scene.groups[0].visible);
    frame();
    EXPECT_EQ(pixel(400, 300), 0x00FF00u);
    EXPECT_EQ(pixel(144 + 8, 300), 0u); // its transparent edge
}

TEST_F(SceneTest, ChangeWithTimeZeroOneOrNegativeEndsAtOnce)
{
    for (const char* t : {"0", "1", "-5"}) {
        SCOPED_TRACE(t);
        runLog().clear();
        script(std::string("@chr_change 0,") + t + "\n");
        EXPECT_LE(measureBusy(), 16);
        EXPECT_EQ(std::string(t) == "-5", runLog().contains(SJ("'@chr_change 0,-5' :　数値が異常です")));
    }
}

TEST_F(SceneTest, ChangeUnderDoubleSpeedAndCtrl)
{
    dx->config.effectSpeed = 1;
    script("@chr_change 0,1000\n");
    EXPECT_NEAR(measureBusy(), 750, 16);
    dx->config.effectSpeed = 0;
    holdCtrl();
    script("@chr_change 0,1000\n");
    EXPECT_EQ(measureBusy(), 0);
}

TEST_F(SceneTest, TurnLastsTimeSquaredOverAThousand)
{
    script("@chr_load 0,green.png\n@chr_show 0\n@chr_turn 0,500\n");
    EXPECT_NEAR(measureBusy(3), 250, 16);
    EXPECT_EQ(dx->scene.groups[0].current, 1);
    EXPECT_TRUE(dx->updateHoldActive); // three settling frames after a turn
    frames(5);
    dx->config.effectSpeed = 1;
    script("@chr_turn 0,500\n");
    EXPECT_NEAR(measureBusy(), 125, 16);
    EXPECT_EQ(dx->scene.groups[0].current, 0);
    dx->config.effectSpeed = 0;
    frames(5);
    script("@chr_turn 0,0\n");
    EXPECT_EQ(measureBusy(), 0);
    EXPECT_EQ(dx->scene.groups[0].current, 1);
}

TEST_F(SceneTest, TurnNarrowsThePictureToItsCentreLineWithAShadow)
{
    ASSERT_TRUE(loadBackground(*dx, 0, "blue.png"));
    dx->scene.setTileAlpha(255);
    script("@chr_load 0,white.png\n@chr_swap_screen 0\n@chr_load 0,green.png\n@chr_show 0\n@chr_setpos 0,2\n"
           "@chr_turn 0,1000\n");
    frames(14);
    ASSERT_TRUE(dx->scene.turnActive);
    frames(15); // about a quarter: each half is about 128 wide
    // Inside the narrowed picture, outside it, and its shadow 8 px right and below.
    const int f = int(256.0f - dx->scene.groups[0].turnProgress / 500.0f * 256.0f);
    EXPECT_NEAR(f, 120, 10);
    EXPECT_EQ(pixel(400, 300), 0xFFFFFFu);
    EXPECT_EQ(pixel(400 - f - 10, 300), 0x0000FFu);
    const uint32_t shadowed = pixel(400 + f + 4, 300);
    EXPECT_LT(shadowed & 0xFF, 0xFFu);
    EXPECT_GT(shadowed & 0xFF, 0u);
    measureBusy();
    frame();
    // Turned round to the other picture; standing still, the shadow is gone.
    EXPECT_EQ(pixel(144 + 512 + 4, 300), 0x0000FFu);
    EXPECT_EQ(pixel(144 + 20, 300), 0x00FF00u);
}

TEST_F(SceneTest, SlidesStartWhereTheirTablesSay)
{
    struct Case {
        const char* command;
        int x, y, tx, ty;
    } cases[] = {
        {"@chr_slide_in 0,down,2,400", 144, -608, 144, 0},    {"@chr_slide_in 0,up,2,400", 144, 600, 144, 0},
        {"@chr_slide_in 0,left,3,400", -512, 0, 288, 0},      {"@chr_slide_in 0,right_top,0,400", 800, -608, 288, 0},
        {"@chr_slide_out 0,right_bottom,0,400", 288, 0, 800, 600}, {"@chr_slide_out 0,up,4,400", 376, 0, 376, -608},
        {"@chr_move 0,1,3,400", 0, 0, 288, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        script(std::string(c.command) + "\n");
        frame();
        ASSERT_TRUE(dx->scene.slide.active);
        EXPECT_EQ(dx->scene.slide.x, c.x);
        EXPECT_EQ(dx->scene.slide.y, c.y);
        EXPECT_EQ(dx->scene.slide.targetX, c.tx);
        EXPECT_EQ(dx->scene.slide.targetY, c.ty);
        EXPECT_NEAR(untilIdle() + 16, 400, 16);
    }
    EXPECT_TRUE(dx->scene.groups[0].visible); // the slide-outs hid it; the move showed it again
    EXPECT_EQ(dx->scene.groups[0].position, 3);
}

TEST_F(SceneTest, SlideInEndsAtTheSetPositionNotItsArgument)
{
    script("@chr_load 0,green.png\n@chr_swap_screen 0\n@chr_setpos 0,4\n@chr_slide_in 0,left,2,160\n");
    frames(6);
    EXPECT_NEAR(measureBusy(), 160, 16);
    frame();
    EXPECT_EQ(pixel(376 + 20, 300), 0x00FF00u);
    EXPECT_NE(pixel(144 + 20, 300), 0x00FF00u);
}

TEST_F(SceneTest, SlideHalfwayUnderDoubleSpeedIsAtTheEnd)
{
    dx->config.effectSpeed = 1;
    script("@chr_slide_in 0,left,2,800\n");
    EXPECT_NEAR(measureBusy(), 400, 16);
    dx->config.effectSpeed = 0;
    dx->scriptState.endingMode = 1;
    holdCtrl();
    script("@chr_slide_out 0,left,2,800\n");
    EXPECT_NEAR(measureBusy(), 800, 16);
}

TEST_F(SceneTest, FadesInAndOutAndHide)
{
    script("@chr_load 0,green.png\n@chr_swap_screen 0\n@chr_fade_in 0,320\n@chr_fade_out 0,320\n");
    frames(7);
    frames(10); // about half way in
    EXPECT_NEAR(int((pixel(400, 300) >> 8) & 0xFF), 128, 24);
    EXPECT_NEAR(untilIdle(), 320 - 176, 32);
    EXPECT_TRUE(dx->scene.groups[0].visible);
    EXPECT_NEAR(measureBusy(), 320, 32);
    EXPECT_FALSE(dx->scene.groups[0].visible);
    frame();
    EXPECT_EQ(pixel(400, 300), 0u);
}

TEST_F(SceneTest, ShowHideSwapAndShadowRunInTheSameFrame)
{
    script("@chr_show 0\n@chr_shadow 0,off\n@chr_swap_screen 0\n@chr_hide 2\n@chr_show 3\n@shadow x\n@exit\n");
    frame();
    EXPECT_TRUE(runLog().contains("Starting QUIZ MODE\n"));
    EXPECT_FALSE(dx->scene.groups[0].visible);
    EXPECT_FALSE(dx->scene.groups[0].shadow);
    EXPECT_EQ(dx->scene.groups[0].current, 1);
    EXPECT_TRUE(runLog().contains(
        SJ("(test.scp.SCP)5行目 : error : '@chr_show 3' :　引数に指定できる数値は、(0-2)の間です。\n")));
}

TEST_F(SceneTest, OutOfRangePositionsAndGroupsAreRejectedAndDoNothing)
{
    script("@chr_setpos 0,2\n@chr_setpos 0,5\n@chr_slide_in 0,left,7,100\n@chr_move 0,1,-1,100\n"
           "@chr_turn 1000\n@chr_shadow 0\n@exit\n");
    frames(8);
    EXPECT_EQ(dx->scene.groups[0].position, 2);
    EXPECT_FALSE(dx->scene.presentationBusy);
    EXPECT_FALSE(dx->scene.groups[0].visible);
    EXPECT_TRUE(dx->scene.groups[0].shadow);
    for (const char* arg : {"'@chr_setpos 0,5' :　コマンド引数", "'@chr_slide_in 0,left,7,100' :　コマンド引数",
                            "'@chr_move 0,1,-1,100' :　コマンド引数", "'@chr_turn 1000' :　コマンド引数", "'@chr_shadow 0' :　コマンド引数"})
        EXPECT_TRUE(runLog().contains(platform::utf8ToSjis(arg))) << arg;
    EXPECT_TRUE(runLog().contains("Starting QUIZ MODE\n"));
}

// Whatever number the group field holds, the command acts on group 0 and logs nothing.
TEST_F(SceneTest, TheGroupFieldIsReadAndNotUsed)
{
    const struct {
        const char* script;
        bool visible, shadow;
        int current, position;
    } cases[] = {
        {"@chr_load 7,green.png\n@chr_swap_screen 0\n@chr_fade_in 7,0\n", true, true, 1, 0},
        {"@chr_setpos 9,3\n@chr_slide_in -4,left,3,0\n", true, true, 0, 3},
        {"@chr_move 3,1,2,0\n@chr_shadow 12,off\n", true, false, 0, 2},
        {"@chr_show 0\n@chr_change 5,0\n", true, true, 1, 0},
        {"@chr_show 0\n@chr_turn 99,100\n", true, true, 1, 0},
        {"@chr_show 0\n@chr_fade_out x,0\n", false, true, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        dx->scene.resetCharacterGroup(0);
        dx->scene.groups[0].current = 0;
        runLog().clear();
        script(std::string(c.script) + "@exit\n");
        frames(12);
        EXPECT_TRUE(runLog().contains("Starting QUIZ MODE\n"));
        EXPECT_FALSE(runLog().contains(SJ("error")));
        EXPECT_EQ(dx->scene.groups[0].visible, c.visible);
        EXPECT_EQ(dx->scene.groups[0].shadow, c.shadow);
        EXPECT_EQ(dx->scene.groups[0].current, c.current);
        EXPECT_EQ(dx->scene.groups[0].position, c.position);
        EXPECT_FALSE(dx->scene.groups[1].visible);
        EXPECT_FALSE(dx->scene.groups[2].visible);
    }
}

TEST_F(SceneTest, ResetHidesTheGroupAndTurnsItsShadowOn)
{
    CharacterGroup& g = dx->scene.groups[0];
    g.visible = true;
    g.shadow = false;
    g.position = 3;
    g.turnDuration = 500;
    dx->scene.resetCharacterGroup(0);
    EXPECT_FALSE(g.visible);
    EXPECT_TRUE(g.shadow);
    EXPECT_EQ(g.position, 0);
    EXPECT_EQ(g.turnDuration, 0);
}
