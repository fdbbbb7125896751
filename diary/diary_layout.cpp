#include "diary/diary_layout.h"

DiaryHeader ReadDiaryHeader(CArchive& archive, std::size_t fileSize)
{
    DiaryHeader header;
    header.version = static_cast<std::uint32_t>(archive.ReadInt32(PartId(DiaryPart::Version)));
    const std::int32_t count = archive.ReadInt32(PartId(DiaryPart::RecordCount));
    if (count > 0) {
        const std::size_t recordBytes = fileSize - archive.Position();
        if (static_cast<std::size_t>(count) > recordBytes / sizeof(WeightRecord))
            throw ArchiveError(ArchiveProblem::CountBeyondData, PartId(DiaryPart::RecordCount), archive.Position() - 4);
        header.recordCount = static_cast<std::size_t>(count);
    }
    return header;
}

DiaryTail ReadDiaryTail(CArchive& archive, std::uint32_t version)
{
    DiaryTail tail;
    if (HasDiaryTail(version)) {
        tail.unit = archive.ReadString(PartId(DiaryPart::Unit));
        tail.digits = archive.ReadInt32(PartId(DiaryPart::Digits));
    }
    return tail;
}
