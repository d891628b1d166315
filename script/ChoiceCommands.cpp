#include "script/ChoiceCommands.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "graphics/CTextLabel.h"
#include "platform/Text.h"
#include "script/CommandArgs.h"

#include <cstdio>

namespace {

// Makes the row's text image; without a display device there is nothing to draw into.
void renderRow(CDirectX& dx, int32_t i)
{
    ChoiceSet& c = dx.choices;
    if (!dx.display.directDraw())
        return;
    auto& label = c.labels[size_t(i)];
    if (!label) {
        label = std::make_unique<CTextLabel>(dx.sys.fonts);
        label->Init(dx.display.directDraw(), dx.display.directDraw());
        label->SetFontSheet(&dx.fontSheet);
    }
    if (label->SetText(c.choiceText[size_t(i)]) != 0)
        runLog().appendf(2, "@select: choice text longer than %d characters is not shown [%s]", CTextLabel::kMaxChars,
                         c.choiceText[size_t(i)].c_str());
    label->SetBaseColor(0x0FFF);
    label->Render();
}

// Every way out of a hot-spot definition also stops skipping, so that the player sees the
// picture the regions belong to.
void endClickableParse(CDirectX& dx)
{
    dx.messageWindow.skipMode = 0;
}

// One "Ln,v" or "Ln,loop,v" definition. False (after the log line) for a malformed label.
bool defineSection(CDirectX& dx, const std::string& token)
{
    HotSpotSet& h = dx.hotSpots;
    const size_t comma = token.find(',');
    if (comma == std::string::npos || comma >= 5) {
        runLog().append(2, SJ("@clickable: ラベルが異常です。"));
        return false;
    }
    const char letter = comma > 0 ? token[0] : '\0';
    if (letter < 'A' || letter > 'G') {
        runLog().append(2, SJ("@clickable: ラベルに指定できるのはA-Gです。"));
        return false;
    }
    const std::vector<std::string> fields = splitArguments(token);
    const int32_t n = argumentNumber(std::string_view(fields[0]).substr(1));
    const bool loop = fields.size() > 2 && fields[1] == "loop";
    const int32_t target = argumentNumber(loop ? fields[2] : fields[1]);
    // A section number or a loop target beyond the table would name an entry that does not
    // exist: the definition is refused like any other malformed label.
    if (n < 0 || n >= HotSpotSet::kSections || (loop && (target < 0 || target >= HotSpotSet::kSections))) {
        runLog().append(2, SJ("@clickable: ラベルが異常です。"));
        return false;
    }
    HotSpotEntry& e = h.hotSpotTable[size_t(letter - 'A')][size_t(n)];
    e.loop = 0;
    if (fields.size() == 2) {
        e.target = target;
    } else if (loop) {
        e.target = target;
        e.loop = 1;
    }
    return true;
}

} // namespace

void clearBranchSets(CDirectX& dx)
{
    dx.choices.choiceCount = 0;
    dx.choices.choiceSelected = 0;
    dx.hotSpots.reset();
    dx.hotSpots.activeRegion = -1;
    dx.scriptState.clickableActive = 0;
}

void cmdSelect(CDirectX& dx, const std::string&)
{
    ScriptFile& s = dx.script;
    ChoiceSet& c = dx.choices;
    if (!s.seekToken("{")) {
        runLog().append(2, "not found { in @select");
        return;
    }
    int32_t count = 0;
    int32_t ignored = 0;
    for (;;) {
        const std::string token = s.nextToken();
        if (token == "}")
            break;
        if (token == "EOF") {
            runLog().append(2, "not found } in @select");
            return;
        }
        const size_t comma = token.find(',');
        if (token == "\n" || comma == std::string::npos)
            continue;
        if (count == ChoiceSet::kMaxRows) {
            ++ignored;
            continue;
        }
        c.choiceText[size_t(count)] = token.substr(0, comma);
        c.choiceTarget[size_t(count)] = token.substr(comma + 1);
        c.choiceMarks[size_t(count)] = {0, 1};
        ++count;
    }
    if (ignored > 0)
        runLog().appendf(2, "@select: %d choice(s) after the fourth ignored (%s line %d)", ignored,
                         s.scriptName().c_str(), s.sourceLine);
    for (int32_t i = 0; i < count; ++i)
        renderRow(dx, i);

    dx.gameState = GameState::Choice;
    c.choiceSelected = 0;
    c.choiceCount = count;
    if (dx.config.autoAfterChoice == 0)
        dx.messageWindow.autoMode = 0;
    if (dx.config.skipAfterChoice == 0)
        dx.messageWindow.skipMode = 0;
    dx.readText.recordReadPosition(s.scriptName(), s.cursorIndex());
}

void cmdClickable(CDirectX& dx, const std::string&)
{
    ScriptFile& s = dx.script;
    HotSpotSet& h = dx.hotSpots;
    if (dx.scriptState.clickableActive) {
        runLog().append(2, SJ("@clickableに@clickableをネストすることはできません"));
        return;
    }
    h.reset();
    if (!s.seekToken("{")) {
        runLog().append(2, "not found { in @clickable");
        return;
    }
    if (!s.seekToken("#bitmap")) {
        runLog().append(2, "not found #bitmap in @clickable");
        return;
    }

    // The token list ends in one empty token before "EOF"; it is no name, and skipping it
    // lets a block cut short say so.
    std::string name = s.nextToken();
    while (name == "\n" || name.empty())
        name = s.nextToken();
    if (name == "EOF") {
        runLog().append(2, SJ("@clickable: #bitmap以降に定義ファイルがありません。"));
    } else if (name != "}") {
        const std::string path = "CLICK\\" + name;
        // Without its map the block still runs; no point then belongs to a region.
        if (h.clickMap.LoadPNG(path, dx.archive) != 0) {
            h.clickMap.Free();
            runLog().appendf(2, "@clickable: map load failed [%s]", path.c_str());
        }
        h.clickMapPath = path;
    }

    if (!s.seekToken("#define")) {
        runLog().append(2, "not found #define in @clickable");
        return;
    }
    for (;;) {
        const std::string token = s.nextToken();
        if (token == "\n" || token.empty())
            continue;
        if (token == "}") {
            endClickableParse(dx);
            return;
        }
        if (token == "EOF") {
            runLog().append(2, SJ("@clickable: #scriptがありません。"));
            endClickableParse(dx);
            return;
        }
        if (token == "#script") {
            dx.scriptState.clickableActive = 1;
            h.scriptStart = s.cursorIndex();
            dx.gameState = GameState::Hotspots;
            endClickableParse(dx);
            return;
        }
        if (!defineSection(dx, token)) {
            endClickableParse(dx);
            return;
        }
    }
}

void cmdSectionEnd(CDirectX& dx, const std::string&)
{
    HotSpotSet& h = dx.hotSpots;
    dx.gameState = GameState::Hotspots;
    const int32_t r = h.activeRegion;
    if (r < 0 || r >= HotSpotSet::kRegions)
        return;
    int32_t& counter = h.sectionCounter[size_t(r)];
    const HotSpotEntry e = h.entry(r, counter);
    if (e.loop == 1)
        counter = e.target;
    else if (e.target >= 0)
        counter = counter + 1;
}
