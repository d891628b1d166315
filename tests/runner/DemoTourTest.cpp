// The generated demo played as the play command's tour plays it: the runner clicks through
// demo/tour.input from the title; the run must log no failure, reach the opening's
// last scene (the message before the first choice) and make sound.
#include "tools/runner/Runner.h"
#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "platform/Text.h"
#include "platform/headless/HeadlessBackend.h"
#include "sound/WavReader.h"
#include "DemoRun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// The run log keeps no levels, so progress is told from failure by its known lines: any line
// that is none of these is a failure line.
bool isProgressLine(const std::string& utf8)
{
    static const char* const prefixes[] = {
        "Starting system... ", "Version ", "DirectSound Create", "DirectInput Create", "DirectX Create",
        "DirectX Destroy.", "Load Script [", "LOAD SCRIPT [", "@bg_load", "@chr_load", "@cutin_load", "BGM loaded.. [",
        "SE loaded.. [", "voice play : ", "起動時間 : ",
        // A game folder that was never played has no read-text record yet; the game notes that
        // on every first start.
        "text.datのopenに失敗しました。既読データーが失われます。",
    };
    for (const char* p : prefixes)
        if (utf8.rfind(p, 0) == 0)
            return true;
    return false;
}

struct LastSceneWatch : RunnerHooks {
    void afterFrame(int frame, CDirectX& dx, platform::HeadlessBackend&) override
    {
        if (reachedAt == 0 && dx.messageWindow.lines[0] == lastLine) {
            reachedAt = frame;
            shadowDrawn = dx.messageWindow.decoration == 1;
        }
    }
    std::string lastLine = platform::utf8ToSjis("ひかりは、そう言って笑った。");
    int reachedAt = 0;
    bool shadowDrawn = false;
};

} // namespace

TEST(DemoTour, PlaysToTheFirstChoiceWithoutAFailureAndWithSound)
{
    testsupport::TempDir game;
    ASSERT_TRUE(demorun::copyDemoGame(game, {"system.pkd", "SOUND", "SAVE"}));

    RunnerOptions o = demorun::runOptions(game, 2610); // as the play command's tour, from the title
    o.audioFile = game.file("sound.wav");
    const std::vector<uint8_t> tour = testsupport::readAll(std::string(SORAFUNE_SOURCE_DIR) + "/demo/tour.input");
    std::string error;
    ASSERT_TRUE(parseInputScript(std::string(tour.begin(), tour.end()), o.input, error)) << error;

    LastSceneWatch watch;
    std::ostringstream report;
    ASSERT_EQ(runHeadless(o, report, &watch), kRunnerOk) << report.str();

    const std::vector<uint8_t> logBytes = testsupport::readAll(o.logFile);
    std::istringstream log(platform::sjisToUtf8(std::string(logBytes.begin(), logBytes.end())));
    int lines = 0;
    for (std::string line; std::getline(log, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        ++lines;
        EXPECT_TRUE(isProgressLine(line)) << "failure in the run log: " << line;
    }
    EXPECT_GT(lines, 10);

    EXPECT_GT(watch.reachedAt, 0) << "the tour never showed the message before the first choice";

    // On its way the tour switched the text decoration to the shadow in the options, which
    // wrote the settings; the message window drew with it.
    const std::vector<uint8_t> settings = testsupport::readAll(game.file("system.dat"));
    ASSERT_EQ(settings.size(), SystemConfig::kSize);
    EXPECT_EQ(settings[16], 1);
    EXPECT_TRUE(watch.shadowDrawn);

    const std::vector<uint8_t> wav = testsupport::readAll(o.audioFile);
    WaveFormat format;
    std::vector<uint8_t> pcm;
    std::string why;
    ASSERT_TRUE(parseWav(wav.data(), wav.size(), format, pcm, why)) << why;
    ASSERT_EQ(format.bitsPerSample, 16);
    // Loud enough over the whole run and still sounding in its last second (the music loops).
    auto rms = [&](size_t from, size_t to) {
        double sum = 0;
        for (size_t i = from; i + 1 < to; i += 2) {
            int16_t s;
            std::memcpy(&s, pcm.data() + i, 2);
            sum += double(s) * s;
        }
        return std::sqrt(sum / double((to - from) / 2));
    };
    const size_t lastSecond = size_t(format.samplesPerSec) * format.blockAlign;
    ASSERT_GT(pcm.size(), lastSecond);
    EXPECT_GT(rms(0, pcm.size()), 500.0);
    EXPECT_GT(rms(pcm.size() - lastSecond, pcm.size()), 500.0);
}
