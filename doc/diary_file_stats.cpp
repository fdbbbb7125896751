#include "doc/diary_file_stats.h"

#include "doc/diary_stats_accumulator.h"
#include "doc/diary_stream.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace {

enum class Pass { Done, OutOfOrder };

DiaryFileError AccumulateInFileOrder(DiaryStream& stream, DiaryStatsAccumulator& accumulator, Pass& pass)
{
    pass = Pass::Done;
    for (;;) {
        std::span<const WeightRecord> chunk;
        if (const DiaryFileError error = stream.NextChunk(chunk))
            return error;
        if (chunk.empty())
            return {};
        for (const WeightRecord& record : chunk) {
            if (!accumulator.Add(record)) {
                pass = Pass::OutOfOrder;
                return {};
            }
        }
    }
}

DiaryFileError ReadAllRecords(DiaryStream& stream, std::vector<WeightRecord>& records)
{
    records.reserve(stream.RecordCount());
    stream.Rewind();
    for (;;) {
        std::span<const WeightRecord> chunk;
        if (const DiaryFileError error = stream.NextChunk(chunk))
            return error;
        if (chunk.empty())
            return {};
        records.insert(records.end(), chunk.begin(), chunk.end());
    }
}

} // namespace

DiaryFileError ComputeDiaryFileStats(const std::string& path, DiaryStats& stats, std::u16string& unit)
{
    DiaryStream stream;
    if (const DiaryFileError error = stream.Open(path))
        return error;
    DiaryStatsAccumulator accumulator;
    Pass pass = Pass::Done;
    if (const DiaryFileError error = AccumulateInFileOrder(stream, accumulator, pass))
        return error;
    if (pass == Pass::OutOfOrder) {
        try {
            std::vector<WeightRecord> records;
            if (const DiaryFileError error = ReadAllRecords(stream, records))
                return error;
            stats = ComputeDiaryStats(records);
        } catch (const std::bad_alloc&) {
            return DiaryRefusalError(DiaryFileError::Kind::CannotOpen, path, DiaryRefusal::SortingOutOfMemory, ENOMEM);
        }
    } else {
        stats = accumulator.Result();
    }
    unit = stream.Unit();
    return {};
}
