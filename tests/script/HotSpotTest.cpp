#include "BranchFixture.h"

#include "script/BranchState.h"
#include "script/ChoiceCommands.h"

namespace {

using branchtest::Box;

// Region A is the red box on the left, B the green one on the right; a dark grey box below
// belongs to no region.
constexpr int kAx = 100, kAy = 100, kBx = 600, kBy = 100, kGreyX = 400, kGreyY = 500;

class HotSpotTest : public BranchTest {
protected:
    void game(const std::string& definitions, const std::string& sections, std::vector<uint8_t> map = {})
    {
        if (map.empty())
            map = branchtest::clickMapPng({{50, 50, 100, 100, 0xFF0000},
                                           {550, 50, 100, 100, 0x00FF00},
                                           {350, 450, 100, 100, 0x404040}});
        pack({{"SCP\\start.scp",
               text("@clickable\n{\n#bitmap\nmap.png\n#define\n" + definitions + "#script\n" + sections)},
              {"SCP\\next.scp", text("@test_title next\n")},
              {"CLICK\\map.png", std::move(map)}});
        start("start.scp");
        pointAt(5, 5);
    }
    // Clicks and lets the section run to its end.
    void clickThrough(int x, int y)
    {
        clickAt(x, y);
        frames(2);
    }
    static constexpr const char* kSections = "A0[\n@test_title a0\n]\nA1[\n@test_title a1\n]\nB0[\n@test_title b0\n]\n";
};

TEST_F(HotSpotTest, ALoopingRegionRunsA0ThenA1ThenA0WithItsCursorShapes)
{
    game("A0,5\nA1,loop,0\n", kSections);
    ASSERT_TRUE(runUntilState(GameState::Hotspots));
    EXPECT_EQ(dx->scriptState.clickableActive, 1);
    pointAt(kAx, kAy);
    frame();
    EXPECT_EQ(dx->hotSpots.hoverCursor, 5);

    const std::vector<std::pair<std::string, int32_t>> expected = {{"a0", 0}, {"a1", 5}, {"a0", 0}, {"a1", 5}};
    for (const auto& [section, cursorAfter] : expected) {
        clickThrough(kAx, kAy);
        EXPECT_EQ(mark(), section);
        EXPECT_EQ(dx->gameState, GameState::Hotspots);
        EXPECT_EQ(dx->hotSpots.hoverCursor, cursorAfter) << section;
    }
}

TEST_F(HotSpotTest, MinusOneKeepsARegionOnItsSection)
{
    game("B0,-1\n", kSections);
    ASSERT_TRUE(runUntilState(GameState::Hotspots));
    for (int i = 0; i < 3; ++i) {
        dx->scriptState.testTitle.clear();
        clickThrough(kBx, kBy);
        EXPECT_EQ(mark(), "b0") << i;
        EXPECT_EQ(dx->hotSpots.sectionCounter[1], 0);
        EXPECT_EQ(dx->hotSpots.hoverCursor, -1); // its entry names no shape
    }
}

TEST_F(HotSpotTest, ADarkGreyPixelBelongsToNoRegion)
{
    game("A0,1\nB0,2\n", kSections);
    ASSERT_TRUE(runUntilState(GameState::Hotspots));
    pointAt(kAx, kAy);
    frame();
    EXPECT_EQ(dx->hotSpots.hoverCursor, 1);
    clickThrough(kGreyX, kGreyY);
    EXPECT_EQ(dx->hotSpots.hoverCursor, -1);
    EXPECT_EQ(mark(), "");
    EXPECT_EQ(dx->gameState, GameState::Hotspots);
    EXPECT_EQ(dx->hotSpots.regionAt(kGreyX, kGreyY), 0);
    EXPECT_EQ(dx->hotSpots.regionAt(-1, 10), -1);
    EXPECT_EQ(dx->hotSpots.regionAt(800, 10), -1);
}

TEST(HotSpotColours, SevenColoursNameTheRegionsAndEveryOtherNone)
{
    struct Case {
        uint32_t rgb;
        int32_t region;
    };
    for (const Case c : {Case{0xFF0000, 1}, Case{0x00FF00, 2}, Case{0x0000FF, 3}, Case{0xFFFF00, 4},
                         Case{0x00FFFF, 5}, Case{0xFF00FF, 6}, Case{0xFFFFFF, 7}, Case{0x404040, 0},
                         Case{0x000000, 0}, Case{0xFE0000, 0}, Case{0xFFFFFE, 0}})
        EXPECT_EQ(regionForColour(uint8_t(c.rgb >> 16), uint8_t(c.rgb >> 8), uint8_t(c.rgb)), c.region) << std::hex
                                                                                                        << c.rgb;
}

TEST_F(HotSpotTest, TheMapsAlphaByteIsIgnored)
{
    // A red pixel that is fully transparent still marks region A.
    std::vector<uint8_t> raw(size_t(800) * 600 * 4, 0);
    for (size_t i = 0; i < raw.size(); i += 4)
        raw[i] = 0xFF;
    testpng::Options o;
    o.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    game("A0,3\n", kSections, testpng::encode(800, 600, raw, o));
    ASSERT_TRUE(runUntilState(GameState::Hotspots));
    EXPECT_EQ(dx->hotSpots.regionAt(700, 500), 1);
}

TEST_F(HotSpotTest, ANestedClickableIsRefusedWithItsMessage)
{
    game("A0,1\n", "A0[\n@clickable\n{\n#bitmap\nmap.png\n#define\nB0,1\n#script\n]\n");
    ASSERT_TRUE(runUntilState(GameState::Hotspots));
    clickThrough(kAx, kAy);
    EXPECT_EQ(logCount(SJ("@clickableに@clickableをネストすることはできません")), 1u);
    EXPECT_EQ(dx->gameState, GameState::Hotspots);
    // The set in force is untouched: A has moved on to its next section.
    EXPECT_EQ(dx->hotSpots.sectionCounter[0], 1);
    EXPECT_EQ(dx->hotSpots.hotSpotTable[1][0].target, -1);
}

TEST_F(HotSpotTest, AMissingSectionIsReportedWithItsLineAndTheSetStays)
{
    game("A0,1\nA1,1\n", "A0[\n@test_title a0\n]\n");
    ASSERT_TRUE(runUntilState(GameState::Hotspots));
    clickThrough(kAx, kAy);
    EXPECT_EQ(mark(), "a0");
    clickThrough(kAx, kAy);
    EXPECT_EQ(dx->gameState, GameState::Hotspots);
    EXPECT_EQ(logCount(SJ("@clickable : error : 指定されたラベル(A1)がありません。 [")), 1u);
    EXPECT_EQ(logCount(SJ("がありません。 [12行目]")), 1u); // where the search ended: after the last line
}

TEST_F(HotSpotTest, EnterOverARegionStartsItsSection)
{
    game("A0,1\n", kSections);
    ASSERT_TRUE(runUntilState(GameState::Hotspots));
    pointAt(kGreyX, kGreyY);
    press(DIK_RETURN);
    EXPECT_EQ(mark(), "");
    pointAt(kAx, kAy);
    press(DIK_NUMPADENTER);
    frame();
    EXPECT_EQ(mark(), "a0");
}

TEST_F(HotSpotTest, HeldArrowsMoveThePointerAndStopTenPixelsFromTheEdge)
{
    game("A0,1\n", kSections);
    ASSERT_TRUE(runUntilState(GameState::Hotspots));
    pointAt(20, 300);
    frame();
    backend.input.keyDown(DIK_LEFT);
    backend.input.keyDown(DIK_DOWN);
    frame();
    // A 16 ms frame moves 1 + 16 / 10 = 2 pixels.
    EXPECT_EQ(backend.window.pointerX, 18);
    EXPECT_EQ(backend.window.pointerY, 302);
    frames(10);
    EXPECT_EQ(backend.window.pointerX, 10); // moves only while x > 10
    EXPECT_EQ(backend.window.pointerY, 322);
    backend.input.keyUp(DIK_LEFT);
    backend.input.keyUp(DIK_DOWN);
    frame();
    EXPECT_EQ(backend.window.pointerX, 10);

    // Walked onto region A, the pointer takes its shape.
    backend.input.keyDown(DIK_UP);
    backend.input.keyDown(DIK_RIGHT);
    frames(200);
    backend.input.keyUp(DIK_UP);
    backend.input.keyUp(DIK_RIGHT);
    EXPECT_EQ(backend.window.pointerY, 10);
    pointAt(kAx - 4, kAy);
    backend.input.keyDown(DIK_RIGHT);
    frame();
    backend.input.keyUp(DIK_RIGHT);
    EXPECT_EQ(dx->hotSpots.hoverCursor, 1);
}

TEST_F(HotSpotTest, CommandsInsideASetSwitchAutoModeOffButTheSectionEndDoesNot)
{
    game("A0,1\nB0,1\n", "A0[\n@test_title a0\n]\nB0[ ]\n");
    ASSERT_TRUE(runUntilState(GameState::Hotspots));
    dx->messageWindow.autoMode = 1;
    clickThrough(kAx, kAy);
    EXPECT_EQ(dx->messageWindow.autoMode, 0);
    dx->messageWindow.autoMode = 1;
    clickThrough(kBx, kBy); // "B0[" is consumed by the seek; "]" is the next token
    EXPECT_EQ(dx->messageWindow.autoMode, 1);
    EXPECT_EQ(dx->gameState, GameState::Hotspots);
}

TEST_F(HotSpotTest, LoadInsideASectionEndsTheSet)
{
    game("A0,1\n", "A0[\n@load next.scp\n]\n");
    ASSERT_TRUE(runUntilState(GameState::Hotspots));
    clickThrough(kAx, kAy);
    frames(8);
    EXPECT_EQ(dx->scriptState.clickableActive, 0);
    EXPECT_EQ(mark(), "next");
    EXPECT_EQ(dx->hotSpots.hoverCursor, -1);
}

TEST_F(HotSpotTest, TheSetStopsSkipMode)
{
    game("A0,1\n", kSections);
    dx->messageWindow.skipMode = 1;
    ASSERT_TRUE(runUntilState(GameState::Hotspots));
    EXPECT_EQ(dx->messageWindow.skipMode, 0);
}

// Each malformed block: its message, and no set in force.
TEST_F(HotSpotTest, MalformedBlocksAreReportedAndOpenNothing)
{
    struct Case {
        std::string source;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"@clickable #bitmap x #define A0,1 #script\n", "not found { in @clickable"},
        {"@clickable { x #define A0,1 #script\n", "not found #bitmap in @clickable"},
        {"@clickable { #bitmap\n", SJ("@clickable: #bitmap以降に定義ファイルがありません。")},
        {"@clickable { #bitmap map.png A0,1 #script\n", "not found #define in @clickable"},
        {"@clickable { #bitmap map.png #define A0,1\n", SJ("@clickable: #scriptがありません。")},
        {"@clickable { #bitmap map.png #define Z0,1 #script\n", SJ("@clickable: ラベルに指定できるのはA-Gです。")},
        {"@clickable { #bitmap map.png #define ,,, #script\n", SJ("@clickable: ラベルに指定できるのはA-Gです。")},
        {"@clickable { #bitmap map.png #define A99,1 #script\n", SJ("@clickable: ラベルが異常です。")},
        {"@clickable { #bitmap map.png #define A-1,1 #script\n", SJ("@clickable: ラベルが異常です。")},
        {"@clickable { #bitmap map.png #define A0,loop,32 #script\n", SJ("@clickable: ラベルが異常です。")},
        {"@clickable { #bitmap map.png #define A0,loop,-1 #script\n", SJ("@clickable: ラベルが異常です。")},
        {"@clickable { #bitmap map.png #define AAAAA0,1 #script\n", SJ("@clickable: ラベルが異常です。")},
        {"@clickable { #bitmap map.png #define A0 #script\n", SJ("@clickable: ラベルが異常です。")},
    };
    for (const Case& c : cases) {
        pack({{"SCP\\bad.scp", text(c.source)},
              {"CLICK\\map.png", branchtest::clickMapPng({{0, 0, 800, 600, 0xFF0000}})}});
        runLog().clear();
        dx->messageWindow.skipMode = 1;
        start("bad.scp");
        frame();
        EXPECT_EQ(logCount(c.message), 1u) << c.source << runLog().lines().back();
        EXPECT_EQ(dx->scriptState.clickableActive, 0) << c.source;
        EXPECT_NE(dx->gameState, GameState::Hotspots) << c.source;
    }
}

