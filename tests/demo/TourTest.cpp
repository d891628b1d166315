// The play command's headless tour of the demo: it must reach the first choice, pick a row
// by keys, and explore the room's hot-spots by clicks until the door leads on.
#include "../TestSupport.h"
#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "platform/Text.h"
#include "tools/runner/Runner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// What the tour went through, seen between frames.
struct TourWatch : RunnerHooks {
    int choiceShownAt = 0;
    int32_t selectedAtPick = -1;
    bool pickedWithPointerOnARow = true;
    int32_t lastState = -1;
    std::vector<int32_t> sectionsRun;    // region index each time a section starts
    std::vector<int32_t> cursorsSeen;    // distinct hover shapes, in order
    int hotSpotFrames = 0;
    // The save and the load the tour makes in the opening.
    bool savedToSlot0 = false;
    bool loadedBack = false;
    int32_t lastScreen = -1;
    bool loadList = false;
    // The backlog the tour opens before the first choice, the entries it showed, and the jump
    // back out of it (the history starts afresh there).
    std::vector<int32_t> backlogEntries;
    bool jumpedBack = false;
    bool trace = std::getenv("SORAFUNE_TOUR_TRACE") != nullptr;

    void afterFrame(int frame, CDirectX& dx, platform::HeadlessBackend&) override
    {
        const int32_t state = int32_t(dx.gameState);
        const int32_t screen = int32_t(dx.screenState);
        if (dx.screenState == ScreenState::SaveLoad) {
            savedToSlot0 = savedToSlot0 || (dx.saveLoad.SaveMode && dx.saveLoad.slots[0].used);
            loadList = !dx.saveLoad.SaveMode;
        }
        if (lastScreen == int32_t(ScreenState::SaveLoad) && dx.screenState == ScreenState::Game && loadList)
            loadedBack = true;
        if (dx.screenState == ScreenState::Backlog &&
            (backlogEntries.empty() || backlogEntries.back() != dx.backlog.historyIndex))
            backlogEntries.push_back(dx.backlog.historyIndex);
        if (lastScreen == int32_t(ScreenState::Backlog) && dx.screenState == ScreenState::Game)
            jumpedBack = dx.messageWindow.messageCount == 0;
        lastScreen = screen;
        if (trace && state != lastState)
            std::printf("frame %d: gameState %d pointer %d,%d\n", frame, state, dx.frameInput.mouseX(), dx.frameInput.mouseY());
        if (state == 5) {
            if (!choiceShownAt)
                choiceShownAt = frame;
            selectedAtPick = dx.choices.choiceSelected;
            const int32_t top = ChoiceSet::rowTop(dx.choices.choiceCount, dx.choices.choiceSelected);
            pickedWithPointerOnARow = dx.frameInput.mouseY() >= top && dx.frameInput.mouseY() < top + ChoiceSet::kRowHeight;
        }
        if (state == 6) {
            ++hotSpotFrames;
            const int32_t c = dx.hotSpots.hoverCursor;
            if (c >= 0 && (cursorsSeen.empty() || cursorsSeen.back() != c))
                cursorsSeen.push_back(c);
        }
        // A click starts a section: the state leaves 6 for the section's first command.
        if (lastState == 6 && state != 6)
            sectionsRun.push_back(dx.hotSpots.activeRegion);
        lastState = state;
    }
};

template <class Lines>
size_t logIndex(const Lines& lines, const std::string& text)
{
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find(text) != std::string::npos)
            return i;
    return lines.size();
}

} // namespace

TEST(DemoTour, PicksTheRoomByKeysAndExploresItsHotSpotsByClicks)
{
    const fs::path game = SORAFUNE_DEMO_GAME_DIR;
    ASSERT_TRUE(fs::exists(game / "system.pkd")) << "the demo game is built with the suite";
    testsupport::TempDir dir;
    fs::copy(game, dir.path(), fs::copy_options::recursive);

    RunnerOptions opts;
    opts.programDir = dir.str();
    opts.frames = 2610;
    std::string error;
    const std::vector<uint8_t> tour = testsupport::readAll(std::string(SORAFUNE_SOURCE_DIR) + "/demo/tour.input");
    ASSERT_TRUE(parseInputScript(std::string(tour.begin(), tour.end()), opts.input, error)) << error;
    TourWatch watch;
    std::ostringstream report;
    ASSERT_EQ(runHeadless(opts, report, &watch), kRunnerOk) << report.str();

    const auto& log = runLog().lines();
    // Five messages before the choice: the backlog opened on the fourth, the wheel showed the
    // third and the fourth again, and the story went back to the fourth.
    EXPECT_EQ(watch.backlogEntries, (std::vector<int32_t>{3, 2, 3}));
    EXPECT_TRUE(watch.jumpedBack);
    EXPECT_TRUE(watch.savedToSlot0);
    EXPECT_TRUE(watch.loadedBack);
    EXPECT_TRUE(fs::exists(dir.path() / "SAVE" / "0.dat"));
    ASSERT_GT(watch.choiceShownAt, 0) << "the tour never reached the first choice";
    // The second row, the room, chosen with Down and Enter while the pointer rested elsewhere.
    EXPECT_EQ(watch.selectedAtPick, 1);
    EXPECT_FALSE(watch.pickedWithPointerOnARow);
    const size_t room = logIndex(log, "Load Script [room.scp]");
    ASSERT_LT(room, log.size());
    // The jump back loaded the opening's script again, before the choice led on.
    EXPECT_LT(logIndex(log, "Load Script [startup.scp]"), room);

    // Window twice (it loops between its two sections), bed, desk, then the door.
    EXPECT_EQ(watch.sectionsRun, (std::vector<int32_t>{0, 0, 1, 2, 3}));
    EXPECT_GE(watch.cursorsSeen.size(), 4u);
    const size_t town = logIndex(log, "Load Script [town.scp]");
    EXPECT_LT(room, town);
    EXPECT_LT(town, logIndex(log, "Load Script [ending.scp]"));
    EXPECT_LT(logIndex(log, "Load Script [ending.scp]"), log.size());
    EXPECT_EQ(logIndex(log, SJ("がありません")), log.size()) << log[logIndex(log, SJ("がありません"))];
}
