#pragma once

#include "diary/diary_layout.h"
#include "platform/archive.h"
#include "platform/file_failure.h"

#include <memory>
#include <string>

// What went wrong with a diary file, as data: which step or part failed and
// how. The window (Japanese) and the command line (English) each put it in
// their own words, in diary_file_messages.cpp and nowhere else.

// The part of a damaged diary and what is wrong with it.
struct DiaryDamage {
    DiaryPart part = DiaryPart::Version;
    ArchiveProblem problem = ArchiveProblem::EndsInside;
};

// What the diary layer itself refused, where no file operation failed.
enum class DiaryRefusal {
    None,
    SortingOutOfMemory,        // the records would not fit in memory to be sorted
    RecoveryCopyHeldElsewhere, // another window writes this diary's recovery copy
    ChangedIntoUnreadable,     // another program replaced the file with one that does not load
};

// The failure of a diary operation's Result or Status. A default-constructed
// one (Kind::None, false) stands for no failure where outcomes are compared
// field by field, as error_or({}) gives it for a success.
struct DiaryFileError {
    enum class Kind {
        None,
        CannotOpen,  // missing, unreadable, a directory...
        Damaged,     // ends early, impossible count or length, bad text
        CannotWrite, // directory not writable, disk full, I/O error
    };
    Kind kind = Kind::None;
    std::string path;      // UTF-8
    int systemError = 0;   // errno where one applies
    long long offset = -1; // for Damaged: the byte where the bad part starts
    FileFailure failure;   // for a failed file operation: its step and reason
    DiaryDamage damage;    // for Damaged
    DiaryRefusal refusal = DiaryRefusal::None;
    std::shared_ptr<const DiaryFileError> cause; // what led to this one, where it says more

    explicit operator bool() const { return kind != Kind::None; }
    // English: what exactly, e.g. "the file ends inside the unit text (byte 40)".
    std::string Detail() const;
    std::string EnglishMessage() const;
    std::string JapaneseMessage() const;
};

// The three ways a diary error arises; every loader and writer builds its
// errors through these, so that equal failures compare equal field by field.
// A file operation that failed, with its errno.
DiaryFileError FileOperationError(DiaryFileError::Kind kind, const std::string& path, const FileFailure& failure);
// A file whose bytes are not a diary; the archive's part id is a DiaryPart.
DiaryFileError DamagedDiaryError(const std::string& path, const ArchiveError& cause);
// A refusal of the diary layer's own, with the errno that tells its kind.
// A load that failed only because no file is there: writers that add to a
// diary take it as a new, empty one.
bool IsMissingFile(const DiaryFileError& error);

DiaryFileError DiaryRefusalError(DiaryFileError::Kind kind, const std::string& path, DiaryRefusal refusal,
    int systemError);
