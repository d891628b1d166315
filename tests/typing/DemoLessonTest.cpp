// The demo's typing lesson played through the runner from the hill scene: once typed to the
// end with the alternative spellings, once left to time out into the game-over script.
#include "../TestSupport.h"
#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "platform/Fonts.h"
#include "platform/Text.h"
#include "platform/headless/HeadlessBackend.h"
#include "tools/demo/FontLabels.h"
#include "tools/demo/Generator.h"
#include "tools/runner/PngWriter.h"
#include "tools/runner/Runner.h"
#include "typing/TypingEngine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

using Kind = platform::HeadlessInputEvent::Kind;

// The generated demo, once for the whole program.
const std::string& demoFolder()
{
    static testsupport::TempDir dir;
    static const std::string folder = [] {
        static platform::Fonts fonts;
        demo::GeneratorOptions options;
        options.sourceDir = std::string(SORAFUNE_SOURCE_DIR) + "/demo";
        options.label = demo::fontLabelPainter(fonts);
        const demo::GeneratedGame game = demo::generateGame(options);
        std::string error = game.error;
        if (error.empty())
            demo::writeGame(game, dir.str(), "", error);
        return error.empty() ? dir.str() : std::string();
    }();
    return folder;
}

// A player: pages through the scene with clicks, answers key waits with Enter, and types
// each line with the keys given for it (or lets it run out), one key every other frame.
// Every event it feeds is kept as a runner input script.
struct Player : RunnerHooks {
    std::map<std::string, std::string> keysFor; // UTF-8 display text -> keys
    bool type = true;
    std::string shotDir, shotPrefix;
    int gameOverSeen = -1;
    std::vector<std::string> shotsTaken;
    std::ostringstream input;
    bool sawTyping = false, left = false;
    int releaseAt = -1;
    Kind release = Kind::KeyUp;
    int releaseCode = 0;
    int linesStarted = 0;
    bool inLine = false;
    int lastClick = 0;

    void feed(int frame, platform::HeadlessBackend& b, Kind kind, int code)
    {
        platform::HeadlessInputEvent ev;
        ev.kind = kind;
        ev.code = code;
        b.feedInput(ev);
        const bool button = kind == Kind::ButtonDown || kind == Kind::ButtonUp;
        const bool down = kind == Kind::KeyDown || kind == Kind::ButtonDown;
        input << frame + 1 << (button ? " mouse " : " key ") << (down ? "down " : "up ");
        if (button)
            input << "left\n";
        else
            input << "0x" << std::hex << code << std::dec << "\n";
    }
    void press(int frame, platform::HeadlessBackend& b, Kind down, int code)
    {
        feed(frame, b, down, code);
        releaseAt = frame + 1;
        release = down == Kind::KeyDown ? Kind::KeyUp : Kind::ButtonUp;
        releaseCode = code;
    }
    void shot(CDirectX&, platform::HeadlessBackend& b, const std::string& name)
    {
        std::string error;
        if (b.video.backBuffer() && writeSurfacePng(*b.video.backBuffer(), shotDir + "/" + shotPrefix + name + ".png", error))
            shotsTaken.push_back(name);
    }

    void afterFrame(int frame, CDirectX& dx, platform::HeadlessBackend& b) override
    {
        if (frame == releaseAt) {
            feed(frame, b, release, releaseCode);
            return;
        }
        const TypingMode& t = dx.typing;
        if (dx.screenState == ScreenState::Typing) {
            sawTyping = true;
            const TypingLine& l = t.line;
            const bool typing = t.state == TypingState::Typing && !l.LineDone;
            linesStarted += typing && !inLine;
            inLine = typing;
            if (t.state == TypingState::KeyWait) {
                press(frame, b, Kind::KeyDown, 0x1C);
            } else if (t.state == TypingState::GameOver) {
                // The banner stays until the player answers it.
                if (gameOverSeen < 0)
                    gameOverSeen = frame;
                if (frame == gameOverSeen + 10)
                    shot(dx, b, "banner");
                if (frame == gameOverSeen + 20)
                    press(frame, b, Kind::KeyDown, 0x1C);
            } else if (t.state == TypingState::FadeOut && frame == gameOverSeen + 25) {
                shot(dx, b, "fading");
            } else if (t.state == TypingState::Typing && !l.LineDone) {
                if (linesStarted == 1 && l.KeystrokeCount == 5)
                    shot(dx, b, "typing-line1");
                const std::string display = platform::sjisToUtf8(std::string(l.DisplayText.view()));
                const auto it = keysFor.find(display);
                if (type && it != keysFor.end() && size_t(l.KeystrokeCount) < it->second.size())
                    for (const TypingKey& k : TypingKeyTable)
                        if (k.character == it->second[size_t(l.KeystrokeCount)])
                            press(frame, b, Kind::KeyDown, k.scanCode);
            } else if (t.state == TypingState::Typing && l.ShowClear && l.ResultTimer > 900 && linesStarted == 7) {
                shot(dx, b, "clear-banner");
            }
            return;
        }
        if (dx.screenState == ScreenState::Game && sawTyping && !left) {
            left = true;
            releaseAt = frame + 40; // a look at the scenario on its way back
            release = Kind::ButtonUp;
            releaseCode = 0;
            return;
        }
        if (left && frame == releaseAt - 1)
            shot(dx, b, "after-exit");
        // Page through the scene before the lesson.
        if (!sawTyping && dx.screenState == ScreenState::Game && frame - lastClick >= 25) {
            lastClick = frame;
            press(frame, b, Kind::ButtonDown, 0);
        }
    }
};

