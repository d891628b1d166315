// The message window: its page and typing cursor, the text commands, and the game screen's
// typing, waiting, auto and skip states, driven frame by frame on the headless clock.
#include "TextFixture.h"

#include "input/KeyCodes.h"
#include "text/TextCommands.h"
#include "text/TextDraw.h"

using platform::utf8ToSjis;

TEST(MessageWindowPage, LineLimitAndNameLimitShowTheirNotices)
{
    MessageWindow w;
    const std::string thirty(30, 'a');
    EXPECT_EQ(w.setLine(0, thirty), 0);
    EXPECT_EQ(w.lines[0], thirty);
    EXPECT_EQ(w.lineChars[0], 30);
    // 31 characters, double-byte ones counted once.
    std::string long31;
    for (int i = 0; i < 31; ++i)
        long31 += utf8ToSjis("あ");
    EXPECT_EQ(w.setLine(1, long31), 0);
    EXPECT_EQ(platform::sjisToUtf8(w.lines[1]), "◆文字数制限オーバー◆");
    EXPECT_EQ(w.setLine(3, "x"), -1);
    EXPECT_EQ(w.setLine(-1, "x"), -1);

    w.setSpeaker(utf8ToSjis("七文字の名前だ"));
    EXPECT_EQ(w.nameChars, 7);
    w.setSpeaker(utf8ToSjis("八文字の名前です"));
    EXPECT_EQ(platform::sjisToUtf8(w.speakerName), "◆文字数オーバー");
    EXPECT_EQ(w.nameChars, 8); // the notice itself is eight characters
}

TEST(MessageWindowPage, TypingWalksLinesSkipsBlanksAndStopsAtPauseCharacters)
{
    MessageWindow w;
    w.clearPage();
    w.setLine(0, utf8ToSjis("あ い"));
    w.setLine(1, "");
    w.setLine(2, utf8ToSjis("う▽え"));
    EXPECT_EQ(w.advance(false), AdvanceResult::Typing); // あ
    EXPECT_EQ(w.markX, 40 + 24);
    EXPECT_EQ(w.advance(false), AdvanceResult::Typing); // the blank takes a place, no glyph
    EXPECT_EQ(w.cellsUsed, 1);
    EXPECT_EQ(w.advance(false), AdvanceResult::Typing); // い; the empty line is stepped over
    EXPECT_EQ(w.cells[1].column, 2);
    EXPECT_EQ(w.advance(true), AdvanceResult::Paused);  // う▽
    EXPECT_EQ(w.pauseCount, 1);
    EXPECT_EQ(w.markX, 40 + 24 * 1); // on the pause character
    EXPECT_EQ(w.markY, MessageWindow::kTextOriginY + 64 + 10);
    EXPECT_EQ(w.cellsUsed, 3);       // the pause character shows as a blank
    EXPECT_EQ(w.advance(false), AdvanceResult::PageComplete);  // え ends the page at once
    EXPECT_TRUE(w.pageComplete());
    EXPECT_EQ(w.cells[3].line, 2);
    EXPECT_EQ(w.cells[3].column, 2);
    EXPECT_EQ(w.advance(false), AdvanceResult::PageComplete);

    // An empty page is complete at the first call.
    w.clearPage();
    EXPECT_EQ(w.advance(false), AdvanceResult::PageComplete);
    EXPECT_EQ(w.markX, 40);
}

TEST(MessageWindowPage, AFullPageUsesAtMostNinetyCells)
{
    MessageWindow w;
    std::string line;
    for (int i = 0; i < 30; ++i)
        line += utf8ToSjis("漢");
    for (int i = 0; i < 3; ++i)
        w.setLine(i, line);
    EXPECT_EQ(w.advance(true), AdvanceResult::PageComplete);
    EXPECT_EQ(w.cellsUsed, 90);
    int tex = 0, x = 0, y = 0;
    MessageWindow::cellTexel(89, tex, x, y);
    EXPECT_EQ(tex, 1);
    EXPECT_EQ(x, 32 * 1);
    EXPECT_EQ(y, 32 * 3);
}

