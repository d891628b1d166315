// Choices and hot-spots: "@select" rows and their scripts, "@clickable" blocks, their map, their
// definitions and the sections after "#script" that the clicks reach.
#include "graphics/CTextLabel.h"
#include "platform/Text.h"
#include "resources/Image.h"
#include "script/BranchState.h"
#include "script/CommandArgs.h"
#include "tools/lint/ScriptCheck.h"

#include <cctype>

namespace {

constexpr char kRegionLetters[] = "ABCDEFG";

void select(ScriptCheck& c, const std::string& token)
{
    if (!c.openBlock(token))
        return;
    const int32_t start = c.line();
    int32_t rows = 0;
    for (;;) {
        const std::string t = c.next();
        if (t == "}")
            break;
        if (t == "EOF") {
            c.report(FindingLevel::Error, start, token + ": \"{\" without \"}\"");
            return;
        }
        const size_t comma = t.find(',');
        if (t == "\n" || t.empty())
            continue;
        if (comma == std::string::npos) {
            c.error(token + ": " + quoted(t) + " is no choice (a choice is text,script.scp without blanks)");
            continue;
        }
        if (++rows > ChoiceSet::kMaxRows) {
            c.error(token + ": a choice after the fourth is ignored");
            continue;
        }
        const std::string label = t.substr(0, comma);
        if (platform::countSjisChars(label) > size_t(CTextLabel::kMaxChars))
            c.error(token + ": the choice text " + quoted(label) + " is longer than " +
                    std::to_string(CTextLabel::kMaxChars) + " characters and is not shown");
        c.scenarioTarget(t.substr(comma + 1), token);
    }
    if (rows == 0)
        c.report(FindingLevel::Error, start, token + ": no choice between \"{\" and \"}\"");
}

// Reads up to a keyword of the block as the game's seek does; false after an error.
bool seek(ScriptCheck& c, std::string_view keyword, std::string_view command, int32_t start)
{
    for (;;) {
        const std::string& t = c.next();
        if (t == keyword)
            return true;
        if (t == "EOF") {
            c.report(FindingLevel::Error, start,
                     std::string(command) + ": no \"" + std::string(keyword) + "\" before the end of the script");
            return false;
        }
    }
}

void readMap(ScriptCheck& c, const std::string& name, HotSpotCheck& h)
{
    const std::string entry = "CLICK\\" + name;
    const std::string& problem = c.game().pictureProblem(entry);
    if (!problem.empty()) {
        c.error("@clickable: map " + quoted(entry) + " " + problem + "; no point belongs to a region");
        return;
    }
    CImage map;
    if (map.LoadPNG(entry, c.game().archive()) != 0)
        return;
    for (int32_t y = 0; y < map.height; ++y) {
        const uint8_t* p = map.row(y);
        for (int32_t x = 0; x < map.width; ++x, p += 4)
            if (const int32_t r = regionForColour(p[2], p[1], p[0]); r > 0)
                h.regionsInMap = uint8_t(h.regionsInMap | 1u << (r - 1));
    }
    h.mapKnown = true;
}

// "Ln,v" or "Ln,loop,v"; false after the error that stops the game's parse.
bool definition(ScriptCheck& c, const std::string& t, HotSpotCheck& h)
{
    const size_t comma = t.find(',');
    const char letter = comma != std::string::npos && comma > 0 ? t[0] : '\0';
    if (comma == std::string::npos || comma >= 5 || letter < 'A' || letter > 'G') {
        c.error("@clickable: " + quoted(t) + " is no definition (Ln,shape or Ln,loop,section with L in A..G, n in 0..31); "
                "the block ends here");
        return false;
    }
    const std::vector<std::string> f = splitArguments(t);
    const std::string number = f[0].substr(1);
    int32_t n = 0;
    const bool loop = f.size() > 2 && f[1] == "loop";
    int32_t target = 0;
    if (!wholeNumber(number, n) || n < 0 || n >= HotSpotSet::kSections ||
        !wholeNumber(loop ? f[2] : f[1], target) || (loop && (target < 0 || target >= HotSpotSet::kSections))) {
        c.error("@clickable: " + quoted(t) + " names no section of 0..31 or no number; the block ends here");
        return false;
    }
    if (f.size() > 2 && !loop)
        c.error("@clickable: " + quoted(t) + ": the second field of a three-field definition must be \"loop\"");
    HotSpotCheck::Definition& d = h.table[letter - 'A'][n];
    d.defined = f.size() == 2 || loop;
    d.loop = loop;
    d.target = target;
    return true;
}

void clickable(ScriptCheck& c, const std::string& token)
{
    HotSpotCheck& h = c.hotSpots;
    const int32_t start = c.line();
    if (h.active) {
        c.error(token + ": a second \"@clickable\" after \"#script\" of the one at line " + std::to_string(h.line) +
                " is refused while that one is in force");
        // The first block's sections end here.
        finishHotSpots(c);
        h.active = false;
    }
    HotSpotCheck fresh;
    fresh.line = start;
    if (!c.openBlock(token) || !seek(c, "#bitmap", token, start))
        return;
    const std::string name = c.nextInBlock();
    if (name == "EOF" || name.empty()) {
        c.report(FindingLevel::Error, start, token + ": no map name after \"#bitmap\"");
        return;
    }
    if (name != "}")
        readMap(c, name, fresh);
    else
        c.error(token + ": no map name after \"#bitmap\"");
    if (!seek(c, "#define", token, start))
        return;
    for (;;) {
        const std::string t = c.next();
        if (t == "\n" || t.empty())
            continue;
        if (t == "}" || t == "EOF") {
            c.report(FindingLevel::Error, start, token + ": no \"#script\" after the definitions: no region can be clicked");
            return;
        }
        if (t == "#script")
            break;
        if (!definition(c, t, fresh))
            return;
    }
    fresh.active = true;
    h = fresh;
}

} // namespace

