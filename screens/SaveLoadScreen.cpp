// The save/load screen: six pages of eight slots with thumbnails, date labels and chapters.
#include "screens/SaveLoadScreen.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "core/ScreenSize.h"
#include "graphics/AtlasTexture.h"
#include "graphics/CDIB.h"
#include "graphics/InterfaceSprites.h"
#include "input/KeyCodes.h"
#include "platform/Files.h"
#include "platform/Fonts.h"
#include "platform/Text.h"
#include "scene/SceneCommands.h"
#include "screens/GameMenu.h"
#include "script/SaveGame.h"
#include "text/TextScreen.h"

#include <algorithm>
#include <vector>

namespace {

using L = SaveLoadLayout;

constexpr uint32_t kBackHighlightTint = 0x66CCAA; // red 102, green 204, blue 170
constexpr uint32_t kTabHoverTint = 0xFF6060;

void drawAtlasSprite(CDirectX& dx, int atlas, SpriteId id, int x, int y, uint32_t colour = 0xFFFFFF, int alpha = 255)
{
    drawInterfaceSprite(dx.display.directDraw(), dx.systemAtlas[size_t(atlas)], id, float(x), float(y), colour, alpha);
}

void fillRect(CDirectX& dx, int x, int y, int w, int h, uint32_t rgb, int alpha = 255)
{
    CSprite box;
    box.SetNoTexture();
    box.SetColour(rgb);
    box.SetAlpha(alpha);
    box.Draw(*dx.display.directDraw(), float(x), float(y), float(w), float(h));
}

std::shared_ptr<platform::Font> makeFont(CDirectX& dx, int height, int weight, const char* faceUtf8)
{
    if (!dx.sys.fonts)
        return nullptr;
    platform::FontSpec spec;
    spec.height = height;
    spec.weight = weight;
    spec.charset = platform::kShiftJisCharset;
    spec.face = platform::utf8ToSjis(faceUtf8);
    return dx.sys.fonts->createFont(spec);
}

// A text with its shadow one pixel right and down, as every slot text is drawn.
void drawShadowedText(CDirectX& dx, platform::Font& font, const std::string& text, platform::TextRect rect,
                      uint32_t format, bool lit)
{
    platform::Surface* bb = dx.display.directDraw()->backBuffer();
    if (!bb || bb->lost())
        return;
    platform::Canvas32 canvas{bb->data(), bb->width(), bb->height(), bb->pitch(), false};
    platform::TextStyle style;
    style.transparent = true;
    style.colour = platform::rgb(0, 0, 0);
    platform::TextRect shadow{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
    dx.sys.fonts->drawText(font, canvas, text, shadow, format, style);
    style.colour = lit ? platform::rgb(255, 255, 255) : platform::rgb(192, 192, 192);
    dx.sys.fonts->drawText(font, canvas, text, rect, format, style);
    bb->touch();
}

void leave(CDirectX& dx)
{
    dx.sound.playSystemSound(2);
    dx.screenState = dx.titleScreen.ReturnScreen;
    if (dx.screenState == ScreenState::Title)
        dx.titleScreen.TitlePhase = TitleState::Menu;
}

void loadChosenSlot(CDirectX& dx, int slot)
{
    const bool fromTitle = dx.titleScreen.ReturnScreen == ScreenState::Title;
    if (!LoadSlot(dx, slot))
        return; // an empty or unreadable slot: the player stays on the list
    closeGameMenuAtOnce(dx);
    // A game loaded from the title is a story game with the whole in-game menu.
    if (fromTitle)
        dx.gameMenu.storyGame = true;
    dx.screenState = ScreenState::Game;
}

void activate(CDirectX& dx, int32_t item, int32_t tab)
{
    SaveLoadState& s = dx.saveLoad;
    if (item == SaveLoadState::kPageTab) {
        if (tab >= 0 && tab < SaveLoadState::kPages)
            s.SlotPage = tab;
        return;
    }
    if (item == SaveLoadState::kBackButton) {
        leave(dx);
        return;
    }
    if (item < 0 || item >= SaveLoadState::kSlotsPerPage)
        return;
    const int slot = s.SlotPage * SaveLoadState::kSlotsPerPage + item;
    if (s.SaveMode)
        s.SaveRequested = true;
    else
        loadChosenSlot(dx, slot);
}

void moveByKeys(CDirectX& dx)
{
    SaveLoadState& s = dx.saveLoad;
    CInput& in = dx.input;
    int32_t& c = s.SlotCursor;
    if (in.takeKeyPress(DIK_LEFT) && c >= 0) {
        if (c >= 4)
            c -= 4;
        else if (s.SlotPage > 0) {
            --s.SlotPage;
            c += 4;
        }
    }
    if (in.takeKeyPress(DIK_RIGHT) && c >= 0) {
        if (c < 4)
            c += 4;
        else if (s.SlotPage < SaveLoadState::kPages - 1) {
            ++s.SlotPage;
            c -= 4;
        }
    }
    if (in.takeKeyPress(DIK_UP)) {
        if (c < 0)
            c = 7; // from the back button (or a tab) to the bottom right slot
        else if (c != 0 && c != 4)
            --c;
    }
    if (in.takeKeyPress(DIK_DOWN)) {
        if (c == 3 || c == 7)
            c = SaveLoadState::kBackButton;
        else if (c >= 0)
            ++c;
    }
}

void drawSlots(CDirectX& dx)
{
    SaveLoadState& s = dx.saveLoad;
    const uint32_t litColour = s.SaveMode ? 0xFF6060 : 0x448FFF;
    const uint32_t plainColour = s.SaveMode ? 0x906030 : 0xA0A0FF;
    for (int c = 0; c < SaveLoadState::kSlotsPerPage; ++c) {
        const int x = L::boxX(c), y = L::boxY(c);
        const bool lit = c == s.SlotCursor;
        fillRect(dx, x, y, L::kBoxW, L::kBoxH, lit ? litColour : plainColour);
        SlotInfo& info = s.slots[size_t(s.SlotPage * SaveLoadState::kSlotsPerPage + c)];
        if (info.used && info.hasThumbnail && info.thumbnail) {
            info.thumbnail->Draw(dx.display.directDraw()->backBuffer(), float(x + L::kThumbDx), float(y), float(L::kThumbW),
                                 float(L::kThumbH), 0, 0);
            if (!lit)
                fillRect(dx, x + L::kThumbDx, y, L::kThumbW, L::kThumbH, 0x000000, 128);
        }
    }
}

void drawTexts(CDirectX& dx)
{
    SaveLoadState& s = dx.saveLoad;
    if (!dx.sys.fonts)
        return;
    if (!s.labelFont)
        s.labelFont = makeFont(dx, 14, 400, "ＭＳ ゴシック");
    if (!s.chapterFont)
        s.chapterFont = makeFont(dx, 24, 700, "ＭＳ Ｐゴシック");
    if (!s.labelFont || !s.chapterFont)
        return;
    static const std::string noData = "-- NO DATA --";
    for (int c = 0; c < SaveLoadState::kSlotsPerPage; ++c) {
        const SlotInfo& info = s.slots[size_t(s.SlotPage * SaveLoadState::kSlotsPerPage + c)];
        const int x = L::boxX(c), t = 72 + L::kPitch * (c % 4);
        const bool lit = c == s.SlotCursor;
        const platform::TextRect label{x + L::kTextDx, t, x + 318, t + 32};
        if (!info.used) {
            drawShadowedText(dx, *s.labelFont, noData, label, platform::kDtRight, lit);
            continue;
        }
        drawShadowedText(dx, *s.labelFont, info.dateLabel, label, platform::kDtRight, lit);
        const std::string_view chapter = chapterName(info.chapter);
        if (!chapter.empty())
            drawShadowedText(dx, *s.chapterFont, std::string(chapter), {x + L::kTextDx, t + 52, x + 318, t + 84},
                             platform::kDtCenter | platform::kDtVCenter | platform::kDtSingleLine, lit);
    }
}

void drawBackground(CDirectX& dx)
{
    // From the game the screen stands on the option background when the script gave one.
    const SceneState& sc = dx.scene;
    if (dx.titleScreen.ReturnScreen == ScreenState::Game && sc.optionBg.active) {
        for (int b = 0; b < kBgBlocks; ++b) {
            auto& block = const_cast<CSystemSurface_R8G8B8&>(sc.optionBg.surfaces[size_t(b)]);
            block.Draw(dx.display.directDraw()->backBuffer(), float(256 * (b % 4)), float(256 * (b / 4)),
                       float(bgBlockWidth(b % 4)), float(bgBlockHeight(b / 4)), 0, 0);
        }
        return;
    }
    if (sc.created)
        drawBackgroundChannel(dx, std::clamp(sc.bg.current, 0, 1), 0, 0);
}

void saveRequestedSlot(CDirectX& dx)
{
    SaveLoadState& s = dx.saveLoad;
    s.SaveRequested = false;
    const int slot = s.SlotPage * SaveLoadState::kSlotsPerPage + std::clamp(s.SlotCursor, 0, 7);
    // The thumbnail is the game as it stands, without this screen over it.
    composeGameScreen(dx);
    drawMessageWindow(dx);
    if (!SaveSlot(dx, slot)) {
        runLog().appendf(2, "SYSTEM ERROR: save failed.->%s", slotDataPath(slot).c_str());
        return;
    }
    if (!WriteThumbnail(dx, slot))
        runLog().appendf(2, "SYSTEM ERROR: thumbnail write failed.->%s", slotThumbnailPath(slot).c_str());
    int64_t modified = 0;
    const std::string path = platform::files::programPath(slotDataPath(slot));
    if (!platform::files::modificationTime(path, modified))
        runLog().appendf(2, "SYSTEM ERROR: _stat failed.->%s", path.c_str());
    ScanSlots(dx);
}

} // namespace

int SaveLoadLayout::tabX(int i, int page)
{
    int x = kTabsX;
    for (int k = 0; k < i; ++k)
        x += k == page ? 52 : 36;
    return x;
}

int32_t saveLoadItemAt(int x, int y, int page, int32_t& tab)
{
    tab = -1;
    if (x >= L::kBackX && x < L::kBackX + L::kBackW && y >= L::kBackY && y < L::kBackY + L::kBackH)
        return SaveLoadState::kBackButton;
    for (int c = 0; c < SaveLoadState::kSlotsPerPage; ++c) {
        const int bx = L::boxX(c), by = L::boxY(c);
        if (x >= bx && x < bx + L::kBoxW && y >= by && y < by + L::kHoverH)
            return c;
    }
    for (int i = 0; i < SaveLoadState::kPages; ++i) {
        const int tx = L::tabX(i, page);
        if (x >= tx && x < tx + L::tabW(i, page) && y >= L::tabTop(i, page) && y < L::kTabBottom) {
            tab = i;
            return SaveLoadState::kPageTab;
        }
    }
    return -3;
}

bool SaveSlot(CDirectX& dx, int slot)
{
    return writeSlotFile(slot, dx.saveRecord);
}

bool WriteThumbnail(CDirectX& dx, int slot)
{
    if (!dx.display.directDraw())
        return false;
    platform::Surface* bb = dx.display.directDraw()->backBuffer();
    if (!bb || bb->lost() || bb->width() < 6 * L::kThumbW || bb->height() < 6 * L::kThumbH) {
        runLog().append(2, "FATAL ERROR!: Can't GetDC()");
        return false;
    }
    CDIB dib;
    if (!dib.CreateCanvas(L::kThumbW, L::kThumbH))
        return false;
    for (int row = 0; row < L::kThumbH; ++row)
        for (int col = 0; col < L::kThumbW; ++col) {
            const uint8_t* p = bb->data() + size_t(6 * row) * size_t(bb->pitch()) + size_t(6 * col) * 4;
            uint8_t* q = dib.pixelAt(col, row);
            q[0] = p[0];
            q[1] = p[1];
            q[2] = p[2];
            q[3] = 0;
        }
    return dib.SaveBMP(slotThumbnailPath(slot));
}

void ScanSlots(CDirectX& dx)
{
    platform::Video* video = dx.display.directDraw() ? dx.display.directDraw() : dx.sys.video;
    for (int slot = 0; slot < SaveLoadState::kSlots; ++slot) {
        SlotInfo& info = dx.saveLoad.slots[size_t(slot)];
        SaveRecord record;
        // The list shows what is on the disk: a slot whose file went away is empty again.
        info.used = readSlotFile(slot, record) == SlotRead::Ok;
        info.hasThumbnail = false;
        info.dateLabel.clear();
        info.chapter = 19;
        if (!info.used)
            continue;
        info.chapter = SaveRecord::chapterIndex(record.scriptName());
        int64_t modified = 0;
        if (platform::files::modificationTime(platform::files::programPath(slotDataPath(slot)), modified)) {
            info.modified = modified;
            info.dateLabel = slotDateLabel(modified);
        }
        CDIB dib;
        if (!video || !dib.LoadBMP(slotThumbnailPath(slot)) || dib.width() != SaveLoadLayout::kThumbW ||
            dib.height() != SaveLoadLayout::kThumbH)
            continue;
        std::vector<uint8_t> top(size_t(dib.width()) * size_t(dib.height()) * 4);
        for (int y = 0; y < dib.height(); ++y)
            std::copy_n(dib.pixelAt(0, y), size_t(dib.width()) * 4, top.data() + size_t(y) * size_t(dib.width()) * 4);
        if (!info.thumbnail) {
            info.thumbnail = std::make_unique<CSystemSurface_R8G8B8>();
            if (!info.thumbnail->Create(video, SaveLoadLayout::kThumbW, SaveLoadLayout::kThumbH, false)) {
                info.thumbnail.reset();
                continue;
            }
        }
        info.hasThumbnail = info.thumbnail->UpdateTexture(top.data());
    }
}

void openSaveLoad(CDirectX& dx, bool saveMode, ScreenState back)
{
    SaveLoadState& s = dx.saveLoad;
    s.SaveMode = saveMode;
    s.SaveRequested = false;
    s.HoveredTab = -1;
    s.lastMouseX = s.lastMouseY = -1;
    if (s.SlotCursor < SaveLoadState::kPageTab || s.SlotCursor >= SaveLoadState::kSlotsPerPage)
        s.SlotCursor = 0;
    dx.titleScreen.ReturnScreen = back;
    ScanSlots(dx);
    dx.screenState = ScreenState::SaveLoad;
}

void SaveLoadUpdate(CDirectX& dx)
{
    SaveLoadState& s = dx.saveLoad;
    s.HoveredTab = -1;
    if (s.SaveRequested || dx.confirmOpen)
        return;
    CInput& in = dx.input;
    moveByKeys(dx);

    const bool moved = dx.frameInput.mouseX() != s.lastMouseX || dx.frameInput.mouseY() != s.lastMouseY;
    s.lastMouseX = dx.frameInput.mouseX();
    s.lastMouseY = dx.frameInput.mouseY();
    int32_t tab = -1;
    const int32_t hovered = dx.frameInput.cursorInside()
                                ? saveLoadItemAt(dx.frameInput.mouseX(), dx.frameInput.mouseY(), s.SlotPage, tab)
                                : -3;
    if (hovered == SaveLoadState::kPageTab)
        s.HoveredTab = tab;
    if (hovered >= SaveLoadState::kPageTab && moved)
        s.SlotCursor = hovered;

    const bool altEnter = (in.keyHeld(DIK_LMENU) || in.keyHeld(DIK_RMENU)) && in.keyHeld(DIK_RETURN);
    if (altEnter || !dx.windowActive || dx.inputIgnoreActive)
        return;
    if (in.takeKeyPress(DIK_ESCAPE) || dx.frameInput.rightClicked()) {
        leave(dx);
        return;
    }
    if (dx.frameInput.leftClicked() && hovered >= SaveLoadState::kPageTab) {
        s.SlotCursor = hovered;
        activate(dx, hovered, tab);
        return;
    }
    const bool space = in.takeKeyPress(DIK_SPACE), enter = in.takeKeyPress(DIK_RETURN),
               padEnter = in.takeKeyPress(DIK_NUMPADENTER);
    if (space || enter || padEnter)
        activate(dx, s.SlotCursor, s.HoveredTab);
}

void SaveLoadDraw(CDirectX& dx)
{
    SaveLoadState& s = dx.saveLoad;
    if (!dx.display.directDraw())
        return;
    if (s.SaveRequested)
        saveRequestedSlot(dx);

    drawBackground(dx);
    drawAtlasSprite(dx, 1, s.SaveMode ? SpriteId::HeadingSave : SpriteId::HeadingLoad, 16, 16);
    drawAtlasSprite(dx, 1, SpriteId::HeadingRule, 16, 32);
    drawSlots(dx);

    if (s.SlotCursor == SaveLoadState::kBackButton)
        fillRect(dx, L::kBackX, L::kBackY, L::kBackW, L::kBackH, kBackHighlightTint);
    drawAtlasSprite(dx, 1, SpriteId::BackButton, L::kBackX, L::kBackY);
    for (int i = 0; i < SaveLoadState::kPages; ++i) {
        const SpriteId id = SpriteId(int(i == s.SlotPage ? SpriteId::PageTabCurrent0 : SpriteId::PageTab0) + i);
        drawAtlasSprite(dx, 1, id, L::tabX(i, s.SlotPage), L::tabTop(i, s.SlotPage),
                        i == s.HoveredTab ? kTabHoverTint : 0xFFFFFF);
    }
    drawTexts(dx);
}

void registerSaveLoadScreen(CDirectX& dx)
{
    dx.registerScreen(ScreenState::SaveLoad, SaveLoadUpdate, SaveLoadDraw);
    setTitleMenuEntry(dx, TitleItem::Load, [](CDirectX& d) { openSaveLoad(d, false, ScreenState::Title); });
}
