#pragma once
#include <string>
#include <string_view>

class CDirectX;

// Registers the typing screen's phases and the scenario command that opens it.
void registerTypingGame(CDirectX& dx);

// "@type_start": loads "TYPE\\" + name and opens the typing screen.
void cmdTypeStart(CDirectX& dx, const std::string& token);
// Opens the typing screen on the script already loaded: its sounds, pictures and values.
void startTypingMode(CDirectX& dx);

// The screen's two phases, once a frame while the screen state is the typing game.
void TypingUpdate(CDirectX& dx);
void TypingDraw(CDirectX& dx);

// One turn of the typing script: one token, or several after "@window" and "@bg_load".
void runTypingScript(CDirectX& dx);

// The two ways out: the "_clear" script after "@finish", the "_gameover" script after the
// fade.
void leaveTypingCleared(CDirectX& dx);
void leaveTypingGameOver(CDirectX& dx);