TEST(MessageWindowDrawing, OutlineAlphaAndNamePlacement)
{
    EXPECT_EQ(outlineAlpha(255), 153);
    EXPECT_EQ(outlineAlpha(128), 77);
    EXPECT_EQ(outlineAlpha(0), 0);
    EXPECT_EQ(nameGlyphX(3, 0), 64);
    EXPECT_EQ(nameGlyphX(3, 1), 92);
    EXPECT_EQ(nameGlyphX(7, 0), 16);
    EXPECT_EQ(nameGlyphX(0, 0), 100);
    EXPECT_EQ(textDelayForSpeed(0), 250);
    EXPECT_EQ(textDelayForSpeed(3), 66);
    EXPECT_EQ(textDelayForSpeed(7), 0);
}

TEST_F(TextTest, TextCommandSetsNameLinesAndVoicesAndRecordsTheReadPosition)
{
    script("@def_text {\r\n1 ソラ F00 on\r\n2 リク 0F0 off\r\n}\r\n"
           "@text,1,v01,v02 {\r\n一行目 \r\n二行目\r\n}\r\n");
    frame();
    frame();
    const MessageWindow& w = dx->messageWindow;
    EXPECT_EQ(dx->gameState, GameState::Typing);
    EXPECT_EQ(platform::sjisToUtf8(w.speakerName), "ソラ");
    EXPECT_EQ(w.nameColour, 0xF00);
    EXPECT_EQ(w.nameWindowVisible, 1);
    EXPECT_EQ(w.characterNames[2].window, 0);
    EXPECT_EQ(w.characterNames[2].colour, 0x0F0);
    EXPECT_EQ(w.characterNames[0].colour, 0xFFFF);
    EXPECT_EQ(line(0), "一行目");
    EXPECT_EQ(line(1), "二行目");
    EXPECT_EQ(w.voiceQueue.count, 2);
    EXPECT_EQ(w.voiceQueue.names[1], "v02");
    EXPECT_EQ(w.messageCount, 1u);
    EXPECT_FALSE(dx->readText.isRead("test.scp", dx->script.cursorIndex() - 1) == false);
    EXPECT_FALSE(dx->readText.isRead("test.scp", dx->script.cursorIndex()));
}

TEST_F(TextTest, FourthLineIsDroppedWithItsLogLine)
{
    script("@text,0 {\r\nA\r\nB\r\nC\r\nD\r\n}\r\n");
    frame();
    EXPECT_EQ(line(0), "A");
    EXPECT_EQ(line(1), "B");
    EXPECT_EQ(line(2), "C");
    EXPECT_EQ(logCount("ERROR: too many text line. ignore more than 3 text line. test.scp.scp(5 line)"), 1u);
}

TEST_F(TextTest, NameNumberOutOfRangeLogsAndUsesEntryZero)
{
    script("@def_text {\r\n0 Zero FFF on\r\n300 Bad FFF on\r\n}\r\n@text,200 {\r\nA\r\n}\r\n");
    frame();
    frame();
    EXPECT_EQ(logCount(utf8ToSjis("@def_text: errror test.scp(3行): キャラ名番号が(0-127)の範囲にありません")), 1u);
    EXPECT_EQ(logCount(utf8ToSjis("@text: errror test.scp(5行): キャラ名番号が(0-127)の範囲にありません")), 1u);
    // The bad definition went into entry 0 as well.
    EXPECT_EQ(dx->messageWindow.speakerName, "Bad");
}

TEST_F(TextTest, MalformedTextCommandsLogTheirOwnTexts)
{
    script("@text,0 A B\r\n");
    frame();
    EXPECT_EQ(logCount("not found { in @text"), 1u);
    script("@text,0 {\r\nA\r\n");
    frame();
    EXPECT_EQ(logCount("nor found } in @text"), 1u);
    script("@def_text x\r\n");
    frame();
    EXPECT_EQ(logCount("not found { in @def_text"), 1u);
    script("@def_text {\r\n1 a b on\r\n");
    frame();
    EXPECT_EQ(logCount("not found } in @def_text"), 1u);
    script("@font_load nothing.bmp\r\n");
    frame();
    EXPECT_EQ(logCount("@font_load. failed. : nothing.bmp"), 1u);
    EXPECT_TRUE(dx->updateHoldActive);
}

