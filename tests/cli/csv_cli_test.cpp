// Runs the built tarelog-cli on files in a scratch folder.
#include "diary/csv_export.h"
#include "diary/diary_file.h"
#include "diary/diary_stats.h"
#include "diary/goal_projection.h"
#include "platform/format.h"

#include "../diary/import/csv_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class CsvCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "tarelog-csv-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path Path(const std::string& name) const { return m_dir / name; }

    CliRun Cli(const std::string& arguments) const
    {
        const std::string command = std::string("'") + TARELOG_CLI + "' " + arguments + " >'" + Path("out").string()
            + "' 2>'" + Path("err").string() + "'";
        CliRun run;
        const int status = std::system(command.c_str());
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = Slurp(Path("out"));
        run.err = Slurp(Path("err"));
        return run;
    }

    std::string Quoted(const std::string& name) const { return "'" + Path(name).string() + "'"; }
    static std::string Sample(const std::string& name)
    {
        return std::string("'") + TARELOG_TEST_DATA + "/csv/" + name + "'";
    }
    static std::string Export(const std::string& name)
    {
        return std::string("'") + TARELOG_TEST_DATA + "/import/" + name + "'";
    }

    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }

    void SaveDiary(const std::string& name, const std::vector<WeightRecord>& records, std::u16string unit = u"kg") const
    {
        CTarelogDoc doc;
        for (const WeightRecord& record : records)
            doc.AppendRecord(record);
        doc.m_unit = unit;
        doc.m_digits = 1;
        ASSERT_TRUE(SaveDiaryFile(doc, Path(name).string()));
    }

    std::vector<WeightRecord> LoadDiary(const std::string& name) const
    {
        CTarelogDoc doc;
        EXPECT_TRUE(LoadDiaryFile(Path(name).string(), doc)) << name;
        return doc.Records();
    }

    fs::path m_dir;
};

WeightRecord Record(double weight, int y, int m, int d)
{
    return WeightRecord{weight, static_cast<std::int16_t>(y), static_cast<std::int16_t>(m),
        static_cast<std::int16_t>(d), {0, 0}};
}

bool SameBytes(const std::vector<WeightRecord>& a, const std::vector<WeightRecord>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(WeightRecord)) == 0);
}

TEST_F(CsvCli, ExportThenImportReproducesTheDiary)
{
    std::vector<WeightRecord> diary;
    for (int i = 0; i < 400; ++i)
        diary.push_back(Record(55.0 + i / 7.0, 2023 + i / 365, 1 + (i / 28) % 12, 1 + i % 28));
    std::sort(diary.begin(), diary.end(), [](auto& a, auto& b) { return a.DateKey() < b.DateKey(); });
    diary.erase(std::unique(diary.begin(), diary.end(), [](auto& a, auto& b) { return a.DateKey() == b.DateKey(); }),
        diary.end());
    diary.push_back(Record(-0.0, 2030, 1, 1));
    SaveDiary("a.tlg", diary);

    const CliRun toFile = Cli("export-csv " + Quoted("a.tlg") + " -o " + Quoted("a.csv"));
    ASSERT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_EQ(Slurp(Path("a.csv")), ExportCsv(diary));
    const CliRun toOut = Cli("export-csv " + Quoted("a.tlg"));
    EXPECT_EQ(toOut.status, 0);
    EXPECT_EQ(toOut.out, ExportCsv(diary));

    const CliRun import = Cli("import-csv " + Quoted("b.tlg") + " " + Quoted("a.csv"));
    ASSERT_EQ(import.status, 0) << import.err;
    EXPECT_TRUE(SameBytes(LoadDiary("b.tlg"), diary));
    EXPECT_NE(import.err.find(std::to_string(diary.size()) + " days added, 0 replaced, 0 rows skipped"),
        std::string::npos)
        << import.err;
}

