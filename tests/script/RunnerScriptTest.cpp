// The runner's start-script option: a game folder played from a named script, checked by its
// run log.
#include "tools/runner/Runner.h"
#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "platform/Text.h"
#include "platform/headless/HeadlessBackend.h"
#include "tools/pkd/PackWriter.h"
#include "../TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

void writeGame(const testsupport::TempDir& dir, std::initializer_list<std::pair<std::string, std::string>> scripts)
{
    PackWriter w;
    for (const auto& [name, text] : scripts)
        w.addBytes("SCP\\" + name, std::vector<uint8_t>(text.begin(), text.end()));
    std::string error;
    ASSERT_TRUE(w.write(dir.file("system.pkd"), error)) << error;
}

// Remembers the frame at which each log line first appeared.
struct LogWatch : RunnerHooks {
    std::vector<std::pair<int, std::string>> seen;
    size_t count = 0;
    void afterFrame(int frame, CDirectX&, platform::HeadlessBackend&) override
    {
        const auto& lines = runLog().lines();
        // The log only grows during a run unless the S-key dump empties it.
        for (size_t i = count; i < lines.size(); ++i)
            seen.emplace_back(frame, lines[i]);
        count = lines.size();
    }
    int frameOf(const std::string& line) const
    {
        for (const auto& [frame, text] : seen)
            if (text == line)
                return frame;
        return -1;
    }
};

} // namespace

TEST(RunnerScript, ParsesTheStartScriptInShiftJis)
{
    RunnerOptions o;
    std::string error;
    const char* args[] = {"runner", "--script", "あ.scp"};
    ASSERT_TRUE(parseRunnerArgs(3, args, o, error)) << error;
    EXPECT_EQ(o.startScript, platform::utf8ToSjis("あ.scp"));
    const char* missing[] = {"runner", "--script"};
    EXPECT_FALSE(parseRunnerArgs(2, missing, o, error));
    const char* empty[] = {"runner", "--script", ""};
    EXPECT_FALSE(parseRunnerArgs(3, empty, o, error));
}

TEST(RunnerScript, WaitIfAndLoadShowInTheRunLogInOrder)
{
    testsupport::TempDir dir;
    writeGame(dir, {{"start.scp", "#if 00-01\r\n@exit\r\n#endif\r\n"
                                  "#if 99-99\r\n@wait 200\r\n#endif\r\n"
                                  "@load second.scp\r\n"},
                    {"second.scp", "@exit\r\n"}});
    RunnerOptions o;
    o.programDir = dir.str();
    o.frames = 40;
    o.startScript = "start.scp";
    std::ostringstream report;
    LogWatch watch;
    runLog().clear();
    ASSERT_EQ(runHeadless(o, report, &watch), kRunnerOk) << report.str();

    const int started = watch.frameOf("Load Script [start.scp]\n");
    const int unknown = watch.frameOf("unknown such flag-name : 99-99\n");
    const int second = watch.frameOf("Load Script [second.scp]\n");
    const int quiz = watch.frameOf("Starting QUIZ MODE\n");
    // The first line comes before any frame; the runner reports it as frame 1.
    ASSERT_EQ(started, 1) << report.str();
    ASSERT_EQ(unknown, 1);
    // "@wait 200" at 16 ms a frame ends in the draw of its 13th frame; "@load" runs in the
    // logic phase of the next one.
    EXPECT_EQ(second, unknown + 13);
    // Then the scene holds for five frames before the new script runs.
    EXPECT_EQ(quiz, second + 6);
    // The skipped "#if" block never ran: one "@exit" only.
    int quizzes = 0;
    for (const auto& entry : watch.seen)
        quizzes += entry.second == "Starting QUIZ MODE\n";
    EXPECT_EQ(quizzes, 1);
}

TEST(RunnerScript, MissingStartScriptFailsTheRun)
{
    testsupport::TempDir dir;
    writeGame(dir, {{"start.scp", "@exit\r\n"}});
    RunnerOptions o;
    o.programDir = dir.str();
    o.frames = 3;
    o.startScript = "nothere.scp";
    std::ostringstream report;
    runLog().clear();
    EXPECT_EQ(runHeadless(o, report), kRunnerStartFailed);
    EXPECT_NE(report.str().find("cannot load SCP\\nothere.scp"), std::string::npos) << report.str();
    EXPECT_TRUE(runLog().contains("ERROR: Load fail [nothere.scp]"));
}
