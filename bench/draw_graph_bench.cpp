// Drawing the whole graph with all three averages, as every paint does, and
// the repaint after a switch of the view menu.
#include "gui_application.h"
#include "diary/diary_file.h"
#include "platform/calendar_date.h"
#include "platform/memory_profile_store.h"
#include "platform/qt/qpainter_surface.h"
#include "platform/recording_surface.h"
#include "view/draw_graph.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Consecutive days from 1000-01-01 with a weight that wanders like a diary's.
CTarelogDoc Diary(int count)
{
    CTarelogDoc doc;
    doc.m_digits = 1;
    doc.ReserveRecords(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const CalendarDate date = CalendarDate::FromYmd(1000, 1, 1 + i);
        doc.AppendRecord(
            WeightRecord{70.0 + 5.0 * std::sin(i / 50.0) + (i % 7) * 0.1, static_cast<std::int16_t>(date.Year()),
                static_cast<std::int16_t>(date.Month()), static_cast<std::int16_t>(date.Day()), {0, 0}});
    }
    return doc;
}

GraphViewState AllAverages()
{
    GraphViewState state;
    state.m_avgNarrow = state.m_avgNormal = state.m_avgWide = true;
    for (int i = 0; i < 7; ++i)
        state.m_colorSlots[i] = 0x00204080u * static_cast<Color>(i + 1);
    return state;
}

// Arguments: records, width, height.
void BM_DrawGraphRecording(benchmark::State& state)
{
    const CTarelogDoc doc = Diary(static_cast<int>(state.range(0)));
    const Rect client{0, 0, static_cast<int>(state.range(1)), static_cast<int>(state.range(2))};
    const GraphViewState view = AllAverages();
    MemoryProfileStore profile;
    FixedWidthMeasurer measurer;
    for (auto _ : state) {
        RecordingSurface surface(measurer);
        DrawGraph(surface, client, doc, view, profile);
        benchmark::DoNotOptimize(surface.Ops().data());
    }
}

// A surface that does nothing: what the graph's own arithmetic costs.
class NullSurface : public Surface {
public:
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void TextOut(int, int, std::string_view) override {}
    TextSize MeasureText(std::string_view text) override { return {static_cast<int>(text.size()) * 6, 12}; }
    Color SetTextColor(Color) override { return 0; }
    PenHandle CreateSolidPen(Color) override { return PenHandle::Stock; }
    BrushHandle CreateSolidBrush(Color) override { return BrushHandle::Stock; }
    PenHandle SelectPen(PenHandle) override { return PenHandle::Stock; }
    BrushHandle SelectBrush(BrushHandle) override { return BrushHandle::Stock; }
    void DeletePen(PenHandle) override {}
    void DeleteBrush(BrushHandle) override {}
    void DrawFigure(Rect) override {}
    void FillRect(Rect, BrushHandle) override {}
};

void BM_DrawGraphNullSurface(benchmark::State& state)
{
    const CTarelogDoc doc = Diary(static_cast<int>(state.range(0)));
    const Rect client{0, 0, static_cast<int>(state.range(1)), static_cast<int>(state.range(2))};
    const GraphViewState view = AllAverages();
    MemoryProfileStore profile;
    NullSurface surface;
    for (auto _ : state)
        DrawGraph(surface, client, doc, view, profile);
}

void BM_DrawGraphQImage(benchmark::State& state)
{
    EnsureGuiApplication();
    const CTarelogDoc doc = Diary(static_cast<int>(state.range(0)));
    const Rect client{0, 0, static_cast<int>(state.range(1)), static_cast<int>(state.range(2))};
    const GraphViewState view = AllAverages();
    MemoryProfileStore profile;
    // Painted over and over without erasing: the fill is the window's, not
    // the graph's. Like the window, the paints share one text cache.
    QImage image(client.right, client.bottom, QImage::Format_RGB32);
    image.fill(Qt::white);
    GraphTextCache texts;
    for (auto _ : state) {
        QPainter painter(&image);
        QPainterSurface surface(painter, &texts);
        DrawGraph(surface, client, doc, view, profile);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void GraphSizes(benchmark::internal::Benchmark* b)
{
    for (const int records : {10000, 1000000})
        for (const int side : {0, 1})
            b->Args({records, side ? 1000 : 240, side ? 1000 : 268});
    b->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_DrawGraphNullSurface)->Apply(GraphSizes);
BENCHMARK(BM_DrawGraphRecording)->Apply(GraphSizes);
BENCHMARK(BM_DrawGraphQImage)->Apply(GraphSizes);

// The view menu's settings for the repaint after a switch, by index.
GraphViewState Switched(int variant)
{
    GraphViewState state = AllAverages();
    state.m_colorSlots[7] = 0x002020E0u;
    state.m_colorSlots[8] = 0x0020A0E0u;
    switch (variant) {
    case 1: state.m_rangeDays = 28; break;
    case 2: state.m_rangeDays = 365; break;
    case 3: state.m_fill = true; break;
    case 4: state.m_trend = true; break;
    case 5:
        state.m_fill = state.m_trend = true;
        state.m_goal = 68.0;
        break;
    case 6:
        state.m_fill = state.m_trend = true;
        state.m_rangeDays = 91;
        state.m_goal = 68.0;
        break;
    default: break;
    }
    return state;
}

// Arguments: the variant of Switched, records (a lifetime of days, and a
// million), width, height. The window repaints a 1920 x 1200 client area
// after a switch; the paints share one text cache, as the window's do.
void BM_RepaintAfterViewSwitch(benchmark::State& state)
{
    EnsureGuiApplication();
    const CTarelogDoc doc = Diary(static_cast<int>(state.range(1)));
    const Rect client{0, 0, static_cast<int>(state.range(2)), static_cast<int>(state.range(3))};
    const GraphViewState view = Switched(static_cast<int>(state.range(0)));
    MemoryProfileStore profile;
    QImage image(client.right, client.bottom, QImage::Format_RGB32);
    GraphTextCache texts;
    PaintCache cache;
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        QPainterSurface surface(painter, &texts);
        DrawGraph(surface, client, doc, view, profile, &cache);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK(BM_RepaintAfterViewSwitch)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {36500, 1000000}, {1920}, {1200}})
    ->Unit(benchmark::kMillisecond);

// tarelog-cli render to PNG as a whole process: start-up, load, paint, save.
void BM_RenderPngProcess(benchmark::State& state)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path()
        / ("tarelog-bench-render-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string diary = (dir / "diary.tlg").string();
    const std::string out = (dir / "graph.png").string();
    if (!SaveDiaryFile(Diary(static_cast<int>(state.range(0))), diary)) {
        state.SkipWithError("cannot write the diary");
        return;
    }
    for (auto _ : state) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            std::freopen("/dev/null", "w", stderr);
            ::execl(TARELOG_CLI, TARELOG_CLI, "render", diary.c_str(), "-o", out.c_str(), "--no-profile", "--avg",
                "narrow,normal,wide", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("tarelog-cli render failed");
    }
    std::filesystem::remove_all(dir);
}

BENCHMARK(BM_RenderPngProcess)->Arg(10000)->Arg(36500)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
