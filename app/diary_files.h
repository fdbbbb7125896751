#pragma once

#include "doc/sync/diary_disk_state.h"
#include "doc/sync/recovery_store.h"
#include "platform/qt/single_doc_template.h"

#include <memory>

// How the window reads and writes diaries: loads remember what the file
// held, saves merge what another program or device wrote meanwhile (and ask
// about days both changed), and unsaved changes are kept in recovery copies
// that a later start offers back after a crash.
class DiaryFiles : public std::enable_shared_from_this<DiaryFiles> {
public:
    explicit DiaryFiles(std::string recoveryFolder);

    // The template's file functions, bound to this object.
    CSingleDocTemplate::FileFunctions Functions();

    QString Load(CDocument& doc, const std::string& path);
    CSingleDocTemplate::SaveResult Save(CDocument& doc, const std::string& path, QWidget* parent);
    bool ChangedOnDisk(const std::string& path) const { return m_disk.ChangedOnDisk(path); }
    void KeepRecovery(const CDocument& doc, const std::string& path);
    void DropRecovery(const std::string& path) { m_recovery.Remove(path); }
    bool OfferRecovery(CDocument& doc, const std::string& path, QWidget* parent);

private:
    DiaryContents BaseFor(const std::string& path) const;

    DiaryDiskState m_disk;
    RecoveryStore m_recovery;
};

// The question about days that the file and the window changed differently.
QString ConflictQuestion(const std::vector<DiaryConflict>& conflicts);
