#pragma once

class CDirectX;

// The game screen while a choice is shown (gameState 5): hover, Up/Down, the pick.
void choiceLogic(CDirectX& dx);
void drawChoices(CDirectX& dx);

// The game screen while hot-spots are active (gameState 6): the pointer shape over a region,
// the arrow keys moving the pointer, and a click starting the region's next section.
void hotSpotLogic(CDirectX& dx);
