#include "../app/EngineFixture.h"

#include "platform/Text.h"
#include "script/CommandTable.h"
#include "script/GameScreen.h"
#include "script/CommandArgs.h"
#include "script/Interpreter.h"
#include "input/KeyCodes.h"
#include "tools/pkd/PackWriter.h"

#include <set>

namespace {

class InterpreterTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        // "text.dat" lives in the current directory.
        oldCwd_ = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        ASSERT_TRUE(backend.window.create(dx->title, 0, 0, 800, 600, false));
        ASSERT_TRUE(dx->Create(&backend.window, true));
        // The tests read the lines the script writes, not the start-up's complaints about
        // the interface pictures an empty folder lacks.
        runLog().clear();
        dx->windowActive = true;
        ASSERT_TRUE(dx->input.create(backend.services.input));
        onGameScreen();
        pointTo(100, 100);
    }
    void TearDown() override
    {
        std::filesystem::current_path(oldCwd_);
        EngineTest::TearDown();
    }
    void script(const std::string& text) { ASSERT_TRUE(dx->script.loadFromBytes("test.scp", text)); }
    // "system.pkd" in the current directory holding the given scripts under "SCP\\".
    void archive(std::initializer_list<std::pair<std::string, std::string>> scripts)
    {
        PackWriter w;
        for (const auto& [name, text] : scripts)
            w.addBytes("SCP\\" + name, std::vector<uint8_t>(text.begin(), text.end()));
        std::string error;
        ASSERT_TRUE(w.write(dir.file("system.pkd"), error)) << error;
        ASSERT_TRUE(dx->archive.Open("system.pkd"));
    }
    void feed(platform::HeadlessInputEvent::Kind kind, int code)
    {
        platform::HeadlessInputEvent ev;
        ev.kind = kind;
        ev.code = code;
        backend.feedInput(ev);
    }
    std::filesystem::path oldCwd_;
};

} // namespace

TEST(CommandTable, SeventyTwoUniqueCommandsInDispatchOrder)
{
    auto table = commandTable();
    ASSERT_EQ(table.size(), 72u);
    std::set<std::string_view> names;
    for (const CommandRow& row : table) {
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
        // The matcher's quick rejection relies on this.
        EXPECT_TRUE(row.substring || row.name[0] == '@' || row.name[0] == '#' || row.name[0] == ']') << row.name;
        EXPECT_EQ(findCommand(row.name), &row);
    }
    EXPECT_EQ(table[0].name, "@ending_start");
    EXPECT_EQ(table[10].name, "]");
    EXPECT_EQ(table[19].name, "@text,");
    EXPECT_EQ(table[23].name, "@wait");
    EXPECT_EQ(table[69].name, "@load");
    EXPECT_EQ(table[71].name, "@sfx");
    EXPECT_EQ(table[5].kind, CommandKind::Continue);
    EXPECT_EQ(table[46].kind, CommandKind::ContinueUnlessError);
}

TEST(CommandTable, MatchingIsExactExceptForTheTextCommand)
{
    EXPECT_EQ(findCommand("@wait")->name, "@wait");
    EXPECT_EQ(findCommand("@WAIT"), nullptr);
    EXPECT_EQ(findCommand("@wait "), nullptr);
    EXPECT_EQ(findCommand("@bg_load_ext")->name, "@bg_load_ext");
    EXPECT_EQ(findCommand("@text_cls")->name, "@text_cls");
    EXPECT_EQ(findCommand("xx@text,\"hello\"")->name, "@text,");
    EXPECT_EQ(findCommand("@text,")->name, "@text,");
    EXPECT_EQ(findCommand("#x@text,")->name, "@text,");
    EXPECT_EQ(findCommand("@text"), nullptr);
    EXPECT_EQ(findCommand("\n"), nullptr);
    EXPECT_EQ(findCommand(""), nullptr);
}

TEST_F(InterpreterTest, ContinuingCommandsRunTogetherUpToOneYield)
{
    script("#endif #endif foo #cg_quit x.png\r\n@exit\r\n@exit\r\n");
    runScript(*dx);
    EXPECT_EQ(dx->scriptState.commandsRun, 3u); // two "#endif", one "@exit"
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 1u);
    runScript(*dx);
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 2u);
    // At the end: returns at once, every time, without a word.
    size_t lines = runLog().lines().size();
    for (int i = 0; i < 3; ++i)
        runScript(*dx);
    EXPECT_EQ(runLog().lines().size(), lines);
    EXPECT_EQ(dx->script.nextToken(), "EOF");
}

