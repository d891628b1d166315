#include "EngineFixture.h"
#include "graphics/CSprite.h"

class FrameTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ASSERT_TRUE(backend.window.create(dx->title, 0, 0, 800, 600, false));
        ASSERT_TRUE(dx->Create(&backend.window, true));
        onGameScreen();
        dx->registerScreen(
            ScreenState::Game, [this](CDirectX&) { ++logicCalls; }, [this](CDirectX& d) { deltas.push_back(d.frameDelta); });
        pointTo(100, 100);
    }
    // Runs one frame at absolute time t.
    int frameAt(uint32_t t)
    {
        backend.clock.set(t);
        backend.clock.resetSleepStats();
        const uint64_t drawn = dx->framesDrawn;
        const int result = dx->runFrame();
        if (dx->framesDrawn != drawn)
            lastDrawn_ = t;
        return result;
    }
    // Draws frames until the last one drawn was at t, so the next frame's time is counted
    // from there, then forgets what the phases saw. A gap the 32-bit clock difference cannot
    // hold is crossed in quarter steps.
    void lastDrawnAt(uint32_t t)
    {
        while (uint32_t(t - lastDrawn_) > 0x40000000u)
            frameAt(lastDrawn_ + 0x40000000u);
        frameAt(t);
        ASSERT_EQ(lastDrawn_, t);
        deltas.clear();
        logicCalls = 0;
        backend.clock.resetSleepStats();
    }

    int logicCalls = 0;
    std::vector<int32_t> deltas;
    uint32_t lastDrawn_ = 0;
};

TEST_F(FrameTest, TwoPassesInTheSameMillisecondDrawOnce)
{
    lastDrawnAt(1000);
    backend.clock.set(1016);
    EXPECT_EQ(dx->runFrame(), 0);
    ASSERT_EQ(deltas.size(), 1u);
    EXPECT_EQ(deltas[0], 16);
    // The frame slept; set the clock back to the frame's own millisecond for the second pass.
    backend.clock.set(1016);
    backend.clock.resetSleepStats();
    EXPECT_EQ(dx->runFrame(), 0);
    EXPECT_EQ(deltas.size(), 1u);
    EXPECT_EQ(backend.clock.totalSlept(), 1u); // "no frame" sleeps 1 ms
    EXPECT_EQ(logicCalls, 2);                  // the logic phase runs before the timing check
}

TEST_F(FrameTest, LongGapCountsAsSixteenMilliseconds)
{
    lastDrawnAt(5000);
    frameAt(5000 + 1000);
    frameAt(6000 + 1001);
    frameAt(7001 + 120000);
    ASSERT_EQ(deltas.size(), 3u);
    EXPECT_EQ(deltas[0], 1000);
    EXPECT_EQ(deltas[1], 16);
    EXPECT_EQ(deltas[2], 16);
}

TEST_F(FrameTest, DeltaSurvivesTheClockWrapping)
{
    lastDrawnAt(0xFFFFFFF0u);
    frameAt(0x10);
    ASSERT_EQ(deltas.size(), 1u);
    EXPECT_EQ(deltas[0], 32);
}

TEST_F(FrameTest, WindowModePacesShortFramesToSixMilliseconds)
{
    lastDrawnAt(100);
    frameAt(102); // 2 ms frame: 4 ms wait plus the 1 ms sleep
    EXPECT_EQ(backend.clock.totalSlept(), 5u);
    frameAt(200); // a slow frame only sleeps 1 ms
    EXPECT_EQ(backend.clock.totalSlept(), 1u);
    startInFullScreen();
    frameAt(202);
    EXPECT_EQ(backend.clock.totalSlept(), 1u);
}

TEST_F(FrameTest, DeviceNotReadyIdlesWithoutLogic)
{
    ASSERT_TRUE(dx->Destroy());
    tapButton(); // a press waiting for the frame
    EXPECT_EQ(frameAt(500), -1);
    EXPECT_EQ(logicCalls, 0);
    EXPECT_TRUE(deltas.empty());
    EXPECT_EQ(dx->frameInput.leftClicked(), 0);
    EXPECT_EQ(backend.clock.totalSlept(), 1u);
}

TEST_F(FrameTest, HeldUpdatesSkipLogicUntilTheCountRunsOut)
{
    dx->holdUpdates(5);
    uint32_t t = 0;
    int skipped = 0;
    for (int i = 0; i < 10; ++i) {
        int before = logicCalls;
        frameAt(t += 16);
        if (logicCalls == before)
            ++skipped;
    }
    // The count goes 5..0 and the flag is cleared on the frame after it reached 0.
    EXPECT_EQ(skipped, 6);
    EXPECT_FALSE(dx->updateHoldActive);
}

