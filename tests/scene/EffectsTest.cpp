// Screen effects on the headless clock: the shake and its bar, the white and black fades,
// "@sfx" starts and refusals, the effect-speed table across the presentation timers, and
// the bad input of the effect commands.
#include "SceneFixture.h"

#include "platform/Text.h"

#include <map>
#include "scene/EffectCommands.h"

namespace {

uint64_t backBufferHash(const platform::Surface& bb)
{
    uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < bb.height(); ++y) {
        const uint8_t* row = bb.data() + size_t(y) * size_t(bb.pitch());
        for (int x = 0; x < bb.width() * 4; ++x)
            if (x % 4 != 3)
                h = (h ^ row[x]) * 1099511628211ull;
    }
    return h;
}

} // namespace

class EffectsTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        ASSERT_TRUE(loadBackground(*dx, 1, "red.png"));
        dx->scene.bg.current = 1;
        runLog().clear();
    }
    uint64_t hash() { return backBufferHash(*dx->display.directDraw()->backBuffer()); }
    bool black(int x, int y) { return pixel(x, y) == 0; }
};

TEST_F(EffectsTest, ShakeFallsFromEightToNothingWithTheWaveArithmetic)
{
    script("@effect_quake ver,1000\n");
    // The n-th frame shakes by the offset of elapsed = 16 (n - 1).
    const std::map<int, int> expected = {{1, 8}, {2, 7}, {26, -4}, {32, 3}, {51, 1}, {63, 0}};
    int n = 0;
    while (n < 70) {
        frame();
        ++n;
        auto it = expected.find(n);
        if (it != expected.end()) {
            SCOPED_TRACE(n);
            EXPECT_EQ(dx->scene.shakeY, it->second);
            EXPECT_EQ(dx->scene.shakeX, 0);
        }
        EXPECT_LE(std::abs(dx->scene.shakeY), 8);
    }
    EXPECT_FALSE(dx->scene.presentationBusy);
    EXPECT_FALSE(dx->scene.shake.active);
    EXPECT_EQ(dx->scene.shakeY, 0);
    EXPECT_EQ(dx->gameState, GameState::Ready);
}

TEST_F(EffectsTest, ShakeLastsItsTimeWhateverTheSpeedOrSkip)
{
    for (int speed : {0, 1, 2}) {
        SCOPED_TRACE(speed);
        dx->config.effectSpeed = speed;
        holdCtrl();
        script("@effect_quake hor,480\n");
        EXPECT_NEAR(measureBusy(), 480, 16);
    }
}

TEST_F(EffectsTest, TheBarCoversTheEdgeTheShakeUncovers)
{
    // A cut-in at the top left is not shaken: only the bar can cover it.
    ASSERT_TRUE(loadCutin(*dx, 0, "cut.png"));
    dx->scene.cutinShown = 0;
    dx->scene.cutinVisible = true;
    dx->scene.cutinX = 0;
    dx->scene.cutinY = 0;

    script("@effect_quake ver,1000\n");
    frame(); // offset +8: the picture moved down, rows 0-7 uncovered
    ASSERT_EQ(dx->scene.shakeY, 8);
    EXPECT_TRUE(black(50, 0));
    EXPECT_TRUE(black(50, 7));
    EXPECT_EQ(pixel(50, 8), 0xFFFF00u); // the cut-in below the bar
    EXPECT_EQ(pixel(400, 8), 0xFF0000u);
    EXPECT_EQ(pixel(400, 599), 0xFF0000u);
    frames(25); // offset -4: the bottom four rows
    ASSERT_EQ(dx->scene.shakeY, -4);
    EXPECT_EQ(pixel(400, 0), 0xFF0000u);
    EXPECT_EQ(pixel(400, 595), 0xFF0000u);
    EXPECT_TRUE(black(400, 596));
    EXPECT_TRUE(black(400, 599));
    untilIdle();

    script("@effect_quake hor,1000\n");
    frame();
    ASSERT_EQ(dx->scene.shakeX, 8);
    EXPECT_TRUE(black(0, 50));
    EXPECT_TRUE(black(7, 50));
    EXPECT_EQ(pixel(8, 50), 0xFFFF00u);
    EXPECT_EQ(pixel(8, 300), 0xFF0000u);
    frames(25);
    ASSERT_EQ(dx->scene.shakeX, -4);
    EXPECT_TRUE(black(796, 300));
    EXPECT_EQ(pixel(795, 300), 0xFF0000u);
    untilIdle();
    frame();
    EXPECT_EQ(pixel(50, 0), 0xFFFF00u); // no bar once the shake is over
    EXPECT_EQ(pixel(799, 300), 0xFF0000u);
}

