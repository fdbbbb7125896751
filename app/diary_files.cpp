#include "app/diary_files.h"

#include "app/diary_undo_stack.h"
#include "platform/qt/message_box.h"
#include "platform/qt/single_doc_template.h"

DiaryFiles::DiaryFiles(std::string recoveryFolder, DiaryUndoStack& undo)
    : m_undo(undo)
    , m_recovery(std::move(recoveryFolder))
{
    m_diary.SetChangeListener([this] { OnChanged(); });
    m_recoveryTimer.setSingleShot(true);
    QObject::connect(&m_recoveryTimer, &QTimer::timeout, [this] { KeepRecoveryNow(); });
}

void DiaryFiles::New()
{
    m_diary.OnNewDocument();
    m_disk.Forget();
    m_undo.Clear();
}

QString DiaryFiles::Load(const std::string& path)
{
    const QString error = m_disk.Load(m_diary, path);
    if (error.isEmpty())
        m_undo.Clear();
    return error;
}

DocumentFiles::SaveResult DiaryFiles::Save(const std::string& path, QWidget* parent)
{
    // The path the changes were made under, before the save names another.
    const std::string before = m_diary.GetPathName();
    SaveResult result = m_disk.Save(m_diary, path, parent);
    if (!result.cancelled && result.error.isEmpty()) {
        m_recoveryTimer.stop();
        m_recovery.Remove(before);
    }
    return result;
}

void DiaryFiles::DropRecovery()
{
    m_recoveryTimer.stop();
    m_recovery.Remove(m_diary.GetPathName());
}

QString DiaryFiles::OnFileChanged(QWidget* parent)
{
    return m_disk.OnFileChanged(m_diary, m_diary.GetPathName(), parent);
}

void DiaryFiles::OnChanged()
{
    // Not restarted by later changes: a stream of edits still gets a copy
    // within the delay of the first one.
    if (!m_recoveryTimer.isActive())
        m_recoveryTimer.start(kRecoveryDelayMs);
}

void DiaryFiles::KeepRecoveryNow()
{
    m_recoveryTimer.stop();
    // A copy that cannot be written (another window keeps one, a full disk)
    // changes nothing for the diary itself: the next change tries again.
    if (m_diary.IsModified())
        (void)m_recovery.Write(m_diary.GetPathName(), m_diary, BaseFor(m_diary.GetPathName()));
}

DiaryContents DiaryFiles::BaseFor(const std::string& path) const
{
    if (m_disk.Disk().Knows(path))
        return m_disk.Disk().Base();
    CTarelogDoc fresh;
    fresh.OnNewDocument();
    return DiaryContents::Of(fresh);
}

bool DiaryFiles::OfferRecovery(QWidget* parent)
{
    const std::string path = m_diary.GetPathName();
    const std::optional<RecoveryStore::Copy> copy = m_recovery.Find(path);
    if (!copy)
        return false;
    if (copy->contents == DiaryContents::Of(m_diary)) {
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
    copy->contents.ApplyTo(m_diary);
    // Merged on save against what the changes were made to, so that what
    // the file gained since the crash is kept.
    if (copy->base && m_disk.Disk().Knows(path))
        m_disk.Disk().SetBase(*copy->base);
    return true;
}
