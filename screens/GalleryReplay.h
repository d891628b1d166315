#pragma once
#include <string>

class CDirectX;

// Plays "CG_SCP\\" + name on the game screen from a cleared scene; "#cg_quit" or
// "#album_quit" at its end leads back to the gallery it came from. False, with a log line,
// when the script is not in the archive: the gallery then stays as it is.
bool startGalleryReplay(CDirectX& dx, const std::string& name, bool album);

// "#cg_quit" and "#album_quit": the replay ends and its gallery comes back.
void cmdCgQuit(CDirectX& dx, const std::string& token);
void cmdAlbumQuit(CDirectX& dx, const std::string& token);
