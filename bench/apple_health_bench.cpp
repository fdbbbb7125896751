// Importing a synthetic Apple Health export.xml of about 500 MB: two
// million records of many types with metadata children and escaped device
// descriptions, a few thousand of them body-mass records, behind the
// document type declaration real exports carry. The file is written once
// into a temporary folder (never kept) and imported by the built
// tarelog-cli with --dry-run, so the time and the peak memory reported are
// those of the import alone, as a user runs it.
#include "tests/diary/temp_dir.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <fstream>
#include <unistd.h>
#include <algorithm>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

constexpr int kRecords = 2'000'000;
constexpr int kBodyMassEvery = 667; // about 3,000 weighings

const char kHead[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE HealthData [
<!ELEMENT HealthData (ExportDate,Me,(Record|Correlation|Workout|ActivitySummary)*)>
<!ATTLIST HealthData locale CDATA #REQUIRED>
<!ELEMENT ExportDate EMPTY>
<!ATTLIST ExportDate value CDATA #REQUIRED>
<!ELEMENT Me EMPTY>
<!ATTLIST Me HKCharacteristicTypeIdentifierBiologicalSex CDATA #REQUIRED>
<!ELEMENT Record ((MetadataEntry|HeartRateVariabilityMetadataList)*)>
<!ATTLIST Record
  type CDATA #REQUIRED unit CDATA #IMPLIED value CDATA #IMPLIED sourceName CDATA #REQUIRED
  sourceVersion CDATA #IMPLIED device CDATA #IMPLIED creationDate CDATA #IMPLIED
  startDate CDATA #REQUIRED endDate CDATA #REQUIRED>
<!ELEMENT MetadataEntry EMPTY>
<!ATTLIST MetadataEntry key CDATA #REQUIRED value CDATA #REQUIRED>
]>
<HealthData locale="en_US">
 <ExportDate value="2024-01-01 10:00:00 +0900"/>
 <Me HKCharacteristicTypeIdentifierBiologicalSex="HKBiologicalSexNotSet"/>
)";

const char* const kTypes[] = {"HKQuantityTypeIdentifierStepCount", "HKQuantityTypeIdentifierHeartRate",
    "HKQuantityTypeIdentifierActiveEnergyBurned", "HKQuantityTypeIdentifierDistanceWalkingRunning",
    "HKQuantityTypeIdentifierBasalEnergyBurned", "HKCategoryTypeIdentifierSleepAnalysis"};

void WriteRecord(std::FILE* out, int i)
{
    const int day = 1 + i / 2000 % 28, month = 1 + i / 56000 % 12, year = 2015 + i / 672000;
    const int hour = i / 84 % 24, minute = i % 60;
    if (i % kBodyMassEvery == 0) {
        std::fprintf(out,
            " <Record type=\"HKQuantityTypeIdentifierBodyMass\" sourceName=\"Withings\" sourceVersion=\"6.3.1\" "
            "unit=\"kg\" creationDate=\"%04d-%02d-%02d %02d:%02d:10 +0900\" startDate=\"%04d-%02d-%02d %02d:%02d:00 "
            "+0900\" endDate=\"%04d-%02d-%02d %02d:%02d:00 +0900\" value=\"%.1f\">\n"
            "  <MetadataEntry key=\"HKWasUserEntered\" value=\"0\"/>\n </Record>\n",
            year, month, day, hour, minute, year, month, day, hour, minute, year, month, day, hour, minute,
            60.0 + i % 200 / 10.0);
        return;
    }
    // A third of the records carry the device description real exports repeat.
    const char* device = i % 3 == 0
        ? " device=\"&lt;&lt;HKDevice: 0x283a1c0f0&gt;, name:Apple Watch, manufacturer:Apple "
          "Inc., model:Watch, hardware:Watch6,1, software:10.1&gt;\""
        : "";
    std::fprintf(out,
        " <Record type=\"%s\" sourceName=\"Apple Watch\" sourceVersion=\"10.1\"%s unit=\"count/min\" "
        "creationDate=\"%04d-%02d-%02d %02d:%02d:10 +0900\" startDate=\"%04d-%02d-%02d %02d:%02d:00 +0900\" "
        "endDate=\"%04d-%02d-%02d %02d:%02d:30 +0900\" value=\"%d\"/>\n",
        kTypes[i % 6], device, year, month, day, hour, minute, year, month, day, hour, minute, year, month, day, hour,
        minute, 60 + i % 90);
}

bool WriteExport(const std::string& path)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return false;
    std::fputs(kHead, out);
    for (int i = 0; i < kRecords; ++i)
        WriteRecord(out, i);
    std::fputs("</HealthData>\n", out);
    return std::fclose(out) == 0;
}

// The child's peak resident memory (VmHWM) in KiB, 0 when it has gone.
long PeakOf(pid_t child)
{
    std::ifstream status("/proc/" + std::to_string(child) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmHWM:"))
            return std::stol(line.substr(6));
    return 0;
}

struct ImportCost {
    long peakKiB = -1; // -1: the import failed
    double cpuSeconds = 0;
};

// Runs tarelog-cli. Its peak resident memory is read from /proc while it
// runs: the one wait4 reports also counts this (large) benchmark process,
// whose memory the child starts in until it executes the tool.
ImportCost RunImport(const std::string& diary, const std::string& xml)
{
    const char* argv[] = {TARELOG_CLI, "import", diary.c_str(), xml.c_str(), "--dry-run", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, TARELOG_CLI, &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    ImportCost cost;
    if (spawned != 0)
        return cost;
    long peak = 0;
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, WNOHANG, &usage) == 0) {
        peak = std::max(peak, PeakOf(child));
        usleep(10'000);
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        cost.peakKiB = peak;
    cost.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return cost;
}

void BM_ImportAppleHealthExport500MB(benchmark::State& state)
{
    TempDir dir;
    const std::string xml = dir.File("export.xml");
    if (!WriteExport(xml)) {
        state.SkipWithError("cannot write the export");
        return;
    }
    ImportCost cost;
    for (auto _ : state) {
        cost = RunImport(dir.File("diary.tlg"), xml);
        if (cost.peakKiB < 0)
            state.SkipWithError("tarelog-cli import failed");
    }
    state.counters["peak_MiB"] = static_cast<double>(cost.peakKiB) / 1024.0;
    state.counters["child_cpu_s"] = cost.cpuSeconds;
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(xml)) / 1e6;
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(xml)));
}
BENCHMARK(BM_ImportAppleHealthExport500MB)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
