#include "graph_test_support.h"
#include "view/average_curve.h"
#include "view/column_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>

namespace {

constexpr int kBottom = 230;

// A table whose heights step from `low` (columns left of `column`) to `high`.
ColumnTable StepTable(int width, int column, int low, int high)
{
    ColumnTable table(width, 39);
    table.Store(39, kBottom - low);
    for (int c = column; c < table.Size(); ++c)
        table.Store(c, kBottom - high);
    table.FillGaps(39, width + 29);
    return table;
}

TEST(ColumnTable, CoversTheWindowAndAtLeastAThousandColumns)
{
    EXPECT_EQ(ColumnTable(240, 39).Size(), 1000);
    EXPECT_EQ(ColumnTable(971, 39).Size(), 1001);
    EXPECT_EQ(ColumnTable(4096, 39).Size(), 4126);
    EXPECT_EQ(ColumnTable(240, 2000).Size(), 2001) << "the first point's column always exists";
}

TEST(ColumnTable, KeepsTheLastPointOfAColumnAndIgnoresPointsOutside)
{
    ColumnTable table(240, 39);
    table.Store(50, 100);
    table.Store(50, 120);
    table.Store(-3, 7);
    table.Store(1000, 7);
    EXPECT_EQ(table.At(50).x, 50);
    EXPECT_EQ(table.At(50).y, 120);
    EXPECT_EQ(table.At(-3).y, 0);
    EXPECT_EQ(table.At(999).y, 0);
}

TEST(ColumnTable, GapFillCarriesTheNearestPointOnTheLeft)
{
    ColumnTable table(40, 5);
    table.Store(5, 100);
    table.Store(10, 50);
    table.Store(12, 70);
    table.FillGaps(5, 69);
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(table.At(c).y, 100) << c;
    EXPECT_EQ(table.At(11).y, 50);
    for (int c = 12; c <= 69; ++c)
        EXPECT_EQ(table.At(c).y, 70) << c;
    EXPECT_EQ(table.At(70).y, 0) << "nothing is filled beyond W + 29";
    EXPECT_EQ(table.At(11).x, 0) << "filled entries keep x = 0";
    EXPECT_EQ(table.At(10).x, 10);
}

TEST(AverageCurve, StepFromHundredToHundredTwenty)
{
    const ColumnTable table = StepTable(240, 100, 100, 120);
    EXPECT_EQ(AverageHeight(table, kBottom, 100, 10), 111);
    EXPECT_EQ(AverageHeight(table, kBottom, 99, 10), 109);
    EXPECT_EQ(AverageHeight(table, kBottom, 90, 10), 100) << "the window reaches 91..109";
    EXPECT_EQ(AverageHeight(table, kBottom, 91, 10), 100);
    EXPECT_EQ(AverageHeight(table, kBottom, 92, 10), 100) << "(1*120)/100 truncates away";
    EXPECT_EQ(AverageHeight(table, kBottom, 109, 10), 120);
    EXPECT_EQ(AverageHeight(table, kBottom, 108, 10), 119);
}

TEST(AverageCurve, DrawnPointsOfTheStep)
{
    const ColumnTable table = StepTable(240, 100, 100, 120);
    FixedWidthMeasurer measurer;
    RecordingSurface surface(measurer);
    DrawAverageCurve(surface, {0, 0, 240, 268}, 39, kBottom, table, 10, 0x123456);
    const auto& ops = surface.Ops();
    // pen, moveto L, moves for 10..38, lines for 39..239, pen back.
    ASSERT_EQ(ops.size(), 1u + 1u + 29u + 201u + 1u);
    EXPECT_EQ(OpLine(ops[0]), "pen 0x00123456");
    EXPECT_EQ(OpLine(ops[1]), "moveto 39 130");
    EXPECT_EQ(OpLine(ops[2]), "moveto 10 130");
    EXPECT_EQ(OpLine(ops[30]), "moveto 38 130");
    EXPECT_EQ(OpLine(ops[31]), "lineto 39 130");
    EXPECT_EQ(OpLine(ops[31 + 99 - 39]), "lineto 99 121");
    EXPECT_EQ(OpLine(ops[31 + 100 - 39]), "lineto 100 119");
    EXPECT_EQ(OpLine(ops[231]), "lineto 239 110");
    EXPECT_EQ(OpLine(ops[232]), "pen 0x00000000");
    EXPECT_EQ(surface.PensCreated(), 1);
    EXPECT_EQ(surface.PensDeleted(), 1);
    EXPECT_EQ(surface.DeletedWhileSelected(), 0);
}

TEST(AverageCurve, FlatLineGivesAFlatCurveOnIt)
{
    for (const int n : {kNarrowHalfWidth, kNormalHalfWidth, kWideHalfWidth}) {
        const ColumnTable table = StepTable(300, 50, 77, 77);
        for (int i = n; i < 300; ++i)
            ASSERT_EQ(AverageHeight(table, kBottom, i, n), 77) << "n " << n << " column " << i;
    }
}

TEST(AverageCurve, WindowNoWiderThanNDrawsOnlyTheFirstMove)
{
    const ColumnTable table = StepTable(10, 5, 50, 60);
    FixedWidthMeasurer measurer;
    RecordingSurface surface(measurer);
    DrawAverageCurve(surface, {0, 0, 10, 268}, 39, kBottom, table, 10, 0x1);
    ASSERT_EQ(surface.Ops().size(), 3u);
    EXPECT_EQ(surface.Ops()[1].kind, SurfaceOp::Kind::MoveTo);

    RecordingSurface wider(measurer);
    DrawAverageCurve(wider, {0, 0, 11, 268}, 5, kBottom, table, 10, 0x1);
    ASSERT_EQ(wider.Ops().size(), 4u);
    EXPECT_EQ(OpLine(wider.Ops()[2]).substr(0, 10), "lineto 10 ");
}

TEST(AverageCurve, MarginInsideTheHalfWidthStartsAtTheFirstPoint)
{
    // n >= L: the first segment runs from table entry L straight to column n.
    ColumnTable table(100, 5);
    table.Store(5, 200);
    table.FillGaps(5, 129);
    FixedWidthMeasurer measurer;
    RecordingSurface surface(measurer);
    DrawAverageCurve(surface, {0, 0, 100, 100}, 5, kBottom, table, 20, 0x1);
    EXPECT_EQ(OpLine(surface.Ops()[1]), "moveto 5 200");
    EXPECT_EQ(OpLine(surface.Ops()[2]), "lineto 20 200");
    EXPECT_EQ(OpLine(surface.Ops()[surface.Ops().size() - 2]), "lineto 99 200");
}

TEST(AverageCurve, TruncatesTowardZeroBelowThePlotBottom)
{
    // Heights below B are negative; the quotient truncates toward zero, not down.
    ColumnTable table(100, 3);
    table.Store(3, kBottom + 1);
    for (int c = 50; c < 100; ++c)
        table.Store(c, kBottom);
    table.FillGaps(3, 129);
    // Columns 0..49 have height -1, from 50 on 0. At column 40 the window is all -1.
    EXPECT_EQ(AverageHeight(table, kBottom, 40, 10), -1);
    // At 41 the window holds -99 of -100: -0.99 truncates to 0, where rounding down would give -1.
    EXPECT_EQ(AverageHeight(table, kBottom, 41, 10), 0);
    EXPECT_EQ(AverageHeight(table, kBottom, 50, 10), 0);
}

TEST(AverageCurve, DrawnCurveIsTheColumnByColumnRule)
{
    // The curve slides its sums; every point must still be what the rule
    // gives for its column, also for heights near the ends of the int range.
    std::mt19937 random(5);
    const int extremes[] = {std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), -1, 0};
    for (int trial = 0; trial < 120; ++trial) {
        const int width = std::uniform_int_distribution<int>(1, 1500)(random);
        const int margin = std::uniform_int_distribution<int>(0, 80)(random);
        const int bottom = trial % 3 == 0 ? std::numeric_limits<int>::min() / 2 : kBottom;
        ColumnTable table(width, margin);
        for (int c = 0; c < table.Size(); ++c)
            if (std::uniform_int_distribution<int>(0, 3)(random) == 0) {
                const bool extreme = std::uniform_int_distribution<int>(0, 9)(random) == 0;
                table.Store(c, extreme ? extremes[c % 4] : std::uniform_int_distribution<int>(-50, 400)(random));
            }
        table.FillGaps(margin, width + 29);
        for (const int n : {1, 2, kNarrowHalfWidth, kNormalHalfWidth, kWideHalfWidth, 333}) {
            FixedWidthMeasurer measurer;
            RecordingSurface surface(measurer);
            DrawAverageCurve(surface, {0, 0, width, 268}, margin, bottom, table, n, 0x1);
            const auto& ops = surface.Ops();
            ASSERT_EQ(ops.size(), static_cast<std::size_t>(3 + std::max(0, width - n)));
            for (int i = n; i < width; ++i) {
                const SurfaceOp& op = ops[static_cast<std::size_t>(2 + i - n)];
                ASSERT_EQ(op.a, i);
                const std::int64_t expected = static_cast<std::int64_t>(bottom) - AverageHeight(table, bottom, i, n);
                ASSERT_EQ(op.b,
                    std::clamp<std::int64_t>(expected, std::numeric_limits<int>::min(),
                        std::numeric_limits<int>::max()))
                    << "trial " << trial << " n " << n << " column " << i;
            }
        }
    }
}

TEST(AverageCurve, HalfWidthOutsideTheDrawableRangeDrawsOnlyTheFirstMove)
{
    const ColumnTable table = StepTable(240, 100, 100, 120);
    for (const int n : {0, -3, kMaxAverageHalfWidth + 1}) {
        FixedWidthMeasurer measurer;
        RecordingSurface surface(measurer);
        DrawAverageCurve(surface, {0, 0, 240, 268}, 39, kBottom, table, n, 0x1);
        ASSERT_EQ(surface.Ops().size(), 3u) << n;
        EXPECT_EQ(OpLine(surface.Ops()[1]), "moveto 39 130");
        EXPECT_EQ(surface.PensDeleted(), 1);
    }
}

} // namespace
