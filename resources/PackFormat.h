#pragma once
// The byte layout of a ".pkd" package archive, shared by the reader and the pkd tool.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pack {

inline constexpr char kMagic[4] = {'P', 'A', 'C', 'K'};
inline constexpr size_t kHeaderSize = 8;
inline constexpr size_t kRecordSize = 136;
inline constexpr size_t kNameField = 128;

// The one scrambling key of every archive this project reads and writes. Changing it makes
// every existing archive unreadable.
inline constexpr uint8_t kScrambleKey = 0xA7;

inline uint8_t descrambleByte(uint8_t stored)
{
    return uint8_t(uint8_t(stored + 128) ^ kScrambleKey);
}
inline uint8_t scrambleByte(uint8_t plain)
{
    return uint8_t(uint8_t(plain ^ kScrambleKey) + 128);
}
void descramble(uint8_t* bytes, size_t count);
void scramble(uint8_t* bytes, size_t count);

// Names are matched after the C library's toupper on every byte (default locale: only a-z
// change), Shift-JIS trail bytes included, so a name matches whatever case it was packed in.
std::string upperName(std::string_view name);
// The same into out, which holds name.size() bytes.
void upperInto(std::string_view name, char* out);

// One directory record as stored (name in its packed case).
struct Record {
    std::string name;
    int32_t size = 0;
    int32_t offset = 0;
    // False when the record's data lies outside the file or its size or offset is negative.
    bool readable = false;
};

enum class DirectoryStatus {
    Ok,
    CannotOpen,
    BadMagic,
    Truncated, // the file ends inside the directory
};

struct Directory {
    DirectoryStatus status = DirectoryStatus::CannotOpen;
    int32_t count = 0;       // the count field as stored
    int64_t fileSize = 0;
    std::vector<Record> records; // in file order; records without a name end are left out
    int32_t unnamedRecords = 0;  // records whose name field holds no NUL
};

// Reads the header and directory of the archive at a host path.
Directory readDirectory(const std::string& hostPath);

} // namespace pack
