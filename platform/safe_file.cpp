#include "platform/safe_file.h"

#include "platform/file_lock.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

WriteFunction g_write = nullptr;
FsyncFunction g_fsync = nullptr;

constexpr std::string_view kTemporaryInfix = ".saving-";
constexpr std::size_t kTemporarySuffixLength = 6;
constexpr char kTemporaryAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

ssize_t CallWrite(int fd, const void* data, std::size_t size)
{
    return g_write ? g_write(fd, data, size) : ::write(fd, data, size);
}

int CallFsync(int fd)
{
    return g_fsync ? g_fsync(fd) : ::fsync(fd);
}

// Loops over partial writes; a write that makes no progress counts as a full
// disk, since some file systems report it that way instead of ENOSPC.
Status<FileFailure> WriteAll(int fd, std::string_view bytes)
{
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    while (!bytes.empty()) {
        const ssize_t written = CallWrite(fd, bytes.data(), std::min(bytes.size(), kChunk));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return FailedAt(FileStep::WritingNewFile, errno);
        if (written == 0)
            return FailedAt(FileStep::WritingNewFile, ENOSPC);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

struct PathParts {
    std::string directory;
    std::string name;
};

PathParts SplitPath(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// Temporaries older than this belong to no live writer: no save takes an
// hour. Only they are removed where the lock could not be had.
constexpr std::int64_t kStrayAgeSeconds = 3600;
bool g_unnamedTemporaries = true;

bool IsOldEnoughToBeStray(int directoryFd, const char* name)
{
    struct stat info {};
    if (::fstatat(directoryFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    return ::time(nullptr) - info.st_mtime > kStrayAgeSeconds;
}

// Under an exclusive lock every temporary of the target is a dead writer's:
// a live one on this machine would hold the lock, and one on another machine
// writes unnamed (CreateUnnamed), so its sync engine never sees it.
void RemoveStrayTemporaries(const PathParts& target, bool exclusive)
{
    DIR* directory = ::opendir(target.directory.c_str());
    if (directory == nullptr)
        return;
    const std::size_t nameMax = NameMaxOf(target.directory);
    while (const dirent* entry = ::readdir(directory)) {
        if (!IsSafeSaveTemporaryOf(entry->d_name, target.name, nameMax))
            continue;
        if (exclusive || IsOldEnoughToBeStray(::dirfd(directory), entry->d_name))
            ::unlinkat(::dirfd(directory), entry->d_name, 0);
    }
    ::closedir(directory);
}

std::string RandomSuffix()
{
    static std::mt19937_64 generator(std::random_device{}()
        ^ static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())
        ^ (static_cast<std::uint64_t>(::getpid()) << 32));
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kTemporaryAlphabet - 2);
    std::string suffix(kTemporarySuffixLength, 'a');
    for (char& c : suffix)
        c = kTemporaryAlphabet[pick(generator)];
    return suffix;
}

// O_EXCL with mode 0666 lets the umask decide a new file's permissions, as
// for any other file the user creates.
struct Temporary {
    std::string path;
    int fd = -1;
};

std::string TemporaryPath(const PathParts& target)
{
    const std::string stem = FittedName(target.name, 1 + kTemporaryInfix.size() + kTemporarySuffixLength,
        NameMaxOf(target.directory));
    return target.directory + "/." + stem + std::string(kTemporaryInfix) + RandomSuffix();
}

// A file without a name in the target's folder (O_TMPFILE): nothing of a
// save is visible there while it is written, so a sync engine cannot copy
// it or, coming back from another machine, delete it. -1 where the file
// system cannot make one (see docs/reliability.md for which).
int CreateUnnamed(const PathParts& target)
{
    if (!g_unnamedTemporaries)
        return -1;
    return ::open(target.directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

// Gives the unnamed file the temporary's name just before the rename; the
// name exists between two system calls.
Status<FileFailure> LinkUnnamed(int fd, std::string& path, const PathParts& target)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = TemporaryPath(target);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return {};
        if (errno != EEXIST)
            return FailedAt(FileStep::ReplacingOldFile, errno);
    }
    return FailedAt(FileStep::ReplacingOldFile, EEXIST);
}

Result<Temporary, FileFailure> CreateTemporary(const PathParts& target)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = TemporaryPath(target);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return Temporary{std::move(path), fd};
        if (errno != EEXIST)
            return FailedAt(FileStep::CreatingNewFile, errno);
    }
    return FailedAt(FileStep::CreatingNewFile, EEXIST);
}

// The rename has already put the new file in place; a directory that cannot
// be flushed (some file systems refuse) does not make the save a failure.
void SyncDirectory(const std::string& directory)
{
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    CallFsync(fd);
    ::close(fd);
}

// 0 when the file may be written, else the errno that refuses it.
int WriteRefusal(const std::string& path, const struct stat& info)
{
    // Root passes access() for any file; a file without a single write bit
    // is read-only by the owner's choice and stays so for every user.
    if ((info.st_mode & 0222) == 0)
        return EACCES;
    return ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

Status<FileFailure> WriteTemporary(int fd, std::string_view bytes, const struct stat* old)
{
    if (old != nullptr) {
        // Best effort: only the owner or root can give the file back its
        // owner and mode, and a save must not fail for that alone.
        (void)::fchown(fd, old->st_uid, old->st_gid);
        (void)::fchmod(fd, old->st_mode & 07777);
    }
    if (Status<FileFailure> written = WriteAll(fd, bytes); !written)
        return written;
    if (CallFsync(fd) != 0)
        return FailedAt(FileStep::FlushingNewFile, errno);
    return {};
}

// Checked as late as can be: between this and the rename, only a system
// call's time is left for another machine's version to arrive unseen.
Status<FileFailure> RenameInto(std::string& temporary, const std::string& targetPath, const FileIdentity* expected)
{
    if (expected != nullptr && IdentifyFile(targetPath) != *expected) {
        ::unlink(temporary.c_str());
        return FailedAt(FileStep::ReplacingOldFile, EAGAIN, FileReason::ReplacedMeanwhile);
    }
    if (::rename(temporary.c_str(), targetPath.c_str()) == 0)
        return {};
    const int error = errno;
    ::unlink(temporary.c_str());
    return FailedAt(FileStep::ReplacingOldFile, error);
}

// The replacement through an unnamed file; nothing where one cannot be made
// or given a name (no O_TMPFILE, no /proc), so that the caller writes a
// named temporary instead, which reports a real failure of the folder.
std::optional<Status<FileFailure>> WriteUnnamed(const PathParts& target, const std::string& targetPath,
    std::string_view bytes, const struct stat* old, const FileIdentity* expected)
{
    const int fd = CreateUnnamed(target);
    if (fd < 0)
        return std::nullopt;
    if (Status<FileFailure> written = WriteTemporary(fd, bytes, old); !written) {
        ::close(fd);
        return written;
    }
    std::string temporary;
    if (!LinkUnnamed(fd, temporary, target)) {
        ::close(fd);
        return std::nullopt;
    }
    Status<FileFailure> renamed = RenameInto(temporary, targetPath, expected);
    if (::close(fd) != 0 && renamed)
        renamed = FailedAt(FileStep::ClosingNewFile, errno);
    return renamed;
}

Status<FileFailure> WriteNamed(const PathParts& target, const std::string& targetPath, std::string_view bytes,
    const struct stat* old, const FileIdentity* expected)
{
    Result<Temporary, FileFailure> temporary = CreateTemporary(target);
    if (!temporary)
        return Failed{temporary.error()};
    Status<FileFailure> written = WriteTemporary(temporary->fd, bytes, old);
    if (::close(temporary->fd) != 0 && written)
        written = FailedAt(FileStep::ClosingNewFile, errno);
    if (!written) {
        ::unlink(temporary->path.c_str());
        return written;
    }
    return RenameInto(temporary->path, targetPath, expected);
}

} // namespace

void SetSafeFileUnnamedTemporaries(bool allowed)
{
    g_unnamedTemporaries = allowed;
}

bool IsSafeSaveTemporaryOf(std::string_view entryName, std::string_view targetName, std::size_t nameMax)
{
    const std::string stem = FittedName(targetName, 1 + kTemporaryInfix.size() + kTemporarySuffixLength, nameMax);
    const std::size_t prefixLength = 1 + stem.size() + kTemporaryInfix.size();
    if (entryName.size() != prefixLength + kTemporarySuffixLength || entryName[0] != '.'
        || entryName.substr(1, stem.size()) != stem
        || entryName.substr(1 + stem.size(), kTemporaryInfix.size()) != kTemporaryInfix)
        return false;
    return entryName.substr(prefixLength).find_first_not_of(kTemporaryAlphabet) == std::string_view::npos;
}

FileIdentity IdentityOfStat(const struct stat& info)
{
    return FileIdentity{true, static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
        static_cast<std::int64_t>(info.st_size),
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

FileIdentity IdentifyFile(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    return IdentityOfStat(info);
}

Status<FileFailure> ReplaceFileSafely(const std::string& path, std::string_view bytes)
{
    FileWriteLock lock;
    if (Status<FileFailure> locked = lock.Acquire(path); !locked)
        return locked;
    return ReplaceFileSafely(lock, bytes);
}

Status<FileFailure> ReplaceFileSafely(const FileWriteLock& lock, std::string_view bytes, const FileIdentity* expected)
{
    const std::string& targetPath = lock.Target();
    const PathParts target = SplitPath(targetPath);
    if (target.name.empty() || target.name == "." || target.name == "..")
        return FailedAt(FileStep::Opening, EISDIR);

    struct stat old {};
    const bool exists = ::stat(targetPath.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return FailedAt(FileStep::Opening, EISDIR);
    if (exists && !S_ISREG(old.st_mode))
        return FailedAt(FileStep::Opening, EINVAL, FileReason::NotRegularFile);
    if (const int refusal = exists ? WriteRefusal(targetPath, old) : 0)
        return FailedAt(FileStep::Opening, refusal, refusal == EACCES ? FileReason::ReadOnly : FileReason::Errno);

    RemoveStrayTemporaries(target, lock.IsExclusive());
    std::optional<Status<FileFailure>> written = WriteUnnamed(target, targetPath, bytes, exists ? &old : nullptr,
        expected);
    if (!written)
        written = WriteNamed(target, targetPath, bytes, exists ? &old : nullptr, expected);
    if (*written)
        SyncDirectory(target.directory);
    return *written;
}

void SetSafeFileWriteFunction(WriteFunction function)
{
    g_write = function;
}

void SetSafeFileFsyncFunction(FsyncFunction function)
{
    g_fsync = function;
}