TEST_F(EffectsTest, WhiteOutThenWhiteInLeavesThePictureIntact)
{
    script("@wait 32\n@effect_white_out 320\n@wait 480\n@effect_white_in 320\n@wait 100000\n");
    frames(2);
    const uint64_t before = hash();
    while (!dx->scene.overlay.active)
        frame();
    frames(10); // 160 of 320 ms: half way to white
    const uint32_t half = pixel(400, 300);
    EXPECT_EQ(half >> 16, 0xFFu);
    EXPECT_NEAR(int((half >> 8) & 0xFF), 128, 20);
    untilIdle();
    // White until the "in", over everything.
    for (int i = 0; i < 20; ++i) {
        frame();
        EXPECT_EQ(pixel(400, 300), 0xFFFFFFu);
        EXPECT_EQ(pixel(0, 599), 0xFFFFFFu);
    }
    while (dx->scene.overlay.kind != OverlayKind::WhiteIn)
        frame();
    untilIdle();
    frame();
    EXPECT_FALSE(dx->scene.overlay.active);
    EXPECT_EQ(hash(), before);
}

TEST_F(EffectsTest, OutKindsStayUpAndDoNotCutShortTheEffectsUnderThem)
{
    for (const char* out : {"@effect_white_out", "@effect_black_out"}) {
        SCOPED_TRACE(out);
        const uint32_t colour = std::string(out).find("white") != std::string::npos ? 0xFFFFFFu : 0u;
        dx->scriptState.waitActive = 0;
        script(std::string(out) + " 96\n@chr_fade_in 0,320\n@bg_load blue.png\n@bg_change 160\n@wait 100000\n");
        EXPECT_NEAR(measureBusy(), 96, 16);
        // The effects under the colour take their own time.
        EXPECT_NEAR(measureBusy(), 320, 16);
        EXPECT_NEAR(measureBusy(2), 160, 16);
        frames(5);
        EXPECT_TRUE(dx->scene.overlay.active);
        EXPECT_EQ(pixel(400, 300), colour);
        EXPECT_EQ(pixel(10, 10), colour);
        resetScreenEffects(dx->scene);
        ASSERT_TRUE(loadBackground(*dx, 1 - dx->scene.bg.current, "red.png"));
    }
}

TEST_F(EffectsTest, FadeOfTimeZeroOrLessEndsAtTheNextFrame)
{
    for (const char* arg : {"0", "-300", ""}) {
        SCOPED_TRACE(arg);
        script(std::string("@effect_black_in ") + arg + "\n@wait 100000\n");
        EXPECT_LE(measureBusy(), 16);
        EXPECT_FALSE(dx->scene.overlay.active);
    }
}

// Each timer's duration under the effect-speed option, Ctrl and ending mode.
TEST_F(EffectsTest, EveryPresentationTimerFollowsTheSpeedTable)
{
    struct Condition {
        const char* name;
        int effectSpeed;
        bool ctrl, ending;
    };
    const Condition conditions[] = {{"standard", 0, false, false}, {"double", 1, false, false},
                                    {"off", 2, false, false},      {"ctrl", 0, true, false},
                                    {"ending double", 1, false, true}, {"ending off+ctrl", 2, true, true}};
    struct Row {
        const char* command;
        int expected[6];
    };
    const Row rows[] = {
        {"@bg_change 480", {480, 240, 0, 0, 480, 480}},
        {"@bg_scroll up,480", {480, 240, 0, 0, 240, 0}},
        {"@chr_fade_in 0,480", {480, 240, 0, 0, 480, 480}},
        {"@effect_white_in 480", {480, 240, 480, 480, 240, 480}},
        {"@effect_quake ver,480", {480, 480, 480, 480, 480, 480}},
    };
    for (const Row& row : rows) {
        for (size_t c = 0; c < 6; ++c) {
            const Condition& cond = conditions[c];
            SCOPED_TRACE(testing::Message() << row.command << " / " << cond.name);
            dx->config.effectSpeed = cond.effectSpeed;
            dx->scriptState.endingMode = cond.ending;
            if (cond.ctrl)
                holdCtrl();
            else
                backend.input.keyUp(DIK_LCONTROL);
            script(std::string(row.command) + "\n@wait 100000\n");
            EXPECT_NEAR(measureBusy(), row.expected[c], 24);
            EXPECT_EQ(dx->gameState, GameState::Ready);
        }
    }
}

