// The program's face: usage, exit codes, the line format, and input that is not a game.
#include "SmallGame.h"
#include "script/CommandTable.h"
#include "tools/lint/GameFolder.h"
#include "tools/lint/LintMain.h"
#include "tools/lint/Linter.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace lintgame;

namespace {

struct LintRun {
    int code;
    std::string out, err;
};

LintRun lint(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = lintMain(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(LintMain, UsageAndUnreadableFolders)
{
    testsupport::TempDir dir;
    testsupport::writeAll(dir.file("system.pkd"), {'P', 'A', 'C'});
    std::filesystem::create_directories(dir.path() / "empty");
    const struct {
        std::vector<std::string> args;
        int code;
        const char* says;
    } cases[] = {
        {{"-h"}, 0, "usage: sorafune-lint [GAME_FOLDER]"},
        {{"--bogus"}, 2, "usage:"},
        {{"a", "b"}, 2, "usage:"},
        {{dir.file("nothing-here")}, 2, "not a folder"},
        {{dir.file("empty")}, 2, "no readable system.pkd"},
        {{dir.str()}, 2, "not a package archive"},
    };
    for (const auto& c : cases) {
        const LintRun r = lint(c.args);
        EXPECT_EQ(r.code, c.code) << c.args[0];
        EXPECT_NE((r.out + r.err).find(c.says), std::string::npos) << r.out << r.err;
    }
}

TEST(LintMain, PrintsOneFindingALineAndExitsOneOnErrors)
{
    SmallGame game;
    game.setLine("SCP\\startup.scp", 8, "@chr_load 3,c.png");
    game.scripts["SCP\\lost.scp"] = {"@wait 1"};
    Findings findings;
    ASSERT_EQ(game.check(findings), 1);
    const LintRun r = lint({game.dir.str()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "SCP/startup.scp:8: error: @chr_load: character group 3 is outside 0..2\n"
                     "SCP/lost.scp: warning: no path from startup.scp, the galleries or the typing exits reaches "
                     "this script\n");
    EXPECT_EQ(r.err, "");
}

TEST(LintMain, WarningsAloneExitZero)
{
    SmallGame game;
    game.scripts["SCP\\lost.scp"] = {"@wait 1"};
    Findings findings;
    EXPECT_EQ(game.check(findings), 0);
    EXPECT_EQ(lint({game.dir.str()}).code, 0);
}

// The run log's "@LINE" numbers name the line after the last one that held tokens; findings
// name the line in the file, past blank and comment lines and quoted text over line breaks.
TEST(LintLines, CountTheFilesLinesPastBlankCommentAndQuotedLines)
{
    SmallGame game;
    game.setLine("SCP\\startup.scp", 7, "\n// a comment\n\n@test_title \"two\nlines\"\n@bg_change x");
    Findings findings;
    game.check(findings);
    ASSERT_EQ(findings.list().size(), 1u);
    EXPECT_EQ(findings.list()[0].line, 12);
}

TEST(LintRobustness, GarbageAndHugeTokensGiveFindingsNotCrashes)
{
    SmallGame game;
    std::string huge(100 * 1024, 'x');
    huge[0] = '@';
    game.setLine("SCP\\startup.scp", 7, huge);
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919) % 256);
    game.scripts["SCP\\junk.scp"] = {garbage, "{", "@select", "{", "a,", "@clickable", "#bitmap", "@type_start"};
    Findings findings;
    std::string printed;
    EXPECT_EQ(game.check(findings, &printed), 1);
    // The long token is shown by its beginning only.
    EXPECT_NE(printed.find("SCP/startup.scp:7: error: unknown command '@xxxxxxxx"), std::string::npos) << printed;
    EXPECT_LT(printed.size(), 4000u);
}

TEST(LintRobustness, EmptyAndUnreadableEntries)
{
    SmallGame game;
    game.scripts["SCP\\empty.scp"] = {};
    Findings findings;
    std::string printed;
    game.check(findings, &printed);
    EXPECT_NE(printed.find("SCP/empty.scp: error: the script is empty"), std::string::npos) << printed;
}

// A command family that joins the table brings its checks: every row has one.
TEST(LintTable, EveryCommandOfTheTableHasItsCheck)
{
    for (const CommandRow& row : commandTable())
        EXPECT_NE(Linter::scenarioCheck(row.name), nullptr) << row.name;
    for (std::string_view name : {"@type", "@mes_sys", "@finish", "@QUIT_TO_OP", "@window"})
        EXPECT_NE(Linter::typingCheck(name), nullptr) << name;
}

} // namespace
