#include "tools/pkd/PkdCommands.h"

#include "platform/Files.h"
#include "platform/Text.h"
#include "resources/PackArchive.h"
#include "resources/PackFormat.h"
#include "tools/pkd/PackWriter.h"
#include "tools/pkd/PictureCheck.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>

namespace fs = std::filesystem;

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const char kUsageText[] =
    "usage: pkd pack FOLDER OUT.pkd      pack every file under FOLDER\n"
    "       pkd list ARCHIVE             name, size and offset of every entry\n"
    "       pkd extract ARCHIVE FOLDER   write every entry under FOLDER\n"
    "       pkd cat ARCHIVE NAME         write one entry to standard output\n"
    "       pkd -h                       this text\n"
    "\n"
    "Entry names are the files' paths below FOLDER with '\\' between folders, stored in\n"
    "Shift-JIS (at most 127 bytes; pack leaves longer ones out with a warning); names are shown\n"
    "and taken in UTF-8. pack warns about PNG pictures the game cannot show. Lookups by NAME\n"
    "ignore the case of ASCII letters, as the game's do.\n"
    "Exit status: 0 done, 1 bad archive or I/O failure, 2 usage.\n";

const char* describe(pack::DirectoryStatus s)
{
    switch (s) {
    case pack::DirectoryStatus::CannotOpen:
        return "cannot open";
    case pack::DirectoryStatus::BadMagic:
        return "not a package archive (no \"PACK\" magic)";
    case pack::DirectoryStatus::Truncated:
        return "damaged: the file ends inside the directory";
    case pack::DirectoryStatus::Ok:
        break;
    }
    return "ok";
}

bool loadDirectory(const std::string& path, pack::Directory& dir, std::ostream& err)
{
    dir = pack::readDirectory(path);
    if (dir.status != pack::DirectoryStatus::Ok) {
        err << "pkd: " << path << ": " << describe(dir.status) << "\n";
        return false;
    }
    if (dir.unnamedRecords > 0)
        err << "pkd: " << path << ": " << dir.unnamedRecords << " records without a name end skipped\n";
    return true;
}

int packFolder(const std::string& folder, const std::string& outPath, std::ostream& out, std::ostream& err)
{
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        err << "pkd: " << folder << ": not a folder\n";
        return kFailed;
    }
    fs::path outAbs = fs::weakly_canonical(outPath, ec);
    std::vector<std::pair<std::string, std::string>> files; // relative UTF-8 name, host path
    fs::recursive_directory_iterator it(folder, ec), end;
    if (ec) {
        err << "pkd: " << folder << ": " << ec.message() << "\n";
        return kFailed;
    }
    for (; it != end; it.increment(ec)) {
        if (ec) {
            err << "pkd: " << folder << ": " << ec.message() << "\n";
            return kFailed;
        }
        if (!it->is_regular_file(ec))
            continue;
        if (fs::weakly_canonical(it->path(), ec) == outAbs)
            continue; // an earlier archive written into the folder itself
        std::string rel;
        for (const fs::path& part : fs::relative(it->path(), folder)) {
            if (part.string().find('\\') != std::string::npos) {
                err << "pkd: " << it->path().string() << ": a backslash in a file name would read as a folder\n";
                return kFailed;
            }
            if (!rel.empty())
                rel += '\\';
            rel += part.string();
        }
        files.emplace_back(rel, it->path().string());
    }
    std::sort(files.begin(), files.end());

    PackWriter writer;
    size_t leftOut = 0;
    for (const auto& [rel, host] : files) {
        std::string sjis = platform::utf8ToSjis(rel);
        if (platform::sjisToUtf8(sjis) != rel) {
            err << "pkd: " << rel << ": the name cannot be written in Shift-JIS\n";
            return kFailed;
        }
        // The game could never ask for such an entry; the rest of the archive is still worth having.
        if (sjis.size() >= pack::kNameField) {
            err << "pkd: warning: " << rel << ": the name is " << sjis.size() << " bytes in Shift-JIS, the archive holds "
                << pack::kNameField - 1 << "; left out\n";
            ++leftOut;
            continue;
        }
        if (isPictureEntry(sjis)) {
            std::vector<uint8_t> bytes;
            if (platform::files::readFile(host, bytes)) {
                const std::string problem = pictureProblem(sjis, bytes.data(), bytes.size());
                if (!problem.empty())
                    err << "pkd: warning: " << rel << ": the game cannot show it: it is " << problem << "\n";
            }
        }
        writer.addFile(sjis, host);
    }
    std::string error;
    if (!writer.write(outPath, error)) {
        err << "pkd: " << outPath << ": " << error << "\n";
        return kFailed;
    }
    out << "pkd: " << files.size() - leftOut << " entries written to " << outPath << "\n";
    return kOk;
}