TEST_F(EffectsTest, FlashesAreNotStartedUnderCtrlOrWithEffectsOff)
{
    struct Case {
        int effectSpeed;
        bool ctrl;
        bool starts;
    } cases[] = {{0, false, true}, {1, false, true}, {2, false, false}, {0, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.effectSpeed << c.ctrl);
        resetScreenEffects(dx->scene);
        dx->config.effectSpeed = c.effectSpeed;
        if (c.ctrl)
            holdCtrl();
        else
            backend.input.keyUp(DIK_LCONTROL);
        script("@sfx 5\n");
        frame();
        EXPECT_EQ(dx->scene.effects.active, c.starts);
        if (c.starts) {
            EXPECT_EQ(dx->scene.effects.type, SpecialEffectType::Flashes);
        }
    }
}

TEST_F(EffectsTest, FlashesRiseAndFallThenEnd)
{
    ASSERT_TRUE(loadCharacter(*dx, 0, 1, "white.png"));
    script("@sfx 5\n");
    frame();
    frames(6); // the first flash has risen for 96 ms: a white picture added at value / 4
    EXPECT_GT(pixel(100, 200) & 0xFF, 0x60u);
    EXPECT_EQ(pixel(100, 200) >> 16, 0xFFu);
    EXPECT_EQ(pixel(700, 200), 0xFF0000u); // outside the 512 x 512 quad
    frames(100);
    EXPECT_FALSE(dx->scene.effects.active);
    EXPECT_EQ(pixel(100, 200), 0xFF0000u);
}

TEST_F(EffectsTest, FlashZoomBlocksThenHidesEveryCharacterGroup)
{
    ASSERT_TRUE(loadCharacter(*dx, 0, 1, "white.png"));
    for (CharacterGroup& g : dx->scene.groups)
        g.visible = true;
    script("@sfx 0\n@wait 100000\n");
    frame();
    EXPECT_TRUE(dx->scene.presentationBusy);
    frames(3); // the red record zooms from 2.5 times over the whole screen
    EXPECT_EQ(pixel(400, 300), 0xFF0000u);
    EXPECT_GT(untilIdle(), 600);
    for (const CharacterGroup& g : dx->scene.groups)
        EXPECT_FALSE(g.visible);
    for (int i = 0; i < 4; ++i) {
        const CSprite& s = dx->scene.groups[0].sprites[1][size_t(i)];
        EXPECT_EQ(s.blend, SpriteBlend::Normal);
        EXPECT_EQ(s.alpha[0], 255);
        EXPECT_EQ(s.colour[0], 0xFFFFFFu);
    }
    EXPECT_EQ(dx->gameState, GameState::Ready);
}

TEST_F(EffectsTest, SparkSetsFillTheRingOfTenAndEndWhenAllAreDead)
{
    script("@sfx 1\n@sfx 2\n@sfx 3\n");
    frames(3);
    SpecialEffects& e = dx->scene.effects;
    EXPECT_EQ(e.sparkRing, 3);
    EXPECT_EQ(e.type, SpecialEffectType::Sparks);
    EXPECT_FALSE(dx->scene.presentationBusy); // sparks never hold the script
    resetScreenEffects(dx->scene);
    e.sparkRing = 9;
    script("@sfx 1\n");
    frame();
    EXPECT_EQ(e.sparkRing, 0);
    EXPECT_TRUE(e.active);
    frames(120); // the longest life is 2000 ms
    EXPECT_FALSE(e.active);
}

TEST_F(EffectsTest, StripSetsFillTheRingOfElevenAndFade)
{
    ASSERT_TRUE(loadCharacter(*dx, 0, 1, "white.png"));
    SpecialEffects& e = dx->scene.effects;
    std::string s;
    for (int i = 0; i < 12; ++i)
        s += "@sfx 4\n";
    script(s);
    frames(12);
    EXPECT_EQ(e.stripRing, 1); // twelve starts: round the ring once and one more
    frames(20);
    EXPECT_FALSE(e.active);
}

TEST_F(EffectsTest, NumbersOutsideZeroToSevenAreIgnored)
{
    script("@sfx 8\n@sfx -1\n@sfx 100\n@exit\n");
    frames(3);
    EXPECT_FALSE(dx->scene.effects.active);
    EXPECT_FALSE(dx->scene.presentationBusy);
    EXPECT_EQ(logCount("error"), 0u);
    frame();
    EXPECT_TRUE(runLog().contains("Starting QUIZ MODE\n")); // each one ended its frame
}

