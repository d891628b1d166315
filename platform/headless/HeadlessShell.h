#pragma once
#include "platform/Shell.h"

#include <deque>
#include <set>
#include <vector>

namespace platform {

// Folder choices answered from a queue the test fills (Cancelled when empty), and a disk
// check that calls every path fixed except those below a folder the test names removable.
class HeadlessShell final : public Shell {
public:
    FolderAnswer chooseFolder(const std::string& titleSjis, const std::string& startDir) override
    {
        asked.push_back({titleSjis, startDir});
        if (answers.empty())
            return FolderAnswer{FolderAnswer::Kind::Cancelled, {}};
        FolderAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    bool onFixedDisk(const std::string& hostPath) override
    {
        for (const std::string& r : removable)
            if (hostPath == r || hostPath.compare(0, r.size() + 1, r + "/") == 0)
                return false;
        return true;
    }

    struct Asked {
        std::string title;
        std::string startDir;
    };
    std::deque<FolderAnswer> answers;
    std::vector<Asked> asked;
    std::set<std::string> removable;
};

} // namespace platform