TEST_F(HotSpotTest, DefinitionsAcceptedAsWritten)
{
    // "A,1" is section 0; "A0,loop" has no target word and so names shape 0; a word other
    // than "loop" leaves the entry undefined; a block closed by "}" opens nothing.
    pack({{"SCP\\ok.scp", text("@clickable { #bitmap map.png #define A,1 B0,loop C0,x,3 D31,loop,31 #script\n")},
          {"SCP\\closed.scp", text("@clickable { #bitmap } #define A0,1 }\n")},
          {"CLICK\\map.png", branchtest::clickMapPng({})}});
    start("ok.scp");
    ASSERT_TRUE(runUntilState(GameState::Hotspots));
    const auto& t = dx->hotSpots.hotSpotTable;
    EXPECT_EQ(t[0][0].target, 1);
    EXPECT_EQ(t[1][0].target, 0);
    EXPECT_EQ(t[1][0].loop, 0);
    EXPECT_EQ(t[2][0].target, -1);
    EXPECT_EQ(t[3][31].target, 31);
    EXPECT_EQ(t[3][31].loop, 1);
    EXPECT_EQ(dx->hotSpots.clickMapPath, "CLICK\\map.png");

    clearBranchSets(*dx);
    start("closed.scp");
    frame();
    EXPECT_EQ(dx->scriptState.clickableActive, 0);
    EXPECT_EQ(dx->hotSpots.clickMap.width, 0);
    EXPECT_EQ(dx->hotSpots.hotSpotTable[0][0].target, 1);
}

