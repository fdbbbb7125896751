#include "dialogs/qt/dialog_commands.h"

#include "dialogs/qt/color_dlg.h"
#include "dialogs/qt/edit_list_dlg.h"
#include "dialogs/qt/goal_dlg.h"
#include "platform/qt/message_box.h"
#include "dialogs/qt/unit_digits_dlg.h"
#include "dialogs/qt/weight_entry_dlg.h"
#include "dialogs/edit_list_logic.h"
#include "diary/tarelog_doc.h"

void RunWeightEntryCommand(CTarelogDoc& doc, QWidget* parent)
{
    CWeightEntryDlg dlg(doc, parent);
    dlg.DoModal();
}

void RunEditListCommand(CTarelogDoc& doc, QWidget* parent)
{
    CEditListDlg dlg(doc, parent);
    dlg.DoModal();
}

void RunCorrectDayCommand(CTarelogDoc& doc, std::size_t index, QWidget* parent)
{
    if (index >= doc.Records().size())
        return;
    const WeightRecord record = doc.Records()[index];
    CWeightEntryDlg dlg(doc, parent);
    dlg.m_date = CalendarDate::FromYmd(record.year, record.month, record.day);
    dlg.m_weight = record.weight;
    dlg.DoModal();
}

void RunDeleteDayCommand(CTarelogDoc& doc, std::size_t index, QWidget* parent)
{
    if (index >= doc.Records().size())
        return;
    // The list editor's question, word for word.
    if (ShowMessageBox(QStringLiteral("削除しますか"), MB_YESNO | MB_ICONQUESTION, parent) != IDYES)
        return;
    DeleteListRecord(doc, static_cast<int>(index));
}

void RunColorCommand(Color* colorSlots, QWidget* parent)
{
    CColorDlg dlg(colorSlots, parent);
    dlg.DoModal();
}

void RunUnitDigitsCommand(CTarelogDoc& doc, ProfileStore& profile, QWidget* parent)
{
    CUnitDigitsDlg dlg(doc, profile, parent);
    dlg.DoModal();
}

std::optional<std::optional<double>> RunGoalCommand(std::optional<double> goal, QWidget* parent)
{
    CGoalDlg dlg(goal, parent);
    if (dlg.DoModal() != IDOK)
        return std::nullopt;
    return dlg.Goal();
}
