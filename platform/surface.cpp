#include "platform/surface.h"

PenHandle SurfaceObjects::NewPen(Color color)
{
    m_pens.push_back(color);
    return static_cast<PenHandle>(m_pens.size() - 1);
}

BrushHandle SurfaceObjects::NewBrush(Color color)
{
    m_brushes.push_back(color);
    return static_cast<BrushHandle>(m_brushes.size() - 1);
}

Color SurfaceObjects::PenColor(PenHandle pen) const
{
    const auto index = static_cast<std::size_t>(pen);
    return index < m_pens.size() ? m_pens[index] : m_pens[0];
}

Color SurfaceObjects::BrushColor(BrushHandle brush) const
{
    const auto index = static_cast<std::size_t>(brush);
    return index < m_brushes.size() ? m_brushes[index] : m_brushes[0];
}

PenHandle SurfaceObjects::SwapPen(PenHandle pen)
{
    const PenHandle previous = m_pen;
    m_pen = pen;
    return previous;
}

BrushHandle SurfaceObjects::SwapBrush(BrushHandle brush)
{
    const BrushHandle previous = m_brush;
    m_brush = brush;
    return previous;
}

// Handles are small and a paint makes a handful, so released slots are kept.
void SurfaceObjects::ReleasePen(PenHandle)
{
}
void SurfaceObjects::ReleaseBrush(BrushHandle)
{
}

PenHandle ColorHandleSurface::CreateSolidPen(Color color)
{
    return NewPen(color);
}

BrushHandle ColorHandleSurface::CreateSolidBrush(Color color)
{
    return NewBrush(color);
}

PenHandle ColorHandleSurface::SelectPen(PenHandle pen)
{
    if (pen != CurrentPen())
        PenChanging(pen);
    return SwapPen(pen);
}

BrushHandle ColorHandleSurface::SelectBrush(BrushHandle brush)
{
    return SwapBrush(brush);
}

void ColorHandleSurface::DeletePen(PenHandle pen)
{
    ReleasePen(pen);
}

void ColorHandleSurface::DeleteBrush(BrushHandle brush)
{
    ReleaseBrush(brush);
}
