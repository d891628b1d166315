// The demo's opening paged through to the message before its first choice, the backlog
// opened there and turned back three messages with the wheel, and the story jumped back to
// that message: the game shows the picture it showed when that message was first shown.
#include "tools/runner/Runner.h"
#include "app/CDirectX.h"
#include "input/KeyCodes.h"
#include "platform/Text.h"
#include "platform/headless/HeadlessBackend.h"
#include "DemoRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Player : RunnerHooks {
    void press(platform::HeadlessBackend& b, uint8_t key)
    {
        b.input.keyDown(key);
        b.input.keyUp(key);
    }
    bool at(const CDirectX& dx, const std::string& line) const
    {
        return dx.screenState == ScreenState::Game && dx.gameState == GameState::PageClickWait &&
               dx.messageWindow.lines[0] == line;
    }

    void afterFrame(int frame, CDirectX& dx, platform::HeadlessBackend& b) override
    {
        if (frame < next || done)
            return;
        next = frame + 3;
        switch (step) {
        case 0: // the title menu: new game
            if (dx.screenState == ScreenState::Title && dx.titleScreen.TitlePhase == TitleState::Menu) {
                b.window.pointerX = 400;
                b.window.pointerY = 300;
                press(b, DIK_RETURN);
                step = 1;
            }
            break;
        case 1: // the opening, page by page; the picture of the second message is kept
            if (at(dx, second) && firstShown.empty()) {
                step = 2;
                next = frame + 30;
            } else if (at(dx, beforeChoice)) {
                press(b, DIK_PRIOR);
                step = 3;
                next = frame + 30; // the buttons slide in
            } else if (dx.gameState == GameState::PageClickWait || dx.gameState == GameState::PauseClickWait) {
                b.input.buttonDown(0);
                b.input.buttonUp(0);
                next = frame + 10;
            }
            break;
        case 2:
            firstShown = demorun::grabPicture(b);
            step = 1;
            break;
        case 3: // the backlog opens on the message before: two notches back make three
            if (dx.screenState != ScreenState::Backlog)
                break;
            openedOn = dx.backlog.historyIndex;
            b.input.wheelMotion(120);
            step = 4;
            next = frame + 8; // past the wheel's lock-out
            break;
        case 4:
            b.input.wheelMotion(120);
            step = 5;
            next = frame + 8;
            break;
        case 5:
            jumpedTo = dx.backlog.historyIndex;
            shownInBacklog = dx.messageWindow.lines[0];
            press(b, DIK_LEFT);
            step = 6;
            break;
        case 6:
            press(b, DIK_RETURN);
            step = 7;
            break;
        case 7:
            if (at(dx, second)) {
                step = 8;
                next = frame + 30;
            }
            break;
        case 8:
            afterJump = demorun::grabPicture(b);
            done = true;
            break;
        }
    }

    std::string second = platform::utf8ToSjis("十年に一度の流星群の夜。");
    std::string beforeChoice = platform::utf8ToSjis("ひかりは、そう言って笑った。");
    int step = 0, next = 0;
    bool done = false;
    int32_t openedOn = -1, jumpedTo = -1;
    std::string shownInBacklog;
    std::vector<uint32_t> firstShown, afterJump;
};

} // namespace

TEST(BacklogJump, ThreeMessagesBackTheGameShowsThePictureOfThatMessage)
{
    testsupport::TempDir game;
    ASSERT_TRUE(demorun::copyDemoGame(game, {"system.pkd", "SOUND"}));

    RunnerOptions o = demorun::runOptions(game, 1500);
    std::ostringstream report;
    Player player;
    ASSERT_EQ(runHeadless(o, report, &player), kRunnerOk) << report.str();
    ASSERT_TRUE(player.done) << "the run stopped at step " << player.step;

    // Five messages: the backlog opened on the fourth and went back to the second.
    EXPECT_EQ(player.openedOn, 3);
    EXPECT_EQ(player.jumpedTo, 1);
    EXPECT_EQ(player.shownInBacklog, player.second);

    ASSERT_EQ(player.firstShown.size(), player.afterJump.size());
    EXPECT_LE(demorun::differingPixels(player.firstShown, player.afterJump), demorun::kClickMarkPixels)
        << "pixels differ between the message first shown and after the jump back";
}
