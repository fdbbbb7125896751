// tarelog-cli dump and stats as streams: dump prints byte for byte what the
// whole-diary JSON was, on every kind of diary, and neither verb's memory
// grows with the diary.
#include "diary/diary_file.h"
#include "diary/diary_json.h"
#include "platform/format.h"

#include "../diary/random_diary.h"
#include "cli_runner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct MeasuredRun : CliRun {
    long peakKib = 0; // the child's peak resident size
};

// Runs the built tarelog-cli; stdout goes to `outPath` (a file of the test
// or /dev/null), stderr is caught, and the child's peak size is measured.
MeasuredRun RunMeasured(const TempDir& dir, const std::vector<std::string>& args, const std::string& outPath)
{
    const std::string errPath = dir.File(".stderr");
    const pid_t pid = StartCli(args, outPath, errPath);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    MeasuredRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakKib = usage.ru_maxrss;
    if (outPath != "/dev/null")
        run.out = ReadBytes(outPath);
    run.err = ReadBytes(errPath);
    return run;
}

// The JSON as dump built it before it streamed: the whole diary loaded,
// every record printed with printf's conversions.
std::string JsonString(const std::string& utf8)
{
    std::string out = "\"";
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else if (u < 0x20 || u == 0x7F)
            out += FormatString("\\u%04x", u);
        else
            out += c;
    }
    return out + "\"";
}

std::string JsonWeight(double weight)
{
    if (std::isnan(weight))
        return "\"nan\"";
    if (std::isinf(weight))
        return weight > 0 ? "\"inf\"" : "\"-inf\"";
    return ShortestDouble(weight);
}

std::string ReferenceDump(const CTarelogDoc& doc, std::int32_t version)
{
    std::string json = FormatString("{\"version\":%d,\"unit\":%s,\"digits\":%d,\"records\":[", version,
        JsonString(ToUtf8(doc.m_unit)).c_str(), doc.m_digits);
    for (int i = 0; i < doc.GetRecordCount(); ++i) {
        const WeightRecord& r = doc.GetRecord(i);
        json += i > 0 ? "," : "";
        json += FormatString(
            "{\"date\":\"%04d-%02d-%02d\",\"year\":%d,\"month\":%d,\"day\":%d,\"weight\":%s,\"reserved\":\"%02x%02x\"}",
            r.year, r.month, r.day, r.year, r.month, r.day, JsonWeight(r.weight).c_str(), r.reserved[0], r.reserved[1]);
    }
    return json + "]}\n";
}

// What dump printed for `path` before: the JSON, or the loader's error.
void ExpectDumpAsBefore(const TempDir& dir, const std::string& path)
{
    SCOPED_TRACE(path);
    CTarelogDoc doc;
    const auto loaded = LoadDiaryFile(path, doc);
    const DiaryFileError error = loaded.error_or({});
    const std::int32_t version = loaded ? loaded->version : 0;
    const MeasuredRun run = RunMeasured(dir, {"dump", path}, dir.File(".stdout"));
    if (error) {
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "tarelog-cli: " + error.EnglishMessage() + "\n");
        return;
    }
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::string expected = ReferenceDump(doc, version);
    EXPECT_EQ(run.out.size(), expected.size());
    EXPECT_TRUE(run.out == expected); // not printed: the texts can be megabytes long
}

TEST(DumpStream, PrintsWhatTheWholeDiaryJsonWasForEveryCorpusFile)
{
    TempDir dir;
    int files = 0;
    for (const char* folder : {"/bad", "/good"})
        for (const auto& entry : std::filesystem::directory_iterator(std::string(TARELOG_TEST_DATA) + folder))
            if (entry.path().extension() == ".tlg") {
                ExpectDumpAsBefore(dir, entry.path().string());
                ++files;
            }
    EXPECT_GE(files, 60);
}

TEST(DumpStream, PrintsWhatTheWholeDiaryJsonWasForRandomDiaries)
{
    TempDir dir;
    const std::string path = dir.File("random.tlg");
    RandomDiaries diaries(1206);
    for (int round = 0; round < 60; ++round) {
        // Some long enough to fill the output buffer many times over.
        const int records = round % 20 == 0 ? 70000 : static_cast<int>(diaries.Pick(400));
        const auto order = round % 3 ? RandomDiaries::Order::ByDate : RandomDiaries::Order::Shuffled;
        std::string bytes = StoreDiaryBytes(diaries.Make(records, order));
        if (round % 7 == 3)
            bytes.replace(0, 4, Hex("64 00 00 00")); // version 100: the unit becomes trailing bytes
        WriteBytes(path, bytes);
        ExpectDumpAsBefore(dir, path);
        if (testing::Test::HasFailure())
            FAIL() << "round " << round;
    }
}

