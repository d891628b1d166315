#pragma once

class CDirectX;

// The music room (screen state 14): its screen and its title-menu item.
void registerMusicRoom(CDirectX& dx);
