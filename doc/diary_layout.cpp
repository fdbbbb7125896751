#include "doc/diary_layout.h"

#include "platform/archive.h"

DiaryHeader ReadDiaryHeader(CArchive& archive, std::size_t fileSize)
{
    DiaryHeader header;
    header.version = static_cast<std::uint32_t>(archive.ReadInt32("the version number"));
    const std::int32_t count = archive.ReadInt32("the record count");
    if (count > 0) {
        const std::size_t recordBytes = fileSize - archive.Position();
        if (static_cast<std::size_t>(count) > recordBytes / sizeof(WeightRecord))
            throw ArchiveError("the record count is larger than the records the file holds", archive.Position() - 4);
        header.recordCount = static_cast<std::size_t>(count);
    }
    return header;
}

DiaryTail ReadDiaryTail(CArchive& archive, std::uint32_t version)
{
    DiaryTail tail;
    if (HasDiaryTail(version)) {
        tail.unit = archive.ReadString("the unit text");
        tail.digits = archive.ReadInt32("the decimal digits");
    }
    return tail;
}
