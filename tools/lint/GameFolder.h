#pragma once
// The game folder as the checker sees it: "system.pkd" and the loose sound folders. Answers
// whether an entry or a sound file is there and whether the game can show or play it; each
// answer is worked out once.
#include "resources/PackArchive.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

class GameFolder {
public:
    // Opens hostDir/system.pkd. False with why (UTF-8) when the folder or the archive cannot
    // be read.
    bool open(const std::string& hostDir, std::string& why);

    const CPackArchive& archive() const { return archive_; }

    // Entry names (Shift-JIS, as packed) below a folder of the archive ("SCP\\"), without the
    // folder, in archive order.
    std::vector<std::string> entriesIn(std::string_view folder) const;
    bool hasEntry(std::string_view entry) const { return archive_.GetSize(entry) >= 0; }
    bool read(std::string_view entry, std::vector<uint8_t>& bytes) const;

    // Empty when the entry is a picture the game can show; else what is wrong (UTF-8).
    const std::string& pictureProblem(const std::string& entry);
    // The same for a loose file below the game folder ("SOUND\\BGM\\a.ogg"): an Ogg Vorbis
    // stream, or a WAV the interface-sound reader takes when the name ends in ".wav".
    const std::string& soundProblem(const std::string& path);

    // A game path below the folder as a host path.
    std::string hostPathOf(std::string_view sjisPath) const;

private:
    std::string dir_;
    CPackArchive archive_{nullptr, CPackArchive::ReadPolicy::SingleAttempt};
    std::vector<std::string> packedNames_;
    std::map<std::string, std::string, std::less<>> pictures_;
    std::map<std::string, std::string, std::less<>> sounds_;
};
