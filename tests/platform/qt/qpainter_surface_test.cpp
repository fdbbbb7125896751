#include "diary/tarelog_doc.h"
#include "platform/memory_profile_store.h"
#include "platform/qt/qpainter_surface.h"
#include "platform/recording_surface.h"
#include "platform/svg_surface.h"
#include "view/draw_graph.h"
#include "../../view/hostile_diaries.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstdlib>

#include <algorithm>
#include <functional>
#include <random>
#include <span>
#include <vector>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

// Paints into a white RGB32 image through a QPainterSurface.
QImage Paint(int width, int height, const std::function<void(QPainterSurface&)>& draw)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        QPainterSurface surface(painter);
        draw(surface);
    }
    painter.end();
    return image;
}

int CountNonWhite(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != kWhite;
    return count;
}

void SelectPen(QPainterSurface& surface, Color color)
{
    surface.SelectPen(surface.CreateSolidPen(color));
}

TEST(QPainterSurface, LineStopsBeforeItsEndPoint)
{
    const QImage image = Paint(20, 20, [](QPainterSurface& s) {
        SelectPen(s, 0x000000FF);
        s.MoveTo(3, 10);
        s.LineTo(8, 10);
    });
    for (int x = 3; x <= 7; ++x)
        EXPECT_EQ(image.pixel(x, 10), qRgb(255, 0, 0)) << x;
    EXPECT_EQ(image.pixel(8, 10), kWhite);
    EXPECT_EQ(image.pixel(2, 10), kWhite);
    EXPECT_EQ(CountNonWhite(image), 5);
}

TEST(QPainterSurface, LinesInEveryDirectionExcludeTheEnd)
{
    struct Case {
        int x0, y0, x1, y1;
    };
    for (const Case c : {Case{8, 10, 3, 10}, Case{12, 16, 12, 3}, Case{12, 3, 12, 16}, Case{15, 15, 4, 9},
             Case{4, 15, 6, 2}, Case{6, 2, 4, 15}}) {
        const QImage image = Paint(20, 20, [&](QPainterSurface& s) {
            s.MoveTo(c.x0, c.y0);
            s.LineTo(c.x1, c.y1);
        });
        EXPECT_NE(image.pixel(c.x0, c.y0), kWhite) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
        EXPECT_EQ(image.pixel(c.x1, c.y1), kWhite) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
        EXPECT_EQ(CountNonWhite(image), std::max(std::abs(c.x1 - c.x0), std::abs(c.y1 - c.y0)));
    }
}

TEST(QPainterSurface, ChainedLinesJoinWithoutGaps)
{
    const QImage image = Paint(20, 20, [](QPainterSurface& s) {
        s.MoveTo(2, 2);
        s.LineTo(10, 2);
        s.LineTo(10, 12);
        s.LineTo(2, 12);
    });
    EXPECT_NE(image.pixel(10, 2), kWhite);
    EXPECT_NE(image.pixel(10, 12), kWhite);
    EXPECT_EQ(image.pixel(2, 12), kWhite);
    EXPECT_EQ(CountNonWhite(image), 8 + 10 + 8);
}

TEST(QPainterSurface, MarkerCoversExactlyFiveByFive)
{
    const int x = 10, y = 9;
    const QImage image = Paint(20, 20, [&](QPainterSurface& s) {
        SelectPen(s, 0x000000FF);                      // red outline
        s.SelectBrush(s.CreateSolidBrush(0x00FF0000)); // blue fill
        s.DrawFigure({x - 2, y - 2, x + 3, y + 3});
    });
    EXPECT_EQ(CountNonWhite(image), 25);
    for (int py = y - 2; py <= y + 2; ++py) {
        for (int px = x - 2; px <= x + 2; ++px) {
            const bool border = px == x - 2 || px == x + 2 || py == y - 2 || py == y + 2;
            EXPECT_EQ(image.pixel(px, py), border ? qRgb(255, 0, 0) : qRgb(0, 0, 255)) << px << "," << py;
        }
    }
}

TEST(QPainterSurface, FillRectLeavesRightAndBottomEdges)
{
    const QImage image = Paint(20, 20, [](QPainterSurface& s) {
        s.FillRect({2, 3, 7, 5}, s.CreateSolidBrush(0x0000FF00));
        s.FillRect({9, 9, 9, 15}, s.CreateSolidBrush(0x0000FF00)); // empty
    });
    EXPECT_EQ(CountNonWhite(image), 5 * 2);
    EXPECT_EQ(image.pixel(2, 3), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(6, 4), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(7, 4), kWhite);
    EXPECT_EQ(image.pixel(6, 5), kWhite);
}

