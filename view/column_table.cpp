#include "view/column_table.h"

#include <algorithm>

ColumnTable::ColumnTable(int clientWidth, int leftMargin)
{
    // The left margin is included so that the first point's column, which
    // the gap fill and the curves start from, always exists, even under a
    // scale label wider than the window.
    const long long columns = std::max(
        {1000LL, static_cast<long long>(clientWidth) + 30, static_cast<long long>(leftMargin) + 1});
    m_entries.resize(static_cast<std::size_t>(columns));
}

void ColumnTable::FillGaps(int firstColumn, int lastColumn)
{
    int carried = At(firstColumn).y;
    const int last = std::min(lastColumn, Size() - 1);
    for (int c = 0; c <= last; ++c) {
        Entry& entry = m_entries[static_cast<std::size_t>(c)];
        if (entry.x == 0)
            entry.y = carried;
        else
            carried = entry.y;
    }
}
