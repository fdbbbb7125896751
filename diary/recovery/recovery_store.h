#pragma once

#include "diary/diary_file.h"
#include "diary/sharing/diary_contents.h"
#include "platform/file_lock.h"

#include <optional>
#include <string>

// Copies of unsaved diaries, written a few seconds after each change while
// a window holds changes, so that a crash, a kill or a power cut loses at
// most those seconds. Each copy is a diary file named after the diary's
// absolute path (untitled diaries have one name of their own), beside a
// second diary file with the base the changes were made to, so that a
// restored copy merges with whatever the file became meanwhile.
//
// The window that writes a copy holds its lock while the copy exists; other
// windows leave a held copy alone, and only offer the copies of windows
// that are gone.
class RecoveryStore {
public:
    explicit RecoveryStore(std::string folder);

    // Writes the copy of the diary at `diaryPath` (empty for untitled).
    Status<DiaryFileError> Write(const std::string& diaryPath, const CTarelogDoc& doc, const DiaryContents& base);
    // Removes this window's copy, or one it restored from a window that is
    // gone: the changes were saved or let go.
    void Remove(const std::string& diaryPath);

    struct Copy {
        DiaryContents contents;
        std::optional<DiaryContents> base;
    };
    // The copy that a window which is gone left for `diaryPath`.
    std::optional<Copy> Find(const std::string& diaryPath);
    // Removes a copy that holds nothing new (no running window holds it).
    void RemoveIfUnheld(const std::string& diaryPath);
    // Keeps a declined copy for a while under a name no window looks for;
    // declined copies older than kDiscardedDays are removed.
    void Discard(const std::string& diaryPath);

    std::string CopyPathOf(const std::string& diaryPath) const;
    static constexpr int kDiscardedDays = 30;

private:
    bool Hold(const std::string& copyPath);
    // Locks a copy no running window holds, this one included.
    bool LockUnheld(const std::string& copyPath, FileWriteLock& lock) const;
    void RemoveOldDiscarded() const;

    std::string m_folder;
    FileWriteLock m_held;
    std::string m_heldPath;
};
