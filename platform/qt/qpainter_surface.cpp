#include "platform/qt/qpainter_surface.h"

#include "platform/line_raster.h"
#include "platform/qt/japanese_font.h"
#include "platform/qt/qt_conversions.h"

#include <QGuiApplication>
#include <QImage>
#include <QPaintDevice>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

constexpr int kGraphFontPixelSize = 12;

} // namespace

QFont GraphFont()
{
    static const QFont font = [] {
        const QString japanese = InstalledJapaneseFamily();
        QFont f = japanese.isEmpty() ? QGuiApplication::font() : QFont(japanese);
        f.setPixelSize(kGraphFontPixelSize);
        return f;
    }();
    return font;
}

QPainterSurface::QPainterSurface(QPainter& painter, GraphTextCache* texts)
    : m_painter(painter)
    , m_metrics(GraphFont())
    , m_texts(texts ? *texts : m_ownTexts)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setFont(GraphFont());
    m_painter.setBackgroundMode(Qt::TransparentMode);
    m_metrics = m_painter.fontMetrics();
    const QPaintDevice* device = m_painter.device();
    m_texts.UseFor(device);
    m_bounds = device ? Rect{0, 0, device->width(), device->height()} : Rect{};
}

QPainterSurface::~QPainterSurface()
{
    if (m_painter.isActive())
        Flush();
}

// A dense weight line goes up and down the same column many times; runs of
// one column (or one row) that touch the previous run are merged into it,
// so each pixel is painted about once. The pixels are the same either way.
void QPainterSurface::AddRun(const Rect& run)
{
    if (!m_pendingRuns.empty()) {
        Rect& last = m_pendingRuns.back();
        const bool sameColumn = last.right - last.left == 1 && run.right - run.left == 1 && last.left == run.left
            && run.top <= last.bottom && last.top <= run.bottom;
        const bool sameRow = last.bottom - last.top == 1 && run.bottom - run.top == 1 && last.top == run.top
            && run.left <= last.right && last.left <= run.right;
        if (sameColumn || sameRow) {
            last = {std::min(last.left, run.left), std::min(last.top, run.top), std::max(last.right, run.right),
                std::max(last.bottom, run.bottom)};
            return;
        }
    }
    m_pendingRuns.push_back(run);
}

