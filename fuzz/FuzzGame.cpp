#include "FuzzGame.h"

#include "platform/Files.h"
#include "tools/pkd/PackWriter.h"

#include <cstdlib>
#include <filesystem>
#include <random>

std::unique_ptr<CDirectX> openFuzzGame(platform::HeadlessBackend& backend, const std::string& folderTag,
                                       const ArchiveEntries& entries, const std::vector<std::string>& subfolders)
{
    const char* base = std::getenv("SORAFUNE_TEST_TMP");
    const std::filesystem::path dir = (base ? std::filesystem::path(base) : std::filesystem::temp_directory_path()) /
                                      (folderTag + "-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    for (const std::string& sub : subfolders)
        std::filesystem::create_directories(dir / sub);
    std::filesystem::current_path(dir);
    platform::files::setProgramDir(dir.string());

    PackWriter w;
    for (const auto& [name, bytes] : entries)
        w.addBytes(name, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    std::string error;
    if (!w.write((dir / "system.pkd").string(), error))
        std::abort();

    auto engine = std::make_unique<CDirectX>(backend.services);
    if (!engine->archive.Open("system.pkd"))
        std::abort();
    return engine;
}
