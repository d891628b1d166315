#include "screens/TitleScreen.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "core/ScreenSize.h"
#include "graphics/InterfaceSprites.h"
#include "graphics/AtlasTexture.h"
#include "input/KeyCodes.h"
#include "scene/SceneCommands.h"
#include "screens/ConfirmBox.h"

#include <algorithm>

namespace {

constexpr uint32_t kMenuTint = 0x66CCAA; // red 102, green 204, blue 170
constexpr int32_t kGlowStart[TitleState::kGlows] = {255, 305, 355, 405};
constexpr float kFadePerMs = 0.512f;
constexpr const char* kStartScript = "startup.scp";

} // namespace

void loadTitlePictures(CDirectX& dx)
{
    TitleState& t = dx.titleScreen;
    platform::Video* video = dx.display.directDraw() ? dx.display.directDraw() : dx.sys.video;
    t.logoTexture.hasContent = false;
    t.logoLoaded = loadAtlasTexture(t.logoTexture, video, dx.archive, "SYSTEM\\logotex5.png");
    if (t.logoLoaded) {
        for (int k = 0; k < int(t.strips.size()); ++k) {
            const InterfaceSprite& s = interfaceSprite(SpriteId(int(SpriteId::TitleNewGame) + k));
            t.strips[size_t(k)].Set(t.logoTexture, float(s.x), float(s.y), float(s.w), float(s.h));
        }
    }
    // Without its picture the title shows black behind the menu, never the last game scene.
    t.backgroundLoaded = dx.scene.created && loadBackground(dx, 0, "title.png");
}

void resetScenarioScreen(CDirectX& dx)
{
    dx.scriptState = ScriptState{};
    dx.gameState = GameState::Ready;
    dx.saveRecord.clear();
    dx.messageHistory.empty();
    MessageWindow& w = dx.messageWindow;
    w.clearPage();
    w.setSpeaker("");
    w.showNameWindow(false);
    w.showClickMark(false);
    w.windowHidden = 0;
    w.windowAlpha = 255;
    w.returnState = GameState::Ready;
    w.autoMode = 0;
    w.skipMode = 0;
    w.skipModeArmed = 0;
    w.voiceQueue.clear();
}

namespace {

void stopMusicAndEffects(CDirectX& dx)
{
    dx.sound.stopMusicAndEffects();
}

// Everything a new game starts from, then "startup.scp".
void startNewGame(CDirectX& dx)
{
    dx.scene.resetLayers();
    runLog().appendf(1, "LOAD SCRIPT [%s]", kStartScript);
    dx.screenState = ScreenState::Game;
    resetScenarioScreen(dx);
    dx.gameMenu.storyGame = true;
    if (!dx.script.load(dx.archive, kStartScript))
        runLog().appendf(2, "ERROR: Load fail [%s]", kStartScript);
    dx.titleScreen.TitleFade = 0.0f;
}

void drawStrip(platform::Video& video, const CSprite& strip, float x, float y, float w, float h, uint32_t colour,
               int alpha, SpriteBlend blend)
{
    CSprite s = strip;
    s.SetColour(colour);
    s.SetAlpha(alpha);
    s.SetBlend(blend);
    s.Draw(video, x, y, w, h);
}

void drawMenu(CDirectX& dx)
{
    TitleState& t = dx.titleScreen;
    if (!dx.display.directDraw())
        return;
    platform::Video& video = *dx.display.directDraw();
    using L = TitleLayout;
    for (int k = 0; k < TitleState::kItems; ++k) {
        const CSprite& strip = t.strips[size_t(k)];
        const bool picture = t.logoLoaded;
        if (picture)
            drawStrip(video, strip, L::kShadowX, float(L::kShadowY + L::kPitch * k), L::kStripW, L::kStripH, kMenuTint,
                      255, SpriteBlend::Darken);
        for (int32_t& countdown : t.TitleGlow[size_t(k)]) {
            if (countdown <= 0)
                continue;
            countdown = std::max(countdown - dx.frameDelta, 0);
            if (countdown <= 0 || countdown >= 256 || !picture)
                continue;
            const float grow = titleGlowGrowth(countdown);
            const float w = L::kStripW * (1.0f + 0.25f * grow), h = L::kStripH * (1.0f + 0.5f * grow);
            const float cx = L::kItemX + L::kStripW / 2.0f, cy = float(L::kItemY + L::kPitch * k) + L::kStripH / 2.0f;
            drawStrip(video, strip, cx - w / 2, cy - h / 2, w, h, 0xFFFFFF, countdown / 4, SpriteBlend::Add);
        }
        if (!picture)
            continue;
        const bool selected = k == t.TitleSelection;
        drawStrip(video, strip, L::kItemX, float(L::kItemY + L::kPitch * k), L::kStripW, L::kStripH,
                  selected ? 0xFFFFFF : kMenuTint, selected ? 255 : 128, SpriteBlend::Normal);
    }
}

void activate(CDirectX& dx, TitleItem item)
{
    TitleState& t = dx.titleScreen;
    dx.sound.playSystemSound(1);
    switch (item) {
    case TitleItem::NewGame:
        t.TitleFade = 0.0f;
        t.TitlePhase = TitleState::NewGameFade;
        return;
    case TitleItem::Quit:
        openConfirm(dx, false, ConfirmState::kNo);
        return;
    case TitleItem::Load:
    case TitleItem::Options:
        if (t.menuEntries[size_t(item)])
            t.ReturnScreen = ScreenState::Title;
        break;
    default:
        break;
    }
    // A screen that is not there yet leaves the player on the menu.
    if (auto& open = t.menuEntries[size_t(item)])
        open(dx);
}

void menuInput(CDirectX& dx)
{
    TitleState& t = dx.titleScreen;
    CInput& in = dx.input;
    const bool moved = dx.frameInput.mouseX() != t.lastMouseX || dx.frameInput.mouseY() != t.lastMouseY;
    t.lastMouseX = dx.frameInput.mouseX();
    t.lastMouseY = dx.frameInput.mouseY();
    const int hovered = dx.frameInput.cursorInside() ? titleItemAt(dx.frameInput.mouseX(), dx.frameInput.mouseY()) : -1;
    if (hovered >= 0 && moved)
        t.TitleSelection = hovered;

    // The menu wraps: Up on the first item goes to quit, Down on quit to new game.
    if (in.takeKeyPress(DIK_UP))
        t.TitleSelection = (t.TitleSelection + TitleState::kItems - 1) % TitleState::kItems;
    if (in.takeKeyPress(DIK_DOWN))
        t.TitleSelection = (t.TitleSelection + 1) % TitleState::kItems;

    const bool altEnter = (in.keyHeld(DIK_LMENU) || in.keyHeld(DIK_RMENU)) && in.keyHeld(DIK_RETURN);
    const bool blocked = altEnter || !dx.windowActive || dx.inputIgnoreActive;
    bool chosen = false;
    if (!blocked) {
        if (dx.frameInput.leftClicked() && hovered >= 0) {
            t.TitleSelection = hovered;
            chosen = true;
        }
        const bool space = in.takeKeyPress(DIK_SPACE), enter = in.takeKeyPress(DIK_RETURN),
                   padEnter = in.takeKeyPress(DIK_NUMPADENTER);
        chosen = chosen || space || enter || padEnter;
    }

    if (t.TitleSelection != t.TitleLastSelection) {
        for (int g = 0; g < TitleState::kGlows; ++g)
            t.TitleGlow[size_t(t.TitleSelection)][size_t(g)] = kGlowStart[g];
        t.TitleLastSelection = t.TitleSelection;
    }
    if (chosen)
        activate(dx, TitleItem(t.TitleSelection));
}

} // namespace

