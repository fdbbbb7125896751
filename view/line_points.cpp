#include "view/line_points.h"

#include <utility>

void LinePoints::Add(Point p)
{
    if (!m_open || p.x != m_first.x) {
        Close();
        Open(p);
        return;
    }
    if (p.y < m_low) {
        m_low = p.y;
        m_lowFirst = m_index;
        m_lowLeft = false;
    } else if (p.y != m_low) {
        m_lowLeft = true;
    }
    if (p.y > m_high) {
        m_high = p.y;
        m_highFirst = m_index;
        m_highLeft = false;
    } else if (p.y != m_high) {
        m_highLeft = true;
    }
    m_last = p;
    ++m_index;
}

std::vector<Point> LinePoints::Take()
{
    Close();
    return std::move(m_points);
}

void LinePoints::Open(Point p)
{
    m_open = true;
    m_first = m_last = p;
    m_low = m_high = p.y;
    m_lowFirst = m_highFirst = 0;
    m_lowLeft = m_highLeft = false;
    m_index = 1;
}

void LinePoints::Emit(int y)
{
    const Point p{m_first.x, y};
    if (m_points.empty() || m_points.back().x != p.x || m_points.back().y != p.y)
        m_points.push_back(p);
}

void LinePoints::Close()
{
    if (!m_open)
        return;
    m_open = false;
    m_points.push_back(m_first); // the end of the segment into the column
    if (m_low == m_high)
        return;
    const bool lowFirst = m_lowFirst < m_highFirst;
    const int second = lowFirst ? m_high : m_low;
    const bool leftSecond = lowFirst ? m_highLeft : m_lowLeft;
    Emit(lowFirst ? m_low : m_high);
    Emit(second);
    if (m_last.y == second && leftSecond)
        Emit(second + (lowFirst ? -1 : 1));
    Emit(m_last.y);
}
