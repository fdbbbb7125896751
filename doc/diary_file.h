#pragma once

#include "doc/diary_file_error.h"
#include "doc/tarelog_doc.h"
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

class FileWriteLock;

// Loads the diary at `path` into `doc` (records, unit, digits). On failure
// `doc` is left exactly as it was. The modified flag and views are not touched.
// `version`, when given, receives the file's version number on success.
DiaryFileError LoadDiaryFile(const std::string& path, CTarelogDoc& doc, std::int32_t* version = nullptr);

// The same over bytes already in memory; `path` only names them in errors.
DiaryFileError LoadDiaryBytes(std::string_view bytes, const std::string& path, CTarelogDoc& doc,
    std::int32_t* version = nullptr);

DiaryFileError LoadDiaryFile(const std::string& path, CTarelogDoc& doc, DiaryFileFacts& facts);
DiaryFileError LoadDiaryBytes(std::string_view bytes, const std::string& path, CTarelogDoc& doc, DiaryFileFacts& facts);

// The bytes of `doc` as a version-101 file.
std::string StoreDiaryBytes(const CTarelogDoc& doc);

// Writes `doc` to `path` without ever destroying the old file: a complete
// new file is written beside it, checked, flushed to disk and renamed over
// the old one. On failure the old file is untouched. The file's write lock
// is held for the write; a diary the loader would refuse (which no edit
// should produce) is not written at all.
DiaryFileError SaveDiaryFile(const CTarelogDoc& doc, const std::string& path);
// The same for a writer that holds the lock since it read the file.
DiaryFileError SaveDiaryFile(const CTarelogDoc& doc, const FileWriteLock& lock);

// Takes the write lock of the diary at `path` for a read-modify-write,
// waiting a few seconds for another writer; the error says nothing was written.
DiaryFileError LockDiaryFile(const std::string& path, FileWriteLock& lock);
