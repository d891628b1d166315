// The headless runner: its input script, options, frame loop and screenshots.
#include "tools/runner/Runner.h"
#include "app/CDirectX.h"
#include "platform/InstanceLock.h"
#include "platform/headless/HeadlessBackend.h"
#include "../TestSupport.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <filesystem>
#include <sstream>

using Kind = platform::HeadlessInputEvent::Kind;

TEST(InputScript, ReadsEveryEventKindInFrameOrder)
{
    std::vector<ScriptedInput> in;
    std::string error;
    ASSERT_TRUE(parseInputScript("# a comment\n"
                                 "\n"
                                 "5 key down RETURN\r\n"
                                 "3 key up 0x38\n"
                                 "3 key down dik_lalt\n"
                                 "4 mouse move 120 -3\n"
                                 "4 mouse down left\n"
                                 "4 mouse up RIGHT\n"
                                 "6 wheel -120\n"
                                 "7 close\n"
                                 "8 key down 28\n"
                                 "8 key down 1\n",
                                 in, error))
        << error;
    ASSERT_EQ(in.size(), 10u);
    EXPECT_EQ(in[0].frame, 3);
    EXPECT_EQ(in[0].event.kind, Kind::KeyUp);
    EXPECT_EQ(in[0].event.code, 0x38);
    EXPECT_EQ(in[1].event.kind, Kind::KeyDown); // same frame: the order written
    EXPECT_EQ(in[1].event.code, 0x38);
    EXPECT_EQ(in[2].event.kind, Kind::MouseMove);
    EXPECT_EQ(in[2].event.y, -3);
    EXPECT_EQ(in[3].event.kind, Kind::ButtonDown);
    EXPECT_EQ(in[3].event.code, 0);
    EXPECT_EQ(in[4].event.code, 1);
    EXPECT_EQ(in[5].event.code, 0x1C);
    EXPECT_EQ(in[6].event.kind, Kind::Wheel);
    EXPECT_EQ(in[6].event.code, -120);
    EXPECT_TRUE(in[7].close);
    EXPECT_EQ(in[8].event.code, 28);
    EXPECT_EQ(in[9].event.code, 0x02); // a single digit names the digit key
}

TEST(InputScript, BadLinesAreRefusedWithTheirLineNumber)
{
    std::vector<ScriptedInput> in;
    std::string error;
    for (const char* bad : {"0 key down A", "x key down A", "3 key down NOPE", "3 key press A", "3 mouse move 1",
                            "3 mouse down thumb", "3 wheel", "3", "3 key down 0x1FF", "99999999999 close",
                            "3 mouse move 1 2 3"}) {
        EXPECT_FALSE(parseInputScript(std::string("1 close\n") + bad + "\n", in, error)) << bad;
        EXPECT_EQ(error.rfind("line 2:", 0), 0u) << error;
    }
    EXPECT_EQ(parseKey("DIK_PRIOR"), 0xC9);
    EXPECT_EQ(parseKey("escape"), 0x01);
}

TEST(RunnerArgs, ParsesOptionsAndRefusesNonsense)
{
    RunnerOptions o;
    std::string error;
    const char* good[] = {"runner", "--program-dir", "/x", "--frames", "30", "--step", "20",
                          "--shot", "5:a.png", "--shot", "7:b.png", "--log", "l.txt"};
    ASSERT_TRUE(parseRunnerArgs(13, good, o, error)) << error;
    EXPECT_EQ(o.programDir, "/x");
    EXPECT_EQ(o.frames, 30);
    EXPECT_EQ(o.stepMs, 20);
    ASSERT_EQ(o.shots.size(), 2u);
    EXPECT_EQ(o.shots[1].first, 7);
    EXPECT_EQ(o.shots[1].second, "b.png");
    EXPECT_EQ(o.logFile, "l.txt");
    for (std::vector<const char*> bad : {std::vector<const char*>{"r", "--frames"}, {"r", "--frames", "-1"},
                                         {"r", "--step", "0"}, {"r", "--shot", "a.png"}, {"r", "--shot", "0:a.png"},
                                         {"r", "--input", "/nonexistent/in.txt"}, {"r", "--what"}}) {
        RunnerOptions o2;
        error.clear();
        EXPECT_FALSE(parseRunnerArgs(int(bad.size()), bad.data(), o2, error)) << bad.back();
        EXPECT_FALSE(error.empty());
    }
}

