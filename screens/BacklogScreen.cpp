// The backlog: the message window pages back through the last messages, and the player may
// go back into the story at one of them.
#include "screens/BacklogScreen.h"

#include "app/CDirectX.h"
#include "graphics/AtlasTexture.h"
#include "graphics/InterfaceSprites.h"
#include "input/KeyCodes.h"
#include "scene/EffectCommands.h"
#include "scene/SceneCommands.h"
#include "script/SaveGame.h"
#include "text/TextScreen.h"

#include <algorithm>
#include <cstring>

namespace {

using L = BacklogLayout;

constexpr uint32_t kPlainTint = 0xC0C0C0;

int historyCount(const CDirectX& dx)
{
    return dx.messageHistory.count();
}

std::string_view field(const char* text, size_t size)
{
    return std::string_view(text, strnlen(text, size));
}

// The entry in the window as it was shown, typed out at once, without the click mark.
void showEntry(CDirectX& dx, int index)
{
    BacklogState& b = dx.backlog;
    b.historyIndex = std::clamp(index, 0, std::max(historyCount(dx) - 1, 0));
    const MessageHistory::Entry& e = dx.messageHistory.entry(b.historyIndex);
    MessageWindow& w = dx.messageWindow;
    w.clearPage();
    w.setNameColour(e.nameColour);
    w.showNameWindow(e.nameWindow != 0);
    w.setSpeaker(e.nameTooLong ? nameTooLongNotice() : field(e.name, sizeof e.name));
    for (int i = 0; i < MessageHistory::kLines; ++i)
        w.setLineUnchecked(i, field(e.lines[i], MessageHistory::kLineField));
    while (w.advance(true) != AdvanceResult::PageComplete) {
    }
    w.showClickMark(false);
}

void keepWindowPage(CDirectX& dx)
{
    const MessageWindow& w = dx.messageWindow;
    BacklogState::WindowPage& p = dx.backlog.page;
    p.lines = w.lines;
    p.speakerName = w.speakerName;
    p.nameColour = w.nameColour;
    p.nameWindowVisible = w.nameWindowVisible;
    p.typeLine = w.typeLine;
    p.typeByte = w.typeByte;
    p.clickMarkVisible = w.clickMarkVisible;
    p.windowHidden = w.windowHidden;
    p.windowAlpha = w.windowAlpha;
}

// The current message back in the window, typed as far as it was: the glyph cells are typed
// again, since the entries shown in between wrote over them.
void restoreWindowPage(CDirectX& dx)
{
    const BacklogState::WindowPage& p = dx.backlog.page;
    MessageWindow& w = dx.messageWindow;
    w.clearPage();
    w.setNameColour(p.nameColour);
    w.showNameWindow(p.nameWindowVisible != 0);
    w.setSpeaker(p.speakerName);
    for (int i = 0; i < MessageWindow::kLines; ++i)
        w.setLineUnchecked(i, p.lines[size_t(i)]);
    // Every byte types at most one character, so this many steps always reach the place.
    size_t steps = 0;
    for (const std::string& l : p.lines)
        steps += l.size() + 1;
    for (; steps > 0 && !w.pageComplete(); --steps) {
        if (p.typeLine >= 0 && w.typeLine == p.typeLine && w.typeByte == p.typeByte)
            break;
        w.advance(false);
    }
    w.showClickMark(p.clickMarkVisible != 0);
    w.windowHidden = p.windowHidden;
    w.windowAlpha = p.windowAlpha;
}

void closeBacklog(CDirectX& dx)
{
    restoreWindowPage(dx);
    dx.screenState = dx.backlog.previousScreen;
}

// Back into the story at the entry shown: its scene, sounds and script position come back,
// the history starts afresh from there, and auto and skip mode end.
void jumpBack(CDirectX& dx)
{
    // A copy: the restore empties the history, and the text it runs again fills it anew.
    const SaveRecord record = dx.messageHistory.entry(dx.backlog.historyIndex).snapshot;
    // The restore stops the music, the effects and the voices before it loads the entry's
    // own; a record it refuses changes nothing, and the backlog stays open.
    if (!restoreSnapshot(dx, record))
        return;
    MessageWindow& w = dx.messageWindow;
    w.autoMode = 0;
    w.skipMode = 0;
    w.skipModeArmed = 0;
    dx.screenState = ScreenState::Game;
}

void showPrevious(CDirectX& dx)
{
    const int index = dx.backlog.historyIndex;
    if (index > 0)
        showEntry(dx, index - 1);
}

// The next entry, or false when the one shown is already the newest before the current message.
bool showNext(CDirectX& dx)
{
    const int index = dx.backlog.historyIndex;
    if (index >= historyCount(dx) - 2)
        return false;
    showEntry(dx, index + 1);
    return true;
}

void activate(CDirectX& dx, BacklogButton button)
{
    switch (button) {
    case BacklogButton::JumpBack:
        jumpBack(dx);
        return;
    case BacklogButton::Return:
        closeBacklog(dx);
        return;
    case BacklogButton::Up:
        showPrevious(dx);
        return;
    case BacklogButton::Down:
        showNext(dx);
        return;
    }
}

bool inBox(int x, int y, int left, int top, int right, int bottom)
{
    return x >= left && x <= right && y >= top && y <= bottom;
}

// The button under the pointer, or 0.
int buttonAt(int x, int y)
{
    if (inBox(x, y, L::kArrowX, L::kUpY, L::kArrowX + L::kArrowSize, L::kUpY + L::kArrowSize))
        return int(BacklogButton::Up);
    if (inBox(x, y, L::kArrowX, L::kDownY, L::kArrowX + L::kArrowSize, L::kDownY + L::kArrowSize))
        return int(BacklogButton::Down);
    if (y < L::kPickTop || y > L::kPickBottom)
        return 0;
    if (x >= L::kJumpLeft && x <= L::kJumpRight)
        return int(BacklogButton::JumpBack);
    if (x >= L::kReturnLeft && x <= L::kReturnRight)
        return int(BacklogButton::Return);
    return 0;
}

void slide(CDirectX& dx)
{
    BacklogState& b = dx.backlog;
    if (!b.sliding)
        return;
    const float d = L::kSlideSpeed * float(std::max(dx.frameDelta, 0));
    b.buttonX[0] = std::max(b.buttonX[0] - d, L::kJumpRestX);
    b.buttonX[1] = std::max(b.buttonX[1] - d, L::kReturnRestX);
    b.sliding = b.buttonX[1] > L::kReturnRestX;
}

// One frame of the player's input; false when the backlog closed or the story went on.
bool readInput(CDirectX& dx)
{
    BacklogState& b = dx.backlog;
    CInput& in = dx.input;
    const int count = historyCount(dx);
    const int mx = dx.frameInput.mouseX(), my = dx.frameInput.mouseY();
    const bool inside = dx.frameInput.cursorInside();
    const bool moved = mx != b.lastMouseX || my != b.lastMouseY;
    b.lastMouseX = mx;
    b.lastMouseY = my;

    if (in.takeKeyPress(DIK_LEFT))
        b.restingButton = BacklogButton::JumpBack;
    if (in.takeKeyPress(DIK_RIGHT))
        b.restingButton = BacklogButton::Return;
    const int hovered = inside ? buttonAt(mx, my) : 0;
    const bool onArrow = hovered == int(BacklogButton::Up) || hovered == int(BacklogButton::Down);
    if (hovered != 0 && !onArrow && moved)
        b.restingButton = BacklogButton(hovered);
    b.selectedButton = onArrow ? BacklogButton(hovered) : b.restingButton;

    if (count > 2 && inside && in.mouseHeld(0) &&
        inBox(mx, my, L::kTrackLeft, L::kTrackTop, L::kTrackRight, L::kTrackBottom)) {
        const int v = backlogEntryAt(my, count);
        if (v != b.historyIndex)
            showEntry(dx, v);
    }

    const int wheel = in.takeWheel();
    const bool pageUp = in.takeKeyPress(DIK_PRIOR), pad9 = in.takeKeyPress(DIK_NUMPAD9);
    const bool pageDown = in.takeKeyPress(DIK_NEXT), pad3 = in.takeKeyPress(DIK_NUMPAD3);
    if (pageUp || pad9 || wheel > 0)
        showPrevious(dx);
    if ((pageDown || pad3 || wheel < 0) && !showNext(dx)) {
        closeBacklog(dx);
        return false;
    }

    const bool altEnter = (in.keyHeld(DIK_LMENU) || in.keyHeld(DIK_RMENU)) && in.keyHeld(DIK_RETURN);
    if (altEnter || !dx.windowActive || dx.inputIgnoreActive)
        return true;
    if (dx.frameInput.leftClicked() && hovered != 0) {
        if (!onArrow)
            b.restingButton = BacklogButton(hovered);
        b.selectedButton = BacklogButton(hovered);
        activate(dx, b.selectedButton);
        return dx.screenState == ScreenState::Backlog;
    }
    const bool space = in.takeKeyPress(DIK_SPACE), enter = in.takeKeyPress(DIK_RETURN),
               padEnter = in.takeKeyPress(DIK_NUMPADENTER);
    if (space || enter || padEnter) {
        activate(dx, b.selectedButton);
        return dx.screenState == ScreenState::Backlog;
    }
    if (in.takeKeyPress(DIK_ESCAPE) || (dx.frameInput.rightClicked() && inside)) {
        closeBacklog(dx);
        return false;
    }
    return true;
}

void drawSprite(CDirectX& dx, SpriteId id, int x, int y, uint32_t colour, int alpha)
{
    const size_t atlas = size_t(interfaceSprite(id).atlas) - size_t(SpriteAtlas::Systex1);
    if (atlas < dx.systemAtlas.size())
        drawInterfaceSprite(dx.display.directDraw(), dx.systemAtlas[atlas], id, float(x), float(y), colour, alpha);
}

void drawControls(CDirectX& dx)
{
    const BacklogState& b = dx.backlog;
    const bool jumpLit = b.selectedButton == BacklogButton::JumpBack;
    const bool returnLit = b.selectedButton == BacklogButton::Return;
    drawSprite(dx, jumpLit ? SpriteId::BacklogJumpLit : SpriteId::BacklogJump, int(b.buttonX[0]), L::kButtonY, 0xFFFFFF,
               255);
    drawSprite(dx, returnLit ? SpriteId::BacklogReturnLit : SpriteId::BacklogReturn, int(b.buttonX[1]), L::kButtonY,
               0xFFFFFF, 255);

    const bool upLit = b.selectedButton == BacklogButton::Up, downLit = b.selectedButton == BacklogButton::Down;
    drawSprite(dx, SpriteId::BacklogUp, L::kArrowX, L::kUpY, upLit ? 0xFFFFFF : kPlainTint, upLit ? 255 : 192);
    drawSprite(dx, SpriteId::BacklogDown, L::kArrowX, L::kDownY, downLit ? 0xFFFFFF : kPlainTint, downLit ? 255 : 192);

    drawSprite(dx, SpriteId::BacklogTrack, L::kTrackX, L::kTrackY, 0xFFFFFF, L::kTrackAlpha);
    const int count = historyCount(dx);
    if (count > 2)
        drawSprite(dx, SpriteId::BacklogThumb, L::kTrackX, backlogThumbY(b.historyIndex, count), 0xFFFFFF, 255);
}

} // namespace

