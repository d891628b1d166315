#include "resources/PackArchive.h"

#include "platform/Clock.h"
#include "platform/DebugOutput.h"
#include "platform/Files.h"

#include <cstdio>

namespace {
constexpr int kAttempts = 10;
constexpr int kStepRetries = 10;
constexpr uint32_t kPauseMs = 100;
} // namespace

CPackArchive::CPackArchive(platform::Clock* clock, ReadPolicy policy) : clock_(clock), policy_(policy) {}

bool CPackArchive::Open(const std::string& path)
{
    path_ = path;
    pack::Directory dir = pack::readDirectory(platform::files::hostPath(path_));
    if (dir.status == pack::DirectoryStatus::CannotOpen || dir.status == pack::DirectoryStatus::BadMagic)
        return false;
    count_ = dir.count;
    if (dir.status == pack::DirectoryStatus::Truncated) {
        // A directory cut short means the file itself is damaged; the caller reports it
        // as a bad archive rather than playing on with half of the entries.
        platform::debugOutput("ADV_SYSTEM: CPackArchive::Open : directory cut short in " + path_ + "\n");
        return false;
    }
    if (dir.unnamedRecords > 0)
        platform::debugOutput("ADV_SYSTEM: CPackArchive::Open : " + std::to_string(dir.unnamedRecords) +
                              " records without a name end skipped in " + path_ + "\n");
    for (pack::Record& r : dir.records) {
        std::string key = pack::upperName(r.name);
        PackEntry& e = directory_[key];
        e.name = key;
        e.size = r.size;
        e.offset = r.offset;
        e.readable = r.readable;
    }
    return true;
}

const PackEntry* CPackArchive::find(std::string_view name) const
{
    // Lookups are frequent and names short: upper-case into a stack buffer, not a new string.
    char buf[256];
    std::map<std::string, PackEntry, std::less<>>::const_iterator it;
    if (name.size() <= sizeof buf) {
        pack::upperInto(name, buf);
        it = directory_.find(std::string_view(buf, name.size()));
    } else {
        it = directory_.find(pack::upperName(name));
    }
    return it == directory_.end() ? nullptr : &it->second;
}

int32_t CPackArchive::GetSize(std::string_view name) const
{
    const PackEntry* e = find(name);
    if (!e || !e->readable)
        return -1;
    return e->size;
}

int32_t CPackArchive::Read(std::string_view name, void* dest) const
{
    const PackEntry* e = find(name);
    // An entry whose data lies outside the file can never be read: no retries for it.
    if (!e || !e->readable)
        return -1;
    int32_t n = policy_ == ReadPolicy::Retrying ? readRetrying(*e, dest) : readOnce(*e, dest);
    if (n < 0)
        return -1;
    pack::descramble(static_cast<uint8_t*>(dest), size_t(n));
    return n;
}

void CPackArchive::pause() const
{
    if (clock_) {
        clock_->sleep(kPauseMs);
        return;
    }
    static platform::SystemClock systemClock;
    systemClock.sleep(kPauseMs);
}

int32_t CPackArchive::readRetrying(const PackEntry& e, void* dest) const
{
    const size_t size = size_t(e.size);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::FILE* f = platform::files::open(platform::files::hostPath(path_), "rb");
        if (!f)
            continue;
        bool sought = false;
        for (int i = 0; i < kStepRetries && !sought; ++i) {
            sought = std::fseek(f, long(e.offset), SEEK_SET) == 0;
            if (!sought)
                pause();
        }
        if (!sought) {
            std::fclose(f);
            pause();
            continue;
        }
        bool complete = false;
        for (int i = 0; i < kStepRetries && !complete; ++i) {
            // A short read has moved the file position: each retry starts at the entry again.
            std::clearerr(f);
            complete = std::fseek(f, long(e.offset), SEEK_SET) == 0 && std::fread(dest, 1, size, f) == size;
            if (!complete)
                pause();
        }
        std::fclose(f);
        if (complete)
            return e.size;
        pause();
    }
    return -1;
}

int32_t CPackArchive::readOnce(const PackEntry& e, void* dest) const
{
    std::FILE* f = platform::files::open(platform::files::hostPath(path_), "rb");
    if (!f)
        return -1;
    const size_t size = size_t(e.size);
    bool ok = std::fseek(f, long(e.offset), SEEK_SET) == 0 && std::fread(dest, 1, size, f) == size;
    std::fclose(f);
    // A short read is a failure here too: a half-filled buffer handed on as a whole entry
    // would install a damaged file.
    return ok ? e.size : -1;
}
