// A still scene costs almost nothing: while the demo's first message waits for a click, the
// game runs its frames but sends a picture only when something on it moved (the click mark's
// next frame, the pointer), and the picture it leaves is the one drawing every frame gives.
#include "tools/runner/Runner.h"
#include "app/CDirectX.h"
#include "platform/headless/HeadlessBackend.h"
#include "../TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct IdleWatch : RunnerHooks {
    struct Seen {
        bool waiting = false;
        bool presented = false;
        int32_t markFrame = 0;
        int pointerX = 0;
        uint64_t idleWaits = 0;
    };
    std::vector<Seen> frames{Seen{}}; // frames[n] is frame n
    uint64_t lastPresents = 0;

    void afterFrame(int, CDirectX& dx, platform::HeadlessBackend& b) override
    {
        Seen s;
        s.waiting = dx.gameState == GameState::PageClickWait;
        s.presented = b.video.presentCount() != lastPresents;
        lastPresents = b.video.presentCount();
        s.markFrame = dx.messageWindow.markFrame;
        s.pointerX = dx.frameInput.mouseX();
        s.idleWaits = b.window.waits;
        frames.push_back(s);
    }
};

ScriptedInput move(int frame, int x, int y)
{
    ScriptedInput in;
    in.frame = frame;
    in.event.kind = platform::HeadlessInputEvent::Kind::MouseMove;
    in.event.x = x;
    in.event.y = y;
    return in;
}

} // namespace

TEST(IdleFrames, AWaitingMessageIsSentOnlyWhenTheClickMarkOrThePointerMoves)
{
    const fs::path game = SORAFUNE_DEMO_GAME_DIR;
    ASSERT_TRUE(fs::exists(game / "system.pkd")) << "the demo game is built with the suite";
    testsupport::TempDir dir;
    fs::copy(game, dir.path(), fs::copy_options::recursive);

    RunnerOptions opts;
    opts.programDir = dir.str();
    opts.startScript = "startup.scp";
    opts.frames = 700;
    opts.input = {move(1, 400, 300), move(650, 420, 310)};
    IdleWatch watch;
    std::ostringstream report;
    ASSERT_EQ(runHeadless(opts, report, &watch), kRunnerOk) << report.str();

    // The first message has typed out and waits by frame 500 at the latest.
    int from = 0;
    for (int f = 1; f < 500 && !from; ++f)
        if (watch.frames[size_t(f)].waiting)
            from = f + 5;
    ASSERT_GT(from, 0) << "the first message never waited for a click";
    ASSERT_LT(from, 600);
    int ran = 0, sent = 0, markSteps = 0;
    for (int f = from; f < 650; ++f) {
        const auto& s = watch.frames[size_t(f)];
        ASSERT_TRUE(s.waiting) << "frame " << f;
        const bool markMoved = s.markFrame != watch.frames[size_t(f - 1)].markFrame;
        ++ran;
        sent += s.presented;
        markSteps += markMoved;
        // A frame is sent exactly when the mark shows another frame.
        EXPECT_EQ(s.presented, markMoved) << "frame " << f;
        // A frame with nothing new waits for input rather than running straight on.
        EXPECT_EQ(s.idleWaits != watch.frames[size_t(f - 1)].idleWaits, !s.presented) << "frame " << f;
    }
    EXPECT_GT(markSteps, 10);
    EXPECT_LT(sent * 2, ran) << sent << " of " << ran << " still frames were sent";
    // The pointer's first move is sent in its own frame.
    ASSERT_EQ(watch.frames[650].pointerX, 420);
    EXPECT_TRUE(watch.frames[650].presented);
}
