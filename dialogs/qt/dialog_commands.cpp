#include "dialogs/qt/dialog_commands.h"

#include "dialogs/qt/color_dlg.h"
#include "dialogs/qt/edit_list_dlg.h"
#include "dialogs/qt/unit_digits_dlg.h"
#include "dialogs/qt/weight_entry_dlg.h"
#include "doc/tarelog_doc.h"

void RunWeightEntryCommand(CTarelogDoc& doc, QWidget* parent)
{
    CWeightEntryDlg dlg(parent);
    dlg.Preset(doc, CalendarDate::Today());
    if (dlg.DoModal() == 1)
        dlg.Commit(doc);
}

void RunEditListCommand(CTarelogDoc& doc, QWidget* parent)
{
    CEditListDlg dlg(parent);
    dlg.m_pDoc = &doc;
    dlg.DoModal();
}

void RunColorCommand(Color* colorSlots, QWidget* parent)
{
    CColorDlg dlg(parent);
    dlg.SetColors(colorSlots);
    dlg.DoModal();
}

void RunUnitDigitsCommand(CTarelogDoc& doc, ProfileStore& profile, QWidget* parent)
{
    CUnitDigitsDlg dlg(parent);
    dlg.Load(doc, profile);
    if (dlg.DoModal() == 1)
        dlg.Apply(doc, profile);
}
