// The options screen: the rows of setting buttons, their actions on the settings and the
// sound, the help line, and the way back to the screen that opened it.
#include "screens/OptionsScreen.h"

#include "app/CDirectX.h"
#include "graphics/AtlasTexture.h"
#include "graphics/GlyphCell.h"
#include "graphics/InterfaceSprites.h"
#include "input/KeyCodes.h"
#include "platform/Fonts.h"
#include "scene/SceneCommands.h"
#include "screens/GameMenu.h"
#include "screens/TitleScreen.h"
#include "sound/SoundVolume.h"
#include "text/TextCommands.h"

#include <algorithm>

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kCurrentTint = 0xFFB060; // the button of the setting in force
constexpr uint32_t kCursorTint = 0xFF6060;  // the control under the cursor
constexpr const char* kVoiceTestName = "dabada00_009";

// The picture of each control, in control order.
constexpr SpriteId kControlSprites[OptionsState::kControls] = {
    SpriteId::OptWindow,       SpriteId::OptFullScreen,  SpriteId::OptSlower,      SpriteId::OptFaster,
    SpriteId::OptDecoNone,     SpriteId::OptDecoShadow,  SpriteId::OptDecoOutline, SpriteId::OptSlower,
    SpriteId::OptFaster,       SpriteId::OptAfterStop,   SpriteId::OptAfterKeep,   SpriteId::OptSkipRead,
    SpriteId::OptSkipAll,      SpriteId::OptAfterStop,   SpriteId::OptAfterKeep,   SpriteId::OptEffectNormal,
    SpriteId::OptEffectDouble, SpriteId::OptEffectOff,   SpriteId::OptOff,         SpriteId::OptOn,
    SpriteId::OptSlower,       SpriteId::OptFaster,      SpriteId::OptOff,         SpriteId::OptOn,
    SpriteId::OptSlower,       SpriteId::OptFaster,      SpriteId::OptOff,         SpriteId::OptOn,
    SpriteId::OptSlower,       SpriteId::OptFaster,      SpriteId::OptDetail,      SpriteId::OptTest,
    SpriteId::OptTest,
};

constexpr SpriteId kRowLabels[10] = {
    SpriteId::OptRowScreen, SpriteId::OptRowTextSpeed, SpriteId::OptRowDecoration, SpriteId::OptRowAuto,
    SpriteId::OptRowSkip,   SpriteId::OptRowEffect,    SpriteId::OptRowBgm,        SpriteId::OptRowSe,
    SpriteId::OptRowVoice,  SpriteId::OptRowCharacters,
};
constexpr int32_t kRowLabelX = 176;

// The control of a choice row that matches the setting in force; the others are not lit.
bool isCurrentSetting(const CDirectX& dx, int32_t control)
{
    const SystemConfig& c = dx.config;
    switch (control) {
    case 0: return dx.display.windowed();
    case 1: return !dx.display.windowed();
    case 4: case 5: case 6: return c.textDecoration == control - 4;
    case 9: case 10: return c.autoAfterChoice == control - 9;
    case 11: case 12: return c.skipAll == control - 11;
    case 13: case 14: return c.skipAfterChoice == control - 13;
    case 15: case 16: case 17: return c.effectSpeed == control - 15;
    case 18: case 19: return c.bgmOn == control - 18;
    case 22: case 23: return c.seOn == control - 22;
    case 26: case 27: return c.voiceOn == control - 26;
    default: return false;
    }
}

// One step of a 0..7 level: down only above 0, up only below 7.
void stepLevel(int32_t& level, bool up)
{
    if (up && level < 7)
        ++level;
    else if (!up && level > 0)
        --level;
}

void drawSprite(CDirectX& dx, int atlas, SpriteId id, int32_t x, int32_t y, uint32_t tint)
{
    drawInterfaceSprite(dx.display.directDraw(), dx.systemAtlas[size_t(atlas)], id, float(x), float(y), tint);
}

// Eight pips between a row's two arrows, lit up to the level.
void drawLevel(CDirectX& dx, int32_t leftArrow, int32_t level)
{
    const OptionsRect r = optionsControlRect(leftArrow);
    for (int32_t i = 0; i < 8; ++i)
        drawSprite(dx, 2, i <= level ? SpriteId::OptLevelOn : SpriteId::OptLevelOff, r.x + r.w + 2 + 20 * i, r.y,
                   kWhite);
}

