// Encoding the graph as a palette PNG: each row filter, zlib level and
// strategy against the file size it gives, on the graph render paints.
#include "gui_application.h"
#include "platform/calendar_date.h"
#include "platform/memory_profile_store.h"
#include "platform/qt/palette_png.h"
#include "platform/qt/qpainter_surface.h"
#include "view/draw_graph.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <tuple>

namespace {

// The graph of `records` consecutive wandering days with all three
// averages, painted as render paints it; made once per size.
const QImage& Graph(int records, int width, int height)
{
    static std::map<std::tuple<int, int, int>, QImage> graphs;
    QImage& image = graphs[{records, width, height}];
    if (!image.isNull())
        return image;
    EnsureGuiApplication();
    CTarelogDoc doc;
    doc.m_digits = 1;
    for (int i = 0; i < records; ++i) {
        const CalendarDate date = CalendarDate::FromYmd(1000, 1, 1 + i);
        doc.AppendRecord(
            WeightRecord{70.0 + 5.0 * std::sin(i / 50.0) + (i % 7) * 0.1, static_cast<std::int16_t>(date.Year()),
                static_cast<std::int16_t>(date.Month()), static_cast<std::int16_t>(date.Day()), {0, 0}});
    }
    GraphViewState view;
    view.m_avgNarrow = view.m_avgNormal = view.m_avgWide = true;
    MemoryProfileStore profile;
    image = QImage(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        QPainterSurface surface(painter);
        DrawGraph(surface, Rect{0, 0, width, height}, doc, view, profile);
    }
    painter.end();
    return image;
}

// Arguments: records, width, height, zlib level, zlib strategy, up filter.
void BM_PalettePng(benchmark::State& state)
{
    const QImage& image = Graph(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
        static_cast<int>(state.range(2)));
    const PngCompression compression{static_cast<int>(state.range(3)), static_cast<int>(state.range(4)),
        state.range(5) != 0};
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray png = PalettePng(image, compression);
        bytes = png.size();
        benchmark::DoNotOptimize(png.constData());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

void Settings(benchmark::internal::Benchmark* b)
{
    for (const int records : {1, 10000, 100000})
        for (const int side : {0, 1})
            for (const int up : {0, 1})
                for (const auto& [level, strategy] :
                    {std::pair{1, 0}, {3, 0}, {6, 0}, {9, 0}, {1, 1}, {6, 1}, {1, 2}, {1, 3}})
                    b->Args({records, side ? 1000 : 240, side ? 1000 : 268, level, strategy, up});
    b->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_PalettePng)->Apply(Settings);

} // namespace