TEST_F(TextTest, NowaitContinuesWithoutAClick)
{
    script("@text,0 {\r\nA\r\n},nowait\r\n@exit\r\n");
    for (int i = 0; i < 4 && logCount("Starting QUIZ MODE") == 0; ++i) {
        frame();
        EXPECT_EQ(dx->messageWindow.clickMarkVisible, 0);
    }
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 1u);
}

// "},nowait" lets the script go on once the page is typed; it does not throw away the rest of
// a page at a pause character, and a later "@keywait" still waits.
TEST_F(TextTest, NowaitStillStopsAtAPauseAndKeywaitStillWaits)
{
    const struct {
        const char* script;
        GameState waitsIn;
    } cases[] = {
        {"@text,0 {\r\n前▽後\r\n},nowait\r\n@exit\r\n", GameState::PauseClickWait},
        {"@text,0 {\r\nA\r\n},nowait\r\n@keywait\r\n@exit\r\n", GameState::PageClickWait},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        runLog().clear();
        script(c.script);
        frames(6);
        EXPECT_EQ(dx->gameState, c.waitsIn);
        EXPECT_EQ(dx->messageWindow.clickMarkVisible, 1);
        EXPECT_EQ(logCount("Starting QUIZ MODE"), 0u);
        click();
        frames(3);
        EXPECT_TRUE(dx->messageWindow.pageComplete()); // the rest of the page was typed
        EXPECT_EQ(logCount("Starting QUIZ MODE"), 1u);
    }
}

// Hiding and showing the window at a pause comes back to the pause, with the rest of the
// page still to come.
TEST_F(TextTest, HideAndShowReturnToTheStateTheyLeft)
{
    for (const char* text : {"@text,0 {\r\n前▽後\r\n}\r\n", "@text,0 {\r\nA\r\n}\r\n"}) {
        SCOPED_TRACE(text);
        script(text);
        frames(3);
        const GameState waiting = dx->gameState;
        tapKey(DIK_TAB);
        frame();
        EXPECT_EQ(dx->gameState, GameState::WindowHiding);
        frames(20);
        EXPECT_EQ(dx->gameState, waiting);
        EXPECT_EQ(dx->messageWindow.windowHidden, 1);
        tapKey(DIK_TAB);
        frames(20);
        EXPECT_EQ(dx->gameState, waiting);
        EXPECT_EQ(dx->messageWindow.windowHidden, 0);
        keyDown(DIK_LCONTROL);
        frames(3);
        keyUp(DIK_LCONTROL);
        frame();
    }
}

TEST_F(TextTest, ClickWaitThenClickContinues)
{
    script("@text,0 {\r\nA\r\n}\r\n@exit\r\n");
    frames(5);
    EXPECT_EQ(dx->gameState, GameState::PageClickWait);
    EXPECT_EQ(dx->messageWindow.clickMarkVisible, 1);
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 0u);
    click();
    frame();
    EXPECT_EQ(dx->messageWindow.clickMarkVisible, 0);
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 1u);
}

TEST_F(TextTest, PauseCharacterStopsWithTheMarkAndTheRestTypesAfterAClick)
{
    script("@text,0 {\r\n前半▽後半\r\n}\r\n");
    frames(3);
    EXPECT_EQ(dx->gameState, GameState::PauseClickWait);
    EXPECT_EQ(dx->messageWindow.clickMarkVisible, 1);
    EXPECT_EQ(dx->messageWindow.markX, 40 + 24 * 2);
    EXPECT_EQ(dx->messageWindow.cellsUsed, 2);
    frames(5);
    EXPECT_EQ(dx->gameState, GameState::PauseClickWait);
    click();
    frame();
    EXPECT_EQ(dx->gameState, GameState::PageClickWait);
    EXPECT_EQ(dx->messageWindow.cellsUsed, 4);
}

