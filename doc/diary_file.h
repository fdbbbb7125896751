#pragma once

#include "doc/tarelog_doc.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What went wrong with a diary file, for the window (Japanese) and the
// command line (English) to put in their own words.
struct DiaryFileError {
    enum class Kind {
        None,
        CannotOpen,     // missing, unreadable, a directory...
        Damaged,        // ends early, impossible count or length, bad text
        CannotWrite,    // directory not writable, disk full, I/O error
    };
    Kind kind = Kind::None;
    std::string path;    // UTF-8
    std::string detail;  // English: what exactly, e.g. "the file ends inside the unit text (byte 40)"
    int systemError = 0; // errno where one applies
    long long offset = -1; // for Damaged: the byte where the bad part starts

    explicit operator bool() const { return kind != Kind::None; }
    std::string EnglishMessage() const;
    std::string JapaneseMessage() const;
};

// What a successful load saw besides the diary itself.
struct DiaryLoadInfo {
    std::int32_t version = 0;     // the file's version number
    std::size_t trailingBytes = 0; // bytes after the diary's data, which the loader ignores
};

// Loads the diary at `path` into `doc` (records, unit, digits). On failure
// `doc` is left exactly as it was. The modified flag and views are not touched.
// `version`, when given, receives the file's version number on success.
DiaryFileError LoadDiaryFile(const std::string& path, CTarelogDoc& doc, std::int32_t* version = nullptr);
DiaryFileError LoadDiaryFile(const std::string& path, CTarelogDoc& doc, DiaryLoadInfo& info);

// The same over bytes already in memory; `path` only names them in errors.
DiaryFileError LoadDiaryBytes(std::string_view bytes, const std::string& path, CTarelogDoc& doc,
    std::int32_t* version = nullptr);
DiaryFileError LoadDiaryBytes(std::string_view bytes, const std::string& path, CTarelogDoc& doc, DiaryLoadInfo& info);

// The bytes of `doc` as a version-101 file.
std::string StoreDiaryBytes(const CTarelogDoc& doc);

// Writes `doc` to `path` without ever destroying the old file: a complete
// new file is written beside it, checked, flushed to disk and renamed over
// the old one. On failure the old file is untouched.
DiaryFileError SaveDiaryFile(const CTarelogDoc& doc, const std::string& path);
