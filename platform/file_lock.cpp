#include "platform/file_lock.h"

#include "platform/file_names.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::string_view kLockSuffix = ".lock";
constexpr std::chrono::milliseconds kPollInterval{20};

std::string LockPathOf(const std::string& target)
{
    const std::size_t slash = target.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    return directory + "/" + LockFileNameOf(name, NameMaxOf(directory));
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
