// The play command's gallery leg: from the title into the CG gallery, the album and the music
// room and back, with a replay in each gallery, on the demo game with what the first leg
// unlocks (the last morning's picture and the memory of the evening town).
#include "../TestSupport.h"
#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "tools/runner/Runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct ScreenWatch : RunnerHooks {
    std::vector<ScreenState> screens; // each screen once per visit, in order
    std::vector<std::string> tracks;  // music files the room started, in order

    void afterFrame(int, CDirectX& dx, platform::HeadlessBackend&) override
    {
        if (screens.empty() || screens.back() != dx.screenState)
            screens.push_back(dx.screenState);
        const COggStream& bgm = dx.sound.bgm;
        if (dx.screenState == ScreenState::MusicRoom && bgm.isPlaying() &&
            (tracks.empty() || tracks.back() != bgm.path()))
            tracks.push_back(bgm.path());
    }
};

} // namespace

TEST(DemoGalleryTour, VisitsTheThreeScreensFromTheTitleAndReplaysAnEntryOfEachGallery)
{
    const fs::path game = SORAFUNE_DEMO_GAME_DIR;
    ASSERT_TRUE(fs::exists(game / "system.pkd")) << "the demo game is built with the suite";
    testsupport::TempDir dir;
    fs::copy(game, dir.path(), fs::copy_options::recursive);
    std::vector<uint8_t> record(48, 0);
    record[17] = 1;      // "04-07", loaded by the ending
    record[32 + 1] = 1;  // the evening town
    testsupport::writeAll((dir.path() / "data.dat").string(), record);

    RunnerOptions opts;
    opts.programDir = dir.str();
    opts.frames = 1060;
    std::string error;
    const std::vector<uint8_t> input = testsupport::readAll(std::string(SORAFUNE_SOURCE_DIR) + "/demo/gallery.input");
    ASSERT_TRUE(parseInputScript(std::string(input.begin(), input.end()), opts.input, error)) << error;
    ScreenWatch watch;
    std::ostringstream report;
    ASSERT_EQ(runHeadless(opts, report, &watch), kRunnerOk) << report.str();

    using S = ScreenState;
    EXPECT_EQ(watch.screens, (std::vector<S>{S::Title, S::CgGallery, S::Game, S::CgGallery, S::Title, S::Album, S::Game,
                                             S::Album, S::Title, S::MusicRoom, S::Title}));
    ASSERT_EQ(watch.tracks.size(), 2u);
    EXPECT_NE(watch.tracks[0].find("sorafune_bgm01.ogg"), std::string::npos);
    EXPECT_NE(watch.tracks[1].find("sorafune_bgm02.ogg"), std::string::npos);
    const auto& log = runLog().lines();
    auto logged = [&](const std::string& text) {
        return std::any_of(log.begin(), log.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(logged("Load Script [CG_SCP\\18.scp]"));
    EXPECT_TRUE(logged("Load Script [CG_SCP\\album2.scp]"));
    EXPECT_FALSE(logged("Load fail"));
}
