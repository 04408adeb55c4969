#pragma once

#include <string>

// Keeps a second program (the windowed program or kov-batch) off a Workspace that one is running
// on: an exclusive lock on the Workspace folder itself, taken through a read-only descriptor of
// the folder, so that it needs no write access anywhere. It is held for the whole run; the system
// releases it when the process ends, also when it dies, so a stale lock never blocks the next
// start.
class InstanceLock {
public:
    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    // False when another program holds the lock of `workspace`. A folder that cannot be opened
    // at all does not keep the program from starting (it reports the folder itself later).
    bool acquire(const std::string& workspace);
    void release();

private:
    int fd_ = -1;
};
