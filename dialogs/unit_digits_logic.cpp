#include "dialogs/unit_digits_logic.h"

#include "doc/tarelog_doc.h"
#include "platform/profile_store.h"

namespace {

const char* const kStyleSection = "SHOW";
const char* const kStyleEntry = "X";

} // namespace

void UnitDigitsData::Load(const CTarelogDoc& doc, const ProfileStore& profile)
{
    m_unit = doc.m_unit;
    m_digits = doc.m_digits;
    m_dateStyle = profile.GetProfileInt(kStyleSection, kStyleEntry, 1);
}

void UnitDigitsData::Apply(CTarelogDoc& doc, ProfileStore& profile) const
{
    if (m_unit != doc.m_unit || m_digits != doc.m_digits) {
        doc.SetModifiedFlag(true);
        doc.m_unit = m_unit;
        doc.m_digits = m_digits;
    }
    profile.WriteProfileInt(kStyleSection, kStyleEntry, m_dateStyle);
}
