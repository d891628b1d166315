#pragma once
#include <string>

class CDirectX;

// "@select" offers up to four rows (the game screen's state 5); "@clickable" opens a set of
// hot-spot regions whose numbered sections run on clicks (state 6); "]" ends a section.
void cmdSelect(CDirectX& dx, const std::string& token);
void cmdClickable(CDirectX& dx, const std::string& token);
void cmdSectionEnd(CDirectX& dx, const std::string& token);

// Ends any choice and hot-spot set in force: a pick, "@load", loading a saved game and the
// way back to the title all leave the branch they were in.
void clearBranchSets(CDirectX& dx);
