#include "platform/InstallFiles.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::install {

PathKind kindOf(const std::string& path)
{
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0)
        return PathKind::Missing;
    if (S_ISLNK(st.st_mode))
        return PathKind::Link;
    if (S_ISDIR(st.st_mode))
        return PathKind::Directory;
    if (S_ISREG(st.st_mode))
        return PathKind::File;
    return PathKind::Other;
}

int makeDirectory(const std::string& path)
{
    return ::mkdir(path.c_str(), 0755) == 0 ? 0 : errno;
}

bool makeOwnerWritable(const std::string& path)
{
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0 || S_ISLNK(st.st_mode))
        return false;
    if (st.st_mode & S_IWUSR)
        return true;
    return ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

int copyFile(const std::string& src, const std::string& dst, bool overwrite)
{
    int in = ::open(src.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return errno;
    struct stat st{};
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        int e = S_ISDIR(st.st_mode) ? EISDIR : (errno ? errno : EINVAL);
        ::close(in);
        return e;
    }
    std::string tmp = dst + ".setup-XXXXXX";
    int out = ::mkstemp(tmp.data());
    if (out < 0) {
        int e = errno;
        ::close(in);
        return e;
    }
    int err = 0;
    char buf[1 << 16];
    for (;;) {
        ssize_t n = ::read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            err = errno;
            break;
        }
        if (n == 0)
            break;
        for (ssize_t done = 0; done < n;) {
            ssize_t w = ::write(out, buf + done, size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0) {
                err = w < 0 ? errno : EIO;
                break;
            }
            done += w;
        }
        if (err)
            break;
    }
    ::close(in);
    if (!err && ::fchmod(out, (st.st_mode & 0777) | S_IWUSR) != 0)
        err = errno;
    if (!err && ::fsync(out) != 0)
        err = errno;
    if (::close(out) != 0 && !err)
        err = errno;
    if (!err) {
        if (overwrite) {
            if (::rename(tmp.c_str(), dst.c_str()) != 0)
                err = errno;
        } else if (::link(tmp.c_str(), dst.c_str()) != 0) {
            err = errno;
        }
    }
    if (err || !overwrite)
        ::unlink(tmp.c_str());
    return err;
}

bool removeFile(const std::string& path)
{
    if (kindOf(path) == PathKind::Directory)
        return false;
    return ::unlink(path.c_str()) == 0;
}

bool removeDirectory(const std::string& path)
{
    if (kindOf(path) != PathKind::Directory)
        return false;
    return ::rmdir(path.c_str()) == 0;
}

bool noLinksBelow(const std::string& root, const std::vector<std::string>& parts)
{
    std::string p = root;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        p += "/" + parts[i];
        const PathKind k = kindOf(p);
        if (k == PathKind::Missing)
            return true;
        if (k != PathKind::Directory)
            return false;
    }
    return true;
}

std::string currentDirectory()
{
    char buf[PATH_MAX];
    if (!::getcwd(buf, sizeof buf))
        return {};
    return buf;
}

std::string canonical(const std::string& path)
{
    char buf[PATH_MAX];
    if (!::realpath(path.c_str(), buf))
        return path;
    return buf;
}

} // namespace platform::install
