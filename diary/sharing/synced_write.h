#pragma once

#include "diary/diary_file.h"
#include "diary/sharing/version_fold.h"
#include "platform/file_lock.h"

#include <string>
#include <vector>

// One read-modify-write of a diary that a sync engine may share with other
// machines, under the diary's write lock: the read folds in the conflict
// copies beside the diary (FoldVersions, with this machine's DiarySyncState),
// and the write records this machine's changes in that state and then takes
// the folded copies away, keeping each in the state folder for a while, so
// that nothing is deleted that was not merged. Every writer of a diary (the
// window and each tarelog-cli verb) writes through one of these.

// What the read found beside the diary and did with it.
struct CopyFoldReport {
    std::vector<std::string> folded;      // the copies folded in
    std::vector<std::string> unreadable;  // names like a copy's that do not load as diaries: left alone
    std::vector<DiaryConflict> conflicts; // the later change was kept
    std::size_t daysFromCopies = 0;       // days whose value the copies changed
};

class SyncedDiaryWrite {
public:
    enum class Copies { Fold, Leave };

    // `stateFolder` holds this machine's state of its diaries; see
    // DefaultStateFolder.
    SyncedDiaryWrite(const FileWriteLock& lock, std::string stateFolder);
    static std::string DefaultStateFolder();

    // Loads the diary into `doc`, its conflict copies folded in unless told
    // to leave them. A missing diary fails as LoadDiaryFile does, with `doc`
    // holding what the copies had; on any other failure `doc` is untouched.
    // `others` (a backup, a diary from another device) are folded in by the
    // same rules, and left where they are.
    Result<DiaryFileFacts, DiaryFileError> Load(CTarelogDoc& doc, Copies copies = Copies::Fold,
        const std::vector<DiaryVersion>& others = {});
    const CopyFoldReport& Report() const { return m_report; }
    const std::string& Path() const { return m_lock.Target(); }
    // True when the fold gave something other than what the diary holds.
    bool FoldChangedDiary() const { return m_foldChanged; }

    // Writes `doc` over the diary; the days that differ from what Load gave
    // are this machine's changes. Another machine's version that a sync
    // engine puts in place meanwhile is read and merged with them, and `doc`
    // then takes the merged contents (its views are not told). Then the
    // state is recorded and the folded copies are taken away.
    Status<DiaryFileError> Save(CTarelogDoc& doc);
    // Records the state and takes the folded copies away without writing
    // the diary: for a read whose fold changed nothing in it.
    void Finish();

    // How long a folded copy is kept in the state folder.
    static constexpr int kKeptDays = 30;
    // Diaries of more days than this (no person's: 270 years) are not
    // remembered day by day, which would cost a write of such a diary far
    // more than the write itself; their copies are folded as without state,
    // keeping every day.
    static constexpr int kRememberedDays = 100000;

private:
    static constexpr int kAttempts = 5;
    Status<DiaryFileError> TakeInArrival(CTarelogDoc& doc);
    void Record(const DiaryContents& written);
    void KeepFoldedCopies();

    const FileWriteLock& m_lock;
    std::string m_stateFolder;
    std::string m_statePath;
    DiarySyncState m_state;
    VersionFold m_fold;
    DiaryContents m_before;
    CopyFoldReport m_report;
    std::vector<FileIdentity> m_foldedIdentities;
    FileIdentity m_loadedIdentity;
    Copies m_copies = Copies::Fold;
    std::vector<DiaryVersion> m_others;
    bool m_foldChanged = false;
    bool m_remembers = true;
};