void drawHelpLine(CDirectX& dx)
{
    OptionsState& o = dx.options;
    if (!o.font && dx.sys.fonts)
        o.font = createGameTextFont(*dx.sys.fonts);
    platform::Surface* bb = dx.display.directDraw()->backBuffer();
    if (!o.font || !bb || bb->lost())
        return;
    const std::string& text = optionsHelpLine(o.OptionsCursor);
    const OptionsRect& h = OptionsLayout::kHelp;
    const uint32_t format = platform::kDtCenter | platform::kDtWordBreak;
    platform::TextRect measured{h.x, h.y, h.x + h.w, h.y + h.h};
    const int32_t height = dx.sys.fonts->drawText(*o.font, platform::Canvas32{}, text, measured,
                                                  format | platform::kDtCalcRect, platform::TextStyle{});
    const int32_t top = h.y + std::max(0, (h.h - height) / 2);
    platform::Canvas32 canvas{bb->data(), bb->width(), bb->height(), bb->pitch(), false};
    platform::TextStyle style;
    style.transparent = true;
    // A black copy one pixel down and right keeps the white text readable on any background.
    for (int shadow = 1; shadow >= 0; --shadow) {
        platform::TextRect rect{h.x + shadow, top + shadow, h.x + h.w + shadow, h.y + h.h + shadow};
        style.colour = shadow ? platform::rgb(0, 0, 0) : platform::rgb(255, 255, 255);
        dx.sys.fonts->drawText(*o.font, canvas, text, rect, format, style);
    }
    bb->touch();
}

void drawScreen(CDirectX& dx)
{
    const OptionsState& o = dx.options;
    const SystemConfig& c = dx.config;
    // The script's option background when it set one, else the program's own picture.
    if (dx.scene.created)
        drawOptionBackground(dx, 0, 0);
    drawSprite(dx, 1, SpriteId::HeadingOptions, 16, 16, kWhite);
    drawSprite(dx, 1, SpriteId::HeadingRule, 16, 32, kWhite);
    for (int32_t row = 0; row < 10; ++row)
        drawSprite(dx, 2, kRowLabels[row], kRowLabelX, optionsRowY(row), kWhite);
    for (int32_t k = 0; k < OptionsState::kControls; ++k) {
        const OptionsRect r = optionsControlRect(k);
        const uint32_t tint = k == o.OptionsCursor ? kCursorTint : isCurrentSetting(dx, k) ? kCurrentTint : kWhite;
        drawSprite(dx, 2, kControlSprites[k], r.x, r.y, tint);
    }
    drawLevel(dx, 2, c.textSpeed);
    drawLevel(dx, 7, c.autoWait);
    drawLevel(dx, 20, c.bgmLevel);
    drawLevel(dx, 24, c.seLevel);
    drawLevel(dx, 28, c.voiceLevel);
    const OptionsRect& close = OptionsLayout::kClose;
    drawSprite(dx, 1, SpriteId::BackButton, close.x, close.y, o.OptionsCursor == OptionsState::kClose ? kCursorTint : kWhite);
    drawHelpLine(dx);
}

// What a control does to the settings and the sound once the confirm sound is on its way.
void applyOptionsControl(CDirectX& dx, int32_t control)
{
    SystemConfig& c = dx.config;
    SoundSystem& sound = dx.sound;
    MessageWindow& w = dx.messageWindow;
    switch (control) {
    case 0:
    case 1:
        // The toggle itself runs at the end of the frame and saves the settings.
        if (dx.display.windowed() == (control == 1))
            dx.displayModeToggleRequested = true;
        break;
    case 2:
    case 3:
        stepLevel(c.textSpeed, control == 3);
        w.textDelay = textDelayForSpeed(c.textSpeed);
        break;
    case 4: case 5: case 6:
        c.textDecoration = control - 4;
        w.decoration = c.textDecoration;
        break;
    case 7: case 8: stepLevel(c.autoWait, control == 8); break;
    case 9: case 10: c.autoAfterChoice = uint8_t(control - 9); break;
    case 11: case 12: c.skipAll = uint8_t(control - 11); break;
    case 13: case 14: c.skipAfterChoice = uint8_t(control - 13); break;
    case 15: case 16: case 17: c.effectSpeed = control - 15; break;
    case 18: case 19:
        c.bgmOn = uint8_t(control - 18);
        sound.setMusicVolume(soundGroupPercent(c.bgmOn, c.bgmLevel));
        break;
    case 20: case 21:
        stepLevel(c.bgmLevel, control == 21);
        if (c.bgmOn)
            sound.setMusicVolume(soundGroupPercent(c.bgmOn, c.bgmLevel));
        break;
    case 22: case 23:
        c.seOn = uint8_t(control - 22);
        sound.setEffectVolume(soundGroupPercent(c.seOn, c.seLevel));
        break;
    case 24: case 25:
        stepLevel(c.seLevel, control == 25);
        if (c.seOn)
            sound.setEffectVolume(soundGroupPercent(c.seOn, c.seLevel));
        break;
    case 26: case 27:
        c.voiceOn = uint8_t(control - 26);
        sound.setVoiceVolume(soundGroupPercent(c.voiceOn, c.voiceLevel));
        break;
    case 28: case 29:
        stepLevel(c.voiceLevel, control == 29);
        // Voices switched off stay silent; the new level is heard once they are on again.
        if (c.voiceOn)
            sound.setVoiceVolume(soundGroupPercent(c.voiceOn, c.voiceLevel));
        break;
    case 30:
        // The per-character settings have no screen: the highlight goes to the way out.
        dx.options.OptionsCursor = OptionsState::kClose;
        break;
    case 31:
        sound.playSystemSound(4);
        break;
    case 32:
        sound.playVoiceTest(kVoiceTestName, volumePercentForLevel(c.voiceLevel));
        break;
    default:
        break;
    }
}

