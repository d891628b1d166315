// The backlog over a small story: Page Up, keypad 9 or the wheel open it on the message
// before the current one, the keys, the wheel, the arrows and the scroll track page through
// the history, and the jump-back button goes back into the story at the message shown.
#include "SaveFixture.h"

#include "screens/BacklogScreen.h"

using BL = BacklogLayout;

namespace {

const char* const kBacklogStory = R"(@def_text
{
0 語り FFFF off
1 ひかり FFCE on
2 ながいながいなまX FFFF on
}
@bg_load red.png
@bg_change 0
@bgm_load music.ogg
@bgm play
@text,1
{
一つめの言葉。
}
@bg_load blue.png
@bg_change 0
@bgm_load other.ogg
@bgm play
@text,0
{
二つめの言葉。
}
@text,2
{
三つめの言葉。
}
@text,0
{
四つめの言葉。
}
@wait 100000
)";

} // namespace

class BacklogTest : public SaveGameTest {
public:
    // The story with a second music file; settings as given (auto wait, skip all) in
    // "system.dat" beside it.
    void startBacklogStory(int32_t autoWait = 3, uint8_t skipAll = 0, int32_t textSpeed = 5)
    {
        std::filesystem::create_directories(dir.path() / "SOUND" / "BGM");
        ASSERT_TRUE(soundtest::writeOgg((dir.path() / "SOUND" / "BGM" / "other.ogg").string(),
                                        soundtest::sine(22050, 1), 1, 22050));
        SystemConfig c;
        c.applyDefaults();
        c.autoWait = autoWait;
        c.skipAll = skipAll;
        c.textSpeed = textSpeed;
        const auto bytes = c.toBytes();
        testsupport::writeAll(dir.file("system.dat"), std::vector<uint8_t>(bytes.begin(), bytes.end()));
        startStory(kBacklogStory);
    }
    std::string windowLine() const { return platform::sjisToUtf8(dx->messageWindow.lines[0]); }
    std::string speaker() const { return platform::sjisToUtf8(dx->messageWindow.speakerName); }
    bool inBacklog() const { return dx->screenState == ScreenState::Backlog; }
    // Opened, and the two buttons at rest, so the backlog takes input.
    void openWithPageUp()
    {
        press(DIK_PRIOR);
        ASSERT_TRUE(inBacklog());
        frames(30);
        ASSERT_FALSE(dx->backlog.sliding);
    }
    // Pressed in one frame, let go in the next.
    void clickAt(int x, int y)
    {
        click(x, y);
        frames(2);
    }
    void wheel(int notches)
    {
        backend.input.wheelMotion(120 * notches);
        // A notch locks the wheel out for a few polls.
        frames(2 + CInput::kWheelLockoutPolls);
    }
    // From the backlog to its first entry, then the jump-back button by the keys.
    void jumpBackToFirst()
    {
        for (int i = 0; i < 50 && dx->backlog.historyIndex > 0; ++i)
            press(DIK_PRIOR);
        press(DIK_LEFT);
        EXPECT_EQ(dx->backlog.selectedButton, BacklogButton::JumpBack);
        press(DIK_RETURN);
    }
    // The first message back as it was: red, its music, its speaker, the history afresh;
    // then the story goes on from there.
    void expectBackAtTheFirstMessage()
    {
        ASSERT_EQ(dx->screenState, ScreenState::Game);
        waitFor([&] { return dx->gameState == GameState::PageClickWait; });
        EXPECT_EQ(windowLine(), "一つめの言葉。");
        EXPECT_EQ(speaker(), "ひかり");
        EXPECT_EQ(pixel(20, 20), kRed);
        EXPECT_EQ(dx->sound.bgmName(), "music.ogg");
        EXPECT_TRUE(dx->sound.bgmPlaying());
        EXPECT_TRUE(dx->sound.bgm.isPlaying());
        EXPECT_EQ(dx->messageWindow.autoMode, 0);
        EXPECT_EQ(dx->messageWindow.skipMode, 0);
        EXPECT_EQ(dx->messageWindow.messageCount, 1u);
        // Neither auto nor skip mode moves on: the message waits for its click.
        frames(120);
        EXPECT_EQ(windowLine(), "一つめの言葉。");
        EXPECT_EQ(dx->gameState, GameState::PageClickWait);
        nextText();
        EXPECT_EQ(windowLine(), "二つめの言葉。");
        EXPECT_EQ(pixel(20, 20), kBlue);
        EXPECT_EQ(dx->sound.bgmName(), "other.ogg");
    }
};

