#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

// Whole-file reads and crash-safe replacement of a file, on POSIX calls only.
// A replacement never leaves a torn file behind: the new contents go to a
// temporary file in the same directory, are checked and flushed to disk, and
// only then renamed over the old name.

// Why a file operation failed: the step that failed and its errno.
struct FileFailure {
    const char* step = "";     // "reading", "writing the new file", ...; empty for opening
    int error = 0;             // errno of the failed step
    const char* why = nullptr; // said instead of errno's text where that would mislead
};

// Refuses files larger than this: no diary comes near it, and reading a
// stray disk image into memory would only exhaust it.
constexpr std::size_t kMaxReadableFileSize = std::size_t{1} << 30;

// Reads all of a regular file. Anything else (a directory, a pipe, a
// device) is refused rather than read, so the read cannot hang.
bool ReadWholeFile(const std::string& path, std::string& bytes, FileFailure& failure);

// Replaces (or creates) the file at `path` with `bytes`. An existing file
// keeps its permissions; a file nobody may write is refused. Temporary files
// that an earlier, interrupted replacement of the same file left behind are
// removed first. On failure the old file is untouched and no temporary file
// remains.
bool ReplaceFileSafely(const std::string& path, std::string_view bytes, FileFailure& failure);

// The name pattern of the temporary files: "." + name + ".saving-" + six
// letters or digits, in the directory of the target.
bool IsSafeSaveTemporaryOf(std::string_view entryName, std::string_view targetName);

// Fault injection for tests: every write and fsync of a replacement goes
// through these. nullptr restores the system calls.
using WriteFunction = ssize_t (*)(int fd, const void* data, std::size_t size);
using FsyncFunction = int (*)(int fd);
void SetSafeFileWriteFunction(WriteFunction function);
void SetSafeFileFsyncFunction(FsyncFunction function);
