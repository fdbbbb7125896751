#include "dialogs/unit_digits_logic.h"

#include "diary/tarelog_doc.h"
#include "platform/profile_store.h"
#include "diary/profile_keys.h"

void UnitDigitsData::Load(const CTarelogDoc& doc, const ProfileStore& profile)
{
    m_unit = doc.m_unit;
    m_digits = doc.m_digits;
    m_dateStyle = profile.GetProfileInt(kShowSection, kDateStyleEntry, kDefaultDateStyle);
}

void UnitDigitsData::Apply(CTarelogDoc& doc, ProfileStore& profile) const
{
    if (m_unit != doc.m_unit || m_digits != doc.m_digits) {
        doc.SetModifiedFlag(true);
        doc.m_unit = m_unit;
        doc.m_digits = m_digits;
    }
    profile.WriteProfileInt(kShowSection, kDateStyleEntry, m_dateStyle);
}
