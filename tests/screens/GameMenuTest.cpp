// The in-game menu over the game screen: Backspace or the round button slide it in, the
// arrows and the pointer pick a button, Backspace, Escape or a right click slide it out.
#include "SaveFixture.h"

using ML = GameMenuLayout;

TEST_F(SaveGameTest, BackspaceSlidesTheFourButtonsInOneAfterAnotherAndHidesTheWindow)
{
    startStory();
    tap(DIK_BACK);
    frame();
    GameMenuState& m = dx->gameMenu;
    ASSERT_TRUE(m.open);
    EXPECT_EQ(dx->messageWindow.windowHidden, 1);
    // 5.12 pixels a millisecond: the first button rests after 560 / 5.12 ms, the last one
    // 1800 ms later.
    frames(6);
    EXPECT_GT(m.buttonX[0], float(ML::restX(0)));
    frame();
    EXPECT_EQ(m.buttonX[0], float(ML::restX(0)));
    EXPECT_GT(m.buttonX[3], float(ML::restX(3)));
    frames(20);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(m.buttonX[size_t(i)], float(ML::restX(i))) << i;

    // The text does not move on under the menu.
    click(400, 300);
    frame();
    EXPECT_EQ(dx->gameState, GameState::PageClickWait);

    // Escape slides it out at 2.56 pixels a millisecond; the window comes back.
    press(DIK_ESCAPE);
    frames(10);
    EXPECT_TRUE(m.open);
    frames(60);
    EXPECT_FALSE(m.open);
    EXPECT_EQ(dx->messageWindow.windowHidden, 0);
}

TEST_F(SaveGameTest, TheArrowsWalkTheButtonsAndTheCloseButtonInARing)
{
    startStory();
    tap(DIK_BACK);
    frames(50);
    GameMenuState& m = dx->gameMenu;
    pointer(5, 5);
    frame();
    ASSERT_EQ(m.selection, 0);
    const struct {
        uint8_t key;
        int want;
    } steps[] = {{DIK_LEFT, 4}, {DIK_LEFT, 3}, {DIK_RIGHT, 4}, {DIK_RIGHT, 0}, {DIK_RIGHT, 1}};
    for (const auto& s : steps) {
        press(s.key);
        EXPECT_EQ(m.selection, s.want);
    }
    // The pointer over a button takes the highlight; over the round button it turns.
    pointer(ML::restX(2) + 10, ML::kY + 10);
    frame();
    EXPECT_EQ(m.selection, 2);
    pointer(ML::kCloseX + 5, ML::kCloseY + 5);
    frames(2);
    EXPECT_TRUE(m.closeHovered);
    EXPECT_GT(m.closeAngle, 0.0f);
}

TEST_F(SaveGameTest, TheMenuItemsOpenTheirScreens)
{
    startStory();
    GameMenuState& m = dx->gameMenu;
    auto openMenu = [&] {
        tap(DIK_BACK);
        frames(50);
        pointer(5, 5);
        frame();
    };
    auto choose = [&](GameMenuItem item) {
        m.selection = int(item);
        press(DIK_RETURN);
    };
    openMenu();
    choose(GameMenuItem::Save);
    EXPECT_EQ(dx->screenState, ScreenState::SaveLoad);
    EXPECT_TRUE(dx->saveLoad.SaveMode);
    EXPECT_EQ(dx->titleScreen.ReturnScreen, ScreenState::Game);
    press(DIK_ESCAPE);
    EXPECT_EQ(dx->screenState, ScreenState::Game);
    EXPECT_TRUE(m.open); // back to the menu it came from
    choose(GameMenuItem::Load);
    EXPECT_FALSE(dx->saveLoad.SaveMode);
    press(DIK_ESCAPE);

    // The options screen, and back to the menu it came from.
    choose(GameMenuItem::Options);
    EXPECT_EQ(dx->screenState, ScreenState::Options);
    press(DIK_ESCAPE);
    EXPECT_EQ(dx->screenState, ScreenState::Game);
    EXPECT_TRUE(m.open);
    // Without a registered screen the item plays the decision sound and the menu stays.
    setGameMenuEntry(*dx, GameMenuItem::Options, nullptr);
    choose(GameMenuItem::Options);
    EXPECT_TRUE(confirmSoundPlayed());
    EXPECT_EQ(dx->screenState, ScreenState::Game);
    EXPECT_TRUE(m.open);

    choose(GameMenuItem::ReturnToTitle);
    EXPECT_TRUE(dx->confirmOpen);
    EXPECT_TRUE(dx->confirm.ConfirmToTitle);
    EXPECT_EQ(dx->confirm.ConfirmChoice, ConfirmState::kNo);
    tap(DIK_RETURN); // no
    frame();
    EXPECT_FALSE(dx->confirmOpen);

    choose(GameMenuItem::Close);
    frames(60);
    EXPECT_FALSE(m.open);
}

TEST_F(SaveGameTest, TheRoundButtonOpensTheMenuAndAStoryGameOffersAllFourButtons)
{
    startStory();
    click(ML::kCloseX + 16, ML::kCloseY + 16);
    frame();
    EXPECT_TRUE(dx->gameMenu.open);
    EXPECT_EQ(dx->gameState, GameState::PageClickWait); // the click did not page on
    // While the buttons slide in the menu takes no input; then a right click closes it.
    rightClick();
    EXPECT_FALSE(dx->gameMenu.closing);
    frames(40);
    rightClick();
    frames(80);
    EXPECT_FALSE(dx->gameMenu.open);

    // Without the story-game flag (a gallery's scene) only options and title are offered,
    // and keys 1 and 2 do nothing.
    dx->gameMenu.storyGame = false;
    press(DIK_1);
    EXPECT_EQ(dx->screenState, ScreenState::Game);
    pointer(5, 5);
    tap(DIK_BACK);
    frames(50);
    EXPECT_EQ(dx->gameMenu.selection, int(GameMenuItem::Options));
    EXPECT_EQ(gameMenuItemAt(*dx, ML::restX(0) + 10, ML::kY + 10), -1);
    press(DIK_LEFT);
    EXPECT_EQ(dx->gameMenu.selection, int(GameMenuItem::Close));
}
