#include "platform/qt/qpainter_surface.h"

#include "platform/line_raster.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QString>

#include <utility>

namespace {

constexpr int kGraphFontPixelSize = 12;

QString FromUtf8(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

TextSize Extent(const QFontMetrics& metrics, std::string_view utf8)
{
    return {metrics.horizontalAdvance(FromUtf8(utf8)), metrics.height()};
}

} // namespace

QFont GraphFont()
{
    static const QFont font = [] {
        QFont f = QFontDatabase::hasFamily(QStringLiteral("Noto Sans CJK JP")) ? QFont(QStringLiteral("Noto Sans CJK JP"))
                                                                                : QGuiApplication::font();
        f.setPixelSize(kGraphFontPixelSize);
        return f;
    }();
    return font;
}

QColor ToQColor(Color color)
{
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

QPainterSurface::QPainterSurface(QPainter& painter)
    : m_painter(painter), m_metrics(GraphFont())
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setFont(GraphFont());
    m_painter.setBackgroundMode(Qt::TransparentMode);
    m_metrics = m_painter.fontMetrics();
    const QPaintDevice* device = m_painter.device();
    m_bounds = device ? Rect{0, 0, device->width(), device->height()} : Rect{};
}

QPainterSurface::~QPainterSurface() = default;

void QPainterSurface::MoveTo(int x, int y)
{
    m_x = x;
    m_y = y;
}

void QPainterSurface::LineTo(int x, int y)
{
    const QColor color = ToQColor(PenColor(CurrentPen()));
    RasterizeLine(m_x, m_y, x, y, m_bounds, [&](const Rect& r) {
        m_painter.fillRect(QRect(r.left, r.top, r.Width(), r.Height()), color);
    });
    m_x = x;
    m_y = y;
}

void QPainterSurface::TextOut(int x, int y, std::string_view utf8)
{
    m_painter.setPen(ToQColor(m_textColor));
    m_painter.drawText(QPoint(x, y + m_metrics.ascent()), FromUtf8(utf8));
}

TextSize QPainterSurface::MeasureText(std::string_view utf8)
{
    return Extent(m_metrics, utf8);
}

Color QPainterSurface::SetTextColor(Color color)
{
    return std::exchange(m_textColor, color);
}

PenHandle QPainterSurface::CreateSolidPen(Color color)
{
    return NewPen(color);
}

BrushHandle QPainterSurface::CreateSolidBrush(Color color)
{
    return NewBrush(color);
}

PenHandle QPainterSurface::SelectPen(PenHandle pen)
{
    return SwapPen(pen);
}

BrushHandle QPainterSurface::SelectBrush(BrushHandle brush)
{
    return SwapBrush(brush);
}

void QPainterSurface::DeletePen(PenHandle pen)
{
    ReleasePen(pen);
}

void QPainterSurface::DeleteBrush(BrushHandle brush)
{
    ReleaseBrush(brush);
}

void QPainterSurface::DrawFigure(Rect bounds)
{
    const qint64 width = static_cast<qint64>(bounds.right) - bounds.left;
    const qint64 height = static_cast<qint64>(bounds.bottom) - bounds.top;
    if (width <= 0 || height <= 0 || width > INT_MAX || height > INT_MAX)
        return;
    // A one-pixel outline in the pen's colour around the brush's fill: the
    // outline is the rectangle's border pixels, the fill everything inside.
    m_painter.fillRect(QRect(bounds.left, bounds.top, static_cast<int>(width), static_cast<int>(height)),
                       ToQColor(PenColor(CurrentPen())));
    if (width > 2 && height > 2)
        m_painter.fillRect(QRect(bounds.left + 1, bounds.top + 1, static_cast<int>(width) - 2, static_cast<int>(height) - 2),
                           ToQColor(BrushColor(CurrentBrush())));
}

void QPainterSurface::FillRect(Rect area, BrushHandle brush)
{
    const qint64 width = static_cast<qint64>(area.right) - area.left;
    const qint64 height = static_cast<qint64>(area.bottom) - area.top;
    if (width <= 0 || height <= 0 || width > INT_MAX || height > INT_MAX)
        return;
    m_painter.fillRect(QRect(area.left, area.top, static_cast<int>(width), static_cast<int>(height)), ToQColor(BrushColor(brush)));
}

GraphFontMeasurer::GraphFontMeasurer() : m_metrics(GraphFont()) {}

TextSize GraphFontMeasurer::Measure(std::string_view utf8) const
{
    return Extent(m_metrics, utf8);
}

int GraphFontMeasurer::Ascent() const
{
    return m_metrics.ascent();
}
