#pragma once

#include "app/disk_change_policy.h"
#include "diary/recovery/recovery_store.h"
#include "diary/tarelog_doc.h"
#include "platform/qt/document_files.h"

#include <QTimer>
#include <string>

class DiaryUndoStack;

// The window's diary and everything that becomes of its file, in one
// owner: loads and saves go through the changed-on-disk policy
// (DiskChangePolicy: saves merge what another program or device wrote
// meanwhile, and ask about days both changed); unsaved changes are kept in
// a recovery copy shortly after they are made, which a later start offers
// back after a crash; and another diary shown (new or opened) starts an
// undo history of its own.
class DiaryFiles : public DocumentFiles {
public:
    // How soon after a change the recovery copy is written.
    static constexpr int kRecoveryDelayMs = 2000;

    DiaryFiles(std::string recoveryFolder, DiaryUndoStack& undo);

    CTarelogDoc& Diary() { return m_diary; }

    CDocument& Document() override { return m_diary; }
    void New() override;
    QString Load(const std::string& path) override;
    SaveResult Save(const std::string& path, QWidget* parent) override;
    bool OfferRecovery(QWidget* parent) override;
    void DropRecovery() override;
    bool ChangedOnDisk(const std::string& path) const override { return m_disk.ChangedOnDisk(path); }
    QString OnFileChanged(QWidget* parent) override;

    // Writes the recovery copy now instead of after the delay.
    void KeepRecoveryNow();

private:
    void OnChanged();
    DiaryContents BaseFor(const std::string& path) const;

    CTarelogDoc m_diary;
    DiaryUndoStack& m_undo;
    DiskChangePolicy m_disk;
    RecoveryStore m_recovery;
    QTimer m_recoveryTimer;
};
