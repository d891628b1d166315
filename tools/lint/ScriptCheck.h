#pragma once
// One script being checked: the token cursor (the game's own ScriptFile), the line of the
// token just read, and what the command checks report and record.
#include "script/ScriptFile.h"
#include "tools/lint/Linter.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The hot-spot block of the script, from "@clickable" to its end.
struct HotSpotCheck {
    bool active = false;
    int32_t line = 0;                    // of "@clickable"
    uint8_t regionsInMap = 0;            // bit r: region r (A = 0) has pixels in the map
    bool mapKnown = false;               // the map was read
    struct Definition {
        bool defined = false;
        bool loop = false;
        int32_t target = -1;
    };
    Definition table[7][32];
    int32_t sectionLine[7][32] = {};     // line of "A0[" after "#script"; 0 when absent
    bool leaves[7][32] = {};             // the section loads another script before its "]"
    int32_t openRegion = -1, openSection = 0; // the section being read
};

class ScriptCheck {
public:
    // file: the archive name shown in findings ("SCP/startup.scp").
    ScriptCheck(Linter& linter, ScriptFile& script, std::string file);

    // The next token as the interpreter reads it; remembers its line.
    const std::string& next();
    // The next token that is not a line end (the blocks' readers skip them).
    const std::string& nextInBlock();
    // Reads up to and past "{" as the block commands do; false (after an error) when the
    // script ends first. A token other than a line end before it is an error: the game skips it.
    bool openBlock(std::string_view command);
    int32_t line() const { return line_; }

    void error(const std::string& message) { report(FindingLevel::Error, line_, message); }
    void warning(const std::string& message) { report(FindingLevel::Warning, line_, message); }
    void report(FindingLevel level, int32_t line, const std::string& message);

    // Checks that a picture entry exists and can be shown; folder is "BG\\", "CHR\\", ...
    void picture(std::string_view folder, const std::string& name, std::string_view command);
    // Checks a loose sound file ("SOUND\\SE\\" + name).
    void sound(std::string_view folder, const std::string& name, std::string_view command);
    // A scenario script this one leads to ("SCP\\" + name), reported when absent.
    // Both report a missing script; false then.
    bool scenarioTarget(const std::string& name, std::string_view command);
    bool typingTarget(const std::string& name, std::string_view command);

    GameFolder& game() { return linter_.game(); }
    ScriptFile& script() { return script_; }
    const std::string& file() const { return file_; }
    ScriptEdges& edges() { return edges_; }

    // Open "#if" lines, the hot-spot block; for the flow and choice checks.
    std::vector<int32_t> openIfs;
    HotSpotCheck hotSpots;

private:
    Linter& linter_;
    ScriptFile& script_;
    std::string file_;
    int32_t line_ = 1;
    ScriptEdges edges_;
};

// Quotes a Shift-JIS token in a UTF-8 message: "'name'".
std::string quoted(std::string_view sjis);

// Field helpers shared by the families. The game reads numbers like atoi; a field that is not
// written as a number is reported (it would be read as the number shown).
int32_t numberField(ScriptCheck& c, const std::string& field, std::string_view command);
// A number that must lie in lo..hi, reported as an error otherwise; false then.
bool rangeField(ScriptCheck& c, const std::string& field, int32_t lo, int32_t hi, std::string_view command,
                std::string_view what);
// The comma fields of an argument, or nullopt after an error when there are fewer than count.
bool fields(ScriptCheck& c, const std::string& arg, size_t count, std::string_view command,
            std::vector<std::string>& out);
// A word that must be one of the given ones; an error naming them otherwise.
bool wordField(ScriptCheck& c, const std::string& word, std::initializer_list<std::string_view> words,
               std::string_view command, std::string_view consequence);

// The families' command checks.
std::vector<CommandCheck> flowChecks();
std::vector<CommandCheck> textChecks();
std::vector<CommandCheck> choiceChecks();
std::vector<CommandCheck> sceneChecks();
std::vector<CommandCheck> soundChecks();
std::vector<CommandCheck> typingChecks();

// After the last token of a scenario script: what the flow and choice checks left open.
void finishFlow(ScriptCheck& c);
void finishHotSpots(ScriptCheck& c);
// A hot-spot section token ("A0[") or "]" met by the walker; true when it was one.
bool sectionToken(ScriptCheck& c, const std::string& token);
// A command that leaves the script (a load, the title) inside the open section.
void sectionLeaves(ScriptCheck& c);