TEST_F(FrameTest, SystemCursorShowsOnlyOutsideThePictureInWindowMode)
{
    pointTo(900, 100);
    frameAt(16);
    EXPECT_EQ(dx->frameInput.cursorInside(), 0);
    EXPECT_TRUE(backend.window.systemCursorVisible);
    EXPECT_EQ(backend.window.cursorCount(), 0);
    frameAt(32);
    EXPECT_EQ(backend.window.cursorCount(), 0); // stays at 0, never climbs

    pointTo(799, 599);
    frameAt(48);
    EXPECT_EQ(dx->frameInput.cursorInside(), 1);
    EXPECT_FALSE(backend.window.systemCursorVisible);
    EXPECT_EQ(dx->frameInput.mouseX(), 799);

    pointTo(799, -1);
    frameAt(64);
    EXPECT_EQ(dx->frameInput.cursorInside(), 0);
    EXPECT_TRUE(backend.window.systemCursorVisible);

    startInFullScreen();
    frameAt(80);
    EXPECT_EQ(dx->frameInput.cursorInside(), 1);
}

TEST_F(FrameTest, DisplayModeToggleRunsAtTheEndOfTheFrameAndIgnoresInputForFiveFrames)
{
    dx->applyDefaultConfig();
    dx->displayModeToggleRequested = true;
    dx->inputIgnoreActive = true;
    frameAt(16);
    EXPECT_FALSE(dx->display.windowed());
    EXPECT_TRUE(backend.window.fullscreen);
    EXPECT_FALSE(dx->displayModeToggleRequested);
    EXPECT_EQ(testsupport::readAll(dir.file("system.dat")).at(0), 0); // saved as full screen
    int framesIgnored = 0;
    uint32_t t = 16;
    while (dx->inputIgnoreActive && framesIgnored < 20) {
        frameAt(t += 16);
        ++framesIgnored;
    }
    EXPECT_EQ(framesIgnored, 6);
}

TEST_F(FrameTest, QuitRequestEndsTheProgramAtTheEndOfTheFrame)
{
    dx->quitRequested = true;
    EXPECT_EQ(frameAt(16), 0);
    EXPECT_EQ(deltas.size(), 1u); // the frame is still drawn
    EXPECT_TRUE(dx->quitPosted);
    EXPECT_TRUE(dx->frameSuspended);
    EXPECT_EQ(dx->quitCode, 0);
}

TEST_F(FrameTest, OpenConfirmationCancelsAQuitRequest)
{
    dx->quitRequested = true;
    dx->confirmOpen = true;
    frameAt(16);
    EXPECT_FALSE(dx->quitPosted);
}

TEST_F(FrameTest, AFrameWithNothingNewIsNotSentAndWaitsForInputWithItsTimingRulesKept)
{
    lastDrawnAt(1000);
    const uint64_t presents = backend.video.presentCount();
    const uint64_t waits = backend.window.waits;
    // The same picture as the last frame: the logic, the draw phase and frameDelta run as
    // ever, the 1 ms sleep stays, nothing is sent and the loop waits for input or the
    // display's next refresh instead.
    frameAt(1016);
    ASSERT_EQ(deltas.size(), 1u);
    EXPECT_EQ(deltas[0], 16);
    EXPECT_EQ(logicCalls, 1);
    EXPECT_EQ(backend.clock.totalSlept(), 1u);
    EXPECT_EQ(backend.video.presentCount(), presents);
    EXPECT_EQ(backend.window.waits, waits + 1);
    EXPECT_EQ(backend.window.lastWait, 16u);
    // A long still spell still counts as one 16 ms step when something moves again.
    frameAt(1016 + 5000);
    EXPECT_EQ(deltas.back(), 16);
    // Something is drawn somewhere else: that frame is sent at once and does not wait.
    dx->registerScreen(ScreenState::Game, nullptr, [](CDirectX& d) {
        CSprite s;
        s.SetColour(0xFFFFFF);
        s.Draw(*d.display.directDraw(), 10, 10, 20, 20);
    });
    frameAt(6032);
    EXPECT_EQ(backend.video.presentCount(), presents + 1);
    EXPECT_EQ(backend.window.waits, waits + 2);
}
