// The in-game menu: save, load, options and the way to the title slide in over the game.
#include "screens/GameMenu.h"

#include "app/CDirectX.h"
#include "graphics/InterfaceSprites.h"
#include "input/KeyCodes.h"
#include "screens/BacklogScreen.h"
#include "screens/ConfirmBox.h"
#include "screens/SaveLoadScreen.h"

#include <algorithm>

namespace {

using L = GameMenuLayout;

constexpr SpriteId kButtonSprites[GameMenuState::kButtons] = {SpriteId::MenuSave, SpriteId::MenuLoad,
                                                              SpriteId::MenuOptions, SpriteId::MenuTitle};
constexpr uint32_t kPlainTint = 0x66CCAA;

int firstButton(const GameMenuState& m)
{
    return m.storyGame ? int(GameMenuItem::Save) : int(GameMenuItem::Options);
}

bool sliding(const GameMenuState& m)
{
    if (m.closing)
        return true;
    for (int i = firstButton(m); i < GameMenuState::kButtons; ++i)
        if (m.buttonX[size_t(i)] > float(L::restX(i)))
            return true;
    return false;
}

void startClosing(CDirectX& dx)
{
    dx.gameMenu.closing = true;
}

void finishClosing(CDirectX& dx)
{
    GameMenuState& m = dx.gameMenu;
    m.open = false;
    m.closing = false;
    if (m.windowWasShown) {
        dx.messageWindow.windowHidden = 0;
        dx.messageWindow.windowAlpha = 255;
    }
    m.windowWasShown = false;
}

void slide(CDirectX& dx)
{
    GameMenuState& m = dx.gameMenu;
    const float delta = float(std::max(dx.frameDelta, 0));
    if (m.closing) {
        bool allOut = true;
        for (int i = 0; i < GameMenuState::kButtons; ++i) {
            float& x = m.buttonX[size_t(i)];
            if (x < float(L::kStartX))
                x += delta * L::kOutSpeed;
            allOut = allOut && x >= float(L::kStartX);
        }
        if (allOut)
            finishClosing(dx);
        return;
    }
    for (int i = 0; i < GameMenuState::kButtons; ++i) {
        float& x = m.buttonX[size_t(i)];
        x = std::max(x - delta * L::kInSpeed, float(L::restX(i)));
    }
}

void activate(CDirectX& dx, int item)
{
    GameMenuState& m = dx.gameMenu;
    if (item == int(GameMenuItem::Close)) {
        dx.sound.playSystemSound(2);
        startClosing(dx);
        return;
    }
    dx.sound.playSystemSound(1);
    switch (GameMenuItem(item)) {
    case GameMenuItem::Save:
    case GameMenuItem::Load:
        if (m.storyGame)
            openSaveLoad(dx, item == int(GameMenuItem::Save), ScreenState::Game);
        return;
    case GameMenuItem::ReturnToTitle:
        openConfirm(dx, true, ConfirmState::kNo);
        return;
    default:
        if (auto& open = m.entries[size_t(item)])
            open(dx);
        return;
    }
}

// The keys, the wheel and the round button of the game screen. True when one of them acted.
bool gameScreenControls(CDirectX& dx)
{
    CInput& in = dx.input;
    const bool save = in.takeKeyPress(DIK_1), load = in.takeKeyPress(DIK_2), menu = in.takeKeyPress(DIK_BACK);
    const bool pageUp = in.takeKeyPress(DIK_PRIOR), pad9 = in.takeKeyPress(DIK_NUMPAD9);
    const bool wheelUp = in.takeWheel() > 0;
    if (dx.gameState == GameState::EndingFade)
        return false;
    const int mx = dx.frameInput.mouseX(), my = dx.frameInput.mouseY();
    const bool onButton = !dx.messageWindow.windowHidden && dx.frameInput.cursorInside() && mx >= L::kCloseX &&
                          mx < L::kCloseX + L::kCloseSize && my >= L::kCloseY && my < L::kCloseY + L::kCloseSize;
    if (menu || (onButton && dx.frameInput.leftClicked())) {
        dx.frameInput.dropClicks();
        openGameMenu(dx);
        return true;
    }
    if ((save || load) && dx.gameMenu.storyGame) {
        openSaveLoad(dx, save, ScreenState::Game);
        return true;
    }
    return (pageUp || pad9 || wheelUp) && openBacklog(dx);
}

void drawSprite(CDirectX& dx, SpriteId id, float x, float y, uint32_t colour, int alpha, float angle = 0.0f)
{
    const CTEXTURE& atlas = dx.systemAtlas[0];
    if (!atlas.hasSurface())
        return;
    const InterfaceSprite& s = interfaceSprite(id);
    CSprite sprite;
    sprite.Set(atlas, float(s.x), float(s.y), float(s.w), float(s.h));
    sprite.SetColour(colour);
    sprite.SetAlpha(alpha);
    if (angle != 0.0f)
        sprite.DrawRotated(*dx.display.directDraw(), x, y, float(s.w), float(s.h), angle);
    else
        sprite.Draw(*dx.display.directDraw(), x, y, float(s.w), float(s.h));
}

} // namespace

void setGameMenuEntry(CDirectX& dx, GameMenuItem item, std::function<void(CDirectX&)> open)
{
    // Save, load, the title question and close are the menu's own.
    if (item != GameMenuItem::Options)
        return;
    dx.gameMenu.entries[size_t(item)] = std::move(open);
}

