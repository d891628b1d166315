#pragma once

class CDirectX;

// The game screen's text states (the typing, click-wait and window states of GameState) and the auto/skip toggles;
// run by the game screen's logic phase before the interpreter.
void messageWindowLogic(CDirectX& dx);

// Draws the message window for this frame (window, text, name plate, click mark, or the
// tile effect while it runs). The game screen's draw phase calls it at the window's place.
void drawMessageWindow(CDirectX& dx);

// Key and button identities of the toggles.
constexpr int kKeyAutoToggle = 0x05; // the key 4
constexpr int kKeySkipToggle = 0x04; // the key 3


