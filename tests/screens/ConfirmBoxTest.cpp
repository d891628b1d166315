// The yes/no box as the player meets it: from the title's quit item, from closing the window,
// and over the game screen, which it pauses.
#include "ScreensFixture.h"

#include "screens/ConfirmBox.h"
#include "screens/TitleScreen.h"

namespace {
constexpr int kYesX = 300, kNoX = 460, kButtonY = 340;
}

TEST_F(ScreensTest, ClosingTheWindowAsksTheQuitQuestionOnNo)
{
    start();
    closeWindow();
    frame();
    ASSERT_TRUE(dx->confirmOpen);
    EXPECT_FALSE(dx->confirm.ConfirmToTitle);
    EXPECT_EQ(dx->confirm.ConfirmChoice, ConfirmState::kNo);
    // The grey panel, the two buttons and the white question are on the picture.
    EXPECT_EQ(pixel(245, 240), 0x666666u);
    EXPECT_GT(whitePixels(240, 268, 320, 32), 100);
    EXPECT_EQ(whitePixels(240, 236, 320, 30), 0);
    EXPECT_NE(pixel(300, 348), 0x666666u);
    EXPECT_NE(pixel(460, 348), 0x666666u);
    EXPECT_FALSE(dx->quitPosted);
}

TEST_F(ScreensTest, ACloseWhileTheBoxIsOpenChangesNothing)
{
    start();
    closeWindow();
    frame();
    tap(DIK_LEFT);
    frame();
    ASSERT_EQ(dx->confirm.ConfirmChoice, ConfirmState::kYes);
    closeWindow();
    frames(3);
    EXPECT_TRUE(dx->confirmOpen);
    EXPECT_EQ(dx->confirm.ConfirmChoice, ConfirmState::kYes);
}

enum class Outcome { StaysOpen, ClosesOnNo, Quits };
struct AnswerCase {
    const char* what;
    void (*act)(ScreensTest&);
    Outcome outcome;
    bool togglesDisplay = false;
};

const AnswerCase kAnswers[] = {
    {"EnterAnswersTheHighlightedNo", [](ScreensTest& t) { t.tap(DIK_RETURN); }, Outcome::ClosesOnNo},
    {"KeypadEnterToo", [](ScreensTest& t) { t.tap(DIK_NUMPADENTER); }, Outcome::ClosesOnNo},
    {"LeftThenSpaceAnswersYes",
     [](ScreensTest& t) {
         t.tap(DIK_LEFT);
         t.frame();
         t.tap(DIK_SPACE);
     },
     Outcome::Quits},
    {"LeftRightEnterAnswersNo",
     [](ScreensTest& t) {
         t.tap(DIK_LEFT);
         t.frame();
         t.tap(DIK_RIGHT);
         t.frame();
         t.tap(DIK_RETURN);
     },
     Outcome::ClosesOnNo},
    {"PointerOverYesThenEnter",
     [](ScreensTest& t) {
         t.pointer(kYesX, kButtonY);
         t.frame();
         t.tap(DIK_RETURN);
     },
     Outcome::Quits},
    {"PointerSquareTouchingYesFromTheLeft",
     [](ScreensTest& t) {
         t.pointer(249, kButtonY);
         t.frame();
         t.tap(DIK_RETURN);
     },
     Outcome::Quits},
    {"PointerSquareJustShortOfYes",
     [](ScreensTest& t) {
         t.pointer(248, kButtonY);
         t.frame();
         t.tap(DIK_RETURN);
     },
     Outcome::ClosesOnNo},
    {"ClickOnYes", [](ScreensTest& t) { t.click(kYesX, kButtonY); }, Outcome::Quits},
    {"ClickOnNo", [](ScreensTest& t) { t.click(kNoX, kButtonY); }, Outcome::ClosesOnNo},
    {"ClickBetweenTheButtons", [](ScreensTest& t) { t.click(400, kButtonY); }, Outcome::StaysOpen},
    {"ClickOnThePanelAbove", [](ScreensTest& t) { t.click(400, 280); }, Outcome::StaysOpen},
    {"ClickOutsideTheBox", [](ScreensTest& t) { t.click(100, 100); }, Outcome::StaysOpen},
    {"AltEnterTogglesTheDisplayInstead",
     [](ScreensTest& t) { t.altEnter(); },
     Outcome::StaysOpen, true},
};

