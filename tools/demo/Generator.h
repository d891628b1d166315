#pragma once
// Builds the whole demo game in memory and writes it out: the archive's entries (also as a
// loose folder tree for inspection), the loose sounds and the folders the game writes into.
#include "tools/demo/Interface.h"
#include "tools/demo/Writers.h"

#include <string>
#include <vector>

namespace demo {

struct GameFile {
    std::string name;    // as the game names it, UTF-8 with backslashes ("BG\\title.png")
    bool inArchive;      // true: an entry of "system.pkd"; false: a loose file beside the program
    Bytes bytes;
};

struct GeneratorOptions {
    std::string sourceDir;   // the repository's demo/ folder (scripts)
    LabelPainter label;      // captions; empty leaves them out
};

struct GeneratedGame {
    std::vector<GameFile> files;
    std::vector<std::string> folders;   // empty folders the game expects ("SAVE")
    std::string error;                  // empty on success
};

GeneratedGame generateGame(const GeneratorOptions& options);

// Script text as the game reads it: Shift-JIS, CR LF line ends, ending with CR LF.
// Returns false (with a reason) when a character has no Shift-JIS form.
bool convertScript(const std::string& utf8, std::string& sjis, std::string& error);

// "BG\\title.png" -> "BG/title.png" below root.
std::string hostName(const std::string& root, const std::string& gameName);

// Writes loose files and folders into gameDir, packs the archive entries into
// gameDir/system.pkd and, when archiveDir is not empty, also writes them there as a folder
// tree for people to look at. False with a reason on the first failure.
bool writeGame(const GeneratedGame& game, const std::string& gameDir, const std::string& archiveDir, std::string& error);

// Backgrounds, characters and atlases side by side on one picture.
Image contactSheet(const GeneratedGame& game);

} // namespace demo
