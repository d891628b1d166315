#pragma once
#include <memory>
#include <string>
#include <string_view>

namespace platform {

struct FolderAnswer {
    enum class Kind {
        Chosen,    // path holds the folder (UTF-8 host path)
        Cancelled, // the user closed the chooser
        NoChooser, // no folder chooser is installed; the caller asks in its own window
    };
    Kind kind = Kind::Cancelled;
    std::string path;
};

// The desktop's folder chooser and the kind of disk a folder lies on (the installer's
// folder dialog and its "fixed disk only" rule).
class Shell {
public:
    virtual ~Shell() = default;
    // titleSjis: the chooser's caption; startDir: the folder it opens in (host path).
    virtual FolderAnswer chooseFolder(const std::string& titleSjis, const std::string& startDir) = 0;
    // True when the folder (or, when it does not exist yet, its nearest existing parent)
    // lies on a writable, non-removable disk that is not an optical or read-only image.
    virtual bool onFixedDisk(const std::string& hostPath) = 0;
};

// zenity or kdialog when one is installed, the mount table and sysfs for the disk check.
std::unique_ptr<Shell> createSystemShell();

// The disk rule on its own, for the system shell and for tests: mountinfo is the text of
// /proc/self/mountinfo, path an existing absolute path with no symbolic links.
struct MountFacts {
    bool found = false;
    std::string mountPoint;
    std::string fsType;
    bool readOnly = false;
    std::string device; // "major:minor"
};
MountFacts mountOf(std::string_view mountinfo, const std::string& path);
// Optical and image file systems and read-only mounts are not fixed disks.
bool isFixedMount(const MountFacts& m, bool removableDevice);

} // namespace platform
