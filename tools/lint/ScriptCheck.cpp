#include "tools/lint/ScriptCheck.h"

#include "platform/Text.h"
#include "script/CommandArgs.h"

#include <algorithm>

ScriptCheck::ScriptCheck(Linter& linter, ScriptFile& script, std::string file)
    : linter_(linter), script_(script), file_(std::move(file))
{
}

const std::string& ScriptCheck::next()
{
    const std::string& t = script_.nextToken();
    // At the end the cursor stays past the last token, whose line is the file's last.
    line_ = script_.tokenLine(std::min(script_.cursorIndex(), script_.lastIndex + 1) - 1);
    if (line_ <= 0)
        line_ = 1;
    return t;
}

const std::string& ScriptCheck::nextInBlock()
{
    for (;;) {
        const std::string& t = next();
        if (t != "\n" && !t.empty())
            return t;
        if (t.empty() && script_.cursorIndex() > script_.lastIndex)
            return t;
    }
}

bool ScriptCheck::openBlock(std::string_view command)
{
    const int32_t start = line_;
    bool skipped = false;
    for (;;) {
        const std::string& t = next();
        if (t == "EOF") {
            report(FindingLevel::Error, start, std::string(command) + ": no \"{\" follows before the end of the script");
            return false;
        }
        if (t == "{")
            return true;
        // The game seeks the "{" wherever it is: what stands between is lost, commands included.
        if (t != "\n" && !t.empty() && !skipped) {
            error(std::string(command) + ": " + quoted(t) + " before \"{\" is skipped");
            skipped = true;
        }
    }
}

void ScriptCheck::report(FindingLevel level, int32_t line, const std::string& message)
{
    linter_.findings().add(Finding{file_, line, level, message});
}

void ScriptCheck::picture(std::string_view folder, const std::string& name, std::string_view command)
{
    const std::string entry = std::string(folder) + name;
    const std::string& problem = game().pictureProblem(entry);
    if (!problem.empty())
        error(std::string(command) + ": picture " + quoted(entry) + " " + problem);
}

void ScriptCheck::sound(std::string_view folder, const std::string& name, std::string_view command)
{
    const std::string path = std::string(folder) + name;
    const std::string& problem = game().soundProblem(path);
    if (!problem.empty())
        error(std::string(command) + ": sound " + quoted(path) + " " + problem);
}

bool ScriptCheck::scenarioTarget(const std::string& name, std::string_view command)
{
    // The script loader refuses an empty entry as it refuses a missing one.
    if (name.empty() || game().archive().GetSize("SCP\\" + name) <= 0) {
        error(std::string(command) + ": script " + quoted("SCP\\" + name) + " is not in system.pkd");
        return false;
    }
    edges_.scenarios.push_back(name);
    return true;
}

bool ScriptCheck::typingTarget(const std::string& name, std::string_view command)
{
    if (name.empty() || game().archive().GetSize("TYPE\\" + name) <= 0) {
        error(std::string(command) + ": typing script " + quoted("TYPE\\" + name) + " is not in system.pkd");
        return false;
    }
    edges_.typing.push_back(name);
    return true;
}

std::string quoted(std::string_view sjis)
{
    // A 100 KB token would make a useless finding; the start of it is enough to find it.
    constexpr size_t kShown = 80;
    std::string shown = platform::sjisToUtf8(sjis.substr(0, kShown));
    if (sjis.size() > kShown)
        shown += "...";
    for (char& ch : shown)
        if (ch == '\n' || ch == '\r')
            ch = ' ';
    return "'" + shown + "'";
}

int32_t numberField(ScriptCheck& c, const std::string& field, std::string_view command)
{
    int32_t value = 0;
    if (wholeNumber(field, value))
        return value;
    value = argumentNumber(field);
    c.error(std::string(command) + ": " + quoted(field) + " is not a number (the game reads " + std::to_string(value) +
            ")");
    return value;
}

bool rangeField(ScriptCheck& c, const std::string& field, int32_t lo, int32_t hi, std::string_view command,
                std::string_view what)
{
    // The game reads these like atoi too; a word there is already a mistake of its own.
    int32_t value = 0;
    if (!wholeNumber(field, value)) {
        numberField(c, field, command);
        value = argumentNumber(field);
    }
    if (value >= lo && value <= hi)
        return true;
    c.error(std::string(command) + ": " + std::string(what) + " " + std::to_string(value) + " is outside " +
            std::to_string(lo) + ".." + std::to_string(hi));
    return false;
}

bool fields(ScriptCheck& c, const std::string& arg, size_t count, std::string_view command,
            std::vector<std::string>& out)
{
    out = splitArguments(arg);
    if (out.size() >= count)
        return true;
    c.error(std::string(command) + ": " + quoted(arg) + " has " + std::to_string(out.size()) + " field" +
            (out.size() == 1 ? "" : "s") + "; the command needs " + std::to_string(count) +
            " separated by commas (no blanks)");
    return false;
}

bool wordField(ScriptCheck& c, const std::string& word, std::initializer_list<std::string_view> words,
               std::string_view command, std::string_view consequence)
{
    for (std::string_view w : words)
        if (word == w)
            return true;
    std::string list;
    for (std::string_view w : words)
        list += (list.empty() ? "\"" : ", \"") + std::string(w) + "\"";
    c.error(std::string(command) + ": " + quoted(word) + " is none of " + list + " (" + std::string(consequence) + ")");
    return false;
}