TEST_F(InterpreterTest, CommandsWithoutTheirSubsystemAreSkippedSilently)
{
    script("#cg_quit 3\r\n#album_quit a b\r\n#cg_quit ] @exit\r\n");
    runScript(*dx);
    EXPECT_EQ(dx->scriptState.commandsRun, 1u);
    ASSERT_EQ(runLog().lines().size(), 1u);
    EXPECT_EQ(runLog().lines()[0], "Starting QUIZ MODE\n");
}

TEST_F(InterpreterTest, ClosingBracketOutsideAHotspotBlockIsAStrayToken)
{
    script("] ] @ending_start\r\n");
    runScript(*dx);
    EXPECT_EQ(dx->scriptState.endingMode, 1);
    EXPECT_EQ(dx->scriptState.commandsRun, 1u);
}

TEST_F(InterpreterTest, IfFindsFlagsWithoutRegardToCase)
{
    dx->unlocks.flags[8] = 1; // "03-01a"
    script("#if 03-01A @exit #endif @ending_start\r\n");
    runScript(*dx);
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 1u);
    runScript(*dx);
    EXPECT_EQ(dx->scriptState.endingMode, 1);
}

TEST_F(InterpreterTest, IfWithClearFlagSkipsToTheFirstEndifNotCountingNesting)
{
    script("#if 01-02a\r\n#if 00-01\r\n@exit\r\n#endif\r\n@test_title inner\r\n#endif\r\n@test_title outer\r\n");
    runScript(*dx);
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 0u);
    EXPECT_EQ(dx->scriptState.testTitle, "inner");
}

TEST_F(InterpreterTest, IfWithUnknownFlagLogsAndRunsTheBlock)
{
    script("#if 99-99 @exit #endif\r\n");
    runScript(*dx);
    ASSERT_EQ(runLog().lines().size(), 2u);
    EXPECT_EQ(runLog().lines()[0], "unknown such flag-name : 99-99\n");
    EXPECT_EQ(runLog().lines()[1], "Starting QUIZ MODE\n");
}

TEST_F(InterpreterTest, IfWithoutEndifRunsToTheEndOfTheScript)
{
    script("#if 00-01 @exit\r\n@exit\r\n");
    runScript(*dx);
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 0u);
    EXPECT_EQ(dx->script.nextToken(), "EOF");
}

TEST_F(InterpreterTest, MemoryFlagIsSavedAtOnce)
{
    script("@omoide_flag_set 3 @omoide_flag_set 15 @exit\r\n");
    runScript(*dx);
    std::vector<uint8_t> b = testsupport::readAll(dir.file("data.dat"));
    ASSERT_EQ(b.size(), 48u);
    for (size_t i = 0; i < 48; ++i)
        EXPECT_EQ(b[i], (i == 35 || i == 47) ? 1 : 0) << i;
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 1u); // both continued in the same call
}

TEST_F(InterpreterTest, MemoryFlagOutsideTheRecordIsAnArgumentError)
{
    script("@exit\r\n\r\n@omoide_flag_set 16 @omoide_flag_set -1 @test_title t\r\n");
    runScript(*dx);
    runLog().clear();
    runScript(*dx);
    ASSERT_EQ(runLog().lines().size(), 2u);
    EXPECT_EQ(runLog().lines()[0],
              platform::utf8ToSjis("(test.scp.SCP)2行目 : error : '@omoide_flag_set 16' :　数値が異常です\n"));
    EXPECT_EQ(runLog().lines()[1],
              platform::utf8ToSjis("(test.scp.SCP)2行目 : error : '@omoide_flag_set -1' :　数値が異常です\n"));
    EXPECT_EQ(dx->scriptState.testTitle, "t"); // went on in the same call
    EXPECT_FALSE(platform::files::exists(dir.file("data.dat")));
}

TEST_F(InterpreterTest, ArgumentErrorTexts)
{
    script("a\r\nb\r\nc\r\n");
    dx->script.nextToken();
    dx->script.nextToken();
    dx->script.nextToken();
    dx->script.nextToken(); // "b": the marker of line 2 has been read
    reportArgumentError(*dx, ArgumentError::Invalid, "@chr_load", "x");
    reportArgumentError(*dx, ArgumentError::OutOfRange02, "@chr_show", "3");
    reportArgumentError(*dx, ArgumentError::BadNumber, "@se", "q");
    ASSERT_EQ(runLog().lines().size(), 3u);
    EXPECT_EQ(runLog().lines()[0],
              platform::utf8ToSjis("(test.scp.SCP)2行目 : error : '@chr_load x' :　コマンド引数に問題があります。\n"));
    EXPECT_EQ(runLog().lines()[1],
              platform::utf8ToSjis("(test.scp.SCP)2行目 : error : '@chr_show 3' :　引数に指定できる数値は、(0-2)の間です。\n"));
    EXPECT_EQ(runLog().lines()[2], platform::utf8ToSjis("(test.scp.SCP)2行目 : error : '@se q' :　数値が異常です\n"));
    // A huge argument shortens the line instead of overrunning the buffer.
    reportArgumentError(*dx, ArgumentError::Invalid, "@chr_load", std::string(10000, 'x'));
    EXPECT_EQ(runLog().lines()[3].size(), 4096u);
}