class ConfirmAnswerTest : public ScreensTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(ConfirmAnswerTest, TheQuitQuestionAnswersLikeAPlayerExpects)
{
    const AnswerCase& c = GetParam();
    start();
    closeWindow();
    frame();
    ASSERT_TRUE(dx->confirmOpen);
    const bool wasWindowed = dx->display.windowed();
    c.act(*this);
    frames(8);
    switch (c.outcome) {
    case Outcome::StaysOpen:
        EXPECT_TRUE(dx->confirmOpen);
        EXPECT_FALSE(dx->quitPosted);
        break;
    case Outcome::ClosesOnNo:
        EXPECT_FALSE(dx->confirmOpen);
        EXPECT_FALSE(dx->quitPosted);
        EXPECT_EQ(dx->screenState, ScreenState::Title);
        break;
    case Outcome::Quits:
        EXPECT_TRUE(dx->quitPosted);
        EXPECT_EQ(app_->finish(), 0);
        app_.reset();
        break;
    }
    EXPECT_EQ(dx->display.windowed() != wasWindowed, c.togglesDisplay);
    if (c.outcome == Outcome::StaysOpen) { // the buttons are still drawn, also on the new device
        EXPECT_NE(pixel(300, 348), 0x666666u);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, ConfirmAnswerTest, ::testing::ValuesIn(kAnswers),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(ScreensTest, TheTitlesQuitItemAsksOnNoAndYesEndsWithTheRecordsWritten)
{
    start();
    tap(DIK_UP); // item 6
    frame();
    tap(DIK_RETURN);
    frame();
    ASSERT_TRUE(dx->confirmOpen);
    EXPECT_EQ(dx->confirm.ConfirmChoice, ConfirmState::kNo);
    // The box has the keys now: the arrows answer it, not the menu.
    tap(DIK_LEFT);
    tap(DIK_UP);
    frame();
    EXPECT_EQ(dx->titleScreen.TitleSelection, 6);
    std::filesystem::remove(dir.file("system.dat"));
    tap(DIK_RETURN);
    frames(3);
    ASSERT_TRUE(dx->quitPosted);
    EXPECT_EQ(app_->finish(), 0);
    app_.reset();
    EXPECT_EQ(testsupport::readAll(dir.file("system.dat")).size(), 100u);
    EXPECT_TRUE(std::filesystem::exists(dir.file("text.dat")));
}

TEST_F(ScreensTest, QuittingFromTheGameScreenKeepsWhatWasRead)
{
    ScreensGame g;
    g.startScript = "@test_title started\r\n@keywait\r\n@test_title later\r\n";
    start(g);
    tap(DIK_RETURN);
    frames(45);
    ASSERT_EQ(dx->screenState, ScreenState::Game);
    ASSERT_EQ(dx->scriptState.testTitle, "started");
    closeWindow();
    frame();
    tap(DIK_LEFT);
    frame();
    tap(DIK_RETURN);
    frames(3);
    ASSERT_TRUE(dx->quitPosted);
    app_->finish();
    app_.reset();
    // One record: "startup.scp" read as far as the wait.
    const std::vector<uint8_t> record = testsupport::readAll(dir.file("text.dat"));
    ReadTextRecord reread;
    reread.mergeRecords(record.data(), record.size());
    ASSERT_EQ(reread.entries().count("startup.scp"), 1u);
    EXPECT_GT(reread.entries().at("startup.scp"), 0);
}

TEST_F(ScreensTest, TheOpenBoxPausesTheGame)
{
    ScreensGame g;
    g.startScript = "@wait 200\r\n@test_title after\r\n";
    start(g);
    tap(DIK_RETURN);
    frames(34);
    ASSERT_EQ(dx->screenState, ScreenState::Game);
    ASSERT_EQ(dx->scriptState.waitActive, 1);
    closeWindow();
    frames(40); // 640 ms behind the box
    EXPECT_EQ(dx->scriptState.waitActive, 1);
    EXPECT_EQ(dx->scriptState.testTitle, "");
    tap(DIK_ESCAPE); // no key reaches the game while the box is open
    tap(DIK_RETURN); // "no"
    frames(20);
    EXPECT_FALSE(dx->confirmOpen);
    EXPECT_EQ(dx->scriptState.testTitle, "after");
}

TEST_F(ScreensTest, TheReturnToTitleQuestionLeavesTheGameForTheMenu)
{
    ScreensGame g;
    g.startScript = "@test_title started\r\n@keywait\r\n";
    start(g);
    tap(DIK_RETURN);
    frames(45);
    ASSERT_EQ(dx->screenState, ScreenState::Game);
    openConfirm(*dx, true, ConfirmState::kNo);
    frame();
    EXPECT_GT(whitePixels(240, 252, 320, 64), 100);
    tap(DIK_LEFT);
    frame();
    tap(DIK_RETURN);
    frames(2);
    EXPECT_FALSE(dx->confirmOpen);
    EXPECT_EQ(dx->screenState, ScreenState::Title);
    EXPECT_EQ(dx->titleScreen.TitlePhase, TitleState::Menu);
    EXPECT_EQ(pixel(20, 20), 0x141EC8u); // the title picture again
    EXPECT_TRUE(std::filesystem::exists(dir.file("text.dat")));
}
