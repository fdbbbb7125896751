#include "diary/diary_editor.h"

#include "diary/tarelog_doc.h"

#include <utility>

void DiaryEditor::SetDay(int year, int month, int day, double weight)
{
    Record("この日を修正", [&](CTarelogDoc& doc) { doc.SetDayWeight(weight, year, month, day); });
}

void DiaryEditor::RemoveDay(int year, int month, int day)
{
    Record("この日を削除", [&](CTarelogDoc& doc) {
        bool removed = false;
        for (int i = doc.GetRecordCount() - 1; i >= 0; --i) {
            const WeightRecord& record = std::as_const(doc).GetRecord(i);
            if (record.year == year && record.month == month && record.day == day) {
                doc.RemoveRecord(i);
                removed = true;
            }
        }
        if (!removed)
            return;
        doc.SetModifiedFlag(true);
        doc.UpdateAllViews(nullptr, 0);
    });
}

void EditDiary(DiaryEditor* editor, CTarelogDoc& doc, const std::string& name,
    const std::function<void(CTarelogDoc&)>& change)
{
    if (editor != nullptr && editor->Document() == &doc)
        editor->Record(name, change);
    else
        change(doc);
}
