// The demo's benchmark scenario, played by the runner: it leaves the machine report and the
// run log in the game folder's benchmark file of the (headless) day.
#include "../TestSupport.h"
#include "platform/Text.h"
#include "tools/runner/Runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

TEST(DemoBench, TheBenchmarkScenarioWritesTheReportAndTheLog)
{
    const fs::path game = SORAFUNE_DEMO_GAME_DIR;
    ASSERT_TRUE(fs::exists(game / "system.pkd")) << "the demo game is built with the suite";
    testsupport::TempDir dir;
    fs::copy(game, dir.path(), fs::copy_options::recursive);

    RunnerOptions opts;
    opts.programDir = dir.str();
    opts.frames = 120;
    opts.startScript = "bench.scp";
    std::ostringstream report;
    ASSERT_EQ(runHeadless(opts, report), kRunnerOk) << report.str();

    const std::string file =
        (dir.path() / platform::sjisToUtf8(SJ("みろてっくベンチマーク")) / "mirotek-log_050305.txt").string();
    const auto bytes = testsupport::readAll(file);
    const std::string text(bytes.begin(), bytes.end());
    ASSERT_FALSE(text.empty()) << "no benchmark file";
    EXPECT_NE(text.find(SJ("【DirectX5 Info】")), std::string::npos);
    EXPECT_NE(text.find("Load Script [bench.scp]"), std::string::npos);
    EXPECT_LT(text.find(SJ("【DirectX5 Info】")), text.find("Load Script [bench.scp]"));
}
