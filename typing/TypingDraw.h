#pragma once
#include <string_view>

class CDirectX;
class TypingMode;

// Makes the textures, cuts the display sprites from "SYSTEM\\typetex.png" and renders the
// glyph cache (textures once, the atlas at every start).
void prepareTypingPictures(CDirectX& dx);

// Glyph strips: the line's text (32-pixel cells), the romaji line (typed part then guide)
// and the message line.
void renderDisplayText(CDirectX& dx);
void RenderRomajiLine(TypingMode& mode);
void renderMessage(CDirectX& dx);

// Parts of the frame.
void drawTypingHud(CDirectX& dx);
void drawTypingLine(CDirectX& dx);
void drawClearBanner(CDirectX& dx);
void drawGameOverBanner(CDirectX& dx);
void drawFadeOverlay(CDirectX& dx);