std::string run(Player& player, int frames, int stepMs)
{
    RunnerOptions o;
    o.programDir = demoFolder();
    o.frames = frames;
    o.stepMs = stepMs;
    o.startScript = "hill.scp";
    o.input.push_back(ScriptedInput{});
    o.input.back().frame = 1;
    o.input.back().event.kind = Kind::MouseMove;
    o.input.back().event.x = 400;
    o.input.back().event.y = 300;
    std::ostringstream report;
    runLog().clear();
    EXPECT_EQ(runHeadless(o, report, &player), kRunnerOk) << report.str();
    std::string log;
    for (const std::string& line : runLog().lines())
        log += platform::sjisToUtf8(line);
    return log;
}

// Where the pictures of a run go: a folder named by SORAFUNE_KEEP_SHOTS, else a temporary one.
std::string shotFolder(const testsupport::TempDir& tmp)
{
    const char* keep = std::getenv("SORAFUNE_KEEP_SHOTS");
    if (keep && *keep) {
        std::filesystem::create_directories(keep);
        return keep;
    }
    return tmp.str();
}

} // namespace

TEST(DemoLesson, TypedToTheEndWithAlternativeSpellingsItLoadsTheClearScript)
{
    ASSERT_FALSE(demoFolder().empty());
    testsupport::TempDir tmp;
    Player p;
    p.shotDir = shotFolder(tmp);
    p.shotPrefix = "clear-";
    p.keysFor = {
        {"星が降る", "HOSHIGAFURU"},      {"満開の星", "MANNKAINOHOSHI"},  {"月が近い", "TSUKIGACHIKAI"},
        {"みんなで見よう", "MINNNADEMIYOU"}, {"きっと会える", "KITTOAERU"},   {"フィルムに残そう", "FYIRUMUNINOKOSOU"},
        {"じゃあ、またね", "JAA,MATANE"},
    };
    const std::string log = run(p, 2600, 16);
    EXPECT_NE(log.find("Load Script [TYPE\\lesson]"), std::string::npos);
    EXPECT_NE(log.find("Load Script [lesson_clear]"), std::string::npos) << log;
    EXPECT_EQ(log.find("lesson_gameover"), std::string::npos);
    EXPECT_EQ(p.linesStarted, 7);
    EXPECT_EQ(log.find("not found"), std::string::npos);
    EXPECT_EQ(log.find("Load fail"), std::string::npos) << log;
    for (const char* shot : {"typing-line1", "clear-banner", "after-exit"})
        EXPECT_NE(std::find(p.shotsTaken.begin(), p.shotsTaken.end(), shot), p.shotsTaken.end()) << shot;
    std::ofstream(p.shotDir + "/lesson-clear.input") << p.input.str();
}

TEST(DemoLesson, LeftToTimeOutItEndsInTheGameOverScript)
{
    ASSERT_FALSE(demoFolder().empty());
    testsupport::TempDir tmp;
    Player p;
    p.shotDir = shotFolder(tmp);
    p.type = false;
    p.shotPrefix = "gameover-";
    const std::string log = run(p, 2400, 100);
    EXPECT_NE(log.find("Load Script [lesson_gameover]"), std::string::npos) << log;
    EXPECT_EQ(log.find("lesson_clear"), std::string::npos);
    EXPECT_EQ(p.linesStarted, 5);
    for (const char* shot : {"banner", "fading", "after-exit"})
        EXPECT_NE(std::find(p.shotsTaken.begin(), p.shotsTaken.end(), shot), p.shotsTaken.end()) << shot;
    std::ofstream(p.shotDir + "/lesson-gameover.input") << p.input.str();
}
