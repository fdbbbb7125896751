#pragma once

#include "platform/file_failure.h"
#include "platform/file_names.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>

// Whole-file reads and crash-safe replacement of a file, on POSIX calls only.
// A replacement never leaves a torn file behind: the new contents go to a
// temporary file in the same directory, are checked and flushed to disk, and
// only then renamed over the old name.

// Refuses files larger than this: no diary comes near it, and reading a
// stray disk image into memory would only exhaust it.
constexpr std::size_t kMaxReadableFileSize = std::size_t{1} << 30;

// Which file a name led to, and as what contents: a replacement gives the
// name a new inode, an edit in place a new size or modification time.
struct FileIdentity {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0; // modification time, nanoseconds since the epoch

    bool operator==(const FileIdentity&) const = default;
};

// The identity of what `path` names now; exists is false when nothing is there.
FileIdentity IdentifyFile(const std::string& path);
FileIdentity IdentityOfStat(const struct stat& info);

class FileWriteLock;

// Replaces (or creates) the file at `path` with `bytes`, holding the file's
// write lock (see file_lock.h) for the replacement. An existing file keeps
// its permissions; a file nobody may write is refused, and so is a symbolic
// link to nothing or to anything but a regular file. The new file is a new
// inode: another hard link to the old one keeps the old contents. Temporary
// files that an earlier, interrupted replacement left behind are removed
// first. On failure the old file is untouched and no temporary file remains.
Status<FileFailure> ReplaceFileSafely(const std::string& path, std::string_view bytes);
// The same for a caller that already holds the lock of the file, because
// it read the file first and must write it back before anyone else does.
// With `expected`, the identity of the file the caller read: a file that a
// writer without the lock (a sync engine) put there since is not replaced,
// and the failure says ReplacedMeanwhile, so that the caller can read it
// again instead of losing what it brought.
Status<FileFailure> ReplaceFileSafely(const FileWriteLock& lock, std::string_view bytes,
    const FileIdentity* expected = nullptr);

// The name pattern of the temporary files: "." + name + ".saving-" + six
// letters or digits, in the directory of the target. A name too long for
// that to fit within the file system's limit `nameMax` is shortened first
// (see FittedName).
bool IsSafeSaveTemporaryOf(std::string_view entryName, std::string_view targetName, std::size_t nameMax = 255);

// Fault injection for tests: every write and fsync of a replacement goes
// through these. nullptr restores the system calls.
using WriteFunction = ssize_t (*)(int fd, const void* data, std::size_t size);
using FsyncFunction = int (*)(int fd);
void SetSafeFileWriteFunction(WriteFunction function);
// False makes every replacement write a named temporary, as on file
// systems that cannot make an unnamed one.
void SetSafeFileUnnamedTemporaries(bool allowed);
void SetSafeFileFsyncFunction(FsyncFunction function);
