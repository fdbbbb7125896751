// A window's repaints share a PaintCache; what they draw must not depend on it.
#include "graph_test_support.h"
#include "hostile_diaries.h"

#include "platform/calendar_date.h"
#include "view/paint_cache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<Day> Wandering(int count, int firstYear = 1990)
{
    std::vector<Day> days;
    for (int i = 0; i < count; ++i) {
        const CalendarDate date = CalendarDate::FromYmd(firstYear, 1, 1 + i);
        days.push_back(
            {70.0 + (i % 7) * 0.4 + ((i / 90) % 5) - (i % 400) * 0.01, date.Year(), date.Month(), date.Day()});
    }
    return days;
}

std::string Drawn(const CTarelogDoc& doc, const GraphViewState& state, Rect client, PaintCache* cache)
{
    FixedWidthMeasurer measurer{6, 12, 10};
    RecordingSurface surface{measurer};
    MemoryProfileStore profile;
    DrawGraph(surface, client, doc, state, profile, cache);
    return OpsText(client, surface.Ops());
}

std::vector<GraphViewState> Views()
{
    std::vector<GraphViewState> views;
    GraphViewState state = DistinctColors();
    state.m_avgNarrow = state.m_avgWide = true;
    views.push_back(state);
    state.m_trend = true;
    views.push_back(state);
    state.m_fill = true;
    views.push_back(state);
    state.m_goal = 55.0;
    views.push_back(state);
    state.m_rangeDays = 28;
    views.push_back(state);
    state.m_fill = false;
    state.m_goal.reset();
    state.m_rangeDays = 365;
    views.push_back(state);
    return views;
}

struct Diary {
    const char* name;
    CTarelogDoc doc;
};

std::vector<Diary> Diaries()
{
    std::vector<Diary> diaries;
    diaries.push_back({"one day", MakeDoc({{64.5, 2020, 5, 1}})});
    diaries.push_back({"three years", MakeDoc(Wandering(1100))});
    std::vector<Day> shuffled = Wandering(900);
    for (std::size_t i = 0; i + 7 < shuffled.size(); i += 11)
        std::swap(shuffled[i], shuffled[i + 7]);
    diaries.push_back({"out of date order", MakeDoc(shuffled)});
    std::vector<Day> below = Wandering(300);
    for (Day& d : below)
        d.weight = -d.weight;
    diaries.push_back({"weights below zero", MakeDoc(below)});
    // Twice a lifetime of daily weighings.
    diaries.push_back({"two hundred years", MakeDoc(Wandering(73000, 1800))});
    return diaries;
}

TEST(PaintCache, DrawsCallForCallWhatAPaintWithoutItDraws)
{
    const std::vector<Rect> sizes = {{0, 0, 240, 268}, {0, 0, 1000, 400}, {0, 0, 30, 30}};
    for (const Diary& diary : Diaries()) {
        PaintCache cache; // kept across the views and sizes, as a window keeps it
        for (const GraphViewState& view : Views())
            for (const Rect& client : sizes)
                ASSERT_EQ(Drawn(diary.doc, view, client, &cache), Drawn(diary.doc, view, client, nullptr))
                    << diary.name << ", trend " << view.m_trend << ", fill " << view.m_fill << ", range "
                    << view.m_rangeDays << ", " << client.right << " x " << client.bottom;
    }
}

TEST(PaintCache, DrawsDamagedDiariesAsAPaintWithoutIt)
{
    // Impossible dates, weights from NaN to huge, sorted or not, odd sizes.
    HostileDiaries diaries(31);
    for (int trial = 0; trial < 150; ++trial) {
        const CTarelogDoc doc = diaries.Next();
        const Rect client = diaries.NextClient();
        GraphViewState view = DistinctColors();
        view.m_trend = diaries.Pick(4) != 0;
        view.m_fill = diaries.Pick(2) == 0;
        view.m_rangeDays = diaries.Pick(3) == 0 ? diaries.Uniform(1, 400) : 0;
        PaintCache cache;
        const std::string fresh = Drawn(doc, view, client, nullptr);
        ASSERT_EQ(Drawn(doc, view, client, &cache), fresh) << "trial " << trial;
        ASSERT_EQ(Drawn(doc, view, client, &cache), fresh) << "trial " << trial << ", from the cache";
    }
}

TEST(PaintCache, FollowsEveryChangeOfTheRecords)
{
    GraphViewState view = DistinctColors();
    view.m_trend = true;
    const Rect client{0, 0, 500, 300};
    CTarelogDoc doc = MakeDoc(Wandering(400));
    PaintCache cache;
    const auto expectFresh = [&](const char* change) {
        EXPECT_EQ(Drawn(doc, view, client, &cache), Drawn(doc, view, client, nullptr)) << change;
    };
    expectFresh("first paint");

    doc.SetDayWeight(95.0, 1991, 3, 1);
    expectFresh("a corrected day");
    doc.SetDayWeight(40.0, 1995, 1, 1);
    expectFresh("a new last day");
    doc.GetRecord(10).weight = 120.0;
    expectFresh("a record written in place");
    doc.RemoveRecord(0);
    expectFresh("the first record removed");
    doc.AppendRecord(WeightRecord{50.0, 1980, 1, 1, {0, 0}});
    expectFresh("a record out of date order appended");

    CTarelogDoc loaded = MakeDoc(Wandering(50, 2010));
    doc.TakeContents(loaded);
    expectFresh("another diary's contents taken over");
    EXPECT_EQ(Drawn(loaded, view, client, &cache), Drawn(loaded, view, client, nullptr))
        << "the document given them up";

    doc.RemoveAllRecords();
    doc.AppendRecord(WeightRecord{70.0, 2000, 1, 1, {0, 0}});
    expectFresh("emptied and one day added");
}

TEST(PaintCache, TellsTwoDiariesApart)
{
    // Two documents made alike and then changed once each: one cache moved
    // between them (a window given another diary) still follows.
    CTarelogDoc first = MakeDoc(Wandering(200));
    CTarelogDoc second = MakeDoc(Wandering(200));
    second.SetDayWeight(90.0, 1990, 2, 1);
    EXPECT_NE(first.Revision(), second.Revision());
    GraphViewState view = DistinctColors();
    view.m_trend = true;
    const Rect client{0, 0, 400, 300};
    PaintCache cache;
    for (const CTarelogDoc* doc : {&first, &second, &first})
        EXPECT_EQ(Drawn(*doc, view, client, &cache), Drawn(*doc, view, client, nullptr));
}

} // namespace
