#pragma once

#include "diary/diary_file_error.h"
#include "diary/tarelog_doc.h"
#include "platform/file_lock.h"
#include "platform/result.h"
#include "platform/safe_file.h"

#include <cstdint>
#include <string>
#include <string_view>

// What a load learns about the file besides its contents.
struct DiaryFileFacts {
    std::int32_t version = 0;
    std::size_t trailingBytes = 0; // bytes after the diary's last field, which the loader ignores
    FileIdentity identity;         // of the file read; not set by LoadDiaryBytes
};

// Files that carry more trailing bytes than this are almost certainly not
// diaries that happen to parse (a run of zero bytes reads as an empty
// version-0 diary): programs refuse to write over them unless told to.
constexpr std::size_t kSuspectTrailingBytes = 64 * 1024;

// Loads the diary at `path` into `doc` (records, unit, digits) and tells
// what the load learnt of the file. On failure `doc` is left exactly as it
// was. The modified flag and views are not touched.
Result<DiaryFileFacts, DiaryFileError> LoadDiaryFile(const std::string& path, CTarelogDoc& doc);

// The same over bytes already in memory; `path` only names them in errors.
Result<DiaryFileFacts, DiaryFileError> LoadDiaryBytes(std::string_view bytes, const std::string& path,
    CTarelogDoc& doc);

// The bytes of `doc` as a version-101 file.
std::string StoreDiaryBytes(const CTarelogDoc& doc);

// Writes `doc` to `path` without ever destroying the old file: a complete
// new file is written beside it, checked, flushed to disk and renamed over
// the old one. On failure the old file is untouched. The file's write lock
// is held for the write; a diary the loader would refuse (which no edit
// should produce) is not written at all.
Status<DiaryFileError> SaveDiaryFile(const CTarelogDoc& doc, const std::string& path);
// The same for a writer that holds the lock since it read the file; with
// `expected`, only over the file it read (see ReplaceFileSafely).
Status<DiaryFileError> SaveDiaryFile(const CTarelogDoc& doc, const FileWriteLock& lock,
    const FileIdentity* expected = nullptr);

// Takes the write lock of the diary at `path` for a read-modify-write,
// waiting a few seconds for another writer; the error says nothing was written.
Result<FileWriteLock, DiaryFileError> LockDiaryFile(const std::string& path);
