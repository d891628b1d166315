#pragma once
#include <cstdint>

// The current screen, `screenState`: the frame dispatcher (app/) runs the logic and draw phases
// registered for it. The numbers are the game's own; no other value is ever stored. Beside each
// value, the folder whose screen it is.
enum class ScreenState : int32_t {
    None = 0,       // before the one-time engine initialisation (app/)
    Game = 4,       // scenario play, runs the interpreter (script/GameScreen.cpp)
    SaveLoad = 5,   // save / load screen (screens/)
    Options = 6,    // options screen (screens/)
    Backlog = 7,    // message history (screens/)
    Title = 9,      // title screen; the engine initialisation enters it (screens/)
    Typing = 10,    // typing game (typing/)
    CgGallery = 12, // CG gallery (screens/)
    Album = 13,     // album (screens/)
    MusicRoom = 14, // music room (screens/)
};

// Room for every value above in the dispatcher's table.
constexpr int kScreenStates = 16;
