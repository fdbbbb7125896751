#include "app/diary_files.h"

#include "platform/qt/message_box.h"

#include <QFileInfo>

namespace {

// More would not fit on a screen; the rest is counted.
constexpr std::size_t kListedConflicts = 10;

// Every digit the weight has, not the scale's rounding: two weights that
// differ only past the shown decimals must not look alike.
QString WeightText(const std::optional<double>& weight)
{
    return weight ? QString::number(*weight, 'g', 12) : QStringLiteral("削除");
}

QString ConflictLine(const DiaryConflict& conflict)
{
    switch (conflict.kind) {
    case DiaryConflict::Kind::Unit: return QStringLiteral("単位");
    case DiaryConflict::Kind::Digits: return QStringLiteral("小数桁");
    case DiaryConflict::Kind::Day: break;
    }
    return QStringLiteral("%1/%2/%3　ファイル: %4　この画面: %5")
        .arg(conflict.year)
        .arg(conflict.month, 2, 10, QLatin1Char('0'))
        .arg(conflict.day, 2, 10, QLatin1Char('0'))
        .arg(WeightText(conflict.diskWeight), WeightText(conflict.windowWeight));
}

QString Japanese(const DiaryFileError& error)
{
    return QString::fromStdString(error.JapaneseMessage());
}

} // namespace

QString ConflictQuestion(const std::vector<DiaryConflict>& conflicts)
{
    QString text = QStringLiteral(
        "ほかのプログラムがこのファイルを変更しました。次の項目は、ファイルとこの画面で値が食い違っています。\n\n");
    for (std::size_t i = 0; i < conflicts.size() && i < kListedConflicts; ++i)
        text += ConflictLine(conflicts[i]) + QLatin1Char('\n');
    if (conflicts.size() > kListedConflicts)
        text += QStringLiteral("ほか %1 件\n").arg(conflicts.size() - kListedConflicts);
    return text + QStringLiteral("\nどちらの値を残しますか? ほかの項目は両方の変更をまとめて保存します。");
}

DiaryFiles::DiaryFiles(std::string recoveryFolder)
    : m_recovery(std::move(recoveryFolder))
{
}

CSingleDocTemplate::FileFunctions DiaryFiles::Functions()
{
    // Shared, so the functions stay valid however long the template lives.
    const std::shared_ptr<DiaryFiles> self = shared_from_this();
    CSingleDocTemplate::FileFunctions f;
    f.load = [self](CDocument& doc, const std::string& path) { return self->Load(doc, path); };
    f.save = [self](CDocument& doc, const std::string& path, QWidget* parent) { return self->Save(doc, path, parent); };
    f.changedOnDisk = [self](const CDocument&, const std::string& path) { return self->ChangedOnDisk(path); };
    f.forget = [self] { self->m_disk.Forget(); };
    f.keepRecovery = [self](const CDocument& doc, const std::string& path) { self->KeepRecovery(doc, path); };
    f.dropRecovery = [self](const std::string& path) { self->DropRecovery(path); };
    f.offerRecovery = [self](CDocument& doc, const std::string& path, QWidget* parent) {
        return self->OfferRecovery(doc, path, parent);
    };
    return f;
}

QString DiaryFiles::Load(CDocument& doc, const std::string& path)
{
    const Status<DiaryFileError> loaded = LoadDiaryRemembering(path, static_cast<CTarelogDoc&>(doc), m_disk);
    return loaded ? QString() : Japanese(loaded.error());
}

CSingleDocTemplate::SaveResult DiaryFiles::Save(CDocument& doc, const std::string& path, QWidget* parent)
{
    auto& diary = static_cast<CTarelogDoc&>(doc);
    Result<DiarySaveOutcome, DiaryFileError> outcome = SaveDiaryMerging(diary, m_disk, path, OnConflict::Stop);
    if (outcome && !outcome->Saved()) {
        // The default keeps the file's values: nothing another program or
        // device recorded is lost by pressing Enter.
        const int answer = ShowMessageBox(ConflictQuestion(outcome->conflicts), MB_YESNOCANCEL | MB_ICONWARNING, parent,
            {QStringLiteral("ファイルの値を残す(&F)"), QStringLiteral("この画面の値にする(&W)"),
                QStringLiteral("キャンセル")});
        if (answer != IDYES && answer != IDNO)
            return {QString(), QString(), true};
        outcome = SaveDiaryMerging(diary, m_disk, path,
            answer == IDYES ? OnConflict::KeepDisk : OnConflict::KeepWindow);
    }
    if (!outcome)
        return {Japanese(outcome.error()), QString(), false};
    QString status;
    if (outcome->merged)
        status = QStringLiteral("ほかのプログラムの変更とまとめて保存しました（ファイルから %1 日分）。")
                     .arg(outcome->daysFromDisk);
    return {QString(), status, false};
}

DiaryContents DiaryFiles::BaseFor(const std::string& path) const
{
    if (m_disk.Knows(path))
        return m_disk.Base();
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
    const QString name = path.empty() ? QStringLiteral("無題") : QFileInfo(QString::fromStdString(path)).fileName();
    const QString question = QStringLiteral(
        "%1 には、前回保存されないまま終了した変更が残っています。\n復元しますか?\n\n"
        "「いいえ」を選ぶと、復元用のコピーは %2 日間保管してから削除します。")
                                 .arg(name)
                                 .arg(RecoveryStore::kDiscardedDays);
    if (ShowMessageBox(question, MB_YESNO | MB_ICONQUESTION, parent) != IDYES) {
        m_recovery.Discard(path);
        return false;
    }
    copy->contents.ApplyTo(diary);
    // Merged on save against what the changes were made to, so that what
    // the file gained since the crash is kept.
    if (copy->base && m_disk.Knows(path))
        m_disk.SetBase(*copy->base);
    return true;
}
