#include "app/disk_change_policy.h"

#include "diary/sharing/conflict_copies.h"
#include "diary/sharing/synced_write.h"
#include "diary/tarelog_doc.h"
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

// A day's line names its two weights by `keptLabel` and `otherLabel`.
QString ConflictLine(const DiaryConflict& conflict, const QString& keptLabel, const QString& otherLabel)
{
    switch (conflict.kind) {
    case DiaryConflict::Kind::Unit: return QStringLiteral("単位");
    case DiaryConflict::Kind::Digits: return QStringLiteral("小数桁");
    case DiaryConflict::Kind::UnitAndDigits: return QStringLiteral("単位と小数桁");
    case DiaryConflict::Kind::Day: break;
    }
    const auto [year, month, day] = conflict.day;
    return QStringLiteral("%1/%2/%3　%4: %5　%6: %7")
        .arg(year)
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'))
        .arg(keptLabel, WeightText(conflict.keptWeight), otherLabel, WeightText(conflict.otherWeight));
}

// A line for each conflict, as many as fit on a screen.
QString ConflictLines(const std::vector<DiaryConflict>& conflicts, const QString& keptLabel, const QString& otherLabel)
{
    QString text;
    for (std::size_t i = 0; i < conflicts.size() && i < kListedConflicts; ++i)
        text += ConflictLine(conflicts[i], keptLabel, otherLabel) + QLatin1Char('\n');
    if (conflicts.size() > kListedConflicts)
        text += QStringLiteral("ほか %1 件\n").arg(conflicts.size() - kListedConflicts);
    return text;
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

// The default leaves the copies alone: Enter discards neither weight.
bool AskAboutCopies(const std::vector<DiaryConflict>& conflicts, QWidget* parent)
{
    const int answer = ShowMessageBox(CopyConflictQuestion(conflicts), MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2,
        parent, {QStringLiteral("新しい方を残す(&N)"), QStringLiteral("そのまま残す(&L)")});
    return answer == IDYES;
}

} // namespace

QString ConflictQuestion(const std::vector<DiaryConflict>& conflicts)
{
    return QStringLiteral(
               "ほかのプログラムがこのファイルを変更しました。次の項目は、ファイルとこの画面で値が食い違っています。\n\n")
        + ConflictLines(conflicts, QStringLiteral("ファイル"), QStringLiteral("この画面"))
        + QStringLiteral("\nどちらの値を残しますか? ほかの項目は両方の変更をまとめて保存します。");
}

QString DiskChangePolicy::Load(CTarelogDoc& doc, const std::string& path)
{
    const Status<DiaryFileError> loaded = LoadDiaryRemembering(path, doc, m_disk);
    return loaded ? QString() : Japanese(loaded.error());
}

DocumentFiles::SaveResult DiskChangePolicy::Save(CTarelogDoc& doc, const std::string& path, QWidget* parent)
{
    const auto ask = [parent](const std::vector<DiaryConflict>& conflicts) { return AskAbout(conflicts, parent); };
    const auto askCopies = [parent](const std::vector<DiaryConflict>& conflicts) {
        return AskAboutCopies(conflicts, parent);
    };
    const Result<DiarySaveOutcome, DiaryFileError> outcome = SaveDiaryMerging(doc, m_disk, path, ask, askCopies);
    if (!outcome)
        return {Japanese(outcome.error()), QString(), false};
    if (outcome->cancelled)
        return {QString(), QString(), true};
    QString status;
    if (!outcome->copies.folded.empty())
        status = QStringLiteral("同期の競合コピー %1 件とまとめて保存しました（コピーから %2 日分）。")
                     .arg(outcome->copies.folded.size())
                     .arg(outcome->copies.daysFromCopies);
    else if (outcome->merged)
        status = QStringLiteral("ほかのプログラムの変更とまとめて保存しました（ファイルから %1 日分）。")
                     .arg(outcome->daysFromDisk);
    return {QString(), status, false};
}

QString DiskChangePolicy::OnFileChanged(CTarelogDoc& doc, const std::string& path, QWidget* parent)
{
    if (m_disk.Knows(path) && !NewConflictCopies(path).empty())
        return FoldConflictCopies(doc, path, parent);
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

std::vector<std::string> DiskChangePolicy::NewConflictCopies(const std::string& path) const
{
    std::vector<std::string> copies;
    for (const std::string& copy : FindConflictCopies(path)) {
        const auto seen = m_seenCopies.find(copy);
        if (seen == m_seenCopies.end() || seen->second != IdentifyFile(copy))
            copies.push_back(copy);
    }
    return copies;
}

QString DiskChangePolicy::FoldConflictCopies(CTarelogDoc& doc, const std::string& path, QWidget* parent)
{
    const bool modified = doc.IsModified();
    const auto askCopies = [parent](const std::vector<DiaryConflict>& conflicts) {
        return AskAboutCopies(conflicts, parent);
    };
    const std::vector<std::string> present = FindConflictCopies(path);
    const Result<DiarySaveOutcome, DiaryFileError> outcome = modified
        ? JoinDiskChanges(doc, m_disk, path, askCopies)
        : FoldCopiesIntoFile(doc, m_disk, path, askCopies);
    // Whatever became of them, these are not offered again until they change.
    for (const std::string& copy : present)
        m_seenCopies[copy] = IdentifyFile(copy);
    if (!outcome)
        return Japanese(outcome.error());
    if (outcome->cancelled)
        return QString();
    if (!modified)
        doc.SetModifiedFlag(false);
    const CopyFoldReport& copies = outcome->copies;
    QString status;
    for (const std::string& unreadable : copies.unreadable)
        status += QStringLiteral("%1 は同期の競合コピーの名前ですが、日記として読めないため、そのままにしました。")
                      .arg(QString::fromStdString(unreadable));
    if (copies.folded.empty())
        return status.isEmpty() ? QStringLiteral("同期の競合コピーを、取り込まずにそのまま残しました。") : status;
    if (modified)
        return status
            + QStringLiteral("同期の競合コピー %1 件から %2 日分をこの画面に取り込みました。保存すると書き込まれます。")
                  .arg(copies.folded.size())
                  .arg(copies.daysFromCopies);
    return status
        + QStringLiteral("同期の競合コピー %1 件から %2 日分を取り込んで保存しました。")
              .arg(copies.folded.size())
              .arg(copies.daysFromCopies);
}

QString CopyConflictQuestion(const std::vector<DiaryConflict>& conflicts)
{
    return QStringLiteral("同期の競合コピーに、2 台のコンピューターで別々に変更された日があります。\n\n")
        + ConflictLines(conflicts, QStringLiteral("残す値"), QStringLiteral("もう一方"))
        + QStringLiteral(
            "\n「新しい方を残す」と、あとで変更された値を日記に残し、もう一方は状態フォルダーに %1 日間保管します。"
            "「そのまま残す」と、競合コピーには手を付けません。")
              .arg(SyncedDiaryWrite::kKeptDays);
}
