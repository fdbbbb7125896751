// Every sample export in tests/data/import, shaped as its writer writes it
// (see the README there), read as a user would: layout recognised from the
// content, weighings with their local day and time, what is left out
// counted, and one weighing kept per day.
#include "diary/import/weight_import.h"

#include "csv_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Seen {
    int year, month, day;
    int second; // -1: no time
    double weight;
};

struct Kept {
    int year, month, day;
    double weight;
};

struct LayoutCase {
    const char* file;
    ImportLayout layout;
    const char* unit;
    std::vector<Seen> weighings; // in file order
    std::size_t withoutWeight;
    std::size_t interpolated;
    std::vector<Kept> latest; // one per day, latest time of day
};

constexpr int At(int h, int m, int s = 0)
{
    return h * 3600 + m * 60 + s;
}

// Times in UTC are counted in Tokyo (UTC+9, no daylight saving) here.
const LayoutCase kCases[] = {
    {"gnome_health.csv", ImportLayout::Health, "",
        {{2023, 3, 21, At(7, 10), 80.2}, {2023, 3, 22, At(7, 5), 80}, {2023, 3, 22, At(23, 40), 79.9},
            {2023, 3, 24, At(6, 30), 79.7}, {2023, 3, 25, At(15, 0), 79.5}, {2023, 3, 26, At(6, 0), 79.4}},
        0, 0,
        {{2023, 3, 21, 80.2}, {2023, 3, 22, 79.9}, {2023, 3, 24, 79.7}, {2023, 3, 25, 79.5}, {2023, 3, 26, 79.4}}},
    {"openscale3_newest_first.csv", ImportLayout::OpenScale, "",
        {{2024, 6, 3, At(19, 45, 10), 81.3}, {2024, 6, 3, At(7, 2, 31), 80.6}, {2024, 6, 2, At(6, 58), 80.9}}, 1, 0,
        {{2024, 6, 2, 80.9}, {2024, 6, 3, 81.3}}},
    {"withings_weight.csv", ImportLayout::Withings, "kg",
        {{2024, 1, 15, At(21, 30, 12), 75.9}, {2024, 1, 15, At(7, 30, 5), 75.5}, {2024, 1, 13, At(7, 31, 9), 75.1}}, 1,
        0, {{2024, 1, 13, 75.1}, {2024, 1, 15, 75.9}}},
    {"withings_weight_de.csv", ImportLayout::Withings, "kg",
        {{2014, 2, 13, At(6, 4), 94.34}, {2014, 2, 12, At(21, 9), 94.89}, {2014, 2, 12, At(6, 9), 95.02}}, 0, 0,
        {{2014, 2, 12, 94.89}, {2014, 2, 13, 94.34}}},
    {"withings_weight_nl.csv", ImportLayout::Withings, "kg",
        {{2026, 3, 20, At(7, 36, 3), 76.24}, {2026, 3, 19, At(7, 40, 11), 76.5}}, 0, 0,
        {{2026, 3, 19, 76.5}, {2026, 3, 20, 76.24}}},
    {"garmin_weight.csv", ImportLayout::Garmin, "kg",
        {{2026, 7, 18, At(8, 28), 80.0}, {2026, 7, 15, At(21, 46), 80.5}, {2026, 7, 15, At(8, 40), 81.0}}, 1, 0,
        {{2026, 7, 15, 80.5}, {2026, 7, 18, 80.0}}},
    {"garmin_weight_day_first.csv", ImportLayout::Garmin, "lb",
        {{2023, 9, 21, At(17, 8), 179.5}, {2023, 9, 21, At(6, 19), 181.4}}, 0, 0, {{2023, 9, 21, 179.5}}},
    {"com.samsung.health.weight.20190601000000.csv", ImportLayout::Samsung, "kg",
        {{2019, 5, 21, At(7, 30), 84.1}, {2019, 5, 21, At(20, 45), 83.7}}, 1, 0, {{2019, 5, 21, 83.7}}},
    {"google_fit_daily_summaries.csv", ImportLayout::GoogleFit, "kg", {{2021, 3, 1, -1, 72.35}, {2021, 3, 3, -1, 72.1}},
        1, 0, {{2021, 3, 1, 72.35}, {2021, 3, 3, 72.1}}},
    {"trale_backup.txt", ImportLayout::Trale, "kg",
        {{2024, 4, 2, At(21, 15), 70.4}, {2024, 4, 2, At(7, 1, 30), 69.9}, {2024, 4, 1, At(7, 5, 12), 70.1}}, 0, 0,
        {{2024, 4, 1, 70.1}, {2024, 4, 2, 70.4}}},
    {"trendweight_computed.csv", ImportLayout::TrendWeight, "", {{2025, 2, 10, -1, 88.4}, {2025, 2, 12, -1, 88.1}}, 0,
        1, {{2025, 2, 10, 88.4}, {2025, 2, 12, 88.1}}},
    {"trendweight_raw.csv", ImportLayout::TrendWeightRaw, "",
        {{2025, 2, 12, At(21, 5), 88.6}, {2025, 2, 12, At(6, 40), 88.1}, {2025, 2, 10, At(6, 35), 88.4}}, 0, 0,
        {{2025, 2, 10, 88.4}, {2025, 2, 12, 88.6}}},
    {"libra_utc.csv", ImportLayout::Libra, "kg", {{2024, 5, 2, At(7, 5, 13), 90.2}, {2024, 5, 2, At(15, 10), 89.9}}, 0,
        0, {{2024, 5, 2, 89.9}}},
    {"apple_health_export.xml", ImportLayout::AppleHealth, "lb",
        {{2023, 7, 23, At(10, 35), 200}, {2023, 7, 23, At(6, 58, 41), 201.4}, {2023, 7, 24, At(7, 1, 12), 199.8}}, 0, 0,
        {{2023, 7, 23, 200}, {2023, 7, 24, 199.8}}},
};

