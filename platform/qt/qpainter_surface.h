#pragma once

#include "platform/qt/graph_text_cache.h"
#include "platform/surface.h"
#include "platform/text_measurer.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QVector>

#include <vector>

// The one font the window and every renderer draw the graph in: the
// Japanese face when it is installed (the unit text may be Japanese), else
// the application's default family, at 12 pixels either way.
QFont GraphFont();

// The window's surface: draws on an untransformed QPainter with exactly the
// pixels the Surface conventions promise. QPainter's own drawLine paints the
// end pixel or not depending on the cap and on the line's direction, and
// drawRect paints one pixel more, so lines are rasterised here into runs of
// pixels (platform/line_raster.h) and figures are filled rectangles. The
// constructor switches antialiasing off, sets GraphFont() on the painter and
// a transparent background for text; drawing then sets the painter's pen and
// brush as it needs them, so set them again before painting anything else
// with the same painter. Lines are held back and drawn together when the
// pen changes, anything else is drawn, Flush() is called or the surface is
// destroyed; so flush or destroy the surface before ending the painter.
// (DrawGraph always ends by selecting the caller's pen back, which flushes.)
class QPainterSurface : public ColorHandleSurface {
public:
    // Texts are measured and laid out through `texts` when given (a window
    // keeps one across paints), else through a cache of this paint only.
    explicit QPainterSurface(QPainter& painter, GraphTextCache* texts = nullptr);
    ~QPainterSurface() override;
    QPainterSurface(const QPainterSurface&) = delete;
    QPainterSurface& operator=(const QPainterSurface&) = delete;

    void Flush();

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void PolylineTo(std::span<const Point> points) override;
    void TextOut(int x, int y, std::string_view utf8) override;
    TextSize MeasureText(std::string_view utf8) override;
    Color SetTextColor(Color color) override;
    void DrawFigure(Rect bounds) override;
    void FillRect(Rect area, BrushHandle brush) override;

private:
    // Lines held back in the old pen are drawn before its colour goes.
    void PenChanging(PenHandle next) override;
    void AddRun(const Rect& run);
    std::size_t StretchColumnRun(std::span<const Point> points, std::size_t i);
    void RasterizeLineTo(Point point);
    QImage* DirectTarget() const;

    QPainter& m_painter;
    QFontMetrics m_metrics;
    GraphTextCache m_ownTexts;
    GraphTextCache& m_texts;
    Rect m_bounds;
    QColor m_penColor{0, 0, 0};
    std::vector<Rect> m_pendingRuns;
    int m_x = 0;
    int m_y = 0;
    Color m_textColor = 0x000000;
};

// Extents in GraphFont(), for surfaces that do not paint with Qt, so their
// output measures the same as the window. Needs a QGuiApplication.
class GraphFontMeasurer : public TextMeasurer {
public:
    GraphFontMeasurer();
    TextSize Measure(std::string_view utf8) const override;
    int Ascent() const override;

private:
    QFontMetrics m_metrics;
};
