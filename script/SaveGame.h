#pragma once
#include <cstdint>

class CDirectX;
class SaveRecord;

// The live save record and what a saved game puts back.

// Refreshes the live record dx.saveRecord from the scene, the sounds, the hot-spots and the
// speaker table; tokenIndex is the index of the "@text," token being run, so that a load
// runs that text command again.
void TakeSnapshot(CDirectX& dx, int32_t tokenIndex);

// Puts a record back: scene, character groups, cut-ins, sounds, hot-spots, weather, the
// script at its text command and the speaker table. The record is checked first: a version
// other than 1000, a script that does not load or a token index outside it refuses the
// restore with a log line and changes nothing. Fields out of their range are clamped with a
// log line. The caller enters the game screen on success.
bool restoreSnapshot(CDirectX& dx, const SaveRecord& record);

// Reads "SAVE\\%d.dat" and restores it. A missing file fails silently; a short file or
// another version logs "Savedata version info is Different this version.".
bool LoadSlot(CDirectX& dx, int slot);