// Maps that are tiny, missing, damaged or larger than the picture: no crash, and only
// points inside a map's own pixels belong to a region.
TEST_F(HotSpotTest, OddMapsNeverReachOutsideThemselves)
{
    struct Case {
        std::string name;
        std::vector<uint8_t> bytes;
        int32_t regionAtOrigin;
        bool logged;
    };
    std::vector<uint8_t> broken = branchtest::clickMapPng({{0, 0, 10, 10, 0xFF0000}}, 10, 10);
    broken.resize(broken.size() / 2);
    const std::vector<Case> cases = {
        {"tiny", branchtest::clickMapPng({{0, 0, 1, 1, 0xFF0000}}, 1, 1), 1, false},
        {"missing", {}, -1, true},
        {"broken", broken, -1, true},
        {"large", branchtest::clickMapPng({{0, 0, 4000, 1, 0x00FF00}}, 4000, 700), 2, false},
    };
    for (const Case& c : cases) {
        std::map<std::string, std::vector<uint8_t>> entries = {
            {"SCP\\start.scp", text("@clickable { #bitmap map.png #define A0,1 B0,1 #script A0[ @test_title a0 ] "
                                    "B0[ @test_title b0 ]\n")}};
        if (!c.bytes.empty())
            entries["CLICK\\map.png"] = c.bytes;
        pack(entries);
        runLog().clear();
        dx->scriptState.testTitle.clear();
        start("start.scp");
        ASSERT_TRUE(runUntilState(GameState::Hotspots)) << c.name;
        EXPECT_EQ(dx->hotSpots.regionAt(0, 0), c.regionAtOrigin) << c.name;
        EXPECT_EQ(logCount("@clickable: map load failed [CLICK\\map.png]"), c.logged ? 1u : 0u) << c.name;
        clickThrough(400, 300);
        clickThrough(799, 599);
        EXPECT_EQ(mark(), "") << c.name;
        EXPECT_EQ(dx->gameState, GameState::Hotspots) << c.name;
        clearBranchSets(*dx);
    }
}

} // namespace
