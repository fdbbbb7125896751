#include "app/import_drop.h"

#include "diary/diary_editor.h"
#include "diary/import/diary_import.h"
#include "diary/import/weight_import.h"
#include "diary/tarelog_doc.h"
#include "platform/qt/message_box.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

namespace {

std::string LocalPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// A copy of the open diary to merge into first, so that the open diary
// changes only once the person has agreed.
void CopyDiary(const CTarelogDoc& from, CTarelogDoc& to)
{
    to.ReserveRecords(from.Records().size());
    for (const WeightRecord& record : from.Records())
        to.AppendRecord(record);
    to.m_unit = from.m_unit;
    to.m_digits = from.m_digits;
}

QString Summary(const QString& name, const WeightImport& import, const ImportSummary& summary,
    const CTarelogDoc& merged)
{
    QString text = QStringLiteral(
        "「%1」(%2) を読み込みます。\n\n追加: %3 日\n置き換え: %4 日\n読み飛ばし: %5 行\n単位: %6")
                       .arg(name, QString::fromUtf8(ImportLayoutName(import.layout)))
                       .arg(summary.merge.added)
                       .arg(summary.merge.replaced)
                       .arg(summary.skipped)
                       .arg(QString::fromStdU16String(merged.m_unit));
    if (summary.converted > 0)
        text += QStringLiteral("（%1 件を換算、1 lb = 0.45359237 kg）").arg(summary.converted);
    if (!import.problems.Empty())
        text += QStringLiteral("\n\n読めない行が %1 行あります (最初は %2 行目: %3)。")
                    .arg(import.problems.Count())
                    .arg(import.problems.First()[0].line)
                    .arg(QString::fromStdString(import.problems.First()[0].reason));
    return text + QStringLiteral("\n\nよろしいですか?");
}

// Merges into a copy of the diary; asks before converting units. False
// when the import stops here (refused, or the person said no).
bool MergeIntoCopy(QWidget* parent, const QString& name, WeightImport& import, const CTarelogDoc& doc,
    CTarelogDoc& merged, ImportSummary& summary)
{
    const bool untitledAndEmpty = doc.Records().empty() && doc.GetPathName().empty();
    CopyDiary(doc, merged);
    summary = MergeImport(import, merged, untitledAndEmpty, ImportChoices{});
    if (summary.Merged())
        return true;
    if (!summary.conversionWouldHelp) {
        ShowMessageBox(QStringLiteral("「%1」の単位が日記の単位と合わないため、読み込めません。\n%2")
                           .arg(name, QString::fromStdString(summary.unitRefusal)),
            MB_OK | MB_ICONERROR, parent);
        return false;
    }
    const QString question = QStringLiteral("「%1」の重さは日記と違う単位で書かれています。\n"
                                            "日記の単位に換算して読み込みますか? (1 lb = 0.45359237 kg)")
                                 .arg(name);
    if (ShowMessageBox(question, MB_YESNO | MB_ICONQUESTION, parent) != IDYES)
        return false;
    summary = MergeImport(import, merged, untitledAndEmpty, ImportChoices{KeepRule::Latest, true});
    return summary.Merged();
}

// A headline for the person, with the reader's own (English) detail below
// it so nothing is lost.
QString WithDetail(const QString& headline, const std::string& detail)
{
    if (detail.empty())
        return headline;
    return headline + QStringLiteral("\n\n詳細: ") + QString::fromStdString(detail);
}

// Why the file could not be imported, in Japanese.
QString Refusal(const QString& name, const ImportError& error)
{
    QString headline;
    switch (error.failure) {
    case ImportFailure::CannotRead: headline = QStringLiteral("「%1」を読めませんでした。"); break;
    case ImportFailure::Unrecognised:
        headline = QStringLiteral("「%1」は読み込める形式のファイルではありません。");
        break;
    case ImportFailure::Damaged: headline = QStringLiteral("「%1」は壊れているため読み込めません。"); break;
    }
    return WithDetail(headline.arg(name), error.detail);
}

// A file that was read but holds no weighing, with its first unreadable row
// when there is one.
QString NothingReadable(const QString& name, const ImportProblems& problems)
{
    const std::string detail = problems.Empty()
        ? std::string()
        : "line " + std::to_string(problems.First()[0].line) + ": " + problems.First()[0].reason;
    return WithDetail(QStringLiteral("「%1」には読める体重の記録がありません。").arg(name), detail);
}

} // namespace

bool IsDroppableExport(const QString& path)
{
    return LooksImportable(LocalPath(path));
}

void ImportDroppedExport(QWidget* parent, const QString& path, CTarelogDoc& doc, DiaryEditor* editor)
{
    const QString name = QFileInfo(path).fileName();
    Result<WeightImport, ImportError> read = ReadWeightImportFile(LocalPath(path), ImportLayout::Auto);
    if (!read) {
        ShowMessageBox(Refusal(name, read.error()), MB_OK | MB_ICONERROR, parent);
        return;
    }
    WeightImport& import = *read;
    if (import.weighings.empty()) {
        ShowMessageBox(NothingReadable(name, import.problems), MB_OK | MB_ICONERROR, parent);
        return;
    }
    MergeImportAsking(parent, name, import, doc, editor, "ファイルの読み込み");
}

void MergeImportAsking(QWidget* parent, const QString& name, WeightImport& import, CTarelogDoc& doc,
    DiaryEditor* editor, const std::string& stepName)
{
    CTarelogDoc merged;
    ImportSummary summary;
    if (!MergeIntoCopy(parent, name, import, doc, merged, summary))
        return;
    if (ShowMessageBox(Summary(name, import, summary, merged), MB_YESNO | MB_ICONQUESTION, parent) != IDYES)
        return;
    EditDiary(editor, doc, stepName, [&merged](CTarelogDoc& diary) {
        diary.TakeContents(merged);
        diary.SetModifiedFlag(true);
        diary.UpdateAllViews(nullptr);
    });
}