void ExpectImport(const Result<WeightImport, ImportError>& read, const LayoutCase& c)
{
    ASSERT_TRUE(read);
    const WeightImport& import = *read;
    EXPECT_EQ(import.layout, c.layout);
    EXPECT_EQ(import.statedUnit, c.unit);
    EXPECT_TRUE(import.problems.Empty()) << import.problems.First()[0].line << ": "
                                         << import.problems.First()[0].reason;
    EXPECT_EQ(import.withoutWeight, c.withoutWeight);
    EXPECT_EQ(import.interpolated, c.interpolated);
    ASSERT_EQ(import.weighings.size(), c.weighings.size());
    for (std::size_t i = 0; i < c.weighings.size(); ++i) {
        const Weighing& w = import.weighings[i];
        const Seen& e = c.weighings[i];
        EXPECT_EQ(w.date.year * 10000 + w.date.month * 100 + w.date.day, e.year * 10000 + e.month * 100 + e.day) << i;
        EXPECT_EQ(w.second, e.second) << i;
        EXPECT_EQ(w.weight, e.weight) << i;
    }
    const DailyChoice choice = ChooseOnePerDay(import.weighings, KeepRule::Latest);
    ASSERT_EQ(choice.days.size(), c.latest.size());
    for (std::size_t i = 0; i < c.latest.size(); ++i) {
        const DayWeight& d = choice.days[i];
        const Kept& e = c.latest[i];
        EXPECT_EQ(d.year * 10000 + d.month * 100 + d.day, e.year * 10000 + e.month * 100 + e.day) << i;
        EXPECT_EQ(d.weight, e.weight) << i;
    }
}

class ImportLayouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ImportLayouts, RecognisedFromTheContentAndReadAsTheWriterMeantIt)
{
    const ScopedTimeZone tokyo("Asia/Tokyo");
    const LayoutCase& c = GetParam();
    SCOPED_TRACE(c.file);
    const std::string bytes = ReadSample(c.file, "import");
    ASSERT_FALSE(bytes.empty());
    ExpectImport(ReadWeightImport(bytes, ImportLayout::Auto), c);
    ExpectImport(ReadWeightImportFile(SamplePath(c.file, "import"), ImportLayout::Auto), c);
    ExpectImport(ReadWeightImport(bytes, c.layout), c);
}

INSTANTIATE_TEST_SUITE_P(Samples, ImportLayouts, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.file;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
});