TEST_F(InterpreterTest, WaitHoldsTheScriptForItsDrawnTime)
{
    script("@wait 100\r\n@exit\r\n");
    frame(); // runs "@wait"; the same frame's draw counts its 16 ms
    EXPECT_EQ(dx->scriptState.waitActive, 1);
    // 16 ms a frame: the draw of the seventh frame reaches 112 >= 100.
    for (int i = 0; i < 5; ++i)
        frame();
    EXPECT_EQ(dx->scriptState.waitActive, 1);
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 0u);
    frame();
    EXPECT_EQ(dx->scriptState.waitActive, 0);
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 0u);
    frame();
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 1u);
}

TEST_F(InterpreterTest, InterpreterRunsOnlyInGameStateZero)
{
    script("@exit\r\n");
    dx->gameState = GameState::PresentationWait;
    frame();
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 0u);
    dx->gameState = GameState::Ready;
    frame();
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 1u);
}

TEST_F(InterpreterTest, FpsCaptureDividesDrawnFramesByTheirTime)
{
    script("@fps_capture\r\n@wait 150\r\n@fps_capture\r\n");
    dx->scriptState.fpsResult = -1;
    frame(); // nothing drawn yet for this script: no time, no rate
    EXPECT_EQ(dx->scriptState.fpsResult, 0);
    for (int i = 0; i < 12; ++i)
        frame();
    // "@wait" ran in frame 2 and ended in frame 11 (10 x 16 = 160 >= 150); frame 12 ran
    // the capture after 11 drawn frames of 16 ms.
    EXPECT_EQ(dx->scriptState.fpsResult, 11 * 1000 / (11 * 16));
}

TEST_F(InterpreterTest, TestTitleKeepsItsToken)
{
    script(platform::utf8ToSjis("@test_title \"ベンチ 1\"\r\n"));
    runScript(*dx);
    EXPECT_EQ(dx->scriptState.testTitle, platform::utf8ToSjis("\"ベンチ 1\""));
}

TEST_F(InterpreterTest, EndingLeavesOnRightClickThroughAFade)
{
    bool titleDrawn = false;
    dx->registerScreen(ScreenState::Title, nullptr, [&](CDirectX&) { titleDrawn = true; });
    dx->readText.recordReadPosition("test.scp", 5);
    script("@ending_start\r\n@wait 100000\r\n");
    frame();
    frame();
    EXPECT_EQ(dx->scriptState.waitActive, 1);
    EXPECT_EQ(dx->gameState, GameState::Ready);

    // A right click outside the picture does nothing; inside, it starts the fade.
    using K = platform::HeadlessInputEvent::Kind;
    pointTo(900, 100);
    feed(K::ButtonDown, 1);
    frame();
    feed(K::ButtonUp, 1);
    frame();
    EXPECT_EQ(dx->gameState, GameState::Ready);
    pointTo(100, 100);
    feed(K::ButtonDown, 1);
    frame();
    feed(K::ButtonUp, 1);
    ASSERT_EQ(dx->gameState, GameState::EndingFade);
    EXPECT_EQ(dx->scriptState.endingFade, 64); // the same frame's draw already faded
    frame();
    frame();
    frame();
    EXPECT_EQ(dx->scriptState.endingFade, 256);
    EXPECT_EQ(dx->screenState, ScreenState::Game);
    frame(); // 320 > 300
    EXPECT_EQ(dx->screenState, ScreenState::Title);
    EXPECT_EQ(dx->gameState, GameState::Ready);
    EXPECT_EQ(dx->scriptState.endingMode, 0);
    EXPECT_EQ(testsupport::readAll(dir.file("text.dat")).size(), 36u); // the read text was saved
    frame();
    EXPECT_TRUE(titleDrawn);
}

TEST_F(InterpreterTest, EndingIgnoresRightClicksWhileTheWindowIsInactive)
{
    script("@ending_start\r\n");
    runScript(*dx);
    dx->windowActive = false;
    tapButton(1); // the pointer is over the picture; the press and the release take a frame each
    frames(2);
    EXPECT_EQ(dx->gameState, GameState::Ready);
    dx->windowActive = true;
    tapButton(1);
    frame();
    EXPECT_EQ(dx->gameState, GameState::EndingFade);
}

