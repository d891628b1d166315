#include "tools/lint/LintMain.h"

#include "tools/lint/Linter.h"

#include <ostream>

namespace {

constexpr int kClean = 0;
constexpr int kErrors = 1;
constexpr int kUsage = 2;

const char kUsageText[] =
    "usage: sorafune-lint [GAME_FOLDER]   check the game in GAME_FOLDER (default: the current folder)\n"
    "       sorafune-lint -h              this text\n"
    "\n"
    "Reads GAME_FOLDER/system.pkd and the SOUND folders, checks every script of the archive\n"
    "(\"SCP\\\\...\", \"TYPE\\\\...\") with the game's own tokeniser and prints one finding a line:\n"
    "    SCP/startup.scp:12: error: @chr_show: character group 3 is outside 0..2\n"
    "Line numbers count the lines of the script file from 1. A script that the game reaches\n"
    "in a way the checker cannot see says \"sorafune-lint: entry\" in a comment.\n"
    "Exit status: 0 no errors (warnings may be printed), 1 errors found, 2 usage or an\n"
    "unreadable folder or archive.\n";

} // namespace

int lintMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty() && (args[0] == "-h" || args[0] == "--help")) {
        out << kUsageText;
        return kClean;
    }
    if (args.size() > 1 || (!args.empty() && !args[0].empty() && args[0][0] == '-')) {
        err << kUsageText;
        return kUsage;
    }
    GameFolder game;
    std::string why;
    if (!game.open(args.empty() ? "." : args[0], why)) {
        err << "sorafune-lint: " << why << "\n";
        return kUsage;
    }
    Linter linter(game);
    linter.checkGame();
    linter.findings().print(out);
    return linter.findings().hasErrors() ? kErrors : kClean;
}
