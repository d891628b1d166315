#pragma once
#include <cstdint>

// The game screen's state, `gameState`: whether the interpreter may run this frame or what the
// screen waits for. The numbers are the game's own and stay fixed: saved games and tests use
// them. Beside each value, the folder that enters it; whoever owns a wait also ends it.
enum class GameState : int32_t {
    Ready = 0,             // the interpreter runs this frame (script/ "@load", text/ after a click, scene/ after an effect)
    Typing = 1,            // a message is being typed out (text/ "@text")
    PauseClickWait = 2,    // typing stopped at a pause character, waiting for a click (text/)
    PageClickWait = 3,     // the page is complete or "@keywait" ran, waiting for a click (text/)
    PresentationWait = 4,  // a picture transition, move or scroll runs (scene/)
    Choice = 5,            // a choice is shown (script/ "@select")
    Hotspots = 6,          // hot-spots are active (script/ "@clickable"; input/ draws their pointer)
    WindowHiding = 10,     // the player hides the message window, then back to the typing state (text/)
    WindowShowing = 11,    // the player shows it again, then back to the typing state (text/)
    WindowEffectHide = 12, // the tile effect of "@textwindow_fx1/fx2 hide" runs (text/)
    WindowEffectShow = 13, // the tile effect of "@textwindow_fx1/fx2 show" runs (text/)
    WindowFadeOut = 14,    // "@textwindow hide" fades the window out (text/)
    WindowFadeIn = 15,     // "@textwindow show" fades the window in (text/)
    EndingFade = 999,      // leaving the ending: a fade to black, then the start screen (script/)
};