namespace {

bool readPngRgb(const std::string& path, int& w, int& h, std::vector<uint8_t>& rgb)
{
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&img, path.c_str()))
        return false;
    img.format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(img));
    w = int(img.width);
    h = int(img.height);
    return png_image_finish_read(&img, nullptr, rgb.data(), 0, nullptr) != 0;
}

struct Watch : RunnerHooks {
    void afterStart(CDirectX& dx, platform::HeadlessBackend&) override
    {
        dx.registerScreen(ScreenState::Title, nullptr, [](CDirectX& d) {
            // A picture that changes every frame: a red square moving right.
            platform::Video& v = *d.display.directDraw();
            platform::Rect r{int(d.framesDrawn) * 10, 100, int(d.framesDrawn) * 10 + 50, 150};
            v.colorFill(*v.backBuffer(), &r, 0x00FF0000u);
        });
    }
    void afterFrame(int frame, CDirectX& dx, platform::HeadlessBackend& b) override
    {
        times.push_back(b.clock.now());
        pointer.emplace_back(b.window.pointerX, b.window.pointerY);
        spaceHeld.push_back(dx.input.keyHeld(0x39));
        leftHeld.push_back(dx.input.mouseHeld(0));
        if (frame == 4) {
            const platform::Surface* bb = b.video.backBuffer();
            frame4.assign(bb->data(), bb->data() + size_t(bb->pitch()) * bb->height());
            pitch = bb->pitch();
        }
        deviceReady = dx.display.deviceReady();
    }
    std::vector<uint32_t> times;
    std::vector<std::pair<int, int>> pointer;
    std::vector<bool> spaceHeld, leftHeld;
    std::vector<uint8_t> frame4;
    int pitch = 0;
    bool deviceReady = false;
};

} // namespace

TEST(Runner, RunsFixedStepsFeedsInputAndItsScreenshotEqualsTheBackBuffer)
{
    testsupport::TempDir dir;
    testsupport::writeEmptyArchive(dir.file("system.pkd"));
    RunnerOptions o;
    o.programDir = dir.str();
    o.frames = 6;
    o.stepMs = 16;
    std::string error;
    ASSERT_TRUE(parseInputScript("2 mouse move 300 200\n3 key down SPACE\n3 mouse down left\n", o.input, error));
    o.shots.emplace_back(4, dir.file("shot4.png"));
    o.logFile = dir.file("log.txt");
    Watch watch;
    std::ostringstream report;
    EXPECT_EQ(runHeadless(o, report, &watch), kRunnerOk) << report.str();
    ASSERT_EQ(watch.times.size(), 6u);
    for (size_t i = 1; i < watch.times.size(); ++i)
        EXPECT_EQ(watch.times[i] - watch.times[i - 1], 16u);
    EXPECT_EQ(watch.pointer[0], std::make_pair(0, 0));
    EXPECT_EQ(watch.pointer[1], std::make_pair(300, 200));
    // Keys and buttons fed before frame 3 are seen by that frame's poll.
    EXPECT_FALSE(watch.spaceHeld[1]);
    EXPECT_TRUE(watch.spaceHeld[2]);
    EXPECT_FALSE(watch.leftHeld[1]);
    EXPECT_TRUE(watch.leftHeld[2]);

    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
    ASSERT_TRUE(readPngRgb(dir.file("shot4.png"), w, h, rgb));
    ASSERT_EQ(w, 800);
    ASSERT_EQ(h, 600);
    size_t diffs = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* b = watch.frame4.data() + size_t(y) * watch.pitch + size_t(x) * 4;
            const uint8_t* p = rgb.data() + (size_t(y) * w + x) * 3;
            diffs += p[0] != b[2] || p[1] != b[1] || p[2] != b[0];
        }
    EXPECT_EQ(diffs, 0u);
    // Frame 4 drew its square after three frames, at x = 30..79, over the black clear.
    EXPECT_EQ(rgb[(120 * 800 + 29) * 3], 0);
    EXPECT_EQ(rgb[(120 * 800 + 30) * 3], 255);
    EXPECT_EQ(rgb[(120 * 800 + 79) * 3], 255);
    EXPECT_EQ(rgb[(120 * 800 + 80) * 3], 0);

    auto log = testsupport::readAll(dir.file("log.txt"));
    std::string text(log.begin(), log.end());
    EXPECT_NE(text.find("DirectX Create\n"), std::string::npos);
    EXPECT_NE(text.find("DirectX Destroy.\n"), std::string::npos);
}

