#pragma once
#include "resources/PackFormat.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace platform {
class Clock;
}

struct PackEntry {
    std::string name; // upper-cased
    int32_t size = 0;
    int32_t offset = 0;
    bool readable = true; // false: the data lies outside the file; never read
};

// A package archive: its directory, loaded once by Open, and reads that open the file anew
// each time, so several threads may read at once without a lock.
class CPackArchive {
public:
    enum class ReadPolicy {
        // The game: a slow or busy disc gets ten attempts of up to eleven 100 ms pauses.
        Retrying,
        // The installer: one attempt.
        SingleAttempt,
    };

    // clock: where the retry pauses sleep; null sleeps on the real clock.
    explicit CPackArchive(platform::Clock* clock = nullptr, ReadPolicy policy = ReadPolicy::Retrying);

    // path is a game path (Shift-JIS, '\\' separators, relative to the current directory),
    // kept as given and resolved again on every read. True when the magic matched.
    bool Open(const std::string& path);

    // The entry's size in bytes; -1 when no readable entry has that name.
    int32_t GetSize(std::string_view name) const;

    // Reads the whole entry into dest (at least GetSize bytes) and de-scrambles it.
    // Returns the size, or -1; after -1 the content of dest is undefined.
    int32_t Read(std::string_view name, void* dest) const;

    const std::string& path() const { return path_; }
    int32_t count() const { return count_; }
    const std::map<std::string, PackEntry, std::less<>>& entries() const { return directory_; }
    ReadPolicy policy() const { return policy_; }

private:
    const PackEntry* find(std::string_view name) const;
    int32_t readRetrying(const PackEntry& e, void* dest) const;
    int32_t readOnce(const PackEntry& e, void* dest) const;
    void pause() const;

    platform::Clock* clock_;
    ReadPolicy policy_;
    std::string path_;
    int32_t count_ = 0;
    std::map<std::string, PackEntry, std::less<>> directory_;
};
