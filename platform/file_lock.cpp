#include "platform/file_lock.h"

#include "platform/file_names.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::string_view kLockSuffix = ".lock";
constexpr std::chrono::milliseconds kPollInterval{20};

// A folder only this user can write: $XDG_RUNTIME_DIR/tarelog, or
// /tmp/tarelog-UID where the session has no runtime folder. Empty when
// neither can be had safely.
std::string LockFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const bool hasRuntime = runtime != nullptr && runtime[0] == '/';
    const std::string parent = hasRuntime ? std::string(runtime) + "/tarelog"
                                          : "/tmp/tarelog-" + std::to_string(::geteuid());
    ::mkdir(parent.c_str(), 0700);
    struct stat info {};
    if (::lstat(parent.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()
        || (info.st_mode & 0077) != 0)
        return {};
    const std::string folder = parent + "/locks";
    ::mkdir(folder.c_str(), 0700);
    return folder;
}

// The lock of a file lives outside its folder, so that a sync engine never
// sees it: named by the folder's device and inode (which a sync engine does
// not change, and which are the same through every path to the folder) and
// the file's name.
std::string LockPathOf(const std::string& target)
{
    const std::size_t slash = target.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    struct stat folder {};
    const std::string locks = LockFolder();
    if (locks.empty() || ::stat(directory.c_str(), &folder) != 0)
        return {};
    char identity[40];
    std::snprintf(identity, sizeof identity, "%llx-%llx-", static_cast<unsigned long long>(folder.st_dev),
        static_cast<unsigned long long>(folder.st_ino));
    return locks + "/" + identity + LockFileNameOf(name, NameMaxOf(locks) - std::strlen(identity));
}

bool SameFile(int fd, const std::string& path)
{
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev
        && held.st_ino == named.st_ino;
}

} // namespace

std::string LockFileNameOf(const std::string& targetName, std::size_t nameMax)
{
    return "." + FittedName(targetName, 1 + kLockSuffix.size(), nameMax) + std::string(kLockSuffix);
}

FileWriteLock::~FileWriteLock()
{
    Release();
}

FileWriteLock::FileWriteLock(FileWriteLock&& other) noexcept
{
    *this = std::move(other);
}

FileWriteLock& FileWriteLock::operator=(FileWriteLock&& other) noexcept
{
    if (this != &other) {
        Release();
        m_fd = std::exchange(other.m_fd, -1);
        m_held = std::exchange(other.m_held, false);
        m_target = std::move(other.m_target);
        m_lockPath = std::move(other.m_lockPath);
    }
    return *this;
}

Status<FileFailure> FileWriteLock::Acquire(const std::string& path, std::chrono::milliseconds wait)
{
    Release();
    Result<std::string, FileFailure> target = ResolveWriteTarget(path);
    if (!target)
        return Failed{target.error()};
    m_target = std::move(*target);
    m_lockPath = LockPathOf(m_target);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (!TryLockOnce()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return FailedAt(FileStep::WaitingForOtherWriter, EWOULDBLOCK, FileReason::OtherWriterKeptWriting);
        std::this_thread::sleep_for(kPollInterval);
    }
    return {};
}

bool FileWriteLock::TryLockOnce()
{
    if (m_lockPath.empty()) {
        // No folder to keep locks in: as on a file system without locks.
        m_held = true;
        return true;
    }
    const int fd = ::open(m_lockPath.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0666);
    if (fd < 0) {
        // A folder where no lock file can be made (read-only, gone) is one
        // where the write itself fails next, with its own clear reason.
        m_held = true;
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EWOULDBLOCK || error == EINTR) {
            ::close(fd);
            return false;
        }
        // No locks on this file system: go on without them.
        ::close(fd);
        m_held = true;
        return true;
    }
    // The holder before us may have removed the file we locked; only the
    // lock on the file the name leads to now counts.
    if (!SameFile(fd, m_lockPath)) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_held = true;
    return true;
}

void FileWriteLock::Release()
{
    if (m_fd >= 0) {
        // Removed while still locked, so nobody can lock this file and
        // believe it still guards the name.
        ::unlink(m_lockPath.c_str());
        ::close(m_fd);
    }
    m_fd = -1;
    m_held = false;
}