TEST_F(TextTest, TypingFollowsTheTextDelayNotTheFrameCount)
{
    dx->config.textSpeed = 2; // 100 ms a character
    script("@text,0 {\r\nABCDEFGHIJ\r\n}\r\n");
    frame(); // the command
    // About 300 ms in short frames and about 300 ms in long ones type about as much.
    for (int i = 0; i < 30; ++i)
        frame(9); // 10 ms with the frame's own pause
    const int32_t shortFrames = dx->messageWindow.typeChar;
    EXPECT_GE(shortFrames, 2);
    EXPECT_LE(shortFrames, 4);
    for (int i = 0; i < 5; ++i)
        frame(59);
    EXPECT_GE(dx->messageWindow.typeChar - shortFrames, 2);
    EXPECT_LE(dx->messageWindow.typeChar - shortFrames, 3);
    EXPECT_EQ(dx->gameState, GameState::Typing);
    frames(60);
    EXPECT_EQ(dx->gameState, GameState::PageClickWait);
}

// The character timer types one character when it runs out and starts again from the full
// delay: at 60 frames a second speed 4 types 20 characters a second, not 30.
TEST_F(TextTest, OneCharacterPerExpiryOfTheCharacterTimer)
{
    struct Case {
        int speed, frameMs, frameCount, typed;
    } cases[] = {
        {4, 16, 30, 10}, // 33 ms: every third frame (carrying the rest over would type 14)
        {6, 16, 20, 20}, // 5 ms: one a frame (carrying over would type three a frame)
        {2, 60, 20, 10}, // 100 ms: every second frame (carrying over would type 12)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "speed " << c.speed);
        dx->config.textSpeed = c.speed;
        script("@text,0 {\r\nABCDEFGHIJKLMNOPQRSTUVWXYZabcd\r\n}\r\n");
        frame(); // the command
        for (int i = 0; i < c.frameCount; ++i)
            frame(c.frameMs - 1); // with the frame's own pause
        EXPECT_NEAR(dx->messageWindow.typeChar, c.typed, 1);
        keyDown(DIK_LCONTROL); // the rest of the page, and on
        frames(3);
        keyUp(DIK_LCONTROL);
        frame();
        ASSERT_EQ(dx->gameState, GameState::Ready);
    }
}

TEST_F(TextTest, AutoModeMovesOnAfterTheAutoWait)
{
    dx->config.autoWait = 1; // 2000 ms
    script("@text,0 {\r\nA\r\n}\r\n@exit\r\n");
    key(DIK_4);
    EXPECT_EQ(dx->messageWindow.autoMode, 1);
    frames(2);
    ASSERT_EQ(dx->gameState, GameState::PageClickWait);
    frame(1000);
    frame(990);
    EXPECT_EQ(dx->gameState, GameState::PageClickWait);
    frame(20);
    frame();
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 1u);
}

TEST_F(TextTest, CtrlCompletesThePageAndMovesOn)
{
    dx->config.textSpeed = 0;
    script("@text,0 {\r\nABCDEFGH\r\n}\r\n@wait 100000\r\n@exit\r\n");
    frame();
    backend.input.keyDown(DIK_LCONTROL);
    frames(6);
    backend.input.keyUp(DIK_LCONTROL);
    frame();
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 1u);
}

TEST_F(TextTest, SkipStopsAtTheFirstUnreadMessage)
{
    script("@text,0 {\r\nA\r\n}\r\n@text,0 {\r\nB\r\n}\r\n@text,0 {\r\nC\r\n}\r\n@text,0 {\r\nD\r\n}\r\n");
    // Read up to the end of the second message once before.
    size_t closeCount = 0;
    int32_t secondEnd = 0;
    for (size_t i = 0; i < dx->script.tokens.size(); ++i)
        if (dx->script.tokens[i] == "}" && ++closeCount == 2)
            secondEnd = int32_t(i) + 1;
    dx->readText.recordReadPosition("test.scp", secondEnd + 1);
    dx->config.skipAll = 0;
    key(DIK_3);
    EXPECT_EQ(dx->messageWindow.skipMode, 1);
    frames(10);
    EXPECT_EQ(line(0), "C");
    EXPECT_EQ(dx->messageWindow.skipMode, 0);
    EXPECT_EQ(dx->gameState, GameState::PageClickWait);

    // With skipAll everything goes.
    dx->config.skipAll = 1;
    key(DIK_3);
    frames(10);
    EXPECT_EQ(line(0), "D");
}

