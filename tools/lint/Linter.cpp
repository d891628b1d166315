#include "tools/lint/Linter.h"

#include "platform/Text.h"
#include "resources/PackFormat.h"
#include "script/CommandTable.h"
#include "tools/lint/ScriptCheck.h"
#include "tools/lint/Suggest.h"

#include <algorithm>
#include <deque>

namespace {

// A script that the game reaches in a way the checker cannot see (the runner's --script, a
// benchmark) says so in a comment of its own; without it, nothing reaching it is a warning.
constexpr std::string_view kEntryMark = "sorafune-lint: entry";

std::vector<CommandCheck> allScenarioChecks()
{
    std::vector<CommandCheck> all;
    for (auto family : {flowChecks, textChecks, choiceChecks, sceneChecks, soundChecks}) {
        const std::vector<CommandCheck> checks = family();
        all.insert(all.end(), checks.begin(), checks.end());
    }
    return all;
}

const std::vector<CommandCheck>& scenarioTable()
{
    static const std::vector<CommandCheck> table = allScenarioChecks();
    return table;
}

const std::vector<CommandCheck>& typingTable()
{
    static const std::vector<CommandCheck> table = typingChecks();
    return table;
}

std::string shownName(std::string_view folder, std::string_view name)
{
    std::string path = platform::sjisToUtf8(std::string(folder) + std::string(name));
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

void unknownCommand(ScriptCheck& c, const std::string& token, const std::vector<std::string_view>& names)
{
    std::string message = "unknown command " + quoted(token) + " (the game skips it)";
    const std::string_view nearest = nearestName(token, names);
    if (!nearest.empty())
        message += "; did you mean \"" + std::string(nearest) + "\"?";
    c.error(message);
    // A misspelt block command leaves its block behind: the game skips it word by word, and
    // one finding says all there is to say.
    ScriptFile& s = c.script();
    const int32_t cursor = s.cursor, sourceLine = s.sourceLine;
    if (c.nextInBlock() != "{") {
        s.cursor = cursor;
        s.sourceLine = sourceLine;
        return;
    }
    for (;;) {
        const std::string& t = c.next();
        if (t == "}" || t == "},nowait" || t == "EOF")
            return;
    }
}

// Commands after which the rest of the script does not run.
bool leavesScript(std::string_view command)
{
    return command == "@load" || command == "@QUIT_TO_OP" || command == "@type_start" || command == "@select" ||
           command == "#cg_quit" || command == "#album_quit";
}

void walkScenario(ScriptCheck& c)
{
    static const std::vector<std::string_view> names = Linter::scenarioCommandNames();
    for (;;) {
        const std::string token = c.next();
        if (token == "EOF")
            break;
        if (sectionToken(c, token))
            continue;
        const CommandRow* row = findCommand(token);
        if (!row) {
            if (!token.empty() && (token[0] == '@' || token[0] == '#'))
                unknownCommand(c, token, names);
            else if (token == "{")
                c.warning("\"{\" without a command that opens a block; the game skips it");
            else if (token == "}" || token == "},nowait")
                c.warning("\"}\" without \"{\"; the game skips it");
            continue;
        }
        if (const CommandCheck* check = Linter::scenarioCheck(row->name))
            check->check(c, token);
        if (leavesScript(row->name))
            sectionLeaves(c);
    }
    finishFlow(c);
    finishHotSpots(c);
}

void walkTyping(ScriptCheck& c)
{
    static const std::vector<std::string_view> names = Linter::typingCommandNames();
    for (;;) {
        const std::string token = c.next();
        if (token == "EOF")
            break;
        if (const CommandCheck* check = Linter::typingCheck(token)) {
            check->check(c, token);
            continue;
        }
        if (!token.empty() && (token[0] == '@' || token[0] == '#'))
            unknownCommand(c, token, names);
    }
}

bool hasEntryMark(const std::vector<uint8_t>& bytes)
{
    return std::search(bytes.begin(), bytes.end(), kEntryMark.begin(), kEntryMark.end()) != bytes.end();
}

} // namespace

const CommandCheck* Linter::scenarioCheck(std::string_view name)
{
    for (const CommandCheck& c : scenarioTable())
        if (c.name == name)
            return &c;
    return nullptr;
}

const CommandCheck* Linter::typingCheck(std::string_view name)
{
    for (const CommandCheck& c : typingTable())
        if (c.name == name)
            return &c;
    return nullptr;
}

std::vector<std::string_view> Linter::scenarioCommandNames()
{
    std::vector<std::string_view> names;
    for (const CommandRow& row : commandTable())
        if (row.name != "]")
            names.push_back(row.name);
    return names;
}

std::vector<std::string_view> Linter::typingCommandNames()
{
    std::vector<std::string_view> names;
    for (const CommandCheck& c : typingTable())
        names.push_back(c.name);
    return names;
}

void Linter::addEdges(const std::string& script, ScriptEdges edges)
{
    ScriptEdges& e = edges_[pack::upperName(script)];
    e.scenarios.insert(e.scenarios.end(), edges.scenarios.begin(), edges.scenarios.end());
    e.typing.insert(e.typing.end(), edges.typing.begin(), edges.typing.end());
}

void Linter::checkScenarioBytes(const std::string& name, const uint8_t* data, size_t size)
{
    ScriptFile script;
    const std::string shown = shownName("SCP\\", name);
    if (!script.loadFromBytes(name, data, size)) {
        findings_.add(Finding{shown, 0, FindingLevel::Error, "the script is empty: the game cannot load it"});
        return;
    }
    ScriptCheck c(*this, script, shown);
    walkScenario(c);
    addEdges("SCP\\" + name, c.edges());
}

void Linter::checkTypingBytes(const std::string& name, const uint8_t* data, size_t size)
{
    ScriptFile script;
    const std::string shown = shownName("TYPE\\", name);
    if (!script.loadFromBytes(name, data, size)) {
        findings_.add(Finding{shown, 0, FindingLevel::Error, "the script is empty: the game cannot load it"});
        return;
    }
    ScriptCheck c(*this, script, shown);
    walkTyping(c);
    addEdges("TYPE\\" + name, c.edges());
}

void Linter::checkGame()
{
    const std::vector<std::string> scenarios = game_.entriesIn("SCP\\");
    const std::vector<std::string> typing = game_.entriesIn("TYPE\\");
    std::set<std::string> entryScripts;
    std::vector<uint8_t> bytes;
    auto each = [&](const std::string& folder, const std::vector<std::string>& names, bool isTyping) {
        for (const std::string& name : names) {
            // Pictures of the typing game live beside its scripts.
            if (isTyping && isPictureName(name))
                continue;
            if (!game_.read(folder + name, bytes)) {
                findings_.add(Finding{shownName(folder, name), 0, FindingLevel::Error, "cannot be read from system.pkd"});
                continue;
            }
            if (hasEntryMark(bytes))
                entryScripts.insert(pack::upperName(folder + name));
            if (isTyping)
                checkTypingBytes(name, bytes.data(), bytes.size());
            else
                checkScenarioBytes(name, bytes.data(), bytes.size());
        }
    };
    each("SCP\\", scenarios, false);
    each("TYPE\\", typing, true);
    bool typingUsed = false;
    for (const auto& [script, e] : edges_)
        typingUsed = typingUsed || !e.typing.empty();
    checkFixedFiles(typingUsed);
    checkReachability(scenarios, typing, entryScripts);
}

void Linter::checkFixedFiles(bool typingUsed)
{
    // The interface sounds the game loads at start, and those the typing game loads for itself.
    std::vector<std::string> wavs = {"SYSTEM\\ok.wav", "SYSTEM\\cancel.wav", "SYSTEM\\logo.wav", "SYSTEM\\test.wav"};
    if (typingUsed)
        wavs.insert(wavs.end(), {"beep01.wav", "beep02.wav", "MsgType.wav", "beep04.wav"});
    for (const std::string& w : wavs) {
        const std::string path = "SOUND\\SE\\" + w;
        const std::string& problem = game_.soundProblem(path);
        if (!problem.empty())
            findings_.add(Finding{shownName("", path), 0, FindingLevel::Error, "the interface sound " + problem});
    }
    if (!game_.hasEntry("SCP\\startup.scp"))
        findings_.add(Finding{"system.pkd", 0, FindingLevel::Error,
                              "there is no \"SCP\\startup.scp\": a new game has nothing to play"});
}

void Linter::checkReachability(const std::vector<std::string>& scenarios, const std::vector<std::string>& typing,
                               const std::set<std::string>& entryScripts)
{
    std::set<std::string> reached;
    std::deque<std::string> queue;
    auto reach = [&](const std::string& full) {
        const std::string key = pack::upperName(full);
        if (reached.insert(key).second)
            queue.push_back(key);
    };
    reach("SCP\\startup.scp");
    // The galleries replay "CG_SCP\\..." scripts of their own.
    for (const std::string& s : scenarios)
        if (pack::upperName(s.substr(0, 7)) == "CG_SCP\\")
            reach("SCP\\" + s);
    for (const std::string& s : entryScripts)
        reach(s);
    while (!queue.empty()) {
        const std::string key = queue.front();
        queue.pop_front();
        auto it = edges_.find(key);
        if (it == edges_.end())
            continue;
        for (const std::string& s : it->second.scenarios)
            reach("SCP\\" + s);
        for (const std::string& t : it->second.typing)
            reach("TYPE\\" + t);
    }
    auto warnUnreached = [&](std::string_view folder, const std::vector<std::string>& names) {
        for (const std::string& n : names) {
            if (folder == "TYPE\\" && isPictureName(n))
                continue;
            if (!reached.count(pack::upperName(std::string(folder) + n)))
                findings_.add(Finding{shownName(folder, n), 0, FindingLevel::Warning,
                                      "no path from startup.scp, the galleries or the typing exits reaches this script"});
        }
    };
    warnUnreached("SCP\\", scenarios);
    warnUnreached("TYPE\\", typing);
}
