#include "screens/ConfirmBox.h"

#include "app/CDirectX.h"
#include "graphics/AtlasTexture.h"
#include "graphics/GlyphCell.h"
#include "graphics/InterfaceSprites.h"
#include "input/KeyCodes.h"
#include "platform/Fonts.h"
#include "platform/Text.h"
#include "screens/TitleScreen.h"

namespace {

struct ButtonRect {
    int left, top, right, bottom;
};
constexpr ButtonRect kButtons[2] = {{256, 332, 384, 364}, {416, 332, 544, 364}};
constexpr int kPointerSquare = 8;

void drawButton(CDirectX& dx, SpriteId id, int x, int y)
{
    drawInterfaceSprite(dx.display.directDraw(), dx.systemAtlas[0], id, float(x), float(y));
}

// The question is drawn straight onto the finished picture, white on nothing.
void drawQuestion(CDirectX& dx, bool toTitle)
{
    ConfirmState& c = dx.confirm;
    if (!c.font && dx.sys.fonts)
        c.font = createGameTextFont(*dx.sys.fonts);
    platform::Surface* bb = dx.display.directDraw()->backBuffer();
    if (!c.font || !bb || bb->lost())
        return;
    static const std::string toTitleText = SJ("タイトルに戻りますか？");
    static const std::string quitText = SJ("ゲームを終了しますか？");
    platform::Canvas32 canvas{bb->data(), bb->width(), bb->height(), bb->pitch(), false};
    platform::TextRect rect = toTitle ? platform::TextRect{240, 252, 560, 316} : platform::TextRect{240, 268, 560, 300};
    platform::TextStyle style;
    style.colour = platform::rgb(255, 255, 255);
    style.transparent = true;
    dx.sys.fonts->drawText(*c.font, canvas, toTitle ? toTitleText : quitText, rect,
                           platform::kDtCenter | platform::kDtVCenter | platform::kDtSingleLine, style);
    bb->touch();
}

void drawBox(CDirectX& dx)
{
    ConfirmState& c = dx.confirm;
    CSprite panel;
    panel.SetNoTexture();
    panel.SetColour(0x666666);
    panel.Draw(*dx.display.directDraw(), 240, 236, 320, 128);
    const bool yesLit = c.ConfirmChoice == ConfirmState::kYes;
    drawButton(dx, yesLit ? SpriteId::ConfirmYesLit : SpriteId::ConfirmYes, kButtons[0].left, kButtons[0].top);
    drawButton(dx, yesLit ? SpriteId::ConfirmNo : SpriteId::ConfirmNoLit, kButtons[1].left, kButtons[1].top);
    drawQuestion(dx, c.ConfirmToTitle);
}

} // namespace

int confirmButtonAt(int x, int y)
{
    for (int b = 0; b < 2; ++b) {
        const ButtonRect& r = kButtons[b];
        if (x + kPointerSquare > r.left && x < r.right && y + kPointerSquare > r.top && y < r.bottom)
            return b;
    }
    return -1;
}

void openConfirm(CDirectX& dx, bool toTitle, int32_t choice)
{
    if (dx.confirmOpen)
        return;
    ConfirmState& c = dx.confirm;
    c.ConfirmToTitle = toTitle;
    c.ConfirmChoice = choice == ConfirmState::kYes ? ConfirmState::kYes : ConfirmState::kNo;
    c.openedAtFrame = dx.framesDrawn;
    c.lastMouseX = c.lastMouseY = -1;
    dx.confirmOpen = true;
}

void openQuitQuestion(CDirectX& dx)
{
    openConfirm(dx, false, ConfirmState::kNo);
}

void ConfirmFrame(CDirectX& dx)
{
    ConfirmState& c = dx.confirm;
    CInput& in = dx.input;

    // The pointer takes the highlight when it moves onto a button, so Left and Right still
    // work while it rests on one.
    const bool moved = dx.frameInput.mouseX() != c.lastMouseX || dx.frameInput.mouseY() != c.lastMouseY;
    c.lastMouseX = dx.frameInput.mouseX();
    c.lastMouseY = dx.frameInput.mouseY();
    const int hovered = dx.frameInput.cursorInside() ? confirmButtonAt(dx.frameInput.mouseX(), dx.frameInput.mouseY()) : -1;
    if (hovered >= 0 && moved)
        c.ConfirmChoice = hovered;
    if (in.takeKeyPress(DIK_LEFT))
        c.ConfirmChoice = ConfirmState::kYes;
    if (in.takeKeyPress(DIK_RIGHT))
        c.ConfirmChoice = ConfirmState::kNo;

    if (dx.display.directDraw())
        drawBox(dx);

    const bool altEnter = (in.keyHeld(DIK_LMENU) || in.keyHeld(DIK_RMENU)) && in.keyHeld(DIK_RETURN);
    if (altEnter || !dx.windowActive || dx.inputIgnoreActive || dx.framesDrawn == c.openedAtFrame)
        return;
    bool decided = false;
    if (dx.frameInput.leftClicked() && hovered >= 0) {
        c.ConfirmChoice = hovered;
        decided = true;
    }
    const bool space = in.takeKeyPress(DIK_SPACE), enter = in.takeKeyPress(DIK_RETURN),
               padEnter = in.takeKeyPress(DIK_NUMPADENTER);
    decided = decided || space || enter || padEnter;
    if (!decided)
        return;

    if (c.ConfirmChoice == ConfirmState::kNo) {
        dx.confirmOpen = false;
        c.ConfirmToTitle = false;
        return;
    }
    if (c.ConfirmToTitle) {
        ReturnToTitle(dx);
        return;
    }
    dx.quitRequested = true;
}