TEST_F(TextTest, AClickCancelsSkipModeButNotInTheFrameThatArmedIt)
{
    script("@wait 100000\r\n");
    frame();
    backend.input.keyDown(DIK_3);
    backend.input.buttonDown(0);
    frame();
    EXPECT_EQ(dx->messageWindow.skipMode, 1);
    backend.input.keyUp(DIK_3);
    backend.input.buttonUp(0);
    frame();
    click();
    EXPECT_EQ(dx->messageWindow.skipMode, 0);
}

TEST_F(TextTest, RightClickHidesTheWindowAndShowsItAgain)
{
    script("@text,0 {\r\nA\r\n}\r\n");
    frames(3);
    ASSERT_EQ(dx->gameState, GameState::PageClickWait);
    backend.input.buttonDown(1);
    frame();
    backend.input.buttonUp(1);
    EXPECT_EQ(dx->gameState, GameState::WindowHiding);
    frames(20);
    EXPECT_EQ(dx->gameState, GameState::PageClickWait);
    EXPECT_EQ(dx->messageWindow.windowHidden, 1);
    // A left click now shows the window instead of moving on.
    click();
    EXPECT_EQ(dx->gameState, GameState::WindowShowing);
    frames(20);
    EXPECT_EQ(dx->gameState, GameState::PageClickWait);
    EXPECT_EQ(dx->messageWindow.windowAlpha, 255);
    EXPECT_EQ(dx->messageWindow.windowHidden, 0);
}

TEST_F(TextTest, KeywaitShowsTheMarkAndWaitsForAClick)
{
    script("@keywait\r\n@exit\r\n");
    frames(3);
    EXPECT_EQ(dx->gameState, GameState::PageClickWait);
    EXPECT_EQ(dx->messageWindow.clickMarkVisible, 1);
    click();
    frame();
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 1u);
}

TEST_F(TextTest, TextwindowFadesAndFastIsImmediate)
{
    script("@textwindow hide\r\n@textwindow show\r\n@textwindow_fast hide\r\n@exit\r\n");
    frame();
    EXPECT_EQ(dx->gameState, GameState::WindowFadeOut);
    int fadeFrames = 0;
    for (int last = 255; dx->gameState == GameState::WindowFadeOut && fadeFrames < 100; ++fadeFrames) {
        frame();
        if (dx->gameState == GameState::WindowFadeOut) {
            EXPECT_LT(dx->messageWindow.windowAlpha, last);
            last = dx->messageWindow.windowAlpha;
        }
    }
    EXPECT_GT(fadeFrames, 5);
    // The fade's end let "@textwindow show" run in the same frame.
    EXPECT_EQ(dx->gameState, GameState::WindowFadeIn);
    EXPECT_EQ(dx->messageWindow.windowHidden, 0);
    EXPECT_EQ(dx->messageWindow.windowAlpha, 0);
    for (int i = 0; dx->gameState == GameState::WindowFadeIn && i < 100; ++i)
        frame();
    // ... and "@textwindow_fast hide" after it.
    EXPECT_EQ(dx->messageWindow.windowHidden, 1);
    EXPECT_EQ(dx->messageWindow.windowAlpha, 0);
    frame();
    EXPECT_EQ(logCount("Starting QUIZ MODE"), 1u);
}

TEST_F(TextTest, BenchmarkPlaceholderBecomesFullWidthDigitsAndIsLogged)
{
    dx->scriptState.fpsResult = 59;
    dx->scriptState.testTitle = "T";
    std::string bytes = "@text,0 {\r\nFPS\x87\x64\r\n}\r\n";
    ASSERT_TRUE(dx->script.loadFromBytes("test.scp", bytes));
    frame();
    EXPECT_EQ(line(0), "FPS５９");
    EXPECT_EQ(logCount(utf8ToSjis("T ： FPS５９")), 1u);
}