int list(const std::string& path, std::ostream& out, std::ostream& err)
{
    pack::Directory dir;
    if (!loadDirectory(path, dir, err))
        return kFailed;
    int status = kOk;
    for (const pack::Record& r : dir.records) {
        out << platform::sjisToUtf8(r.name) << '\t' << r.size << '\t' << r.offset;
        if (!r.readable) {
            out << "\t(outside the file)";
            status = kFailed;
        }
        out << '\n';
    }
    return status;
}

// Splits an entry name into folder parts; false when the name would leave the target folder.
bool safeParts(const std::string& utf8Name, std::vector<std::string>& parts)
{
    parts.clear();
    std::string cur;
    for (size_t i = 0; i <= utf8Name.size(); ++i) {
        char c = i < utf8Name.size() ? utf8Name[i] : '\\';
        if (c == '\\' || c == '/') {
            // An empty part is a leading separator (an absolute path) or a doubled one.
            if (cur.empty() || cur == "." || cur == "..")
                return false;
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    return !parts.empty();
}

bool readRecord(const std::string& path, const pack::Record& r, std::vector<uint8_t>& data)
{
    data.assign(size_t(r.size), 0);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    bool ok = std::fseek(f, long(r.offset), SEEK_SET) == 0 && std::fread(data.data(), 1, data.size(), f) == data.size();
    std::fclose(f);
    pack::descramble(data.data(), data.size());
    return ok;
}

int extract(const std::string& path, const std::string& folder, std::ostream& out, std::ostream& err)
{
    pack::Directory dir;
    if (!loadDirectory(path, dir, err))
        return kFailed;
    int status = kOk;
    size_t written = 0;
    for (const pack::Record& r : dir.records) {
        std::string name = platform::sjisToUtf8(r.name);
        std::vector<std::string> parts;
        if (!safeParts(name, parts)) {
            err << "pkd: " << name << ": refused, the name leads outside " << folder << "\n";
            status = kFailed;
            continue;
        }
        std::vector<uint8_t> data;
        if (!r.readable || !readRecord(path, r, data)) {
            err << "pkd: " << name << ": cannot read the entry's data\n";
            status = kFailed;
            continue;
        }
        fs::path target = folder;
        for (const std::string& p : parts)
            target /= p;
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        std::ofstream f(target, std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
        f.close();
        if (!f) {
            err << "pkd: " << target.string() << ": cannot write\n";
            status = kFailed;
            continue;
        }
        ++written;
    }
    out << "pkd: " << written << " entries extracted to " << folder << "\n";
    return status;
}

int cat(const std::string& path, const std::string& name, std::ostream& out, std::ostream& err)
{
    pack::Directory dir;
    if (!loadDirectory(path, dir, err))
        return kFailed;
    CPackArchive archive(nullptr, CPackArchive::ReadPolicy::SingleAttempt);
    // The reader resolves Shift-JIS game paths; a host path survives the round trip.
    if (!archive.Open(platform::utf8ToSjis(path))) {
        err << "pkd: " << path << ": cannot open\n";
        return kFailed;
    }
    std::string sjisName = platform::utf8ToSjis(name);
    int32_t size = archive.GetSize(sjisName);
    if (size < 0) {
        err << "pkd: " << path << ": no entry " << name << "\n";
        return kFailed;
    }
    std::vector<uint8_t> data(size_t(size) + 1);
    if (archive.Read(sjisName, data.data()) != size) {
        err << "pkd: " << name << ": cannot read the entry's data\n";
        return kFailed;
    }
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(size));
    return out ? kOk : kFailed;
}

} // namespace

int pkdMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty() && (args[0] == "-h" || args[0] == "--help" || args[0] == "help")) {
        out << kUsageText;
        return kOk;
    }
    if (args.size() == 3 && args[0] == "pack")
        return packFolder(args[1], args[2], out, err);
    if (args.size() == 2 && args[0] == "list")
        return list(args[1], out, err);
    if (args.size() == 3 && args[0] == "extract")
        return extract(args[1], args[2], out, err);
    if (args.size() == 3 && args[0] == "cat")
        return cat(args[1], args[2], out, err);
    err << kUsageText;
    return kUsage;
}
