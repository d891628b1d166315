// The typing screen as the player meets it: keys, time, lives, giving up, the banners and
// the two ways back into the scenario.
#include "TypingFixture.h"

#include "core/RunLog.h"

#include <gtest/gtest.h>

namespace {

const char* kOneLine = "@window show\n@mes_sys はじめ\n@type\n{\n星が降る\nほしがふる\nHOSIGAHURU\n}\n@finish\n";

std::string lines(int n)
{
    std::string s = "@window show\n";
    for (int i = 0; i < n; ++i)
        s += "@type\n{\n鐘\nかね\nKANE\n}\n";
    return s + "@finish\n";
}

} // namespace

TEST_F(TypingScreenTest, TypingTheLineClearsItAndFinishLoadsTheClearScript)
{
    start(kOneLine);
    EXPECT_EQ(t().Lives, 5);
    ASSERT_TRUE(until(TypingState::Typing));
    EXPECT_TRUE(t().HudShown);
    EXPECT_EQ(platform::sjisToUtf8(std::string(t().MessageText.view())), "はじめ");
    EXPECT_EQ(t().line.TimeLeft, 20000 - 16) << "the line starts in the logic phase, the clock runs in the draw";

    type("HOSHIGAFURU");
    const TypingLine& l = t().line;
    EXPECT_TRUE(l.LineDone);
    EXPECT_TRUE(l.ShowClear);
    EXPECT_EQ(l.MistypeCount, 0);
    EXPECT_EQ(l.ClearStreak, 1);
    EXPECT_EQ(std::string(l.TypedHistory.view()), "HOSHIGAFURU");
    EXPECT_EQ(l.Score, 11 * 300 + l.TimeAtEnd / 100 * 100 + 50000);
    EXPECT_LT(l.TimeAtEnd, 20000);
    EXPECT_GT(l.TimeAtEnd, 19000);
    EXPECT_TRUE(dx->sound.systemSounds[2].isPlaying()) << "the accepted-key sound";
    EXPECT_EQ(dx->sound.systemSounds[2].name(), "MsgType.wav");

    // The clear banner for a second, then the script goes on past the block to "@finish".
    ASSERT_TRUE(until(TypingState::RunningScript, 100));
    for (int i = 0; i < 10 && dx->screenState == ScreenState::Typing; ++i)
        frame();
    EXPECT_EQ(dx->screenState, ScreenState::Game);
    EXPECT_TRUE(logged("Load Script [t_clear]"));
    EXPECT_EQ(dx->script.scriptName(), "t_clear");
    EXPECT_EQ(dx->gameState, GameState::Ready);
    EXPECT_EQ(dx->sound.systemSounds[0].name(), "SYSTEM\\ok.wav") << "the scenario's sounds are back";
    EXPECT_EQ(dx->sound.systemSounds[3].name(), "SYSTEM\\test.wav");
}

TEST_F(TypingScreenTest, QuitToOpeningLeavesLikeFinish)
{
    start("@QUIT_TO_OP\n");
    frames(3);
    EXPECT_EQ(dx->screenState, ScreenState::Game);
    EXPECT_TRUE(logged("Load Script [t_clear]"));
}

TEST_F(TypingScreenTest, ATimeOutCostsALifeAndPlaysTheTimeOutSound)
{
    start(lines(2));
    ASSERT_TRUE(until(TypingState::Typing));
    frames(39, 500); // 19.5 s
    EXPECT_FALSE(t().line.LineDone);
    EXPECT_EQ(t().Lives, 5);
    frames(2, 500);
    EXPECT_TRUE(t().line.LineDone);
    EXPECT_LT(t().line.TimeAtEnd, 0);
    EXPECT_EQ(t().Lives, 4);
    EXPECT_FALSE(t().line.ShowClear);
    EXPECT_TRUE(dx->sound.systemSounds[3].isPlaying());
    EXPECT_EQ(dx->sound.systemSounds[3].name(), "beep04.wav");
    // With lives left the script goes on to the next line.
    ASSERT_TRUE(until(TypingState::RunningScript, 10, 500));
    ASSERT_TRUE(until(TypingState::Typing));
    EXPECT_EQ(t().line.TimeLeft, 20000 - 16);
}