int titleItemAt(int x, int y)
{
    using L = TitleLayout;
    if (x < L::kBandLeft || x >= L::kBandRight)
        return -1;
    for (int k = TitleState::kItems - 1; k >= 0; --k) {
        const int top = L::kBandTop + L::kPitch * k;
        if (y >= top && y < top + L::kBandHeight)
            return k;
    }
    return -1;
}

float titleGlowGrowth(int32_t countdown)
{
    return std::clamp((255.0f - float(countdown)) / 255.0f, 0.0f, 1.0f);
}

void EnterTitle(CDirectX& dx)
{
    stopMusicAndEffects(dx);
    loadTitlePictures(dx);
    dx.sound.loadSystemSounds();
    TitleState& t = dx.titleScreen;
    t.TitleFade = 0.0f;
    t.TitleLastSelection = -1;
    t.lastMouseX = t.lastMouseY = -1;
    t.TitlePhase = TitleState::Entering;
}

void ReturnToTitle(CDirectX& dx)
{
    for (auto& v : dx.sound.voice)
        v.fadeOut(3);
    // What the player read in the script being left counts, then the record is written.
    if (!dx.script.scriptName().empty())
        dx.readText.recordReadPosition(dx.script.scriptName(), dx.script.cursorIndex());
    dx.readText.saveReadText();

    ScriptState& st = dx.scriptState;
    st.endingMode = 0;
    st.endingFade = 0;
    st.waitActive = 0;
    st.clickableActive = 0;
    dx.gameState = GameState::Ready;
    dx.scene.resetLayers();
    dx.gameMenu.open = false;
    dx.gameMenu.closing = false;
    dx.gameMenu.storyGame = false;
    dx.screenState = ScreenState::Title;
    dx.confirmOpen = false;
    dx.confirm.ConfirmToTitle = false;
    EnterTitle(dx);
}

void TitleFrame(CDirectX& dx)
{
    TitleState& t = dx.titleScreen;
    if (t.backgroundLoaded && dx.display.directDraw())
        drawBackgroundChannel(dx, 0, 0, 0);

    switch (t.TitlePhase) {
    case TitleState::Entering:
        t.TitlePhase = TitleState::Menu;
        t.TitleCounter = 0;
        return;
    case TitleState::Menu:
        t.TitleCounter += dx.frameDelta;
        // The open confirmation box has the keyboard and the mouse.
        if (!dx.confirmOpen)
            menuInput(dx);
        drawMenu(dx);
        return;
    case TitleState::NewGameFade: {
        drawMenu(dx);
        // The confirmation box pauses the fade as it pauses the game.
        if (!dx.confirmOpen)
            t.TitleFade += float(dx.frameDelta) * kFadePerMs;
        if (dx.display.directDraw()) {
            CSprite black;
            black.SetColour(0);
            black.SetAlpha(std::min(int(t.TitleFade), 255));
            black.Draw(*dx.display.directDraw(), 0, 0, kScreenWidth, kScreenHeight);
        }
        if (t.TitleFade > 256.0f)
            startNewGame(dx);
        return;
    }
    default:
        t.TitlePhase = TitleState::Menu;
        return;
    }
}

void registerTitleScreen(CDirectX& dx)
{
    dx.registerScreen(ScreenState::Title, nullptr, TitleFrame);
    dx.titleReturn = ReturnToTitle;
}

void setTitleMenuEntry(CDirectX& dx, TitleItem item, std::function<void(CDirectX&)> open)
{
    if (item == TitleItem::NewGame || item == TitleItem::Quit || item == TitleItem::Count)
        return;
    dx.titleScreen.menuEntries[size_t(item)] = std::move(open);
}
