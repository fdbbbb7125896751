#include "diary/diary_file_stats.h"

#include "diary/diary_stats_accumulator.h"
#include "diary/diary_stream.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <new>
#include <vector>

namespace {

// Hands each chunk of the stream's remaining records to `take` until the
// records end or `take` answers false.
Status<DiaryFileError> ForEachChunk(DiaryStream& stream, const std::function<bool(std::span<const WeightRecord>)>& take)
{
    for (;;) {
        const Result<std::span<const WeightRecord>, DiaryFileError> chunk = stream.NextChunk();
        if (!chunk)
            return Failed{chunk.error()};
        if (chunk->empty() || !take(*chunk))
            return {};
    }
}

// False when a record is out of date order, which the accumulator cannot take.
Result<bool, DiaryFileError> AccumulateInFileOrder(DiaryStream& stream, DiaryStatsAccumulator& accumulator)
{
    bool inOrder = true;
    const Status<DiaryFileError> read = ForEachChunk(stream, [&](std::span<const WeightRecord> chunk) {
        for (const WeightRecord& record : chunk) {
            if (!accumulator.Add(record)) {
                inOrder = false;
                return false;
            }
        }
        return true;
    });
    if (!read)
        return Failed{read.error()};
    return inOrder;
}

Status<DiaryFileError> ReadAllRecords(DiaryStream& stream, std::vector<WeightRecord>& records)
{
    records.reserve(stream.RecordCount());
    stream.Rewind();
    return ForEachChunk(stream, [&](std::span<const WeightRecord> chunk) {
        records.insert(records.end(), chunk.begin(), chunk.end());
        return true;
    });
}

} // namespace

Result<DiaryFileStats, DiaryFileError> ComputeDiaryFileStats(const std::string& path)
{
    DiaryStream stream;
    if (Status<DiaryFileError> opened = stream.Open(path); !opened)
        return Failed{opened.error()};
    DiaryStatsAccumulator accumulator;
    const Result<bool, DiaryFileError> inOrder = AccumulateInFileOrder(stream, accumulator);
    if (!inOrder)
        return Failed{inOrder.error()};
    DiaryFileStats result;
    if (*inOrder) {
        result.figures = accumulator.Result();
    } else {
        try {
            std::vector<WeightRecord> records;
            if (Status<DiaryFileError> read = ReadAllRecords(stream, records); !read)
                return Failed{read.error()};
            result.figures = ComputeDiaryStats(records);
        } catch (const std::bad_alloc&) {
            return Failed{
                DiaryRefusalError(DiaryFileError::Kind::CannotOpen, path, DiaryRefusal::SortingOutOfMemory, ENOMEM)};
        }
    }
    result.unit = stream.Unit();
    return result;
}
