#include "app/paste_days.h"

#include "app/import_drop.h"
#include "diary/diary_editor.h"
#include "diary/import/pasted_text.h"
#include "platform/qt/message_box.h"

#include <QClipboard>
#include <QGuiApplication>

void PasteDays(QWidget* parent, DiaryEditor& editor)
{
    CTarelogDoc* doc = editor.Document();
    if (!doc)
        return;
    const QByteArray text = QGuiApplication::clipboard()->text().toUtf8();
    Result<WeightImport, ImportError> read = ReadPastedWeights(std::string_view(text.constData(), text.size()));
    if (!read || read->weighings.empty()) {
        ShowMessageBox(QStringLiteral("クリップボードには、貼り付けられる日付と体重がありません。\n"
                                      "1 行に 1 日ずつ、日付と体重をタブ、コンマか空白で区切って書いてください"
                                      "（例: 2024-05-01  65.3）。"),
            MB_OK | MB_ICONINFORMATION, parent);
        return;
    }
    MergeImportAsking(parent, QStringLiteral("クリップボード"), *read, *doc, &editor, "貼り付け");
}