void openGameMenu(CDirectX& dx)
{
    GameMenuState& m = dx.gameMenu;
    if (m.open && !m.closing)
        return;
    if (!m.open) {
        for (int i = 0; i < GameMenuState::kButtons; ++i)
            m.buttonX[size_t(i)] = float(L::kStartX + L::kStartPitch * i);
        m.windowWasShown = !dx.messageWindow.windowHidden;
    }
    m.open = true;
    m.closing = false;
    m.selection = firstButton(m);
    m.closeAngle = 0.0f;
    m.lastMouseX = m.lastMouseY = -1;
    if (m.windowWasShown) {
        dx.messageWindow.windowHidden = 1;
        dx.messageWindow.windowAlpha = 0;
    }
}

void closeGameMenuAtOnce(CDirectX& dx)
{
    GameMenuState& m = dx.gameMenu;
    m.open = false;
    m.closing = false;
    m.windowWasShown = false;
}

int gameMenuItemAt(const CDirectX& dx, int x, int y)
{
    const GameMenuState& m = dx.gameMenu;
    if (x >= L::kCloseX && x < L::kCloseX + L::kCloseSize && y >= L::kCloseY && y < L::kCloseY + L::kCloseSize)
        return int(GameMenuItem::Close);
    if (y < L::kY + 1 || y > L::kY + L::kButtonH - 1)
        return -1;
    for (int i = firstButton(m); i < GameMenuState::kButtons; ++i) {
        const int bx = int(m.buttonX[size_t(i)]);
        if (x >= bx && x < bx + L::kButtonW)
            return i;
    }
    return -1;
}

void gameMenuLogic(CDirectX& dx)
{
    GameMenuState& m = dx.gameMenu;
    CInput& in = dx.input;
    const bool wasSliding = sliding(m);
    slide(dx);
    if (!m.open || wasSliding) {
        // Keys pressed during a slide are not kept for later.
        in.takeKeyPress(DIK_LEFT);
        in.takeKeyPress(DIK_RIGHT);
        return;
    }

    const int mx = dx.frameInput.mouseX(), my = dx.frameInput.mouseY();
    const bool moved = mx != m.lastMouseX || my != m.lastMouseY;
    m.lastMouseX = mx;
    m.lastMouseY = my;
    const int hovered = dx.frameInput.cursorInside() ? gameMenuItemAt(dx, mx, my) : -1;
    m.closeHovered = hovered == int(GameMenuItem::Close);
    if (hovered >= 0 && moved)
        m.selection = hovered;

    const int first = firstButton(m);
    const int close = int(GameMenuItem::Close);
    if (in.takeKeyPress(DIK_LEFT))
        m.selection = m.selection <= first ? close : m.selection == close ? GameMenuState::kButtons - 1 : m.selection - 1;
    if (in.takeKeyPress(DIK_RIGHT))
        m.selection = m.selection >= close ? first : m.selection == GameMenuState::kButtons - 1 ? close : m.selection + 1;

    if (in.takeKeyPress(DIK_BACK) || in.takeKeyPress(DIK_ESCAPE) || dx.frameInput.rightClicked()) {
        startClosing(dx);
        return;
    }
    const bool altEnter = (in.keyHeld(DIK_LMENU) || in.keyHeld(DIK_RMENU)) && in.keyHeld(DIK_RETURN);
    if (altEnter || !dx.windowActive || dx.inputIgnoreActive)
        return;
    if (dx.frameInput.leftClicked() && hovered >= 0) {
        m.selection = hovered;
        activate(dx, hovered);
        return;
    }
    const bool space = in.takeKeyPress(DIK_SPACE), enter = in.takeKeyPress(DIK_RETURN),
               padEnter = in.takeKeyPress(DIK_NUMPADENTER);
    if (space || enter || padEnter)
        activate(dx, m.selection);
}

void drawGameMenu(CDirectX& dx)
{
    GameMenuState& m = dx.gameMenu;
    if (!dx.display.directDraw())
        return;
    const int resting = sliding(m) ? -1 : m.selection;
    for (int i = firstButton(m); i < GameMenuState::kButtons; ++i) {
        const bool lit = i == resting;
        drawSprite(dx, kButtonSprites[i], float(int(m.buttonX[size_t(i)])), float(L::kY), lit ? 0xFFFFFF : kPlainTint,
                   lit ? 255 : 192);
    }
    const bool closeLit = m.closeHovered || resting == int(GameMenuItem::Close);
    if (closeLit) {
        m.closeAngle += float(dx.frameDelta) * L::kTurnSpeed;
        while (m.closeAngle >= 360.0f)
            m.closeAngle -= 360.0f;
    }
    drawSprite(dx, SpriteId::MenuCloseButton, float(L::kCloseX), float(L::kCloseY), 0xFFFFFF, closeLit ? 255 : 128,
               closeLit ? m.closeAngle : 0.0f);
}

void registerGameMenu(CDirectX& dx)
{
    // The game screen's own phases, with the menu and its keys in front.
    const CDirectX::ScreenPhases game = dx.screens[size_t(ScreenState::Game)];
    dx.registerScreen(
        ScreenState::Game,
        [logic = game.logic](CDirectX& d) {
            if (d.gameMenu.open) {
                gameMenuLogic(d);
                return;
            }
            if (gameScreenControls(d))
                return;
            if (logic)
                logic(d);
        },
        [draw = game.draw](CDirectX& d) {
            if (draw)
                draw(d);
            if (d.gameMenu.open)
                drawGameMenu(d);
            else if (!d.messageWindow.windowHidden && d.gameState != GameState::EndingFade && d.display.directDraw())
                drawSprite(d, SpriteId::GameMenuButton, float(L::kCloseX), float(L::kCloseY), 0xFFFFFF,
                           std::clamp(d.messageWindow.windowAlpha, 0, 255));
        });
}
