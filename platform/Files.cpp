#include "platform/Files.h"

#include "platform/Text.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::files {

namespace {

std::string& programDirStorage()
{
    static std::string dir = [] {
        char buf[4096];
        ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
        if (n <= 0)
            return std::string(".");
        buf[n] = 0;
        std::string p(buf);
        size_t slash = p.rfind('/');
        return slash == std::string::npos ? std::string(".") : (slash == 0 ? std::string("/") : p.substr(0, slash));
    }();
    return dir;
}

// Splits a Shift-JIS path at backslashes and slashes, never at a 0x5C that is the trail
// byte of a double-byte character.
std::vector<std::string> splitSjisPath(std::string_view p, bool& absolute)
{
    std::vector<std::string> parts;
    std::string cur;
    absolute = !p.empty() && (p[0] == '/' || p[0] == '\\');
    for (size_t i = 0; i < p.size(); ++i) {
        uint8_t c = uint8_t(p[i]);
        if (isSjisLead(c) && i + 1 < p.size()) {
            cur += char(c);
            cur += p[++i];
            continue;
        }
        if (c == '\\' || c == '/') {
            if (!cur.empty())
                parts.push_back(cur);
            cur.clear();
            continue;
        }
        cur += char(c);
    }
    if (!cur.empty())
        parts.push_back(cur);
    return parts;
}

std::string findCaseInsensitive(const std::string& dir, const std::string& name)
{
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return name;
    std::string found = name;
    while (dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, name.c_str()) == 0) {
            found = e->d_name;
            break;
        }
    }
    closedir(d);
    return found;
}

} // namespace

const std::string& programDir()
{
    return programDirStorage();
}

void setProgramDir(const std::string& hostDir)
{
    std::string d = hostDir;
    while (d.size() > 1 && d.back() == '/')
        d.pop_back();
    programDirStorage() = d.empty() ? std::string(".") : d;
}

std::string hostPath(std::string_view sjisPath, const std::string& baseDir)
{
    bool absolute = false;
    std::vector<std::string> parts = splitSjisPath(sjisPath, absolute);
    std::string result = absolute ? std::string("/") : baseDir;
    for (const std::string& part : parts) {
        std::string name = sjisToUtf8(part);
        std::string joined = result.empty() ? name : (result.back() == '/' ? result + name : result + "/" + name);
        if (name != "." && name != ".." && !exists(joined)) {
            std::string real = findCaseInsensitive(result, name);
            joined = result.empty() ? real : (result.back() == '/' ? result + real : result + "/" + real);
        }
        result = joined;
    }
    return result;
}

std::string programPath(std::string_view sjisPath)
{
    return hostPath(sjisPath, programDir());
}

std::FILE* open(const std::string& hostPath, const char* mode)
{
    return std::fopen(hostPath.c_str(), mode);
}

bool exists(const std::string& hostPath)
{
    struct stat st{};
    return ::stat(hostPath.c_str(), &st) == 0;
}

bool modificationTime(const std::string& hostPath, int64_t& seconds)
{
    struct stat st{};
    if (::stat(hostPath.c_str(), &st) != 0)
        return false;
    seconds = int64_t(st.st_mtime);
    return true;
}

bool isDirectory(const std::string& hostPath)
{
    struct stat st{};
    return ::stat(hostPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeDirectories(const std::string& hostPath)
{
    if (hostPath.empty())
        return false;
    std::string cur;
    size_t i = 0;
    if (hostPath[0] == '/') {
        cur = "/";
        i = 1;
    }
    while (i <= hostPath.size()) {
        size_t slash = hostPath.find('/', i);
        if (slash == std::string::npos)
            slash = hostPath.size();
        std::string part = hostPath.substr(i, slash - i);
        if (!part.empty()) {
            cur += part;
            if (::mkdir(cur.c_str(), 0755) != 0 && errno != EEXIST)
                return false;
            cur += '/';
        }
        i = slash + 1;
    }
    return isDirectory(hostPath);
}

bool readFile(const std::string& hostPath, std::vector<uint8_t>& out, size_t maxBytes)
{
    out.clear();
    std::FILE* f = std::fopen(hostPath.c_str(), "rb");
    if (!f)
        return false;
    uint8_t buf[65536];
    bool ok = true;
    while (out.size() < maxBytes) {
        size_t want = std::min(sizeof buf, maxBytes - out.size());
        size_t n = std::fread(buf, 1, want, f);
        out.insert(out.end(), buf, buf + n);
        if (n < want) {
            ok = !std::ferror(f);
            break;
        }
    }
    std::fclose(f);
    return ok;
}

bool writeFileAtomic(const std::string& hostPath, const void* data, size_t size)
{
    std::string tmp = hostPath + ".tmp" + std::to_string(::getpid());
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const char* p = static_cast<const char*>(data);
    size_t left = size;
    bool ok = true;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        p += n;
        left -= size_t(n);
    }
    if (ok && ::fsync(fd) != 0)
        ok = false;
    if (::close(fd) != 0)
        ok = false;
    if (ok && ::rename(tmp.c_str(), hostPath.c_str()) != 0)
        ok = false;
    if (!ok)
        ::unlink(tmp.c_str());
    return ok;
}

} // namespace platform::files