TEST_F(InterpreterTest, CtrlEndsAWaitExceptInTheEnding)
{
    using K = platform::HeadlessInputEvent::Kind;
    script("@wait 100000\r\n@ending_start\r\n@wait 100000\r\n@exit\r\n");
    frame();
    frame();
    EXPECT_EQ(dx->scriptState.waitActive, 1);
    feed(K::KeyDown, DIK_RCONTROL);
    frame(); // the held key ends the wait in this frame's draw
    EXPECT_EQ(dx->scriptState.waitActive, 0);
    frame(); // "@ending_start"
    frame(); // "@wait": Ctrl is still held, but the ending keeps its timing
    for (int i = 0; i < 10; ++i)
        frame();
    EXPECT_EQ(dx->scriptState.endingMode, 1);
    EXPECT_EQ(dx->scriptState.waitActive, 1);
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 0u);
}

TEST_F(InterpreterTest, EscapeLeavesTheEndingForTheTitleMenu)
{
    using K = platform::HeadlessInputEvent::Kind;
    script("@ending_start\r\n");
    frame();
    feed(K::KeyDown, DIK_ESCAPE);
    frame();
    ASSERT_EQ(dx->gameState, GameState::EndingFade);
    for (int i = 0; i < 5; ++i)
        frame();
    EXPECT_EQ(dx->screenState, ScreenState::Title);
    EXPECT_EQ(dx->scriptState.endingMode, 0);
    EXPECT_EQ(dx->gameState, GameState::Ready);
    frame();
    EXPECT_EQ(dx->titleScreen.TitlePhase, TitleState::Menu);
}

TEST_F(InterpreterTest, QuitToOpRecordsTheReadPositionAndReturnsToTheTitle)
{
    script("@test_title a\r\n@QUIT_TO_OP\r\n@test_title never\r\n");
    dx->lastFrameTime = now_;
    frame(); // "@test_title" yields
    frame();
    ASSERT_EQ(dx->screenState, ScreenState::Title);
    EXPECT_EQ(dx->scriptState.testTitle, "a");
    EXPECT_GT(dx->readText.entries().at("test.scp"), 0);
    EXPECT_EQ(testsupport::readAll(dir.file("text.dat")).size(), 36u); // written on the way
    for (int i = 0; i < 5; ++i)
        frame();
    EXPECT_EQ(dx->scriptState.testTitle, "a"); // the rest of the script never runs
}

TEST_F(InterpreterTest, LoadSwitchesScriptsAndHoldsTheScene)
{
    archive({{"Next.SCP", "@test_title next\r\n"}});
    const std::string text = "@test_title first @exit\r\n@load next.scp\r\n@test_title never\r\n";
    script(text);
    const auto& t = dx->script.tokens;
    const int32_t leftAt = int32_t(std::find(t.begin(), t.end(), "next.scp") - t.begin()) + 1;
    runScript(*dx);
    runScript(*dx);
    dx->scriptState.clickableActive = 1;
    runScript(*dx); // "@load"
    EXPECT_EQ(dx->script.scriptName(), "next.scp");
    EXPECT_EQ(dx->readText.entries().at("test.scp"), leftAt); // just after "@load" and its name
    EXPECT_EQ(dx->scriptState.clickableActive, 0);
    EXPECT_TRUE(dx->updateHoldActive);
    EXPECT_EQ(dx->updateHoldFrames, 5);
    ASSERT_EQ(runLog().lines().back(), "Load Script [next.scp]\n");

    // The logic phase waits for the held frames; then the new script runs.
    for (int i = 0; i < 6; ++i)
        frame();
    EXPECT_EQ(dx->scriptState.testTitle, "first");
    frame();
    EXPECT_EQ(dx->scriptState.testTitle, "next");
}

TEST_F(InterpreterTest, LoadOfAMissingScriptLeavesNothingToRun)
{
    archive({{"empty.scp", ""}});
    script("@load missing.scp\r\n@exit\r\n");
    runScript(*dx);
    EXPECT_EQ(runLog().lines().back(), "ERROR: Load fail [missing.scp]\n");
    runScript(*dx);
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 0u);
    EXPECT_EQ(dx->script.nextToken(), "EOF");

    // A script of size 0 counts as missing.
    script("@load empty.scp\r\n");
    runScript(*dx);
    EXPECT_EQ(runLog().lines().back(), "ERROR: Load fail [empty.scp]\n");
}

TEST_F(InterpreterTest, ScriptsComeFromTheirArchiveFolderInAnyCase)
{
    archive({{"a.scp", "x\r\n"}});
    EXPECT_TRUE(dx->script.load(dx->archive, "A.SCP"));
    EXPECT_EQ(dx->script.nextToken(), "x");
    EXPECT_FALSE(dx->script.load(dx->archive, ""));
    EXPECT_FALSE(dx->script.loadFrom(dx->archive, "TYPE\\", "a.scp"));
    EXPECT_EQ(dx->script.nextToken(), "EOF");
}
