#pragma once

#include "platform/file_failure.h"
#include "platform/result.h"

#include <chrono>
#include <string>

// The write lock of one file, shared by every process that writes it (the
// window, each command-line run), so that read-modify-write cycles take
// turns instead of losing each other's changes.
//
// A file is replaced by rename on every save, so the lock cannot live on the
// file itself; and a lock file beside it would travel to other machines with
// a synced folder, whose sync engine would then delete it under a live
// writer. So it is an flock() on a small file in a folder of this user's
// that nothing syncs ($XDG_RUNTIME_DIR/tarelog/locks, or /tmp/tarelog-UID/
// locks without one), named by the device and inode of the file's folder
// and "." + name + ".lock". The system drops the lock when its holder dies, so a
// crashed writer never blocks the next one. The holder removes the lock file
// when it lets go; a waiter that then wins the lock on the removed file
// notices (the name no longer leads to the file it locked) and tries again.
//
// Where the file system does not support flock (some network and FUSE file
// systems answer ENOLCK or EOPNOTSUPP), the lock is granted without any
// exclusion and IsExclusive() says so: writers then no longer take turns.
class FileWriteLock {
public:
    // How long a writer waits for another before giving up.
    static constexpr std::chrono::milliseconds kDefaultWait{5000};

    FileWriteLock() = default;
    ~FileWriteLock();
    FileWriteLock(FileWriteLock&& other) noexcept;
    FileWriteLock& operator=(FileWriteLock&& other) noexcept;
    FileWriteLock(const FileWriteLock&) = delete;
    FileWriteLock& operator=(const FileWriteLock&) = delete;

    // Locks the file that `path` names (a symbolic link's target), waiting
    // at most `wait`. A lock held by someone else for the whole wait fails
    // with EWOULDBLOCK.
    Status<FileFailure> Acquire(const std::string& path, std::chrono::milliseconds wait = kDefaultWait);
    void Release();

    bool IsHeld() const { return m_held; }
    // False when the lock was granted on a file system without locks.
    bool IsExclusive() const { return m_fd >= 0; }
    // The file the lock protects, links resolved: what a replacement writes.
    const std::string& Target() const { return m_target; }

private:
    // False while another writer holds the lock.
    bool TryLockOnce();

    int m_fd = -1;
    bool m_held = false;
    std::string m_target;
    std::string m_lockPath;
};

// The name of the lock file of `targetName`, shortened to fit `nameMax`.
std::string LockFileNameOf(const std::string& targetName, std::size_t nameMax);
