#pragma once

#include "diary/sharing/diary_disk_state.h"
#include "platform/qt/document_files.h"

#include <QString>
#include <map>
#include <string>
#include <vector>

class CTarelogDoc;

// What the window does about its diary's file when another program or
// device writes it: the one place that decides when the diary is read
// again, when a save merges, what the user is asked about days both sides
// changed, and what the status bar says. The template only watches the file
// and tells the diary's owner (DiaryFiles), which calls OnFileChanged;
// loads and saves come here too, so that the state of the file they
// remember is the one the watch is compared with.
class DiskChangePolicy {
public:
    // Loads `path` into `doc` and remembers it; the message for the user, or empty.
    QString Load(CTarelogDoc& doc, const std::string& path);
    // Saves, merging what the file gained since it was read and asking over
    // `parent` about conflicts.
    DocumentFiles::SaveResult Save(CTarelogDoc& doc, const std::string& path, QWidget* parent);
    // A new document: nothing on disk is known any more.
    void Forget() { m_disk.Forget(); }

    // The file is no longer what was loaded from or saved to it.
    bool ChangedOnDisk(const std::string& path) const { return m_disk.ChangedOnDisk(path); }
    // An unmodified diary is read again; a modified one is told it will be
    // merged on save.
    // Conflict copies that a sync engine leaves beside the diary are folded
    // in at once: an unmodified diary is saved with them, a modified one
    // takes their days for its next save.
    QString OnFileChanged(CTarelogDoc& doc, const std::string& path, QWidget* parent);

    DiaryDiskState& Disk() { return m_disk; }
    const DiaryDiskState& Disk() const { return m_disk; }

private:
    // Copies beside `path` not yet folded, declined or found unreadable.
    std::vector<std::string> NewConflictCopies(const std::string& path) const;
    QString FoldConflictCopies(CTarelogDoc& doc, const std::string& path, QWidget* parent);

    DiaryDiskState m_disk;
    std::map<std::string, FileIdentity> m_seenCopies;
};

// The question about days that two machines changed differently.
QString CopyConflictQuestion(const std::vector<DiaryConflict>& conflicts);

// The question about days that the file and the window changed differently,
// as keeping the file's values settled them (the question's default).
QString ConflictQuestion(const std::vector<DiaryConflict>& conflicts);
