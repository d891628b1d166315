#pragma once
#include <string>

class CDirectX;

// The game screen (ScreenState::Game): its logic phase runs the interpreter, its draw phase
// advances the "@wait" timer and the fade out of the ending.
void gameUpdate(CDirectX& dx);
void gameDraw(CDirectX& dx);
void registerGameScreen(CDirectX& dx);

// Plays "SCP\\" + name in the game screen from its start (for authors, in place of the
// title's new game); it also becomes the script the ending returns to. False when it cannot
// be loaded.
bool startGameScreen(CDirectX& dx, const std::string& name);

// Where the ending's fade leads: the title screen once there is one, until then the start
// script of the game.
void returnToStartScreen(CDirectX& dx);