TEST_F(TypingScreenTest, TheFifthTimeOutEndsInGameOverAndTheGameOverScript)
{
    start(lines(6));
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(until(TypingState::Typing)) << i;
        ASSERT_TRUE(until(i < 4 ? TypingState::RunningScript : TypingState::GameOver, 60, 500)) << i;
    }
    EXPECT_EQ(t().Lives, 0);
    EXPECT_EQ(t().line.ResultTimer, 3000);
    frames(20);
    EXPECT_EQ(t().state, TypingState::GameOver) << "the banner waits for the player";

    key(DIK_RETURN);
    EXPECT_EQ(t().state, TypingState::FadeOut);
    ASSERT_TRUE(until(TypingState::RunningScript, 200));
    EXPECT_EQ(dx->screenState, ScreenState::Game);
    EXPECT_TRUE(logged("Load Script [t_gameover]"));
    EXPECT_EQ(dx->scene.bg.name[size_t(dx->scene.bg.current)], "black.png");
    EXPECT_EQ(dx->sound.systemSounds[1].name(), "SYSTEM\\cancel.wav");
    frame();
    EXPECT_EQ(pixel(400, 300), 0x000000u);
}

TEST_F(TypingScreenTest, F1GivesUpWhileTypingAndAtAKeyWait)
{
    start(kOneLine);
    ASSERT_TRUE(until(TypingState::Typing));
    key(DIK_F1);
    EXPECT_EQ(t().state, TypingState::GameOver);
    EXPECT_EQ(t().Lives, 5) << "giving up costs no life";
    key(DIK_F1);
    EXPECT_EQ(t().state, TypingState::FadeOut);

    start("@mes_chr 待って\n@keywait\n@type\n{\nあ\nあ\nA\n}\n");
    ASSERT_TRUE(until(TypingState::KeyWait));
    frames(5);
    EXPECT_EQ(t().state, TypingState::KeyWait);
    key(DIK_F1);
    EXPECT_EQ(t().state, TypingState::GameOver);
}

TEST_F(TypingScreenTest, AKeyWaitEndsWithSpaceEnterOrAClick)
{
    start("@keywait\n@keywait\n@keywait\n@wait 10000\n");
    ASSERT_TRUE(until(TypingState::KeyWait));
    key(DIK_SPACE);
    ASSERT_TRUE(until(TypingState::KeyWait));
    key(DIK_NUMPADENTER);
    ASSERT_TRUE(until(TypingState::KeyWait));
    backend.input.buttonDown(0);
    frame();
    backend.input.buttonUp(0);
    frame();
    EXPECT_EQ(t().state, TypingState::RunningScript);
    for (int i = 0; i < 4 && !t().WaitActive; ++i)
        frame();
    EXPECT_TRUE(t().WaitActive);
}

TEST_F(TypingScreenTest, ThreeMistypesCostNoLifeAndShowNoBanner)
{
    start(kOneLine);
    ASSERT_TRUE(until(TypingState::Typing));
    type("QQQHOSIGAHURU");
    EXPECT_TRUE(t().line.LineDone);
    EXPECT_EQ(t().line.MistypeCount, 3);
    EXPECT_FALSE(t().line.ShowClear);
    EXPECT_EQ(t().line.ClearStreak, 0);
    EXPECT_EQ(t().Lives, 5);
    EXPECT_EQ(t().Accuracy, 100 - 3 * 100 / 13);
    EXPECT_TRUE(dx->sound.systemSounds[1].isPlaying() || dx->sound.systemSounds[1].name() == "beep02.wav");
    ASSERT_TRUE(until(TypingState::RunningScript, 100));
}

TEST_F(TypingScreenTest, AConfirmationBoxStopsTheClockAndTakesTheKeys)
{
    start(kOneLine);
    ASSERT_TRUE(until(TypingState::Typing));
    frames(10);
    const int32_t left = t().line.TimeLeft;
    dx->confirmOpen = true;
    frames(100, 100);
    type("HOSI");
    key(DIK_F1);
    EXPECT_EQ(t().line.TimeLeft, left);
    EXPECT_EQ(t().line.KeystrokeCount, 0);
    EXPECT_EQ(t().state, TypingState::Typing);
    dx->confirmOpen = false;
    frames(2);
    EXPECT_EQ(t().line.TimeLeft, left - 32);
}

