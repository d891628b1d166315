// Flow and system commands: "#if" blocks, waits, memory flags, loading scripts and the
// typing game's entry.
#include "savedata/UnlockRecord.h"
#include "script/CommandArgs.h"
#include "tools/lint/ScriptCheck.h"

namespace {

void none(ScriptCheck&, const std::string&) {}

void oneToken(ScriptCheck& c, const std::string&)
{
    c.next();
}

void ifBlock(ScriptCheck& c, const std::string& token)
{
    const std::string name = c.next();
    if (UnlockRecord::FindCg(name) < 0)
        c.error(token + ": " + quoted(name) + " is not a scene flag (a CG name such as 00-01); the block always runs");
    if (!c.openIfs.empty())
        c.warning(token + ": \"#if\" blocks do not nest: the first \"#endif\" also ends the one opened at line " +
                  std::to_string(c.openIfs.front()));
    c.openIfs.push_back(c.line());
}

void endif(ScriptCheck& c, const std::string&)
{
    if (c.openIfs.empty())
        c.warning("\"#endif\" without \"#if\"");
    // Blocks do not nest: the first "#endif" ends them all.
    c.openIfs.clear();
}

void memoryFlag(ScriptCheck& c, const std::string& token)
{
    rangeField(c, c.next(), 0, UnlockRecord::kMemoryFlags - 1, token, "memory flag");
}

void waitTime(ScriptCheck& c, const std::string& token)
{
    const int32_t ms = numberField(c, c.next(), token);
    if (ms < 0)
        c.error(token + ": a negative time waits for nothing");
}

void load(ScriptCheck& c, const std::string& token)
{
    c.scenarioTarget(c.next(), token);
}

void typeStart(ScriptCheck& c, const std::string& token)
{
    const std::string name = c.next();
    // Without the typing script its exits do not matter yet.
    if (!c.typingTarget(name, token))
        return;
    // Both exits of the typing game load a scenario script named after it.
    for (const char* exit : {"_clear", "_gameover"}) {
        const std::string target = name + exit;
        if (c.game().archive().GetSize("SCP\\" + target) <= 0)
            c.error(token + ": the typing game's exit script " + quoted("SCP\\" + target) + " is not in system.pkd");
        else
            c.edges().scenarios.push_back(target);
    }
}

} // namespace

std::vector<CommandCheck> flowChecks()
{
    return {
        {"@ending_start", none}, {"@fps_capture", none},  {"@test_title", oneToken},    {"@analyze", none},
        {"@type_start", typeStart}, {"#if", ifBlock},     {"#endif", endif},           {"#cg_quit", none},
        {"#album_quit", none},   {"@omoide_flag_set", memoryFlag}, {"]", none},        {"@exit", none},
        {"@keywait", none},      {"@wait", waitTime},     {"@load", load},             {"@QUIT_TO_OP", none},
    };
}

void finishFlow(ScriptCheck& c)
{
    if (!c.openIfs.empty())
        c.report(FindingLevel::Error, c.openIfs.front(),
                 "\"#if\" without \"#endif\": when the flag is clear the rest of the script is skipped");
}
