#include "tools/pkd/PackWriter.h"

#include "platform/Text.h"
#include "resources/PackFormat.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void putInt32(uint8_t* p, int32_t v)
{
    uint32_t u = uint32_t(v);
    p[0] = uint8_t(u);
    p[1] = uint8_t(u >> 8);
    p[2] = uint8_t(u >> 16);
    p[3] = uint8_t(u >> 24);
}

} // namespace

void PackWriter::addBytes(const std::string& name, std::vector<uint8_t> bytes)
{
    Entry e;
    e.name = name;
    e.size = bytes.size();
    e.bytes = std::move(bytes);
    entries_.push_back(std::move(e));
}

void PackWriter::addFile(const std::string& name, const std::string& hostPath)
{
    Entry e;
    e.name = name;
    e.hostPath = hostPath;
    entries_.push_back(std::move(e));
}

bool PackWriter::layout(std::vector<Entry>& entries, std::vector<uint8_t>& head, std::string& error) const
{
    entries = entries_;
    std::set<std::string> seen;
    for (Entry& e : entries) {
        std::string shown = platform::sjisToUtf8(e.name);
        if (e.name.empty()) {
            error = "empty entry name";
            return false;
        }
        if (e.name.size() >= pack::kNameField) {
            error = "entry name is " + std::to_string(e.name.size()) + " bytes in Shift-JIS; at most " +
                    std::to_string(pack::kNameField - 1) + " fit: " + shown;
            return false;
        }
        if (e.name.find('\0') != std::string::npos) {
            error = "entry name holds a NUL byte: " + shown;
            return false;
        }
        // The reader keeps one entry per upper-cased name: a second one would silently hide
        // the first.
        if (!seen.insert(pack::upperName(e.name)).second) {
            error = "two entries differ only in letter case: " + shown;
            return false;
        }
        if (!e.hostPath.empty()) {
            std::error_code ec;
            e.size = fs::file_size(e.hostPath, ec);
            if (ec) {
                error = "cannot read " + e.hostPath + ": " + ec.message();
                return false;
            }
        }
    }

    uint64_t pos = pack::kHeaderSize + uint64_t(pack::kRecordSize) * entries.size();
    head.assign(size_t(pos), 0);
    std::memcpy(head.data(), pack::kMagic, 4);
    putInt32(&head[4], int32_t(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        if (pos + e.size > uint64_t(INT32_MAX)) {
            error = "the archive would exceed 2 GiB, which its 32-bit offsets cannot address";
            return false;
        }
        uint8_t* rec = &head[pack::kHeaderSize + i * pack::kRecordSize];
        std::memcpy(rec, e.name.data(), e.name.size());
        putInt32(rec + 128, int32_t(e.size));
        putInt32(rec + 132, int32_t(pos));
        pack::scramble(rec, pack::kRecordSize);
        pos += e.size;
    }
    return true;
}

bool PackWriter::build(std::vector<uint8_t>& out, std::string& error) const
{
    std::vector<Entry> entries;
    if (!layout(entries, out, error))
        return false;
    for (const Entry& e : entries) {
        std::vector<uint8_t> data = e.bytes;
        if (!e.hostPath.empty()) {
            std::ifstream in(e.hostPath, std::ios::binary);
            data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            if (!in.eof() && in.fail()) {
                error = "cannot read " + e.hostPath;
                return false;
            }
        }
        if (data.size() != e.size) {
            error = "file changed while packing: " + e.hostPath;
            return false;
        }
        pack::scramble(data.data(), data.size());
        out.insert(out.end(), data.begin(), data.end());
    }
    return true;
}

bool PackWriter::write(const std::string& hostPath, std::string& error) const
{
    std::vector<Entry> entries;
    std::vector<uint8_t> head;
    if (!layout(entries, head, error))
        return false;

    std::string tmp = hostPath + ".tmp" + std::to_string(::getpid());
    bool ok = true;
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) {
            error = "cannot create " + tmp;
            return false;
        }
        out.write(reinterpret_cast<const char*>(head.data()), std::streamsize(head.size()));
        std::vector<uint8_t> chunk(1 << 16);
        for (const Entry& e : entries) {
            if (!ok || !out)
                break;
            if (e.hostPath.empty()) {
                std::vector<uint8_t> data = e.bytes;
                pack::scramble(data.data(), data.size());
                out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
                continue;
            }
            std::ifstream in(e.hostPath, std::ios::binary);
            uint64_t left = e.size;
            while (in && left > 0) {
                size_t want = size_t(std::min<uint64_t>(chunk.size(), left));
                in.read(reinterpret_cast<char*>(chunk.data()), std::streamsize(want));
                size_t got = size_t(in.gcount());
                pack::scramble(chunk.data(), got);
                out.write(reinterpret_cast<const char*>(chunk.data()), std::streamsize(got));
                left -= got;
            }
            if (left != 0 || in.peek() != std::char_traits<char>::eof()) {
                error = "file changed while packing: " + e.hostPath;
                ok = false;
            }
        }
        out.flush();
        if (ok && !out) {
            error = "cannot write " + tmp;
            ok = false;
        }
    }
    if (ok && std::rename(tmp.c_str(), hostPath.c_str()) != 0) {
        error = "cannot rename " + tmp + " to " + hostPath;
        ok = false;
    }
    if (!ok)
        std::remove(tmp.c_str());
    return ok;
}