TEST_F(BacklogTest, WithTwoMessagesTheWaysInOpenOnTheFirstAndTheWaysOutCloseOnTheSecond)
{
    startBacklogStory();
    // One message is no history to page through.
    press(DIK_PRIOR);
    EXPECT_EQ(dx->screenState, ScreenState::Game);
    nextText();
    ASSERT_EQ(windowLine(), "二つめの言葉。");

    using Way = std::pair<const char*, std::function<void()>>;
    const Way waysIn[] = {
        {"Page Up", [&] { press(DIK_PRIOR); }},
        {"keypad 9", [&] { press(DIK_NUMPAD9); }},
        {"wheel up", [&] { wheel(1); }},
    };
    const Way waysOut[] = {
        {"Page Down", [&] { press(DIK_NEXT); }},
        {"keypad 3", [&] { press(DIK_NUMPAD3); }},
        {"wheel down", [&] { wheel(-1); }},
        {"Escape", [&] { press(DIK_ESCAPE); }},
        {"right click", [&] { rightClick(); }},
        {"Enter on the close button", [&] { press(DIK_RETURN); }},
        {"click on the close button", [&] { clickAt(BL::kReturnLeft + 10, BL::kButtonY + 8); }},
    };
    // Every way out, each after one of the ways in in turn.
    for (size_t k = 0; k < std::size(waysOut); ++k) {
        const Way& in = waysIn[k % std::size(waysIn)];
        const Way& out = waysOut[k];
        SCOPED_TRACE(std::string(in.first) + ", then " + out.first);
        in.second();
        ASSERT_TRUE(inBacklog());
        EXPECT_EQ(dx->backlog.historyIndex, 0);
        EXPECT_EQ(windowLine(), "一つめの言葉。");
        EXPECT_EQ(speaker(), "ひかり");
        EXPECT_EQ(dx->messageWindow.nameWindowVisible, 1);
        EXPECT_FALSE(dx->messageWindow.clickMarkVisible);
        frames(30);
        out.second();
        ASSERT_FALSE(inBacklog());
        // The current message is back as it was, still waiting for its click.
        EXPECT_EQ(windowLine(), "二つめの言葉。");
        EXPECT_EQ(speaker(), "語り");
        EXPECT_EQ(dx->messageWindow.nameWindowVisible, 0);
        EXPECT_TRUE(dx->messageWindow.clickMarkVisible);
        EXPECT_TRUE(dx->messageWindow.pageComplete());
        EXPECT_EQ(dx->gameState, GameState::PageClickWait);
        frames(2);
    }
}

TEST_F(BacklogTest, OpenedWhileAMessageTypesTheWindowComesBackAsItWasAndTypesOn)
{
    startBacklogStory(3, 0, /*textSpeed*/ 0); // a quarter second a character
    click(400, 300);
    frames(40);
    const MessageWindow& w = dx->messageWindow;
    ASSERT_EQ(dx->gameState, GameState::Typing);
    ASSERT_EQ(windowLine(), "二つめの言葉。");
    const int32_t cells = w.cellsUsed;
    const size_t typed = w.typeByte;
    ASSERT_GT(cells, 0);
    ASSERT_FALSE(w.pageComplete());
    // The window itself (the game screen's round menu button above it is not the backlog's).
    auto windowPixels = [&] {
        std::vector<uint32_t> px;
        for (int y = MessageWindow::kWindowY; y < MessageWindow::kWindowY + 128; ++y)
            for (int x = 0; x < 800; ++x)
                px.push_back(pixel(x, y));
        return px;
    };
    const std::vector<uint32_t> before = windowPixels();

    tap(DIK_PRIOR);
    frame();
    ASSERT_TRUE(inBacklog());
    EXPECT_EQ(windowLine(), "一つめの言葉。");
    EXPECT_TRUE(w.pageComplete());
    // The typing does not go on behind the backlog.
    frames(60);
    tap(DIK_ESCAPE);
    frame();
    ASSERT_FALSE(inBacklog());
    EXPECT_EQ(windowLine(), "二つめの言葉。");
    EXPECT_EQ(w.cellsUsed, cells);
    EXPECT_EQ(w.typeByte, typed);
    EXPECT_EQ(dx->gameState, GameState::Typing);
    // The glyphs typed so far are drawn again as they were.
    EXPECT_TRUE(windowPixels() == before);
    waitFor([&] { return dx->gameState == GameState::PageClickWait; });
    EXPECT_EQ(w.cellsUsed, 7);
}

