#include "diary/import/diary_import.h"

#include "csv_test_support.h"

#include <gtest/gtest.h>

namespace {

WeightImport Pounds(std::initializer_list<double> weights)
{
    WeightImport import;
    int day = 1;
    for (const double w : weights)
        import.weighings.push_back(Weighing{{2024, 1, day++}, 25000, w, WeightUnit::Pound});
    return import;
}

TEST(MergeImport, AnotherUnitIsRefusedUntouchedThenConverted)
{
    CTarelogDoc doc;
    doc.m_unit = u"kg";
    doc.SetDayWeight(80.0, 2024, 1, 1);
    WeightImport refused = Pounds({200.0, 100.0});
    const ImportSummary no = MergeImport(refused, doc, false, ImportChoices{});
    EXPECT_FALSE(no.Merged());
    EXPECT_TRUE(no.conversionWouldHelp);
    ASSERT_EQ(doc.Records().size(), 1u);
    EXPECT_EQ(doc.Records()[0].weight, 80.0);

    WeightImport allowed = Pounds({200.0, 100.0});
    const ImportSummary yes = MergeImport(allowed, doc, false, ImportChoices{KeepRule::Latest, true});
    ASSERT_TRUE(yes.Merged());
    EXPECT_EQ(yes.converted, 2u);
    EXPECT_EQ(yes.merge.replaced, 1u);
    EXPECT_EQ(yes.merge.added, 1u);
    EXPECT_EQ(doc.Records()[0].weight, 200.0 * kKilogramsPerPound);
    EXPECT_EQ(doc.m_unit, u"kg");
}

TEST(MergeImport, ANewDiaryTakesTheUnitAndAnUnknownOneCannotBeConvertedTo)
{
    CTarelogDoc fresh;
    WeightImport import = Pounds({150.0});
    const ImportSummary taken = MergeImport(import, fresh, true, ImportChoices{});
    ASSERT_TRUE(taken.Merged());
    EXPECT_TRUE(taken.unitTaken);
    EXPECT_EQ(fresh.m_unit, u"lb");

    CTarelogDoc stone;
    stone.m_unit = u"st";
    WeightImport mixed = Pounds({150.0});
    mixed.weighings.push_back(Weighing{{2024, 2, 1}, -1, 70.0, WeightUnit::Kilogram});
    const ImportSummary refused = MergeImport(mixed, stone, false, ImportChoices{});
    EXPECT_FALSE(refused.Merged());
    EXPECT_FALSE(refused.conversionWouldHelp);
    EXPECT_TRUE(stone.Records().empty());
}

TEST(LooksImportable, ExportsAndArchivesYesOtherFilesNo)
{
    for (const char* name : {"garmin_weight.csv", "trale_backup.txt", "apple_health_export.xml", "takeout_fit.zip"})
        EXPECT_TRUE(LooksImportable(SamplePath(name, "import"))) << name;
    for (const char* path : {"README.md", "missing.csv", ""})
        EXPECT_FALSE(LooksImportable(SamplePath(path, "import"))) << path;
}

} // namespace
