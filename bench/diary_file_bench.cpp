// Loading, saving and appending to large diaries.
#include "diary/diary_file.h"
#include "platform/calendar_date.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Consecutive real days from 1000-01-01, so every record is in date order.
void FillDiary(CTarelogDoc& doc, int days)
{
    doc.ReserveRecords(static_cast<std::size_t>(days));
    for (int i = 0; i < days; ++i) {
        const CalendarDate date = CalendarDate::FromYmd(1000, 1, 1 + i);
        doc.AppendRecord(WeightRecord{60.0 + (i % 100) * 0.1, static_cast<std::int16_t>(date.Year()),
            static_cast<std::int16_t>(date.Month()), static_cast<std::int16_t>(date.Day()), {0, 0}});
    }
}

class BenchDir {
public:
    BenchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tarelog-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        m_path = pattern;
    }
    ~BenchDir() { std::filesystem::remove_all(m_path); }
    std::string File(const char* name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

void BM_LoadDiaryFile(benchmark::State& state)
{
    BenchDir dir;
    const std::string path = dir.File("load.tlg");
    {
        CTarelogDoc doc;
        FillDiary(doc, static_cast<int>(state.range(0)));
        if (!SaveDiaryFile(doc, path))
            state.SkipWithError("cannot write the diary");
    }
    CTarelogDoc doc;
    for (auto _ : state) {
        if (!LoadDiaryFile(path, doc))
            state.SkipWithError("cannot load the diary");
        benchmark::DoNotOptimize(doc.GetRecordCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 16 * state.range(0));
}
BENCHMARK(BM_LoadDiaryFile)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The whole safe save: store, write, fsync, rename, fsync of the directory.
void BM_SaveDiaryFile(benchmark::State& state)
{
    BenchDir dir;
    const std::string path = dir.File("save.tlg");
    CTarelogDoc doc;
    FillDiary(doc, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!SaveDiaryFile(doc, path))
            state.SkipWithError("cannot save the diary");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 16 * state.range(0));
}
BENCHMARK(BM_SaveDiaryFile)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The bytes of a save without the disk.
void BM_StoreDiaryBytes(benchmark::State& state)
{
    CTarelogDoc doc;
    FillDiary(doc, static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(StoreDiaryBytes(doc));
}
BENCHMARK(BM_StoreDiaryBytes)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A new day after the last one scans every record before it is appended;
// the removal that keeps the size constant is a pop of the last element.
void BM_SetDayWeightAppend(benchmark::State& state)
{
    CTarelogDoc doc;
    const int days = static_cast<int>(state.range(0));
    FillDiary(doc, days);
    const CalendarDate next = CalendarDate::FromYmd(1000, 1, 1 + days);
    for (auto _ : state) {
        doc.SetDayWeight(65.5, next.Year(), next.Month(), next.Day());
        doc.RemoveRecord(days);
    }
}
BENCHMARK(BM_SetDayWeightAppend)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

} // namespace
