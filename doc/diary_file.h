#pragma once

#include "doc/tarelog_doc.h"

#include <string>

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

    explicit operator bool() const { return kind != Kind::None; }
    std::string EnglishMessage() const;
    std::string JapaneseMessage() const;
};

// Loads the diary at `path` into `doc` (records, unit, digits). On failure
// `doc` is left exactly as it was. The modified flag and views are not touched.
DiaryFileError LoadDiaryFile(const std::string& path, CTarelogDoc& doc);

// Writes `doc` to `path` without ever destroying the old file: a complete
// new file is written beside it, checked, flushed to disk and renamed over
// the old one. On failure the old file is untouched.
DiaryFileError SaveDiaryFile(const CTarelogDoc& doc, const std::string& path);
