#pragma once
#include "core/ScreenState.h"
#include "graphics/Textures.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class CDirectX;
namespace platform {
class Font;
}

// What the slot list knows of one save slot.
struct SlotInfo {
    bool used = false;
    std::string dateLabel; // Shift-JIS, two lines
    int chapter = 19;      // 19: no chapter
    int64_t modified = 0;  // the file's modification time
    std::unique_ptr<CSystemSurface_R8G8B8> thumbnail; // 133 x 100, made on the first scan with a device
    bool hasThumbnail = false;
};

// The save/load screen (screen state 5): six pages of eight slots.
class SaveLoadState {
public:
    static constexpr int kPages = 6, kSlotsPerPage = 8, kSlots = kPages * kSlotsPerPage;
    static constexpr int32_t kBackButton = -1, kPageTab = -2;

    bool SaveMode = false;
    int32_t SlotCursor = 0; // 0-7 on the page (0-3 left column), -1 back button, -2 a page tab
    int32_t SlotPage = 0;
    int32_t HoveredTab = -1;
    bool SaveRequested = false;
    std::array<SlotInfo, kSlots> slots;

    // The pointer of the previous frame: it takes the highlight only when it moves.
    int32_t lastMouseX = -1, lastMouseY = -1;
    std::shared_ptr<platform::Font> labelFont, chapterFont;
};

// Where the screen's parts sit.
struct SaveLoadLayout {
    static constexpr int kBoxW = 320, kBoxH = 92;
    static constexpr int kLeftX = 64, kRightX = 416, kTop = 68, kPitch = 112;
    static constexpr int kThumbW = 133, kThumbH = 100, kThumbDx = 4;
    static constexpr int kTextDx = 148;
    static constexpr int kBackX = 720, kBackY = 520, kBackW = 32, kBackH = 64;
    static constexpr int kTabsX = 432;
    static constexpr int kHoverH = 112; // a box takes the pointer over its whole pitch

    static int boxX(int cursor) { return cursor < 4 ? kLeftX : kRightX; }
    static int boxY(int cursor) { return kTop + kPitch * (cursor % 4); }
    // Left edge of page tab i when page is current.
    static int tabX(int i, int page);
    static int tabW(int i, int page) { return i == page ? 48 : 32; }
    static int tabTop(int i, int page) { return i == page ? 536 : 552; }
    static constexpr int kTabBottom = 584;
};

// The slot on the page under (x, y), -1 the back button, -2 a page tab (tab set), -3 nothing.
int32_t saveLoadItemAt(int x, int y, int page, int32_t& tab);

// Opens the screen: save or load, returning to back; the slots are scanned first.
void openSaveLoad(CDirectX& dx, bool saveMode, ScreenState back);

// Reads every slot file into the slot list: used flag, date label, chapter, thumbnail.
void ScanSlots(CDirectX& dx);
// Samples the 800 x 600 back buffer at every sixth pixel into a 133 x 100 bottom-up 32-bit
// bitmap "SAVE\\%d.bmp". False when there is no picture to sample or the file cannot be written.
bool WriteThumbnail(CDirectX& dx, int slot);
// Writes the live record to slot; false (nothing changed) when it cannot be written.
bool SaveSlot(CDirectX& dx, int slot);

void SaveLoadUpdate(CDirectX& dx);
void SaveLoadDraw(CDirectX& dx);

// Registers the screen for state 5, the title's load item, and the in-game menu.
void registerSaveLoadScreen(CDirectX& dx);
