#include "diary/tarelog_doc.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

class CountingView : public CDocumentView {
public:
    void OnUpdate(CDocument* document, long) override
    {
        ++updates;
        modifiedAtUpdate = document->IsModified();
    }
    int updates = 0;
    bool modifiedAtUpdate = true;
};

WeightRecord Record(double weight, int y, int m, int d)
{
    return WeightRecord{weight, static_cast<std::int16_t>(y), static_cast<std::int16_t>(m),
        static_cast<std::int16_t>(d), {0, 0}};
}

TEST(TarelogDocStatistics, EmptyDocument)
{
    CTarelogDoc doc;
    EXPECT_EQ(doc.GetLastWeight(), 0.0);
    EXPECT_EQ(doc.GetMaxWeight(), -50000.0);
    EXPECT_EQ(doc.GetMinWeight(), 50000.0);
    EXPECT_EQ(doc.GetDaySpan(), 1);
    EXPECT_EQ(doc.m_unit, u"k");
    EXPECT_EQ(doc.m_digits, 0);
}

TEST(TarelogDocStatistics, ZeroWeightsTakePartOnlyInTheMinimum)
{
    CTarelogDoc one;
    one.AppendRecord(Record(65.5, 2002, 8, 30));
    EXPECT_EQ(one.GetMaxWeight(), 65.5);
    EXPECT_EQ(one.GetMinWeight(), 65.5);
    EXPECT_EQ(one.GetDaySpan(), 1);

    CTarelogDoc zero;
    zero.AppendRecord(Record(0.0, 2002, 8, 30));
    EXPECT_EQ(zero.GetMaxWeight(), -50000.0);
    EXPECT_EQ(zero.GetMinWeight(), 0.0);

    CTarelogDoc mixed;
    mixed.AppendRecord(Record(70.0, 2002, 8, 30));
    mixed.AppendRecord(Record(0.0, 2002, 8, 31));
    EXPECT_EQ(mixed.GetMaxWeight(), 70.0);
    EXPECT_EQ(mixed.GetMinWeight(), 0.0);
    EXPECT_EQ(mixed.GetLastWeight(), 0.0);
}

// The ends of the weights a file can hold, also weights no scale would
// write; checked bit for bit, so that -0.0 is not taken for 0.0.
TEST(TarelogDocStatistics, WeightRangeOfOddWeights)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        std::vector<double> weights;
        double min;
        double max;
    };
    const Case cases[] = {
        {{}, 50000.0, -50000.0},
        {{0.0}, 0.0, -50000.0},
        {{-0.0, 0.0}, -0.0, -50000.0},
        {{nan}, 50000.0, -50000.0},
        {{nan, 65.0, nan}, 65.0, 65.0},
        {{70.0, 0.0, -3.5}, -3.5, 70.0},
        {{-60000.0, 60000.0}, -60000.0, 60000.0},
        {{inf, -inf, 1e300}, -inf, inf},
        {{49999.0, 50000.0, 50001.0}, 49999.0, 50001.0},
        {{-49999.0, -50000.0, -50001.0}, -50001.0, -49999.0},
    };
    for (const Case& c : cases) {
        CTarelogDoc doc;
        for (const double w : c.weights)
            doc.AppendRecord(Record(w, 2002, 8, 30));
        const CTarelogDoc::WeightRange range = doc.GetWeightRange();
        EXPECT_EQ(std::bit_cast<std::uint64_t>(range.min), std::bit_cast<std::uint64_t>(c.min)) << c.weights.size();
        EXPECT_EQ(std::bit_cast<std::uint64_t>(range.max), std::bit_cast<std::uint64_t>(c.max)) << c.weights.size();
        EXPECT_EQ(std::bit_cast<std::uint64_t>(doc.GetMinWeight()), std::bit_cast<std::uint64_t>(c.min));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(doc.GetMaxWeight()), std::bit_cast<std::uint64_t>(c.max));
    }
}

TEST(TarelogDocStatistics, SpanAndOffsetsTakeFirstAndLastByPosition)
{
    CTarelogDoc doc;
    doc.AppendRecord(Record(60, 2002, 8, 1));
    doc.AppendRecord(Record(61, 2002, 8, 31));
    EXPECT_EQ(doc.GetDaySpan(), 30);
    EXPECT_EQ(doc.GetDayOffset(0), 0);
    EXPECT_EQ(doc.GetDayOffset(1), 30);

    CTarelogDoc leap;
    leap.AppendRecord(Record(60, 2004, 2, 28));
    leap.AppendRecord(Record(61, 2004, 3, 1));
    EXPECT_EQ(leap.GetDaySpan(), 2);

    CTarelogDoc backwards; // files may hold records out of order
    backwards.AppendRecord(Record(60, 2002, 8, 31));
    backwards.AppendRecord(Record(61, 2002, 8, 1));
    EXPECT_EQ(backwards.GetDaySpan(), -30);
    EXPECT_EQ(backwards.GetDayOffset(1), -30);
}