// The 30-character limit is applied to the line as written, then the placeholder is filled
// in; the load time is that of the last picture actually read, a cache hit changes nothing.
TEST_F(TextTest, BenchmarkFiguresComeAfterTheLineLimitAndKeepTheLastMeasuredLoad)
{
    dx->scriptState.fpsResult = 123;
    dx->scriptState.testTitle = "T";
    dx->scene.lastDiskMs = 12;
    dx->scene.lastVramMs = 3;
    const std::string twentyNine(29, 'a');
    std::string bytes = "@text,0 {\r\n" + twentyNine + "\x87\x64\r\n" + twentyNine + "bb\x87\x64\r\nL\x87\x60\r\n}\r\n";
    ASSERT_TRUE(dx->script.loadFromBytes("test.scp", bytes));
    frame();
    EXPECT_EQ(line(0), twentyNine + "１２３");
    EXPECT_EQ(dx->messageWindow.lineChars[0], 32);
    EXPECT_EQ(line(1), "◆文字数制限オーバー◆");
    EXPECT_EQ(logCount(utf8ToSjis("T ： " + twentyNine + "１２３")), 1u);
    EXPECT_EQ(line(2), "L１５");
    EXPECT_EQ(logCount(utf8ToSjis("T ： L１５(Disk 12ms/VRAM 3ms)")), 1u);
}

TEST_F(TextTest, TextClearAndClsEmptyThePage)
{
    script("@text,0 {\r\nA\r\n}\r\n@text_clear\r\n@charname_window show\r\n@text_cls\r\n");
    frames(3);
    click(); // "@text_clear" in the first frame, "@charname_window" in the second
    EXPECT_TRUE(dx->messageWindow.lines[0].empty());
    EXPECT_TRUE(dx->messageWindow.pageComplete());
    EXPECT_EQ(dx->messageWindow.nameWindowVisible, 1);
    frame();
    EXPECT_EQ(dx->messageWindow.nameWindowVisible, 0);
}

TEST_F(TextTest, QueuedVoicesPlayOnePerTextSegment)
{
    dx->config.voiceOn = 1;
    script("@text,0,first,second {\r\nA▽B\r\n}\r\n");
    frames(3);
    ASSERT_EQ(dx->gameState, GameState::PauseClickWait);
    // No sound files exist: each attempt names its file in the failure line.
    EXPECT_EQ(logCount("VOICE\\first.ogg"), 1u);
    EXPECT_EQ(logCount("VOICE\\second.ogg"), 0u);
    click();
    frame();
    EXPECT_EQ(logCount("VOICE\\second.ogg"), 1u);
    EXPECT_EQ(logCount("voice play failed. (HDD)"), 2u);
}

// The buttons lie in the window: a click on one is also the click that moves the text on.
// A message with one voice and a pause: the second segment has no voice of its own, and the
// first must not come round again while it types.
TEST_F(TextTest, ASegmentWithoutAVoicePlaysNothing)
{
    dx->config.voiceOn = 1;
    dx->config.textSpeed = 0;
    script("@text,0,first {\r\n前▽後ABCDEFGHIJKLMNOPQRSTUVWXYZ\r\n}\r\n");
    for (int i = 0; i < 20 && dx->gameState != GameState::PauseClickWait; ++i)
        frame();
    ASSERT_EQ(dx->gameState, GameState::PauseClickWait);
    EXPECT_EQ(logCount("VOICE\\first.ogg"), 1u);
    click();
    frames(40);
    EXPECT_EQ(dx->gameState, GameState::Typing);
    EXPECT_EQ(logCount("VOICE\\first.ogg"), 1u);
}

TEST_F(TextTest, ToggleButtonClicksAreAlsoClicksInTheWindow)
{
    dx->config.skipAll = 1;
    script("@text,0 {\r\nA\r\n}\r\n@text,0 {\r\nB\r\n}\r\n@text,0 {\r\nC\r\n}\r\n@text,0 {\r\nD\r\n}\r\n"
           "@wait 100000\r\n");
    frames(3);
    ASSERT_EQ(dx->gameState, GameState::PageClickWait);
    pointTo(700, 430); // auto
    click();
    EXPECT_EQ(dx->messageWindow.autoMode, 1);
    EXPECT_EQ(line(0), "B");
    click(); // auto off, and on to C
    EXPECT_EQ(dx->messageWindow.autoMode, 0);
    EXPECT_EQ(line(0), "C");
    frames(2);
    ASSERT_EQ(dx->gameState, GameState::PageClickWait);
    pointTo(630, 430); // skip: on to D, and skip mode stays on for what follows
    click();
    EXPECT_EQ(dx->messageWindow.skipMode, 1);
    EXPECT_EQ(line(0), "D");
    frames(3);
    EXPECT_EQ(dx->scriptState.waitActive, 1); // D was skipped
    EXPECT_EQ(dx->messageWindow.skipMode, 1);
    click(); // the skip button again turns it off, and it stays off
    EXPECT_EQ(dx->messageWindow.skipMode, 0);
    frame();
    EXPECT_EQ(dx->messageWindow.skipMode, 0);
}

