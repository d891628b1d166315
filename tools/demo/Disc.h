#pragma once
// The demo's install disc: the installer's archive "data.pkd" (setup header, copy list,
// window pictures) beside the game's files, the two programs and the read-me.
#include "tools/demo/Generator.h"

#include <string>
#include <vector>

namespace demo {

// The game's title, as the installer names its folders, record and launchers.
extern const char* const kDiscTitle;

// The entries of "data.pkd": "system", "install.dir", "bg.png" and the fourteen button
// pictures. files: the disc's files in copy order, folders: the folders to make (UTF-8,
// backslash-separated, parents first).
std::vector<GameFile> setupArchive(const LabelPainter& label, const std::vector<std::string>& folders,
                                   const std::vector<std::string>& files);

// The copy list's text (UTF-8, LF line ends; converted like a script when packed).
std::string installList(const std::vector<std::string>& folders, const std::vector<std::string>& files);

struct DiscOptions {
    std::string discDir;     // made afresh
    std::string gameDir;     // the generated game folder (system.pkd, SOUND\, its empty folders)
    std::string setupProgram;
    std::string gameProgram;
    LabelPainter label;
};

// Writes the whole disc. False with a reason on the first failure.
bool writeDisc(const DiscOptions& options, std::string& error);

} // namespace demo
