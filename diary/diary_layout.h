#pragma once

#include "diary/weight_record.h"
#include "platform/archive.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The parts of a diary file around its records, read by the whole-file
// loader and by the streaming reader alike so that both accept and refuse
// the same files with the same words:
//   version (int32), record count (int32), count records of 16 bytes,
//   then, for versions above 100 taken unsigned, the unit text (the
//   framework's string form) and the decimal digits (int32).
// Anything after that is ignored.

constexpr std::size_t kDiaryHeaderSize = 8;

// The parts of the file, as the archive reports them back in its errors.
enum class DiaryPart : ArchivePart { Version, RecordCount, Records, Unit, Digits };

constexpr ArchivePart PartId(DiaryPart part)
{
    return static_cast<ArchivePart>(part);
}

struct DiaryHeader {
    std::uint32_t version = 0;
    std::size_t recordCount = 0; // a negative count in the file reads as no records
};

// Reads the version and the count from an archive that starts at the file's
// first byte. `fileSize` is the whole file's length, which the archive need
// not hold: a count larger than the records the rest of the file can hold
// is refused (ArchiveError) before anyone allocates for it.
DiaryHeader ReadDiaryHeader(CArchive& archive, std::size_t fileSize);

// Where the records end and the unit text begins.
constexpr std::size_t DiaryTailOffset(const DiaryHeader& header)
{
    return kDiaryHeaderSize + header.recordCount * sizeof(WeightRecord);
}

struct DiaryTail {
    std::u16string unit = u"k"; // what a file without a tail means
    std::int32_t digits = 1;
};

constexpr bool HasDiaryTail(std::uint32_t version)
{
    return version > 100;
}

// Reads the unit and digits from an archive positioned just after the
// records; for versions without a tail, reads nothing and gives the defaults.
DiaryTail ReadDiaryTail(CArchive& archive, std::uint32_t version);