// Skip mode ends at any press, wherever the pointer is, in the frame dispatcher's own step.
TEST_F(TextTest, AnyClickAnywhereEndsSkipMode)
{
    struct Case {
        int x, y, button;
    } cases[] = {{400, 300, 0}, {400, 300, 1}, {900, 700, 0}, {900, 700, 1}, {-5, 20, 0}};
    script("@wait 100000\r\n");
    frame();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " button " << c.button);
        pointTo(400, 300);
        key(DIK_3);
        ASSERT_EQ(dx->messageWindow.skipMode, 1);
        pointTo(c.x, c.y);
        frame();
        click(c.button);
        EXPECT_EQ(dx->messageWindow.skipMode, 0);
    }
    pointTo(400, 300);
    key(DIK_3);
    tapKey(DIK_ESCAPE);
    frame();
    EXPECT_EQ(dx->messageWindow.skipMode, 0);
}

// While typing, a left click completes the page and leaves a hidden window hidden; at the
// click wait a left click brings it back.
TEST_F(TextTest, ALeftClickWhileTypingLeavesAHiddenWindowHidden)
{
    dx->config.textSpeed = 0;
    script("@text,0 {\r\nABCDEFGHIJ\r\n}\r\n");
    frame();
    ASSERT_EQ(dx->gameState, GameState::Typing);
    click(1);
    for (int i = 0; i < 40 && dx->gameState != GameState::Typing; ++i)
        frame();
    ASSERT_EQ(dx->gameState, GameState::Typing);
    ASSERT_EQ(dx->messageWindow.windowHidden, 1);
    click();
    EXPECT_EQ(dx->gameState, GameState::PageClickWait);
    EXPECT_EQ(dx->messageWindow.windowHidden, 1);
    EXPECT_TRUE(dx->messageWindow.pageComplete());
    click();
    EXPECT_EQ(dx->gameState, GameState::WindowShowing);
}

TEST_F(TextTest, TextClsLeavesTheClickMarkAsItWas)
{
    script("@charname_window show\r\n@text_cls\r\n@wait 100000\r\n");
    dx->messageWindow.showClickMark(true);
    frames(2); // the text commands yield
    EXPECT_EQ(dx->messageWindow.nameWindowVisible, 0);
    EXPECT_EQ(dx->messageWindow.clickMarkVisible, 1);
    EXPECT_EQ(dx->messageWindow.markX, 40);
}

// A key pressed before "@textwindow_fast show" must not act on the text after it: Tab left
// waiting would hide the window again at once.
TEST_F(TextTest, TextwindowFastShowForgetsPendingKeys)
{
    script("@textwindow_fast hide\r\n@textwindow_fast show\r\n@text,0 {\r\nA\r\n}\r\n");
    tapKey(DIK_TAB);
    frames(6); // one command a frame, then the page
    ASSERT_EQ(dx->messageWindow.windowAlpha, 255);
    EXPECT_EQ(dx->gameState, GameState::PageClickWait);
    EXPECT_EQ(dx->messageWindow.windowHidden, 0);
}

TEST_F(TextTest, TabHidesTheWindowOnlyWhileAMessageIsShown)
{
    script("@wait 100000\r\n");
    frame();
    backend.input.keyDown(DIK_TAB);
    frame();
    backend.input.keyUp(DIK_TAB);
    EXPECT_EQ(dx->gameState, GameState::Ready);
    EXPECT_EQ(dx->messageWindow.windowHidden, 0);

    dx->scriptState.waitActive = 0;
    script("@text,0 {\r\nA\r\n}\r\n");
    frames(3);
    ASSERT_EQ(dx->gameState, GameState::PageClickWait);
    backend.input.keyDown(DIK_TAB);
    frame();
    backend.input.keyUp(DIK_TAB);
    EXPECT_EQ(dx->gameState, GameState::WindowHiding);
}
