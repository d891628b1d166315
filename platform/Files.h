#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace platform::files {

// The folder of the running executable (UTF-8, no trailing slash). The headless runner
// and tests point it at a game folder of their own.
const std::string& programDir();
void setProgramDir(const std::string& hostDir);

// A Shift-JIS path as the game writes it ("SAVE\\1.dat", "SOUND\\SE\\a.wav") turned into a
// host path: backslashes become '/', names become UTF-8, and each existing component is
// looked up without regard to ASCII case, so files copied from a case-insensitive disc
// are found. Components that do not exist yet are kept as written.
// A relative path is taken from baseDir ("" = the current directory).
std::string hostPath(std::string_view sjisPath, const std::string& baseDir = "");

// hostPath relative to the program folder.
std::string programPath(std::string_view sjisPath);

// Opens a host path with C stdio; nullptr on failure.
std::FILE* open(const std::string& hostPath, const char* mode);

bool exists(const std::string& hostPath);
bool isDirectory(const std::string& hostPath);
bool makeDirectories(const std::string& hostPath);
// The file's last modification as seconds since 1970 (UTC); false when it cannot be asked.
bool modificationTime(const std::string& hostPath, int64_t& seconds);

// Reads at most maxBytes of a file.
bool readFile(const std::string& hostPath, std::vector<uint8_t>& out, size_t maxBytes = SIZE_MAX);

// Writes a whole file through a temporary file in the same folder and a rename, so a crash
// leaves either the old file or the new one, never half of one.
bool writeFileAtomic(const std::string& hostPath, const void* data, size_t size);

} // namespace platform::files