TEST(Runner, AScriptedClickAndKeyReachTheScreenOnce)
{
    testsupport::TempDir dir;
    testsupport::writeEmptyArchive(dir.file("system.pkd"));
    RunnerOptions o;
    o.programDir = dir.str();
    o.frames = 5;
    std::string error;
    ASSERT_TRUE(parseInputScript("2 mouse move 10 20\n2 mouse down left\n2 mouse up left\n3 key down RETURN\n", o.input,
                                 error));
    struct Clicks : RunnerHooks {
        void afterStart(CDirectX& dx, platform::HeadlessBackend&) override
        {
            dx.registerScreen(
                ScreenState::Title,
                [this](CDirectX& d) {
                    clicks.push_back(d.frameInput.leftClicked());
                    enter.push_back(d.input.takeKeyPress(0x1C));
                },
                nullptr);
        }
        std::vector<int> clicks;
        std::vector<bool> enter;
    } watch;
    std::ostringstream report;
    EXPECT_EQ(runHeadless(o, report, &watch), kRunnerOk) << report.str();
    EXPECT_EQ(watch.clicks, (std::vector<int>{0, 1, 0, 0, 0}));
    EXPECT_EQ(watch.enter, (std::vector<bool>{false, false, true, false, false}));
}

TEST(Runner, StopsWhenTheProgramQuits)
{
    testsupport::TempDir dir;
    testsupport::writeEmptyArchive(dir.file("system.pkd"));
    RunnerOptions o;
    o.programDir = dir.str();
    std::string error;
    // Closing asks the quit question on "no"; Left and Enter answer yes.
    ASSERT_TRUE(parseInputScript("3 close\n5 key down LEFT\n6 key up LEFT\n7 key down RETURN\n", o.input, error));
    Watch watch;
    std::ostringstream report;
    EXPECT_EQ(runHeadless(o, report, &watch), kRunnerOk) << report.str();
    EXPECT_EQ(watch.times.size(), 7u); // frame 7 takes the yes and then ends the run
    EXPECT_NE(report.str().find("DirectX Destroy."), std::string::npos);
}

TEST(Runner, FailedStartUpExitsNonZero)
{
    testsupport::TempDir dir;
    // Another copy holds the game: start-up is refused.
    platform::HeadlessBackend holder;
    CDirectX other(holder.services);
    ASSERT_TRUE(holder.instanceLock->acquire(other.title));
    RunnerOptions o;
    o.programDir = dir.str();
    o.frames = 3;
    std::ostringstream report;
    EXPECT_EQ(runHeadless(o, report), kRunnerStartFailed);
    EXPECT_NE(report.str().find("start-up failed"), std::string::npos);
    holder.instanceLock->release();
}

TEST(Runner, AGameFolderWithoutItsArchiveFailsToStart)
{
    testsupport::TempDir dir;
    RunnerOptions o;
    o.programDir = dir.str();
    o.frames = 3;
    std::ostringstream report;
    EXPECT_EQ(runHeadless(o, report), kRunnerStartFailed);
    EXPECT_NE(report.str().find("初期化ファイルが不正です"), std::string::npos) << report.str();
    o.programDir = dir.file("missing");
    EXPECT_EQ(runHeadless(o, report), kRunnerStartFailed);
}

TEST(Runner, ScreenshotsNamedRelativelyLandWhereTheRunnerWasStarted)
{
    testsupport::TempDir game, here;
    testsupport::writeEmptyArchive(game.file("system.pkd"));
    testsupport::CurrentDir inHere(here.path());
    RunnerOptions o;
    o.programDir = game.str();
    o.frames = 1;
    o.shots.emplace_back(1, "shot.png");
    std::ostringstream report;
    EXPECT_EQ(runHeadless(o, report), kRunnerOk) << report.str();
    EXPECT_TRUE(std::filesystem::exists(here.file("shot.png")));
    EXPECT_FALSE(std::filesystem::exists(game.file("shot.png")));
}

