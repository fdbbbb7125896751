#include "graph_test_support.h"
#include "hostile_diaries.h"
#include "view/average_curve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace {

// What holds for every drawing, whatever the input.
void CheckDrawing(const RecordingSurface& surface, const Rect& client, const CTarelogDoc& doc,
    const GraphViewState& state)
{
    const int width = client.right, height = client.bottom;
    ASSERT_EQ(surface.PensCreated(), surface.PensDeleted());
    ASSERT_EQ(surface.BrushesCreated(), surface.BrushesDeleted());
    ASSERT_EQ(surface.DeletedWhileSelected(), 0);
    ASSERT_EQ(surface.SelectedPen(), PenHandle::Stock);
    ASSERT_EQ(surface.SelectedBrush(), BrushHandle::Stock);
    if (doc.GetRecordCount() == 0) {
        ASSERT_TRUE(surface.Ops().empty());
        return;
    }
    ASSERT_EQ(surface.PensCreated(),
        3 + state.m_avgNarrow + state.m_avgNormal + state.m_avgWide + state.m_trend + state.m_goal.has_value());

    // Phases follow the pen colours: slot i is 0xA0A0A0 + i.
    int phase = -1;
    int scaleRows = 0;
    int curveHalfWidth = 0;
    for (const SurfaceOp& op : surface.Ops()) {
        if (op.kind == SurfaceOp::Kind::Pen) {
            phase = static_cast<int>(op.color & 0xF);
            curveHalfWidth = phase == 4 ? kNarrowHalfWidth
                : phase == 5            ? kNormalHalfWidth
                : phase == 6            ? kWideHalfWidth
                                        : 0;
            continue;
        }
        if (op.kind == SurfaceOp::Kind::Text && phase == 1) {
            ++scaleRows;
            ASSERT_EQ(op.a, 3);
            ASSERT_GE(op.b, 0) << "scale labels start inside the window's top";
        }
        if (op.kind == SurfaceOp::Kind::Text && phase == 3) {
            ASSERT_GE(op.a, 0) << "date labels start right of column 0";
            if (height >= 12) {
                ASSERT_LE(op.b + 12, height) << "date labels end above the window's bottom";
            }
        }
        if (op.kind == SurfaceOp::Kind::LineTo && curveHalfWidth > 0) {
            ASSERT_GE(op.a, curveHalfWidth);
            ASSERT_LT(op.a, width);
        }
    }
    ASSERT_LE(scaleRows, height) << "never more rows than the window has pixel rows";
}

TEST(DrawGraphRobustness, HostileDiariesInRandomWindowsTerminateCleanly)
{
    HostileDiaries diaries(20240601);
    FixedWidthMeasurer measurer(6, 12, 10);
    for (int trial = 0; trial < 3000; ++trial) {
        const CTarelogDoc doc = diaries.Next();
        const Rect client = diaries.NextClient();
        GraphViewState state = DistinctColors();
        state.m_avgNarrow = diaries.Pick(2);
        state.m_avgNormal = diaries.Pick(2);
        state.m_avgWide = diaries.Pick(2);
        // The view menu's settings, with goals as hostile as the weights.
        const int ranges[] = {0, 0, 28, 91, 365};
        state.m_rangeDays = ranges[diaries.Pick(5)];
        state.m_fill = diaries.Pick(2);
        state.m_trend = diaries.Pick(2);
        const double goals[] = {62.5, -1e300, 1e300, std::numeric_limits<double>::quiet_NaN(),
            std::numeric_limits<double>::infinity(), 0.0};
        if (diaries.Pick(2))
            state.m_goal = goals[diaries.Pick(6)];
        MemoryProfileStore profile;
        if (diaries.Pick(2))
            profile.WriteProfileInt("SHOW", "X", diaries.Uniform(-5, 5));
        RecordingSurface surface(measurer);
        DrawGraph(surface, client, doc, state, profile);
        SCOPED_TRACE(testing::Message() << "trial " << trial << ", " << doc.GetRecordCount() << " records, "
                                        << client.right << "x" << client.bottom);
        CheckDrawing(surface, client, doc, state);
        if (HasFatalFailure())
            return;
    }
}

TEST(DrawGraphRobustness, SaneDiariesStayInsideThePlot)
{
    // Real dates in order and finite weights: every point of the weight line
    // lies in the plot square, from (L, 30) to (L + P, B).
    std::mt19937 random(99);
    FixedWidthMeasurer measurer(6, 12, 10);
    for (int trial = 0; trial < 1000; ++trial) {
        std::vector<Day> days;
        const int count = std::uniform_int_distribution<int>(1, 200)(random);
        int dayNumber = 1;
        for (int i = 0; i < count; ++i) {
            dayNumber += std::uniform_int_distribution<int>(1, 40)(random);
            days.push_back({std::uniform_real_distribution<double>(40.0, 120.0)(random), 2001, 1, dayNumber});
        }
        const int width = std::uniform_int_distribution<int>(60, 1500)(random);
        const int height = std::uniform_int_distribution<int>(60, 1500)(random);
        const CTarelogDoc doc = MakeDoc(days);
        RecordingSurface surface(measurer);
        MemoryProfileStore profile;
        DrawGraph(surface, {0, 0, width, height}, doc, DistinctColors(), profile);
        const int plot = std::min(width, height) - 40;
        bool inLine = false;
        int left = -1;
        for (const SurfaceOp& op : surface.Ops()) {
            if (op.kind == SurfaceOp::Kind::Pen)
                inLine = (op.color & 0xF) == 0;
            if (inLine && (op.kind == SurfaceOp::Kind::MoveTo || op.kind == SurfaceOp::Kind::LineTo)) {
                if (left < 0)
                    left = op.a;
                ASSERT_GE(op.a, left);
                ASSERT_LE(op.a, left + plot);
                ASSERT_GE(op.b, 30);
                ASSERT_LE(op.b, plot + 30);
            }
        }
        ASSERT_GE(left, 3);
    }
}

// A unit of ten million characters: every label shows a bounded part of
// it, so no paint measures or draws the rest; the document keeps it whole.
TEST(DrawGraphRobustness, HugeUnitTextIsDrawnInBoundedPart)
{
    CTarelogDoc doc;
    doc.SetDayWeight(60.0, 2026, 1, 1);
    doc.SetDayWeight(62.0, 2026, 1, 2);
    doc.m_unit = std::u16string(10'000'000, u'k');
    // An astral character across the cut must not be split.
    doc.m_unit[kMaxDrawnUnitLength - 1] = 0xD83D;
    doc.m_unit[kMaxDrawnUnitLength] = 0xDE00;
    FixedWidthMeasurer measurer{6, 12, 10};
    RecordingSurface surface(measurer);
    MemoryProfileStore profile;
    DrawGraph(surface, {0, 0, 240, 268}, doc, DistinctColors(), profile);
    int labels = 0;
    for (const SurfaceOp& op : surface.Ops()) {
        if (op.kind != SurfaceOp::Kind::Text && op.kind != SurfaceOp::Kind::Measure)
            continue;
        ASSERT_LE(op.text.size(), 64u);
        if (op.text.find("kkk") != std::string::npos) {
            ++labels;
            EXPECT_EQ(op.text.substr(op.text.size() - (kMaxDrawnUnitLength - 1)),
                std::string(kMaxDrawnUnitLength - 1, 'k'));
        }
    }
    EXPECT_GT(labels, 0);
    EXPECT_EQ(doc.m_unit.size(), 10'000'000u);
    EXPECT_EQ(DrawnUnit(u"kg"), u"kg");
}

} // namespace