TEST_F(BacklogTest, TheButtonsSlideInAndTakeNoInputUntilTheyRest)
{
    startBacklogStory();
    nextText();
    press(DIK_PRIOR);
    ASSERT_TRUE(inBacklog());
    BacklogState& b = dx->backlog;
    EXPECT_TRUE(b.sliding);
    EXPECT_LT(b.buttonX[0], BL::kJumpStartX);
    // Escape during the slide is not read.
    press(DIK_ESCAPE);
    EXPECT_TRUE(inBacklog());
    // 0.896 pixels a millisecond: the close button travels 352 pixels, about 25 frames.
    frames(30);
    EXPECT_FALSE(b.sliding);
    EXPECT_EQ(b.buttonX[0], BL::kJumpRestX);
    EXPECT_EQ(b.buttonX[1], BL::kReturnRestX);
    // The pointer over a button takes the highlight when it moves there; the arrows are
    // buttons only while it is over them.
    pointer(BL::kJumpLeft + 5, BL::kButtonY + 5);
    frame();
    EXPECT_EQ(b.selectedButton, BacklogButton::JumpBack);
    pointer(BL::kArrowX + 4, BL::kUpY + 4);
    frame();
    EXPECT_EQ(b.selectedButton, BacklogButton::Up);
    pointer(400, 300);
    frame();
    EXPECT_EQ(b.selectedButton, BacklogButton::JumpBack);
    press(DIK_RIGHT);
    EXPECT_EQ(b.selectedButton, BacklogButton::Return);
}

TEST_F(BacklogTest, KeysWheelArrowsAndTheScrollTrackPageThroughTheHistory)
{
    startBacklogStory();
    for (int i = 0; i < 3; ++i)
        nextText();
    ASSERT_EQ(windowLine(), "四つめの言葉。");
    openWithPageUp();
    BacklogState& b = dx->backlog;
    EXPECT_EQ(b.historyIndex, 2);

    const struct {
        const char* name;
        std::function<void()> act;
        int32_t index; // afterwards
    } steps[] = {
        {"Page Up", [&] { press(DIK_PRIOR); }, 1},
        {"keypad 9", [&] { press(DIK_NUMPAD9); }, 0},
        {"Page Up at the oldest", [&] { press(DIK_PRIOR); }, 0},
        {"wheel down", [&] { wheel(-1); }, 1},
        {"keypad 3", [&] { press(DIK_NUMPAD3); }, 2},
        {"wheel up", [&] { wheel(1); }, 1},
        {"up arrow", [&] { clickAt(BL::kArrowX + 8, BL::kUpY + 8); }, 0},
        {"down arrow", [&] { clickAt(BL::kArrowX + 8, BL::kDownY + 8); }, 1},
        {"down arrow", [&] { clickAt(BL::kArrowX + 8, BL::kDownY + 8); }, 2},
        // The newest entry before the current message is the end: the arrow stays there.
        {"down arrow at the newest", [&] { clickAt(BL::kArrowX + 8, BL::kDownY + 8); }, 2},
    };
    const char* const lines[] = {"一つめの言葉。", "二つめの言葉。", "三つめの言葉。"};
    for (const auto& s : steps) {
        s.act();
        ASSERT_TRUE(inBacklog()) << s.name;
        EXPECT_EQ(b.historyIndex, s.index) << s.name;
        EXPECT_EQ(windowLine(), lines[s.index]) << s.name;
    }

    // Holding the left button on the track: its top is the oldest entry, its bottom the newest
    // before the current message. Four messages: a step of 63 / 3 = 21 rows.
    const struct {
        int y;
        int32_t index;
    } track[] = {{BL::kTrackTop, 0}, {BL::kTrackBottom, 2}, {500, 1}, {498, 0}, {499, 1}, {BL::kTrackTop, 0}};
    for (const auto& t : track) {
        pointer(BL::kTrackLeft + 7, t.y);
        backend.input.buttonDown(0);
        frame();
        EXPECT_EQ(b.historyIndex, t.index) << "row " << t.y;
        EXPECT_EQ(windowLine(), lines[t.index]) << "row " << t.y;
        backend.input.buttonUp(0);
        frame();
    }
    // Dragging along it follows the pointer while the button is held.
    pointer(BL::kTrackLeft + 7, BL::kTrackTop);
    backend.input.buttonDown(0);
    frame();
    pointer(BL::kTrackLeft + 7, BL::kTrackBottom);
    frame();
    EXPECT_EQ(b.historyIndex, 2);
    backend.input.buttonUp(0);
    frame();
    // Outside the track the held button does nothing.
    pointer(BL::kTrackLeft - 3, BL::kTrackTop);
    backend.input.buttonDown(0);
    frame();
    EXPECT_EQ(b.historyIndex, 2);
    backend.input.buttonUp(0);
    frame();
}

