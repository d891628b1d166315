#include "resources/PackFormat.h"

#include "platform/Files.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace pack {

void descramble(uint8_t* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        bytes[i] = descrambleByte(bytes[i]);
}

void scramble(uint8_t* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        bytes[i] = scrambleByte(bytes[i]);
}

namespace {
// toupper of every byte value, taken once: the program never changes its locale, so this is
// the C library's answer without a call per byte.
const std::array<char, 256>& upperTable()
{
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[size_t(i)] = char(std::toupper(i));
        return t;
    }();
    return table;
}
} // namespace

void upperInto(std::string_view name, char* out)
{
    const std::array<char, 256>& t = upperTable();
    for (size_t i = 0; i < name.size(); ++i)
        out[i] = t[static_cast<unsigned char>(name[i])];
}

std::string upperName(std::string_view name)
{
    std::string out(name.size(), '\0');
    upperInto(name, out.data());
    return out;
}

static int32_t readInt32(const uint8_t* p)
{
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

Directory readDirectory(const std::string& hostPath)
{
    Directory dir;
    std::FILE* f = platform::files::open(hostPath, "rb");
    if (!f) {
        dir.status = DirectoryStatus::CannotOpen;
        return dir;
    }
    uint8_t header[kHeaderSize];
    if (std::fread(header, 1, kHeaderSize, f) != kHeaderSize || std::memcmp(header, kMagic, 4) != 0) {
        std::fclose(f);
        dir.status = DirectoryStatus::BadMagic;
        return dir;
    }
    dir.count = readInt32(header + 4);
    if (std::fseek(f, 0, SEEK_END) == 0) {
        long end = std::ftell(f);
        dir.fileSize = end < 0 ? 0 : end;
    }
    std::fseek(f, long(kHeaderSize), SEEK_SET);

    dir.status = DirectoryStatus::Ok;
    if (dir.count > 0) {
        // The count comes from the file: a directory longer than the file is damaged, and is
        // known to be before anything is read or allocated for it.
        const uint64_t bytes = uint64_t(dir.count) * kRecordSize;
        std::vector<uint8_t> block;
        if (kHeaderSize + bytes > uint64_t(dir.fileSize)) {
            dir.status = DirectoryStatus::Truncated;
        } else {
            block.resize(size_t(bytes));
            if (std::fread(block.data(), 1, block.size(), f) != block.size())
                dir.status = DirectoryStatus::Truncated;
        }
        if (dir.status == DirectoryStatus::Ok) {
            descramble(block.data(), block.size());
            dir.records.reserve(size_t(dir.count));
            for (int32_t i = 0; i < dir.count; ++i) {
                const uint8_t* rec = block.data() + size_t(i) * kRecordSize;
                const void* nul = std::memchr(rec, 0, kNameField);
                if (!nul) {
                    // No name end inside the field: nothing that packs by these rules writes
                    // it, and the name cannot be told from the size and offset that follow.
                    ++dir.unnamedRecords;
                    continue;
                }
                Record r;
                r.name.assign(reinterpret_cast<const char*>(rec), size_t(static_cast<const uint8_t*>(nul) - rec));
                r.size = readInt32(rec + 128);
                r.offset = readInt32(rec + 132);
                r.readable = r.size >= 0 && r.offset >= 0 && int64_t(r.offset) + int64_t(r.size) <= dir.fileSize;
                dir.records.push_back(std::move(r));
            }
        }
    }
    std::fclose(f);
    return dir;
}

} // namespace pack
