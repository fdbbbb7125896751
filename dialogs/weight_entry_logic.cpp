#include "dialogs/weight_entry_logic.h"

#include "diary/tarelog_doc.h"

void WeightEntryData::Preset(const CTarelogDoc& doc, CalendarDate today)
{
    m_weight = doc.GetLastWeight();
    m_date = today;
}

void WeightEntryData::Step(int buttonId)
{
    switch (buttonId) {
    case IDC_WEIGHT_TENTH: m_weight *= 0.1; break;
    case IDC_WEIGHT_PLUS: m_weight += 0.1; break;
    case IDC_WEIGHT_MINUS: m_weight -= 0.1; break;
    default: break;
    }
}

void WeightEntryData::Commit(CTarelogDoc& doc) const
{
    doc.SetDayWeight(m_weight, m_date.Year(), m_date.Month(), m_date.Day());
}
