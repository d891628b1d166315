#include "SoundFixture.h"
#include "input/KeyCodes.h"
#include "script/Interpreter.h"

// The sound commands as a scenario runs them.
class SoundScriptTest : public SoundTest {
protected:
    void SetUp() override
    {
        SoundTest::SetUp();
        ASSERT_TRUE(dx->input.create(backend.services.input));
        onGameScreen();
        dx->applyDefaultConfig();
        ASSERT_TRUE(dx->startSound());
        writeSine("BGM/theme.ogg", 30000.0 / 44100.0);
        writeSine("SE/door.ogg", 30000.0 / 44100.0);
    }
    void script(const std::string& text) { ASSERT_TRUE(dx->script.loadFromBytes("test", text)); }
    void holdCtrl()
    {
        backend.input.keyDown(DIK_RCONTROL);
        dx->input.pollKeyboard();
    }
};

TEST_F(SoundScriptTest, LoadsPauseTheSceneAndPlaysRunOn)
{
    script("@bgm_load theme.ogg\r\n@bgm play\r\n@se_load 3,door.ogg\r\n@se 3,play,loop\r\n@wait 10\r\n");
    runScript(*dx);
    EXPECT_TRUE(dx->updateHoldActive);
    EXPECT_EQ(dx->updateHoldFrames, 5);
    EXPECT_TRUE(runLog().contains("BGM loaded.. [theme.ogg](DISK 0ms)\n"));
    EXPECT_FALSE(dx->sound.bgm.isPlaying());

    dx->updateHoldActive = false;
    runScript(*dx); // "@bgm play" runs on into "@se_load", which ends the frame
    EXPECT_TRUE(dx->sound.bgm.isPlaying());
    EXPECT_TRUE(dx->sound.bgmLooping());
    EXPECT_TRUE(runLog().contains("SE loaded.. [3,door.ogg](DISK 0ms)\n"));
    EXPECT_TRUE(dx->updateHoldActive);

    runScript(*dx);
    EXPECT_TRUE(dx->sound.sePlaying()[3]);
    EXPECT_TRUE(dx->sound.seLooping()[3]);
    EXPECT_EQ(dx->scriptState.waitActive, 1);
}

TEST_F(SoundScriptTest, AFailedEffectLoadEndsTheFrameWithoutPausing)
{
    script("@se_load 2,none.ogg\r\n@wait 10\r\n");
    runScript(*dx);
    EXPECT_FALSE(dx->updateHoldActive);
    EXPECT_TRUE(runLog().contains("@se_load failed. none.ogg\n"));
    EXPECT_EQ(dx->scriptState.waitActive, 0);
}

TEST_F(SoundScriptTest, ChannelsOutsideZeroToSevenAreArgumentErrors)
{
    script("@se_load 8,door.ogg\r\n@se 9,play\r\n@se_fade -1,out,1\r\n@wait 10\r\n");
    runScript(*dx);
    runScript(*dx);
    const std::string msg = SJ("(test.SCP)1行目 : error : '@se_load 8,door.ogg' :　コマンド引数に問題があります。\n");
    size_t errors = 0;
    for (const std::string& line : runLog().lines())
        errors += line.find(SJ("コマンド引数に問題があります。")) != std::string::npos;
    EXPECT_EQ(errors, 3u);
    EXPECT_TRUE(runLog().contains(msg));
    for (int ch = 0; ch < 8; ++ch)
        EXPECT_FALSE(dx->sound.se[size_t(ch)].hasFile());
}

TEST_F(SoundScriptTest, WithCtrlHeldFadesStopAtOnce)
{
    dx->sound.bgmLoadCommand("theme.ogg");
    dx->sound.bgmCommand("play");
    dx->sound.seLoadCommand("1,door.ogg");
    dx->sound.seCommand("1,play");
    script("@bgm_fade out,1\r\n@se_fade 1,out,1\r\n@wait 10\r\n");
    holdCtrl();
    runScript(*dx);
    EXPECT_FALSE(dx->sound.bgm.isPlaying());
    EXPECT_FALSE(dx->sound.se[1].isPlaying());
    EXPECT_FALSE(dx->sound.bgmPlaying());
    EXPECT_FALSE(dx->sound.sePlaying()[1]);
}

TEST_F(SoundScriptTest, UnderAutoModeFadesStopAtOnce)
{
    dx->sound.bgmLoadCommand("theme.ogg");
    dx->sound.bgmCommand("play");
    dx->sound.seLoadCommand("1,door.ogg");
    dx->sound.seCommand("1,play");
    dx->messageWindow.autoMode = 1;
    script("@bgm_fade out,2\r\n@se_fade 1,out,2\r\n@wait 10\r\n");
    runScript(*dx);
    EXPECT_FALSE(dx->sound.bgm.isPlaying());
    EXPECT_FALSE(dx->sound.se[1].isPlaying());
}

// Channel numbers are read as every number of the script is (leading digits, none is 0), and a
// fade without its type field is an argument error that touches nothing.
TEST_F(SoundScriptTest, ChannelNumbersTakeTheLeadingDigitsAndFadesNeedEveryField)
{
    dx->sound.bgmLoadCommand("theme.ogg");
    dx->sound.bgmCommand("play");
    script("@se_load 3x,door.ogg\r\n@se 3x,play\r\n@se_load x,door.ogg\r\n@se x,play\r\n"
           "@bgm_fade out\r\n@se_fade 3,out\r\n@wait 10\r\n");
    for (int i = 0; i < 4; ++i)
        runScript(*dx);
    EXPECT_TRUE(dx->sound.se[3].isPlaying());
    EXPECT_TRUE(dx->sound.se[0].isPlaying());
    EXPECT_TRUE(runLog().contains(SJ("(test.SCP)5行目 : error : '@bgm_fade out' :　コマンド引数に問題があります。\n")));
    EXPECT_TRUE(runLog().contains(SJ("(test.SCP)6行目 : error : '@se_fade 3,out' :　コマンド引数に問題があります。\n")));
    EXPECT_TRUE(dx->sound.bgm.isPlaying());
    EXPECT_FALSE(dx->sound.bgm.isFading());
    EXPECT_TRUE(dx->sound.se[3].isPlaying());
    EXPECT_TRUE(dx->sound.sePlaying()[3]);
}

TEST_F(SoundScriptTest, WithoutCtrlTheMusicFades)
{
    dx->sound.bgmLoadCommand("theme.ogg");
    dx->sound.bgmCommand("play");
    script("@bgm_fade out,0\r\n@wait 10\r\n");
    runScript(*dx);
    EXPECT_TRUE(dx->sound.bgm.isFading());
    const uint32_t ms = pullUntil([&] { return !dx->sound.bgm.isPlaying(); }, 2.0);
    EXPECT_GE(ms, 600u);
    EXPECT_LE(ms, 800u);
}
