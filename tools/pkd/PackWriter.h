#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes a package archive: header, the whole directory, then every entry's data in the
// order added, all of it scrambled except the magic and the count.
class PackWriter {
public:
    // name: the entry name as the game asks for it (Shift-JIS, '\\' separators).
    void addBytes(const std::string& name, std::vector<uint8_t> bytes);
    // The data is read from a host file when the archive is written.
    void addFile(const std::string& name, const std::string& hostPath);

    // Checks the names (shorter than 128 bytes, no two alike once upper-cased) and the total
    // size (offsets are signed 32-bit), then writes the archive through a temporary file and a
    // rename: the result is the whole archive or nothing. On failure error says why (UTF-8).
    bool write(const std::string& hostPath, std::string& error) const;

    // The same archive in memory.
    bool build(std::vector<uint8_t>& out, std::string& error) const;

    size_t size() const { return entries_.size(); }

private:
    struct Entry {
        std::string name;
        std::string hostPath; // empty: bytes
        std::vector<uint8_t> bytes;
        uint64_t size = 0;
    };
    bool layout(std::vector<Entry>& entries, std::vector<uint8_t>& head, std::string& error) const;

    std::vector<Entry> entries_;
};
