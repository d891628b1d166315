#pragma once
#include <memory>
#include <string>

namespace platform {

// One running copy per name. The first copy holds the lock; a later one asks it to raise
// its window and gives up.
class InstanceLock {
public:
    virtual ~InstanceLock() = default;
    // True when this process now holds the lock for name (Shift-JIS).
    virtual bool acquire(const std::string& nameSjis) = 0;
    // Asks the copy holding the lock to bring its window to the front.
    virtual void askOwnerToRaise(const std::string& nameSjis) = 0;
    // True once for every raise request that reached the holder since the last call.
    virtual bool raiseRequested() = 0;
    virtual void release() = 0;
};

// Lock file plus a local socket; works across processes.
std::unique_ptr<InstanceLock> createProcessInstanceLock();

// Within one process only: tests and the headless runner.
std::unique_ptr<InstanceLock> createInProcessInstanceLock();

} // namespace platform
