#pragma once

#include "app/disk_change_policy.h"
#include "diary/recovery/recovery_store.h"
#include "platform/qt/single_doc_template.h"

#include <memory>

// How the window reads and writes diaries: loads and saves go through the
// changed-on-disk policy (DiskChangePolicy: saves merge what another
// program or device wrote meanwhile, and ask about days both changed), and
// unsaved changes are kept in recovery copies that a later start offers
// back after a crash.
class DiaryFiles : public std::enable_shared_from_this<DiaryFiles> {
public:
    explicit DiaryFiles(std::string recoveryFolder);

    // The template's file functions, bound to this object.
    CSingleDocTemplate::FileFunctions Functions();

    void KeepRecovery(const CDocument& doc, const std::string& path);
    void DropRecovery(const std::string& path) { m_recovery.Remove(path); }
    bool OfferRecovery(CDocument& doc, const std::string& path, QWidget* parent);

private:
    DiaryContents BaseFor(const std::string& path) const;

    std::shared_ptr<DiskChangePolicy> m_disk = std::make_shared<DiskChangePolicy>();
    RecoveryStore m_recovery;
};
