// A gallery replay is a story of its own: its backlog holds only its own messages.
#include "GalleryFixture.h"

#include "screens/GalleryDraw.h"

TEST_F(GalleryTest, EachReplayStartsWithAnEmptyHistory)
{
    Content c;
    c.unlocks = record({2}); // entry 3
    c.replayBody = "@text,0\r\n{\r\nA\r\n}\r\n@text,0\r\n{\r\nB\r\n}\r\n";
    startGallery(c);
    openFromTitle(TitleItem::CgGallery);
    for (int replay = 0; replay < 2; ++replay) {
        SCOPED_TRACE(replay);
        clickAt(GalleryLayout::cgX(3) + 64, GalleryLayout::cgY(3) + 48);
        ASSERT_EQ(dx->screenState, ScreenState::Game);
        for (int i = 0; i < 300 && dx->gameState != GameState::PageClickWait; ++i)
            frame();
        ASSERT_EQ(dx->messageWindow.lines[0], "A");
        EXPECT_EQ(dx->messageWindow.messageCount, 1u);
        clickAt(400, 300);
        for (int i = 0; i < 300 && dx->gameState != GameState::PageClickWait; ++i)
            frame();
        ASSERT_EQ(dx->messageWindow.lines[0], "B");
        EXPECT_EQ(dx->messageWindow.messageCount, 2u);
        clickAt(400, 300);
        EXPECT_LT(runWhile(ScreenState::Game, 100), 100);
        ASSERT_EQ(dx->screenState, ScreenState::CgGallery);
    }
}
