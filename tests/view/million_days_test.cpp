// A diary ten lifetimes long need not repaint within a frame, but must
// open, draw, save and come back exactly.
#include "graph_test_support.h"

#include "../diary/temp_dir.h"
#include "diary/diary_file.h"
#include "platform/calendar_date.h"
#include "view/paint_cache.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr int kDays = 1000000;

CTarelogDoc MillionDays()
{
    CTarelogDoc doc;
    doc.ReserveRecords(kDays);
    for (int i = 0; i < kDays; ++i) {
        const CalendarDate date = CalendarDate::FromYmd(1000, 1, 1 + i);
        const double weight = 70.0 + (i % 7) * 0.4 + ((i / 90) % 5) - (i % 400) * 0.01;
        doc.AppendRecord(WeightRecord{weight, static_cast<std::int16_t>(date.Year()),
            static_cast<std::int16_t>(date.Month()), static_cast<std::int16_t>(date.Day()),
            {static_cast<unsigned char>(i), static_cast<unsigned char>(i >> 8)}});
    }
    doc.m_unit = u"kg";
    doc.m_digits = 1;
    return doc;
}

std::string Drawn(const CTarelogDoc& doc, const GraphViewState& state, PaintCache* cache)
{
    FixedWidthMeasurer measurer{6, 12, 10};
    RecordingSurface surface{measurer};
    MemoryProfileStore profile;
    const Rect client{0, 0, 1920, 1200};
    DrawGraph(surface, client, doc, state, profile, cache);
    return OpsText(client, surface.Ops());
}

TEST(MillionDays, OpenDrawSaveAndComeBackExactly)
{
    const CTarelogDoc written = MillionDays();
    TempDir dir;
    const std::string path = dir.File("million.tlg");
    ASSERT_TRUE(SaveDiaryFile(written, path));

    CTarelogDoc opened;
    ASSERT_TRUE(LoadDiaryFile(path, opened));
    ASSERT_EQ(opened.GetRecordCount(), kDays);
    EXPECT_EQ(std::memcmp(opened.Records().data(), written.Records().data(), kDays * sizeof(WeightRecord)), 0);
    EXPECT_EQ(opened.m_unit, written.m_unit);
    EXPECT_EQ(opened.m_digits, written.m_digits);

    // Drawn with everything on, as the window draws it (with its cache)
    // and as render does (without): the same calls, and every line there.
    GraphViewState state = DistinctColors();
    state.m_avgNarrow = state.m_avgNormal = state.m_avgWide = true;
    state.m_trend = state.m_fill = true;
    state.m_goal = 71.0;
    PaintCache cache;
    const std::string windowPaint = Drawn(opened, state, &cache);
    EXPECT_EQ(windowPaint, Drawn(written, state, nullptr));
    for (const int slot : {kSlotLine, kSlotNarrowAverage, kSlotNormalAverage, kSlotWideAverage, kSlotTrend, kSlotGoal})
        EXPECT_NE(windowPaint.find(SlotColor(slot)), std::string::npos) << "slot " << slot;

    const std::string again = dir.File("again.tlg");
    ASSERT_TRUE(SaveDiaryFile(opened, again));
    EXPECT_EQ(StoreDiaryBytes(opened), StoreDiaryBytes(written));
    CTarelogDoc reopened;
    ASSERT_TRUE(LoadDiaryFile(again, reopened));
    EXPECT_EQ(StoreDiaryBytes(reopened), StoreDiaryBytes(written));
}

} // namespace
