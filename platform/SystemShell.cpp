#include "platform/Shell.h"

#include "platform/Files.h"
#include "platform/Text.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

std::string findProgram(const char* name)
{
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::stringstream ss(dirs);
    std::string dir;
    while (std::getline(ss, dir, ':')) {
        if (dir.empty())
            continue;
        std::string candidate = dir + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

// Runs a program without a shell (so no quoting of the title or the folder is needed) and
// returns its exit status and standard output; -1 when it could not run.
int runCapture(const std::vector<std::string>& args, std::string& out)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return -1;
    }
    if (pid == 0) {
        ::dup2(fds[1], 1);
        ::close(fds[0]);
        ::close(fds[1]);
        int devnull = ::open("/dev/null", O_WRONLY);
        if (devnull >= 0)
            ::dup2(devnull, 2);
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fds[0], buf, sizeof buf)) > 0 && out.size() < 65536)
        out.append(buf, size_t(n));
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string unescapeMountField(std::string_view s)
{
    std::string r;
    for (size_t i = 0; i < s.size(); ++i) {
        auto octal = [&](size_t k) { return s[k] >= '0' && s[k] <= '7'; };
        if (s[i] == '\\' && s.size() - i >= 4 && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
            r += char((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            r += s[i];
        }
    }
    return r;
}

bool under(const std::string& path, const std::string& mountPoint)
{
    if (mountPoint == "/")
        return !path.empty() && path[0] == '/';
    return path == mountPoint || path.compare(0, mountPoint.size() + 1, mountPoint + "/") == 0;
}

std::string readSmallFile(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (!files::readFile(path, bytes, 1 << 20))
        return {};
    return std::string(bytes.begin(), bytes.end());
}

bool removableDevice(const std::string& device)
{
    if (device.empty() || device.compare(0, 2, "0:") == 0)
        return false; // no block device behind it (tmpfs, overlay)
    for (const char* rel : {"/removable", "/../removable"}) {
        std::string v = readSmallFile("/sys/dev/block/" + device + rel);
        if (!v.empty())
            return v[0] == '1';
    }
    return false;
}

class SystemShell final : public Shell {
public:
    FolderAnswer chooseFolder(const std::string& titleSjis, const std::string& startDir) override
    {
        const std::string title = sjisToUtf8(titleSjis);
        std::vector<std::string> args;
        if (std::string zenity = findProgram("zenity"); !zenity.empty())
            args = {zenity, "--file-selection", "--directory", "--title=" + title, "--filename=" + startDir + "/"};
        else if (std::string kdialog = findProgram("kdialog"); !kdialog.empty())
            args = {kdialog, "--title", title, "--getexistingdirectory", startDir};
        else
            return FolderAnswer{FolderAnswer::Kind::NoChooser, {}};
        std::string out;
        int status = runCapture(args, out);
        while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
            out.pop_back();
        if (status == 0 && !out.empty())
            return FolderAnswer{FolderAnswer::Kind::Chosen, out};
        if (status == 1)
            return FolderAnswer{FolderAnswer::Kind::Cancelled, {}};
        // The chooser could not open (no display it can use): ask in the window instead.
        return FolderAnswer{FolderAnswer::Kind::NoChooser, {}};
    }

    bool onFixedDisk(const std::string& hostPath) override
    {
        std::string p = hostPath;
        char real[PATH_MAX];
        while (!p.empty() && !::realpath(p.c_str(), real)) {
            size_t slash = p.find_last_of('/');
            if (slash == std::string::npos)
                return false;
            p = slash == 0 ? std::string("/") : p.substr(0, slash);
        }
        if (p.empty())
            return false;
        struct statvfs vfs{};
        if (::statvfs(real, &vfs) == 0 && (vfs.f_flag & ST_RDONLY))
            return false;
        const MountFacts m = mountOf(readSmallFile("/proc/self/mountinfo"), real);
        if (!m.found)
            return true; // no mount table to ask: trust the writable check above
        return isFixedMount(m, removableDevice(m.device));
    }
};

} // namespace

MountFacts mountOf(std::string_view mountinfo, const std::string& path)
{
    MountFacts best;
    size_t pos = 0;
    while (pos < mountinfo.size()) {
        size_t end = mountinfo.find('\n', pos);
        if (end == std::string_view::npos)
            end = mountinfo.size();
        std::string_view line = mountinfo.substr(pos, end - pos);
        pos = end + 1;
        std::vector<std::string_view> f;
        size_t i = 0;
        while (i < line.size()) {
            size_t sp = line.find(' ', i);
            if (sp == std::string_view::npos)
                sp = line.size();
            if (sp > i)
                f.push_back(line.substr(i, sp - i));
            i = sp + 1;
        }
        size_t dash = 0;
        for (size_t k = 6; k < f.size(); ++k)
            if (f[k] == "-") {
                dash = k;
                break;
            }
        if (f.size() < 6 || dash == 0 || dash + 1 >= f.size())
            continue;
        const std::string mountPoint = unescapeMountField(f[4]);
        if (!under(path, mountPoint))
            continue;
        // Longer mount points are nearer; among equal ones the later mount hides the earlier.
        if (best.found && mountPoint.size() < best.mountPoint.size())
            continue;
        best.found = true;
        best.mountPoint = mountPoint;
        best.device = std::string(f[2]);
        best.fsType = std::string(f[dash + 1]);
        const std::string options = "," + std::string(f[5]) + ",";
        best.readOnly = options.find(",ro,") != std::string::npos;
    }
    return best;
}

bool isFixedMount(const MountFacts& m, bool removableDevice)
{
    if (m.readOnly || removableDevice)
        return false;
    for (const char* optical : {"iso9660", "udf", "squashfs", "cramfs", "erofs"})
        if (m.fsType == optical)
            return false;
    return true;
}

std::unique_ptr<Shell> createSystemShell()
{
    return std::make_unique<SystemShell>();
}

} // namespace platform
