#include "app/diary_files.h"

#include "platform/qt/message_box.h"

DiaryFiles::DiaryFiles(std::string recoveryFolder)
    : m_recovery(std::move(recoveryFolder))
{
}

CSingleDocTemplate::FileFunctions DiaryFiles::Functions()
{
    // Shared, so the functions stay valid however long the template lives.
    const std::shared_ptr<DiaryFiles> self = shared_from_this();
    CSingleDocTemplate::FileFunctions f;
    const std::shared_ptr<DiskChangePolicy> disk = m_disk;
    f.load = [disk](CDocument& doc, const std::string& path) { return disk->Load(doc, path); };
    f.save = [disk](CDocument& doc, const std::string& path, QWidget* parent) { return disk->Save(doc, path, parent); };
    f.forget = [disk] { disk->Forget(); };
    f.diskChange = disk;
    f.keepRecovery = [self](const CDocument& doc, const std::string& path) { self->KeepRecovery(doc, path); };
    f.dropRecovery = [self](const std::string& path) { self->DropRecovery(path); };
    f.offerRecovery = [self](CDocument& doc, const std::string& path, QWidget* parent) {
        return self->OfferRecovery(doc, path, parent);
    };
    return f;
}

DiaryContents DiaryFiles::BaseFor(const std::string& path) const
{
    if (m_disk->Disk().Knows(path))
        return m_disk->Disk().Base();
    CTarelogDoc fresh;
    fresh.OnNewDocument();
    return DiaryContents::Of(fresh);
}

void DiaryFiles::KeepRecovery(const CDocument& doc, const std::string& path)
{
    // A copy that cannot be written (another window keeps one, a full disk)
    // changes nothing for the diary itself: the next change tries again.
    (void)m_recovery.Write(path, static_cast<const CTarelogDoc&>(doc), BaseFor(path));
}

bool DiaryFiles::OfferRecovery(CDocument& doc, const std::string& path, QWidget* parent)
{
    auto& diary = static_cast<CTarelogDoc&>(doc);
    const std::optional<RecoveryStore::Copy> copy = m_recovery.Find(path);
    if (!copy)
        return false;
    if (copy->contents == DiaryContents::Of(diary)) {
        m_recovery.RemoveIfUnheld(path);
        return false;
    }
    const QString question = QStringLiteral(
        "%1 には、前回保存されないまま終了した変更が残っています。\n復元しますか?\n\n"
        "「いいえ」を選ぶと、復元用のコピーは %2 日間保管してから削除します。")
                                 .arg(DocumentTitleOf(path))
                                 .arg(RecoveryStore::kDiscardedDays);
    if (ShowMessageBox(question, MB_YESNO | MB_ICONQUESTION, parent) != IDYES) {
        m_recovery.Discard(path);
        return false;
    }
    copy->contents.ApplyTo(diary);
    // Merged on save against what the changes were made to, so that what
    // the file gained since the crash is kept.
    if (copy->base && m_disk->Disk().Knows(path))
        m_disk->Disk().SetBase(*copy->base);
    return true;
}
