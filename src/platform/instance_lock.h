#pragma once

#include <string>

// Keeps a second copy of the program off a Workspace that one copy is running on: an exclusive
// lock on a file of the Workspace, held for the whole run. The system releases it when the
// process ends, also when it dies, so a stale lock never blocks the next start.
class InstanceLock {
public:
    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    // False when another process holds the lock. A lock file that cannot be created (a read-only
    // Workspace) does not keep the program from starting.
    bool acquire(const std::string& lockFile);
    void release();

private:
    int fd_ = -1;
};