// Painting into a plain 32-bit image with no transform, clip, opacity or
// blend mode, a run is just a row of equal pixels: writing them directly
// skips QPainter's per-row span machinery, which dominates dense graphs.
// Anything else (the window's backing store included) goes through QPainter.
QImage* QPainterSurface::DirectTarget() const
{
    QPaintDevice* device = m_painter.device();
    if (device == nullptr || device->devType() != QInternal::Image)
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    const bool plain = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
        || format == QImage::Format_ARGB32_Premultiplied;
    if (!plain || !image->isDetached() || image->devicePixelRatio() != 1.0 || m_painter.hasClipping()
        || !m_painter.deviceTransform().isIdentity() || m_painter.opacity() != 1.0
        || m_painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return nullptr;
    return image;
}

void QPainterSurface::Flush()
{
    if (m_pendingRuns.empty())
        return;
    if (QImage* image = DirectTarget()) {
        const QRgb pixel = m_penColor.rgb();
        uchar* bits = image->bits();
        const qsizetype stride = image->bytesPerLine();
        for (const Rect& run : m_pendingRuns) {
            // Runs lie inside the device already; this only guards the writes.
            const int left = std::max(run.left, 0), right = std::min(run.right, image->width());
            const int top = std::max(run.top, 0), bottom = std::min(run.bottom, image->height());
            if (left >= right || top >= bottom)
                continue;
            uchar* row = bits + top * stride + left * qsizetype(sizeof(QRgb));
            for (int y = top; y < bottom; ++y, row += stride) {
                QRgb* pixels = reinterpret_cast<QRgb*>(row);
                if (right - left == 1)
                    *pixels = pixel;
                else
                    std::fill(pixels, pixels + (right - left), pixel);
            }
        }
    } else {
        // One call for all the runs of a pen rather than one per segment.
        QVector<QRect> rects;
        rects.reserve(static_cast<qsizetype>(m_pendingRuns.size()));
        for (const Rect& run : m_pendingRuns)
            rects.append(ToQRect(run));
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(m_penColor);
        m_painter.drawRects(rects.constData(), static_cast<int>(rects.size()));
    }
    m_pendingRuns.clear();
}

void QPainterSurface::MoveTo(int x, int y)
{
    m_x = x;
    m_y = y;
}

void QPainterSurface::LineTo(int x, int y)
{
    const Point point{x, y};
    if (StretchColumnRun(std::span<const Point>(&point, 1), 0) == 0)
        RasterizeLineTo(point);
}

// A line the column run does not take: its own runs, then the move.
void QPainterSurface::RasterizeLineTo(Point point)
{
    RasterizeLine(m_x, m_y, point.x, point.y, m_bounds, [this](const Rect& r) { AddRun(r); });
    m_x = point.x;
    m_y = point.y;
}

// The weight line of a big diary is one long polyline, most of whose
// points go up and down the column of the run before them. Those stretch
// the run in one loop of local variables; every other point is rasterised.
void QPainterSurface::PolylineTo(std::span<const Point> points)
{
    for (std::size_t i = 0; i < points.size();) {
        i = StretchColumnRun(points, i);
        if (i < points.size())
            RasterizeLineTo(points[i++]);
    }
}

// Most lines of a dense graph go up or down the column of the run before
// them: those only stretch that run, without rasterising a run of their own
// first; the union of pixels is the one AddRun would have made of it. Takes
// the lines to points[i], points[i + 1], ... for as long as they stay in
// the run's column and touch it, and returns the index of the first point
// it did not take.
std::size_t QPainterSurface::StretchColumnRun(std::span<const Point> points, std::size_t i)
{
    if (m_pendingRuns.empty())
        return i;
    Rect& last = m_pendingRuns.back();
    if (last.left != m_x || last.right - last.left != 1)
        return i;
    const int x = m_x;
    std::int64_t top = last.top;
    std::int64_t bottom = last.bottom;
    int y = m_y;
    for (; i < points.size() && points[i].x == x; ++i) {
        const int next = points[i].y;
        // The line's pixels [lo, hi): its start included, its end left out.
        const std::int64_t lo = std::max<std::int64_t>(y < next ? y : std::int64_t(next) + 1, m_bounds.top);
        const std::int64_t hi = std::min<std::int64_t>(y < next ? next : std::int64_t(y) + 1, m_bounds.bottom);
        if (y != next && lo < hi) {
            if (lo > bottom || top > hi)
                break;
            top = std::min(top, lo);
            bottom = std::max(bottom, hi);
        }
        y = next;
    }
    last.top = static_cast<int>(top);
    last.bottom = static_cast<int>(bottom);
    m_y = y;
    return i;
}

void QPainterSurface::TextOut(int x, int y, std::string_view utf8)
{
    Flush();
    m_painter.setPen(ToQColor(m_textColor));
    m_painter.drawStaticText(QPoint(x, y), m_texts.Layout(utf8, m_painter.font()));
}

TextSize QPainterSurface::MeasureText(std::string_view utf8)
{
    return m_texts.Measure(utf8, m_metrics);
}

Color QPainterSurface::SetTextColor(Color color)
{
    return std::exchange(m_textColor, color);
}

void QPainterSurface::PenChanging(PenHandle next)
{
    Flush();
    m_penColor = ToQColor(PenColor(next));
}

void QPainterSurface::DrawFigure(Rect bounds)
{
    Flush();
    const qint64 width = static_cast<qint64>(bounds.right) - bounds.left;
    const qint64 height = static_cast<qint64>(bounds.bottom) - bounds.top;
    if (width <= 0 || height <= 0 || width > INT_MAX || height > INT_MAX)
        return;
    // A one-pixel outline in the pen's colour around the brush's fill: the
    // outline is the rectangle's border pixels, the fill everything inside.
    m_painter.fillRect(QRect(bounds.left, bounds.top, static_cast<int>(width), static_cast<int>(height)), m_penColor);
    if (width > 2 && height > 2)
        m_painter.fillRect(
            QRect(bounds.left + 1, bounds.top + 1, static_cast<int>(width) - 2, static_cast<int>(height) - 2),
            ToQColor(BrushColor(CurrentBrush())));
}

void QPainterSurface::FillRect(Rect area, BrushHandle brush)
{
    Flush();
    const qint64 width = static_cast<qint64>(area.right) - area.left;
    const qint64 height = static_cast<qint64>(area.bottom) - area.top;
    if (width <= 0 || height <= 0 || width > INT_MAX || height > INT_MAX)
        return;
    m_painter.fillRect(QRect(area.left, area.top, static_cast<int>(width), static_cast<int>(height)),
        ToQColor(BrushColor(brush)));
}

GraphFontMeasurer::GraphFontMeasurer()
    : m_metrics(GraphFont())
{
}

TextSize GraphFontMeasurer::Measure(std::string_view utf8) const
{
    return TextExtent(m_metrics, utf8);
}

int GraphFontMeasurer::Ascent() const
{
    return m_metrics.ascent();
}