// Forcing a layout on another layout's file names the layout and shows
// the first line; so does a file no layout recognises.
TEST(ImportLayoutErrors, WrongOrUnknownLayoutsAreNamed)
{
    const Result<WeightImport, ImportError> forced = ReadWeightImport(ReadSample("trale_backup.txt", "import"),
        ImportLayout::Garmin);
    ASSERT_FALSE(forced);
    EXPECT_EQ(forced.error().detail,
        "the file is not a garmin export: its first line is '# This file was created with trale.'");
    EXPECT_EQ(forced.error().failure, ImportFailure::Unrecognised);

    const Result<WeightImport, ImportError> unknown = ReadWeightImport(
        "when\x1b[2J,kg\t" + std::string(100, 'x') + "\n1,2\n", ImportLayout::Auto);
    ASSERT_FALSE(unknown);
    const std::string& detail = unknown.error().detail;
    EXPECT_EQ(detail.find("no layout recognised (tried health, tarelog, trendweight-raw, openscale, trendweight, "
                          "withings, samsung, googlefit, garmin, libra, trale, apple): its first line is "
                          "'when\\x1B[2J,kg\\t"),
        0u)
        << detail;
    EXPECT_NE(detail.find("... (112 bytes)"), std::string::npos) << detail;
    EXPECT_EQ(detail.find('\x1b'), std::string::npos);
}

// Each of these looks like a neighbouring layout; the content decides.
TEST(ImportLayoutErrors, LookAlikeHeadersGoToTheRightLayout)
{
    const struct {
        const char* text;
        ImportLayout layout;
    } cases[] = {
        {"Date,Time,Weight,Body Fat %\n2025-01-01,07:00:00,80.0,\n", ImportLayout::TrendWeightRaw},
        {"DATE,TIME,BODY_FAT,WEIGHT\n2025-01-01,07:00,20,80.0\n", ImportLayout::OpenScale},
        {"date,weight\n2025-01-01,80\n", ImportLayout::Tarelog},
        {"date,weight\n2025-01-01T07:00:00+09,80\n", ImportLayout::Health},
        {"Date,\"Weight (lb)\",Comments\n\"2025-01-01 07:00:00\",176.4,\n", ImportLayout::Withings},
        {"#Version:5\n#Units:kg\n#date;weight;weight trend;body fat;body fat trend;log\n", ImportLayout::Libra},
        {"# This file was created with trale.\n#Date weight[kg]\n", ImportLayout::Trale},
    };
    for (const auto& c : cases) {
        const Result<WeightImport, ImportError> import = ReadWeightImport(c.text, ImportLayout::Auto);
        ASSERT_TRUE(import) << c.text;
        EXPECT_EQ(import->layout, c.layout) << c.text;
    }
}

// Only the first rows are kept with their reasons, however many are bad,
// and a long field is cut and escaped in the reason.
TEST(ImportProblemsBound, FirstTwentyAreKeptAndTheRestCounted)
{
    std::string text = "date,weight\n";
    for (int i = 0; i < 5000; ++i)
        text += "2024-01-01," + std::string(200, 'z') + "\r\x07\n";
    text += "2024-01-02,80\n";
    const Result<WeightImport, ImportError> import = ReadWeightImport(text, ImportLayout::Auto);
    ASSERT_TRUE(import);
    EXPECT_EQ(import->problems.Count(), 5000u);
    ASSERT_EQ(import->problems.First().size(), ImportProblems::kKept);
    EXPECT_EQ(import->problems.First()[19].line, 21);
    const std::string& reason = import->problems.First()[0].reason;
    EXPECT_EQ(reason, "'" + std::string(60, 'z') + "'... (202 bytes) is not a number");
    EXPECT_EQ(import->weighings.size(), 1u);
}

