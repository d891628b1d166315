// The demo saved in the middle of its opening, the program ended and started again, and the
// slot loaded from the title's load item: the game shows the picture it showed when saved.
#include "tools/runner/Runner.h"
#include "app/CDirectX.h"
#include "input/KeyCodes.h"
#include "platform/Text.h"
#include "platform/headless/HeadlessBackend.h"
#include "screens/SaveLoadScreen.h"
#include "DemoRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const int kSlot = 10; // page 1, left column, row 2

// Plays as a player would, one decision between frames.
struct Player : RunnerHooks {
    explicit Player(bool loading) : loading(loading) {}

    void press(platform::HeadlessBackend& b, uint8_t key)
    {
        b.input.keyDown(key);
        b.input.keyUp(key);
    }
    void clickAt(platform::HeadlessBackend& b, int x, int y)
    {
        b.window.pointerX = x;
        b.window.pointerY = y;
        b.input.buttonDown(0);
        b.input.buttonUp(0);
    }
    bool atSavedText(const CDirectX& dx) const
    {
        return dx.screenState == ScreenState::Game && dx.gameState == GameState::PageClickWait &&
               dx.messageWindow.lines[0] == savedLine;
    }

    void afterFrame(int frame, CDirectX& dx, platform::HeadlessBackend& b) override
    {
        if (frame < next || done)
            return;
        next = frame + 3;
        switch (step) {
        case 0: // the title menu
            if (dx.screenState == ScreenState::Title && dx.titleScreen.TitlePhase == TitleState::Menu) {
                b.window.pointerX = 700;
                b.window.pointerY = 590;
                if (loading)
                    press(b, DIK_DOWN);
                step = 1;
            }
            break;
        case 1:
            press(b, DIK_RETURN);
            step = loading ? 10 : 2;
            break;
        case 2: // page through the opening up to the text that is saved
            if (atSavedText(dx)) {
                b.window.pointerX = 400;
                b.window.pointerY = 300;
                step = 3;
                next = frame + 30;
            } else if (dx.gameState == GameState::PageClickWait) {
                clickAt(b, 400, 300);
                next = frame + 10;
            }
            break;
        case 3:
            picture = demorun::grabPicture(b);
            press(b, DIK_1);
            step = 4;
            break;
        case 4: // the save list: the page tab, then the slot
            if (dx.screenState != ScreenState::SaveLoad)
                break;
            clickAt(b, SaveLoadLayout::tabX(1, dx.saveLoad.SlotPage) + 8, 570);
            step = 5;
            break;
        case 5:
            clickAt(b, SaveLoadLayout::boxX(kSlot % 8) + 200, SaveLoadLayout::boxY(kSlot % 8) + 40);
            step = 6;
            break;
        case 6:
            if (dx.saveLoad.slots[kSlot].used) {
                press(b, DIK_ESCAPE);
                done = true;
            }
            break;
        case 10: // the load list from the title
            if (dx.screenState != ScreenState::SaveLoad)
                break;
            slotListed = dx.saveLoad.slots[kSlot].used;
            clickAt(b, SaveLoadLayout::tabX(1, dx.saveLoad.SlotPage) + 8, 570);
            step = 11;
            break;
        case 11:
            clickAt(b, SaveLoadLayout::boxX(kSlot % 8) + 200, SaveLoadLayout::boxY(kSlot % 8) + 40);
            step = 12;
            break;
        case 12:
            b.window.pointerX = 400;
            b.window.pointerY = 300;
            if (atSavedText(dx)) {
                step = 13;
                next = frame + 30;
            }
            break;
        case 13:
            picture = demorun::grabPicture(b);
            done = true;
            break;
        }
    }

    bool loading;
    std::string savedLine = platform::utf8ToSjis("十年に一度の流星群の夜。");
    int step = 0, next = 0;
    bool done = false, slotListed = false;
    std::vector<uint32_t> picture;
};

} // namespace

TEST(SaveRestart, AGameSavedInTheOpeningLoadsFromTheTitleAfterARestartAndLooksTheSame)
{
    testsupport::TempDir game;
    ASSERT_TRUE(demorun::copyDemoGame(game, {"system.pkd", "SOUND"}));

    RunnerOptions o = demorun::runOptions(game, 1500);
    std::ostringstream report;

    Player saver(false);
    ASSERT_EQ(runHeadless(o, report, &saver), kRunnerOk) << report.str();
    ASSERT_TRUE(saver.done) << "the first run stopped at step " << saver.step;
    EXPECT_EQ(fs::file_size(game.path() / "SAVE" / (std::to_string(kSlot) + ".dat")), 6336u);

    Player loader(true);
    ASSERT_EQ(runHeadless(o, report, &loader), kRunnerOk) << report.str();
    EXPECT_TRUE(loader.slotListed);
    ASSERT_TRUE(loader.done) << "the second run stopped at step " << loader.step;

    ASSERT_EQ(saver.picture.size(), loader.picture.size());
    EXPECT_LE(demorun::differingPixels(saver.picture, loader.picture), demorun::kClickMarkPixels)
        << "pixels differ between the saved and the loaded game";
}