TEST_F(TypingScreenTest, WindowAndBgLoadRunOnIntoTheNextCommandOtherTokensTakeAFrame)
{
    // On one line: no line end between them.
    start("@window show @bg_load bg.png @mes_sys 一\n@mes_chr 二\n");
    runLog().clear();
    runTypingScript(*dx);
    EXPECT_TRUE(t().HudShown);
    EXPECT_EQ(dx->scene.bg.name[size_t(1 - dx->scene.bg.current)], "bg.png");
    EXPECT_TRUE(logged("@bg_load. channel1 : bg.png"));
    EXPECT_EQ(platform::sjisToUtf8(std::string(t().MessageText.view())), "一");
    runTypingScript(*dx); // the line end after "@mes_sys"
    EXPECT_EQ(platform::sjisToUtf8(std::string(t().MessageText.view())), "一");
    auto turnsUntilMessage = [&](const char* utf8) {
        int turns = 1;
        for (runTypingScript(*dx); turns < 5 && platform::sjisToUtf8(std::string(t().MessageText.view())) != utf8; ++turns)
            runTypingScript(*dx);
        return turns;
    };
    EXPECT_EQ(turnsUntilMessage("二"), 2) << "the rest of the line end, then the command";
    EXPECT_EQ(t().messageColour, 0xDFD);

    // A line end after "@window" ends the turn like any token.
    start("@window show\n@mes_sys 三\n");
    t().MessageText.clear();
    runTypingScript(*dx);
    EXPECT_TRUE(t().HudShown);
    EXPECT_EQ(t().MessageText.size(), 0u);
    EXPECT_EQ(turnsUntilMessage("三"), 2);
}

TEST_F(TypingScreenTest, ABackgroundChangeHoldsTheScriptUntilItEnds)
{
    start("@bg_load bg.png\n@bg_change 300\n@mes_sys 済\n");
    ASSERT_TRUE(until(TypingState::BackgroundWait));
    EXPECT_TRUE(dx->scene.presentationBusy);
    EXPECT_EQ(t().MessageText.size(), 0u);
    ASSERT_TRUE(until(TypingState::RunningScript, 40));
    frames(4);
    EXPECT_EQ(platform::sjisToUtf8(std::string(t().MessageText.view())), "済");
    EXPECT_EQ(pixel(10, 10), 0x3060C0u) << "the typing background is shown";
}

TEST_F(TypingScreenTest, BadScriptsAreLoggedAndNeverCrash)
{
    struct Case {
        const char* what;
        const char* script;
        const char* logLine;
    };
    const Case cases[] = {
        {"no brace", "@type\n星\n", "not found { in @type"},
        {"block cut short", "@type\n{\n星\nほし\n", "nor found } in @text"},
        {"end of script", "@mes_sys a\n", "SCRIPT : Find Script EOF. Script HALT."},
    };
    for (const Case& c : cases) {
        start(c.script);
        frames(12);
        EXPECT_EQ(logCount(c.logLine), 1u) << c.what;
        EXPECT_EQ(logCount("SCRIPT : Find Script EOF. Script HALT."), 1u) << c.what << ": logged once";
        EXPECT_TRUE(t().halted) << c.what;
        EXPECT_EQ(dx->screenState, ScreenState::Typing) << c.what;
    }
}

TEST_F(TypingScreenTest, AMissingTypingScriptIsLoggedAndHalts)
{
    start("", false);
    EXPECT_EQ(dx->screenState, ScreenState::Typing);
    frames(3);
    EXPECT_TRUE(t().halted);
    runLog().clear();
    ASSERT_TRUE(dx->script.loadFromBytes("start.scp", std::string("@type_start none\r\n")));
    dx->screenState = ScreenState::Game;
    frame();
    EXPECT_TRUE(logged("ERROR: Load fail [TYPE\\none]"));
}

TEST_F(TypingScreenTest, KanjiInTheReadingCanOnlyTimeOut)
{
    start("@type\n{\n星\n星\nHOSI\n}\n@finish\n");
    ASSERT_TRUE(until(TypingState::Typing));
    type("HOSI");
    EXPECT_EQ(t().line.MistypeCount, 4);
    EXPECT_FALSE(t().line.LineDone);
    ASSERT_TRUE(until(TypingState::RunningScript, 60, 500));
    EXPECT_EQ(t().Lives, 4);
}

TEST_F(TypingScreenTest, OverlongTokensAreCutOnACharacterWithALogLine)
{
    std::string longKana;
    for (int i = 0; i < 70; ++i)
        longKana += "か";
    std::string longMessage;
    for (int i = 0; i < 40; ++i)
        longMessage += "あ";
    start("@mes_sys " + longMessage + "\n@type\n{\n長\n" + longKana + "\nKA\n}\n");
    ASSERT_TRUE(until(TypingState::Typing));
    EXPECT_EQ(t().MessageText.size(), 62u);
    EXPECT_EQ(t().line.KanaText.size(), 126u);
    EXPECT_EQ(logCount("text longer than 63 bytes cut"), 1u);
    EXPECT_EQ(logCount("text longer than 127 bytes cut"), 1u);
}
