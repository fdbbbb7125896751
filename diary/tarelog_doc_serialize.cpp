#include "diary/tarelog_doc.h"

#include "diary/diary_layout.h"
#include "platform/archive.h"

#include <utility>

void CTarelogDoc::Store(CArchive& ar) const
{
    ar.WriteInt32(101);
    ar.WriteInt32(GetRecordCount());
    ar.Write(m_records.data(), m_records.size() * sizeof(WeightRecord));
    ar.WriteString(m_unit);
    ar.WriteInt32(m_digits);
}

// Version 101 is written; every version is read (see diary/diary_layout.h).
void CTarelogDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        Store(ar);
        return;
    }
    RemoveAllRecords();
    const DiaryHeader header = ReadDiaryHeader(ar, ar.Position() + ar.Remaining());
    if (header.recordCount > 0) {
        m_records.reserve(header.recordCount);
        m_records.resize(header.recordCount);
        ar.Read(m_records.data(), m_records.size() * sizeof(WeightRecord), PartId(DiaryPart::Records));
    }
    DiaryTail tail = ReadDiaryTail(ar, header.version);
    m_unit = std::move(tail.unit);
    m_digits = tail.digits;
    Changed();
}

void CTarelogDoc::TakeContents(CTarelogDoc& loaded)
{
    m_records.swap(loaded.m_records);
    m_unit.swap(loaded.m_unit);
    m_digits = loaded.m_digits;
    Changed();
    loaded.Changed();
}