TEST_F(EffectsTest, WeatherStartsStopsAndIsRecordedForSaving)
{
    SpecialEffects& e = dx->scene.effects;
    script("@sfx 6 7\n@sfx 6 0\n@sfx 7,3\n@sfx 7 0\n@sfx 6 2\n@sfx 1\n");
    frame();
    EXPECT_TRUE(e.weatherActive);
    EXPECT_EQ(e.weatherKind, 4);
    EXPECT_EQ(e.weatherStrength, 7);
    EXPECT_EQ(e.rain[0].size() + e.rain[1].size() + e.rain[2].size(), 336u);
    frame();
    EXPECT_FALSE(e.weatherActive);
    EXPECT_FALSE(e.active);
    frame();
    EXPECT_EQ(e.weatherKind, 5);
    EXPECT_EQ(e.weatherStrength, 3);
    EXPECT_EQ(e.petals.size(), 192u);
    frame();
    EXPECT_FALSE(e.weatherActive);
    frame();
    EXPECT_EQ(e.weatherKind, 4);
    frame(); // sparks take the weather's place
    EXPECT_FALSE(e.weatherActive);
    EXPECT_EQ(e.type, SpecialEffectType::Sparks);

    // A loaded game restarts its weather; nonsense from a damaged save is tamed or refused.
    restartWeather(*dx, 5, 7);
    EXPECT_EQ(e.petals.size(), 448u);
    EXPECT_TRUE(e.weatherActive);
    restartWeather(*dx, 4, 1000);
    EXPECT_EQ(e.weatherStrength, 7);
    restartWeather(*dx, 3, 2);
    EXPECT_FALSE(e.weatherActive);
    EXPECT_FALSE(e.active);
    restartWeather(*dx, 4, 0);
    EXPECT_FALSE(e.weatherActive);
}

TEST_F(EffectsTest, RainDrawsFaintStreaksAndPetalsAddColour)
{
    ASSERT_TRUE(loadBackground(*dx, 1, "blue.png"));
    script("@sfx 6 7\n");
    frames(40);
    int changed = 0;
    for (int x = 0; x < 800; x += 2)
        changed += pixel(x, 300) != 0x0000FFu;
    EXPECT_GT(changed, 20); // light streaks over the blue
    script("@sfx 6 0\n@sfx 7 7\n");
    frames(150); // the petals leave after their first flight and come back after their delays
    int reddish = 0;
    for (int i = 0; i < 10; ++i) {
        frame();
        for (int y = 0; y < 600; y += 2)
            for (int x = 0; x < 800; x += 2)
                reddish += (pixel(x, y) >> 16) > 0x30;
    }
    EXPECT_GT(reddish, 20);
}

TEST_F(EffectsTest, RunsWithTheSameScriptDrawTheSamePictures)
{
    auto play = [&] {
        resetScreenEffects(dx->scene);
        dx->scene.effects.random.seed(1);
        script("@sfx 1\n@sfx 6 5\n");
        std::vector<uint64_t> hashes;
        for (int i = 0; i < 30; ++i) {
            frame();
            hashes.push_back(hash());
        }
        return hashes;
    };
    const auto first = play();
    EXPECT_EQ(play(), first);
    EXPECT_NE(first[5], first[20]);
}

TEST_F(EffectsTest, BadInputStartsNothingAndSaysWhy)
{
    struct Case {
        const char* line;
        const char* message;
    } cases[] = {
        {"@effect_quake ver,0", "'@effect_quake ver,0' :　数値が異常です"},
        {"@effect_quake ver,-50", "'@effect_quake ver,-50' :　数値が異常です"},
        {"@effect_quake ver", "'@effect_quake ver' :　コマンド引数に問題があります。"},
        {"@sfx 6\n@exit", "'@sfx 6' :　数値が異常です"},
        {"@sfx 7 99", "'@sfx 7' :　数値が異常です"},
        {"@sfx 7 -2", "'@sfx 7' :　数値が異常です"},
        {"@sfx 6 heavy", "'@sfx 6' :　数値が異常です"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        runLog().clear();
        resetScreenEffects(dx->scene);
        script(std::string(c.line) + "\n");
        frames(2);
        EXPECT_TRUE(runLog().contains(platform::utf8ToSjis(c.message)));
        EXPECT_FALSE(dx->scene.shake.active);
        EXPECT_FALSE(dx->scene.effects.active);
        EXPECT_FALSE(dx->scene.presentationBusy);
        EXPECT_EQ(dx->gameState, GameState::Ready);
    }
}
