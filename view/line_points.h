#pragma once

#include "platform/surface.h"

#include <vector>

// The points of a line, thinned: many days share one pixel column, and a
// line visits each of its points, but inside one column it only runs up and
// down. The pixels that a column's vertical runs cover are every row from
// its lowest point to its highest, except an extreme row that no run starts
// from (the line ends on it, or stays on it to the end). So a column's
// points are replaced by its first point, its two extremes in the order the
// line reaches them, one row back from the second where the line leaves it
// only to come back at the end, and its last point: the same pixels, and
// the segments into and out of the column keep their ends.
class LinePoints {
public:
    void Add(Point p);
    std::vector<Point> Take();

private:
    void Open(Point p);
    void Emit(int y);
    void Close();

    std::vector<Point> m_points;
    bool m_open = false;
    Point m_first, m_last;
    int m_low = 0, m_high = 0;
    long long m_lowFirst = 0, m_highFirst = 0, m_index = 0;
    bool m_lowLeft = false, m_highLeft = false;
};
