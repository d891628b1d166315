#pragma once
// The runner's input script: what the player does, frame by frame.
//
// One event per line (tools/runner/README.md has the full table); blank lines and lines
// starting with '#' are ignored:
//
//   <frame> key down <key>         <key>: DirectInput code (0x1C, 28) or name (RETURN,
//   <frame> key up <key>                  ENTER, ESCAPE, SPACE, A..Z, 0..9, F1..F12, LALT,
//                                         RCONTROL, UP, PRIOR, NUMPAD9 ...; "DIK_" allowed)
//   <frame> mouse move <x> <y>     pointer in picture coordinates (0..799, 0..599)
//   <frame> mouse down <button>    <button>: left, right or middle
//   <frame> mouse up <button>
//   <frame> wheel <delta>          120 is one notch away from the user, -120 towards
//   <frame> close                  the player closes the window
//
// Frames count from 1; the events of frame N are fed just before the N-th frame runs, in
// the order they are written. Lines need not be sorted by frame.
#include "platform/headless/HeadlessInputEvent.h"

#include <string>
#include <string_view>
#include <vector>

struct ScriptedInput {
    int frame = 1;
    bool close = false; // a close request instead of an input event
    platform::HeadlessInputEvent event;
};

// Parses the whole text; on failure error names the line and what is wrong.
bool parseInputScript(std::string_view text, std::vector<ScriptedInput>& out, std::string& error);

// A DirectInput key code from a number or a key name; -1 when neither.
int parseKey(std::string_view word);