// The cancel sound, back to the screen that opened the options, the settings saved.
void closeOptions(CDirectX& dx)
{
    OptionsState& o = dx.options;
    dx.sound.playSystemSound(2);
    dx.screenState = o.OptionsReturnScreen;
    if (o.OptionsReturnScreen == ScreenState::Title) {
        TitleState& t = dx.titleScreen;
        t.TitlePhase = TitleState::Menu;
        // The pointer resting where the close button was does not move the title's highlight.
        t.lastMouseX = dx.frameInput.mouseX();
        t.lastMouseY = dx.frameInput.mouseY();
    }
    dx.saveConfig();
}

void activate(CDirectX& dx, int32_t control)
{
    if (control == OptionsState::kClose) {
        closeOptions(dx);
        return;
    }
    // The two tests are heard for themselves.
    if (control != 31 && control != 32)
        dx.sound.playSystemSound(1);
    applyOptionsControl(dx, control);
}

void readInput(CDirectX& dx)
{
    OptionsState& o = dx.options;
    CInput& in = dx.input;
    const FrameInput& f = dx.frameInput;
    const bool moved = f.mouseX() != o.lastMouseX || f.mouseY() != o.lastMouseY;
    o.lastMouseX = f.mouseX();
    o.lastMouseY = f.mouseY();
    const int32_t hovered = f.cursorInside() ? optionsControlAt(f.mouseX(), f.mouseY()) : -2;
    if (hovered != -2 && moved)
        o.OptionsCursor = hovered;

    static constexpr std::pair<uint8_t, OptionsDirection> kArrows[] = {
        {DIK_UP, OptionsDirection::Up},
        {DIK_DOWN, OptionsDirection::Down},
        {DIK_LEFT, OptionsDirection::Left},
        {DIK_RIGHT, OptionsDirection::Right},
    };
    for (const auto& [key, direction] : kArrows)
        if (in.takeKeyPress(key))
            o.OptionsCursor = optionsMove(o.OptionsCursor, direction);

    const bool altEnter = (in.keyHeld(DIK_LMENU) || in.keyHeld(DIK_RMENU)) && in.keyHeld(DIK_RETURN);
    if (altEnter || !dx.windowActive || dx.inputIgnoreActive)
        return;
    if (in.takeKeyPress(DIK_ESCAPE) || f.rightClicked()) {
        closeOptions(dx);
        return;
    }
    bool chosen = false;
    if (f.leftClicked() && hovered != -2) {
        o.OptionsCursor = hovered;
        chosen = true;
    }
    const bool space = in.takeKeyPress(DIK_SPACE), enter = in.takeKeyPress(DIK_RETURN),
               padEnter = in.takeKeyPress(DIK_NUMPADENTER);
    if (chosen || space || enter || padEnter)
        activate(dx, o.OptionsCursor);
}

} // namespace

void openOptions(CDirectX& dx, ScreenState returnTo)
{
    OptionsState& o = dx.options;
    o.OptionsReturnScreen = returnTo == ScreenState::Game ? ScreenState::Game : ScreenState::Title;
    o.OptionsCursor = 0;
    o.lastMouseX = o.lastMouseY = -1;
    dx.screenState = ScreenState::Options;
}

void OptionsFrame(CDirectX& dx)
{
    // The open confirmation box has the keyboard and the mouse.
    if (!dx.confirmOpen)
        readInput(dx);
    if (dx.display.directDraw())
        drawScreen(dx);
}

void registerOptionsScreen(CDirectX& dx)
{
    dx.registerScreen(ScreenState::Options, nullptr, OptionsFrame);
    setTitleMenuEntry(dx, TitleItem::Options,
                      [](CDirectX& d) { openOptions(d, d.titleScreen.ReturnScreen); });
    // The in-game menu stays open underneath and takes over again when the options close.
    setGameMenuEntry(dx, GameMenuItem::Options, [](CDirectX& d) { openOptions(d, ScreenState::Game); });
}
