#include "app/disk_change_policy.h"

#include "doc/tarelog_doc.h"
#include "platform/qt/message_box.h"

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

// The default keeps the file's values: nothing another program or device
// recorded is lost by pressing Enter.
std::optional<ConflictChoice> AskAbout(const std::vector<DiaryConflict>& conflicts, QWidget* parent)
{
    const int answer = ShowMessageBox(ConflictQuestion(conflicts), MB_YESNOCANCEL | MB_ICONWARNING, parent,
        {QStringLiteral("ファイルの値を残す(&F)"), QStringLiteral("この画面の値にする(&W)"),
            QStringLiteral("キャンセル")});
    if (answer == IDYES)
        return ConflictChoice::KeepDisk;
    if (answer == IDNO)
        return ConflictChoice::KeepWindow;
    return std::nullopt;
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

QString DiskChangePolicy::Load(CDocument& doc, const std::string& path)
{
    const Status<DiaryFileError> loaded = LoadDiaryRemembering(path, static_cast<CTarelogDoc&>(doc), m_disk);
    return loaded ? QString() : Japanese(loaded.error());
}

CSingleDocTemplate::SaveResult DiskChangePolicy::Save(CDocument& doc, const std::string& path, QWidget* parent)
{
    const auto ask = [parent](const std::vector<DiaryConflict>& conflicts) { return AskAbout(conflicts, parent); };
    const Result<DiarySaveOutcome, DiaryFileError> outcome = SaveDiaryMerging(static_cast<CTarelogDoc&>(doc), m_disk,
        path, ask);
    if (!outcome)
        return {Japanese(outcome.error()), QString(), false};
    if (outcome->cancelled)
        return {QString(), QString(), true};
    QString status;
    if (outcome->merged)
        status = QStringLiteral("ほかのプログラムの変更とまとめて保存しました（ファイルから %1 日分）。")
                     .arg(outcome->daysFromDisk);
    return {QString(), status, false};
}

bool DiskChangePolicy::ChangedOnDisk(const CDocument&, const std::string& path) const
{
    return m_disk.ChangedOnDisk(path);
}

QString DiskChangePolicy::OnFileChanged(CDocument& doc, const std::string& path)
{
    if (!m_disk.ChangedOnDisk(path))
        return QString();
    if (doc.IsModified())
        return QStringLiteral("ほかのプログラムがファイルを変更しました。保存するときに、この画面の変更とまとめます。");
    if (!Load(doc, path).isEmpty())
        return QStringLiteral("ほかのプログラムがファイルを変更しましたが、いまは読み込めません。");
    doc.SetModifiedFlag(false);
    doc.UpdateAllViews(nullptr, 0);
    return QStringLiteral("ほかのプログラムがファイルを変更したため、読み込み直しました。");
}