TEST(ImportUnitsInFiles, PoundsInWithingsHeaderAndMixedUnitsInAppleHealth)
{
    const Result<WeightImport, ImportError> withings = ReadWeightImport(
        "Date,\"Weight (lb)\",Comments\n\"2025-01-01 07:00:00\",176.4,\n", ImportLayout::Auto);
    ASSERT_TRUE(withings);
    ASSERT_EQ(withings->weighings.size(), 1u);
    EXPECT_EQ(withings->statedUnit, "lb");
    EXPECT_EQ(withings->weighings[0].unit, WeightUnit::Pound);

    const Result<WeightImport, ImportError> apple = ReadWeightImport(
        "<?xml version=\"1.0\"?>\n<HealthData locale=\"en_US\">\n"
        "<Record type=\"HKQuantityTypeIdentifierBodyMass\" unit=\"kg\" value=\"80\" startDate=\"2024-01-01 07:00:00 +0100\" endDate=\"x\"/>\n"
        "<Record type=\"HKQuantityTypeIdentifierBodyMass\" unit=\"lb\" value=\"176\" startDate=\"2024-01-02 07:00:00 +0100\" endDate=\"x\"/>\n"
        "<Record type=\"HKQuantityTypeIdentifierBodyMass\" unit=\"st\" value=\"12\" startDate=\"2024-01-03 07:00:00 +0100\" endDate=\"x\"/>\n"
        "</HealthData>\n",
        ImportLayout::Auto);
    ASSERT_TRUE(apple);
    EXPECT_EQ(apple->statedUnit, "kg and lb");
    ASSERT_EQ(apple->problems.Count(), 1u);
    EXPECT_EQ(apple->problems.First()[0].line, 5);
    EXPECT_EQ(apple->problems.First()[0].reason, "the unit 'st' is neither kg nor lb");
}

// Apple and Google hand their exports out as zip archives; the first file
// inside that a layout recognises is read in place, as if unpacked.
TEST(ImportZip, TheFirstRecognisedFileInTheArchiveIsRead)
{
    const ScopedTimeZone tokyo("Asia/Tokyo");
    const struct {
        const char* zip;
        const char* entry;
        const char* plain;
        ImportLayout layout;
    } cases[] = {
        {"apple_health_export.zip", "apple_health_export/export.xml", "apple_health_export.xml",
            ImportLayout::AppleHealth},
        {"takeout_fit.zip", "Takeout/Fit/Daily activity metrics/Daily activity metrics.csv",
            "google_fit_daily_summaries.csv", ImportLayout::GoogleFit},
    };
    for (const auto& c : cases) {
        const Result<WeightImport, ImportError> zipped = ReadWeightImportFile(SamplePath(c.zip, "import"),
            ImportLayout::Auto);
        ASSERT_TRUE(zipped) << c.zip;
        EXPECT_EQ(zipped->archiveEntry, c.entry);
        EXPECT_EQ(zipped->layout, c.layout);
        const Result<WeightImport, ImportError> plain = ReadWeightImport(ReadSample(c.plain, "import"),
            ImportLayout::Auto);
        ASSERT_TRUE(plain);
        ASSERT_EQ(zipped->weighings.size(), plain->weighings.size()) << c.zip;
        for (std::size_t i = 0; i < plain->weighings.size(); ++i) {
            EXPECT_EQ(zipped->weighings[i].weight, plain->weighings[i].weight) << c.zip << i;
            EXPECT_EQ(zipped->weighings[i].second, plain->weighings[i].second) << c.zip << i;
        }
    }
    const Result<WeightImport, ImportError> none = ReadWeightImportFile(SamplePath("takeout_fit.zip", "import"),
        ImportLayout::AppleHealth);
    ASSERT_FALSE(none);
    EXPECT_EQ(none.error().detail, "the zip archive holds no apple export");
    EXPECT_EQ(none.error().failure, ImportFailure::Unrecognised);
}

TEST(ImportAppleHealth, DamagedXmlIsAnErrorWithItsLine)
{
    const Result<WeightImport, ImportError> import = ReadWeightImport(
        "<?xml version=\"1.0\"?>\n<HealthData>\n<Record type=\"HKQuantityTypeIdentifierBodyMass\" unit=\"kg\" "
        "value=\"80\" startDate=\"2024-01-01 07:00:00 +0100\">\n</HealthData>\n",
        ImportLayout::Auto);
    ASSERT_FALSE(import);
    EXPECT_EQ(import.error().detail.find("the XML is damaged at line 4: "), 0u) << import.error().detail;
    EXPECT_EQ(import.error().failure, ImportFailure::Damaged);
    const Result<WeightImport, ImportError> missing = ReadWeightImportFile(SamplePath("missing.csv", "import"),
        ImportLayout::Auto);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().failure, ImportFailure::CannotRead);
    EXPECT_NE(missing.error().detail.find("No such file"), std::string::npos) << missing.error().detail;
}

} // namespace
