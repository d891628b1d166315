#include "BranchFixture.h"

#include "script/BranchState.h"

namespace {

class ChoiceTest : public BranchTest {
protected:
    // A script that offers the given rows; a.scp, b.scp and c.scp each say which one they are.
    void offer(const std::string& rows)
    {
        pack({{"SCP\\start.scp", text("@select\n{\n" + rows + "}\n@test_title fell-through\n")},
              {"SCP\\a.scp", text("@test_title a\n")},
              {"SCP\\b.scp", text("@test_title b\n")},
              {"SCP\\c.scp", text("@test_title c\n")}});
        start("start.scp");
        pointAt(20, 20); // away from every row: hover would otherwise choose
    }
    // Picks with a key and lets the next script run its first command.
    void pickWith(uint8_t key)
    {
        press(key);
        frame();
    }
};

TEST(ChoiceLayout, RowsSitAtTheirTopsForEachCount)
{
    const std::vector<std::vector<int32_t>> tops = {{262}, {232, 292}, {202, 262, 322}, {172, 232, 292, 352}};
    for (int32_t count = 1; count <= 4; ++count)
        for (int32_t i = 0; i < count; ++i)
            EXPECT_EQ(ChoiceSet::rowTop(count, i), tops[size_t(count - 1)][size_t(i)]) << count << " rows, row " << i;
}

TEST_F(ChoiceTest, ThreeChoicesAreDrawnWithTopsAt202_262_322)
{
    offer("one,a.scp\ntwo,b.scp\nthree,c.scp\n");
    ASSERT_TRUE(runUntilState(GameState::Choice));
    frame();
    EXPECT_EQ(dx->choices.choiceCount, 3);
    for (int top : {202, 262, 322}) {
        // The row's plate covers exactly its 512 x 28 box.
        EXPECT_NE(screen(150, top), 0u) << top;
        EXPECT_NE(screen(150, top + 27), 0u) << top;
        EXPECT_NE(screen(655, top), 0u) << top;
        EXPECT_EQ(screen(150, top - 1), 0u) << top;
        EXPECT_EQ(screen(150, top + 28), 0u) << top;
        EXPECT_EQ(screen(143, top + 10), 0u) << top;
        EXPECT_EQ(screen(656, top + 10), 0u) << top;
    }
    // The selected first row is lit more strongly than the others.
    const uint32_t first = screen(150, 205), second = screen(150, 265);
    EXPECT_GT(first & 0xFF, second & 0xFF);
    // Each row carries its text, centred: something brighter than the plate near x 400.
    for (int top : {202, 262, 322}) {
        bool glyph = false;
        for (int x = 360; x < 440 && !glyph; ++x)
            for (int y = top; y < top + 28 && !glyph; ++y)
                glyph = ((screen(x, y) >> 8) & 0xFF) > 0x80;
        EXPECT_TRUE(glyph) << top;
    }
}

TEST_F(ChoiceTest, UpAndDownWrapAroundTheRows)
{
    offer("one,a.scp\ntwo,b.scp\nthree,c.scp\n");
    ASSERT_TRUE(runUntilState(GameState::Choice));
    EXPECT_EQ(dx->choices.choiceSelected, 0);
    press(DIK_UP);
    EXPECT_EQ(dx->choices.choiceSelected, 2);
    press(DIK_DOWN);
    EXPECT_EQ(dx->choices.choiceSelected, 0);
    press(DIK_DOWN);
    press(DIK_DOWN);
    EXPECT_EQ(dx->choices.choiceSelected, 2);
    pickWith(DIK_RETURN);
    EXPECT_EQ(mark(), "c");
}

TEST_F(ChoiceTest, HoverSelectsARowAndAClickInsideItPicksIt)
{
    offer("one,a.scp\ntwo,b.scp\n");
    ASSERT_TRUE(runUntilState(GameState::Choice));
    pointAt(400, 300); // the second of two rows spans 292..319
    frame();
    EXPECT_EQ(dx->choices.choiceSelected, 1);
    // A click outside every row picks nothing.
    clickAt(400, 100);
    EXPECT_EQ(dx->gameState, GameState::Choice);
    EXPECT_EQ(dx->choices.choiceSelected, 1);
    clickAt(400, 300);
    frame();
    EXPECT_EQ(mark(), "b");
    EXPECT_EQ(logCount("Load Script [b.scp]"), 1u);
    EXPECT_EQ(dx->choices.choiceCount, 0);
}

TEST_F(ChoiceTest, SpaceEnterAndThePadEnterPickButAltEnterDoesNot)
{
    const std::vector<std::pair<uint8_t, const char*>> keys = {
        {DIK_SPACE, "space"}, {DIK_RETURN, "enter"}, {DIK_NUMPADENTER, "pad enter"}};
    for (const auto& [key, name] : keys) {
        offer("one,a.scp\ntwo,b.scp\n");
        ASSERT_TRUE(runUntilState(GameState::Choice)) << name;
        pickWith(key);
        EXPECT_EQ(mark(), "a") << name;
        dx->scriptState.testTitle.clear();
    }

    offer("one,a.scp\ntwo,b.scp\n");
    ASSERT_TRUE(runUntilState(GameState::Choice));
    backend.input.keyDown(DIK_LMENU);
    pickWith(DIK_RETURN);
    backend.input.keyUp(DIK_LMENU);
    frame();
    EXPECT_EQ(dx->gameState, GameState::Choice);
    EXPECT_EQ(mark(), "");
}

TEST_F(ChoiceTest, AFailedLoadIsLoggedAndTheScenarioEnds)
{
    offer("one,missing.scp\n");
    ASSERT_TRUE(runUntilState(GameState::Choice));
    pickWith(DIK_SPACE);
    EXPECT_EQ(logCount("ERROR: Load fail [missing.scp]"), 1u);
    EXPECT_EQ(dx->gameState, GameState::Ready);
    EXPECT_EQ(dx->script.nextToken(), "EOF");
}

TEST_F(ChoiceTest, RowsBeyondTheFourthAreIgnoredWithOneLogLine)
{
    offer("one,a.scp\ntwo,b.scp\nthree,c.scp\nfour,a.scp\nfive,b.scp\nsix,c.scp\n");
    ASSERT_TRUE(runUntilState(GameState::Choice));
    EXPECT_EQ(dx->choices.choiceCount, 4);
    EXPECT_EQ(dx->choices.choiceText[3], "four");
    EXPECT_EQ(logCount("choice(s) after the fourth ignored"), 1u);
    EXPECT_EQ(logCount("@select: 2 choice(s)"), 1u);
}

TEST_F(ChoiceTest, TheParserTakesTextBeforeTheFirstCommaAndSkipsOtherTokens)
{
    offer("plain word\nwords,b.scp,x\n,,,\n");
    ASSERT_TRUE(runUntilState(GameState::Choice));
    ASSERT_EQ(dx->choices.choiceCount, 2);
    EXPECT_EQ(dx->choices.choiceText[0], "words");
    EXPECT_EQ(dx->choices.choiceTarget[0], "b.scp,x");
    EXPECT_EQ(dx->choices.choiceText[1], "");
    EXPECT_EQ(dx->choices.choiceTarget[1], ",,");
    EXPECT_EQ(dx->choices.choiceMarks[1][0], 0);
    EXPECT_EQ(dx->choices.choiceMarks[1][1], 1);
}

TEST_F(ChoiceTest, MissingBracesAreReportedAndNoChoiceIsShown)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"@select one,a.scp\n", "not found { in @select"},
        {"@select\n{\none,a.scp\ntwo,b.scp\n", "not found } in @select"},
        {"@select\n", "not found { in @select"},
    };
    for (const auto& [source, message] : cases) {
        pack({{"SCP\\bad.scp", text(source)}});
        runLog().clear();
        start("bad.scp");
        frames(3);
        EXPECT_EQ(logCount(message), 1u) << source << runLog().lines().back();
        EXPECT_EQ(dx->gameState, GameState::Ready) << source;
        EXPECT_EQ(dx->script.nextToken(), "EOF") << source;
    }
}

