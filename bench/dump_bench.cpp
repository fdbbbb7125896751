// tarelog-cli dump and stats as whole processes, and dump's record
// formatting on its own.
#include "diary/diary_file.h"
#include "diary/diary_json.h"
#include "platform/calendar_date.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Consecutive real days from 1000-01-01 with weights of one decimal, as the
// other benchmarks' diaries.
std::vector<WeightRecord> Days(int count)
{
    std::vector<WeightRecord> records;
    records.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const CalendarDate date = CalendarDate::FromYmd(1000, 1, 1 + i);
        records.push_back(WeightRecord{60.0 + (i % 100) * 0.1, static_cast<std::int16_t>(date.Year()),
            static_cast<std::int16_t>(date.Month()), static_cast<std::int16_t>(date.Day()), {0, 0}});
    }
    return records;
}

// Runs tarelog-cli with stdout to /dev/null once per iteration.
void RunCliProcess(benchmark::State& state, const char* verb)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path()
        / ("tarelog-bench-dump-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string diary = (dir / "diary.tlg").string();
    CTarelogDoc doc;
    for (const WeightRecord& record : Days(static_cast<int>(state.range(0))))
        doc.AppendRecord(record);
    if (!SaveDiaryFile(doc, diary)) {
        state.SkipWithError("cannot write the diary");
        return;
    }
    for (auto _ : state) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            std::freopen("/dev/null", "w", stdout);
            ::execl(TARELOG_CLI, TARELOG_CLI, verb, diary.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("tarelog-cli failed");
    }
    std::filesystem::remove_all(dir);
}

void BM_DumpProcess(benchmark::State& state)
{
    RunCliProcess(state, "dump");
}
BENCHMARK(BM_DumpProcess)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_StatsProcess(benchmark::State& state)
{
    RunCliProcess(state, "stats");
}
BENCHMARK(BM_StatsProcess)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The JSON of the records alone, into a buffer that is reused: what dump
// spends per record apart from reading and writing.
void BM_WriteJsonRecords(benchmark::State& state)
{
    const std::vector<WeightRecord> records = Days(static_cast<int>(state.range(0)));
    std::vector<char> buffer(kMaxJsonRecordSize + 1);
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const WeightRecord& record : records)
            bytes += static_cast<std::size_t>(WriteJsonRecord(buffer.data(), record) - buffer.data());
        benchmark::DoNotOptimize(bytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_WriteJsonRecords)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
