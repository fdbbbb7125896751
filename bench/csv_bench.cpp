// CSV import and export of a million days.
#include "diary/csv_export.h"
#include "diary/import/weight_import.h"
#include "diary/import/day_weight_merge.h"
#include "platform/calendar_date.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

// Consecutive real days from 1000-01-01 + `firstDay`.
std::vector<WeightRecord> Days(int firstDay, int count, double base)
{
    std::vector<WeightRecord> records;
    records.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const CalendarDate date = CalendarDate::FromYmd(1000, 1, 1 + firstDay + i);
        records.push_back(WeightRecord{base + (i % 1000) * 0.037, static_cast<std::int16_t>(date.Year()),
            static_cast<std::int16_t>(date.Month()), static_cast<std::int16_t>(date.Day()), {0, 0}});
    }
    return records;
}

void Fill(CTarelogDoc& doc, const std::vector<WeightRecord>& records)
{
    doc.RemoveAllRecords();
    doc.ReserveRecords(records.size());
    for (const WeightRecord& record : records)
        doc.AppendRecord(record);
}

// Reading the text, choosing a weighing per day and merging, as import does
// between its file read and save.
void Import(const std::string& csv, CTarelogDoc& doc, benchmark::State& state)
{
    Result<WeightImport, ImportError> import = ReadWeightImport(csv, ImportLayout::Auto);
    if (!import || !import->problems.Empty()) {
        state.SkipWithError("the CSV does not read back");
        return;
    }
    benchmark::DoNotOptimize(
        MergeDayWeights(doc, ChooseOnePerDay(std::move(import->weighings), KeepRule::Latest).days));
}

// Each round refills the diary untimed, so every import meets the same days.
void ImportIntoFullDiary(benchmark::State& state, const std::vector<WeightRecord>& diary, const std::string& csv)
{
    CTarelogDoc doc;
    for (auto _ : state) {
        state.PauseTiming();
        Fill(doc, diary);
        state.ResumeTiming();
        Import(csv, doc, state);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ImportCsvIntoEmptyDiary(benchmark::State& state)
{
    const std::string csv = ExportCsv(Days(0, static_cast<int>(state.range(0)), 60.0));
    for (auto _ : state) {
        CTarelogDoc doc;
        Import(csv, doc, state);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ImportCsvIntoEmptyDiary)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The rows cover the second half of the diary and as many days after it:
// half of them replace a weight, half are new days.
void BM_ImportCsvIntoFullDiary(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    ImportIntoFullDiary(state, Days(0, count, 60.0), ExportCsv(Days(count / 2, count, 70.0)));
}
BENCHMARK(BM_ImportCsvIntoFullDiary)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Rows in reverse date order, so the merge has to sort them first.
void BM_ImportReversedCsvIntoFullDiary(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::vector<WeightRecord> rows = Days(count / 2, count, 70.0);
    std::reverse(rows.begin(), rows.end());
    ImportIntoFullDiary(state, Days(0, count, 60.0), ExportCsv(rows));
}
BENCHMARK(BM_ImportReversedCsvIntoFullDiary)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_ExportCsv(benchmark::State& state)
{
    const std::vector<WeightRecord> diary = Days(0, static_cast<int>(state.range(0)), 60.0);
    for (auto _ : state)
        benchmark::DoNotOptimize(ExportCsv(diary));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ExportCsv)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