TEST(BacklogScrollBar, TrackRowsAndThumbPositionsNeverDivideByZero)
{
    const struct {
        int count, y;
        int32_t entry;
    } rows[] = {
        {0, 500, 0},   {1, 500, 0},   {2, 500, 0},           // no track below three messages
        {3, 465, 0},   {3, 513, 0},   {3, 514, 1},  {3, 530, 1}, // a step of 31 rows
        {10, 465, 0},  {10, 530, 8},  {10, 477, 0}, {10, 478, 1},
        {50, 465, 0},  {50, 468, 0},  {50, 469, 1}, {50, 516, 48}, {50, 530, 48},
        {100, 465, 0}, {100, 530, 62}, // more than the history holds: a step of one row
    };
    for (const auto& r : rows)
        EXPECT_EQ(backlogEntryAt(r.y, r.count), r.entry) << r.count << " messages, row " << r.y;

    const struct {
        int index, count;
        int32_t y;
    } thumbs[] = {{0, 0, 462}, {0, 2, 462}, {0, 3, 462}, {1, 3, 517}, {0, 50, 462}, {48, 50, 517},
                  {24, 50, 489}, {60, 50, 517}, {-1, 50, 462}};
    for (const auto& t : thumbs)
        EXPECT_EQ(backlogThumbY(t.index, t.count), t.y) << t.index << " of " << t.count;
}

TEST_F(BacklogTest, JumpingBackRestoresTheSceneMusicAndPlaceAndEndsAutoMode)
{
    startBacklogStory(/*autoWait*/ 0);
    nextText();
    nextText();
    ASSERT_EQ(windowLine(), "三つめの言葉。");
    press(DIK_4);
    ASSERT_EQ(dx->messageWindow.autoMode, 1);
    openWithPageUp();
    EXPECT_EQ(windowLine(), "二つめの言葉。");
    jumpBackToFirst();
    expectBackAtTheFirstMessage();
}

TEST_F(BacklogTest, JumpingBackEndsSkipMode)
{
    // Skip all: switched on at the first message, skip mode runs to the story's last wait.
    startBacklogStory(/*autoWait*/ 0, /*skipAll*/ 1);
    press(DIK_3);
    waitFor([&] { return windowLine() == "四つめの言葉。" && dx->gameState == GameState::Ready; });
    ASSERT_EQ(dx->messageWindow.skipMode, 1);
    openWithPageUp();
    EXPECT_EQ(dx->backlog.historyIndex, 2);
    jumpBackToFirst();
    expectBackAtTheFirstMessage();
}

TEST_F(BacklogTest, ALongSpeakerNameShowsTheNoticeAsInTheGame)
{
    startBacklogStory();
    nextText();
    nextText();
    ASSERT_EQ(speaker(), "◆文字数オーバー");
    nextText();
    openWithPageUp();
    EXPECT_EQ(windowLine(), "三つめの言葉。");
    EXPECT_EQ(speaker(), "◆文字数オーバー");
    const MessageHistory::Entry& e = dx->messageHistory.entry(2);
    EXPECT_EQ(e.name[sizeof e.name - 1], '\0');
}

TEST_F(BacklogTest, TheHistoryStartsAfreshAtALoadAndAtANewGame)
{
    startBacklogStory();
    nextText();
    nextText();
    saveWithKeys(0);
    press(DIK_ESCAPE);
    ASSERT_EQ(dx->screenState, ScreenState::Game);
    nextText();
    EXPECT_EQ(dx->messageWindow.messageCount, 4u);

    // Loaded at the third message: the history holds only what came after the load.
    press(DIK_2);
    chooseSlot(0);
    ASSERT_EQ(dx->screenState, ScreenState::Game);
    waitFor([&] { return dx->gameState == GameState::PageClickWait; });
    EXPECT_EQ(windowLine(), "三つめの言葉。");
    EXPECT_EQ(dx->messageWindow.messageCount, 1u);
    press(DIK_PRIOR);
    EXPECT_FALSE(inBacklog());
    nextText();
    openWithPageUp();
    EXPECT_EQ(windowLine(), "三つめの言葉。");
    press(DIK_ESCAPE);

    // Back to the title through the in-game menu, and a new game.
    tap(DIK_BACK);
    frames(50);
    press(DIK_LEFT);
    press(DIK_LEFT);
    ASSERT_EQ(dx->gameMenu.selection, int(GameMenuItem::ReturnToTitle));
    press(DIK_RETURN);
    ASSERT_TRUE(dx->confirmOpen);
    press(DIK_LEFT);
    press(DIK_RETURN);
    waitFor([&] { return dx->screenState == ScreenState::Title && dx->titleScreen.TitlePhase == TitleState::Menu; });
    for (int i = 0; i < 8 && dx->titleScreen.TitleSelection != int(TitleItem::NewGame); ++i)
        press(DIK_UP);
    press(DIK_RETURN);
    waitFor([&] { return dx->screenState == ScreenState::Game && dx->gameState == GameState::PageClickWait; });
    EXPECT_EQ(windowLine(), "一つめの言葉。");
    EXPECT_EQ(dx->messageWindow.messageCount, 1u);
    press(DIK_PRIOR);
    EXPECT_FALSE(inBacklog());
}