std::vector<CommandCheck> choiceChecks()
{
    return {{"@select", select}, {"@clickable", clickable}};
}

bool sectionToken(ScriptCheck& c, const std::string& t)
{
    HotSpotCheck& h = c.hotSpots;
    if (!h.active)
        return false;
    if (t == "]") {
        h.openRegion = -1;
        return true;
    }
    if (t.size() < 3 || t.back() != '[' || t[0] < 'A' || t[0] > 'G')
        return false;
    int32_t n = 0;
    if (!wholeNumber(std::string_view(t).substr(1, t.size() - 2), n) || n < 0 || n >= HotSpotSet::kSections)
        return false;
    int32_t& line = h.sectionLine[t[0] - 'A'][n];
    if (line != 0)
        c.warning("section " + t + " was already opened at line " + std::to_string(line) + "; the first one runs");
    else
        line = c.line();
    h.openRegion = t[0] - 'A';
    h.openSection = n;
    return true;
}

void sectionLeaves(ScriptCheck& c)
{
    HotSpotCheck& h = c.hotSpots;
    if (h.active && h.openRegion >= 0)
        h.leaves[h.openRegion][h.openSection] = true;
}

void finishHotSpots(ScriptCheck& c)
{
    HotSpotCheck& h = c.hotSpots;
    if (!h.active)
        return;
    for (int r = 0; r < HotSpotSet::kRegions; ++r) {
        bool anyDefinition = false;
        for (const auto& d : h.table[r])
            anyDefinition = anyDefinition || d.defined;
        bool anySection = false;
        for (int32_t line : h.sectionLine[r])
            anySection = anySection || line != 0;
        const bool inMap = !h.mapKnown || (h.regionsInMap >> r & 1) != 0;
        const char letter = kRegionLetters[r];
        if (!inMap) {
            if (anyDefinition || anySection)
                c.report(FindingLevel::Warning, h.line,
                         std::string("@clickable: region ") + letter + " has no pixel of its colour in the map");
            continue;
        }
        if (h.mapKnown && !anyDefinition && !anySection) {
            c.report(FindingLevel::Warning, h.line,
                     std::string("@clickable: region ") + letter + " is in the map but has no definition and no section");
            continue;
        }
        if (!anyDefinition && !anySection)
            continue;
        // The sections the region's clicks run, following its counter from section 0.
        bool reached[HotSpotSet::kSections] = {};
        int32_t n = 0;
        while (n >= 0 && n < HotSpotSet::kSections && !reached[n]) {
            reached[n] = true;
            const HotSpotCheck::Definition& d = h.table[r][n];
            // A section that loads another script never reaches its "]": the counter stays.
            if (h.leaves[r][n] || !d.defined || (!d.loop && d.target < 0))
                break; // the counter stays: the same section runs again
            n = d.loop ? d.target : n + 1;
        }
        for (int32_t s = 0; s < HotSpotSet::kSections; ++s) {
            const std::string label = std::string(1, letter) + std::to_string(s);
            if (reached[s] && h.sectionLine[r][s] == 0)
                c.report(FindingLevel::Error, h.line,
                         "@clickable: section " + label + "[ is missing after \"#script\"; a click on region " +
                             std::string(1, letter) + " finds nothing");
            else if (!reached[s] && h.sectionLine[r][s] != 0)
                c.report(FindingLevel::Warning, h.sectionLine[r][s],
                         "section " + label + "[ is never reached by the clicks on region " + std::string(1, letter));
        }
    }
}
