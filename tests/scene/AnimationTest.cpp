// Frame animation on the headless clock: the sequence steps through its pictures on time,
// pause and play, the loads into groups 1 and 2, and the commands' bad input.
#include "SceneFixture.h"

#include "platform/Text.h"
#include "scene/EffectCommands.h"

class AnimationTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        ASSERT_TRUE(loadBackground(*dx, 1, "red.png"));
        dx->scene.bg.current = 1;
    }
    // Pictures 0 (green) and 1 (white) shown for 200 ms each, at position 2 (x 144).
    const char* kSequence = "@anime_init\n@anime_load 0,green.png\n@anime_load 1,white.png\n"
                            "@anime_set 0,0,200\n@anime_set 1,1,200\n@anime_set 2,-1,0\n"
                            "@chr_setpos 0,2\n@anime_start\n";
    void startSequence(const std::string& after = "")
    {
        script(std::string(kSequence) + after + "@wait 100000\n");
        for (int i = 0; i < 40 && !dx->scene.animation.running; ++i)
            frame();
        ASSERT_TRUE(dx->scene.animation.running);
    }
};

TEST_F(AnimationTest, SequenceAlternatesItsPicturesEveryWait)
{
    startSequence();
    const uint32_t started = dx->scene.animation.lastStep;
    std::vector<std::pair<uint32_t, int>> steps; // (time since start, entry)
    int last = dx->scene.animation.current;
    EXPECT_EQ(last, 0);
    for (int i = 0; i < 60; ++i) {
        frame();
        const int entry = dx->scene.animation.current;
        if (entry != last)
            steps.emplace_back(now_ - started, entry);
        last = entry;
        // What is on screen is the entry's picture, over the background, at position 2.
        EXPECT_EQ(pixel(400, 300), entry == 0 ? 0x00FF00u : 0xFFFFFFu) << i;
        EXPECT_EQ(pixel(150, 300), 0xFF0000u); // the transparent edge of the picture
        EXPECT_EQ(pixel(100, 300), 0xFF0000u);
    }
    // Each entry stays its wait: the step comes with the first frame past 200 ms.
    ASSERT_GE(steps.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(steps[i].second, int(i % 2 == 0 ? 1 : 0));
        EXPECT_NEAR(int(steps[i].first), int(208 * (i + 1)), 16);
    }
}

TEST_F(AnimationTest, PauseHoldsThePictureAndPlayWaitsTheFullEntryAgain)
{
    startSequence();
    frames(5);
    script("@anime_pause\n@wait 100000\n");
    dx->scriptState.waitActive = 0;
    frame();
    const int held = dx->scene.animation.current;
    for (int i = 0; i < 40; ++i) {
        frame();
        ASSERT_EQ(dx->scene.animation.current, held);
    }
    dx->scriptState.waitActive = 0;
    script("@anime_play\n@wait 100000\n");
    frame();
    const uint32_t played = now_;
    while (dx->scene.animation.current == held && now_ - played < 1000)
        frame();
    EXPECT_NEAR(int(now_ - played), 208, 16);
}

TEST_F(AnimationTest, StopHidesTheAnimationAndInitClearsItsGroups)
{
    startSequence("@wait 160\n@anime_stop\n");
    EXPECT_EQ(pixel(400, 300), 0x00FF00u);
    frames(20);
    EXPECT_FALSE(dx->scene.animation.running);
    EXPECT_EQ(pixel(400, 300), 0xFF0000u);
    EXPECT_FALSE(dx->scene.groups[1].visible);
    EXPECT_FALSE(dx->scene.groups[2].visible);
    EXPECT_EQ(dx->scene.groups[1].position, 2);
    EXPECT_EQ(dx->scene.groups[2].position, 2);
}

TEST_F(AnimationTest, PicturesGoToGroupsOneAndTwo)
{
    script("@anime_init\n@anime_load 3,white.png\n@anime_load 2,missing.png\n");
    frames(20);
    EXPECT_TRUE(runLog().contains("@anime_load. ANIME_NO(3) [CHR(2) BUFFER(1)] : white.png\n"));
    EXPECT_EQ(dx->scene.groups[2].name[1], "white.png");
    EXPECT_TRUE(runLog().contains("@anime_load failed. ANIME_NO(2) [CHR(2) BUFFER(0)] : missing.png\n"));
    EXPECT_TRUE(dx->scene.groups[2].name[0].empty());
    for (int g = 1; g <= 2; ++g)
        for (int ch = 0; ch < 2; ++ch)
            EXPECT_EQ(dx->scene.groups[size_t(g)].sprites[size_t(ch)][0].alpha[0], 0);
}

TEST_F(AnimationTest, BadCommandsChangeNothingAndSayWhy)
{
    struct Case {
        const char* script;
        const char* message;
    } cases[] = {
        {"@anime_set 0,0,100\n@anime_set 1,-1,0\n@anime_start\n", "'@anime_start ' :　コマンド引数に問題があります。"},
        {"@anime_init\n@anime_set 0,0,100\n@anime_set 31,1,100\n@anime_start\n",
         "'@anime_start ' :　コマンド引数に問題があります。"},
        {"@anime_init\n@anime_set 32,0,100\n", "'@anime_set 32,0,100' :　コマンド引数に問題があります。"},
        {"@anime_init\n@anime_set -1,0,100\n", "'@anime_set -1,0,100' :　コマンド引数に問題があります。"},
        {"@anime_init\n@anime_set 5\n", "@anim_set failed : [引数エラー] : @anime_set 5 \n"},
        {"@anime_init\n@anime_load 4,white.png\n", "'@anime_load 4,white.png' :　コマンド引数に問題があります。"},
        {"@anime_init\n@anime_load white.png\n", "'@anime_load white.png' :　コマンド引数に問題があります。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        runLog().clear();
        resetAnimation(dx->scene);
        script(c.script);
        frames(12);
        EXPECT_TRUE(runLog().contains(platform::utf8ToSjis(c.message)));
        EXPECT_FALSE(dx->scene.animation.running);
        for (const AnimationEntry& e : dx->scene.animation.table) {
            if (&e - dx->scene.animation.table.data() > 1 && &e - dx->scene.animation.table.data() != 31) {
                EXPECT_EQ(e.pattern, 0);
            }
        }
        EXPECT_EQ(dx->scene.groups[1].name[0], "");
    }
    EXPECT_EQ(logCount("@anime_set : No["), 0u);
}

TEST_F(AnimationTest, SetLogsEachEntryAndAStepPastTheTableWrapsToTheStart)
{
    script("@anime_init\n@anime_set 30,1,50\n@anime_set 31,-1,0\n@anime_set 0,0,50\n");
    frames(2);
    EXPECT_TRUE(runLog().contains("@anime_set : No[30]Pat[1]Wait[50]\n"));
    EXPECT_TRUE(runLog().contains("@anime_set : No[31]Pat[-1]Wait[0]\n"));
    // A table changed under a running animation cannot walk it past entry 31.
    AnimationState& a = dx->scene.animation;
    a.current = 31;
    a.table[31].pattern = 2;
    a.running = true;
    a.lastStep = now_;
    frame();
    EXPECT_EQ(a.current, 0);
}
