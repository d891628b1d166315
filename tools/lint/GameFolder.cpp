#include "tools/lint/GameFolder.h"

#include "platform/Files.h"
#include "platform/Text.h"
#include "resources/PackFormat.h"
#include "sound/WavReader.h"
#include "tools/pkd/PictureCheck.h"

#include <vorbis/vorbisfile.h>

#include <cstdio>

namespace {
// The interface sounds are read whole; a larger file is no interface sound.
constexpr size_t kMaxWavBytes = 64u << 20;
} // namespace

bool GameFolder::open(const std::string& hostDir, std::string& why)
{
    dir_ = hostDir.empty() ? "." : hostDir;
    if (!platform::files::isDirectory(dir_)) {
        why = dir_ + ": not a folder";
        return false;
    }
    const std::string archivePath = hostPathOf("system.pkd");
    const pack::Directory dir = pack::readDirectory(archivePath);
    switch (dir.status) {
    case pack::DirectoryStatus::CannotOpen:
        why = dir_ + ": no readable system.pkd";
        return false;
    case pack::DirectoryStatus::BadMagic:
        why = archivePath + ": not a package archive (no \"PACK\" magic)";
        return false;
    case pack::DirectoryStatus::Truncated:
        why = archivePath + ": the archive ends inside its directory";
        return false;
    case pack::DirectoryStatus::Ok:
        break;
    }
    // The reader resolves its path as a game path; an absolute host path stays itself.
    if (!archive_.Open(platform::utf8ToSjis(archivePath))) {
        why = archivePath + ": the archive cannot be opened";
        return false;
    }
    for (const pack::Record& r : dir.records)
        packedNames_.push_back(r.name);
    return true;
}

std::vector<std::string> GameFolder::entriesIn(std::string_view folder) const
{
    const std::string upperFolder = pack::upperName(folder);
    std::vector<std::string> names;
    // A later record of the same name (in any case) replaces the earlier one, as in the game.
    std::map<std::string, size_t> seen;
    for (const std::string& n : packedNames_) {
        if (n.size() <= folder.size() || pack::upperName(n.substr(0, folder.size())) != upperFolder ||
            archive_.GetSize(n) < 0)
            continue;
        const auto [it, fresh] = seen.emplace(pack::upperName(n), names.size());
        if (fresh)
            names.push_back(n.substr(folder.size()));
        else
            names[it->second] = n.substr(folder.size());
    }
    return names;
}

bool GameFolder::read(std::string_view entry, std::vector<uint8_t>& bytes) const
{
    const int32_t size = archive_.GetSize(entry);
    if (size < 0)
        return false;
    bytes.assign(size_t(size) + 1, 0);
    if (archive_.Read(entry, bytes.data()) != size)
        return false;
    bytes.resize(size_t(size));
    return true;
}

const std::string& GameFolder::pictureProblem(const std::string& entry)
{
    const std::string key = pack::upperName(entry);
    auto it = pictures_.find(key);
    if (it != pictures_.end())
        return it->second;
    std::string problem;
    std::vector<uint8_t> bytes;
    if (!hasEntry(entry))
        problem = "is not in system.pkd";
    else if (!read(entry, bytes))
        problem = "cannot be read from system.pkd";
    else if (std::string why = ::pictureProblem(entry, bytes.data(), bytes.size()); !why.empty())
        problem = "is " + why;
    return pictures_.emplace(key, problem).first->second;
}

const std::string& GameFolder::soundProblem(const std::string& path)
{
    const std::string key = pack::upperName(path);
    auto it = sounds_.find(key);
    if (it != sounds_.end())
        return it->second;
    std::string problem;
    const std::string host = hostPathOf(path);
    const bool wav = key.size() >= 4 && key.compare(key.size() - 4, 4, ".WAV") == 0;
    if (!platform::files::exists(host) || platform::files::isDirectory(host)) {
        problem = "is not in the game folder";
    } else if (wav) {
        std::vector<uint8_t> bytes;
        WaveFormat format;
        std::vector<uint8_t> data;
        std::string why;
        if (!platform::files::readFile(host, bytes, kMaxWavBytes) || bytes.empty())
            problem = "cannot be read";
        else if (!parseWav(bytes.data(), bytes.size(), format, data, why))
            problem = "is a WAV the game refuses (" + why + ")";
    } else if (std::FILE* f = std::fopen(host.c_str(), "rb")) {
        // Only the headers are read: enough to know the stream opens as it does in the game.
        OggVorbis_File vf;
        if (ov_test(f, &vf, nullptr, 0) != 0) {
            std::fclose(f);
            problem = "is not an Ogg Vorbis stream the game can play";
        } else {
            ov_clear(&vf);
        }
    } else {
        problem = "cannot be read";
    }
    return sounds_.emplace(key, problem).first->second;
}

std::string GameFolder::hostPathOf(std::string_view sjisPath) const
{
    return platform::files::hostPath(sjisPath, dir_);
}