TEST(QPainterSurface, TextIsPlacedByItsTopLeftInTheTextColour)
{
    TextSize size;
    const QImage image = Paint(80, 40, [&](QPainterSurface& s) {
        size = s.MeasureText("88/88");
        EXPECT_EQ(s.SetTextColor(0x000000FF), 0u);
        s.TextOut(10, 12, "88/88");
    });
    ASSERT_GT(size.width, 0);
    ASSERT_GT(size.height, 0);
    int inside = 0, outside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite)
                (x >= 10 && x < 10 + size.width && y >= 12 && y < 12 + size.height ? inside : outside)++;
    EXPECT_GT(inside, 10);
    EXPECT_EQ(outside, 0);
    // Text colour red: the darkest pixel has no green or blue.
    bool sawRed = false;
    for (int y = 12; y < 12 + size.height; ++y)
        for (int x = 10; x < 10 + size.width; ++x)
            sawRed |= image.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_TRUE(sawRed);
}

TEST(QPainterSurface, CachedTextDrawsAndMeasuresLikeQPainterText)
{
    // Texts come from a cache laid out once; they must give the pixels and
    // extents of QPainter's own text in the graph font, paint after paint.
    const char* const texts[] = {"88/88", "12/31", "65.5kg", "60.000ｷﾛ", "02/08/30", "", "1e+300k", "体重kg"};
    GraphTextCache cache;
    for (int paint = 0; paint < 2; ++paint) {
        for (const char* text : texts) {
            TextSize measured;
            const QImage cached = Paint(120, 30, [&](QPainterSurface& s) {
                measured = s.MeasureText(text);
                s.SetTextColor(0x00402080);
                s.TextOut(7, 5, text);
            });
            QImage direct(120, 30, QImage::Format_RGB32);
            direct.fill(Qt::white);
            QPainter painter(&direct);
            painter.setRenderHint(QPainter::TextAntialiasing, true);
            painter.setFont(GraphFont());
            painter.setPen(QColor(0x80, 0x20, 0x40));
            painter.drawText(QPoint(7, 5 + painter.fontMetrics().ascent()), QString::fromUtf8(text));
            const QFontMetrics metrics = painter.fontMetrics();
            painter.end();
            EXPECT_EQ(cached, direct) << text;
            EXPECT_EQ(measured.width, metrics.horizontalAdvance(QString::fromUtf8(text))) << text;
            EXPECT_EQ(measured.height, metrics.height());
            // The same through the shared cache, as the window paints.
            QImage viaCache(120, 30, QImage::Format_RGB32);
            viaCache.fill(Qt::white);
            QPainter again(&viaCache);
            {
                QPainterSurface surface(again, &cache);
                EXPECT_EQ(surface.MeasureText(text), measured) << text;
                surface.SetTextColor(0x00402080);
                surface.TextOut(7, 5, text);
            }
            again.end();
            EXPECT_EQ(viaCache, direct) << text << " paint " << paint;
        }
    }
}

TEST(QPainterSurface, MeasuresLikeTheMeasurerOfTheOtherSurfaces)
{
    GraphFontMeasurer measurer;
    Paint(10, 10, [&](QPainterSurface& s) {
        for (const char* text : {"88/88", "65.5kg", "60ｷﾛ", "12/31", ""})
            EXPECT_EQ(s.MeasureText(text), measurer.Measure(text)) << text;
    });
    EXPECT_GT(measurer.Ascent(), 0);
    EXPECT_EQ(GraphFont().pixelSize(), 12);
}

TEST(QPainterSurface, GraphDrawsTheRecordedCallsPixelForPixel)
{
    // The recording, replayed by hand as pixels, gives the marker and the
    // end of the weight line where the window shows them.
    CTarelogDoc doc;
    doc.AppendRecord({60.0, 2001, 1, 1, {0, 0}});
    doc.AppendRecord({65.0, 2001, 1, 31, {0, 0}});
    GraphViewState state;
    state.m_colorSlots[0] = 0x000000FF;
    state.m_colorSlots[1] = 0x00C0C0C0;
    state.m_colorSlots[3] = 0x00008000;
    MemoryProfileStore profile;

    GraphFontMeasurer measurer;
    RecordingSurface recording(measurer);
    DrawGraph(recording, {0, 0, 240, 268}, doc, state, profile);
    const QImage image = Paint(240, 268, [&](QPainterSurface& s) {
        DrawGraph(s, {0, 0, 240, 268}, doc, state, profile);
    });

    const auto& ops = recording.Ops();
    const auto figure = std::find_if(ops.begin(), ops.end(),
        [](const SurfaceOp& op) { return op.kind == SurfaceOp::Kind::Figure; });
    ASSERT_NE(figure, ops.end());
    for (int y = figure->b; y < figure->d; ++y)
        for (int x = figure->a; x < figure->c; ++x)
            EXPECT_EQ(image.pixel(x, y), qRgb(255, 0, 0)) << x << "," << y;
    EXPECT_EQ(image.pixel(figure->c, figure->b), kWhite) << "right of the marker";
    // A date grid line runs from B up to, not including, row 10.
    const auto grid = std::adjacent_find(ops.begin(), ops.end(), [](const SurfaceOp& move, const SurfaceOp& line) {
        return move.kind == SurfaceOp::Kind::MoveTo && line.kind == SurfaceOp::Kind::LineTo && line.b == 10
            && line.a == move.a;
    }) + 1;
    ASSERT_LT(grid, ops.end());
    EXPECT_EQ(image.pixel(grid->a, 11), qRgb(0, 128, 0));
    EXPECT_EQ(image.pixel(grid->a, 10), qRgb(192, 192, 192)) << "the 65.5 scale row, not the date line";
    EXPECT_EQ(image.pixel(grid->a, 9), kWhite);
}