TEST(TarelogDocSetDayWeight, InsertsAtTheDatePosition)
{
    CTarelogDoc doc;
    doc.SetDayWeight(61, 2002, 8, 10);
    doc.SetDayWeight(63, 2002, 8, 20);
    doc.SetDayWeight(60, 2002, 8, 1);  // before all
    doc.SetDayWeight(62, 2002, 8, 15); // between
    doc.SetDayWeight(64, 2002, 9, 1);  // after all
    ASSERT_EQ(doc.GetRecordCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(doc.GetRecord(i).weight, 60.0 + i) << "index " << i;
    EXPECT_EQ(doc.GetRecord(0).day, 1);
    EXPECT_EQ(doc.GetRecord(4).month, 9);
}

TEST(TarelogDocSetDayWeight, ReplacesTheWeightOfAnExistingDay)
{
    CTarelogDoc doc;
    doc.AppendRecord(Record(60, 2002, 8, 1));
    WeightRecord second = Record(61, 2002, 8, 2);
    second.reserved[0] = 0xAB;
    doc.AppendRecord(second);
    doc.AppendRecord(Record(62, 2002, 8, 3));
    CountingView view;
    doc.AddView(&view);

    doc.SetDayWeight(70.5, 2002, 8, 2);
    EXPECT_EQ(doc.GetRecordCount(), 3);
    EXPECT_EQ(doc.GetRecord(1).weight, 70.5);
    EXPECT_EQ(doc.GetRecord(1).reserved[0], 0xAB);
    EXPECT_EQ(doc.GetRecord(0).weight, 60.0);
    EXPECT_EQ(doc.GetRecord(2).weight, 62.0);
    EXPECT_EQ(view.updates, 1);
    EXPECT_FALSE(view.modifiedAtUpdate) << "views are updated before the flag is set";
    EXPECT_TRUE(doc.IsModified());
}

TEST(TarelogDocSetDayWeight, OnlyItMarksTheDocumentModified)
{
    CTarelogDoc doc;
    CountingView view;
    doc.AddView(&view);
    doc.AppendRecord(Record(60, 2002, 8, 1));
    doc.AppendRecord(Record(61, 2002, 8, 2));
    doc.GetRecord(0).weight = 1.0;
    doc.RemoveRecord(0);
    doc.m_unit = u"kg";
    doc.RemoveAllRecords();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(view.updates, 0);
}

TEST(TarelogDocSetDayWeight, FirstEqualOrGreaterKeyStopsTheScan)
{
    CTarelogDoc doc; // out of order, as a loaded file may be
    doc.AppendRecord(Record(60, 2002, 8, 20));
    doc.AppendRecord(Record(61, 2002, 8, 5));
    doc.SetDayWeight(62, 2002, 8, 10);
    ASSERT_EQ(doc.GetRecordCount(), 3);
    EXPECT_EQ(doc.GetRecord(0).weight, 62.0);
}

TEST(TarelogDocRecords, RemoveShiftsLaterRecordsDown)
{
    CTarelogDoc doc;
    doc.AppendRecord(Record(60, 2002, 8, 1));
    doc.AppendRecord(Record(61, 2002, 8, 2));
    doc.AppendRecord(Record(62, 2002, 8, 3));
    doc.RemoveRecord(0);
    ASSERT_EQ(doc.GetRecordCount(), 2);
    EXPECT_EQ(doc.GetRecord(0).weight, 61.0);
    EXPECT_EQ(doc.GetRecord(1).weight, 62.0);
}

TEST(TarelogDocRecords, NewDocumentKeepsUnitAndDigits)
{
    CTarelogDoc doc;
    doc.AppendRecord(Record(60, 2002, 8, 1));
    doc.m_unit = u"kg";
    doc.m_digits = 2;
    doc.SetModifiedFlag(true);
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.GetRecordCount(), 0);
    EXPECT_EQ(doc.m_unit, u"kg");
    EXPECT_EQ(doc.m_digits, 2);
    EXPECT_FALSE(doc.IsModified());
}

} // namespace