TEST(Runner, AScreenshotThatCannotBeWrittenIsAnError)
{
    testsupport::TempDir dir;
    testsupport::writeEmptyArchive(dir.file("system.pkd"));
    RunnerOptions o;
    o.programDir = dir.str();
    o.frames = 2;
    o.shots.emplace_back(1, dir.file("no/such/folder/x.png"));
    std::ostringstream report;
    EXPECT_EQ(runHeadless(o, report), kRunnerOutputFailed);
}

TEST(Runner, WritesTheMixedSoundOneFrameStepPerFrame)
{
    testsupport::TempDir dir;
    testsupport::writeEmptyArchive(dir.file("system.pkd"));
    RunnerOptions o;
    o.programDir = dir.str();
    o.frames = 10;
    o.stepMs = 20;
    o.audioFile = dir.file("out.wav");
    std::ostringstream report;
    ASSERT_EQ(runHeadless(o, report), kRunnerOk) << report.str();
    std::vector<uint8_t> wav = testsupport::readAll(dir.file("out.wav"));
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    // 200 ms of 44.1 kHz stereo 16-bit sound.
    uint32_t dataBytes = uint32_t(wav[40]) | uint32_t(wav[41]) << 8 | uint32_t(wav[42]) << 16 | uint32_t(wav[43]) << 24;
    EXPECT_EQ(dataBytes, 8820u * 2 * 2);
    EXPECT_EQ(wav.size(), 44u + dataBytes);
}

TEST(Runner, ContactSheetHoldsEveryScreenshotAtAQuarterSize)
{
    testsupport::TempDir dir;
    testsupport::writeEmptyArchive(dir.file("system.pkd"));
    RunnerOptions o;
    o.programDir = dir.str();
    o.frames = 6;
    for (int f : {1, 2, 3, 4, 5})
        o.shots.emplace_back(f, dir.file("s" + std::to_string(f) + ".png"));
    o.contactSheet = dir.file("sheet.png");
    Watch watch;
    std::ostringstream report;
    ASSERT_EQ(runHeadless(o, report, &watch), kRunnerOk) << report.str();
    int w = 0, h = 0;
    std::vector<uint8_t> rgb;
    ASSERT_TRUE(readPngRgb(dir.file("sheet.png"), w, h, rgb));
    // Five shots of 200x150, four to a row with 4-pixel gaps: two rows.
    EXPECT_EQ(w, 4 * (200 + 4) + 4);
    EXPECT_EQ(h, 2 * (150 + 4) + 4);
    // Frame 4's red square (x 30..79, y 100..149 at full size) is at x 7..19, y 25..37 of the
    // fourth tile; the gap around the tiles stays grey.
    auto at = [&](int x, int y, int c) { return rgb[(size_t(y) * size_t(w) + size_t(x)) * 3 + size_t(c)]; };
    int tileX = 4 + 3 * 204, tileY = 4;
    EXPECT_EQ(at(tileX + 10, tileY + 30, 0), 255);
    EXPECT_EQ(at(tileX + 10, tileY + 30, 1), 0);
    EXPECT_EQ(at(tileX + 30, tileY + 30, 0), 0);
    EXPECT_EQ(at(2, 2, 0), 0x30);
}

TEST(RunnerArgs, WindowAndContactSheetOptions)
{
    RunnerOptions o;
    std::string error;
    const char* argv[] = {"runner", "--window", "--contact-sheet", "c.png", "--script", "startup.scp", "--frame-times"};
    ASSERT_TRUE(parseRunnerArgs(7, argv, o, error)) << error;
    EXPECT_TRUE(o.window);
    EXPECT_TRUE(o.frameTimes);
    EXPECT_EQ(o.contactSheet, "c.png");
    const char* bad[] = {"runner", "--contact-sheet"};
    EXPECT_FALSE(parseRunnerArgs(2, bad, o, error));
}
