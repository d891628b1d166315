#pragma once
// The author's checker: every script of a game folder's archive, tokenised by the game's own
// tokeniser, checked command by command against what the game would do with it.
#include "tools/lint/Findings.h"
#include "tools/lint/GameFolder.h"

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class ScriptCheck;

// How one command's arguments are checked. The check reads the command's argument tokens
// through the ScriptCheck as the command's handler reads them through the interpreter.
using CommandCheckFn = void (*)(ScriptCheck& c, const std::string& token);
struct CommandCheck {
    std::string_view name;
    CommandCheckFn check;
};

// Where a script leads: the scripts it loads, names as choices or enters as typing scripts.
struct ScriptEdges {
    std::vector<std::string> scenarios; // "SCP\\" names
    std::vector<std::string> typing;    // "TYPE\\" names
};

class Linter {
public:
    explicit Linter(GameFolder& game) : game_(game) {}

    // Checks the fixed files of the game, every scenario and typing script of the archive and
    // which scripts nothing reaches.
    void checkGame();

    // Checks one scenario script given as bytes (Shift-JIS) under a name, as if it stood in
    // "SCP\\". For tests and the fuzz target.
    void checkScenarioBytes(const std::string& name, const uint8_t* data, size_t size);
    void checkTypingBytes(const std::string& name, const uint8_t* data, size_t size);

    GameFolder& game() { return game_; }
    Findings& findings() { return findings_; }

    // The check for a scenario command token (nullptr when none); the typing dialect's.
    static const CommandCheck* scenarioCheck(std::string_view name);
    static const CommandCheck* typingCheck(std::string_view name);
    // Every command name the checker knows for the scenario language and the typing dialect.
    static std::vector<std::string_view> scenarioCommandNames();
    static std::vector<std::string_view> typingCommandNames();

    // Recorded by the checks as they go.
    void addEdges(const std::string& script, ScriptEdges edges);

private:
    void checkFixedFiles(bool typingUsed);
    void checkReachability(const std::vector<std::string>& scenarios, const std::vector<std::string>& typing,
                           const std::set<std::string>& entryScripts);

    GameFolder& game_;
    Findings findings_;
    std::map<std::string, ScriptEdges> edges_; // by the checked file's upper-cased archive name
};
