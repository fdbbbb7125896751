#include "doc/tarelog_doc.h"

#include "platform/archive.h"

void CTarelogDoc::Store(CArchive& ar) const
{
    ar.WriteInt32(101);
    ar.WriteInt32(GetRecordCount());
    ar.Write(m_records.data(), m_records.size() * sizeof(WeightRecord));
    ar.WriteString(m_unit);
    ar.WriteInt32(m_digits);
}

// Version 101 is written; every version is read, those above 100 (taken
// unsigned) with the unit and digits after the records.
void CTarelogDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        Store(ar);
        return;
    }
    RemoveAllRecords();
    const auto version = static_cast<std::uint32_t>(ar.ReadInt32("the version number"));
    const std::int32_t count = ar.ReadInt32("the record count");
    m_unit = std::u16string(1, u'k');
    m_digits = 1;
    if (count > 0) {
        // A count the file cannot hold is refused before anything is allocated.
        if (static_cast<std::size_t>(count) > ar.Remaining() / sizeof(WeightRecord))
            throw ArchiveError("the record count is larger than the records the file holds", ar.Position() - 4);
        m_records.resize(static_cast<std::size_t>(count));
        ar.Read(m_records.data(), m_records.size() * sizeof(WeightRecord), "the records");
    }
    if (version > 100) {
        m_unit = ar.ReadString("the unit text");
        m_digits = ar.ReadInt32("the decimal digits");
    }
}

void CTarelogDoc::TakeContents(CTarelogDoc& loaded)
{
    m_records.swap(loaded.m_records);
    m_unit.swap(loaded.m_unit);
    m_digits = loaded.m_digits;
}
