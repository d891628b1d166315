// The demo's options played through the runner: opened from the title, text speed,
// decoration and music level changed by mouse and by keyboard, closed; a second start of the
// game finds the settings it left, and closing the options again writes the same bytes.
#include "tools/runner/Runner.h"
#include "app/CDirectX.h"
#include "platform/headless/HeadlessBackend.h"
#include "screens/OptionsScreen.h"
#include "DemoRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// The title's pointer rests off the menu; Up twice reaches options (the menu wraps).
const char* const kOpenFromTitle = R"(
1 mouse move 700 570
30 key down UP
31 key up UP
40 key down UP
41 key up UP
50 key down RETURN
51 key up RETURN
)";

// By mouse: faster text (5 to 6), shadow decoration, music a level down (7 to 6). By keys,
// with the pointer resting on the music's left arrow: Enter takes the music to 5; Up five
// times climbs to the faster-text arrow (effect x2, skip all, auto wait up, outline, faster)
// and Enter makes the text speed 7; Down, Left, Left reach "no decoration" and Enter picks
// it. Escape closes.
const char* const kChanges = R"(
60 mouse move 504 120
64 mouse down left
65 mouse up left
70 mouse move 400 152
74 mouse down left
75 mouse up left
80 mouse move 440 312
84 mouse down left
85 mouse up left
90 key down RETURN
91 key up RETURN
95 key down UP
96 key up UP
100 key down UP
101 key up UP
105 key down UP
106 key up UP
110 key down UP
111 key up UP
115 key down UP
116 key up UP
120 key down RETURN
121 key up RETURN
125 key down DOWN
126 key up DOWN
130 key down LEFT
131 key up LEFT
135 key down LEFT
136 key up LEFT
140 key down RETURN
141 key up RETURN
150 key down ESCAPE
151 key up ESCAPE
)";

struct SettingsWatch : RunnerHooks {
    void afterStart(CDirectX& dx, platform::HeadlessBackend&) override { atStart = dx.config; }
    void afterFrame(int frame, CDirectX& dx, platform::HeadlessBackend&) override
    {
        if (dx.screenState == ScreenState::Options && !openedAt)
            openedAt = frame;
        if (openedAt && dx.screenState != ScreenState::Options && !closedAt)
            closedAt = frame;
        if (frame == 145)
            cursorBeforeClose = dx.options.OptionsCursor;
    }
    SystemConfig atStart;
    int openedAt = 0, closedAt = 0;
    int32_t cursorBeforeClose = -2;
};

std::vector<uint8_t> settingsFile(const testsupport::TempDir& game)
{
    return testsupport::readAll(game.file("system.dat"));
}

int run(const testsupport::TempDir& game, const std::string& input, int frames,
        std::vector<std::pair<int, std::string>> shots, SettingsWatch& watch, std::string& report)
{
    RunnerOptions o = demorun::runOptions(game, frames);
    o.shots = std::move(shots);
    std::string error;
    EXPECT_TRUE(parseInputScript(input, o.input, error)) << error;
    std::ostringstream out;
    const int code = runHeadless(o, out, &watch);
    report = out.str();
    return code;
}

} // namespace

TEST(OptionsRun, SettingsChangedByMouseAndKeysAreKeptByteForByteAfterARestart)
{
    testsupport::TempDir game;
    ASSERT_TRUE(demorun::copyDemoGame(game, {"system.pkd", "SOUND", "SAVE"}));
    const fs::path shots = fs::path(SORAFUNE_TEST_OUTPUT_DIR) / "options-run";
    fs::create_directories(shots);
    auto shot = [&](int frame, const char* name) { return std::pair{frame, (shots / name).string()}; };

    SettingsWatch first;
    std::string report;
    ASSERT_EQ(run(game, std::string(kOpenFromTitle) + kChanges, 170,
                  {shot(58, "1-opened.png"), shot(145, "2-changed.png"), shot(165, "3-back-on-title.png")}, first,
                  report),
              kRunnerOk)
        << report;
    // A first start writes the defaults.
    EXPECT_EQ(first.atStart.textSpeed, 5);
    EXPECT_EQ(first.atStart.textDecoration, 2);
    EXPECT_EQ(first.atStart.bgmLevel, 7);
    EXPECT_EQ(first.openedAt, 50);
    EXPECT_EQ(first.closedAt, 150);
    EXPECT_EQ(first.cursorBeforeClose, 4);
    const std::vector<uint8_t> written = settingsFile(game);
    ASSERT_EQ(written.size(), SystemConfig::kSize);
    SystemConfig saved;
    saved.fromBytes(written.data(), written.size());
    EXPECT_EQ(saved.textSpeed, 7);
    EXPECT_EQ(saved.textDecoration, 0);
    EXPECT_EQ(saved.bgmLevel, 5);
    EXPECT_EQ(saved.bgmOn, 1);
    EXPECT_EQ(saved.windowed, 1);

    // The second start reads them back; opening and closing the options writes the same bytes.
    SettingsWatch second;
    ASSERT_EQ(run(game, std::string(kOpenFromTitle) + "70 key down ESCAPE\n71 key up ESCAPE\n", 90,
                  {shot(60, "4-restarted-options.png")}, second, report),
              kRunnerOk)
        << report;
    EXPECT_EQ(second.atStart.textSpeed, 7);
    EXPECT_EQ(second.atStart.textDecoration, 0);
    EXPECT_EQ(second.atStart.bgmLevel, 5);
    EXPECT_EQ(second.closedAt, 70);
    EXPECT_EQ(settingsFile(game), written);
}
