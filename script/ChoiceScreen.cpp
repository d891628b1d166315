#include "script/ChoiceScreen.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "graphics/CTextLabel.h"
#include "input/KeyCodes.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "script/ChoiceCommands.h"
#include "script/FlowCommands.h"

#include <cstdio>

namespace {

bool insideRow(const CDirectX& dx, int32_t count, int32_t i)
{
    const int32_t top = ChoiceSet::rowTop(count, i);
    return dx.frameInput.mouseX() >= ChoiceSet::kRowX && dx.frameInput.mouseX() < ChoiceSet::kRowX + ChoiceSet::kRowWidth && dx.frameInput.mouseY() >= top &&
           dx.frameInput.mouseY() < top + ChoiceSet::kRowHeight;
}

// Space, Enter or the pad's Enter; Enter counts only without Alt, which makes it the
// display-mode toggle instead. Every key is read, so none is left for a later screen.
bool decideKey(CInput& in)
{
    const bool space = in.takeKeyPress(DIK_SPACE);
    const bool enter = in.takeKeyPress(DIK_RETURN);
    const bool padEnter = in.takeKeyPress(DIK_NUMPADENTER);
    const bool alt = in.keyHeld(DIK_LMENU) || in.keyHeld(DIK_RMENU);
    return space || padEnter || (enter && !alt);
}

// Held arrows walk the pointer, a little faster on slow frames, and keep it 10 pixels
// inside the picture.
void movePointerByKeys(CDirectX& dx)
{
    CInput& in = dx.input;
    const int32_t step = 1 + dx.frameDelta / 10;
    int32_t x = dx.frameInput.mouseX(), y = dx.frameInput.mouseY();
    if (in.keyHeld(DIK_LEFT) && x > 10)
        x -= step;
    if (in.keyHeld(DIK_RIGHT) && x < 790)
        x += step;
    if (in.keyHeld(DIK_UP) && y > 10)
        y -= step;
    if (in.keyHeld(DIK_DOWN) && y < 590)
        y += step;
    if (x == dx.frameInput.mouseX() && y == dx.frameInput.mouseY())
        return;
    dx.sys.window->setCursorPos(x, y);
    dx.frameInput.movePointer(x, y);
}

} // namespace

void choiceLogic(CDirectX& dx)
{
    ChoiceSet& c = dx.choices;
    const int32_t count = c.choiceCount;
    if (count <= 0)
        return;
    for (int32_t i = 0; i < count; ++i)
        if (dx.frameInput.cursorInside() && insideRow(dx, count, i))
            c.choiceSelected = i;

    CInput& in = dx.input;
    if (in.takeKeyPress(DIK_UP))
        c.choiceSelected = c.choiceSelected <= 0 ? count - 1 : c.choiceSelected - 1;
    if (in.takeKeyPress(DIK_DOWN))
        c.choiceSelected = c.choiceSelected >= count - 1 ? 0 : c.choiceSelected + 1;

    const bool click = dx.frameInput.leftClicked() && dx.frameInput.cursorInside() && insideRow(dx, count, c.choiceSelected);
    if (!(decideKey(in) || click))
        return;

    const std::string target = c.choiceTarget[size_t(c.choiceSelected)];
    loadScenario(dx, target);
    clearBranchSets(dx);
    // A failed load leaves no script: the interpreter then only sees its end.
    dx.gameState = GameState::Ready;
}

void drawChoices(CDirectX& dx)
{
    ChoiceSet& c = dx.choices;
    if (dx.gameState != GameState::Choice || !dx.display.directDraw())
        return;
    for (int32_t i = 0; i < c.choiceCount; ++i) {
        const bool selected = i == c.choiceSelected;
        const int32_t top = ChoiceSet::rowTop(c.choiceCount, i);
        // A plate under the text, so the rows read on any picture.
        CSprite plate;
        plate.SetNoTexture();
        plate.SetColour(selected ? 0x284C9C : 0x101828);
        plate.SetAlpha(selected ? 200 : 120);
        plate.Draw(*dx.display.directDraw(), float(ChoiceSet::kRowX), float(top), float(ChoiceSet::kRowWidth),
                   float(ChoiceSet::kRowHeight));
        CTextLabel* label = c.labels[size_t(i)].get();
        if (!label)
            continue;
        label->SetAlpha(selected ? 255 : 160);
        label->SetTint(selected ? 0xFFF0A0 : 0xFFFFFF);
        // Glyph cells are 32 pixels tall; the row is 28.
        label->SetPosition(float(ChoiceSet::kRowX + (ChoiceSet::kRowWidth - label->Width()) / 2), float(top - 2));
        label->Draw();
    }
}

void hotSpotLogic(CDirectX& dx)
{
    HotSpotSet& h = dx.hotSpots;
    if (dx.frameInput.cursorInside())
        movePointerByKeys(dx);

    const int32_t region = h.regionAt(dx.frameInput.mouseX(), dx.frameInput.mouseY());
    if (region <= 0) {
        h.hoverCursor = -1;
        // Keys are still taken, so a press over nothing does not wait for a later region.
        decideKey(dx.input);
        return;
    }
    const int32_t r = region - 1;
    const int32_t section = h.sectionCounter[size_t(r)];
    h.hoverCursor = h.entry(r, section).target;

    const bool click = dx.frameInput.leftClicked() && dx.frameInput.cursorInside();
    if (!(decideKey(dx.input) || click))
        return;

    ScriptFile& s = dx.script;
    s.cursor = h.scriptStart;
    char label[32];
    std::snprintf(label, sizeof label, "%c%d[", char('A' + r), section);
    if (!s.seekToken(label)) {
        char line[160];
        std::snprintf(line, sizeof line, SJ("@clickable : error : 指定されたラベル(%c%d)がありません。 [%d行目]").c_str(),
                      char('A' + r), section, s.sourceLine);
        runLog().append(2, line);
        return;
    }
    h.activeRegion = r;
    dx.gameState = GameState::Ready;
}