int32_t backlogEntryAt(int y, int count)
{
    if (count <= 2)
        return 0;
    // More than 64 messages would make the step 0; the history keeps 50, but never divide by it.
    const int u = std::max(1, L::kPickSpan / (count - 1));
    const int v = (y - L::kPickOrigin - u / 2) / u;
    return std::clamp(v, 0, count - 2);
}

int32_t backlogThumbY(int index, int count)
{
    if (count <= 2)
        return L::kThumbTop;
    return L::kThumbTop + L::kThumbTravel * std::clamp(index, 0, count - 2) / (count - 2);
}

bool openBacklog(CDirectX& dx)
{
    const int32_t state = int32_t(dx.gameState);
    if (dx.screenState != ScreenState::Game || state >= int32_t(GameState::WindowHiding) ||
        dx.gameState == GameState::PresentationWait || dx.gameMenu.open || dx.confirmOpen ||
        dx.messageWindow.isWindowEffectRunning() || historyCount(dx) <= 1)
        return false;
    BacklogState& b = dx.backlog;
    keepWindowPage(dx);
    showEntry(dx, historyCount(dx) - 2);
    // No hot-spot pointer shape over the history; the hot-spots take it up again after.
    dx.hotSpots.hoverCursor = -1;
    // The window is shown over the scene also when the player or the script had hidden it.
    dx.messageWindow.windowHidden = 0;
    dx.messageWindow.windowAlpha = 255;
    b.previousScreen = dx.screenState;
    dx.screenState = ScreenState::Backlog;
    b.sliding = true;
    b.buttonX = {L::kJumpStartX, L::kReturnStartX};
    b.selectedButton = b.restingButton = BacklogButton::Return;
    // A pointer resting over a button does not take the highlight until it moves.
    b.lastMouseX = dx.frameInput.mouseX();
    b.lastMouseY = dx.frameInput.mouseY();
    return true;
}

void runBacklog(CDirectX& dx)
{
    if (!dx.display.directDraw())
        return;
    // The scene stands still behind the history, as behind a menu.
    composeGameScreen(dx);
    slide(dx);
    bool open = true;
    if (dx.backlog.sliding)
        dx.input.clearWheel(); // turned during the slide: not kept for later
    else if (!dx.confirmOpen)
        open = readInput(dx);
    drawMessageWindow(dx);
    drawGameOverlays(dx);
    if (open)
        drawControls(dx);
}

void registerBacklogScreen(CDirectX& dx)
{
    dx.registerScreen(ScreenState::Backlog, nullptr, runBacklog);
}
