#include "platform/InstanceLock.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

std::string nameKey(const std::string& nameSjis)
{
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : nameSjis) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "sorafune-%u-%016llx", unsigned(::getuid()), static_cast<unsigned long long>(h));
    return buf;
}

sockaddr_un socketAddress(const std::string& key, socklen_t& len)
{
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    // Abstract socket: no file to clean up after a crash.
    addr.sun_path[0] = 0;
    std::strncpy(addr.sun_path + 1, key.c_str(), sizeof addr.sun_path - 2);
    len = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + std::strlen(addr.sun_path + 1));
    return addr;
}

class ProcessInstanceLock final : public InstanceLock {
public:
    ~ProcessInstanceLock() override { release(); }

    bool acquire(const std::string& nameSjis) override
    {
        release();
        std::string key = nameKey(nameSjis);
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        std::string dir = (runtime && *runtime) ? runtime : "/tmp";
        std::string path = dir + "/" + key + ".lock";
        lockFd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (lockFd_ < 0)
            return true; // no lock file possible: do not refuse to start
        if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
            ::close(lockFd_);
            lockFd_ = -1;
            return false;
        }
        listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (listenFd_ >= 0) {
            socklen_t len = 0;
            sockaddr_un addr = socketAddress(key, len);
            if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), len) != 0 || ::listen(listenFd_, 4) != 0) {
                ::close(listenFd_);
                listenFd_ = -1;
            }
        }
        return true;
    }

    void askOwnerToRaise(const std::string& nameSjis) override
    {
        int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return;
        socklen_t len = 0;
        sockaddr_un addr = socketAddress(nameKey(nameSjis), len);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), len) == 0) {
            char c = 'R';
            [[maybe_unused]] ssize_t n = ::write(fd, &c, 1);
        }
        ::close(fd);
    }

    bool raiseRequested() override
    {
        if (listenFd_ < 0)
            return false;
        bool any = false;
        for (;;) {
            int c = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0)
                break;
            ::close(c);
            any = true;
        }
        return any;
    }

    void release() override
    {
        if (listenFd_ >= 0)
            ::close(listenFd_);
        listenFd_ = -1;
        if (lockFd_ >= 0) {
            ::flock(lockFd_, LOCK_UN);
            ::close(lockFd_);
        }
        lockFd_ = -1;
    }

private:
    int lockFd_ = -1;
    int listenFd_ = -1;
};

struct InProcessRegistry {
    std::mutex mutex;
    std::map<std::string, int> raiseCounts; // held names and their pending raise requests
};

InProcessRegistry& registry()
{
    static InProcessRegistry r;
    return r;
}

class InProcessInstanceLock final : public InstanceLock {
public:
    ~InProcessInstanceLock() override { release(); }

    bool acquire(const std::string& nameSjis) override
    {
        release();
        std::lock_guard<std::mutex> lock(registry().mutex);
        if (registry().raiseCounts.count(nameSjis))
            return false;
        registry().raiseCounts[nameSjis] = 0;
        held_ = nameSjis;
        holding_ = true;
        return true;
    }

    void askOwnerToRaise(const std::string& nameSjis) override
    {
        std::lock_guard<std::mutex> lock(registry().mutex);
        auto it = registry().raiseCounts.find(nameSjis);
        if (it != registry().raiseCounts.end())
            ++it->second;
    }

    bool raiseRequested() override
    {
        if (!holding_)
            return false;
        std::lock_guard<std::mutex> lock(registry().mutex);
        auto it = registry().raiseCounts.find(held_);
        if (it == registry().raiseCounts.end() || it->second == 0)
            return false;
        it->second = 0;
        return true;
    }

    void release() override
    {
        if (!holding_)
            return;
        std::lock_guard<std::mutex> lock(registry().mutex);
        registry().raiseCounts.erase(held_);
        holding_ = false;
    }

private:
    std::string held_;
    bool holding_ = false;
};

} // namespace

std::unique_ptr<InstanceLock> createProcessInstanceLock()
{
    return std::make_unique<ProcessInstanceLock>();
}

std::unique_ptr<InstanceLock> createInProcessInstanceLock()
{
    return std::make_unique<InProcessInstanceLock>();
}

} // namespace platform