TEST(QPainterSurface, DirectImageWritesMatchQPainterDrawing)
{
    // A plain image is written directly; with a clip set, the same drawing
    // goes through QPainter. Both must give the same pixels.
    HostileDiaries diaries(77);
    for (int trial = 0; trial < 60; ++trial) {
        const CTarelogDoc doc = diaries.Next();
        const Rect client{0, 0, diaries.Uniform(1, 400), diaries.Uniform(1, 400)};
        GraphViewState state;
        for (int i = 0; i < 7; ++i)
            state.m_colorSlots[i] = static_cast<Color>(0x00302010 * (i + 1));
        state.m_avgNarrow = state.m_avgNormal = state.m_avgWide = true;
        MemoryProfileStore profile;
        const QImage direct = Paint(client.right, client.bottom,
            [&](QPainterSurface& s) { DrawGraph(s, client, doc, state, profile); });
        QImage viaPainter(client.right, client.bottom, QImage::Format_RGB32);
        viaPainter.fill(Qt::white);
        {
            QPainter painter(&viaPainter);
            painter.setClipRect(QRect(0, 0, client.right, client.bottom));
            QPainterSurface surface(painter);
            DrawGraph(surface, client, doc, state, profile);
        }
        ASSERT_EQ(direct, viaPainter) << "trial " << trial;
    }
}

// A weight line that mostly climbs and falls in one column, as a big diary's
// does, with jumps to other columns and out of the image.
std::vector<Point> DenseLine(std::mt19937& random, int width, int height)
{
    std::vector<Point> points;
    int x = 0;
    const auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int i = 0; i < 3000; ++i) {
        const int kind = any(0, 19);
        if (kind == 0)
            x += any(1, 3);
        else if (kind == 1)
            x = any(-20, width + 20);
        const int y = kind == 2 ? any(-100000, 100000) : any(-5, height + 5);
        points.push_back({x, y});
    }
    return points;
}

TEST(QPainterSurface, PolylineDrawsTheLinesOfItsPoints)
{
    std::mt19937 random(31);
    for (int trial = 0; trial < 40; ++trial) {
        const int width = 1 + trial * 7;
        const int height = 30 + trial * 5;
        const std::vector<Point> points = DenseLine(random, width, height);
        // Between batches a move within the same column, away from the run
        // drawn last, so a batch can start with a line that does not touch it.
        const auto draw = [&](QPainterSurface& s, bool batched) {
            s.SelectPen(s.CreateSolidPen(0x00336699));
            s.MoveTo(points[0].x, points[0].y);
            constexpr std::size_t kBatch = 97;
            for (std::size_t at = 1; at < points.size(); at += kBatch) {
                if (at % 3 == 0)
                    s.MoveTo(points[at - 1].x, points[at - 1].y + 40);
                const auto batch = std::span<const Point>(points).subspan(at, std::min(kBatch, points.size() - at));
                if (batched)
                    s.PolylineTo(batch);
                else
                    for (const Point& p : batch)
                        s.LineTo(p.x, p.y);
            }
        };
        const QImage lineByLine = Paint(width, height, [&](QPainterSurface& s) { draw(s, false); });
        const QImage batched = Paint(width, height, [&](QPainterSurface& s) { draw(s, true); });
        ASSERT_GT(CountNonWhite(lineByLine), 0) << "trial " << trial;
        ASSERT_EQ(batched, lineByLine) << "trial " << trial;
    }
}

TEST(QPainterSurface, HostileDiariesPaintWithoutHarm)
{
    // The pixel surfaces see the coordinates of damaged files too: far-away
    // points, lines across the whole int range, labels wider than the window.
    HostileDiaries diaries(4711);
    GraphFontMeasurer measurer;
    for (int trial = 0; trial < 300; ++trial) {
        const CTarelogDoc doc = diaries.Next();
        Rect client = diaries.NextClient();
        client.right = std::min(client.right, 1200);
        client.bottom = std::min(client.bottom, 1200);
        GraphViewState state;
        state.m_avgNarrow = state.m_avgNormal = state.m_avgWide = diaries.Pick(2);
        MemoryProfileStore profile;
        if (client.right > 0 && client.bottom > 0)
            Paint(client.right, client.bottom, [&](QPainterSurface& s) { DrawGraph(s, client, doc, state, profile); });
        SvgSurface svg(measurer, client.right, client.bottom, "f", 12);
        DrawGraph(svg, client, doc, state, profile);
        const std::string text = svg.Document();
        ASSERT_EQ(text.substr(text.size() - 7), "</svg>\n");
    }
}

} // namespace
