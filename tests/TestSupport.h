#pragma once
// Helpers shared by the test programs.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under the build's test area, removed when the object goes.
class TempDir {
public:
    TempDir()
    {
        const char* base = std::getenv("SORAFUNE_TEST_TMP");
        std::filesystem::path root = base ? base : std::filesystem::temp_directory_path();
        std::filesystem::create_directories(root);
        std::random_device rd;
        for (;;) {
            path_ = root / ("t" + std::to_string(rd()));
            if (std::filesystem::create_directory(path_))
                break;
        }
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline std::vector<uint8_t> readAll(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

inline void writeAll(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline void writeText(const std::string& path, const std::string& text)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << text;
}

// Makes a folder the current one for the life of the object (the game opens "system.pkd"
// from the current folder, as it is started from its own folder).
class CurrentDir {
public:
    explicit CurrentDir(const std::filesystem::path& p) : old_(std::filesystem::current_path())
    {
        std::filesystem::current_path(p);
    }
    ~CurrentDir()
    {
        std::error_code ec;
        std::filesystem::current_path(old_, ec);
    }

private:
    std::filesystem::path old_;
};

// A valid archive with no entries: enough for start-up to get past opening its package.
inline void writeEmptyArchive(const std::string& path)
{
    writeAll(path, {'P', 'A', 'C', 'K', 0, 0, 0, 0});
}

} // namespace testsupport