TEST_F(ChoiceTest, AutoAndSkipModeStopAtAChoiceUnlessTheSettingsKeepThem)
{
    struct Case {
        uint8_t autoAfter, skipAfter;
        uint8_t autoLeft, skipLeft;
    };
    for (const Case c : {Case{0, 0, 0, 0}, Case{1, 0, 1, 0}, Case{0, 1, 0, 1}, Case{1, 1, 1, 1}}) {
        dx->config.autoAfterChoice = c.autoAfter;
        dx->config.skipAfterChoice = c.skipAfter;
        offer("one,a.scp\n");
        dx->messageWindow.autoMode = 1;
        dx->messageWindow.skipMode = 1;
        runScript(*dx);
        ASSERT_EQ(dx->gameState, GameState::Choice);
        EXPECT_EQ(dx->messageWindow.autoMode, c.autoLeft) << int(c.autoAfter) << int(c.skipAfter);
        EXPECT_EQ(dx->messageWindow.skipMode, c.skipLeft) << int(c.autoAfter) << int(c.skipAfter);
    }
}

TEST_F(ChoiceTest, TheChoiceRecordsHowFarTheScriptWasRead)
{
    offer("one,a.scp\n");
    ASSERT_TRUE(runUntilState(GameState::Choice));
    const int32_t at = dx->script.cursorIndex();
    EXPECT_EQ(dx->readText.entries().at("start.scp"), at);
}

TEST_F(ChoiceTest, APickEndsAnOpenHotSpotSet)
{
    pack({{"SCP\\start.scp", text("@clickable\n{\n#bitmap\nm.png\n#define\nA0,1\n#script\n"
                                  "A0[\n@select\n{\none,a.scp\n}\n]\n")},
          {"SCP\\a.scp", text("@test_title a\n")},
          {"CLICK\\m.png", branchtest::clickMapPng({{0, 0, 800, 600, 0xFF0000}})}});
    start("start.scp");
    ASSERT_TRUE(runUntilState(GameState::Hotspots));
    clickAt(400, 500);
    ASSERT_EQ(dx->gameState, GameState::Choice);
    EXPECT_EQ(dx->scriptState.clickableActive, 1);
    pickWith(DIK_SPACE);
    EXPECT_EQ(mark(), "a");
    EXPECT_EQ(dx->scriptState.clickableActive, 0);
    EXPECT_EQ(dx->hotSpots.clickMap.width, 0);
}

} // namespace