// Every value the date fields can hold, in each field, as %04d and %02d
// print them; and a unit whose JSON alone is larger than the output buffer.
TEST(DumpStream, PrintsEverySixteenBitDateFieldAndAHugeUnitAsBefore)
{
    TempDir dir;
    const std::string path = dir.File("fields.tlg");
    CTarelogDoc doc;
    for (int value = -32768; value <= 32767; ++value) {
        const auto v = static_cast<std::int16_t>(value);
        doc.AppendRecord(WeightRecord{value / 3.0, v, static_cast<std::int16_t>(value % 100), v, {0, 0}});
        doc.AppendRecord(WeightRecord{-value / 7.0, static_cast<std::int16_t>(value % 10000), v,
            static_cast<std::int16_t>(-value % 100), {0xAB, 0x0F}});
    }
    doc.m_unit = std::u16string(600000, u'\x01') + u"キロ";
    WriteBytes(path, StoreDiaryBytes(doc));
    ExpectDumpAsBefore(dir, path);
}

// The record with every field at its longest fits the room the writer is
// given, and reads as before.
TEST(DumpStream, TheLongestRecordFitsItsRoom)
{
    CTarelogDoc doc;
    doc.AppendRecord(WeightRecord{-2.2250738585072014e-308, -32768, -32768, -32768, {0xFF, 0xFF}});
    doc.m_unit = u"";
    std::vector<char> room(kMaxJsonRecordSize);
    char* end = WriteJsonRecord(room.data(), doc.GetRecord(0));
    const std::string record(room.data(), static_cast<std::size_t>(end - room.data()));
    EXPECT_LE(record.size(), kMaxJsonRecordSize);
    const std::string whole = ReferenceDump(doc, 101);
    EXPECT_EQ(DiaryJsonHead(101, doc.m_unit, doc.m_digits) + record + std::string(kDiaryJsonEnd), whole);
}

// A diary of `days` consecutive days written a block at a time: the test's
// own memory stays small, and a child's peak resident size, which starts
// from the test's size at the fork, is the program's own.
void WriteLongDiary(const std::string& path, int days)
{
    std::ofstream out(path, std::ios::binary);
    const std::int32_t header[2] = {101, days};
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    std::vector<WeightRecord> block;
    for (int i = 0; i < days; ++i) {
        const CalendarDate date = CalendarDate::FromYmd(-3000, 1, 1 + i);
        block.push_back(WeightRecord{60.0 + (i % 300) * 0.1, static_cast<std::int16_t>(date.Year()),
            static_cast<std::int16_t>(date.Month()), static_cast<std::int16_t>(date.Day()), {0, 0}});
        if (block.size() == 4096 || i + 1 == days) {
            out.write(reinterpret_cast<const char*>(block.data()),
                static_cast<std::streamsize>(block.size() * sizeof(WeightRecord)));
            block.clear();
        }
    }
    out << Hex("FF FE FF 02 6B 00 67 00 01 00 00 00");
    ASSERT_TRUE(out.good());
}

// A diary of 2,000,000 days (32 MB) against one of a single day: streamed,
// dump and stats need no more than a few megabytes beyond the program
// itself, where loading the diary whole took ten times its size.
TEST(DumpStream, DumpAndStatsOfA32MegabyteDiaryStayFarBelowItsSize)
{
    TempDir dir;
    const std::string big = dir.File("big.tlg");
    const std::string small = dir.File("small.tlg");
    WriteLongDiary(small, 1);
    WriteLongDiary(big, 2000000);
    ASSERT_GT(std::filesystem::file_size(big), 32000000u);

    constexpr long kAllowanceKib = 8 * 1024;
    for (const std::vector<std::string>& verb : {std::vector<std::string>{"dump"}, std::vector<std::string>{"stats"},
             std::vector<std::string>{"stats", "--json"}}) {
        std::vector<std::string> smallArgs = verb;
        smallArgs.insert(smallArgs.begin() + 1, small);
        std::vector<std::string> bigArgs = verb;
        bigArgs.insert(bigArgs.begin() + 1, big);
        const MeasuredRun baseline = RunMeasured(dir, smallArgs, "/dev/null");
        const MeasuredRun run = RunMeasured(dir, bigArgs, "/dev/null");
        ASSERT_EQ(baseline.status, 0) << baseline.err;
        ASSERT_EQ(run.status, 0) << run.err;
        std::printf("%s: peak %ld KiB for 2,000,000 records, %ld KiB for one\n", verb.back().c_str(), run.peakKib,
            baseline.peakKib);
        EXPECT_LT(run.peakKib, baseline.peakKib + kAllowanceKib);
    }
}

} // namespace