TEST_F(CsvCli, ImportMergesIntoAnExistingDiary)
{
    SaveDiary("d.tlg", {Record(81, 2024, 1, 2), Record(82, 2024, 1, 4)});
    Write("in.csv", "date;weight\n2024/01/04;79,5\n2024-01-03T08:00:00Z;80\n2024-01-01;83\n2024-01-04;79.75\n");
    const CliRun run = Cli("import-csv " + Quoted("d.tlg") + " " + Quoted("in.csv"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(SameBytes(LoadDiary("d.tlg"),
        {Record(83, 2024, 1, 1), Record(81, 2024, 1, 2), Record(80, 2024, 1, 3), Record(79.75, 2024, 1, 4)}));
    EXPECT_NE(run.err.find("2 days added, 1 replaced, 0 rows skipped"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("1 weighing left out for a later weighing of the same day"), std::string::npos) << run.err;
    CTarelogDoc doc;
    ASSERT_TRUE(LoadDiaryFile(Path("d.tlg").string(), doc));
    EXPECT_EQ(doc.m_unit, u"kg"); // unit and digits travel unchanged
    EXPECT_EQ(doc.m_digits, 1);
}

TEST_F(CsvCli, AnUnorderedDiaryIsNotedAndMergedAsTheEntryDialogWould)
{
    SaveDiary("d.tlg", {Record(85, 2024, 1, 5), Record(81, 2024, 1, 1)});
    Write("in.csv", "date,weight\n2024-01-01,80\n");
    const CliRun run = Cli("import-csv " + Quoted("d.tlg") + " " + Quoted("in.csv"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("is not in date order"), std::string::npos) << run.err;
    // The scan stops at 01-05, so the day goes in front and the stray 01-01 stays.
    EXPECT_TRUE(
        SameBytes(LoadDiary("d.tlg"), {Record(80, 2024, 1, 1), Record(85, 2024, 1, 5), Record(81, 2024, 1, 1)}));
}

TEST_F(CsvCli, ABadRowLeavesTheDiaryUntouchedAndNamesItsLine)
{
    SaveDiary("d.tlg", {Record(81, 2024, 1, 2)});
    const std::string before = Slurp(Path("d.tlg"));
    const CliRun run = Cli("import-csv " + Quoted("d.tlg") + " " + Sample("bad_rows.csv"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Slurp(Path("d.tlg")), before);
    EXPECT_NE(run.err.find("line 3: '2024-02-30' is not a calendar date"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("line 4: 'heavy' is not a number"), std::string::npos);
    EXPECT_NE(run.err.find("line 5: expected 2 fields, found 3"), std::string::npos);
    EXPECT_NE(run.err.find("line 7: 'inf' is not a finite number"), std::string::npos);

    // Nor is a missing diary created.
    EXPECT_EQ(Cli("import-csv " + Quoted("new.tlg") + " " + Sample("bad_rows.csv")).status, 1);
    EXPECT_FALSE(fs::exists(Path("new.tlg")));
}

TEST_F(CsvCli, SkipBadImportsTheReadableRowsAndListsTheOthers)
{
    const CliRun run = Cli("import-csv " + Quoted("d.tlg") + " " + Sample("bad_rows.csv") + " --skip-bad");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(SameBytes(LoadDiary("d.tlg"), {Record(80.0, 2024, 1, 1), Record(80.4, 2024, 1, 7)}));
    EXPECT_NE(run.err.find("skipped line 3:"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("skipped line 7:"), std::string::npos);
    EXPECT_NE(run.err.find("2 days added, 0 replaced, 4 rows skipped"), std::string::npos);
}

TEST_F(CsvCli, DryRunWritesNothing)
{
    const CliRun fresh = Cli("import-csv " + Quoted("d.tlg") + " " + Sample("tarelog.csv") + " --dry-run");
    ASSERT_EQ(fresh.status, 0) << fresh.err;
    EXPECT_FALSE(fs::exists(Path("d.tlg")));
    EXPECT_NE(fresh.err.find("3 days added, 0 replaced, 0 rows skipped; dry run, nothing written"), std::string::npos)
        << fresh.err;

    SaveDiary("e.tlg", {Record(1, 2024, 1, 4)});
    const std::string before = Slurp(Path("e.tlg"));
    const CliRun existing = Cli("import-csv --dry-run " + Quoted("e.tlg") + " " + Sample("tarelog.csv"));
    EXPECT_EQ(existing.status, 0);
    EXPECT_NE(existing.err.find("2 days added, 1 replaced"), std::string::npos) << existing.err;
    EXPECT_EQ(Slurp(Path("e.tlg")), before);
}

TEST_F(CsvCli, HeaderOnlyCreatesAnEmptyDiaryAndLeavesAnExistingOneAlone)
{
    const CliRun run = Cli("import-csv " + Quoted("d.tlg") + " " + Sample("header_only.csv"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(LoadDiary("d.tlg").empty());
    EXPECT_NE(run.err.find("0 days added, 0 replaced, 0 rows skipped"), std::string::npos);
}

TEST_F(CsvCli, ANewDiaryTakesTheUnitTheFileStates)
{
    const CliRun run = Cli("import-csv " + Quoted("d.tlg") + " " + Sample("libra.csv"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("libra layout, 3 weighings in lbs"), std::string::npos) << run.err;
    CTarelogDoc doc;
    ASSERT_TRUE(LoadDiaryFile(Path("d.tlg").string(), doc));
    EXPECT_EQ(doc.m_unit, u"lb");
    ASSERT_EQ(doc.Records().size(), 3u);
    EXPECT_EQ(doc.Records()[0].weight, 185.4);
}

TEST_F(CsvCli, UsageAndFileErrors)
{
    EXPECT_EQ(Cli("import-csv " + Quoted("d.tlg") + " " + Sample("tarelog.csv") + " --format excel").status, 2);
    EXPECT_EQ(Cli("import-csv " + Quoted("d.tlg")).status, 2);
    EXPECT_EQ(Cli("export-csv").status, 2);
    EXPECT_EQ(Cli("export-csv " + Quoted("d.tlg") + " -o").status, 2);
    EXPECT_EQ(Cli("stats " + Quoted("d.tlg") + " --yaml").status, 2);
    EXPECT_EQ(Cli("export-csv " + Quoted("missing.tlg")).status, 1);
    EXPECT_EQ(Cli("stats " + Quoted("missing.tlg")).status, 1);

    const CliRun wrongLayout = Cli("import-csv " + Quoted("d.tlg") + " " + Sample("tarelog.csv") + " --format libra");
    EXPECT_EQ(wrongLayout.status, 1);
    EXPECT_NE(wrongLayout.err.find("not a libra export"), std::string::npos) << wrongLayout.err;
    EXPECT_EQ(Cli("import-csv " + Quoted("d.tlg") + " " + Quoted("missing.csv")).status, 1);
    EXPECT_FALSE(fs::exists(Path("d.tlg")));
    for (const char* verb : {"export-csv", "import-csv", "stats"}) {
        const CliRun help = Cli(std::string(verb) + " --help");
        EXPECT_EQ(help.status, 0) << verb;
        EXPECT_NE(help.out.find("usage: tarelog-cli " + std::string(verb) + " "), std::string::npos) << verb;
    }
}

TEST_F(CsvCli, StatsAsJsonAndText)
{
    SaveDiary("d.tlg", {Record(100, 2024, 1, 1), Record(90, 2024, 1, 3), Record(80, 2024, 1, 10)}, u"k\"g");
    const CliRun json = Cli("stats " + Quoted("d.tlg") + " --json");
    ASSERT_EQ(json.status, 0) << json.err;
    // trend 100 -> 99 -> 97.1; reference for the week is 01-03 (trend 99).
    EXPECT_EQ(json.out,
        "{\"entries\": 3, \"unit\": \"k\\\"g\", \"first_date\": \"2024-01-01\", \"last_date\": "
        "\"2024-01-10\", \"latest\": 80, \"lowest\": 80, \"lowest_date\": \"2024-01-10\", \"highest\": 100, "
        "\"highest_date\": \"2024-01-01\", \"change_7_days\": -10, \"change_30_days\": null, \"trend\": "
            + ShortestDouble(99.0 + 0.1 * (80 - 99.0))
            + ", \"trend_per_week\": " + ShortestDouble(99.0 + 0.1 * (80 - 99.0) - 99.0) + "}\n");

    const CliRun text = Cli("stats " + Quoted("d.tlg"));
    ASSERT_EQ(text.status, 0);
    EXPECT_NE(text.out.find("entries:        3\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("change 7 days:  -10.00\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("change 30 days: none\n"), std::string::npos);
    EXPECT_NE(text.out.find("trend:          97.10 k\"g\n"), std::string::npos);

    SaveDiary("empty.tlg", {});
    EXPECT_EQ(Cli("stats " + Quoted("empty.tlg") + " --json").out, "{\"entries\": 0, \"unit\": \"kg\"}\n");
}

TEST_F(CsvCli, StatsWithAGoalGiveTheDayTheTrendReachesIt)
{
    // 60 days losing 0.1 a day from 2024-01-01: the trend falls 0.1 a day too.
    std::vector<WeightRecord> records;
    for (int i = 0; i < 60; ++i) {
        const CalendarDate date = CalendarDate::FromYmd(2024, 1, 1 + i);
        records.push_back(Record(80.0 - 0.1 * i, date.Year(), date.Month(), date.Day()));
    }
    SaveDiary("d.tlg", records, u"kg");
    const DiaryStats stats = ComputeDiaryStats(records);
    const GoalProjection toward = ProjectGoal(stats, 70.0);
    ASSERT_TRUE(toward.date);
    const std::string day = FormatString("%04d-%02d-%02d", toward.date->Year(), toward.date->Month(),
        toward.date->Day());

    const CliRun json = Cli("stats " + Quoted("d.tlg") + " --json --goal 70");
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find(", \"goal\": 70, \"goal_date\": \"" + day + "\"}\n"), std::string::npos) << json.out;
    const CliRun text = Cli("stats " + Quoted("d.tlg") + " --goal 70");
    EXPECT_NE(text.out.find("goal:           70 kg\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("goal date:      " + day + "\n"), std::string::npos) << text.out;

    // Moving away from the goal: no day.
    const CliRun away = Cli("stats " + Quoted("d.tlg") + " --goal 90 --json");
    EXPECT_NE(away.out.find(", \"goal\": 90, \"goal_date\": null}"), std::string::npos) << away.out;
    EXPECT_NE(Cli("stats " + Quoted("d.tlg") + " --goal 90").out.find("goal date:      none\n"), std::string::npos);
    // Without --goal the figures are as they were.
    EXPECT_EQ(Cli("stats " + Quoted("d.tlg") + " --json").out.find("goal"), std::string::npos);
    EXPECT_EQ(Cli("stats " + Quoted("d.tlg") + " --goal heavy").status, 2);
}

std::size_t Occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST_F(CsvCli, ImportAndItsOldNameReadAnyLayout)
{
    const CliRun run = Cli("import " + Quoted("a.tlg") + " " + Export("apple_health_export.xml"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("apple layout, 3 weighings in lb"), std::string::npos) << run.err;
    CTarelogDoc doc;
    ASSERT_TRUE(LoadDiaryFile(Path("a.tlg").string(), doc));
    EXPECT_EQ(doc.m_unit, u"lb");
    EXPECT_TRUE(SameBytes(doc.Records(), {Record(200, 2023, 7, 23), Record(199.8, 2023, 7, 24)}));

    ASSERT_EQ(Cli("import-csv " + Quoted("b.tlg") + " " + Export("apple_health_export.xml")).status, 0);
    EXPECT_EQ(Slurp(Path("b.tlg")), Slurp(Path("a.tlg")));

    const CliRun zipped = Cli("import " + Quoted("c.tlg") + " " + Export("apple_health_export.zip"));
    ASSERT_EQ(zipped.status, 0) << zipped.err;
    EXPECT_NE(zipped.err.find("apple_health_export/export.xml in the archive: apple layout"), std::string::npos)
        << zipped.err;
    EXPECT_EQ(Slurp(Path("c.tlg")), Slurp(Path("a.tlg")));
}

TEST_F(CsvCli, BadOptionsAndUnrecognisedFilesSayWhat)
{
    const CliRun format = Cli("import " + Quoted("d.tlg") + " " + Sample("tarelog.csv") + " --format nope");
    EXPECT_EQ(format.status, 2);
    EXPECT_NE(format.err.find("unknown layout 'nope' for --format"), std::string::npos) << format.err;
    const CliRun keep = Cli("import " + Quoted("d.tlg") + " " + Sample("tarelog.csv") + " --keep noon");
    EXPECT_EQ(keep.status, 2);
    EXPECT_NE(keep.err.find("--keep takes latest or earliest, not 'noon'"), std::string::npos) << keep.err;
    const CliRun zone = Cli("import " + Quoted("d.tlg") + " " + Sample("tarelog.csv") + " --tz Mars/Olympus");
    EXPECT_EQ(zone.status, 2);
    EXPECT_NE(zone.err.find("unknown time zone 'Mars/Olympus'"), std::string::npos) << zone.err;

    Write("odd.csv", "weigh\x1b]0;pwned\x07,in\n1,2\n");
    const CliRun odd = Cli("import " + Quoted("d.tlg") + " " + Quoted("odd.csv"));
    EXPECT_EQ(odd.status, 1);
    EXPECT_NE(odd.err.find("no layout recognised (tried health, tarelog,"), std::string::npos) << odd.err;
    EXPECT_NE(odd.err.find("its first line is 'weigh\\x1B]0;pwned\\x07,in'"), std::string::npos) << odd.err;
    EXPECT_EQ(odd.err.find('\x1b'), std::string::npos);
    EXPECT_FALSE(fs::exists(Path("d.tlg")));
}

TEST_F(CsvCli, SkipBadWithNoReadableRowIsAnErrorAndWritesNothing)
{
    Write("bad.csv", "date,weight\n2024-01-01,heavy\n2024-01-02,\n");
    const CliRun run = Cli("import " + Quoted("d.tlg") + " " + Quoted("bad.csv") + " --skip-bad");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no row of this tarelog export could be read; nothing imported"), std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(Path("d.tlg")));
}

TEST_F(CsvCli, OnlyTheFirstTwentyUnreadableRowsAreListed)
{
    std::string text = "date,weight\n";
    for (int i = 0; i < 30; ++i)
        text += "2024-01-01,x" + std::to_string(i) + "\n";
    Write("bad.csv", text);
    const CliRun run = Cli("import " + Quoted("d.tlg") + " " + Quoted("bad.csv"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Occurrences(run.err, ": line "), 20u) << run.err;
    EXPECT_NE(run.err.find("line 21: 'x19' is not a number"), std::string::npos);
    EXPECT_NE(run.err.find("and 10 more unreadable rows, not listed"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("30 unreadable rows in this tarelog export; nothing imported"), std::string::npos);
}

TEST_F(CsvCli, TheLatestWeighingOfADayCountsOrTheEarliestWhenAsked)
{
    ASSERT_EQ(Cli("import " + Quoted("late.tlg") + " " + Export("withings_weight.csv")).status, 0);
    EXPECT_TRUE(SameBytes(LoadDiary("late.tlg"), {Record(75.1, 2024, 1, 13), Record(75.9, 2024, 1, 15)}));
    const CliRun early = Cli(
        "import " + Quoted("early.tlg") + " " + Export("withings_weight.csv") + " --keep earliest");
    ASSERT_EQ(early.status, 0) << early.err;
    EXPECT_TRUE(SameBytes(LoadDiary("early.tlg"), {Record(75.1, 2024, 1, 13), Record(75.5, 2024, 1, 15)}));
    EXPECT_NE(early.err.find("1 weighing left out for an earlier weighing of the same day"), std::string::npos);
    EXPECT_NE(early.err.find("2 days added, 0 replaced, 1 row skipped (1 without a weight)"), std::string::npos)
        << early.err;
}

TEST_F(CsvCli, UtcTimesCountByTheDayInTheChosenZone)
{
    ASSERT_EQ(Cli("import " + Quoted("tokyo.tlg") + " " + Export("libra_utc.csv") + " --tz Asia/Tokyo").status, 0);
    EXPECT_TRUE(SameBytes(LoadDiary("tokyo.tlg"), {Record(89.9, 2024, 5, 2)}));
    ASSERT_EQ(Cli("import " + Quoted("ny.tlg") + " " + Export("libra_utc.csv") + " --tz=America/New_York").status, 0);
    EXPECT_TRUE(SameBytes(LoadDiary("ny.tlg"), {Record(90.2, 2024, 5, 1), Record(89.9, 2024, 5, 2)}));
}

TEST_F(CsvCli, AnotherUnitIsRefusedUnlessConvertedExactly)
{
    SaveDiary("d.tlg", {Record(80, 2023, 9, 20)});
    const std::string before = Slurp(Path("d.tlg"));
    const CliRun refused = Cli("import " + Quoted("d.tlg") + " " + Export("garmin_weight_day_first.csv"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("the file's weights are in lb, the diary's in kg; --convert"), std::string::npos)
        << refused.err;
    EXPECT_EQ(Slurp(Path("d.tlg")), before);

    const CliRun converted = Cli(
        "import " + Quoted("d.tlg") + " " + Export("garmin_weight_day_first.csv") + " --convert");
    ASSERT_EQ(converted.status, 0) << converted.err;
    EXPECT_NE(converted.err.find("2 weights converted to kg (1 lb = 0.45359237 kg)"), std::string::npos)
        << converted.err;
    EXPECT_TRUE(SameBytes(LoadDiary("d.tlg"), {Record(80, 2023, 9, 20), Record(179.5 * 0.45359237, 2023, 9, 21)}));
}

TEST_F(CsvCli, AFileWithMuchMoreThanADiaryIsNotWrittenOverUnlessForced)
{
    SaveDiary("d.tlg", {Record(80, 2024, 1, 1)});
    const std::string diary = Slurp(Path("d.tlg"));
    Write("small.tlg", diary + std::string(64 * 1024, '\0'));
    EXPECT_EQ(Cli("import " + Quoted("small.tlg") + " " + Sample("tarelog.csv")).status, 0);

    const std::string image = diary + std::string(64 * 1024 + 1, '\0');
    Write("image.tlg", image);
    const CliRun refused = Cli("import " + Quoted("image.tlg") + " " + Sample("tarelog.csv"));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("carries 65537 bytes after its diary data: it is probably not a diary"),
        std::string::npos)
        << refused.err;
    EXPECT_EQ(Slurp(Path("image.tlg")), image);
    ASSERT_EQ(Cli("import " + Quoted("image.tlg") + " " + Sample("tarelog.csv") + " --force").status, 0);
    EXPECT_EQ(LoadDiary("image.tlg").size(), 4u);
}

TEST_F(CsvCli, DryRunSaysExactlyWhatTheImportDoes)
{
    SaveDiary("dry.tlg", {Record(1, 2024, 1, 15), Record(2, 2024, 1, 20)});
    SaveDiary("real.tlg", {Record(1, 2024, 1, 15), Record(2, 2024, 1, 20)});
    const std::string before = Slurp(Path("dry.tlg"));
    const CliRun dry = Cli("import " + Quoted("dry.tlg") + " " + Export("withings_weight.csv") + " --dry-run");
    const CliRun real = Cli("import " + Quoted("real.tlg") + " " + Export("withings_weight.csv"));
    ASSERT_EQ(dry.status, 0) << dry.err;
    ASSERT_EQ(real.status, 0) << real.err;
    EXPECT_EQ(Slurp(Path("dry.tlg")), before);
    std::string said = dry.err;
    const std::string suffix = "; dry run, nothing written";
    ASSERT_NE(said.find(suffix), std::string::npos);
    said.erase(said.find(suffix), suffix.size());
    for (std::size_t at; (at = said.find("dry.tlg")) != std::string::npos;)
        said.replace(at, 7, "real.tlg");
    EXPECT_EQ(said, real.err);
    EXPECT_NE(real.err.find("1 day added, 1 replaced, 1 row skipped"), std::string::npos) << real.err;
}

} // namespace
