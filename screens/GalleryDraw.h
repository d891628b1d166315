#pragma once
// What the CG gallery, the album and the music room draw and read alike.
#include "graphics/InterfaceSprites.h"

#include <cstdint>

class CDirectX;

// A sprite of the gallery atlas ("SYSTEM\\systex2.png") at (x, y) in its own size, tinted.
void drawGallerySprite(CDirectX& dx, SpriteId id, int x, int y, uint32_t colour = 0xFFFFFF, int alpha = 255);
// An untextured box.
void drawGalleryBox(CDirectX& dx, int x, int y, int w, int h, uint32_t colour, int alpha = 255);
// The title picture behind the screen, its heading and the rule under it.
void drawGalleryFrame(CDirectX& dx, SpriteId heading);
// The back button, with the box of colour behind it while lit.
void drawGalleryBack(CDirectX& dx, bool lit, uint32_t litColour);
// Thumbnail t at (x, y); a thumbnail that did not load gives way to thumbnail 0, and that to a
// dark box.
void drawThumbnail(CDirectX& dx, int t, int x, int y);

// The player's input of this frame on a gallery screen.
struct GalleryInput {
    bool activate = false; // left click on the entry under the pointer, Space, Enter, keypad Enter
    bool back = false;     // Escape or a right click
};
// Reads (and takes) the frame's activation and back edges; nothing while the window is not
// active or Alt+Enter toggles the display.
GalleryInput readGalleryInput(CDirectX& dx, bool pointerOnEntry);

// Back to the title's menu with the cancel sound.
void returnToTitleMenu(CDirectX& dx);
